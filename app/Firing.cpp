// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's firing: a due alarm or countdown runs its tasks in their order, the power tasks and the alarm sound.
#include "actions/PowerOff.h"
#include "actions/Unit2.h"
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/SleepHold.h"
#include "app/Unit1.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"
#include "settings/Unit4.h"
#include "signals/SoundPlayer.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <array>
#include <utility>

using namespace form1;

namespace {

// The task each button of "Операции" stands for; Remind is RadioButton3, the first.
std::array<std::pair<QRadioButton *, TaskKind>, 9> TaskChoices(const TForm1 &form) {
    return {{{form.RadioButton3, TaskKind::Remind},
             {form.RadioButton7, TaskKind::RemindText},
             {form.RadioButton9, TaskKind::ScreenSaver},
             {form.RadioButton10, TaskKind::NoWindow},
             {form.RadioButton8, TaskKind::MonitorOff},
             {form.RadioButton11, TaskKind::Sleep},
             {form.RadioButton6, TaskKind::Logoff},
             {form.RadioButton5, TaskKind::Reboot},
             {form.RadioButton4, TaskKind::Shutdown}}};
}

} // namespace

TaskKind TForm1::Slot1Task() const {
    for (const auto &[radio, task] : TaskChoices(*this)) {
        if (radio->isChecked()) {
            return task;
        }
    }
    return TaskKind::Remind;
}

QRadioButton *TForm1::TaskButton(TaskKind task) const {
    for (const auto &[radio, kind] : TaskChoices(*this)) {
        if (kind == task) {
            return radio;
        }
    }
    return RadioButton3;
}

void TForm1::RxClock1Alarm(QObject *Sender) {
    if (Sender == RxClock1) {
        RxClock1->SetAlarmEnabled(false);
        RunFiredTasks(TimerSlot::Slot1);
    }
    if (Sender == Timer1) {
        Timer1->SetEnabled(false);
        Timer2->SetEnabled(false);
        RunFiredTasks(TimerSlot::Slot1);
    }
    if (Sender == Timer3) {
        Timer3->SetEnabled(false);
        Timer4->SetEnabled(false);
        RunFiredTasks(TimerSlot::Slot2);
    }
}

void TForm1::DoPowerTask(TaskKind task) {
    switch (task) {
    case TaskKind::Logoff:
        LogoffSession();
        close();
        break;
    case TaskKind::Reboot:
        RebootComputer();
        close();
        break;
    case TaskKind::Shutdown:
        ShutdownComputer();
        close();
        break;
    case TaskKind::Sleep:
        SuspendComputer();
        close();
        break;
    default:
        break;
    }
}

void TForm1::RunShownTask(TaskKind task, TimerSlot slot, bool armed, const QString &caption) {
    if (task == TaskKind::Remind) {
        ShowMainWindow();
    }
    if (task == TaskKind::RemindText && armed) {
        ShowTextReminder(slot, caption);
    }
    if (task == TaskKind::MonitorOff) {
        SwitchMonitorOff();
    }
    if (task == TaskKind::ScreenSaver) {
        StartScreenSaver();
    }
}

void TForm1::RunFiredTasks(TimerSlot slot) {
    SleepHold::Follow(*this);
    Form7->RunWinAmpActions();
    if (Form4->NewPhraseOnRestore()) {
        ShowRandomPhrase();
    }

    if (!Timer1->Enabled() && !Timer3->Enabled()) {
        RxTrayIcon1->SetAnimated(false);
        SpeedButton2->setEnabled(true);
        N8->setEnabled(true);
        SpeedButton3->setEnabled(false);
        N7->setEnabled(false);
        Button2->setEnabled(true);
        N5->setEnabled(true);
        // A paused alarm-clock run still fires; its end leaves no pause behind for the next run.
        SpeedButton3->setText(kPause);
        N7->setText(kPause);
        pausedLeft1_ = pausedLeft2_ = -1;
        Label5->SetCaption(kNoRun);
        SetTitleAndHint(kTitle);
        Sound();
        if (RunIsAlarm && Slot1Task() == TaskKind::RemindText) {
            ShowTextReminder(TimerSlot::Slot1, QStringLiteral("Zindrel - будильник!"));
        }
        RunIsAlarm = false;
    }

    if (slot == TimerSlot::Slot1) {
        Sound();
        Label4->hide();
        RunShownTask(Slot1Task(), TimerSlot::Slot1, Countdown1Armed,
                     QStringLiteral("Zindrel - первый таймер сработал!"));
        Form7->OperateCdDoor();
        const TaskKind powerTask = Slot1Task();
        if (SleepHold::IsPowerTask(powerTask)) {
            if (Countdown1Armed && SleepHold::FiredLate(*Timer1)) {
                Form2->ShowWarning(TimerSlot::Slot1, SleepHold::kLateWarningSeconds);
            } else if (NoWarnings) {
                DoPowerTask(powerTask);
            } else {
                Form2->ShowWarning();
            }
        }
        Form4->StartBlinking();
        Countdown1Armed = false;
    }

    Form7->RunLaunchList();

    if (slot == TimerSlot::Slot2) {
        Sound();
        Label7->hide();
        RunShownTask(Form6->Task(), TimerSlot::Slot2, Countdown2Armed,
                     QStringLiteral("Zindrel - второй таймер сработал!"));
        if (SleepHold::FiredLate(*Timer3) && SleepHold::IsPowerTask(Form6->Task())) {
            Form2->ShowWarning(TimerSlot::Slot2, SleepHold::kLateWarningSeconds);
        } else {
            DoPowerTask(Form6->Task());
        }
        Form4->StartBlinking();
        Countdown2Armed = false;
    }
}

void TForm1::Sound() {
    if (Form4->WaveFileChosen()) {
        const QString path = Form4->SoundFile();
        // The dialog tells the user that an empty field switches the sound off.
        if (!path.isEmpty()) {
            PlayWaveFile(path);
        }
    } else if (Form4->SpeakerTuneChosen()) {
        for (int i = 0; i < 10; ++i) {
            PlayMelody(QStringLiteral("120/100"));
        }
    }
}
