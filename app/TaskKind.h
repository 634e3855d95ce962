// SPDX-License-Identifier: GPL-3.0-or-later
// What a timer slot does when it fires, and which slot fired.
#pragma once

enum class TaskKind { Remind, RemindText, MonitorOff, ScreenSaver, NoWindow, Sleep, Logoff, Reboot, Shutdown };

enum class TimerSlot { Slot1 = 1, Slot2 = 2 };
