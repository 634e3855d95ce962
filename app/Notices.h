// SPDX-License-Identifier: GPL-3.0-or-later
// The program's desktop notices: the warning's and a reminder's, with their "Отложить на 10 минут".
#pragma once

#include "app/TaskKind.h"
#include "platform/Notifications.h"

#include <QString>

namespace Notices {

// How long a postponement from a notice puts the task off.
constexpr int kPostponeMinutes = 10;
// The label of that action.
inline constexpr char kPostponeLabel[] = "Отложить на 10 минут";

// Shows the notice through the desktop. Where the desktop shows no buttons, the tray icon's balloon carries it:
// a click on the balloon runs the notice's last action, and the text says so.
void Show(platform::NoticeKind kind, platform::Notice notice);
void Withdraw(platform::NoticeKind kind);
// A run was armed: its firing may show a notice.
void Prepare();

// The reminder's notice for a slot that fired: its text where one is written, else which slot fell due; its
// action arms the slot again kPostponeMinutes from now.
void ShowReminder(TimerSlot slot, bool alarm, const QString &text);

} // namespace Notices
