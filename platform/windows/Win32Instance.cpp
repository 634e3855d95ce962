// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Windows: a named mutex of the session and WM_COPYDATA to the running main window.
#include "platform/windows/Win32Instance.h"

namespace platform::win32 {

namespace {

constexpr UINT WM_COPYDATA_MESSAGE = 0x004A;
constexpr DWORD ERROR_ALREADY_EXISTS_CODE = 183;
constexpr DWORD ATTACH_PARENT_PROCESS_ID = 0xFFFFFFFF;
constexpr UINT SMTO_ABORTIFHUNG_FLAG = 0x0002;
// Long enough for a program busy starting up; a hung one is given up at once (SMTO_ABORTIFHUNG).
constexpr UINT kSendTimeoutMs = 30000;
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
    // The mutex stays open for the program's life; the system closes it at exit.
    mutex_ = api_.CreateMutexA(nullptr, 0, MutexName().c_str());
    if (mutex_ == nullptr) {
        return Role::Alone;
    }
    if (api_.GetLastError() == ERROR_ALREADY_EXISTS_CODE) {
        return Role::Second;
    }
    handle_ = std::move(handler.arguments);
    return Role::First;
}

void Win32Instance::SetMainWindow(std::uintptr_t window) {
    window_ = reinterpret_cast<HWND>(window);
    api_.SetPropA(window_, kApplicationId, reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(1)));
}

void Win32Instance::AttachOutput() {
    if (api_.AttachConsole(ATTACH_PARENT_PROCESS_ID) && reopenOutput_) {
        reopenOutput_();
    }
}

HWND Win32Instance::FindRunning() const {
    Search search{&api_, nullptr};
    api_.EnumWindows(MarkedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Win32Instance::SendCopy(HWND to, WPARAM from, std::uintptr_t tag, const std::string &bytes,
                             LRESULT &result) const {
    const CopyData data{tag, static_cast<DWORD>(bytes.size()), bytes.data()};
    std::uintptr_t answer = 0;
    if (!api_.SendMessageTimeoutA(to, WM_COPYDATA_MESSAGE, from, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG_FLAG,
                                  kSendTimeoutMs, &answer)) {
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
    const HWND reply = replyWindow_ ? replyWindow_() : nullptr;
    LRESULT code = 0;
    if (!SendCopy(running, reinterpret_cast<WPARAM>(reply), kCommandTag, bytes, code)) {
        return {CommandNoProgram, "the running program did not answer"};
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
    if (from != 0 && !answer.text.empty()) {
        SendCopy(reinterpret_cast<HWND>(from), reinterpret_cast<WPARAM>(window_), kAnswerTag, answer.text, ignored);
    }
    result = answer.code;
    return true;
}

} // namespace platform::win32
