// SPDX-License-Identifier: GPL-3.0-or-later
// Commands from the command line and the bus, carried out through the main window's run.
#include "app/Commands.h"

#include "actions/Unit2.h"
#include "app/Forms.h"
#include "app/TaskCatalogue.h"
#include "app/Unit1.h"

#include <QPushButton>

namespace Commands {

namespace {

using Phase = RunState::Phase;

QString Clock(const QDateTime &time) {
    return time.toString(QStringLiteral("HH:mm"));
}

} // namespace

QString Refusal(const Command &command) {
    using Action = Command::Action;
    const Phase phase = Form1->Run().phase();
    const QString warning =
        QStringLiteral("идёт предупреждение перед выполнением задачи: только --cancel или --postpone");
    switch (command.action) {
    case Action::ArmCountdown:
    case Action::ArmAlarm:
        if (phase == Phase::Warning) {
            return warning;
        }
        return phase == Phase::Stopped ? QString() : QStringLiteral("уже заведён: сначала --cancel");
    case Action::Pause:
        if (phase == Phase::Warning) {
            return warning;
        }
        if (phase == Phase::Stopped) {
            return QStringLiteral("нечего приостанавливать: не заведён");
        }
        return phase == Phase::Paused ? QStringLiteral("уже на паузе") : QString();
    case Action::Resume:
        if (phase == Phase::Warning) {
            return warning;
        }
        return phase == Phase::Paused ? QString() : QStringLiteral("не на паузе");
    case Action::Postpone:
        if (phase == Phase::Stopped) {
            return QStringLiteral("нечего откладывать: не заведён");
        }
        return phase == Phase::Paused ? QStringLiteral("на паузе: сначала --resume") : QString();
    case Action::Help:
    case Action::Version:
        return QStringLiteral("--help и --version отвечает сама командная строка");
    case Action::Bring:
    case Action::Cancel:
    case Action::Show:
    case Action::Hide:
    case Action::Quit:
    case Action::Status:
        return {};
    }
    return {};
}

QString StatusLine() {
    const RunState &run = Form1->Run();
    const Phase phase = run.phase();
    QStringList parts;
    switch (phase) {
    case Phase::Stopped:
        parts << QStringLiteral("state=stopped");
        break;
    case Phase::Armed:
        parts << QStringLiteral("state=armed");
        break;
    case Phase::Paused:
        parts << QStringLiteral("state=paused");
        break;
    case Phase::Warning:
        parts << QStringLiteral("state=warning");
        break;
    }
    parts << QStringLiteral("mode=") + (run.alarm ? QStringLiteral("alarm") : QStringLiteral("countdown"));
    if (run.warning) {
        parts << QStringLiteral("task=") + QString::fromLatin1(TaskOf(run.warning->task).option);
        parts << QStringLiteral("due=") + run.warning->dueWall.toString(QStringLiteral("HH:mm:ss"));
    } else {
        parts << QStringLiteral("task=") + QString::fromLatin1(TaskOf(run.slot1.task).option);
    }
    if (run.slot1.pending && run.alarm) {
        parts << QStringLiteral("due=%1:%2")
                     .arg(run.alarmHour, 2, 10, QLatin1Char('0'))
                     .arg(run.alarmMinute, 2, 10, QLatin1Char('0'));
    }
    // The minutes left as the window shows them under the clock.
    if (run.slot1.pending && !run.alarm) {
        if (!run.paused) {
            parts << QStringLiteral("due=") + Clock(run.slot1.dueWall);
        }
        parts << QStringLiteral("left=%1").arg(run.slot1.minutesShown);
    }
    if (run.slot2.pending) {
        parts << QStringLiteral("timer2-task=") + QString::fromLatin1(TaskOf(run.slot2.task).option);
        if (!run.paused) {
            parts << QStringLiteral("timer2-due=") + Clock(run.slot2.dueWall);
        }
        parts << QStringLiteral("timer2-left=%1").arg(run.slot2.minutesShown);
    }
    return parts.join(u' ');
}

int StatusCode(const QString &line) {
    return line.startsWith(QStringLiteral("state=stopped")) ? 1 : 0;
}

platform::CommandAnswer Take(const Command &command) {
    using Action = Command::Action;
    if (Form1 == nullptr || Form1->MainClosed) {
        return {platform::CommandRefused, "программа ещё запускается или уже завершается"};
    }
    const QString refusal = Refusal(command);
    if (!refusal.isEmpty()) {
        return {platform::CommandRefused, refusal.toStdString()};
    }
    switch (command.action) {
    case Action::ArmCountdown:
        Form1->ArmCountdown(command.minutes, command.task);
        break;
    case Action::ArmAlarm:
        if (!Form1->ArmAlarm(command.hour, command.minute, command.task)) {
            return {platform::CommandRefused, "время будильника не принято"};
        }
        break;
    case Action::Cancel:
        // While the warning counts, its own "Отмена": the countdown stops, every slot is cancelled, the window is back.
        if (Form1->Run().phase() == Phase::Warning) {
            Form2->Button1Click(Form2->Button1);
        } else {
            Form1->CancelRun();
        }
        break;
    case Action::Pause:
        Form1->PauseRun();
        break;
    case Action::Resume:
        Form1->ResumeRun();
        break;
    case Action::Postpone:
        // While the warning counts, its notice's "Отложить на 10 минут", by the minutes given.
        if (Form1->Run().phase() == Phase::Warning) {
            Form2->Postpone(command.minutes);
        } else {
            Form1->PostponeRun(command.minutes);
        }
        break;
    case Action::Hide:
        Form1->HideToTray();
        break;
    case Action::Quit:
        Form1->close();
        break;
    case Action::Bring:
    case Action::Show:
        // As three presses of the Pause key bring it back.
        Form1->ShowMainWindow();
        break;
    case Action::Status:
        return {platform::CommandDone, StatusLine().toStdString()};
    case Action::Help:
    case Action::Version:
        break;
    }
    return {};
}

platform::CommandAnswer TakeArguments(const std::vector<std::string> &arguments) {
    QStringList list;
    for (const std::string &argument : arguments) {
        list << QString::fromStdString(argument);
    }
    const ParsedCommand parsed = ParseCommand(list);
    if (!parsed.Ok()) {
        return {platform::CommandInvalid, parsed.error.toStdString()};
    }
    return Take(parsed.command);
}

platform::CommandAnswer TakeRequest(const platform::CommandRequest &request) {
    const ParsedCommand parsed = CheckRequest(request);
    if (!parsed.Ok()) {
        return {platform::CommandInvalid, parsed.error.toStdString()};
    }
    return Take(parsed.command);
}

void WatchState(const std::function<void()> &changed) {
    QObject::connect(Form1, &TForm1::RunChanged, Form1, changed);
}

} // namespace Commands
