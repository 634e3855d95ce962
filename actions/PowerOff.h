// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the session, the machine's power state, the monitor and the screen saver.
#pragma once

bool LogoffSession();
bool ShutdownComputer();
bool RebootComputer();
void SuspendComputer();
void SwitchMonitorOff();
void StartScreenSaver();
