// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11 through XInput 2 raw key events, with the Wayland session's ways beside it.
#include "platform/linux/LinuxKeyState.h"

#include "platform/linux/FocusPauseKey.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/PortalShortcut.h"
#include "platform/linux/Report.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace platform {

// Owned by the application object, so it goes before the event loop's machinery does at exit.
struct LinuxKeyState::Notifier {
    QPointer<QObject> object;
    ~Notifier() { delete object.data(); }
};

LinuxKeyState::LinuxKeyState() = default;

LinuxKeyState::~LinuxKeyState() {
    notifier_.reset();
    if (display_ != nullptr) {
        XCloseDisplay(static_cast<::Display *>(display_));
    }
}

bool LinuxKeyState::Open() {
    if (opened_) {
        return display_ != nullptr;
    }
    opened_ = true;
    auto *dpy = XOpenDisplay(nullptr);
    if (dpy == nullptr) {
        return false;
    }
    int event = 0;
    int error = 0;
    // Announcing 2.2 (2.1 would do) has the server send raw events also while another client grabs the keyboard.
    int major = 2;
    int minor = 2;
    if (!XQueryExtension(dpy, "XInputExtension", &xiOpcode_, &event, &error) ||
        XIQueryVersion(dpy, &major, &minor) != Success) {
        ReportUnreachable("the X server has no XInput 2, the Pause key is not watched");
        XCloseDisplay(dpy);
        return false;
    }
    display_ = dpy;
    pauseKeycode_ = XKeysymToKeycode(dpy, XK_Pause);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(dpy, DefaultRootWindow(dpy), &mask, 1);
    XSync(dpy, False);
    return true;
}

bool LinuxKeyState::PausePressed() {
    if (notifier_) {
        // Watched, the key's state comes through Change() from whichever way feeds it (the X server's raw events,
        // the portal, the focused window), with or without an X display; the answer needs no trip to a server.
        const bool pressed = down_ || pressedSincePoll_;
        pressedSincePoll_ = false;
        return pressed;
    }
    if (!Open() || pauseKeycode_ == 0) {
        return false;
    }
    // Nobody reads the events: ask the server, as a poll must.
    char keys[32] = {};
    XQueryKeymap(static_cast<::Display *>(display_), keys);
    return (keys[pauseKeycode_ / 8] & (1 << (pauseKeycode_ % 8))) != 0;
}

bool LinuxKeyState::WatchPause(std::function<void(bool down)> onChange) {
    onChange_ = std::move(onChange);
    const bool wayland = IsWaylandSession();
    if (wayland) {
        portal_ = PortalShortcut::Bind([this](bool down) { Change(down); });
    }
    notifier_ = std::make_unique<Notifier>();
    if (Open()) {
        auto *socket = new QSocketNotifier(XConnectionNumber(static_cast<::Display *>(display_)), QSocketNotifier::Read,
                                           QCoreApplication::instance());
        QObject::connect(socket, &QSocketNotifier::activated, socket, [this] { ReadEvents(); });
        notifier_->object = socket;
        // Events that came in while the connection was set up wait in Xlib's queue, not in the socket.
        ReadEvents();
        return true;
    }
    if (!wayland) {
        ReportUnreachable("no X display, the Pause key works only while a Zindrel window has the focus");
    }
    notifier_->object = WatchPauseInFocusedWindows([this](bool down) { Change(down); });
    return true;
}

void LinuxKeyState::ReadEvents() {
    auto *dpy = static_cast<::Display *>(display_);
    if (dpy == nullptr) {
        return;
    }
    while (XPending(dpy) > 0) {
        XEvent event;
        XNextEvent(dpy, &event);
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != xiOpcode_ || !XGetEventData(dpy, cookie)) {
            continue;
        }
        const auto *raw = static_cast<const XIRawEvent *>(cookie->data);
        if (static_cast<unsigned>(raw->detail) == pauseKeycode_) {
            if (cookie->evtype == XI_RawKeyPress) {
                Change(true);
            } else if (cookie->evtype == XI_RawKeyRelease) {
                Change(false);
            }
        }
        XFreeEventData(dpy, cookie);
    }
}

void LinuxKeyState::Change(bool down) {
    if (down == down_) {
        return; // the key's auto-repeat, or the same press seen by two ways
    }
    down_ = down;
    if (down) {
        pressedSincePoll_ = true;
    }
    if (onChange_) {
        onChange_(down);
    }
}

} // namespace platform
