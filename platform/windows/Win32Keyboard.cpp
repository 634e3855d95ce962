// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard locks by Windows family, and GetAsyncKeyState for Pause.
#include "platform/windows/Win32Keyboard.h"

#include <array>

namespace platform::win32 {

namespace {

constexpr DWORD VER_PLATFORM_WIN32_WINDOWS_ID = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT_ID = 2;
constexpr BYTE LOCK_SCAN_CODE = 0x45;
constexpr DWORD KEYEVENTF_EXTENDEDKEY_FLAG = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP_FLAG = 0x0002;
constexpr int VK_PAUSE_CODE = 0x13;

using KeyTable = std::array<BYTE, 256>;

bool InTable(int vk) {
    return vk >= 0 && vk < 256;
}

} // namespace

bool Win32LockKeys::IsOn(int vk) {
    KeyTable table{};
    api_.GetKeyboardState(table.data());
    return InTable(vk) && table[static_cast<unsigned>(vk)] != 0;
}

void Win32LockKeys::Set(int vk, bool on) {
    if (!InTable(vk)) {
        return;
    }
    DWORD platformId = 0;
    if (!api_.GetVersionEx(&platformId)) {
        return;
    }
    if (platformId == VER_PLATFORM_WIN32_WINDOWS_ID) {
        KeyTable table{};
        api_.GetKeyboardState(table.data());
        table[static_cast<unsigned>(vk)] = on ? 1 : 0;
        api_.SetKeyboardState(table.data());
    } else if (platformId == VER_PLATFORM_WIN32_NT_ID) {
        if (on != IsOn(vk)) {
            const auto key = static_cast<BYTE>(vk);
            api_.keybd_event(key, LOCK_SCAN_CODE, KEYEVENTF_EXTENDEDKEY_FLAG, 0);
            api_.keybd_event(key, LOCK_SCAN_CODE, KEYEVENTF_EXTENDEDKEY_FLAG | KEYEVENTF_KEYUP_FLAG, 0);
        }
    }
}

bool Win32KeyState::PausePressed() {
    return api_.GetAsyncKeyState(VK_PAUSE_CODE) != 0;
}

} // namespace platform::win32
