// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Windows: a named mutex of the session and WM_COPYDATA to the running main window.
#include "platform/windows/Win32Instance.h"

#include "platform/windows/Win32Shell.h"

namespace platform::win32 {

namespace {

constexpr UINT WM_COPYDATA_MESSAGE = 0x004A;
constexpr DWORD ERROR_ALREADY_EXISTS_CODE = 183;
constexpr DWORD ATTACH_PARENT_PROCESS_ID = 0xFFFFFFFF;
constexpr DWORD STD_OUTPUT_HANDLE_ID = static_cast<DWORD>(-11);
constexpr DWORD STD_ERROR_HANDLE_ID = static_cast<DWORD>(-12);
constexpr DWORD GENERIC_READ_WRITE = 0xC0000000;
constexpr DWORD FILE_SHARE_READ_WRITE = 3;
constexpr DWORD OPEN_EXISTING_DISPOSITION = 3;
constexpr UINT SMTO_ABORTIFHUNG_FLAG = 0x0002;
// Long enough for a program busy starting up; a hung one is given up at once (SMTO_ABORTIFHUNG).
constexpr UINT kSendTimeoutMs = 30000;
// The answer goes back from the running program's window thread, which must not wait on a start that went away.
constexpr UINT kAnswerTimeoutMs = 1000;
constexpr int kFindAttempts = 50;
constexpr DWORD kFindPauseMs = 100;
// A command line is a few short options; anything longer did not come from a start of the program.
constexpr DWORD kLargestCopy = 65536;

// "Local\" keeps the name within this logon session, as the bus name is within a session bus.
std::string MutexName() {
    return std::string("Local\\") + kApplicationId;
}

struct Search {
    const Win32Api *api;
    HWND found;
};

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
}

BOOL MarkedWindow(HWND window, LPARAM data) {
    auto *search = reinterpret_cast<Search *>(data);
    if (search->api->GetPropA(window, kApplicationId) != nullptr) {
        search->found = window;
        return 0;
    }
    return 1;
}

} // namespace

Instance::Role Win32Instance::Claim(CommandHandler handler) {
    // The mutex stays open for the program's life, until Leave or the exit.
    mutex_ = api_.CreateMutexA(nullptr, 0, MutexName().c_str());
    for (int attempt = 1; mutex_ != nullptr && api_.GetLastError() == ERROR_ALREADY_EXISTS_CODE; ++attempt) {
        if (attempt >= kFindAttempts || FindRunning() != nullptr) {
            return Role::Second;
        }
        api_.CloseHandle(mutex_);
        api_.Sleep(kFindPauseMs);
        mutex_ = api_.CreateMutexA(nullptr, 0, MutexName().c_str());
    }
    if (mutex_ == nullptr) {
        return Role::Alone;
    }
    handle_ = std::move(handler.arguments);
    return Role::First;
}

void Win32Instance::SetMainWindow(std::uintptr_t window) {
    window_ = reinterpret_cast<HWND>(window);
    api_.SetPropA(window_, kApplicationId, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(1)));
}

void Win32Instance::Leave() {
    handle_ = nullptr;
    if (window_ != nullptr) {
        api_.RemovePropA(window_, kApplicationId);
    }
    if (mutex_ != nullptr) {
        api_.CloseHandle(mutex_);
        mutex_ = nullptr;
    }
}

void Win32Instance::AttachOutput() {
    // What the command prompt redirected (> file, | pipe) is written there; only a missing output goes to its
    // console, which a windowed program is not given.
    if (Usable(api_.GetStdHandle(STD_OUTPUT_HANDLE_ID)) && Usable(api_.GetStdHandle(STD_ERROR_HANDLE_ID))) {
        return;
    }
    if (!api_.AttachConsole(ATTACH_PARENT_PROCESS_ID)) {
        return;
    }
    console_ = api_.CreateFileA("CONOUT$", GENERIC_READ_WRITE, FILE_SHARE_READ_WRITE, nullptr,
                                OPEN_EXISTING_DISPOSITION, 0, nullptr);
}

