// SPDX-License-Identifier: GPL-3.0-or-later
// The SleepGuard interface on Windows: a power request (or the thread's execution state) and a wake timer.
#pragma once

#include "platform/SleepGuard.h"
#include "platform/windows/Win32Api.h"

#include <string>

namespace platform::win32 {

constexpr int POWER_REQUEST_SYSTEM_REQUIRED_TYPE = 1; // PowerRequestSystemRequired
constexpr DWORD ES_SYSTEM_REQUIRED_FLAG = 0x00000001;
constexpr DWORD ES_CONTINUOUS_FLAG = 0x80000000;
// Seconds from 1601-01-01 (where FILETIME counts from) to 1970-01-01.
constexpr std::int64_t FILETIME_EPOCH_OFFSET_S = 11644473600;

// A system-required power request names its reason in "powercfg /requests"; a system without power requests
// (before Windows 7) gets the same hold from SetThreadExecutionState on the GUI thread, which makes every call.
class Win32SleepGuard : public SleepGuard {
public:
    explicit Win32SleepGuard(const Win32Api &api) : api_(api) {}
    ~Win32SleepGuard() override;
    Win32SleepGuard(const Win32SleepGuard &) = delete;
    Win32SleepGuard &operator=(const Win32SleepGuard &) = delete;

    void Hold(const std::string &reason) override;
    void Release() override;
    // A waitable timer set with fResume: it wakes the machine and nothing more; nobody waits on it, so nothing tells
    // of its end and ended is not kept.
    void WakeAt(std::int64_t epochSeconds, std::function<void()> ended) override;
    void CancelWake() override;

private:
    bool PowerRequests() const;
    void ClearRequest();

    const Win32Api &api_;
    bool holding_ = false;
    std::string reason_;
    HANDLE request_ = nullptr;
    bool executionState_ = false;
    HANDLE wakeTimer_ = nullptr;
};

} // namespace platform::win32
