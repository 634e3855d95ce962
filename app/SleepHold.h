// SPDX-License-Identifier: GPL-3.0-or-later
// Timers that hold across sleep: no idle suspend while a run counts, a wake-up for the alarm, late power warned.
#pragma once

#include "app/TaskKind.h"

#include <QString>

#include <cstdint>

class TForm1;
class WindowTimer;

class SleepHold {
public:
    // A power task whose countdown fires later than this, on the clock that counts suspended time, warns first.
    static constexpr std::int64_t kLateMs = 60000;
    // The shortest warning such a task gets, whatever the settings say.
    static constexpr int kLateWarningSeconds = 60;

    // Brings the hold and the wake-up in line with the main window's run; called after every change of it.
    // A countdown or alarm clock that is armed and not paused holds off idle suspend. An alarm clock whose firing
    // shows something (the window, a text, a sound) wakes the machine for it, also paused, since a paused alarm
    // clock still fires.
    static void Follow(const TForm1 &form);
    // The program ends: nothing is held and no wake-up is left set.
    static void End();

    // What the system lists as holding off the suspend: what is armed and when it falls due.
    static QString Reason(const TForm1 &form);
    // Whether the alarm clock's firing would show the person something.
    static bool AlarmShowsSomething(const TForm1 &form);
    // Whether the countdown that has just fired came so late that its power task must warn first.
    static bool FiredLate(const WindowTimer &timer);
    static bool IsPowerTask(TaskKind task);
};
