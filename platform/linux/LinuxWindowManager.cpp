// SPDX-License-Identifier: GPL-3.0-or-later
// The WindowManager interface on X11: _MOTIF_WM_HINTS for the frame, _NET_ACTIVE_WINDOW for the focus.
#include "platform/linux/LinuxWindowManager.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {

namespace {

// The X display the GUI itself uses, so the requests are ordered with Qt's own; null when the GUI is not on X11.
::Display *GuiDisplay() {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The Motif window-manager hints (flags, functions, decorations, input mode, status), as window managers read them.
constexpr long kMwmHintsFunctions = 1L << 0;
constexpr long kMwmHintsDecorations = 1L << 1;
constexpr long kMwmFuncMove = 1L << 2;
constexpr long kMwmDecorBorder = 1L << 1;
constexpr long kMwmDecorTitle = 1L << 3;

// The X server's time now. Window managers weigh an activation request by its time and distrust "no time"
// (CurrentTime); the time is read from the PropertyNotify a zero-length append to a window of a connection of our
// own brings, so Qt's event reader sees nothing of it.
Time ServerTime(::Display *gui) {
    ::Display *own = XOpenDisplay(DisplayString(gui));
    if (own == nullptr) {
        return CurrentTime;
    }
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    const Window window = XCreateWindow(own, DefaultRootWindow(own), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                        CopyFromParent, CWEventMask, &attributes);
    XChangeProperty(own, window, XInternAtom(own, "_ZINDREL_TIME", False), XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(own, window, PropertyChangeMask, &event);
    XDestroyWindow(own, window);
    XCloseDisplay(own);
    return event.xproperty.time;
}

} // namespace

void LinuxWindowManager::TitleOnly(std::uintptr_t window) {
    ::Display *display = GuiDisplay();
    if (!display || window == 0) {
        return;
    }
    // Qt can only ask for no buttons by leaving the functions unset, which Motif reads as "all functions": the
    // window manager then still offers minimise, maximise and close. Moving is the one function the frame keeps.
    const long hints[5] = {kMwmHintsFunctions | kMwmHintsDecorations, kMwmFuncMove, kMwmDecorBorder | kMwmDecorTitle, 0,
                           0};
    const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, static_cast<Window>(window), atom, atom, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(hints), 5);
    // A dialog by its type alone: a WM_TRANSIENT_FOR naming a window the window manager does not manage (Qt names
    // its unmapped leader window for a dialog without a parent) is refused with a warning.
    const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, static_cast<Window>(window), XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM,
                    32, PropModeReplace, reinterpret_cast<const unsigned char *>(&dialog), 1);
    XFlush(display);
}

void LinuxWindowManager::ForceActive(std::uintptr_t window) {
    ::Display *display = GuiDisplay();
    if (!display || window == 0) {
        return;
    }
    // Source 2 ("pager") passes the window managers' focus-stealing prevention: Qt's own request says "application"
    // with the time of the program's last input, which a warning opened by a timer does not have, and KWin at its
    // stricter levels then only marks the window as demanding attention.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window);
    event.xclient.message_type = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;                                      // source indication: pager
    event.xclient.data.l[1] = static_cast<long>(ServerTime(display)); // timestamp
    event.xclient.data.l[2] = 0;                                      // the requester's active window: none
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XRaiseWindow(display, static_cast<Window>(window));
    XFlush(display);
}

} // namespace platform
