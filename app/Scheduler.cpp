// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's scheduler: choosing the mode, arming, pause and cancel, the countdown ticks, the spin boxes and the wheel.
#include "actions/Unit6.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Forms.h"
#include "app/SleepHold.h"
#include "app/Unit1.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
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

bool TForm1::Paused() const {
    return SpeedButton3->text() == kResume;
}

void TForm1::Button2Click(QObject *) {
    if (!Button2->isEnabled()) {
        return;
    }
    if (RadioButton1->isChecked()) {
        try {
            RxClock1->SetAlarmHour(RxSpinEdit1->Value());
            RxClock1->SetAlarmMinute(RxSpinEdit2->Value());
        } catch (const InvalidTimeError &error) {
            Application::ShowError(QString::fromStdString(error.what()));
            return;
        }
        RxClock1->SetAlarmEnabled(true);
        RunIsAlarm = true;
        Countdown1Armed = Countdown2Armed = false;
        Label5->SetCaption(QStringLiteral("Будильник"));
        setWindowTitle(kArmed);
        RxTrayIcon1->SetHint(
            QStringLiteral("Zindrel - заведён на %1:%2").arg(RxSpinEdit1->Value()).arg(RxSpinEdit2->Value()));
    } else if (RadioButton2->isChecked()) {
        Timer1->SetInterval(static_cast<std::int64_t>(RxSpinEdit3->Value()) * kMinuteMs);
        Timer1->SetEnabled(true);
        Timer2->SetEnabled(true);
        SpeedButton3->setEnabled(true);
        N7->setEnabled(true);
        Label5->SetCaption(QStringLiteral("Таймер"));
        SetTitleAndHint(kArmed);
        ShowRemaining(Label4, 1, RxSpinEdit3->Value());
        Label4->show();
        Countdown1Armed = true;
        RunIsAlarm = false;
        Countdown2Armed = false;
        if (CheckBox1->isChecked()) {
            // 64 bits hold every length the second timer's dialog allows (999 999 minutes).
            const std::int64_t minutes2 = Form6->Minutes();
            Timer3->SetInterval(minutes2 * kMinuteMs);
            Timer3->SetEnabled(true);
            Timer4->SetEnabled(true);
            ShowRemaining(Label7, 2, minutes2);
            Label7->show();
            Countdown2Armed = true;
        }
    }
    SetCommandsArmed(true);
    RxTrayIcon1->SetAnimated(true);
    ElapsedMinutes1 = ElapsedMinutes2 = 0;
    pausedLeft1_ = pausedLeft2_ = -1;
    SpeedButton3->setText(kPause);
    N7->setText(kPause);
    if (!KeepWindowOnArm) {
        HideToTray();
    }
    SleepHold::Follow(*this);
}

void TForm1::Timer2Timer(QObject *Sender) {
    if (Sender == Timer2) {
        ++ElapsedMinutes1;
        ShowRemaining(Label4, 1, static_cast<std::int64_t>(RxSpinEdit3->Value()) - ElapsedMinutes1);
    }
    if (Sender == Timer4) {
        ++ElapsedMinutes2;
        ShowRemaining(Label7, 2, Form6->Minutes() - ElapsedMinutes2);
    }
}

void TForm1::SpeedButton3Click(QObject *) {
    if (!Paused()) {
        pausedLeft1_ = Timer1->Enabled() ? Timer1->RemainingTime() : -1;
        pausedLeft2_ = Timer3->Enabled() ? Timer3->RemainingTime() : -1;
        for (WindowTimer *t : {Timer1, Timer2, Timer3, Timer4}) {
            t->SetEnabled(false);
        }
        SetTitleAndHint(kPaused);
        RxTrayIcon1->SetAnimated(false);
        SpeedButton3->setText(kResume);
        N7->setText(kResume);
    } else {
        if (pausedLeft1_ >= 0) {
            Timer1->SetInterval(std::max<std::int64_t>(pausedLeft1_, 1));
            Timer1->SetEnabled(true);
            Timer2->SetEnabled(true);
        }
        if (pausedLeft2_ >= 0) {
            Timer3->SetInterval(std::max<std::int64_t>(pausedLeft2_, 1));
            Timer3->SetEnabled(true);
            Timer4->SetEnabled(true);
        }
        pausedLeft1_ = pausedLeft2_ = -1;
        RxTrayIcon1->SetAnimated(true);
        SpeedButton3->setText(kPause);
        N7->setText(kPause);
        SetTitleAndHint(kArmed);
    }
    Button1->setEnabled(true);
    SleepHold::Follow(*this);
}

void TForm1::Button1Click(QObject *) {
    for (WindowTimer *t : {Timer1, Timer2, Timer3, Timer4}) {
        t->SetEnabled(false);
    }
    RxClock1->SetAlarmEnabled(false);
    SetTitleAndHint(kStopped);
    RxTrayIcon1->SetAnimated(false);
    SetCommandsArmed(false);
    Label4->hide();
    Label7->hide();
    Label5->SetCaption(kNoRun);
    SpeedButton3->setText(kPause);
    N7->setText(kPause);
    pausedLeft1_ = pausedLeft2_ = -1;
    RunIsAlarm = Countdown1Armed = Countdown2Armed = false;
    SleepHold::Follow(*this);
}

void TForm1::N11Click(QObject *Sender) {
    if (!Button2->isEnabled()) {
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
