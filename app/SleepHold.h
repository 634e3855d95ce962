// SPDX-License-Identifier: GPL-3.0-or-later
// Timers that hold across sleep: no idle suspend while a run counts, a wake-up for the alarm, late power warned.
#pragma once

#include "app/RunState.h"

#include <QString>

#include <cstdint>

class WindowTimer;

class SleepHold {
public:
    // A power task whose countdown (or warning) ticks later than this, on the clock that counts suspended time,
    // warns first, or again.
    static constexpr std::int64_t kLateMs = 60000;
    // The shortest warning such a task gets, whatever the settings say.
    static constexpr int kLateWarningSeconds = 60;

    // Brings the hold and the wake-up in line with the run; called at every change of it. A run that is armed and
    // not paused, or whose warning counts, holds off idle suspend. An alarm clock whose firing shows something (the
    // window, a text, a sound) wakes the machine for it, also paused, since a paused alarm clock still fires; when
    // the wake-up ends by itself (its time passed: the clock set forward, another time zone) while the alarm clock
    // stays armed, it is set again for the alarm's next time.
    void Follow(const RunState &run, bool soundChosen);
    // The program ends: nothing is held and no wake-up is left set.
    void End();

    // What the system lists as holding off the suspend: what is armed and when it falls due.
    static QString Reason(const RunState &run, const QDateTime &now);
    // Whether the alarm clock's firing would show the person something, or let them hear its sound.
    static bool AlarmWakes(const RunState &run, bool soundChosen);
    // Whether the timer that has just ticked came so late that its power task must warn first.
    static bool FiredLate(const WindowTimer &timer);

private:
    void WakeEnded();

    RunState run_;
    bool soundChosen_ = false;
    // The program has ended: whatever the windows still do on their way out holds nothing again.
    bool ended_ = false;
    // What the guard was last told, so a change of the run that changes neither asks the system nothing.
    QString held_;
    std::int64_t wakeAt_ = 0;
};
