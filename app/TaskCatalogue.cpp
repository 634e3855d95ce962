// SPDX-License-Identifier: GPL-3.0-or-later
// The one table of the tasks a slot can run, and its look-up.
#include "app/TaskCatalogue.h"

#include "actions/PowerOff.h"

namespace {

// The power calls answer whether the system took them; a firing ignores that.
void Logoff() {
    LogoffSession();
}
void Reboot() {
    RebootComputer();
}
void Shutdown() {
    ShutdownComputer();
}

} // namespace

const std::array<TaskInfo, 9> kTaskCatalogue = {{
    {TaskKind::Remind, "remind", u"Просто напомнить", false, true, nullptr},
    {TaskKind::RemindText, "text", u"Напомнить с текстом", false, true, nullptr},
    {TaskKind::ScreenSaver, "screensaver", u"Запуск заставки", false, false, StartScreenSaver},
    {TaskKind::NoWindow, "hide", u"Не показывать окно", false, false, nullptr},
    {TaskKind::MonitorOff, "monitor-off", u"Выключить монитор", false, false, SwitchMonitorOff},
    {TaskKind::Sleep, "sleep", u"Спящий режим", true, false, SuspendComputer},
    {TaskKind::Logoff, "logoff", u"Завершение сеанса", true, false, Logoff},
    {TaskKind::Reboot, "reboot", u"Перезагрузить компьютер", true, false, Reboot},
    {TaskKind::Shutdown, "poweroff", u"Выключить компьютер", true, false, Shutdown},
}};

const TaskInfo &TaskOf(TaskKind kind) {
    switch (kind) {
    case TaskKind::Remind:
        return kTaskCatalogue[0];
    case TaskKind::RemindText:
        return kTaskCatalogue[1];
    case TaskKind::ScreenSaver:
        return kTaskCatalogue[2];
    case TaskKind::NoWindow:
        return kTaskCatalogue[3];
    case TaskKind::MonitorOff:
        return kTaskCatalogue[4];
    case TaskKind::Sleep:
        return kTaskCatalogue[5];
    case TaskKind::Logoff:
        return kTaskCatalogue[6];
    case TaskKind::Reboot:
        return kTaskCatalogue[7];
    case TaskKind::Shutdown:
        return kTaskCatalogue[8];
    }
    return kTaskCatalogue[0];
}
