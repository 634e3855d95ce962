// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key watch on X11 through XInput 2 raw key events, with the Wayland session's ways beside it.
#include "platform/linux/LinuxKeyState.h"

#include "platform/linux/FocusPauseKey.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/PortalShortcut.h"
#include "platform/linux/Report.h"
#include "platform/linux/XRootEvents.h"

#include <QObject>
#include <QPointer>

#include <xcb/xinput.h>

#include <cstdlib>

namespace platform {

namespace {

constexpr xcb_keysym_t kPauseKeysym = 0xff13; // XK_Pause

// The first key code the server's keyboard map gives the Pause keysym; 0 for none.
xcb_keycode_t PauseKeycode(xcb_connection_t *c) {
    const xcb_setup_t *setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t *map =
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    if (map == nullptr) {
        return 0;
    }
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(map);
    const int perKey = map->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int i = 0; found == 0 && perKey > 0 && i < xcb_get_keyboard_mapping_keysyms_length(map); ++i) {
        if (syms[i] == kPauseKeysym) {
            found = static_cast<xcb_keycode_t>(setup->min_keycode + i / perKey);
        }
    }
    std::free(map);
    return found;
}

} // namespace

// Owned by the application object, so it goes before the event loop's machinery does at exit.
struct LinuxKeyState::Notifier {
    QPointer<QObject> object;
    ~Notifier() { delete object.data(); }
};

LinuxKeyState::LinuxKeyState() = default;

LinuxKeyState::~LinuxKeyState() {
    notifier_.reset();
    if (listener_ != 0) {
        x_->Forget(listener_);
    }
}

bool LinuxKeyState::Open() {
    if (opened_) {
        return x_ != nullptr;
    }
    opened_ = true;
    std::shared_ptr<XRootEvents> x = XRootEvents::Share();
    if (x == nullptr) {
        return false;
    }
    xcb_connection_t *c = x->Connection();
    const xcb_query_extension_reply_t *xi = x->Extension(&xcb_input_id);
    // Announcing 2.2 (2.1 would do) has the server send raw events also while another client grabs the keyboard.
    xcb_input_xi_query_version_reply_t *version =
        xi != nullptr ? xcb_input_xi_query_version_reply(c, xcb_input_xi_query_version(c, 2, 2), nullptr) : nullptr;
    const bool xi2 = version != nullptr && version->major_version >= 2;
    std::free(version);
    if (!xi2) {
        ReportUnreachable("the X server has no XInput 2, the Pause key is not watched");
        return false;
    }
    x_ = std::move(x);
    xiOpcode_ = xi->major_opcode;
    pauseKeycode_ = PauseKeycode(c);
    // On the wire a mask is its header followed by its words of bits, here one.
    struct {
        xcb_input_event_mask_t head;
        uint32_t bits;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE};
    xcb_input_xi_select_events(c, x_->Root(), 1, &mask.head);
    // Selected once the server has answered something asked after it.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
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
    xcb_connection_t *c = x_->Connection();
    xcb_query_keymap_reply_t *keymap = xcb_query_keymap_reply(c, xcb_query_keymap(c), nullptr);
    const bool down = keymap != nullptr && (keymap->keys[pauseKeycode_ / 8] & (1 << (pauseKeycode_ % 8))) != 0;
    std::free(keymap);
    return down;
}

bool LinuxKeyState::WatchPause(std::function<void(bool down)> onChange) {
    onChange_ = std::move(onChange);
    const bool wayland = IsWaylandSession();
    if (wayland) {
        portal_ = PortalShortcut::Bind([this](bool down) { Change(down); });
    }
    notifier_ = std::make_unique<Notifier>();
    if (Open()) {
        listener_ = x_->Listen([this](const xcb_generic_event_t &event) { Read(event); });
        // Events that came in while the connection was set up wait in xcb's queue, not in the socket.
        x_->Drain();
        return true;
    }
    if (!wayland) {
        ReportUnreachable("no X display, the Pause key works only while a Zindrel window has the focus");
    }
    notifier_->object = WatchPauseInFocusedWindows([this](bool down) { Change(down); });
    return true;
}

void LinuxKeyState::Read(const xcb_generic_event_t &event) {
    if ((event.response_type & 0x7f) != XCB_GE_GENERIC) {
        return;
    }
    const auto &generic = reinterpret_cast<const xcb_ge_generic_event_t &>(event);
    if (generic.extension != xiOpcode_) {
        return;
    }
    const auto &raw = reinterpret_cast<const xcb_input_raw_key_press_event_t &>(event);
    if (raw.detail == pauseKeycode_) {
        if (generic.event_type == XCB_INPUT_RAW_KEY_PRESS) {
            Change(true);
        } else if (generic.event_type == XCB_INPUT_RAW_KEY_RELEASE) {
            Change(false);
        }
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
