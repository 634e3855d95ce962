// SPDX-License-Identifier: GPL-3.0-or-later
// The real Win32 table: each entry converts UTF-8 to the ANSI code page and back around the A function it calls.
#include <windows.h>

#include <mmsystem.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winver.h>

// The table names these entries after the calls; the headers' A/W switch would rename them.
#undef GetVersionEx
#undef MessageBox

#include "platform/windows/real/Win32Real.h"

#include <cstring>
#include <vector>

namespace platform::win32 {

namespace {

std::string Convert(const std::string &text, UINT from, UINT to) {
    if (text.empty()) {
        return {};
    }
    const int wideLength = ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wideLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), wide.data(), wideLength);
    const int length = ::WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
    return out;
}

// A UTF-8 argument in the ANSI code page for the length of one call; a null argument stays null.
class Ansi {
public:
    explicit Ansi(const char *utf8) : null_(utf8 == nullptr), text_(utf8 ? Utf8ToCodePage(utf8) : std::string()) {}
    const char *get() const { return null_ ? nullptr : text_.c_str(); }

private:
    bool null_;
    std::string text_;
};

// Copies a converted text into the caller's buffer the way the A functions fill theirs: the length without the
// NUL when it fits, the size needed (with the NUL) and nothing written when it does not.
UINT FillBuffer(const std::string &text, char *buffer, UINT size) {
    if (text.size() >= size) {
        return static_cast<UINT>(text.size() + 1);
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<UINT>(text.size());
}

::HWND Window(HWND window) {
    return static_cast<::HWND>(window);
}

using PortRead = short(__stdcall *)(short);
using PortWrite = void(__stdcall *)(short, short);

// The port driver's DLL, looked for once; without it the speaker stays silent and reads give 0.
struct PortDriver {
    PortRead read = nullptr;
    PortWrite write = nullptr;
    PortDriver() {
        HMODULE module = ::LoadLibraryA(sizeof(void *) == 8 ? "inpoutx64.dll" : "inpout32.dll");
        if (module != nullptr) {
            read = reinterpret_cast<PortRead>(reinterpret_cast<void *>(::GetProcAddress(module, "Inp32")));
            write = reinterpret_cast<PortWrite>(reinterpret_cast<void *>(::GetProcAddress(module, "Out32")));
        }
    }
};

// EnumWindows calls back with the system's calling convention; the table's callback is a plain function.
struct EnumCall {
    BOOL (*callback)(HWND, LPARAM);
    LPARAM data;
};

BOOL CALLBACK EnumTrampoline(::HWND window, ::LPARAM lParam) {
    const auto *call = reinterpret_cast<const EnumCall *>(lParam);
    return call->callback(window, call->data);
}

PortDriver &Ports() {
    static PortDriver driver;
    return driver;
}

BOOL SaveLink(const char *target, const char *workingDirectory, const char16_t *linkPath) {
    const HRESULT init = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BOOL saved = FALSE;
    IShellLinkA *link = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void **>(&link)))) {
        link->SetPath(Ansi(target).get());
        link->SetWorkingDirectory(Ansi(workingDirectory).get());
        IPersistFile *file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            saved = SUCCEEDED(file->Save(reinterpret_cast<const wchar_t *>(linkPath), FALSE)) ? TRUE : FALSE;
            file->Release();
        }
        link->Release();
    }
    // A thread whose COM was already set up in another mode keeps it; only our own initialisation is undone.
    if (SUCCEEDED(init)) {
        ::CoUninitialize();
    }
    return saved;
}

