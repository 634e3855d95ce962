// SPDX-License-Identifier: GPL-3.0-or-later
// A recording stand-in for the Win32 table, for the backend's tests only: it logs each call and gives set answers.
#pragma once

#include "platform/windows/Win32Api.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform::win32::testing {

// A window handle the tests make up from a number.
inline HWND Window(std::uintptr_t value) {
    return reinterpret_cast<HWND>(value);
}

class RecordingWin32Api {
public:
    // The table's functions reach the one live recorder; tests make one at a time.
    RecordingWin32Api() {
        current = this;
        Fill();
    }
    ~RecordingWin32Api() { current = nullptr; }
    RecordingWin32Api(const RecordingWin32Api &) = delete;
    RecordingWin32Api &operator=(const RecordingWin32Api &) = delete;

    const Win32Api &Api() const { return api_; }

    std::vector<std::string> calls;

    // Answers. The defaults are an NT-family system where every call succeeds.
    DWORD version = 0x0A280105;
    BOOL versionExResult = 1;
    DWORD platformId = 2;
    BOOL openTokenResult = 1;
    BOOL lookupResult = 1;
    BOOL adjustResult = 1;
    BOOL exitResult = 1;
    std::string windowsDir = "C:\\WINDOWS";
    UINT winExecResult = 33;
    BOOL beepResult = 1;
    std::string modulePath = "C:\\Program Files\\Zindrel\\zindrel.exe";
    std::array<BYTE, 256> keyboard{};
    std::array<BYTE, 256> keyboardWritten{};
    SHORT asyncKeyState = 0;
    HWND foundWindow = nullptr;
    BOOL isWindowResult = 1;
    std::uintptr_t shellExecuteResult = 42;
    BOOL soundResult = 1;
    // Registry: sub-key → value name → string; a sub-key listed in refusedKeys cannot be opened.
    std::map<std::string, std::map<std::string, std::string>> registry;
    std::vector<std::string> refusedKeys;
    // Version resource: sub-block → bytes; versionInfoSize 0 means the file has no resource.
    DWORD versionInfoSize = 0;
    BOOL versionReadResult = 1;
    std::map<std::string, std::vector<BYTE>> versionValues;
    // Folders where no file can be made (a path starting with one is refused), and %APPDATA% with its answer.
    std::vector<std::string> unwritableFolders;
    std::string appData = "C:\\Users\\anna\\AppData\\Roaming";
    LONG appDataResult = 0;
    // The errors of the next MoveFileExW calls, one each; a call with none left succeeds.
    std::vector<DWORD> moveErrors;
    BOOL saveLinkResult = 1;
    std::u16string savedLinkPath;
    // Power requests and the wake timer; powerRequests false leaves the request entries null, as before Windows 7.
    bool powerRequests = true;
    // Port 0x61 keeps what is written to it, as the speaker control register does.
    std::map<WORD, BYTE> ports;
    // One program per session: the mutex's answer, the top-level windows in Z order with their marks, and where a
    // sent message goes (a test connects two instances through it); no deliver means no window answers.
    HANDLE mutexResult = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3C));
    DWORD lastError = 0;
    std::vector<HWND> topWindows;
    std::map<HWND, std::map<std::string, HANDLE>> props;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> deliver;
    BOOL attachResult = 1;
    // CreateMutexA's last errors, one a call, before lastError applies: a program that ends while a start waits.
    std::vector<DWORD> mutexErrors;
    // The standard handles the start was given (none unless redirected); CONOUT$ opens the one console.
    std::map<DWORD, HANDLE> stdHandles;
    static inline HANDLE const consoleOutput = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0xC0));

    static inline HANDLE const process = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
    static inline HANDLE const token = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7C));
    static inline HWND const desktop = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
    static inline HKEY const openedKey = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x2A0));
    static inline HANDLE const request = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3C0));
    static inline HANDLE const timer = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3D0));
    static inline HANDLE const file = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3E0));
    static constexpr DWORD shutdownLuid = 0x13;

    static std::string Hex(unsigned long long value, int digits = 0) {
        char text[32];
        std::snprintf(text, sizeof text, "0x%0*llX", digits, value);
        return text;
    }
    static std::string Text(const char *text) { return text == nullptr ? "null" : "\"" + std::string(text) + "\""; }
    static std::string Name(const void *handle) {
        if (handle == nullptr) {
            return "null";
        }
        if (handle == process) {
            return "process";
        }
        if (handle == token) {
            return "token";
        }
        if (handle == desktop) {
            return "desktop";
        }
        if (handle == HKEY_CURRENT_USER_KEY) {
            return "HKCU";
        }
        if (handle == openedKey) {
            return "key";
        }
        if (handle == request) {
            return "request";
        }
        if (handle == timer) {
            return "timer";
        }
        if (handle == file) {
            return "file";
        }
        return Hex(reinterpret_cast<std::uintptr_t>(handle));
    }

