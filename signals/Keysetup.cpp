// SPDX-License-Identifier: GPL-3.0-or-later
// TKeysetup and the lock-key routines, branching on the platform family as the keyboard calls differ.
#include "signals/Keysetup.h"

#include "platform/Platform.h"

bool GetLockKeyState(int vk) {
    return platform::Current().lockKeys->IsOn(vk);
}

void SetLockKeyState(int vk, bool on) {
    platform::Backends &backends = platform::Current();
    switch (backends.system->PlatformId()) {
    case platform::PLATFORM_WIN32_WINDOWS:
        // This family takes the new state straight into the keyboard state table.
        backends.lockKeys->Set(vk, on);
        break;
    case platform::PLATFORM_WIN32_NT:
        // This family only toggles a lock, so a lock already in the wanted state must get nothing.
        if (on != GetLockKeyState(vk)) {
            backends.lockKeys->Set(vk, on);
        }
        break;
    default:
        break;
    }
}

TKeysetup::TKeysetup(QObject *parent) : QObject(parent) {}

QString TKeysetup::About() const {
    return QStringLiteral("TKeysetup 1.0 — the Zindrel developers");
}

bool TKeysetup::CapsLock() const {
    return GetLockKeyState(platform::VK_CAPITAL_CODE);
}

void TKeysetup::SetCapsLock(bool on) {
    SetLockKeyState(platform::VK_CAPITAL_CODE, on);
}

bool TKeysetup::NumLock() const {
    return GetLockKeyState(platform::VK_NUMLOCK_CODE);
}

void TKeysetup::SetNumLock(bool on) {
    SetLockKeyState(platform::VK_NUMLOCK_CODE, on);
}

bool TKeysetup::ScrollLock() const {
    return GetLockKeyState(platform::VK_SCROLL_CODE);
}

void TKeysetup::SetScrollLock(bool on) {
    SetLockKeyState(platform::VK_SCROLL_CODE, on);
}
