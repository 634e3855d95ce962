// SPDX-License-Identifier: GPL-3.0-or-later
// The Display interface on Linux: the monitor's low-power state and the screen saver.
#include "platform/linux/LinuxDisplay.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/Report.h"
#include "platform/linux/XDisplayCalls.h"

#include <QDBusVariant>
#include <QProcess>
#include <QProcessEnvironment>
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

bool SessionCall(const DBusTarget &target, const QString &method, const QList<QVariant> &arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return Answered(CallService(bus, target, method, arguments, kTimeoutMs));
}

// Runs a compositor's tool to its end; true when it exited with 0.
bool RunTool(const QString &program, const QStringList &arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        return false;
    }
    QProcessEnvironment environment;
    for (const std::string &entry : UserEnvironment()) {
        const auto equals = entry.find('=');
        environment.insert(QString::fromStdString(entry.substr(0, equals)),
                           QString::fromStdString(entry.substr(equals + 1)));
    }
    QProcess process;
    // A Qt tool (kscreen-doctor) would otherwise start on this program's display choice, not the session's.
    process.setProcessEnvironment(environment);
    process.start(path, arguments);
    if (!process.waitForFinished(kTimeoutMs)) {
        process.kill();
        process.waitForFinished(kTimeoutMs);
        return false;
    }
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// GNOME: Mutter's PowerSaveMode (0 on, 1 standby, 2 suspend, 3 off, -1 unsupported). 3 is what GNOME itself sets
// to blank the screen; Mutter on Wayland treats 1 to 3 alike, on X it forces that DPMS level. The desktop switches
// the monitor back on at the next input.
bool MutterPowerSave() {
    const DBusTarget config{QStringLiteral("org.gnome.Mutter.DisplayConfig"),
                            QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
                            QStringLiteral("org.gnome.Mutter.DisplayConfig")};
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QVariant mode = ServiceProperty(bus, config, QStringLiteral("PowerSaveMode"), kTimeoutMs);
    // Mutter asks its clients not to change the mode from -1: it has no way to switch this monitor off.
    if (!mode.isValid() || mode.toInt() == -1) {
        return false;
    }
    return SessionCall({config.service, config.path, QStringLiteral("org.freedesktop.DBus.Properties")},
                       QStringLiteral("Set"),
                       {config.interface,                            // interface_name
                        QStringLiteral("PowerSaveMode"),             // property_name
                        QVariant::fromValue(QDBusVariant(int{3}))}); // value: int32 mode, 3 = off
}

// KDE Plasma: PowerDevil's own "Turn Off Screen" action, on X11 and Wayland alike; it wakes the screen at the
// next input.
bool PowerDevilScreenOff() {
    return SessionCall({QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/component/org_kde_powerdevil"),
                        QStringLiteral("org.kde.kglobalaccel.Component")},
                       QStringLiteral("invokeShortcut"), {QStringLiteral("Turn Off Screen")}); // shortcut name
}

// sway's output command for the power state: "power" since sway 1.8, "dpms" before (Debian 12 has 1.7).
bool SwayPowerOff(std::string &on) {
    if (!EnvSet("SWAYSOCK")) {
        return false;
    }
    for (const char *word : {"power", "dpms"}) {
        if (RunTool(QStringLiteral("swaymsg"), {QStringLiteral("output * %1 off").arg(QLatin1String(word))})) {
            on = std::string("swaymsg 'output * ") + word + " on'";
            return true;
        }
    }
    return false;
}

// wlroots compositors (sway and others) keep a powered-off output dark until told otherwise, so the monitor is
// switched off only when swayidle can switch it back on at the user's next input, after which swayidle ends.
bool WlrootsPowerOff() {
    const QString swayidle = QStandardPaths::findExecutable(QStringLiteral("swayidle"));
    if (swayidle.isEmpty()) {
        return false;
    }
    std::string on;
    if (!SwayPowerOff(on)) {
        if (!RunTool(QStringLiteral("wlopm"), {QStringLiteral("--off"), QStringLiteral("*")})) {
            return false;
        }
        on = "wlopm --on '*'";
    }
    // -w makes swayidle run each command as its own child, so $PPID in the resume command is swayidle itself;
    // "timeout 1" arms the resume for the first input after a second of quiet.
    if (!SpawnDetached(
            {swayidle.toStdString(), "-w", "timeout", "1", "true", "resume", on + " >/dev/null; kill $PPID"})) {
        ReportUnreachable("monitor off: swayidle did not start, the monitor stays dark until " + on);
    }
    return true;
}

void WaylandLowPower() {
    if (RunTool(QStringLiteral("kscreen-doctor"), {QStringLiteral("--dpms"), QStringLiteral("off")})) {
        return;
    }
    if (WlrootsPowerOff()) {
        return;
    }
    ReportUnreachable("monitor off: the Wayland compositor offers no way to switch the monitor off and on again");
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
    if (MutterPowerSave() || PowerDevilScreenOff()) {
        return;
    }
    if (IsWaylandSession()) {
        WaylandLowPower();
    } else {
        DpmsLowPower(x_);
    }
}

void LinuxDisplay::StartScreenSaver() {
    const QString freedesktop = QStringLiteral("org.freedesktop.ScreenSaver");
    // Each desktop's own saver first; the freedesktop one is published under either path. SetActive(true) starts
    // the saver now.
    const DBusTarget savers[] = {
        {QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver"),
         QStringLiteral("org.gnome.ScreenSaver")},
        {QStringLiteral("org.mate.ScreenSaver"), QStringLiteral("/org/mate/ScreenSaver"),
         QStringLiteral("org.mate.ScreenSaver")},
        {QStringLiteral("org.cinnamon.ScreenSaver"), QStringLiteral("/org/cinnamon/ScreenSaver"),
         QStringLiteral("org.cinnamon.ScreenSaver")},
        {QStringLiteral("org.xfce.ScreenSaver"), QStringLiteral("/org/xfce/ScreenSaver"),
         QStringLiteral("org.xfce.ScreenSaver")},
        {freedesktop, QStringLiteral("/org/freedesktop/ScreenSaver"), freedesktop},
        {freedesktop, QStringLiteral("/ScreenSaver"), freedesktop},
    };
    for (const DBusTarget &saver : savers) {
        if (SessionCall(saver, QStringLiteral("SetActive"), {true})) {
            return;
        }
    }
    XScreenSaverOn(x_);
}

} // namespace platform
