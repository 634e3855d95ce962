// SPDX-License-Identifier: GPL-3.0-or-later
// Installs the Linux backends.
#include "platform/Platform.h"
#include "platform/linux/LinuxAudio.h"
#include "platform/linux/LinuxCdDrive.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxKeyState.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/LinuxLockKeys.h"
#include "platform/linux/LinuxMediaPlayer.h"
#include "platform/linux/LinuxNotifications.h"
#include "platform/linux/LinuxPortIO.h"
#include "platform/linux/LinuxSessionPower.h"
#include "platform/linux/LinuxSleepGuard.h"
#include "platform/linux/LinuxSystem.h"
#include "platform/linux/LinuxWindowManager.h"
#include "platform/linux/UDisksTray.h"

namespace platform {

void InstallNative() {
    static LinuxSessionPower power;
    static LinuxDisplay display;
    static LinuxLockKeys lockKeys;
    static LinuxKeyState keyState;
    static LinuxAudio audio;
    static LinuxMediaPlayer player;
    static UDisksTray udisks;
    static LinuxCdDrive cdDrive(SystemCdDevice(), &udisks);
    static LinuxLauncher launcher;
    static LinuxDesktop desktop;
    static LinuxSystem system;
    static LinuxPortIO ports;
    static LinuxNotifications notifications;
    static LinuxWindowManager windowManager;
    static LinuxSleepGuard sleepGuard;
    Install({&power, &display, &lockKeys, &keyState, &audio, &player, &cdDrive, &launcher, &desktop, &system, &ports,
             &notifications, &windowManager, &sleepGuard});
}

// The Linux backends address no window of the program.
void SetMainWindow(std::uintptr_t) {}

} // namespace platform
