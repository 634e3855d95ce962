// SPDX-License-Identifier: GPL-3.0-or-later
// The decision what the run keeps awake, taken from the run state.
#include "app/SleepHold.h"

#include "app/TaskCatalogue.h"
#include "controls/Clock.h"
#include "controls/WindowTimer.h"
#include "platform/Platform.h"

namespace {

// The time of day something falls due, with the date when that is not today.
QString DueText(const QDateTime &now, const QDateTime &due) {
    return due.toString(due.date() == now.date() ? QStringLiteral("HH:mm") : QStringLiteral("dd.MM HH:mm"));
}

// The next moment the alarm clock's hour and minute come round, in seconds since 1970.
std::int64_t NextAlarm(const QDateTime &now, int hour, int minute) {
    QDateTime alarm(now.date(), QTime(hour, minute));
    if (alarm <= now) {
        alarm = alarm.addDays(1);
    }
    return alarm.toSecsSinceEpoch();
}

} // namespace

QString SleepHold::Reason(const RunState &run, const QDateTime &now) {
    if (run.warning) {
        return QStringLiteral("Zindrel: задача будет выполнена в %1")
            .arg(run.warning->dueWall.toString(QStringLiteral("HH:mm:ss")));
    }
    if (run.alarm) {
        return QStringLiteral("Zindrel: заведён будильник на %1")
            .arg(QTime(run.alarmHour, run.alarmMinute).toString(QStringLiteral("HH:mm")));
    }
    if (run.slot1.pending && run.slot2.pending) {
        return QStringLiteral("Zindrel: заведены два таймера, сработают в %1 и %2")
            .arg(DueText(now, run.slot1.dueWall), DueText(now, run.slot2.dueWall));
    }
    const SlotRun &slot = run.slot1.pending ? run.slot1 : run.slot2;
    return QStringLiteral("Zindrel: заведён таймер, сработает в %1").arg(DueText(now, slot.dueWall));
}

bool SleepHold::AlarmWakes(const RunState &run, bool soundChosen) {
    const TaskInfo &task = TaskOf(run.slot1.task);
    // A task that acts on the machine (the display, the power) needs nobody there; one that leaves the machine
    // alone still has its sound to be heard.
    return task.showsSomething || (soundChosen && task.run == nullptr);
}

bool SleepHold::FiredLate(const WindowTimer &timer) {
    return timer.Lateness() > kLateMs;
}

void SleepHold::Follow(const RunState &run, bool soundChosen) {
    run_ = run;
    soundChosen_ = soundChosen;
    platform::SleepGuard *guard = platform::Current().sleepGuard;
    if (guard == nullptr || ended_) {
        return;
    }
    const QDateTime now = AppClock().WallNow();
    const RunState::Phase phase = run.phase();
    const QString held =
        phase == RunState::Phase::Armed || phase == RunState::Phase::Warning ? Reason(run, now) : QString();
    if (held != held_) {
        held_ = held;
        if (held.isEmpty()) {
            guard->Release();
        } else {
            guard->Hold(held.toStdString());
        }
    }
    const std::int64_t wakeAt = run.alarm && run.slot1.pending && AlarmWakes(run, soundChosen)
                                    ? NextAlarm(now, run.alarmHour, run.alarmMinute)
                                    : 0;
    if (wakeAt != wakeAt_) {
        wakeAt_ = wakeAt;
        if (wakeAt != 0) {
            guard->WakeAt(wakeAt, [this] { WakeEnded(); });
        } else {
            guard->CancelWake();
        }
    }
}

void SleepHold::WakeEnded() {
    // A wake-up that ended in the alarm's own minute is followed by the firing; one that ended at any other time
    // (its time jumped past) leaves an alarm clock that fires only tomorrow, so tomorrow is woken for.
    wakeAt_ = 0;
    const QTime now = AppClock().WallNow().time();
    if (run_.alarm && run_.slot1.pending && (now.hour() != run_.alarmHour || now.minute() != run_.alarmMinute)) {
        Follow(run_, soundChosen_);
    }
}

void SleepHold::End() {
    ended_ = true;
    if (platform::SleepGuard *guard = platform::Current().sleepGuard) {
        guard->Release();
        guard->CancelWake();
    }
}
