// SPDX-License-Identifier: GPL-3.0-or-later
// The CD-ROM door through MCI, the player through its window messages, and programs through WinExec.
#pragma once

#include "platform/CdDrive.h"
#include "platform/Launcher.h"
#include "platform/MediaPlayer.h"
#include "platform/windows/Win32Api.h"

namespace platform::win32 {

class Win32CdDrive : public CdDrive {
public:
    explicit Win32CdDrive(const Win32Api &api) : api_(api) {}
    // The main window, named as the callback window of every MCI command; set once that window exists.
    void SetCallbackWindow(HWND window) { callback_ = window; }
    // Both return when the door has finished moving ("wait").
    void OpenDoor() override;
    void CloseDoor() override;

private:
    const Win32Api &api_;
    HWND callback_ = nullptr;
};

class Win32MediaPlayer : public MediaPlayer {
public:
    explicit Win32MediaPlayer(const Win32Api &api) : api_(api) {}
    // Starts the player minimised, asking it to register the given window class.
    bool Start(const std::string &path, const std::string &className) override;
    std::uintptr_t Find(const std::string &className) override;
    bool IsAlive(std::uintptr_t player) override;
    void Command(std::uintptr_t player, PlayerCommand command) override;
    void SetVolume(std::uintptr_t player, std::uint8_t volume) override;

private:
    const Win32Api &api_;
};

class Win32Launcher : public Launcher {
public:
    explicit Win32Launcher(const Win32Api &api) : api_(api) {}
    bool Start(const std::string &commandLine) override;
    // WinExec splits the line at blanks only: a path with one goes into double quotes (no file name holds one).
    std::string ProgramCommandLine(const std::string &path) override;
    ProgramFiles Programs() override { return {"*.exe", false}; }

private:
    const Win32Api &api_;
};

} // namespace platform::win32
