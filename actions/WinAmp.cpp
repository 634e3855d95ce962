// SPDX-License-Identifier: GPL-3.0-or-later
// TWinAmpControl over the platform's media-player interface.
#include "actions/WinAmp.h"

#include "platform/Platform.h"

#include <QThread>

namespace {

platform::MediaPlayer &Player() {
    return *platform::Current().player;
}

} // namespace

TWinAmpControl::TWinAmpControl(QObject *owner)
    : QObject(owner), Sleep([](std::int32_t ms) { QThread::msleep(static_cast<unsigned long>(ms)); }) {}

TWinAmpControl::~TWinAmpControl() {
    if (CloseWinAmpOnExit) {
        CloseWinAmp();
    }
}

void TWinAmpControl::SetAboutComponent(bool value) {
    if (value) {
        platform::Current().system->MessageBox("TWinAmpControl\r\nУправление плеером WinAmp: треки, громкость, "
                                               "закрытие.",
                                               "TWinAmpControl",
                                               platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
    }
}

bool TWinAmpControl::RunWinAmp(const QString &path) {
    return Player().Start(path.toStdString(), WinAmpClassName.toStdString());
}

std::uintptr_t TWinAmpControl::GoFindWinAmp() {
    if (StartAndFindWinAmp && RunWinAmp(WAmpPath)) {
        Sleep(DelayAfterLoadWinAmp);
    }
    WinAmpFound = false;
    WinAmpWnd = Player().Find(WinAmpClassName.toStdString());
    if (WinAmpWnd != 0) {
        WinAmpFound = true;
    }
    return WinAmpWnd;
}

void TWinAmpControl::EnsureWinAmp() {
    // A player started after the program, or restarted since, would otherwise never be driven.
    if (!WinAmpFound || !Player().IsAlive(WinAmpWnd)) {
        GoFindWinAmp();
    }
}

void TWinAmpControl::PrevTrack() {
    if (WinAmpWnd != 0) {
        Player().Command(WinAmpWnd, platform::PlayerCommand::PrevTrack);
    }
}

void TWinAmpControl::PlayPause() {
    if (WinAmpWnd != 0) {
        Player().Command(WinAmpWnd, platform::PlayerCommand::PlayPause);
    }
}

void TWinAmpControl::StopPlay() {
    if (WinAmpWnd != 0) {
        Player().Command(WinAmpWnd, platform::PlayerCommand::StopPlay);
    }
}

void TWinAmpControl::NextTrack() {
    if (WinAmpWnd != 0) {
        Player().Command(WinAmpWnd, platform::PlayerCommand::NextTrack);
    }
}

void TWinAmpControl::CloseWinAmp() {
    if (WinAmpWnd != 0) {
        Player().Command(WinAmpWnd, platform::PlayerCommand::Close);
    }
}

void TWinAmpControl::SetVolume(std::uint8_t volume) {
    if (WinAmpWnd != 0) {
        Player().SetVolume(WinAmpWnd, volume);
    }
}
