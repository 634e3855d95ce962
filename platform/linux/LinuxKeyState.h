// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11: XInput 2 raw key events on the program's own X connection, read as they come.
#pragma once

#include "platform/KeyState.h"

#include <xcb/xcb.h>

#include <memory>

namespace platform {

class PortalShortcut;
class XRootEvents;

class LinuxKeyState : public KeyState {
public:
    LinuxKeyState();
    ~LinuxKeyState() override;
    LinuxKeyState(const LinuxKeyState &) = delete;
    LinuxKeyState &operator=(const LinuxKeyState &) = delete;

    bool PausePressed() override;
    bool WatchPause(std::function<void(bool down)> onChange) override;

private:
    // Selects raw key events on the root of the program's own X connection; false (reported once) without X or
    // XInput 2.
    bool Open();
    // One event of that connection: a press or release of Pause changes the key's state.
    void Read(const xcb_generic_event_t &event);
    // Records a change of the key and tells the watcher; repeats of an unchanged state are dropped.
    void Change(bool down);

    std::shared_ptr<XRootEvents> x_;
    int listener_ = 0;
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
