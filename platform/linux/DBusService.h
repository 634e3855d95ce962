// SPDX-License-Identifier: GPL-3.0-or-later
// Calls to desktop and system services over D-Bus, made only when the service is on the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>

class QObject;

namespace platform {

// Whether a call may start a service that is not running. Desktop services that are meant to start on first use
// (the portal, the notification server) may; the rest are asked only while they run.
enum class Activation { Never, OnDemand };

// Where a call goes: the service's bus name, the object and the interface.
struct DBusTarget {
    QString service;
    QString path;
    QString interface;
    Activation activation = Activation::Never;
};

// Whether the service has an owner on the bus; false when the bus is not reachable.
bool ServicePresent(QDBusConnection &bus, const QString &service);

// The call and its reply, or an invalid message when the service is not on the bus and may not be started.
QDBusMessage CallService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                         const QList<QVariant> &arguments, int timeoutMs);

// The call sent without waiting for anything; a service that is not on the bus and may not be started answers
// with the bus's error. timeoutMs -1 is the bus's own default.
QDBusPendingCall CallServiceAsync(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                                  const QList<QVariant> &arguments, int timeoutMs = -1);

// A call whose method is declared without a reply, or whose reply is not wanted: true when it was queued.
bool SendToService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                   const QList<QVariant> &arguments);

// Hands the reply of the call, or the error in its place, to then on context's thread, unless context is gone;
// without a context, on the calling thread whenever it comes.
void OnReply(const QDBusPendingCall &call, QObject *context, std::function<void(const QDBusMessage &)> then);

// True when the call had a normal reply.
bool Answered(const QDBusMessage &reply);

// The target's property through org.freedesktop.DBus.Properties.Get; an invalid QVariant when it cannot be read.
QVariant ServiceProperty(QDBusConnection &bus, const DBusTarget &target, const QString &property, int timeoutMs);

// The same read sent without waiting; PropertyOf gives the value from its reply.
QDBusPendingCall ServicePropertyAsync(QDBusConnection &bus, const DBusTarget &target, const QString &property,
                                      int timeoutMs);

// The value in a Properties.Get reply; invalid for an error or no reply.
QVariant PropertyOf(const QDBusMessage &reply);

} // namespace platform