// The power-request calls, looked up once: Windows before 7 lacks them and the table leaves their entries null.
struct PowerRequestCalls {
    using Create = ::HANDLE(WINAPI *)(::REASON_CONTEXT *);
    using Change = ::BOOL(WINAPI *)(::HANDLE, ::POWER_REQUEST_TYPE);
    Create create = nullptr;
    Change set = nullptr;
    Change clear = nullptr;
    PowerRequestCalls() {
        HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
        if (kernel != nullptr) {
            create = reinterpret_cast<Create>(reinterpret_cast<void *>(::GetProcAddress(kernel, "PowerCreateRequest")));
            set = reinterpret_cast<Change>(reinterpret_cast<void *>(::GetProcAddress(kernel, "PowerSetRequest")));
            clear = reinterpret_cast<Change>(reinterpret_cast<void *>(::GetProcAddress(kernel, "PowerClearRequest")));
        }
    }
    bool Complete() const { return create != nullptr && set != nullptr && clear != nullptr; }
};

PowerRequestCalls &PowerRequests() {
    static PowerRequestCalls calls;
    return calls;
}

std::wstring Wide(const char *utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
    return wide;
}

LONG QueryValue(HKEY key, const char *name, DWORD *type, BYTE *data, DWORD *size) {
    const auto realKey = reinterpret_cast<::HKEY>(key);
    const Ansi ansiName(name);
    ::DWORD storedType = 0;
    ::DWORD storedSize = 0;
    LONG result = ::RegQueryValueExA(realKey, ansiName.get(), nullptr, &storedType, nullptr, &storedSize);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    std::vector<BYTE> raw(storedSize + 1, 0);
    ::DWORD readSize = storedSize;
    result = ::RegQueryValueExA(realKey, ansiName.get(), nullptr, &storedType, raw.data(), &readSize);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    std::string bytes(reinterpret_cast<const char *>(raw.data()), readSize);
    if (storedType == REG_SZ || storedType == REG_EXPAND_SZ) {
        bytes = CodePageToUtf8(std::string(bytes.c_str())) + '\0';
    }
    if (type != nullptr) {
        *type = storedType;
    }
    if (size == nullptr) {
        return data == nullptr ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
    }
    if (data != nullptr) {
        if (*size < bytes.size()) {
            *size = static_cast<DWORD>(bytes.size());
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, bytes.data(), bytes.size());
    }
    *size = static_cast<DWORD>(bytes.size());
    return ERROR_SUCCESS;
}

