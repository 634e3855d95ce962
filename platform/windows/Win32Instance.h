// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Windows: a named mutex of the session and WM_COPYDATA to the running main window.
#pragma once

#include "platform/Instance.h"
#include "platform/windows/Win32Api.h"

#include <functional>
#include <string>
#include <utility>

namespace platform::win32 {

// dwData of the two WM_COPYDATA messages: a command line from a later start, and the running program's answer.
constexpr std::uintptr_t kCommandTag = 0x5A4E4401;
constexpr std::uintptr_t kAnswerTag = 0x5A4E4402;

class Win32Instance : public Instance {
public:
    // replyWindow: a window of this process the running program sends its answer to.
    Win32Instance(const Win32Api &api, std::function<HWND()> replyWindow)
        : api_(api), replyWindow_(std::move(replyWindow)) {}

    // A program that holds the mutex but has no marked window is starting or quitting: waits up to five seconds for
    // its window (then this start hands over) or for the mutex to go (then this start is the program). Windows has no
    // typed channel: a later start's command line is all it takes.
    Role Claim(CommandHandler handler) override;
    // Waits up to five seconds for a program that holds the mutex but has no window yet.
    CommandAnswer Send(const std::vector<std::string> &arguments) override;
    // Nothing outside the program listens for its state on Windows; --status asks for it.
    void StateChanged(const std::string &) override {}
    void SetMainWindow(std::uintptr_t window) override;
    void AttachOutput() override;
    void Print(bool error, const std::string &line) override;
    void ReleaseOutput() override;

    // A WM_COPYDATA that reached one of the program's windows: true when it was one of ours, with the value the
    // window procedure returns.
    bool Receive(WPARAM from, const CopyData &data, LRESULT &result);
    // When the program starts to quit: its window no longer takes commands and the mutex goes, so a start from now
    // on becomes the program instead of handing its command to one that takes none.
    void Leave();

private:
    HWND FindRunning() const;
    bool SendCopy(HWND to, WPARAM from, std::uintptr_t tag, const std::string &bytes, UINT timeoutMs,
                  LRESULT &result) const;
    HANDLE OutputOf(bool error) const;

    const Win32Api &api_;
    std::function<HWND()> replyWindow_;
    std::function<CommandAnswer(const std::vector<std::string> &)> handle_;
    HANDLE mutex_ = nullptr;
    HWND window_ = nullptr;
    std::string answer_;
    bool answered_ = false;
    // The output of the parent's console, while this start is attached to it.
    HANDLE console_ = nullptr;
};

} // namespace platform::win32
