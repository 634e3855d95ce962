// SPDX-License-Identifier: GPL-3.0-or-later
// The lock keys on X11: read from the XKB indicators, set through locked modifiers or the named indicator.
#include "platform/linux/LinuxLockKeys.h"

#include "platform/linux/Report.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform {

namespace {

::Display *AsDisplay(void *display) {
    return static_cast<::Display *>(display);
}

const char *IndicatorName(int vk) {
    switch (vk) {
    case VK_NUMLOCK_CODE:
        return "Num Lock";
    case VK_CAPITAL_CODE:
        return "Caps Lock";
    case VK_SCROLL_CODE:
        return "Scroll Lock";
    default:
        return nullptr;
    }
}

} // namespace

LinuxLockKeys::~LinuxLockKeys() {
    if (display_ != nullptr) {
        XCloseDisplay(AsDisplay(display_));
    }
}

bool LinuxLockKeys::Open() {
    if (!opened_) {
        opened_ = true;
        int major = XkbMajorVersion;
        int minor = XkbMinorVersion;
        int reason = 0;
        display_ = XkbOpenDisplay(nullptr, nullptr, nullptr, &major, &minor, &reason);
        if (display_ == nullptr) {
            ReportUnreachable("no X display with the keyboard extension, the lock keys are left alone");
        }
    }
    return display_ != nullptr;
}

bool LinuxLockKeys::IsOn(int vk) {
    const char *name = IndicatorName(vk);
    if (name == nullptr || !Open()) {
        return false;
    }
    ::Display *dpy = AsDisplay(display_);
    int index = -1;
    Bool named = False;
    if (!XkbGetNamedIndicator(dpy, XInternAtom(dpy, name, False), &index, &named, nullptr, nullptr) || index < 0) {
        return false;
    }
    unsigned int state = 0;
    if (XkbGetIndicatorState(dpy, XkbUseCoreKbd, &state) != Success) {
        return false;
    }
    return (state & (1u << index)) != 0;
}

void LinuxLockKeys::Set(int vk, bool on) {
    if (IndicatorName(vk) == nullptr || !Open() || IsOn(vk) == on) {
        return;
    }
    ::Display *dpy = AsDisplay(display_);
    switch (vk) {
    case VK_NUMLOCK_CODE: {
        const unsigned int mask = XkbKeysymToModifiers(dpy, XK_Num_Lock);
        if (mask != 0) {
            XkbLockModifiers(dpy, XkbUseCoreKbd, mask, on ? mask : 0);
        }
        break;
    }
    case VK_CAPITAL_CODE:
        XkbLockModifiers(dpy, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
        break;
    default:
        // The usual keymaps tie no modifier to ScrollLock, so only its indicator can be switched.
        XkbSetNamedIndicator(dpy, XInternAtom(dpy, "Scroll Lock", False), True, on ? True : False, False, nullptr);
        break;
    }
    // The next read must see the new state.
    XSync(dpy, False);
}

} // namespace platform
