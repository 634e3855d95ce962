// SPDX-License-Identifier: GPL-3.0-or-later
// Commands from the command line and the bus, carried out on the main window through its own controls.
#pragma once

#include "app/CommandLine.h"
#include "platform/Instance.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace Commands {

// Why the main window does not take the command now (nothing is changed then); empty when it does.
QString Refusal(const Command &command);

// Carries out a command the window takes, by clicking the controls a user would click, so the window's own
// checks, messages, warning and firing order apply.
void Apply(const Command &command);

// The one line --status prints and the bus's State holds:
// "state=stopped|armed|paused mode=alarm|countdown task=NAME [due=HH:MM] [left=MINUTES]", then
// " timer2-task=NAME [timer2-due=HH:MM] timer2-left=MINUTES" while the second countdown runs.
QString StatusLine();
// The exit code of --status for a state line: 0 armed or paused, 1 stopped.
int StatusCode(const QString &line);

// The running program's answer to a command line handed over by a later start or the bus: checked at once,
// carried out from the event loop (a click may open a modal window, which must not hold up the caller).
platform::CommandAnswer Take(const std::vector<std::string> &arguments);

// Calls changed() when the state line may have changed (armed, paused, stopped, fired, another mode or task).
void WatchState(const std::function<void()> &changed);

} // namespace Commands
