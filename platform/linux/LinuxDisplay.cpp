// SPDX-License-Identifier: GPL-3.0-or-later
// The Display interface on Linux: the monitor's low-power state and the screen saver.
#include "platform/linux/LinuxDisplay.h"

#include "platform/linux/Report.h"
#include "platform/linux/XDisplayCalls.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

namespace {

// A desktop service or tool that does not answer within this time is left alone.
constexpr int kTimeoutMs = 5000;

bool EnvSet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The call on the session bus, when its service is there; true for a normal reply.
bool SessionCall(const QString &service, const QString &path, const QString &interface, const QString &method,
                 const QList<QVariant> &arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr || !bus.interface()->isServiceRegistered(service).value()) {
        return false;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, kTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

// Runs a compositor's tool to its end; true when it exited with 0.
bool RunTool(const QString &program, const QStringList &arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        return false;
    }
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished(kTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void WaylandLowPower() {
    // GNOME: PowerSaveMode 1 = standby, the same low-power level as on X.
    if (SessionCall(QStringLiteral("org.gnome.Mutter.DisplayConfig"), QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                    {QStringLiteral("org.gnome.Mutter.DisplayConfig"), // interface_name
                     QStringLiteral("PowerSaveMode"),                  // property_name
                     QVariant::fromValue(QDBusVariant(1))})) {         // value: int32 mode
        return;
    }
    if (RunTool(QStringLiteral("kscreen-doctor"), {QStringLiteral("--dpms"), QStringLiteral("off")})) {
        return;
    }
    if (RunTool(QStringLiteral("wlopm"), {QStringLiteral("--off"), QStringLiteral("*")})) {
        return;
    }
    ReportUnreachable("monitor off: the Wayland compositor offers no way to switch the monitor off");
}

} // namespace

bool IsWaylandSession() {
    const char *type = std::getenv("XDG_SESSION_TYPE");
    if (type != nullptr && std::strcmp(type, "wayland") == 0) {
        return true;
    }
    return EnvSet("WAYLAND_DISPLAY") && !EnvSet("DISPLAY");
}

LinuxDisplay::LinuxDisplay() : x_(RealXDisplayCalls()) {}

void LinuxDisplay::MonitorLowPower() {
    if (IsWaylandSession()) {
        WaylandLowPower();
    } else {
        DpmsLowPower(x_);
    }
}

void LinuxDisplay::StartScreenSaver() {
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    // The desktops publish it under either path; SetActive(true) = activate now.
    for (const QString &path : {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")}) {
        if (SessionCall(service, path, service, QStringLiteral("SetActive"), {true})) {
            return;
        }
    }
    XScreenSaverOn(x_);
}

} // namespace platform
