// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the disc tray through udisks2 on the system bus, after unmounting the disc's file systems.
#include "platform/linux/UDisksTray.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

#include <string>

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kDrive = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kBlock = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystem = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
constexpr int kQueryTimeoutMs = 10000;
// An unmount may wait for polkit's authentication dialog or for a busy file system, the eject for the tray.
constexpr int kActionTimeoutMs = 120000;

// Object path -> interface -> property -> value, as org.freedesktop.DBus.ObjectManager.GetManagedObjects gives it.
using ManagedObjects = QMap<QDBusObjectPath, QMap<QString, QVariantMap>>;

// The first drive, in path order, that takes optical media and can eject.
QString OpticalDrive(const ManagedObjects &objects) {
    for (auto object = objects.cbegin(); object != objects.cend(); ++object) {
        const QVariantMap drive = object.value().value(kDrive);
        if (!drive.value(QStringLiteral("Ejectable")).toBool()) {
            continue;
        }
        for (const QString &media : drive.value(QStringLiteral("MediaCompatibility")).toStringList()) {
            if (media.startsWith(QLatin1String("optical"))) {
                return object.key().path();
            }
        }
    }
    return {};
}

// The file systems on the drive that are mounted somewhere.
QStringList MountedFilesystems(const ManagedObjects &objects, const QString &drive) {
    QStringList mounted;
    for (auto object = objects.cbegin(); object != objects.cend(); ++object) {
        const QVariantMap block = object.value().value(kBlock);
        if (block.value(QStringLiteral("Drive")).value<QDBusObjectPath>().path() != drive ||
            !object.value().contains(kFilesystem)) {
            continue;
        }
        const QVariant mountPoints = object.value().value(kFilesystem).value(QStringLiteral("MountPoints"));
        if (!qdbus_cast<QList<QByteArray>>(mountPoints).isEmpty()) {
            mounted.append(object.key().path());
        }
    }
    return mounted;
}

} // namespace

bool UDisksTray::Open() {
    QDBusConnection bus = QDBusConnection::systemBus();
    const QDBusMessage reply = CallService(
        bus,
        {kService, QStringLiteral("/org/freedesktop/UDisks2"), QStringLiteral("org.freedesktop.DBus.ObjectManager")},
        QStringLiteral("GetManagedObjects"), {}, kQueryTimeoutMs);
    if (!Answered(reply) || reply.arguments().isEmpty()) {
        return false;
    }
    const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().constFirst());
    const QString drive = OpticalDrive(objects);
    if (drive.isEmpty()) {
        return false;
    }
    // A mounted disc keeps the tray locked.
    const QVariant noOptions = QVariant::fromValue(QVariantMap());
    for (const QString &filesystem : MountedFilesystems(objects, drive)) {
        // Unmount(options)
        const QDBusMessage unmounted = CallService(bus, {kService, filesystem, kFilesystem}, QStringLiteral("Unmount"),
                                                   {noOptions}, kActionTimeoutMs);
        if (!Answered(unmounted)) {
            ReportUnreachable("the CD-ROM tray did not open: " + filesystem.toStdString() +
                              " stays mounted: " + unmounted.errorMessage().toStdString());
            return true;
        }
    }
    // Eject(options)
    const QDBusMessage ejected =
        CallService(bus, {kService, drive, kDrive}, QStringLiteral("Eject"), {noOptions}, kActionTimeoutMs);
    if (!Answered(ejected)) {
        ReportUnreachable("the CD-ROM tray did not open: " + ejected.errorMessage().toStdString());
    }
    return true;
}

} // namespace platform
