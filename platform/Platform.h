// SPDX-License-Identifier: GPL-3.0-or-later
// The one place that says which backend answers each platform interface.
#pragma once

#include "platform/Audio.h"
#include "platform/CdDrive.h"
#include "platform/Desktop.h"
#include "platform/Display.h"
#include "platform/KeyState.h"
#include "platform/Launcher.h"
#include "platform/LockKeys.h"
#include "platform/MediaPlayer.h"
#include "platform/PortIO.h"
#include "platform/SessionPower.h"
#include "platform/System.h"

namespace platform {

struct Backends {
    SessionPower *power = nullptr;
    Display *display = nullptr;
    LockKeys *lockKeys = nullptr;
    KeyState *keyState = nullptr;
    Audio *audio = nullptr;
    MediaPlayer *player = nullptr;
    CdDrive *cdDrive = nullptr;
    Launcher *launcher = nullptr;
    Desktop *desktop = nullptr;
    System *system = nullptr;
    PortIO *ports = nullptr;
};

// The backends in use. The program installs the native ones at start; tests install fakes.
Backends &Current();
void Install(const Backends &backends);

// Makes this operating system's backends (they live until the program ends) and installs them.
void InstallNative();

} // namespace platform
