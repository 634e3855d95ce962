// SPDX-License-Identifier: GPL-3.0-or-later
// The run as one value: what is armed, paused or counting the warning down, and when each slot falls due.
#pragma once

#include "app/TaskKind.h"

#include <QDateTime>

#include <cstdint>
#include <optional>

// One slot of the run: the alarm clock or countdown 1, or countdown 2.
struct SlotRun {
    // Part of the run and not yet fired.
    bool pending = false;
    // The task chosen for it now; the firing reads the choice again at its moment.
    TaskKind task = TaskKind::Remind;
    // When it falls due, on the clock that counts sleep and on the wall clock; while paused, what remains.
    std::int64_t dueBootMs = 0;
    QDateTime dueWall;
    std::int64_t leftMs = 0;
    // The whole minutes left as the window shows them under the clock (countdowns).
    std::int64_t minutesShown = 0;
    // A postponed slot counts down a length of its own, apart from the minutes fields the person set: the minutes
    // shown are this length less the minutes counted. 0 while the slot counts the field's length.
    std::int64_t ownMinutes = 0;

    bool operator==(const SlotRun &) const = default;
};

// The warning counting down before a power task.
struct WarningRun {
    TimerSlot slot = TimerSlot::Slot1;
    TaskKind task = TaskKind::Shutdown;
    int secondsLeft = 0;
    QDateTime dueWall;

    bool operator==(const WarningRun &) const = default;
};

struct RunState {
    enum class Phase { Stopped, Armed, Paused, Warning };
    // How the last run ended, which the captions tell: never armed yet, cancelled, or fired to its end.
    enum class Ended { Never, Cancelled, Fired };

    // The mode: the alarm clock, else a countdown. While stopped, the mode chosen in the window.
    bool alarm = false;
    // The alarm clock's time of day.
    int alarmHour = 0;
    int alarmMinute = 0;
    SlotRun slot1;
    SlotRun slot2;
    bool paused = false;
    std::optional<WarningRun> warning;
    Ended ended = Ended::Never;

    // Something is still to fire: the alarm clock or a countdown.
    bool Pending() const { return slot1.pending || slot2.pending; }
    Phase phase() const {
        if (warning) {
            return Phase::Warning;
        }
        if (!Pending()) {
            return Phase::Stopped;
        }
        return paused ? Phase::Paused : Phase::Armed;
    }

    bool operator==(const RunState &) const = default;
};
