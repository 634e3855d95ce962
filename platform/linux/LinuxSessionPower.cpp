// SPDX-License-Identifier: GPL-3.0-or-later
// The SessionPower interface on Linux: logind on the system bus, the desktop's session manager on the session bus.
#include "platform/linux/LinuxSessionPower.h"

#include "platform/linux/Report.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");
// An interactive request may wait for the user to answer polkit's authentication dialog.
constexpr int kInteractiveTimeoutMs = 120000;
// A session manager that takes longer than this to answer is treated as absent.
constexpr int kSessionManagerTimeoutMs = 10000;

bool Connected(QDBusConnection &bus) {
    return bus.isConnected() && bus.interface() != nullptr;
}

// Sends the call and waits for its reply; true for a normal reply, else the one stderr line.
bool CallAndReport(QDBusConnection &bus, const QDBusMessage &message, int timeoutMs, const std::string &what) {
    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return true;
    }
    ReportUnreachable(what + ": " + reply.errorMessage().toStdString());
    return false;
}

bool LogindCall(const QString &method, const QList<QVariant> &arguments, const std::string &what) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!Connected(bus)) {
        ReportUnreachable(what + ": the system bus is not reachable");
        return false;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kLogind, kLogindPath, kLogindManager, method);
    message.setArguments(arguments);
    return CallAndReport(bus, message, kInteractiveTimeoutMs, what + " (logind " + method.toStdString() + ")");
}

struct SessionManager {
    const char *service;
    const char *path;
    const char *interface;
    const char *method;
    QList<QVariant> arguments;
};

// True when one of the desktops' session managers present on the session bus accepted the log-off.
bool SessionManagerLogout() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!Connected(bus)) {
        return false;
    }
    const SessionManager managers[] = {
        // GNOME: mode 1 = log out without the confirmation dialog.
        {"org.gnome.SessionManager",
         "/org/gnome/SessionManager",
         "org.gnome.SessionManager",
         "Logout",
         {QVariant::fromValue(std::uint32_t{1})}},
        // Plasma 5.25 and later: log out without asking.
        {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logout", {}},
        // Older Plasma: confirm = 0 (no dialog), type = 0 (log out), mode = 0 (the default).
        {"org.kde.ksmserver",
         "/KSMServer",
         "org.kde.KSMServerInterface",
         "logout",
         {QVariant::fromValue(0), QVariant::fromValue(0), QVariant::fromValue(0)}},
        // Xfce: show_dialog = false, allow_save = true (running programs may save their state).
        {"org.xfce.SessionManager",
         "/org/xfce/SessionManager",
         "org.xfce.Session.Manager",
         "Logout",
         {QVariant::fromValue(false), QVariant::fromValue(true)}},
    };
    for (const SessionManager &manager : managers) {
        const QString service = QString::fromLatin1(manager.service);
        if (!bus.interface()->isServiceRegistered(service).value()) {
            continue;
        }
        QDBusMessage message =
            QDBusMessage::createMethodCall(service, QString::fromLatin1(manager.path),
                                           QString::fromLatin1(manager.interface), QString::fromLatin1(manager.method));
        message.setArguments(manager.arguments);
        if (CallAndReport(bus, message, kSessionManagerTimeoutMs, std::string("log-off through ") + manager.service)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool LinuxSessionPower::LogOff() {
    if (SessionManagerLogout()) {
        return true;
    }
    const char *session = std::getenv("XDG_SESSION_ID");
    if (session == nullptr || *session == '\0') {
        ReportUnreachable("log-off: no session manager answered and XDG_SESSION_ID is not set");
        return false;
    }
    // session_id = this login session.
    return LogindCall(QStringLiteral("TerminateSession"), {QString::fromLocal8Bit(session)}, "log-off");
}

bool LinuxSessionPower::PowerOff() {
    // interactive = true: polkit may ask the user for permission.
    return LogindCall(QStringLiteral("PowerOff"), {true}, "power-off");
}

bool LinuxSessionPower::Reboot() {
    // interactive = true.
    return LogindCall(QStringLiteral("Reboot"), {true}, "restart");
}

bool LinuxSessionPower::Suspend() {
    // interactive = true.
    return LogindCall(QStringLiteral("Suspend"), {true}, "suspend");
}

} // namespace platform
