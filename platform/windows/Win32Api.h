// SPDX-License-Identifier: GPL-3.0-or-later
// The table of Win32 functions the Windows backend calls, with its own Win32 types so it builds without <windows.h>.
#pragma once

#include <cstdint>

namespace platform::win32 {

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned;
using LONG = std::int32_t;
using SHORT = std::int16_t;
using HANDLE = void *;
using HWND = void *;
using HKEY = void *;
using HINSTANCE = void *;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct LUID {
    DWORD LowPart = 0;
    LONG HighPart = 0;
};

// TOKEN_PRIVILEGES with its one LUID_AND_ATTRIBUTES entry, the only form the shutdown privilege step needs.
struct TokenPrivilege {
    DWORD PrivilegeCount = 1;
    LUID Luid;
    DWORD Attributes = 0;
};

// COPYDATASTRUCT, the payload of WM_COPYDATA.
struct CopyData {
    std::uintptr_t dwData = 0;
    DWORD cbData = 0;
    const void *lpData = nullptr;
};

inline HKEY const HKEY_CURRENT_USER_KEY = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));

inline HANDLE const INVALID_HANDLE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

constexpr LONG ERROR_SUCCESS_CODE = 0;
constexpr DWORD REG_SZ_TYPE = 1;
constexpr DWORD REG_EXPAND_SZ_TYPE = 2;
constexpr DWORD REG_OPTION_NON_VOLATILE_FLAG = 0;

