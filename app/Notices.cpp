// SPDX-License-Identifier: GPL-3.0-or-later
// The program's desktop notices: the warning's and a reminder's, with their "Отложить на 10 минут".
#include "app/Notices.h"

#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Clock.h"
#include "controls/TrayIcon.h"
#include "platform/Platform.h"

#include <optional>

namespace Notices {

namespace {

// The kind the tray's one balloon shows now, where the balloon carries the notices.
std::optional<platform::NoticeKind> balloonKind;

} // namespace

void Show(platform::NoticeKind kind, platform::Notice notice) {
    platform::Notifications &notifications = *platform::Current().notifications;
    if (notifications.ShowsActions()) {
        notifications.Show(kind, std::move(notice));
        return;
    }
    if (Form1 == nullptr || notice.actions.empty()) {
        return;
    }
    const platform::NoticeAction action = notice.actions.back();
    const QString text =
        QString::fromStdString(notice.text) +
        QStringLiteral("\nЩёлкните по этому сообщению: «%1».").arg(QString::fromStdString(action.label));
    balloonKind = kind;
    Form1->RxTrayIcon1->ShowBalloon(QString::fromStdString(notice.title), text, action.run);
}

void Withdraw(platform::NoticeKind kind) {
    platform::Notifications &notifications = *platform::Current().notifications;
    if (notifications.ShowsActions()) {
        notifications.Withdraw(kind);
        return;
    }
    // A balloon cannot be taken down; a late click on it does nothing.
    if (balloonKind == kind && Form1 != nullptr) {
        Form1->RxTrayIcon1->ForgetBalloon();
        balloonKind.reset();
    }
}

void Prepare() {
    platform::Current().notifications->Prepare();
}

void ShowReminder(TimerSlot slot, bool alarm, const QString &text) {
    const QString time = AppClock().WallNow().toString(QStringLiteral("HH:mm"));
    QString said = text.trimmed();
    if (said.isEmpty()) {
        said = alarm                      ? QStringLiteral("Будильник сработал в %1.").arg(time)
               : slot == TimerSlot::Slot1 ? QStringLiteral("Первый таймер сработал в %1.").arg(time)
                                          : QStringLiteral("Второй таймер сработал в %1.").arg(time);
    }
    platform::Notice notice;
    notice.title = "Zindrel";
    notice.text = said.toStdString();
    notice.urgent = true;
    notice.actions.push_back({"postpone", kPostponeLabel, [slot] { Form1->ArmSlotAgain(slot, kPostponeMinutes); }});
    Show(platform::NoticeKind::Reminder, std::move(notice));
}

} // namespace Notices
