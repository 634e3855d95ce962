// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key as a global shortcut of the desktop portal, where a Wayland compositor offers one.
#pragma once

#include <functional>
#include <memory>

class QObject;

namespace platform {

class PortalShortcut {
public:
    // Asks the portal for a Pause shortcut whose presses (true) and releases (false) reach onChange on the GUI
    // thread. Where no portal on the session bus offers global shortcuts, says once on stderr that the key works
    // only while a window of the program has the focus.
    static std::unique_ptr<PortalShortcut> Bind(std::function<void(bool down)> onChange);
    ~PortalShortcut();
    PortalShortcut(const PortalShortcut &) = delete;
    PortalShortcut &operator=(const PortalShortcut &) = delete;

private:
    PortalShortcut() = default;
    // Receives the portal's replies and signals.
    std::unique_ptr<QObject> receiver_;
};

} // namespace platform
