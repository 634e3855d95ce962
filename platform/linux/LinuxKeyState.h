// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11: XInput 2 raw key events on a display connection of its own, read as they come.
#pragma once

#include "platform/KeyState.h"

#include <memory>

namespace platform {

class PortalShortcut;

class LinuxKeyState : public KeyState {
public:
    LinuxKeyState();
    ~LinuxKeyState() override;
    LinuxKeyState(const LinuxKeyState &) = delete;
    LinuxKeyState &operator=(const LinuxKeyState &) = delete;

    bool PausePressed() override;
    bool WatchPause(std::function<void(bool down)> onChange) override;

private:
    // Opens the display and selects raw key events on its root; false (reported once) without X or XInput 2.
    bool Open();
    // Reads every event the connection holds; called when its socket becomes readable.
    void ReadEvents();
    // Records a change of the key and tells the watcher; repeats of an unchanged state are dropped.
    void Change(bool down);

    void *display_ = nullptr;
    unsigned pauseKeycode_ = 0;
    int xiOpcode_ = -1;
    bool opened_ = false;
    bool down_ = false;
    bool pressedSincePoll_ = false;
    std::function<void(bool)> onChange_;
    struct Notifier;
    std::unique_ptr<Notifier> notifier_;
    std::unique_ptr<PortalShortcut> portal_;
};

} // namespace platform
