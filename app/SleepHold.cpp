// SPDX-License-Identifier: GPL-3.0-or-later
// The decision what the armed run keeps awake, read from the main window's controls.
#include "app/SleepHold.h"

#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Clock.h"
#include "controls/ClockPanel.h"
#include "controls/WindowTimer.h"
#include "platform/Platform.h"
#include "settings/Unit4.h"

namespace {

// The time of day a countdown falls due, with the date when that is not today.
QString DueText(const QDateTime &now, std::int64_t remainingMs) {
    const QDateTime due = now.addMSecs(remainingMs);
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

QString SleepHold::Reason(const TForm1 &form) {
    const QDateTime now = AppClock().WallNow();
    if (form.RxClock1->AlarmEnabled()) {
        return QStringLiteral("Zindrel: заведён будильник на %1")
            .arg(QTime(form.RxClock1->AlarmHour(), form.RxClock1->AlarmMinute()).toString(QStringLiteral("HH:mm")));
    }
    const bool first = form.Timer1->Enabled();
    const bool second = form.Timer3->Enabled();
    if (first && second) {
        return QStringLiteral("Zindrel: заведены два таймера, сработают в %1 и %2")
            .arg(DueText(now, form.Timer1->RemainingTime()), DueText(now, form.Timer3->RemainingTime()));
    }
    const WindowTimer *timer = first ? form.Timer1 : form.Timer3;
    return QStringLiteral("Zindrel: заведён таймер, сработает в %1").arg(DueText(now, timer->RemainingTime()));
}

bool SleepHold::IsPowerTask(TaskKind task) {
    return task == TaskKind::Logoff || task == TaskKind::Reboot || task == TaskKind::Shutdown ||
           task == TaskKind::Sleep;
}

bool SleepHold::AlarmShowsSomething(const TForm1 &form) {
    const TaskKind task = form.Slot1Task();
    if (task == TaskKind::Remind || task == TaskKind::RemindText) {
        return true;
    }
    const bool sound = (Form4->WaveFileChosen() && !Form4->SoundFile().isEmpty()) || Form4->SpeakerTuneChosen();
    // A power or display task acts without anyone there; only a sound is left to wake for.
    return task == TaskKind::NoWindow && sound;
}

bool SleepHold::FiredLate(const WindowTimer &timer) {
    return timer.Lateness() > kLateMs;
}

void SleepHold::Follow(const TForm1 &form) {
    platform::SleepGuard *guard = platform::Current().sleepGuard;
    if (guard == nullptr) {
        return;
    }
    const bool alarm = form.RxClock1->AlarmEnabled();
    const bool counting = form.Timer1->Enabled() || form.Timer3->Enabled();
    if ((alarm || counting) && !form.Paused()) {
        guard->Hold(Reason(form).toStdString());
    } else {
        guard->Release();
    }
    if (alarm && AlarmShowsSomething(form)) {
        guard->WakeAt(NextAlarm(AppClock().WallNow(), form.RxClock1->AlarmHour(), form.RxClock1->AlarmMinute()));
    } else {
        guard->CancelWake();
    }
}

void SleepHold::End() {
    if (platform::SleepGuard *guard = platform::Current().sleepGuard) {
        guard->Release();
        guard->CancelWake();
    }
}
