// SPDX-License-Identifier: GPL-3.0-or-later
// Commands from the command line and the bus, carried out through the main window's run.
#pragma once

#include "app/CommandLine.h"
#include "platform/Instance.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace Commands {

// Why the run does not take the command now (nothing is changed then); empty when it does. While the warning
// counts, only what the warning's own buttons allow goes through: cancel does what its "Отмена" does.
QString Refusal(const Command &command);

// The one line --status prints and the bus's State holds:
// "state=stopped|armed|paused|warning mode=alarm|countdown task=NAME [due=HH:MM] [left=MINUTES]", then
// " timer2-task=NAME [timer2-due=HH:MM] timer2-left=MINUTES" while the second countdown runs. While the warning
// counts, task is the task it will run and due its time, HH:MM:SS.
QString StatusLine();
// The exit code of --status for a state line: 0 armed, paused or the warning counting, 1 stopped.
int StatusCode(const QString &line);

// The running program's answer to a command: carried out or refused by the time it returns.
platform::CommandAnswer Take(const Command &command);
// A command line handed over by a later start: parsed, then taken.
platform::CommandAnswer TakeArguments(const std::vector<std::string> &arguments);
// A command from the bus's typed methods: checked as the same options would be, then taken.
platform::CommandAnswer TakeRequest(const platform::CommandRequest &request);

// Calls changed() at every change of the run (armed, paused, stopped, fired, another mode or task, the warning).
void WatchState(const std::function<void()> &changed);

} // namespace Commands
