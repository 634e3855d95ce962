// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's firing: a due alarm or countdown runs its tasks in their order, the power tasks and the alarm sound.
#include "actions/Unit2.h"
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/Notices.h"
#include "app/SleepHold.h"
#include "app/TaskCatalogue.h"
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
#include <QPlainTextEdit>
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
        MarkFired(TimerSlot::Slot1);
        RunFired(TimerSlot::Slot1, true);
    }
    if (Sender == Timer1) {
        Timer1->SetEnabled(false);
        Timer2->SetEnabled(false);
        MarkFired(TimerSlot::Slot1);
        RunFired(TimerSlot::Slot1, true);
    }
    if (Sender == Timer3) {
        Timer3->SetEnabled(false);
        Timer4->SetEnabled(false);
        MarkFired(TimerSlot::Slot2);
        RunFired(TimerSlot::Slot2, true);
    }
}

void TForm1::MarkFired(TimerSlot slot) {
    RunState next = run_;
    (slot == TimerSlot::Slot1 ? next.slot1 : next.slot2).pending = false;
    if (!next.Pending()) {
        next.paused = false;
        next.ended = RunState::Ended::Fired;
    }
    SetRun(next);
}

void TForm1::DoPowerTask(TaskKind task) {
    const TaskInfo &info = TaskOf(task);
    if (info.powersDown) {
        info.run();
        close();
    }
}

void TForm1::RunShownTask(TaskKind task, TimerSlot slot, bool armed, const QString &caption) {
    switch (task) {
    case TaskKind::Remind:
        ShowMainWindow();
        break;
    case TaskKind::RemindText:
        if (armed) {
            ShowTextReminder(slot, caption);
        }
        break;
    case TaskKind::MonitorOff:
    case TaskKind::ScreenSaver:
        TaskOf(task).run();
        break;
    case TaskKind::NoWindow:
    case TaskKind::Sleep:
    case TaskKind::Logoff:
    case TaskKind::Reboot:
    case TaskKind::Shutdown:
        break;
    }
}

void TForm1::RunFiredTasks(TimerSlot slot) {
    RunFired(slot, false);
}

void TForm1::RunFired(TimerSlot slot, bool fromRun) {
    const bool alarmRun = fromRun && run_.alarm;
    // An extras dialog never opened holds every choice at doing nothing: the firing does not make it.
    TForm7 *extras = Form7.Existing();
    if (extras != nullptr) {
        extras->RunWinAmpActions();
    }
    if (SettingsChoices::NewPhraseOnRestore(SettingsAtStart)) {
        ShowRandomPhrase();
    }
    // After the player's commands, before the text window, which waits for the person: where the window cannot come
    // to the front by itself, the notice is what they see.
    const TaskKind reminding = slot == TimerSlot::Slot1 ? Slot1Task() : SecondTimerTask();
    if (fromRun && TaskOf(reminding).showsSomething) {
        const QString text = reminding != TaskKind::RemindText ? QString()
                             : slot == TimerSlot::Slot1        ? Form5->Memo1->toPlainText()
                                                               : Form5->Memo2->toPlainText();
        Notices::ShowReminder(slot, alarmRun, text);
    }

    if (!run_.Pending()) {
        RunState ended = run_;
        ended.paused = false;
        ended.ended = RunState::Ended::Fired;
        SetRun(ended);
        Sound();
        if (alarmRun && Slot1Task() == TaskKind::RemindText) {
            ShowTextReminder(TimerSlot::Slot1, QStringLiteral("Zindrel - будильник!"));
        }
        // The run's mode is over: the window's choice is the mode again.
        ChoiceChanged();
    }

    if (slot == TimerSlot::Slot1) {
        Sound();
        RunShownTask(Slot1Task(), TimerSlot::Slot1, fromRun && !alarmRun,
                     QStringLiteral("Zindrel - первый таймер сработал!"));
        if (extras != nullptr) {
            extras->OperateCdDoor();
        }
        const TaskKind powerTask = Slot1Task();
        if (TaskOf(powerTask).powersDown) {
            if (fromRun && !alarmRun && SleepHold::FiredLate(*Timer1)) {
                Form2->ShowWarning(TimerSlot::Slot1, SleepHold::kLateWarningSeconds);
            } else if (NoWarnings) {
                DoPowerTask(powerTask);
            } else {
                Form2->ShowWarning();
            }
        }
        SettingsChoices::StartBlinking(SettingsAtStart);
    }

    if (extras != nullptr) {
        extras->RunLaunchList();
    }

    if (slot == TimerSlot::Slot2) {
        Sound();
        RunShownTask(SecondTimerTask(), TimerSlot::Slot2, fromRun, QStringLiteral("Zindrel - второй таймер сработал!"));
        if (SleepHold::FiredLate(*Timer3) && TaskOf(SecondTimerTask()).powersDown) {
            Form2->ShowWarning(TimerSlot::Slot2, SleepHold::kLateWarningSeconds);
        } else {
            DoPowerTask(SecondTimerTask());
        }
        SettingsChoices::StartBlinking(SettingsAtStart);
    }
}

bool TForm1::SoundPlays() const {
    // The dialog tells the user that an empty field switches the sound off.
    return (SettingsChoices::WaveFileChosen(SettingsAtStart) &&
            !SettingsChoices::SoundFile(SettingsAtStart).isEmpty()) ||
           SettingsChoices::SpeakerTuneChosen(SettingsAtStart);
}

void TForm1::Sound() {
    if (!SoundPlays()) {
        return;
    }
    if (SettingsChoices::WaveFileChosen(SettingsAtStart)) {
        PlayWaveFile(SettingsChoices::SoundFile(SettingsAtStart));
    } else {
        for (int i = 0; i < 10; ++i) {
            PlayMelody(QStringLiteral("120/100"));
        }
    }
}
