// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the one parser of the options and bus arguments: arguments are the input's lines. An arming it takes must
// come out the same from the bus's typed method given the same values; one it refuses must say why.
#include "app/CommandLine.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool Same(const Command &a, const Command &b) {
    return a.action == b.action && a.task == b.task && a.minutes == b.minutes && a.hour == b.hour &&
           a.minute == b.minute;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList arguments = text.isEmpty() ? QStringList() : text.split(u'\n');
    const ParsedCommand parsed = ParseCommand(arguments);
    if (!parsed.Ok()) {
        return 0;
    }
    const Command &command = parsed.command;
    if (command.action == Command::Action::ArmCountdown &&
        (command.minutes < kCountdownMinutesMin || command.minutes > kCountdownMinutesMax)) {
        std::abort();
    }
    if (command.action == Command::Action::ArmAlarm &&
        (command.hour < 0 || command.hour > 23 || command.minute < 0 || command.minute > 59)) {
        std::abort();
    }
    using Kind = platform::CommandRequest::Kind;
    const std::string task = command.task ? TaskName(*command.task).toStdString() : std::string();
    std::optional<ParsedCommand> typed;
    if (command.action == Command::Action::ArmCountdown) {
        typed = CheckRequest({Kind::ArmCountdown, command.minutes, {}, task});
    }
    if (command.action == Command::Action::ArmAlarm) {
        const QString time = QStringLiteral("%1:%2")
                                 .arg(command.hour, 2, 10, QLatin1Char('0'))
                                 .arg(command.minute, 2, 10, QLatin1Char('0'));
        typed = CheckRequest({Kind::ArmAlarm, 0, time.toStdString(), task});
    }
    if (typed && (!typed->Ok() || !Same(typed->command, command))) {
        std::abort();
    }
    return 0;
}
