// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file on Windows: a new temporary beside it (beside the target of a link), flushed, then moved over it.
#include <windows.h>

#include "platform/FileReplace.h"
#include "platform/windows/Win32FileMove.h"
#include "platform/windows/Win32Shell.h"
#include "platform/windows/real/Win32Real.h"

#include <algorithm>
#include <iterator>
#include <random>
#include <string>

namespace platform {

namespace {

std::wstring Wide(const std::string &utf8) {
    const std::u16string wide = win32::Utf8ToUtf16(utf8);
    return std::wstring(wide.begin(), wide.end());
}

// Creates path + suffix + six random characters that did not exist; INVALID_HANDLE_VALUE when none could be made.
HANDLE CreateTemporary(const std::wstring &path, std::wstring *temp) {
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(letters)) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temp = path + Wide(kReplaceTemporarySuffix);
        for (int i = 0; i < 6; ++i) {
            *temp += letters[pick(random)];
        }
        const HANDLE file =
            ::CreateFileW(temp->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// The file a link ends at, as the system names it ("\\?\" prefixed, which CreateFileW and MoveFileExW take); the
// path itself when nothing is there to open (a new file, a dangling link).
std::wstring FinalPath(const std::wstring &path) {
    const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring resolved(MAX_PATH, L'\0');
    const auto ask = [&] {
        return ::GetFinalPathNameByHandleW(file, resolved.data(), static_cast<DWORD>(resolved.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    };
    DWORD length = ask();
    // A name longer than the room given is answered with the room it needs.
    if (length >= resolved.size()) {
        resolved.resize(length);
        length = ask();
    }
    ::CloseHandle(file);
    if (length == 0 || length >= resolved.size()) {
        return path;
    }
    resolved.resize(length);
    return resolved;
}

bool WriteAll(HANDLE file, const std::string &content) {
    for (std::size_t done = 0; done < content.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, content.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

// The file's access is its folder's (the temporary inherits the folder's access list, as a new file would), so
// privateFile changes nothing here: the program folder decides who may read the settings.
bool WriteFileAtomically(const std::string &path, const std::string &content, bool) {
    // A settings file kept as a link stays one: the file it points to is replaced, by a temporary beside that file,
    // so the move stays on its volume.
    const std::wstring target = FinalPath(Wide(path));
    // A read-only file is refused here and not only by the rename: not every file system refuses it.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return false;
    }
    std::wstring temp;
    const HANDLE file = CreateTemporary(target, &temp);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool ok = WriteAll(file, content) && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    // One rename on the same volume: readers see the old file or the new one, never a part.
    ok = ok && win32::MoveOver(win32::RealWin32Api(), std::u16string(temp.begin(), temp.end()),
                               std::u16string(target.begin(), target.end()));
    if (!ok) {
        ::DeleteFileW(temp.c_str());
    }
    return ok;
}

} // namespace platform