Win32Api MakeTable() {
    Win32Api api{};
    api.GetVersion = []() -> DWORD { return ::GetVersion(); };
    api.GetVersionEx = [](DWORD *platformId) -> BOOL {
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        const BOOL read = ::GetVersionExA(&info);
        *platformId = read ? info.dwPlatformId : 0;
        return read;
    };
    api.GetCurrentProcess = []() -> HANDLE { return ::GetCurrentProcess(); };
    api.CloseHandle = [](HANDLE handle) -> BOOL { return ::CloseHandle(handle); };
    api.GetWindowsDirectoryA = [](char *buffer, UINT size) -> UINT {
        std::vector<char> ansi(size + 1, '\0');
        const UINT length = ::GetWindowsDirectoryA(ansi.data(), size);
        if (length == 0 || length >= size) {
            return length;
        }
        return FillBuffer(CodePageToUtf8(std::string(ansi.data(), length)), buffer, size);
    };
    api.WinExec = [](const char *commandLine, UINT show) -> UINT { return ::WinExec(Ansi(commandLine).get(), show); };
    api.Beep = [](DWORD frequency, DWORD duration) -> BOOL { return ::Beep(frequency, duration); };
    api.Sleep = [](DWORD milliseconds) { ::Sleep(milliseconds); };
    api.MoveFileExW = [](const char16_t *existing, const char16_t *replacement, DWORD flags) -> BOOL {
        return ::MoveFileExW(reinterpret_cast<LPCWSTR>(existing), reinterpret_cast<LPCWSTR>(replacement), flags);
    };
    api.GetLastError = []() -> DWORD { return ::GetLastError(); };
    api.CreateFileW = [](const char16_t *path, DWORD access, DWORD share, DWORD disposition, DWORD flags) -> HANDLE {
        return ::CreateFileW(reinterpret_cast<LPCWSTR>(path), access, share, nullptr, disposition, flags, nullptr);
    };
    api.CreateDirectoryW = [](const char16_t *path) -> BOOL {
        return ::CreateDirectoryW(reinterpret_cast<LPCWSTR>(path), nullptr);
    };
    api.GetModuleFileNameA = [](HINSTANCE module, char *buffer, DWORD size) -> DWORD {
        std::vector<char> ansi(size + 1, '\0');
        const DWORD length = ::GetModuleFileNameA(static_cast<HMODULE>(module), ansi.data(), size);
        if (length == 0 || length >= size) {
            return length;
        }
        const std::string path = CodePageToUtf8(std::string(ansi.data(), length));
        // A path that does not fit is reported as cut, so the caller asks again with more room.
        return path.size() >= size ? size : FillBuffer(path, buffer, size);
    };
    api.OpenProcessToken = [](HANDLE process, DWORD access, HANDLE *token) -> BOOL {
        ::HANDLE opened = nullptr;
        const BOOL result = ::OpenProcessToken(process, access, &opened);
        *token = opened;
        return result;
    };
    api.LookupPrivilegeValueA = [](const char *systemName, const char *name, LUID *luid) -> BOOL {
        ::LUID found{};
        const BOOL result = ::LookupPrivilegeValueA(Ansi(systemName).get(), Ansi(name).get(), &found);
        luid->LowPart = found.LowPart;
        luid->HighPart = found.HighPart;
        return result;
    };
    api.AdjustTokenPrivileges = [](HANDLE token, BOOL disableAll, TokenPrivilege *newState, DWORD bufferLength,
                                   void *previousState, DWORD *returnLength) -> BOOL {
        TOKEN_PRIVILEGES privileges{};
        if (newState != nullptr) {
            privileges.PrivilegeCount = newState->PrivilegeCount;
            privileges.Privileges[0].Luid.LowPart = newState->Luid.LowPart;
            privileges.Privileges[0].Luid.HighPart = newState->Luid.HighPart;
            privileges.Privileges[0].Attributes = newState->Attributes;
        }
        ::DWORD returned = 0;
        const BOOL result =
            ::AdjustTokenPrivileges(token, disableAll, newState ? &privileges : nullptr, bufferLength,
                                    static_cast<PTOKEN_PRIVILEGES>(previousState), returnLength ? &returned : nullptr);
        if (returnLength != nullptr) {
            *returnLength = returned;
        }
        return result;
    };
    api.RegCreateKeyExA = [](HKEY key, const char *subKey, DWORD reserved, char *className, DWORD options, DWORD access,
                             void *security, HKEY *result, DWORD *disposition) -> LONG {
        ::HKEY opened = nullptr;
        ::DWORD how = 0;
        const LONG status =
            ::RegCreateKeyExA(reinterpret_cast<::HKEY>(key), Ansi(subKey).get(), reserved, className, options, access,
                              static_cast<LPSECURITY_ATTRIBUTES>(security), &opened, &how);
        *result = opened;
        if (disposition != nullptr) {
            *disposition = how;
        }
        return status;
    };
    api.RegQueryValueExA = [](HKEY key, const char *name, DWORD *, DWORD *type, BYTE *data, DWORD *size) -> LONG {
        return QueryValue(key, name, type, data, size);
    };
    api.RegCloseKey = [](HKEY key) -> LONG { return ::RegCloseKey(reinterpret_cast<::HKEY>(key)); };
    api.ExitWindowsEx = [](UINT flags, DWORD reserved) -> BOOL { return ::ExitWindowsEx(flags, reserved); };
    api.GetDesktopWindow = []() -> HWND { return ::GetDesktopWindow(); };
    api.SendMessageA = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return ::SendMessageA(Window(window), message, wParam, lParam);
    };
    api.GetKeyboardState = [](BYTE *state) -> BOOL { return ::GetKeyboardState(state); };
    api.SetKeyboardState = [](BYTE *state) -> BOOL { return ::SetKeyboardState(state); };
    api.keybd_event = [](BYTE vk, BYTE scan, DWORD flags, std::uintptr_t extraInfo) {
        ::keybd_event(vk, scan, flags, extraInfo);
    };
    api.GetAsyncKeyState = [](int vk) -> SHORT { return ::GetAsyncKeyState(vk); };
    api.FindWindowA = [](const char *className, const char *windowName) -> HWND {
        return ::FindWindowA(Ansi(className).get(), Ansi(windowName).get());
    };
    api.IsWindow = [](HWND window) -> BOOL { return ::IsWindow(Window(window)); };
    api.MessageBoxA = [](HWND owner, const char *text, const char *caption, UINT type) -> int {
        return ::MessageBoxA(Window(owner), Ansi(text).get(), Ansi(caption).get(), type);
    };
    api.sndPlaySoundA = [](const char *sound, UINT flags) -> BOOL { return ::sndPlaySoundA(Ansi(sound).get(), flags); };
    api.mciSendStringA = [](const char *command, char *returnString, UINT returnLength, HWND callback) -> DWORD {
        return ::mciSendStringA(Ansi(command).get(), returnString, returnLength, Window(callback));
    };
    api.ShellExecuteA = [](HWND owner, const char *operation, const char *file, const char *parameters,
                           const char *directory, int show) -> HINSTANCE {
        return ::ShellExecuteA(Window(owner), Ansi(operation).get(), Ansi(file).get(), Ansi(parameters).get(),
                               Ansi(directory).get(), show);
    };
    api.GetFileVersionInfoSizeA = [](const char *file, DWORD *handle) -> DWORD {
        ::DWORD zero = 0;
        const DWORD size = ::GetFileVersionInfoSizeA(Ansi(file).get(), &zero);
        *handle = zero;
        return size;
    };
    api.GetFileVersionInfoA = [](const char *file, DWORD handle, DWORD length, void *data) -> BOOL {
        return ::GetFileVersionInfoA(Ansi(file).get(), handle, length, data);
    };
    api.VerQueryValueA = [](const void *block, const char *subBlock, void **buffer, UINT *length) -> BOOL {
        ::UINT found = 0;
        const BOOL result = ::VerQueryValueA(block, Ansi(subBlock).get(), buffer, &found);
        *length = found;
        return result;
    };
    api.SaveShellLink = SaveLink;
    api.SHGetFolderPath = [](int folder, char *path, UINT size) -> LONG {
        wchar_t wide[MAX_PATH] = {};
        const HRESULT found = ::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, wide);
        if (found != S_OK) {
            return found;
        }
        const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (length <= 0 || static_cast<UINT>(length) > size) {
            return E_FAIL;
        }
        ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, path, length, nullptr, nullptr);
        return S_OK;
    };
    if (PowerRequests().Complete()) {
        api.PowerCreateRequest = [](const char *reason) -> HANDLE {
            std::wstring text = Wide(reason);
            ::REASON_CONTEXT context{};
            context.Version = POWER_REQUEST_CONTEXT_VERSION;
            context.Flags = POWER_REQUEST_CONTEXT_SIMPLE_STRING;
            context.Reason.SimpleReasonString = text.data();
            return PowerRequests().create(&context);
        };
        api.PowerSetRequest = [](HANDLE request, int type) -> BOOL {
            return PowerRequests().set(request, static_cast<::POWER_REQUEST_TYPE>(type));
        };
        api.PowerClearRequest = [](HANDLE request, int type) -> BOOL {
            return PowerRequests().clear(request, static_cast<::POWER_REQUEST_TYPE>(type));
        };
    }
    api.SetThreadExecutionState = [](DWORD flags) -> DWORD {
        return ::SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
    };
    api.CreateWaitableTimerA = [](void *security, BOOL manualReset, const char *name) -> HANDLE {
        return ::CreateWaitableTimerA(static_cast<LPSECURITY_ATTRIBUTES>(security), manualReset, Ansi(name).get());
    };
    api.SetWaitableTimer = [](HANDLE timer, std::int64_t dueTime, LONG period, BOOL resume) -> BOOL {
        LARGE_INTEGER due{};
        due.QuadPart = dueTime;
        return ::SetWaitableTimer(timer, &due, period, nullptr, nullptr, resume);
    };
    api.CancelWaitableTimer = [](HANDLE timer) -> BOOL { return ::CancelWaitableTimer(timer); };
    api.Inp32 = [](WORD port) -> BYTE {
        const auto read = Ports().read;
        return read ? static_cast<BYTE>(read(static_cast<short>(port))) : 0;
    };
    api.Out32 = [](WORD port, BYTE value) {
        if (const auto write = Ports().write) {
            write(static_cast<short>(port), value);
        }
    };
    api.CreateMutexA = [](void *security, BOOL initialOwner, const char *name) -> HANDLE {
        return ::CreateMutexA(static_cast<LPSECURITY_ATTRIBUTES>(security), initialOwner, Ansi(name).get());
    };
    api.SetPropA = [](HWND window, const char *name, HANDLE data) -> BOOL {
        return ::SetPropA(Window(window), Ansi(name).get(), data);
    };
    api.GetPropA = [](HWND window, const char *name) -> HANDLE { return ::GetPropA(Window(window), Ansi(name).get()); };
    api.EnumWindows = [](BOOL (*callback)(HWND, LPARAM), LPARAM data) -> BOOL {
        EnumCall call{callback, data};
        return ::EnumWindows(EnumTrampoline, reinterpret_cast<::LPARAM>(&call));
    };
    api.SendMessageTimeoutA = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                                 std::uintptr_t *result) -> LRESULT {
        ::DWORD_PTR answer = 0;
        const LRESULT sent = ::SendMessageTimeoutA(Window(window), message, wParam, lParam, flags, timeout, &answer);
        *result = answer;
        return sent;
    };
    api.RemovePropA = [](HWND window, const char *name) -> HANDLE {
        return ::RemovePropA(Window(window), Ansi(name).get());
    };
    api.AttachConsole = [](DWORD processId) -> BOOL { return ::AttachConsole(processId); };
    api.FreeConsole = []() -> BOOL { return ::FreeConsole(); };
    api.GetStdHandle = [](DWORD which) -> HANDLE { return ::GetStdHandle(which); };
    api.CreateFileA = [](const char *name, DWORD access, DWORD share, void *security, DWORD disposition, DWORD flags,
                         HANDLE templateFile) -> HANDLE {
        return ::CreateFileA(Ansi(name).get(), access, share, static_cast<LPSECURITY_ATTRIBUTES>(security), disposition,
                             flags, templateFile);
    };
    api.GetConsoleMode = [](HANDLE console, DWORD *mode) -> BOOL {
        ::DWORD value = 0;
        const BOOL got = ::GetConsoleMode(console, &value);
        *mode = value;
        return got;
    };
    api.WriteConsoleW = [](HANDLE console, const char16_t *text, DWORD length, DWORD *written, void *reserved) -> BOOL {
        ::DWORD count = 0;
        const BOOL wrote = ::WriteConsoleW(console, text, length, &count, reserved);
        *written = count;
        return wrote;
    };
    api.WriteFile = [](HANDLE file, const void *data, DWORD size, DWORD *written, void *overlapped) -> BOOL {
        ::DWORD count = 0;
        const BOOL wrote = ::WriteFile(file, data, size, &count, static_cast<LPOVERLAPPED>(overlapped));
        *written = count;
        return wrote;
    };
    return api;
}

} // namespace

const Win32Api &RealWin32Api() {
    static const Win32Api api = MakeTable();
    return api;
}

std::string Utf8ToCodePage(const std::string &text, unsigned codePage) {
    return Convert(text, CP_UTF8, codePage);
}

std::string CodePageToUtf8(const std::string &text, unsigned codePage) {
    return Convert(text, codePage, CP_UTF8);
}

} // namespace platform::win32
