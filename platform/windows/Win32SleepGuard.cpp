// SPDX-License-Identifier: GPL-3.0-or-later
// Holding off idle sleep with a power request, and waking the machine with a resume-enabled waitable timer.
#include "platform/windows/Win32SleepGuard.h"

namespace platform::win32 {

namespace {

constexpr std::int64_t TICKS_PER_SECOND = 10000000;

bool Valid(HANDLE handle) {
    // INVALID_HANDLE_VALUE is what PowerCreateRequest answers on failure.
    return handle != nullptr && handle != reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

} // namespace

Win32SleepGuard::~Win32SleepGuard() {
    Release();
    if (wakeTimer_ != nullptr) {
        api_.CancelWaitableTimer(wakeTimer_);
        api_.CloseHandle(wakeTimer_);
    }
}

bool Win32SleepGuard::PowerRequests() const {
    return api_.PowerCreateRequest != nullptr && api_.PowerSetRequest != nullptr && api_.PowerClearRequest != nullptr;
}

void Win32SleepGuard::Hold(const std::string &reason) {
    if (holding_ && reason == reason_) {
        return;
    }
    holding_ = true;
    reason_ = reason;
    if (PowerRequests()) {
        const HANDLE request = api_.PowerCreateRequest(reason.c_str());
        if (Valid(request)) {
            if (api_.PowerSetRequest(request, POWER_REQUEST_SYSTEM_REQUIRED_TYPE)) {
                // The old request goes only once the new one holds, so no idle moment falls between them.
                ClearRequest();
                request_ = request;
                return;
            }
            api_.CloseHandle(request);
        }
    }
    if (!executionState_) {
        api_.SetThreadExecutionState(ES_CONTINUOUS_FLAG | ES_SYSTEM_REQUIRED_FLAG);
        executionState_ = true;
    }
    ClearRequest();
}

void Win32SleepGuard::ClearRequest() {
    if (request_ != nullptr) {
        api_.PowerClearRequest(request_, POWER_REQUEST_SYSTEM_REQUIRED_TYPE);
        api_.CloseHandle(request_);
        request_ = nullptr;
    }
}

void Win32SleepGuard::Release() {
    ClearRequest();
    if (executionState_) {
        api_.SetThreadExecutionState(ES_CONTINUOUS_FLAG);
        executionState_ = false;
    }
    holding_ = false;
    reason_.clear();
}

void Win32SleepGuard::WakeAt(std::int64_t epochSeconds, std::function<void()>) {
    if (wakeTimer_ == nullptr) {
        wakeTimer_ = api_.CreateWaitableTimerA(nullptr, 1, nullptr);
        if (wakeTimer_ == nullptr) {
            return;
        }
    }
    api_.SetWaitableTimer(wakeTimer_, (epochSeconds + FILETIME_EPOCH_OFFSET_S) * TICKS_PER_SECOND, 0, 1);
}

void Win32SleepGuard::CancelWake() {
    if (wakeTimer_ != nullptr) {
        api_.CancelWaitableTimer(wakeTimer_);
    }
}

} // namespace platform::win32
