// SPDX-License-Identifier: GPL-3.0-or-later
// Calls to desktop and system services over D-Bus, made only when the service is on the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QList>
#include <QString>
#include <QVariant>

namespace platform {

// Where a call goes: the service's bus name, the object and the interface.
struct DBusTarget {
    QString service;
    QString path;
    QString interface;
};

// Whether the service has an owner on the bus; false when the bus is not reachable.
bool ServicePresent(QDBusConnection &bus, const QString &service);

// The call and its reply, or an invalid message when the service is not on the bus (nothing is started on demand).
QDBusMessage CallService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                         const QList<QVariant> &arguments, int timeoutMs);

// The call sent without waiting for its reply, when the service is on the bus (nothing is started on demand); the
// pending reply, an error one when the service is not there.
QDBusPendingCall CallServiceAsync(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                                  const QList<QVariant> &arguments);

// True when the call had a normal reply.
bool Answered(const QDBusMessage &reply);

// The target's property through org.freedesktop.DBus.Properties.Get; an invalid QVariant when it cannot be read.
QVariant ServiceProperty(QDBusConnection &bus, const DBusTarget &target, const QString &property, int timeoutMs);

} // namespace platform
