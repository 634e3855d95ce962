// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the one parser of the options and bus arguments: arguments are the input's lines. A command it takes
// must come back unchanged from the options it is handed on as; one it refuses must say why.
#include "app/CommandLine.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>

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
    const ParsedCommand again = ParseCommand(command.Arguments());
    if (!again.Ok() || !Same(again.command, command)) {
        std::abort();
    }
    return 0;
}
