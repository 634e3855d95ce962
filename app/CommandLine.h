// SPDX-License-Identifier: GPL-3.0-or-later
// The program's commands: one parser and checker for its options and for the arguments of its bus methods.
#pragma once

#include "app/TaskKind.h"
#include "platform/Instance.h"

#include <QString>
#include <QStringList>

#include <optional>

// The countdown's range in minutes: its spin box's in the main window, and what --in is checked against.
constexpr int kCountdownMinutesMin = 1;
constexpr int kCountdownMinutesMax = 9999;
// --postpone without its minutes.
constexpr int kPostponeMinutesDefault = 10;

struct Command {
    enum class Action {
        Bring,
        ArmCountdown,
        ArmAlarm,
        Cancel,
        Pause,
        Resume,
        Postpone,
        Show,
        Hide,
        Quit,
        Status,
        Help,
        Version
    };
    // With no option at all, a start brings the running window back.
    Action action = Action::Bring;
    // The task chosen in "Операции" before arming; none keeps the window's choice.
    std::optional<TaskKind> task;
    int minutes = 0;
    int hour = 0;
    int minute = 0;
};

struct ParsedCommand {
    Command command;
    // What is wrong, in words for the user; empty for a good command.
    QString error;
    bool Ok() const { return error.isEmpty(); }
};

// Parses and checks the options (without the program's name). Nothing outside the arguments is read.
ParsedCommand ParseCommand(const QStringList &arguments);

// Checks a typed command from the bus as the same options would be checked.
ParsedCommand CheckRequest(const platform::CommandRequest &request);

// The --help text.
QString CommandHelp();

// The option's name of a task ("poweroff") and back; the names follow the "Операции" group top to bottom.
QString TaskName(TaskKind task);
std::optional<TaskKind> TaskFromName(const QString &name);
