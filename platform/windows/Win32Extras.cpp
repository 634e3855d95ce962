// SPDX-License-Identifier: GPL-3.0-or-later
// The MCI door strings, the player's WM_COMMAND and WM_USER values, and WinExec of launch entries.
#include "platform/windows/Win32Extras.h"

namespace platform::win32 {

namespace {

constexpr UINT WM_COMMAND_MESSAGE = 0x0111;
constexpr UINT WM_USER_MESSAGE = 0x0400;
constexpr LPARAM PLAYER_SET_VOLUME = 122;
constexpr int SW_MINIMIZE_MODE = 6;
constexpr UINT SW_SHOWNORMAL_MODE = 1;

WPARAM CommandCode(PlayerCommand command) {
    switch (command) {
    case PlayerCommand::PrevTrack:
        return 40044;
    case PlayerCommand::PlayPause:
        return 40046;
    case PlayerCommand::StopPlay:
        return 40047;
    case PlayerCommand::NextTrack:
        return 40048;
    case PlayerCommand::Close:
        return 40001;
    }
    return 0;
}

HWND WindowOf(std::uintptr_t player) {
    return reinterpret_cast<HWND>(player);
}

} // namespace

void Win32CdDrive::OpenDoor() {
    api_.mciSendStringA("Set cdaudio door open wait", nullptr, 0, callback_);
}

void Win32CdDrive::CloseDoor() {
    api_.mciSendStringA("Set cdaudio door closed wait", nullptr, 0, callback_);
}

bool Win32MediaPlayer::Start(const std::string &path, const std::string &className) {
    const std::string parameters = "/CLASS=\"" + className + "\"";
    const HINSTANCE result =
        api_.ShellExecuteA(nullptr, nullptr, path.c_str(), parameters.c_str(), nullptr, SW_MINIMIZE_MODE);
    // ShellExecute's result is an error code below 33, not a real instance handle.
    return reinterpret_cast<std::uintptr_t>(result) > 32;
}

std::uintptr_t Win32MediaPlayer::Find(const std::string &className) {
    return reinterpret_cast<std::uintptr_t>(api_.FindWindowA(className.c_str(), nullptr));
}

bool Win32MediaPlayer::IsAlive(std::uintptr_t player) {
    return player != 0 && api_.IsWindow(WindowOf(player)) != 0;
}

void Win32MediaPlayer::Command(std::uintptr_t player, PlayerCommand command) {
    api_.SendMessageA(WindowOf(player), WM_COMMAND_MESSAGE, CommandCode(command), 0);
}

void Win32MediaPlayer::SetVolume(std::uintptr_t player, std::uint8_t volume) {
    api_.SendMessageA(WindowOf(player), WM_USER_MESSAGE, volume, PLAYER_SET_VOLUME);
}

bool Win32Launcher::Start(const std::string &commandLine) {
    return api_.WinExec(commandLine.c_str(), SW_SHOWNORMAL_MODE) > 31;
}

std::string Win32Launcher::ProgramCommandLine(const std::string &path) {
    return path.find_first_of(" \t") == std::string::npos ? path : '"' + path + '"';
}

} // namespace platform::win32
