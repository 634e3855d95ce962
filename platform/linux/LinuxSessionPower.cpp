// SPDX-License-Identifier: GPL-3.0-or-later
// The SessionPower interface on Linux: logind on the system bus, the desktop's session manager on the session bus.
#include "platform/linux/LinuxSessionPower.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QDBusObjectPath>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const DBusTarget kLogindManager{kLogind, QStringLiteral("/org/freedesktop/login1"),
                                QStringLiteral("org.freedesktop.login1.Manager")};
// An interactive request may wait for the user to answer polkit's authentication dialog.
constexpr int kInteractiveTimeoutMs = 120000;
// A session manager or a look-up that takes longer than this to answer is treated as absent.
constexpr int kAnswerTimeoutMs = 10000;

// The reply of a logind call; an error or an unreachable logind leaves the one stderr line.
QDBusMessage LogindCall(const QString &method, const QList<QVariant> &arguments, const std::string &what) {
    QDBusConnection bus = QDBusConnection::systemBus();
    const QDBusMessage reply = CallService(bus, kLogindManager, method, arguments, kInteractiveTimeoutMs);
    if (reply.type() == QDBusMessage::InvalidMessage) {
        ReportUnreachable(what + ": logind is not on the system bus");
    } else if (!Answered(reply)) {
        ReportUnreachable(what + " (logind " + method.toStdString() + "): " + reply.errorMessage().toStdString());
    }
    return reply;
}

struct SessionManager {
    DBusTarget target;
    QString method;
    QList<QVariant> arguments;
    // The method is declared without a reply: sending it is all there is to wait for.
    bool noReply = false;
};

// True when one of the desktops' session managers present on the session bus accepted the log-off. None of them
// is asked to force: running programs may save their work or hold the log-off up.
bool SessionManagerLogout() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return false;
    }
    const QVariant noDialog = QVariant::fromValue(std::uint32_t{1});
    const SessionManager managers[] = {
        // GNOME, Cinnamon and MATE: Logout(mode 1 = without the confirmation dialog; 2 would force).
        {{QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
          QStringLiteral("org.gnome.SessionManager")},
         QStringLiteral("Logout"),
         {noDialog}},
        {{QStringLiteral("org.cinnamon.SessionManager"), QStringLiteral("/org/cinnamon/SessionManager"),
          QStringLiteral("org.cinnamon.SessionManager")},
         QStringLiteral("Logout"),
         {noDialog}},
        {{QStringLiteral("org.mate.SessionManager"), QStringLiteral("/org/mate/SessionManager"),
          QStringLiteral("org.mate.SessionManager")},
         QStringLiteral("Logout"),
         {noDialog}},
        // Plasma 5.25 and later: log out without asking.
        {{QStringLiteral("org.kde.Shutdown"), QStringLiteral("/Shutdown"), QStringLiteral("org.kde.Shutdown")},
         QStringLiteral("logout"),
         {}},
        // Older Plasma: confirm = 0 (no dialog), type = 0 (log out), mode = 0 (the default).
        {{QStringLiteral("org.kde.ksmserver"), QStringLiteral("/KSMServer"),
          QStringLiteral("org.kde.KSMServerInterface")},
         QStringLiteral("logout"),
         {QVariant::fromValue(0), QVariant::fromValue(0), QVariant::fromValue(0)}},
        // Xfce: show_dialog = false, allow_save = true (running programs may save their state).
        {{QStringLiteral("org.xfce.SessionManager"), QStringLiteral("/org/xfce/SessionManager"),
          QStringLiteral("org.xfce.Session.Manager")},
         QStringLiteral("Logout"),
         {QVariant::fromValue(false), QVariant::fromValue(true)}},
        // LXQt: logout() asks the session's programs to quit; it sends no reply.
        {{QStringLiteral("org.lxqt.session"), QStringLiteral("/LXQtSession"), QStringLiteral("org.lxqt.session")},
         QStringLiteral("logout"),
         {},
         true},
    };
    for (const SessionManager &manager : managers) {
        if (!ServicePresent(bus, manager.target.service)) {
            continue;
        }
        const std::string what = "log-off through " + manager.target.service.toStdString();
        if (manager.noReply) {
            // The bus answers in order: once it has answered the look-up, it has the log-off too.
            if (SendToService(bus, manager.target, manager.method, manager.arguments) &&
                ServicePresent(bus, manager.target.service)) {
                return true;
            }
            ReportUnreachable(what + ": " + bus.lastError().message().toStdString());
            continue;
        }
        const QDBusMessage reply =
            CallService(bus, manager.target, manager.method, manager.arguments, kAnswerTimeoutMs);
        if (Answered(reply)) {
            return true;
        }
        ReportUnreachable(what + ": " + reply.errorMessage().toStdString());
    }
    return false;
}

// This program's login session: $XDG_SESSION_ID, else the session logind finds this process in, else (for a
// program the user's service manager started, which runs in no session) the user's display session. Empty when
// none is known.
QString LoginSession() {
    const char *session = std::getenv("XDG_SESSION_ID");
    if (session != nullptr && *session != '\0') {
        return QString::fromLocal8Bit(session);
    }
    QDBusConnection bus = QDBusConnection::systemBus();
    const std::pair<QString, QVariant> lookups[] = {
        // GetSessionByPID(pid) -> the session's object path
        {QStringLiteral("GetSessionByPID"), QVariant::fromValue(static_cast<std::uint32_t>(::getpid()))},
        // GetSession(session_id): "auto" is the caller's session or its user's display session
        {QStringLiteral("GetSession"), QStringLiteral("auto")},
    };
    for (const auto &[method, argument] : lookups) {
        const QDBusMessage reply = CallService(bus, kLogindManager, method, {argument}, kAnswerTimeoutMs);
        if (!Answered(reply) || reply.arguments().isEmpty()) {
            continue;
        }
        // The session's Id is what TerminateSession takes.
        const DBusTarget object{kLogind, reply.arguments().constFirst().value<QDBusObjectPath>().path(),
                                QStringLiteral("org.freedesktop.login1.Session")};
        const QString id = ServiceProperty(bus, object, QStringLiteral("Id"), kAnswerTimeoutMs).toString();
        if (!id.isEmpty()) {
            return id;
        }
    }
    return {};
}

} // namespace

bool LinuxSessionPower::LogOff() {
    if (SessionManagerLogout()) {
        return true;
    }
    const QString session = LoginSession();
    if (session.isEmpty()) {
        ReportUnreachable("log-off: no session manager answered and this program's login session is unknown");
        return false;
    }
    // session_id = this login session.
    if (!Answered(LogindCall(QStringLiteral("TerminateSession"), {session}, "log-off"))) {
        return false;
    }
    ReportUnreachable("log-off: no session manager answered, so logind ends session " + session.toStdString() +
                      " and its programs without asking them to save their work");
    return true;
}

bool LinuxSessionPower::PowerOff() {
    // interactive = true: polkit may ask the user for permission.
    return Answered(LogindCall(QStringLiteral("PowerOff"), {true}, "power-off"));
}

bool LinuxSessionPower::Reboot() {
    // interactive = true.
    return Answered(LogindCall(QStringLiteral("Reboot"), {true}, "restart"));
}

bool LinuxSessionPower::Suspend() {
    // interactive = true.
    return Answered(LogindCall(QStringLiteral("Suspend"), {true}, "suspend"));
}

} // namespace platform
