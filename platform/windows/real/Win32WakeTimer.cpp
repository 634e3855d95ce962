// SPDX-License-Identifier: GPL-3.0-or-later
// The performance counter and the two waitable timers of the boot clock on Windows.
#include <windows.h>

#include "platform/windows/real/Win32WakeTimer.h"

#include <initializer_list>

namespace platform::win32 {

namespace {

// Older headers lack it; older systems refuse it, and the timer falls back to the normal resolution.
constexpr DWORD HIGH_RESOLUTION_TIMER = 0x00000002; // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
constexpr LONGLONG TICKS_PER_MS = 10000;            // due times count 100-nanosecond ticks

HANDLE MakeTimer(DWORD flags) {
    return ::CreateWaitableTimerExW(nullptr, nullptr, flags, TIMER_ALL_ACCESS);
}

} // namespace

std::int64_t PerformanceCounterMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER count{};
    ::QueryPerformanceCounter(&count);
    // Split so that the multiplication cannot overflow after months of uptime.
    return count.QuadPart / frequency * 1000 + count.QuadPart % frequency * 1000 / frequency;
}

WakeTimer::WakeTimer() {
    precise_ = MakeTimer(HIGH_RESOLUTION_TIMER);
    highResolution_ = precise_ != nullptr;
    if (precise_ == nullptr) {
        precise_ = MakeTimer(0);
    }
    atResume_ = MakeTimer(0);
}

WakeTimer::~WakeTimer() {
    for (HANDLE timer : {precise_, atResume_}) {
        if (timer != nullptr) {
            ::CancelWaitableTimer(timer);
            ::CloseHandle(timer);
        }
    }
}

void WakeTimer::WakeIn(std::int64_t waitMs) {
    for (HANDLE timer : {precise_, atResume_}) {
        ::CancelWaitableTimer(timer);
        // A signal of the earlier wake-up that nobody took yet would end this one at once.
        ::WaitForSingleObject(timer, 0);
    }
    if (waitMs < 0) {
        return;
    }
    // A zero due time is taken as an absolute time long past: it fires at once, as a zero wait should.
    LARGE_INTEGER relative{};
    relative.QuadPart = -static_cast<LONGLONG>(waitMs) * TICKS_PER_MS;
    ::SetWaitableTimer(precise_, &relative, 0, nullptr, nullptr, FALSE);
    FILETIME now{};
    ::GetSystemTimePreciseAsFileTime(&now);
    LARGE_INTEGER absolute{};
    absolute.QuadPart = static_cast<LONGLONG>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime) +
                        static_cast<LONGLONG>(waitMs) * TICKS_PER_MS;
    ::SetWaitableTimer(atResume_, &absolute, 0, nullptr, nullptr, FALSE);
}

} // namespace platform::win32
