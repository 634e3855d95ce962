// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Windows: a named mutex of the session and WM_COPYDATA to the running main window.
#pragma once

#include "platform/Instance.h"
#include "platform/windows/Win32Api.h"

#include <functional>
#include <string>

namespace platform::win32 {

// dwData of the two WM_COPYDATA messages: a command line from a later start, and the running program's answer.
constexpr std::uintptr_t kCommandTag = 0x5A4E4401;
constexpr std::uintptr_t kAnswerTag = 0x5A4E4402;

class Win32Instance : public Instance {
public:
    // replyWindow: a window of this process the running program sends its answer to; reopenOutput: points stdout
    // and stderr at the console just attached.
    Win32Instance(const Win32Api &api, std::function<HWND()> replyWindow, std::function<void()> reopenOutput)
        : api_(api), replyWindow_(std::move(replyWindow)), reopenOutput_(std::move(reopenOutput)) {}

    // Windows has no typed channel: a later start's command line is all it takes.
    Role Claim(CommandHandler handler) override;
    // Waits up to five seconds for a program that holds the mutex but has no window yet.
    CommandAnswer Send(const std::vector<std::string> &arguments) override;
    // Nothing outside the program listens for its state on Windows; --status asks for it.
    void StateChanged(const std::string &) override {}
    void SetMainWindow(std::uintptr_t window) override;
    void AttachOutput() override;

    // A WM_COPYDATA that reached one of the program's windows: true when it was one of ours, with the value the
    // window procedure returns.
    bool Receive(WPARAM from, const CopyData &data, LRESULT &result);

private:
    HWND FindRunning() const;
    bool SendCopy(HWND to, WPARAM from, std::uintptr_t tag, const std::string &bytes, LRESULT &result) const;

    const Win32Api &api_;
    std::function<HWND()> replyWindow_;
    std::function<void()> reopenOutput_;
    std::function<CommandAnswer(const std::vector<std::string> &)> handle_;
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
    std::string answer_;
};

} // namespace platform::win32
