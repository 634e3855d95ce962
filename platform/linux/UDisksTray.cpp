// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the disc tray through udisks2 on the system bus, after unmounting the disc's file systems.
#include "platform/linux/UDisksTray.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

#include <memory>
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

// Sends the call on the system bus and hands its reply, or the error in its place, to then.
void CallLater(const DBusTarget &target, const QString &method, const QList<QVariant> &arguments, int timeoutMs,
               QObject *context, std::function<void(const QDBusMessage &)> then) {
    QDBusConnection bus = QDBusConnection::systemBus();
    OnReply(CallServiceAsync(bus, target, method, arguments, timeoutMs), context, std::move(then));
}

// One opening under way: the drive, the file systems still to unmount, and whom to tell at the end.
struct Opening {
    QString drive;
    QStringList mounted;
    QObject *context;
    std::function<void(bool)> done;
};

// A mounted disc keeps the tray locked: each file system is unmounted in turn, then the drive ejected.
void UnmountThenEject(const std::shared_ptr<Opening> &opening) {
    const QVariant noOptions = QVariant::fromValue(QVariantMap());
    if (opening->mounted.isEmpty()) {
        // Eject(options)
        CallLater({kService, opening->drive, kDrive}, QStringLiteral("Eject"), {noOptions}, kActionTimeoutMs,
                  opening->context, [opening](const QDBusMessage &ejected) {
                      if (!Answered(ejected)) {
                          ReportUnreachable("the CD-ROM tray did not open: " + ejected.errorMessage().toStdString());
                      }
                      opening->done(true);
                  });
        return;
    }
    const QString filesystem = opening->mounted.takeFirst();
    // Unmount(options)
    CallLater({kService, filesystem, kFilesystem}, QStringLiteral("Unmount"), {noOptions}, kActionTimeoutMs,
              opening->context, [opening, filesystem](const QDBusMessage &unmounted) {
                  if (!Answered(unmounted)) {
                      ReportUnreachable("the CD-ROM tray did not open: " + filesystem.toStdString() +
                                        " stays mounted: " + unmounted.errorMessage().toStdString());
                      opening->done(true);
                      return;
                  }
                  UnmountThenEject(opening);
              });
}

} // namespace

void UDisksTray::Open(QObject *context, std::function<void(bool asked)> done) {
    // GetManagedObjects() -> a{oa{sa{sv}}}
    CallLater(
        {kService, QStringLiteral("/org/freedesktop/UDisks2"), QStringLiteral("org.freedesktop.DBus.ObjectManager")},
        QStringLiteral("GetManagedObjects"), {}, kQueryTimeoutMs, context,
        [context, done = std::move(done)](const QDBusMessage &reply) {
            if (!Answered(reply) || reply.arguments().isEmpty()) {
                done(false);
                return;
            }
            const auto objects = qdbus_cast<ManagedObjects>(reply.arguments().constFirst());
            const QString drive = OpticalDrive(objects);
            if (drive.isEmpty()) {
                done(false);
                return;
            }
            UnmountThenEject(std::make_shared<Opening>(
                Opening{drive, MountedFilesystems(objects, drive), context, std::move(done)}));
        });
}

} // namespace platform