private:
    static inline RecordingWin32Api *current = nullptr;

    void Log(std::string call) { calls.push_back(std::move(call)); }

    // The tests' paths are ASCII; anything else shows as '?'.
    static std::string Narrow(const char16_t *text) {
        std::string out;
        for (; *text != 0; ++text) {
            out.push_back(*text < 0x80 ? static_cast<char>(*text) : '?');
        }
        return out;
    }

    static UINT CopyOut(const std::string &text, char *buffer, UINT size) {
        if (size == 0) {
            return static_cast<UINT>(text.size() + 1);
        }
        const std::size_t used = std::min<std::size_t>(text.size(), size - 1);
        std::memcpy(buffer, text.data(), used);
        buffer[used] = '\0';
        // As GetModuleFileNameA does, a cut text answers with the full buffer size.
        return static_cast<UINT>(used < text.size() ? size : used);
    }

    // Rebuilds the table, so a changed powerRequests takes effect.
public:
    void Refill() { Fill(); }

private:
    void Fill() {
        api_.GetVersion = [] {
            current->Log("GetVersion()");
            return current->version;
        };
        api_.GetVersionEx = [](DWORD *id) {
            current->Log("GetVersionEx()");
            *id = current->platformId;
            return current->versionExResult;
        };
        api_.GetCurrentProcess = [] {
            current->Log("GetCurrentProcess()");
            return process;
        };
        api_.CloseHandle = [](HANDLE handle) {
            current->Log("CloseHandle(" + Name(handle) + ")");
            return BOOL{1};
        };
        api_.GetWindowsDirectoryA = [](char *buffer, UINT size) {
            current->Log("GetWindowsDirectoryA(" + std::to_string(size) + ")");
            return CopyOut(current->windowsDir, buffer, size);
        };
        api_.WinExec = [](const char *command, UINT show) {
            current->Log("WinExec(" + Text(command) + ", " + std::to_string(show) + ")");
            return current->winExecResult;
        };
        api_.Beep = [](DWORD frequency, DWORD duration) {
            current->Log("Beep(" + std::to_string(frequency) + ", " + std::to_string(duration) + ")");
            return current->beepResult;
        };
        api_.Sleep = [](DWORD ms) { current->Log("Sleep(" + std::to_string(ms) + ")"); };
        api_.GetModuleFileNameA = [](HINSTANCE module, char *buffer, DWORD size) {
            current->Log("GetModuleFileNameA(" + Name(module) + ", " + std::to_string(size) + ")");
            return static_cast<DWORD>(CopyOut(current->modulePath, buffer, size));
        };
        api_.MoveFileExW = [](const char16_t *, const char16_t *, DWORD flags) {
            current->Log("MoveFileExW(" + Hex(flags) + ")");
            if (current->moveErrors.empty()) {
                return BOOL{1};
            }
            current->lastError = current->moveErrors.front();
            current->moveErrors.erase(current->moveErrors.begin());
            return BOOL{0};
        };
        // Not logged: it reads state, and the sequences tested are the calls that act.
        api_.GetLastError = [] { return current->lastError; };
        api_.CreateFileW = [](const char16_t *path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
            const std::string name = Narrow(path);
            current->Log("CreateFileW(\"" + name + "\", " + Hex(access) + ", " + Hex(share) + ", " +
                         std::to_string(disposition) + ", " + Hex(flags) + ")");
            for (const auto &folder : current->unwritableFolders) {
                if (name.rfind(folder, 0) == 0) {
                    return INVALID_HANDLE;
                }
            }
            return file;
        };
        api_.CreateDirectoryW = [](const char16_t *path) {
            current->Log("CreateDirectoryW(\"" + Narrow(path) + "\")");
            return BOOL{1};
        };
        if (powerRequests) {
            api_.PowerCreateRequest = [](const char *reason) {
                current->Log("PowerCreateRequest(" + Text(reason) + ")");
                return request;
            };
            api_.PowerSetRequest = [](HANDLE handle, int type) {
                current->Log("PowerSetRequest(" + Name(handle) + ", " + std::to_string(type) + ")");
                return BOOL{1};
            };
            api_.PowerClearRequest = [](HANDLE handle, int type) {
                current->Log("PowerClearRequest(" + Name(handle) + ", " + std::to_string(type) + ")");
                return BOOL{1};
            };
        } else {
            api_.PowerCreateRequest = nullptr;
            api_.PowerSetRequest = nullptr;
            api_.PowerClearRequest = nullptr;
        }
        api_.SetThreadExecutionState = [](DWORD flags) {
            current->Log("SetThreadExecutionState(" + Hex(flags, 8) + ")");
            return DWORD{0x80000000};
        };
        api_.CreateWaitableTimerA = [](void *security, BOOL manualReset, const char *name) {
            current->Log("CreateWaitableTimerA(" + Name(security) + ", " + std::to_string(manualReset) + ", " +
                         Text(name) + ")");
            return timer;
        };
        api_.SetWaitableTimer = [](HANDLE handle, std::int64_t due, LONG period, BOOL resume) {
            current->Log("SetWaitableTimer(" + Name(handle) + ", " + std::to_string(due) + ", " +
                         std::to_string(period) + ", " + std::to_string(resume) + ")");
            return BOOL{1};
        };
        api_.CancelWaitableTimer = [](HANDLE handle) {
            current->Log("CancelWaitableTimer(" + Name(handle) + ")");
            return BOOL{1};
        };
        api_.OpenProcessToken = [](HANDLE processHandle, DWORD access, HANDLE *result) {
            current->Log("OpenProcessToken(" + Name(processHandle) + ", " + Hex(access, 2) + ")");
            *result = current->openTokenResult ? token : nullptr;
            return current->openTokenResult;
        };
        api_.LookupPrivilegeValueA = [](const char *system, const char *name, LUID *luid) {
            current->Log("LookupPrivilegeValueA(" + Text(system) + ", " + Text(name) + ")");
            if (current->lookupResult) {
                luid->LowPart = shutdownLuid;
                luid->HighPart = 0;
            }
            return current->lookupResult;
        };
        api_.AdjustTokenPrivileges = [](HANDLE tokenHandle, BOOL disableAll, TokenPrivilege *state, DWORD length,
                                        void *previous, DWORD *returned) {
            const std::string newState = state == nullptr ? "null"
                                                          : "{count " + std::to_string(state->PrivilegeCount) +
                                                                ", luid " + Hex(state->Luid.LowPart) + ":" +
                                                                std::to_string(state->Luid.HighPart) + ", attributes " +
                                                                std::to_string(state->Attributes) + "}";
            current->Log("AdjustTokenPrivileges(" + Name(tokenHandle) + ", " + std::to_string(disableAll) + ", " +
                         newState + ", " + std::to_string(length) + ", " + Name(previous) + ", " + Name(returned) +
                         ")");
            return current->adjustResult;
        };
        api_.RegCreateKeyExA = [](HKEY key, const char *subKey, DWORD reserved, char *className, DWORD options,
                                  DWORD access, void *security, HKEY *result, DWORD *disposition) {
            current->Log("RegCreateKeyExA(" + Name(key) + ", " + Text(subKey) + ", " + std::to_string(reserved) + ", " +
                         Name(className) + ", " + std::to_string(options) + ", " + Hex(access) + ", " + Name(security) +
                         ")");
            for (const auto &refused : current->refusedKeys) {
                if (refused == subKey) {
                    return LONG{5};
                }
            }
            current->openedSubKey_ = subKey;
            *result = openedKey;
            *disposition = current->registry.count(subKey) ? 2 : 1;
            return ERROR_SUCCESS_CODE;
        };
        api_.RegQueryValueExA = [](HKEY key, const char *name, DWORD *, DWORD *type, BYTE *data, DWORD *size) {
            current->Log("RegQueryValueExA(" + Name(key) + ", " + Text(name) + (data ? ", data" : ", null") + ")");
            const auto &values = current->registry[current->openedSubKey_];
            const auto found = values.find(name);
            if (key != openedKey || found == values.end()) {
                return LONG{2};
            }
            const std::string &stored = found->second;
            const auto needed = static_cast<DWORD>(stored.size() + 1);
            *type = REG_SZ_TYPE;
            if (data != nullptr) {
                if (*size < needed) {
                    *size = needed;
                    return LONG{234};
                }
                std::memcpy(data, stored.c_str(), needed);
            }
            *size = needed;
            return ERROR_SUCCESS_CODE;
        };
        api_.RegCloseKey = [](HKEY key) {
            current->Log("RegCloseKey(" + Name(key) + ")");
            return ERROR_SUCCESS_CODE;
        };
        api_.ExitWindowsEx = [](UINT flags, DWORD reserved) {
            current->Log("ExitWindowsEx(" + std::to_string(flags) + ", " + std::to_string(reserved) + ")");
            return current->exitResult;
        };
        api_.GetDesktopWindow = [] {
            current->Log("GetDesktopWindow()");
            return desktop;
        };
        api_.SendMessageA = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            current->Log("SendMessageA(" + Name(window) + ", " + Hex(message, 4) + ", " + std::to_string(wParam) +
                         ", " + std::to_string(lParam) + ")");
            return LRESULT{0};
        };
        api_.GetKeyboardState = [](BYTE *state) {
            current->Log("GetKeyboardState()");
            std::memcpy(state, current->keyboard.data(), current->keyboard.size());
            return BOOL{1};
        };
        api_.SetKeyboardState = [](BYTE *state) {
            current->Log("SetKeyboardState()");
            std::memcpy(current->keyboardWritten.data(), state, current->keyboardWritten.size());
            return BOOL{1};
        };
        api_.keybd_event = [](BYTE vk, BYTE scan, DWORD flags, std::uintptr_t extra) {
            current->Log("keybd_event(" + Hex(vk, 2) + ", " + Hex(scan, 2) + ", " + std::to_string(flags) + ", " +
                         std::to_string(extra) + ")");
        };
        api_.GetAsyncKeyState = [](int vk) {
            current->Log("GetAsyncKeyState(" + Hex(static_cast<unsigned>(vk), 2) + ")");
            return current->asyncKeyState;
        };
        api_.FindWindowA = [](const char *className, const char *windowName) {
            current->Log("FindWindowA(" + Text(className) + ", " + Text(windowName) + ")");
            return current->foundWindow;
        };
        api_.IsWindow = [](HWND window) {
            current->Log("IsWindow(" + Name(window) + ")");
            return current->isWindowResult;
        };
        api_.MessageBoxA = [](HWND owner, const char *text, const char *caption, UINT type) {
            current->Log("MessageBoxA(" + Name(owner) + ", " + Text(text) + ", " + Text(caption) + ", " + Hex(type, 4) +
                         ")");
            return 1;
        };
        api_.sndPlaySoundA = [](const char *sound, UINT flags) {
            current->Log("sndPlaySoundA(" + Text(sound) + ", " + Hex(flags) + ")");
            return current->soundResult;
        };
        api_.mciSendStringA = [](const char *command, char *returned, UINT length, HWND callback) {
            current->Log("mciSendStringA(" + Text(command) + ", " + Name(returned) + ", " + std::to_string(length) +
                         ", " + Name(callback) + ")");
            return DWORD{0};
        };
        api_.ShellExecuteA = [](HWND owner, const char *operation, const char *file, const char *parameters,
                                const char *directory, int show) {
            current->Log("ShellExecuteA(" + Name(owner) + ", " + Text(operation) + ", " + Text(file) + ", " +
                         Text(parameters) + ", " + Text(directory) + ", " + std::to_string(show) + ")");
            return reinterpret_cast<HINSTANCE>(current->shellExecuteResult);
        };
        api_.GetFileVersionInfoSizeA = [](const char *file, DWORD *handle) {
            current->Log("GetFileVersionInfoSizeA(" + Text(file) + ")");
            *handle = 0;
            return current->versionInfoSize;
        };
        api_.GetFileVersionInfoA = [](const char *file, DWORD handle, DWORD length, void *) {
            current->Log("GetFileVersionInfoA(" + Text(file) + ", " + std::to_string(handle) + ", " +
                         std::to_string(length) + ")");
            return current->versionReadResult;
        };
        api_.VerQueryValueA = [](const void *, const char *subBlock, void **buffer, UINT *length) {
            current->Log("VerQueryValueA(" + Text(subBlock) + ")");
            const auto found = current->versionValues.find(subBlock);
            if (found == current->versionValues.end()) {
                return BOOL{0};
            }
            *buffer = found->second.data();
            *length = static_cast<UINT>(found->second.size());
            return BOOL{1};
        };
        api_.SaveShellLink = [](const char *target, const char *workingDirectory, const char16_t *linkPath) {
            current->Log("SaveShellLink(" + Text(target) + ", " + Text(workingDirectory) + ")");
            current->savedLinkPath = linkPath;
            return current->saveLinkResult;
        };
        api_.SHGetFolderPath = [](int folder, char *path, UINT size) {
            current->Log("SHGetFolderPath(" + Hex(static_cast<unsigned>(folder), 2) + ")");
            if (current->appDataResult == 0) {
                CopyOut(current->appData, path, size);
            }
            return current->appDataResult;
        };
        api_.Inp32 = [](WORD port) {
            current->Log("Inp32(" + Hex(port, 2) + ")");
            return current->ports[port];
        };
        api_.CreateMutexA = [](void *security, BOOL initialOwner, const char *name) {
            current->Log("CreateMutexA(" + Name(security) + ", " + std::to_string(initialOwner) + ", " + Text(name) +
                         ")");
            if (!current->mutexErrors.empty()) {
                current->lastError = current->mutexErrors.front();
                current->mutexErrors.erase(current->mutexErrors.begin());
            }
            return current->mutexResult;
        };
        api_.SetPropA = [](HWND window, const char *name, HANDLE data) {
            current->Log("SetPropA(" + Name(window) + ", " + Text(name) + ", " + Name(data) + ")");
            current->props[window][name] = data;
            return BOOL{1};
        };
        api_.GetPropA = [](HWND window, const char *name) {
            current->Log("GetPropA(" + Name(window) + ", " + Text(name) + ")");
            const auto found = current->props[window].find(name);
            return found == current->props[window].end() ? HANDLE{} : found->second;
        };
        api_.EnumWindows = [](BOOL (*callback)(HWND, LPARAM), LPARAM data) {
            current->Log("EnumWindows()");
            for (HWND window : current->topWindows) {
                if (!callback(window, data)) {
                    return BOOL{0};
                }
            }
            return BOOL{1};
        };
        api_.SendMessageTimeoutA = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                                      std::uintptr_t *result) {
            std::string argument = std::to_string(lParam);
            if (message == 0x004A) {
                const auto *data = reinterpret_cast<const CopyData *>(lParam);
                std::string text(static_cast<const char *>(data->lpData), data->cbData);
                std::replace(text.begin(), text.end(), '\0', '|');
                argument = "{" + Hex(data->dwData) + ", \"" + text + "\"}";
            }
            current->Log("SendMessageTimeoutA(" + Name(window) + ", " + Hex(message, 4) + ", " +
                         Name(reinterpret_cast<HWND>(wParam)) + ", " + argument + ", " + std::to_string(flags) + ", " +
                         std::to_string(timeout) + ")");
            if (!current->deliver) {
                return LRESULT{0};
            }
            *result = static_cast<std::uintptr_t>(current->deliver(window, message, wParam, lParam));
            return LRESULT{1};
        };
        api_.RemovePropA = [](HWND window, const char *name) {
            current->Log("RemovePropA(" + Name(window) + ", " + Text(name) + ")");
            const HANDLE data = current->props[window][name];
            current->props[window].erase(name);
            return data;
        };
        api_.AttachConsole = [](DWORD process) {
            current->Log("AttachConsole(" + Hex(process) + ")");
            return current->attachResult;
        };
        api_.FreeConsole = [] {
            current->Log("FreeConsole()");
            return BOOL{1};
        };
        // Not logged: they read state.
        api_.GetStdHandle = [](DWORD which) { return current->stdHandles[which]; };
        api_.GetConsoleMode = [](HANDLE console, DWORD *mode) { return BOOL{(*mode = 3) && console == consoleOutput}; };
        api_.CreateFileA = [](const char *name, DWORD access, DWORD share, void *, DWORD disposition, DWORD, HANDLE) {
            current->Log("CreateFileA(" + Text(name) + ", " + Hex(access) + ", " + std::to_string(share) + ", " +
                         std::to_string(disposition) + ")");
            return consoleOutput;
        };
        api_.WriteConsoleW = [](HANDLE console, const char16_t *, DWORD length, DWORD *written, void *) {
            current->Log("WriteConsoleW(" + Name(console) + ", " + std::to_string(*written = length) + ")");
            return BOOL{1};
        };
        api_.WriteFile = [](HANDLE file, const void *data, DWORD size, DWORD *written, void *) {
            current->Log("WriteFile(" + Name(file) + ", " +
                         Text(std::string(static_cast<const char *>(data), *written = size).c_str()) + ")");
            return BOOL{1};
        };
        api_.Out32 = [](WORD port, BYTE value) {
            current->Log("Out32(" + Hex(port, 2) + ", " + Hex(value, 2) + ")");
            if (port == 0x61) {
                current->ports[port] = value;
            }
        };
    }

    Win32Api api_{};
    std::string openedSubKey_;
};

} // namespace platform::win32::testing
