// SPDX-License-Identifier: GPL-3.0-or-later
// The power and display operations over the platform's SessionPower and Display.
#include "actions/PowerOff.h"

#include "platform/Platform.h"

bool LogoffSession() {
    return platform::Current().power->LogOff();
}

bool ShutdownComputer() {
    return platform::Current().power->PowerOff();
}

bool RebootComputer() {
    return platform::Current().power->Reboot();
}

void SuspendComputer() {
    platform::Current().power->Suspend();
}

void SwitchMonitorOff() {
    platform::Current().display->MonitorLowPower();
}

void StartScreenSaver() {
    platform::Current().display->StartScreenSaver();
}
