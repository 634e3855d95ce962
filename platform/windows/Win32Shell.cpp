// SPDX-License-Identifier: GPL-3.0-or-later
// The shell calls, the registry values "Logon User Name" and "Desktop", and the FileVersion query.
#include "platform/windows/Win32Shell.h"

#include "platform/windows/Win32Power.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace platform::win32 {

namespace {

constexpr DWORD KEY_READ_RIGHTS = 0x20019;
constexpr int SW_HIDE_MODE = 0;
constexpr DWORD LONGEST_MODULE_PATH = 32768;

constexpr char16_t REPLACEMENT_CHARACTER = 0xFFFD;

constexpr DWORD GENERIC_WRITE_ACCESS = 0x40000000;
constexpr DWORD SHARE_ALL = 0x7;
constexpr DWORD OPEN_ALWAYS_DISPOSITION = 4;
constexpr DWORD TEMPORARY_DELETED_ON_CLOSE = 0x100 | 0x04000000;
constexpr int CSIDL_APPDATA_FOLDER = 0x1A;
constexpr UINT LONGEST_FOLDER_PATH = 1024;

// Making a file is the one answer that counts: the folder's ACL, a standard user under Program Files and a
// read-only medium all refuse it, where the folder's read-only attribute means nothing. The file goes at close.
bool CanMakeFileIn(const Win32Api &api, const std::string &folder) {
    const std::u16string probe = Utf8ToUtf16(folder + "zindrel_write_check.tmp");
    const HANDLE file = api.CreateFileW(probe.c_str(), GENERIC_WRITE_ACCESS, SHARE_ALL, OPEN_ALWAYS_DISPOSITION,
                                        TEMPORARY_DELETED_ON_CLOSE);
    if (file == INVALID_HANDLE) {
        return false;
    }
    api.CloseHandle(file);
    return true;
}

} // namespace

std::string ReadUserRegistryString(const Win32Api &api, const std::string &subKey, const std::string &value) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (api.RegCreateKeyExA(HKEY_CURRENT_USER_KEY, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE_FLAG,
                            KEY_READ_RIGHTS, nullptr, &key, &disposition) != ERROR_SUCCESS_CODE) {
        return {};
    }
    std::string result;
    DWORD type = 0;
    DWORD size = 0;
    if (api.RegQueryValueExA(key, value.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS_CODE &&
        (type == REG_SZ_TYPE || type == REG_EXPAND_SZ_TYPE)) {
        std::vector<BYTE> data(size + 1, 0);
        DWORD length = size;
        if (api.RegQueryValueExA(key, value.c_str(), nullptr, &type, data.data(), &length) == ERROR_SUCCESS_CODE) {
            // A stored string need not end with its NUL, and may end with several.
            result.assign(reinterpret_cast<const char *>(data.data()), std::min<std::size_t>(length, size));
            result.resize(std::strlen(result.c_str()));
        }
    }
    api.RegCloseKey(key);
    return result;
}

std::string TranslationKey(DWORD translation) {
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", static_cast<unsigned>(translation & 0xFFFF),
                  static_cast<unsigned>(translation >> 16));
    return key;
}

std::u16string Utf8ToUtf16(const std::string &text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80           ? 0
                          : (lead >> 5) == 0x6  ? 1
                          : (lead >> 4) == 0xE  ? 2
                          : (lead >> 3) == 0x1E ? 3
                                                : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) > text.size() - 1) {
            out.push_back(REPLACEMENT_CHARACTER);
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        bool good = true;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                good = false;
                break;
            }
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (!good || code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            out.push_back(REPLACEMENT_CHARACTER);
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

bool Win32Desktop::OpenTarget(const std::string &target) {
    const HINSTANCE result = api_.ShellExecuteA(owner_, "open", target.c_str(), nullptr, nullptr, SW_HIDE_MODE);
    return reinterpret_cast<std::uintptr_t>(result) > 32;
}

bool Win32Desktop::MakeShortcut(const std::string &executable, const std::string &workingFolder,
                                const std::string &name, const std::string &) {
    const std::string desktop = ReadUserRegistryString(
        api_, "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop");
    const std::u16string link = Utf8ToUtf16(desktop + "\\" + name + ".lnk");
    return api_.SaveShellLink(executable.c_str(), workingFolder.c_str(), link.c_str()) != 0;
}

std::string Win32System::LogonUserName() {
    return ReadUserRegistryString(api_, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "Logon User Name");
}

std::string Win32System::ExecutablePath() {
    // A path longer than the buffer comes back cut to its size, so the buffer grows until it fits.
    for (DWORD size = 260; size <= LONGEST_MODULE_PATH; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = api_.GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        if (length < size) {
            return std::string(buffer.data(), length);
        }
    }
    return {};
}

std::string Win32System::ProgramFolder() {
    const std::string path = ExecutablePath();
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? std::string() : WritableOrOwn(path.substr(0, cut + 1), program_);
}

std::string Win32System::ConfigFolder() {
    return WritableOrOwn(GetWindowsDir(api_) + "\\", config_);
}

std::string Win32System::WritableOrOwn(const std::string &folder, Choice &kept) {
    if (kept.folder != folder) {
        kept.folder = folder;
        const std::string own = CanMakeFileIn(api_, folder) ? std::string() : OwnFolder();
        // Without a folder of the user's own the files stay where they always were.
        kept.answer = own.empty() ? folder : own;
    }
    return kept.answer;
}

std::string Win32System::OwnFolder() {
    std::vector<char> path(LONGEST_FOLDER_PATH, '\0');
    if (api_.SHGetFolderPath(CSIDL_APPDATA_FOLDER, path.data(), LONGEST_FOLDER_PATH) != ERROR_SUCCESS_CODE ||
        path[0] == '\0') {
        return {};
    }
    const std::string folder = std::string(path.data()) + "\\Zindrel\\";
    // Already there after the first time; a failure shows at the first write, as any other.
    api_.CreateDirectoryW(Utf8ToUtf16(folder).c_str());
    return folder;
}

std::string Win32System::ProgramVersion() {
    const std::string path = ExecutablePath();
    DWORD handle = 0;
    const DWORD size = api_.GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0) {
        return {};
    }
    std::vector<BYTE> block(size, 0);
    if (!api_.GetFileVersionInfoA(path.c_str(), handle, size, block.data())) {
        return {};
    }
    std::string key;
    void *found = nullptr;
    UINT length = 0;
    if (api_.VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &found, &length) && found != nullptr &&
        length >= sizeof(DWORD)) {
        DWORD translation = 0;
        std::memcpy(&translation, found, sizeof translation);
        key = TranslationKey(translation);
    }
    found = nullptr;
    length = 0;
    const std::string query = "\\StringFileInfo\\" + key + "\\FileVersion";
    if (!api_.VerQueryValueA(block.data(), query.c_str(), &found, &length) || found == nullptr) {
        return {};
    }
    // The length counts characters and may include the terminating NUL.
    const auto *text = static_cast<const char *>(found);
    std::size_t used = 0;
    while (used < length && text[used] != '\0') {
        ++used;
    }
    return std::string(text, used);
}

int Win32System::PlatformId() {
    DWORD id = 0;
    return api_.GetVersionEx(&id) ? static_cast<int>(id) : 0;
}

void Win32System::MessageBox(const std::string &text, const std::string &caption, unsigned flags) {
    api_.MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
}

} // namespace platform::win32
