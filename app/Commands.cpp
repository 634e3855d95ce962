// SPDX-License-Identifier: GPL-3.0-or-later
// Commands from the command line and the bus, carried out on the main window through its own controls.
#include "app/Commands.h"

#include "actions/Unit6.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Clock.h"
#include "controls/ClockPanel.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <memory>

namespace Commands {

namespace {

constexpr std::int64_t kMinuteMs = 60000;

bool Stopped() {
    return Form1->Button2->isEnabled();
}

QString Due(const WindowTimer *timer) {
    return AppClock().WallNow().addMSecs(timer->RemainingTime()).toString(QStringLiteral("HH:mm"));
}

} // namespace

QString Refusal(const Command &command) {
    using Action = Command::Action;
    switch (command.action) {
    case Action::ArmCountdown:
    case Action::ArmAlarm:
        return Stopped() ? QString() : QStringLiteral("уже заведён: сначала --cancel");
    case Action::Pause:
        if (!Form1->SpeedButton3->isEnabled()) {
            return QStringLiteral("нечего приостанавливать: не заведён");
        }
        return Form1->Paused() ? QStringLiteral("уже на паузе") : QString();
    case Action::Resume:
        return Form1->Paused() ? QString() : QStringLiteral("не на паузе");
    case Action::Help:
    case Action::Version:
        return QStringLiteral("--help и --version отвечает сама командная строка");
    default:
        return {};
    }
}

void Apply(const Command &command) {
    using Action = Command::Action;
    if (!Refusal(command).isEmpty()) {
        return;
    }
    if (command.task) {
        Form1->TaskButton(*command.task)->click();
    }
    switch (command.action) {
    case Action::ArmCountdown:
        Form1->RadioButton2->click();
        Form1->RxSpinEdit3->SetValue(command.minutes);
        Form1->Button2->click();
        break;
    case Action::ArmAlarm:
        Form1->RadioButton1->click();
        Form1->RxSpinEdit1->SetValue(command.hour);
        Form1->RxSpinEdit2->SetValue(command.minute);
        Form1->Button2->click();
        break;
    case Action::Cancel:
        Form1->Button1->click();
        break;
    case Action::Pause:
    case Action::Resume:
        Form1->SpeedButton3->click();
        break;
    case Action::Hide:
        Form1->SpeedButton1->click();
        break;
    case Action::Quit:
        Form1->N1->trigger();
        break;
    case Action::Bring:
    case Action::Show:
        // As three presses of the Pause key bring it back.
        Form1->ShowMainWindow();
        break;
    case Action::Status:
    case Action::Help:
    case Action::Version:
        break;
    }
}

QString StatusLine() {
    const bool stopped = Stopped();
    const bool alarm = stopped ? Form1->RadioButton1->isChecked() : Form1->RunIsAlarm;
    QStringList parts;
    parts << QStringLiteral("state=") + (stopped           ? QStringLiteral("stopped")
                                         : Form1->Paused() ? QStringLiteral("paused")
                                                           : QStringLiteral("armed"));
    parts << QStringLiteral("mode=") + (alarm ? QStringLiteral("alarm") : QStringLiteral("countdown"));
    parts << QStringLiteral("task=") + TaskName(Form1->Slot1Task());
    if (!stopped && alarm) {
        parts << QStringLiteral("due=%1:%2")
                     .arg(Form1->RxClock1->AlarmHour(), 2, 10, QLatin1Char('0'))
                     .arg(Form1->RxClock1->AlarmMinute(), 2, 10, QLatin1Char('0'));
    }
    // The minutes left as the window shows them under the clock.
    if (!stopped && Form1->Countdown1Armed) {
        if (Form1->Timer1->Enabled()) {
            parts << QStringLiteral("due=") + Due(Form1->Timer1);
        }
        parts << QStringLiteral("left=%1").arg(static_cast<std::int64_t>(Form1->RxSpinEdit3->Value()) -
                                               Form1->ElapsedMinutes1);
    }
    if (!stopped && Form1->Countdown2Armed) {
        parts << QStringLiteral("timer2-task=") + TaskName(Form6->Task());
        if (Form1->Timer3->Enabled()) {
            parts << QStringLiteral("timer2-due=") + Due(Form1->Timer3);
        }
        parts << QStringLiteral("timer2-left=%1")
                     .arg(static_cast<std::int64_t>(Form6->RxSpinEdit1->Value()) - Form1->ElapsedMinutes2);
    }
    return parts.join(u' ');
}

int StatusCode(const QString &line) {
    return line.startsWith(QStringLiteral("state=stopped")) ? 1 : 0;
}

platform::CommandAnswer Take(const std::vector<std::string> &arguments) {
    QStringList list;
    for (const std::string &argument : arguments) {
        list << QString::fromStdString(argument);
    }
    const ParsedCommand parsed = ParseCommand(list);
    if (!parsed.Ok()) {
        return {platform::CommandInvalid, parsed.error.toStdString()};
    }
    if (Form1 == nullptr || Form1->MainClosed) {
        return {platform::CommandRefused, "программа ещё запускается или уже завершается"};
    }
    if (parsed.command.action == Command::Action::Status) {
        return {platform::CommandDone, StatusLine().toStdString()};
    }
    const QString refusal = Refusal(parsed.command);
    if (!refusal.isEmpty()) {
        return {platform::CommandRefused, refusal.toStdString()};
    }
    const Command command = parsed.command;
    QMetaObject::invokeMethod(
        Form1, [command] { Apply(command); }, Qt::QueuedConnection);
    return {};
}

void WatchState(const std::function<void()> &changed) {
    // A click changes the caption before it enables and disables the buttons the state is read from: the state is
    // read once the handler has finished, once for all the signals of one click.
    auto pending = std::make_shared<bool>(false);
    const auto later = [changed, pending] {
        if (!*pending) {
            *pending = true;
            QMetaObject::invokeMethod(
                Form1,
                [changed, pending] {
                    *pending = false;
                    changed();
                },
                Qt::QueuedConnection);
        }
    };
    QObject::connect(Form1, &QWidget::windowTitleChanged, Form1, later);
    for (QRadioButton *radio : Form1->findChildren<QRadioButton *>()) {
        QObject::connect(radio, &QRadioButton::toggled, Form1, later);
    }
}

} // namespace Commands
