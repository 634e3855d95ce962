// SPDX-License-Identifier: GPL-3.0-or-later
// Calls to desktop and system services over D-Bus, made only when the service is on the bus.
#include "platform/linux/DBusService.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace platform {

bool ServicePresent(QDBusConnection &bus, const QString &service) {
    return bus.isConnected() && bus.interface() != nullptr && bus.interface()->isServiceRegistered(service).value();
}

namespace {

QDBusMessage MethodCall(const DBusTarget &target, const QString &method, const QList<QVariant> &arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(target.service, target.path, target.interface, method);
    message.setArguments(arguments);
    // A service that is not running, or has gone away in between, is not started through D-Bus activation.
    message.setAutoStartService(target.activation == Activation::OnDemand);
    return message;
}

DBusTarget PropertiesOf(const DBusTarget &target) {
    return {target.service, target.path, QStringLiteral("org.freedesktop.DBus.Properties"), target.activation};
}

} // namespace

QDBusMessage CallService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                         const QList<QVariant> &arguments, int timeoutMs) {
    if (target.activation == Activation::Never && !ServicePresent(bus, target.service)) {
        return {};
    }
    return bus.call(MethodCall(target, method, arguments), QDBus::Block, timeoutMs);
}

QDBusPendingCall CallServiceAsync(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                                  const QList<QVariant> &arguments, int timeoutMs) {
    return bus.asyncCall(MethodCall(target, method, arguments), timeoutMs);
}

bool SendToService(QDBusConnection &bus, const DBusTarget &target, const QString &method,
                   const QList<QVariant> &arguments) {
    return bus.send(MethodCall(target, method, arguments));
}

void OnReply(const QDBusPendingCall &call, QObject *context, std::function<void(const QDBusMessage &)> then) {
    auto *watcher = new QDBusPendingCallWatcher(call, context);
    QObject *receiver = context != nullptr ? context : watcher;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, receiver, [watcher, then = std::move(then)] {
        watcher->deleteLater();
        then(watcher->reply());
    });
}

bool Answered(const QDBusMessage &reply) {
    return reply.type() == QDBusMessage::ReplyMessage;
}

QVariant ServiceProperty(QDBusConnection &bus, const DBusTarget &target, const QString &property, int timeoutMs) {
    // Get(interface name, property name) -> v
    return PropertyOf(
        CallService(bus, PropertiesOf(target), QStringLiteral("Get"), {target.interface, property}, timeoutMs));
}

QDBusPendingCall ServicePropertyAsync(QDBusConnection &bus, const DBusTarget &target, const QString &property,
                                      int timeoutMs) {
    return CallServiceAsync(bus, PropertiesOf(target), QStringLiteral("Get"), {target.interface, property}, timeoutMs);
}

QVariant PropertyOf(const QDBusMessage &reply) {
    if (!Answered(reply) || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

} // namespace platform