// Every string handed to the table is UTF-8 and every string it hands back is UTF-8; the real table converts to
// and from the ANSI code page at the edge, so the backend and its tests deal in one encoding.
struct Win32Api {
    // kernel32
    DWORD (*GetVersion)();
    // GetVersionEx's dwPlatformId; FALSE when the version could not be read.
    BOOL (*GetVersionEx)(DWORD *platformId);
    HANDLE (*GetCurrentProcess)();
    BOOL (*CloseHandle)(HANDLE handle);
    UINT (*GetWindowsDirectoryA)(char *buffer, UINT size);
    UINT (*WinExec)(const char *commandLine, UINT show);
    BOOL (*Beep)(DWORD frequency, DWORD duration);
    void (*Sleep)(DWORD milliseconds);
    DWORD (*GetModuleFileNameA)(HINSTANCE module, char *buffer, DWORD size);
    // The settings store's replace, with UTF-16 paths, and the error a failed call left.
    BOOL (*MoveFileExW)(const char16_t *existing, const char16_t *replacement, DWORD flags);
    DWORD (*GetLastError)();
    // Whether a folder takes a new file, asked by making one: CreateFileW without security attributes or template
    // (INVALID_HANDLE when refused), and CreateDirectoryW without security attributes for the folder used instead.
    HANDLE (*CreateFileW)(const char16_t *path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
    BOOL (*CreateDirectoryW)(const char16_t *path);
    // Power requests, Windows 7 and later: null where the system lacks them. PowerCreateRequest's reason is the
    // request's simple reason string (REASON_CONTEXT with POWER_REQUEST_CONTEXT_SIMPLE_STRING).
    HANDLE (*PowerCreateRequest)(const char *reason);
    BOOL (*PowerSetRequest)(HANDLE request, int type);
    BOOL (*PowerClearRequest)(HANDLE request, int type);
    DWORD (*SetThreadExecutionState)(DWORD flags);
    // A waitable timer; SetWaitableTimer's due time counts 100-nanosecond ticks, as an absolute UTC FILETIME when
    // positive, and its completion routine is always null.
    HANDLE (*CreateWaitableTimerA)(void *security, BOOL manualReset, const char *name);
    BOOL (*SetWaitableTimer)(HANDLE timer, std::int64_t dueTime, LONG period, BOOL resume);
    BOOL (*CancelWaitableTimer)(HANDLE timer);
    // advapi32
    BOOL (*OpenProcessToken)(HANDLE process, DWORD access, HANDLE *token);
    BOOL (*LookupPrivilegeValueA)(const char *systemName, const char *name, LUID *luid);
    BOOL (*AdjustTokenPrivileges)(HANDLE token, BOOL disableAll, TokenPrivilege *, DWORD, void *, DWORD *);
    LONG (*RegCreateKeyExA)(HKEY, const char *subKey, DWORD, char *, DWORD, DWORD access, void *, HKEY *, DWORD *);
    LONG (*RegQueryValueExA)(HKEY key, const char *name, DWORD *reserved, DWORD *type, BYTE *data, DWORD *size);
    LONG (*RegCloseKey)(HKEY key);
    // user32
    BOOL (*ExitWindowsEx)(UINT flags, DWORD reserved);
    HWND (*GetDesktopWindow)();
    LRESULT (*SendMessageA)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL (*GetKeyboardState)(BYTE *state);
    BOOL (*SetKeyboardState)(BYTE *state);
    void (*keybd_event)(BYTE vk, BYTE scan, DWORD flags, std::uintptr_t extraInfo);
    SHORT (*GetAsyncKeyState)(int vk);
    HWND (*FindWindowA)(const char *className, const char *windowName);
    BOOL (*IsWindow)(HWND window);
    int (*MessageBoxA)(HWND owner, const char *text, const char *caption, UINT type);
    // winmm
    BOOL (*sndPlaySoundA)(const char *sound, UINT flags);
    DWORD (*mciSendStringA)(const char *command, char *returnString, UINT returnLength, HWND callback);
    // shell32
    HINSTANCE (*ShellExecuteA)(HWND, const char *verb, const char *file, const char *parameters, const char *, int);
    // SHGetFolderPathW's current path of a CSIDL folder for the user running the program, in UTF-8; 0 (S_OK)
    // when the folder is known and its path fits in `size` bytes with its NUL.
    LONG (*SHGetFolderPath)(int folder, char *path, UINT size);
    // version
    DWORD (*GetFileVersionInfoSizeA)(const char *file, DWORD *handle);
    BOOL (*GetFileVersionInfoA)(const char *file, DWORD handle, DWORD length, void *data);
    BOOL (*VerQueryValueA)(const void *block, const char *subBlock, void **buffer, UINT *length);
    // ole32: CoCreateInstance of the shell link, IShellLinkA::SetPath and SetWorkingDirectory, then
    // IPersistFile::Save(linkPath, FALSE); one entry, as COM interfaces do not fit a table of plain functions.
    // Non-zero when the link was saved.
    BOOL (*SaveShellLink)(const char *target, const char *workingDirectory, const char16_t *linkPath);
    // Byte port input and output (the Inp32/Out32 pair of the usual port driver).
    BYTE (*Inp32)(WORD port);
    void (*Out32)(WORD port, BYTE value);
    // One program per session: the session's named mutex, the mark on the main window, the hand-over message
    // (kernel32 and user32), and the console of the starting command prompt.
    HANDLE (*CreateMutexA)(void *security, BOOL initialOwner, const char *name);
    BOOL (*SetPropA)(HWND window, const char *name, HANDLE data);
    HANDLE (*GetPropA)(HWND window, const char *name);
    // EnumWindows with a plain callback; the real table adapts it to the system's calling convention.
    BOOL (*EnumWindows)(BOOL (*callback)(HWND window, LPARAM data), LPARAM data);
    // The last argument receives the window procedure's result.
    LRESULT (*SendMessageTimeoutA)(HWND, UINT message, WPARAM, LPARAM, UINT flags, UINT timeout, std::uintptr_t *);
    HANDLE (*RemovePropA)(HWND window, const char *name);
    BOOL (*AttachConsole)(DWORD processId);
    BOOL (*FreeConsole)();
    // Where a command's answer goes: the standard handle the command prompt gave (a file or pipe when redirected,
    // else none), or the console's own output; a console takes UTF-16, a file or pipe bytes.
    HANDLE (*GetStdHandle)(DWORD which);
    HANDLE (*CreateFileA)(const char *name, DWORD access, DWORD share, void *, DWORD disposition, DWORD, HANDLE);
    BOOL (*GetConsoleMode)(HANDLE console, DWORD *mode);
    BOOL (*WriteConsoleW)(HANDLE console, const char16_t *text, DWORD length, DWORD *written, void *reserved);
    BOOL (*WriteFile)(HANDLE file, const void *data, DWORD size, DWORD *written, void *overlapped);
};

} // namespace platform::win32
