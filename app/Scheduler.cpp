// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's scheduler: choosing the mode, arming, pause and cancel, the countdown ticks, the spin boxes and the wheel.
#include "actions/Unit6.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Forms.h"
#include "app/Notices.h"
#include "app/Unit1.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
#include "controls/Clock.h"
#include "controls/ClockPanel.h"
#include "controls/Colors.h"
#include "controls/SpinEdit.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>

using namespace form1;

namespace {

// Wheel events further apart than this belong to different scrolls.
constexpr quint64 kWheelPauseMs = 500;

} // namespace

void TForm1::RadioButton1Click(QObject *Sender) {
    const bool alarm = Sender == RadioButton1;
    if (Sender != RadioButton1 && Sender != RadioButton2) {
        return;
    }
    RxSpinEdit1->setEnabled(alarm);
    RxSpinEdit2->setEnabled(alarm);
    RxSpinEdit3->setEnabled(!alarm);
    SetBackground(RxSpinEdit1, alarm ? BackgroundColor : ButtonFace());
    SetBackground(RxSpinEdit2, alarm ? BackgroundColor : ButtonFace());
    SetBackground(RxSpinEdit3, alarm ? ButtonFace() : BackgroundColor);
    CheckBox1->setEnabled(!alarm);
    Label6->setEnabled(!alarm);
    Label6->setCursor(alarm ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void TForm1::SetTitleAndHint(const QString &text) {
    setWindowTitle(text);
    RxTrayIcon1->SetHint(text);
}

void TForm1::SetCommandsArmed(bool armed) {
    SpeedButton2->setEnabled(!armed);
    N8->setEnabled(!armed);
    SpeedButton3->setEnabled(armed);
    N7->setEnabled(armed);
    Button2->setEnabled(!armed);
    N5->setEnabled(!armed);
}

void TForm1::ShowRemaining(QLabel *label, int timer, std::int64_t minutes) {
    static_cast<ClickLabel *>(label)->SetCaption(
        QStringLiteral("Таймер %1.\rОсталось: %2 мин.").arg(timer).arg(minutes));
}

void TForm1::SetRun(const RunState &next) {
    if (next == run_) {
        return;
    }
    run_ = next;
    emit RunChanged();
}

// Memory a long wait let go cold would be read back at the firing itself, between the due time and the tasks:
// it is read back this long before instead. A paused alarm clock still fires at its time.
void TForm1::FollowWarmUp() {
    constexpr std::int64_t kLeadMs = 2000;
    const bool firing = run_.phase() == RunState::Phase::Armed || (run_.paused && run_.alarm && !run_.warning);
    std::int64_t due = INT64_MAX;
    for (const SlotRun *slot : {&run_.slot1, &run_.slot2}) {
        if (firing && slot->pending) {
            due = std::min(due, slot->dueBootMs);
        }
    }
    const std::int64_t wait = due == INT64_MAX ? 0 : due - kLeadMs - AppClock().NowMs();
    warmUp_->SetEnabled(false);
    if (wait > 0) {
        warmUp_->SetInterval(wait);
        warmUp_->SetEnabled(true);
    }
}

void TForm1::ShowRun() {
    const bool armed = run_.Pending();
    const bool paused = armed && run_.paused;
    SetCommandsArmed(armed);
    SpeedButton3->setText(paused ? kResume : kPause);
    N7->setText(paused ? kResume : kPause);
    RxTrayIcon1->SetAnimated(armed && !paused);
    const bool countdown1 = !run_.alarm && run_.slot1.pending;
    if (countdown1) {
        ShowRemaining(Label4, 1, run_.slot1.minutesShown);
    }
    Label4->setVisible(countdown1);
    if (run_.slot2.pending) {
        ShowRemaining(Label7, 2, run_.slot2.minutesShown);
    }
    Label7->setVisible(run_.slot2.pending);
    if (armed) {
        Label5->SetCaption(run_.alarm ? QStringLiteral("Будильник") : QStringLiteral("Таймер"));
        if (paused) {
            SetTitleAndHint(kPaused);
        } else if (run_.alarm) {
            setWindowTitle(kArmed);
            RxTrayIcon1->SetHint(
                QStringLiteral("Zindrel - заведён на %1:%2").arg(run_.alarmHour).arg(run_.alarmMinute));
        } else {
            SetTitleAndHint(kArmed);
        }
    } else if (run_.ended != RunState::Ended::Never) {
        Label5->SetCaption(kNoRun);
        SetTitleAndHint(run_.ended == RunState::Ended::Cancelled ? kStopped : kTitle);
    }
}

void TForm1::ChoiceChanged() {
    RunState next = run_;
    if (!next.Pending()) {
        next.alarm = RadioButton1->isChecked();
    }
    next.slot1.task = Slot1Task();
    next.slot2.task = SecondTimerTask();
    SetRun(next);
}

void TForm1::ChooseTask(TaskKind task) {
    TaskButton(task)->setChecked(true);
    // As a click on "Напомнить с текстом" does, the text window opens; once the run is armed, so the caller is not
    // held by it.
    if (task == TaskKind::RemindText) {
        QMetaObject::invokeMethod(
            this, [this] { Button3Clicw(RadioButton7); }, Qt::QueuedConnection);
    }
}

void TForm1::Button2Click(QObject *) {
    if (run_.phase() != RunState::Phase::Stopped) {
        return;
    }
    ArmChosen(RadioButton1->isChecked(), RxSpinEdit1->Value(), RxSpinEdit2->Value(), RxSpinEdit3->Value());
}

bool TForm1::ArmCountdown(int minutes, std::optional<TaskKind> task) {
    if (task) {
        ChooseTask(*task);
    }
    RadioButton2->setChecked(true);
    RadioButton1Click(RadioButton2);
    RxSpinEdit3->SetValue(minutes);
    return ArmChosen(false, 0, 0, minutes);
}

bool TForm1::ArmAlarm(int hour, int minute, std::optional<TaskKind> task) {
    if (task) {
        ChooseTask(*task);
    }
    RadioButton1->setChecked(true);
    RadioButton1Click(RadioButton1);
    RxSpinEdit1->SetValue(hour);
    RxSpinEdit2->SetValue(minute);
    return ArmChosen(true, hour, minute, 0);
}

bool TForm1::ArmChosen(bool alarm, int hour, int minute, int minutes) {
    const Clock &clock = AppClock();
    RunState next = run_;
    next.alarm = alarm;
    next.paused = false;
    next.slot1 = SlotRun{};
    next.slot2 = SlotRun{};
    next.slot1.task = Slot1Task();
    next.slot2.task = SecondTimerTask();
    if (alarm) {
        try {
            RxClock1->SetAlarmHour(hour);
            RxClock1->SetAlarmMinute(minute);
        } catch (const InvalidTimeError &error) {
            Application::ShowError(QString::fromStdString(error.what()));
            return false;
        }
        RxClock1->SetAlarmEnabled(true);
        next.alarmHour = hour;
        next.alarmMinute = minute;
        QDateTime due(clock.WallNow().date(), QTime(hour, minute));
        if (due <= clock.WallNow()) {
            due = due.addDays(1);
        }
        next.slot1.pending = true;
        next.slot1.dueWall = due;
        next.slot1.dueBootMs = clock.NowMs() + clock.WallNow().msecsTo(due);
    } else {
        const auto arm = [&clock](SlotRun &slot, WindowTimer *timer, WindowTimer *ticker, std::int64_t length) {
            timer->SetInterval(length * kMinuteMs);
            timer->SetEnabled(true);
            ticker->SetEnabled(true);
            slot.pending = true;
            slot.minutesShown = length;
            slot.dueBootMs = clock.NowMs() + length * kMinuteMs;
            slot.dueWall = clock.WallNow().addMSecs(length * kMinuteMs);
        };
        arm(next.slot1, Timer1, Timer2, minutes);
        if (CheckBox1->isChecked()) {
            // 64 bits hold every length the second timer's dialog allows (999 999 minutes).
            arm(next.slot2, Timer3, Timer4, SecondTimerMinutes());
        }
    }
    ElapsedMinutes1 = ElapsedMinutes2 = 0;
    Notices::Withdraw(platform::NoticeKind::Reminder);
    Notices::Prepare();
    SetRun(next);
    if (!KeepWindowOnArm) {
        HideToTray();
    }
    return true;
}

bool TForm1::PostponeRun(int minutes) {
    if (run_.phase() != RunState::Phase::Armed) {
        return false;
    }
    const Clock &clock = AppClock();
    const std::int64_t later = minutes * kMinuteMs;
    RunState next = run_;
    if (next.alarm) {
        const std::int64_t left = std::max<std::int64_t>(next.slot1.dueBootMs - clock.NowMs(), 0) + later;
        RxClock1->SetAlarmEnabled(false);
        next.alarm = false;
        next.slot1.ownMinutes = next.slot1.minutesShown = (left + kMinuteMs - 1) / kMinuteMs;
        next.slot1.dueBootMs = clock.NowMs() + left;
        next.slot1.dueWall = clock.WallNow().addMSecs(left);
        ElapsedMinutes1 = 0;
        Timer1->SetInterval(left);
        Timer1->SetEnabled(true);
        Timer2->SetEnabled(true);
        SetRun(next);
        return true;
    }
    // The ticker keeps its phase; the firing timer starts its new, longer period now.
    const auto moveOn = [later](SlotRun &slot, WindowTimer *timer, std::int64_t fieldMinutes) {
        if (!slot.pending) {
            return;
        }
        const std::int64_t left = timer->RemainingTime() + later;
        timer->SetEnabled(false);
        timer->SetInterval(left);
        timer->SetEnabled(true);
        slot.ownMinutes = (slot.ownMinutes > 0 ? slot.ownMinutes : fieldMinutes) + later / kMinuteMs;
        slot.minutesShown += later / kMinuteMs;
        slot.dueBootMs += later;
        slot.dueWall = slot.dueWall.addMSecs(later);
    };
    moveOn(next.slot1, Timer1, RxSpinEdit3->Value());
    moveOn(next.slot2, Timer3, SecondTimerMinutes());
    SetRun(next);
    return true;
}

bool TForm1::ArmSlotAgain(TimerSlot slot, int minutes) {
    const bool first = slot == TimerSlot::Slot1;
    if (run_.warning || (first ? run_.slot1.pending : run_.slot2.pending)) {
        return false;
    }
    const Clock &clock = AppClock();
    const std::int64_t length = minutes * kMinuteMs;
    RunState next = run_;
    SlotRun &again = first ? next.slot1 : next.slot2;
    if (first) {
        // The alarm clock fired: its time stays in the fields; this is a countdown.
        next.alarm = false;
        ElapsedMinutes1 = 0;
    } else {
        ElapsedMinutes2 = 0;
    }
    again.pending = true;
    again.ownMinutes = again.minutesShown = minutes;
    again.dueBootMs = clock.NowMs() + length;
    again.dueWall = clock.WallNow().addMSecs(length);
    if (next.paused) {
        again.leftMs = length;
    } else {
        WindowTimer *timer = first ? Timer1 : Timer3;
        timer->SetEnabled(false);
        timer->SetInterval(length);
        timer->SetEnabled(true);
        (first ? Timer2 : Timer4)->SetEnabled(true);
    }
    Notices::Withdraw(platform::NoticeKind::Reminder);
    Notices::Prepare();
    SetRun(next);
    if (!KeepWindowOnArm) {
        HideToTray();
    }
    return true;
}

void TForm1::Timer2Timer(QObject *Sender) {
    RunState next = run_;
    if (Sender == Timer2) {
        ++ElapsedMinutes1;
        // The minutes field as it is now: the wheel changes what the next minute shows, not the firing time.
        const std::int64_t length = next.slot1.ownMinutes > 0 ? next.slot1.ownMinutes : RxSpinEdit3->Value();
        next.slot1.minutesShown = length - ElapsedMinutes1;
    }
    if (Sender == Timer4) {
        ++ElapsedMinutes2;
        const std::int64_t length = next.slot2.ownMinutes > 0 ? next.slot2.ownMinutes : SecondTimerMinutes();
        next.slot2.minutesShown = length - ElapsedMinutes2;
    }
    SetRun(next);
}

void TForm1::SpeedButton3Click(QObject *) {
    if (run_.paused) {
        ResumeRun();
    } else {
        PauseRun();
    }
    Button1->setEnabled(true);
}

void TForm1::PauseRun() {
    if (run_.phase() != RunState::Phase::Armed) {
        return;
    }
    RunState next = run_;
    next.paused = true;
    if (!next.alarm) {
        next.slot1.leftMs = Timer1->Enabled() ? Timer1->RemainingTime() : 0;
        next.slot2.leftMs = Timer3->Enabled() ? Timer3->RemainingTime() : 0;
    }
    for (WindowTimer *t : {Timer1, Timer2, Timer3, Timer4}) {
        t->SetEnabled(false);
    }
    SetRun(next);
}

void TForm1::ResumeRun() {
    if (run_.phase() != RunState::Phase::Paused) {
        return;
    }
    const Clock &clock = AppClock();
    RunState next = run_;
    next.paused = false;
    const auto resume = [&clock](SlotRun &slot, WindowTimer *timer, WindowTimer *ticker) {
        if (!slot.pending) {
            return;
        }
        const std::int64_t left = std::max<std::int64_t>(slot.leftMs, 1);
        timer->SetInterval(left);
        timer->SetEnabled(true);
        ticker->SetEnabled(true);
        slot.dueBootMs = clock.NowMs() + left;
        slot.dueWall = clock.WallNow().addMSecs(left);
        slot.leftMs = 0;
    };
    if (!next.alarm) {
        resume(next.slot1, Timer1, Timer2);
        resume(next.slot2, Timer3, Timer4);
    }
    SetRun(next);
}

void TForm1::Button1Click(QObject *) {
    CancelRun();
}

void TForm1::CancelRun() {
    for (WindowTimer *t : {Timer1, Timer2, Timer3, Timer4}) {
        t->SetEnabled(false);
    }
    RxClock1->SetAlarmEnabled(false);
    RunState next = run_;
    next.slot1.pending = next.slot2.pending = false;
    next.paused = false;
    next.warning.reset();
    next.ended = RunState::Ended::Cancelled;
    next.alarm = RadioButton1->isChecked();
    SetRun(next);
}

void TForm1::WarningCounts(TimerSlot slot, TaskKind task, int secondsLeft, const QDateTime &due) {
    RunState next = run_;
    next.warning = WarningRun{slot, task, secondsLeft, due};
    SetRun(next);
}

void TForm1::WarningEnds() {
    RunState next = run_;
    next.warning.reset();
    SetRun(next);
}

void TForm1::N11Click(QObject *Sender) {
    if (run_.phase() != RunState::Phase::Stopped) {
        return;
    }
    const std::pair<QAction *, int> items[] = {{N11, 3},   {N51, 5},  {N101, 10}, {N151, 15},
                                               {N301, 30}, {N12, 60}, {N21, 120}, {N31, 180}};
    for (const auto &[item, minutes] : items) {
        if (Sender == item) {
            RxSpinEdit3->SetValue(minutes);
            RadioButton2->setChecked(true);
            RadioButton1Click(RadioButton2);
            Button2Click(Sender);
            return;
        }
    }
}

void TForm1::FormMouseWheelUp() {
    RadioButton1Click(RadioButton2);
    RadioButton2->setChecked(true);
    RxSpinEdit3->SetValue(std::min(RxSpinEdit3->Value() + 1, kCountdownMinutesMax));
}

void TForm1::FormMouseWheelDown() {
    RadioButton1Click(RadioButton2);
    RadioButton2->setChecked(true);
    RxSpinEdit3->SetValue(std::max(RxSpinEdit3->Value() - 1, kCountdownMinutesMin));
}

void TForm1::RxSpinEdit2TopClick(QObject *) {
    if (RxSpinEdit2->Value() == 60) {
        RxSpinEdit2->SetValue(0);
    }
    if (RxSpinEdit1->Value() == 24) {
        RxSpinEdit1->SetValue(0);
    }
}

void TForm1::RxSpinEdit1BottomClick(QObject *) {
    if (RxSpinEdit2->Value() == -1) {
        RxSpinEdit2->SetValue(59);
    }
    if (RxSpinEdit1->Value() == -1) {
        RxSpinEdit1->SetValue(23);
    }
}

bool TForm1::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::wheelEvent(QWheelEvent *event) {
    event->accept();
    // The wheel over a window in the background, a new touchpad gesture, a pause or a turn back starts from a
    // whole notch again: a partial notch never lingers until a later scroll.
    const int delta = event->angleDelta().y();
    const bool freshScroll = event->phase() == Qt::ScrollBegin ||
                             event->timestamp() - lastWheelTimestamp_ > kWheelPauseMs ||
                             (wheelDelta_ > 0 && delta < 0) || (wheelDelta_ < 0 && delta > 0);
    lastWheelTimestamp_ = event->timestamp();
    if (!isActiveWindow()) {
        wheelDelta_ = 0;
        return;
    }
    if (freshScroll) {
        wheelDelta_ = 0;
    }
    wheelDelta_ += delta;
    while (wheelDelta_ >= 120) {
        wheelDelta_ -= 120;
        FormMouseWheelUp();
    }
    while (wheelDelta_ <= -120) {
        wheelDelta_ += 120;
        FormMouseWheelDown();
    }
    if (event->phase() == Qt::ScrollEnd) {
        wheelDelta_ = 0;
    }
}

void TForm1::mouseDoubleClickEvent(QMouseEvent *) {
    Button2Click(this);
}
