// SPDX-License-Identifier: GPL-3.0-or-later
// The last step of the settings store's replace on Windows: the new file moved over the old one.
#pragma once

#include "platform/windows/Win32Api.h"

#include <string>

namespace platform::win32 {

constexpr DWORD ERROR_ACCESS_DENIED_CODE = 5;
constexpr DWORD ERROR_SHARING_VIOLATION_CODE = 32;

// MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). Virus scanners and indexers open a
// freshly written file for a moment, and the move is refused while they hold either file: it is tried again for
// about a second. False when it still failed, or failed for another reason.
bool MoveOver(const Win32Api &api, const std::u16string &from, const std::u16string &to);

} // namespace platform::win32
