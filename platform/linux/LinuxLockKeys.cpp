// SPDX-License-Identifier: GPL-3.0-or-later
// The lock keys on X11: NumLock and CapsLock as XKB locked modifiers, ScrollLock as its named indicator.
#include "platform/linux/LinuxLockKeys.h"

#include "platform/linux/LinuxDisplay.h"
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

// The modifier a lock key locks: CapsLock's is Lock, NumLock's the one the keymap binds to Num_Lock; 0 for
// ScrollLock, or a keymap without a NumLock modifier.
unsigned int LockModifier(::Display *dpy, int vk) {
    switch (vk) {
    case VK_NUMLOCK_CODE:
        return XkbKeysymToModifiers(dpy, XK_Num_Lock);
    case VK_CAPITAL_CODE:
        return LockMask;
    default:
        return 0;
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
        if (IsWaylandSession()) {
            // XWayland keeps a keyboard state of its own: the compositor's lamps do not follow it.
            ReportUnreachable("the keyboard lights cannot be set from a Wayland client");
        }
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
    // NumLock and CapsLock are the locked modifiers themselves: a keymap may light their indicators for
    // something else (grp_led:caps shows the layout on the CapsLock light).
    const unsigned int modifier = LockModifier(dpy, vk);
    if (modifier != 0) {
        XkbStateRec state{};
        return XkbGetState(dpy, XkbUseCoreKbd, &state) == Success && (state.locked_mods & modifier) != 0;
    }
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
    const unsigned int modifier = LockModifier(dpy, vk);
    if (modifier != 0) {
        XkbLockModifiers(dpy, XkbUseCoreKbd, modifier, on ? modifier : 0);
    } else if (vk == VK_SCROLL_CODE) {
        // The usual keymaps tie no modifier to ScrollLock, so only its indicator can be switched.
        XkbSetNamedIndicator(dpy, XInternAtom(dpy, "Scroll Lock", False), True, on ? True : False, False, nullptr);
    }
    // The next read must see the new state.
    XSync(dpy, False);
}

} // namespace platform
