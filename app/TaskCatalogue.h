// SPDX-License-Identifier: GPL-3.0-or-later
// The one table of the tasks a slot can run: kind, option name, caption, what it does to the machine.
#pragma once

#include "app/TaskKind.h"

#include <array>

struct TaskInfo {
    TaskKind kind;
    // The name --do and the bus take, and the status line prints.
    const char *option;
    // The caption of its choice in "Операции" and in the second timer's dialog.
    const char16_t *caption;
    // Log-off, sleep, restart, shut-down: the main window closes after it, the warning may count before it.
    bool powersDown;
    // Whether a person sees it happen: the window back or the text. The alarm clock wakes a sleeping machine for it.
    bool showsSomething;
    // What it does to the system, for the tasks that are one call; the window's tasks have none.
    void (*run)();
};

// In the order of the "Операции" group, top to bottom.
extern const std::array<TaskInfo, 9> kTaskCatalogue;

const TaskInfo &TaskOf(TaskKind kind);
