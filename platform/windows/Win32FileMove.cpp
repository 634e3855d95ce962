// SPDX-License-Identifier: GPL-3.0-or-later
// The last step of the settings store's replace on Windows, tried again while another program holds the file.
#include "platform/windows/Win32FileMove.h"

namespace platform::win32 {

namespace {

constexpr DWORD MOVEFILE_REPLACE_EXISTING_FLAG = 0x1;
constexpr DWORD MOVEFILE_WRITE_THROUGH_FLAG = 0x8;
constexpr int kAttempts = 20;
constexpr DWORD kPauseMs = 50;

} // namespace

bool MoveOver(const Win32Api &api, const std::u16string &from, const std::u16string &to) {
    for (int attempt = 1;; ++attempt) {
        if (api.MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING_FLAG | MOVEFILE_WRITE_THROUGH_FLAG)) {
            return true;
        }
        // A file held open without delete sharing refuses with a sharing violation, one pending deletion (a
        // scanner's own copy) with access denied; a read-only file or folder was refused before the move.
        const DWORD error = api.GetLastError();
        if ((error != ERROR_SHARING_VIOLATION_CODE && error != ERROR_ACCESS_DENIED_CODE) || attempt == kAttempts) {
            return false;
        }
        api.Sleep(kPauseMs);
    }
}

} // namespace platform::win32
