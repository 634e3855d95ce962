// SPDX-License-Identifier: GPL-3.0-or-later
// TWinAmpControl: finds the media player and gives it track, volume and close commands.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

class TWinAmpControl : public QObject {
    Q_OBJECT
public:
    explicit TWinAmpControl(QObject *owner);
    ~TWinAmpControl() override;

    std::uintptr_t WinAmpWnd = 0; // the found player, or 0
    bool CloseWinAmpOnExit = false;
    QString WAmpPath = QStringLiteral("C:\\Program Files\\WinAmp\\WinAmp.exe");
    std::int32_t DelayAfterLoadWinAmp = 3000; // milliseconds
    QString WinAmpClassName = QStringLiteral("Winamp v1.x");
    bool StartAndFindWinAmp = false;
    bool WinAmpFound = false;

    // Always reads false; setting it true shows the component's information box.
    bool AboutComponent() const { return false; }
    void SetAboutComponent(bool value);

    // The wait after starting the player; tests replace it.
    std::function<void(std::int32_t ms)> Sleep;

    // Starts the player's program; true when it was started.
    bool RunWinAmp(const QString &path);
    // Starts the player first when StartAndFindWinAmp is on, then looks for it.
    std::uintptr_t GoFindWinAmp();
    // The player found before, when it still runs; otherwise looked up again.
    void EnsureWinAmp();

    void PrevTrack();
    void PlayPause();
    void StopPlay();
    void NextTrack();
    void CloseWinAmp();
    void SetVolume(std::uint8_t volume);
};