HANDLE Win32Instance::OutputOf(bool error) const {
    const HANDLE given = api_.GetStdHandle(error ? STD_ERROR_HANDLE_ID : STD_OUTPUT_HANDLE_ID);
    return Usable(given) ? given : console_;
}

void Win32Instance::Print(bool error, const std::string &line) {
    const HANDLE out = OutputOf(error);
    if (!Usable(out)) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    // A console shows UTF-16 in any code page; a file or a pipe gets the UTF-8 bytes.
    if (api_.GetConsoleMode(out, &mode)) {
        const std::u16string text = Utf8ToUtf16(line + "\r\n");
        api_.WriteConsoleW(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        const std::string bytes = line + "\r\n";
        api_.WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

void Win32Instance::ReleaseOutput() {
    if (Usable(console_)) {
        api_.CloseHandle(console_);
    }
    console_ = nullptr;
    // Also a console this process was given rather than attached to (wine hands a windowed program its parent's):
    // a program tied to a console ends when that console is closed.
    api_.FreeConsole();
}

HWND Win32Instance::FindRunning() const {
    Search search{&api_, nullptr};
    api_.EnumWindows(MarkedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Win32Instance::SendCopy(HWND to, WPARAM from, std::uintptr_t tag, const std::string &bytes, UINT timeoutMs,
                             LRESULT &result) const {
    const CopyData data{tag, static_cast<DWORD>(bytes.size()), bytes.data()};
    std::uintptr_t answer = 0;
    if (!api_.SendMessageTimeoutA(to, WM_COPYDATA_MESSAGE, from, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG_FLAG,
                                  timeoutMs, &answer)) {
        return false;
    }
    result = static_cast<LRESULT>(answer);
    return true;
}

CommandAnswer Win32Instance::Send(const std::vector<std::string> &arguments) {
    HWND running = FindRunning();
    for (int attempt = 1; running == nullptr && attempt < kFindAttempts; ++attempt) {
        api_.Sleep(kFindPauseMs);
        running = FindRunning();
    }
    if (running == nullptr) {
        return {CommandNoProgram, "no window of the running program"};
    }
    // Each option followed by a NUL.
    std::string bytes;
    for (const std::string &argument : arguments) {
        bytes += argument;
        bytes += '\0';
    }
    answer_.clear();
    answered_ = false;
    const HWND reply = replyWindow_ ? replyWindow_() : nullptr;
    LRESULT code = 0;
    if (!SendCopy(running, reinterpret_cast<WPARAM>(reply), kCommandTag, bytes, kSendTimeoutMs, code)) {
        return {CommandNoProgram, "the running program did not answer"};
    }
    // The program answers every command with its line before it returns; a window that returned without one is not
    // the program's, or its answer was lost.
    if (!answered_) {
        return {CommandNoProgram, "the running program's answer did not arrive"};
    }
    return {static_cast<int>(code), answer_};
}

bool Win32Instance::Receive(WPARAM from, const CopyData &data, LRESULT &result) {
    if (data.cbData > kLargestCopy || (data.cbData > 0 && data.lpData == nullptr)) {
        return false;
    }
    const std::string bytes(static_cast<const char *>(data.lpData), data.cbData);
    if (data.dwData == kAnswerTag) {
        answer_ = bytes;
        answered_ = true;
        result = 1;
        return true;
    }
    if (data.dwData != kCommandTag || !handle_) {
        return false;
    }
    std::vector<std::string> arguments;
    std::string::size_type start = 0;
    for (std::string::size_type end = bytes.find('\0'); end != std::string::npos; end = bytes.find('\0', start)) {
        arguments.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    const CommandAnswer answer = handle_(arguments);
    LRESULT ignored = 0;
    if (from != 0) {
        SendCopy(reinterpret_cast<HWND>(from), reinterpret_cast<WPARAM>(window_), kAnswerTag, answer.text,
                 kAnswerTimeoutMs, ignored);
    }
    result = answer.code;
    return true;
}

} // namespace platform::win32
