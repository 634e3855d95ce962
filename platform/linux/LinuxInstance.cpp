// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session on Linux: a well-known name on the session bus and its introspectable interface.
#include "platform/linux/LinuxInstance.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QThread>

#include <cstdio>

namespace platform {

namespace {

// The error names of a refused call; a bad argument is the bus's own InvalidArgs.
const QString kRefusedError = QStringLiteral(ZINDREL_APPLICATION_ID ".Error.Refused");
const QString kInvalidError = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
// A program that is starting answers once its event loop runs; one that is quitting has taken its object away.
constexpr int kProbeTimeoutMs = 5000;
// How long a start waits for a quitting program's name to go, and how often it asks for it meanwhile.
constexpr int kGoingWaitMs = 5000;
constexpr int kGoingPauseMs = 100;

std::vector<std::string> Utf8(const QStringList &list) {
    std::vector<std::string> out;
    for (const QString &item : list) {
        out.push_back(item.toStdString());
    }
    return out;
}

} // namespace

QString InstanceService() {
    return QString::fromLatin1(kApplicationId);
}

QString InstancePath() {
    return QLatin1Char('/') + InstanceService().replace(QLatin1Char('.'), QLatin1Char('/'));
}

QString InstanceObject::State() const {
    const QString state = handler.state ? QString::fromStdString(handler.state()) : QString();
    // No state: the program is on its way out. The read fails, so a start that probes it waits for the name to go.
    if (state.isEmpty() && calledFromDBus()) {
        sendErrorReply(kRefusedError, QStringLiteral("the program is quitting"));
    }
    return state;
}

QString InstanceObject::Reply(const CommandAnswer &answer) {
    const QString text = QString::fromStdString(answer.text);
    if (answer.code == CommandInvalid) {
        sendErrorReply(kInvalidError, text);
    } else if (answer.code != CommandDone) {
        sendErrorReply(kRefusedError, text);
    }
    return text;
}

void InstanceObject::Run(CommandRequest request) {
    if (!handler.request) {
        sendErrorReply(kRefusedError, QStringLiteral("the program is starting"));
        return;
    }
    Reply(handler.request(request));
}

void InstanceObject::ArmCountdown(int minutes, const QString &task) {
    Run({CommandRequest::Kind::ArmCountdown, minutes, {}, task.toStdString()});
}

void InstanceObject::ArmAlarm(const QString &time, const QString &task) {
    Run({CommandRequest::Kind::ArmAlarm, 0, time.toStdString(), task.toStdString()});
}

void InstanceObject::Cancel() {
    Run({CommandRequest::Kind::Cancel, 0, {}, {}});
}

void InstanceObject::Pause() {
    Run({CommandRequest::Kind::Pause, 0, {}, {}});
}

void InstanceObject::Resume() {
    Run({CommandRequest::Kind::Resume, 0, {}, {}});
}

void InstanceObject::Postpone(int minutes) {
    Run({CommandRequest::Kind::Postpone, minutes, {}, {}});
}

void InstanceObject::Show() {
    Run({CommandRequest::Kind::Show, 0, {}, {}});
}

void InstanceObject::Hide() {
    Run({CommandRequest::Kind::Hide, 0, {}, {}});
}

void InstanceObject::Quit() {
    Run({CommandRequest::Kind::Quit, 0, {}, {}});
}

QString InstanceObject::Command(const QStringList &arguments) {
    if (!handler.arguments) {
        sendErrorReply(kRefusedError, QStringLiteral("the program is starting"));
        return {};
    }
    return Reply(handler.arguments(Utf8(arguments)));
}

LinuxInstance::~LinuxInstance() {
    // Still here at the process's exit (the event loop never ran): the bus's thread is gone, so it is left alone.
    (void)object_.release();
}

Instance::Role LinuxInstance::Claim(CommandHandler handler) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr) {
        ReportUnreachable("no session bus: this program takes no commands from the command line or D-Bus");
        return Role::Alone;
    }
    object_ = std::make_unique<InstanceObject>();
    object_->handler = std::move(handler);
    // The object is in place before the name is taken, so a second start that sees the name can call it at once;
    // calls wait in the bus until the event loop runs.
    if (!bus.registerObject(InstancePath(), object_.get(),
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                                QDBusConnection::ExportAllProperties)) {
        object_.reset();
        ReportUnreachable("the session bus refused the program's object: it takes no commands");
        return Role::Alone;
    }
    // RequestName without queueing: of two starts at the same moment exactly one gets the name.
    const auto request = [&bus] {
        return bus.interface()->registerService(InstanceService(), QDBusConnectionInterface::DontQueueService,
                                                QDBusConnectionInterface::DontAllowReplacement);
    };
    auto reply = request();
    // A program whose object is gone is quitting (or has quit) and keeps its name only until its process ends: this
    // start waits for the name and becomes the program, rather than handing its command to one that takes none.
    if (reply.isValid() && reply.value() != QDBusConnectionInterface::ServiceRegistered &&
        !ServiceProperty(bus, {InstanceService(), InstancePath(), InstanceService()}, QStringLiteral("State"),
                         kProbeTimeoutMs)
             .isValid()) {
        for (int waited = 0;
             waited < kGoingWaitMs && reply.isValid() && reply.value() != QDBusConnectionInterface::ServiceRegistered;
             waited += kGoingPauseMs) {
            QThread::msleep(kGoingPauseMs);
            reply = request();
        }
    }
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, QCoreApplication::instance(),
                         [this] {
                             // The name goes with the object, so a start that waits for it need not wait for
                             // the windows to be torn down.
                             QDBusConnection::sessionBus().unregisterObject(InstancePath());
                             QDBusConnection::sessionBus().interface()->unregisterService(InstanceService());
                             object_.reset();
                         });
        return Role::First;
    }
    bus.unregisterObject(InstancePath());
    object_.reset();
    if (!reply.isValid()) {
        ReportUnreachable("the session bus gave no answer for the program's name: it takes no commands");
        return Role::Alone;
    }
    return Role::Second;
}

CommandAnswer LinuxInstance::Send(const std::vector<std::string> &arguments) {
    QStringList list;
    for (const std::string &item : arguments) {
        list << QString::fromStdString(item);
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Command(arguments: the options as given) -> s
    const QDBusMessage reply =
        CallService(bus, {InstanceService(), InstancePath(), InstanceService()}, QStringLiteral("Command"), {list}, -1);
    if (reply.type() == QDBusMessage::InvalidMessage) {
        return {CommandNoProgram, InstanceService().toStdString() + " is not on the session bus"};
    }
    if (Answered(reply)) {
        return {CommandDone,
                reply.arguments().isEmpty() ? std::string() : reply.arguments().constFirst().toString().toStdString()};
    }
    const std::string message = reply.errorMessage().toStdString();
    if (reply.errorName() == kInvalidError) {
        return {CommandInvalid, message};
    }
    if (reply.errorName() == kRefusedError) {
        return {CommandRefused, message};
    }
    return {CommandNoProgram, message};
}

void LinuxInstance::Print(bool error, const std::string &line) {
    std::FILE *stream = error ? stderr : stdout;
    std::fprintf(stream, "%s\n", line.c_str());
    std::fflush(stream);
}

void LinuxInstance::StateChanged(const std::string &state) {
    if (!object_) {
        return;
    }
    const QString line = QString::fromStdString(state);
    emit object_->StateChanged(line);
    // The property is introspected as emitting changes, so watchers of properties hear of it too.
    QDBusMessage changed = QDBusMessage::createSignal(InstancePath(), QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    // PropertiesChanged(interface, changed properties, invalidated properties)
    changed << InstanceService() << QVariantMap{{QStringLiteral("State"), line}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}

Instance &NativeInstance() {
    static LinuxInstance instance;
    return instance;
}

} // namespace platform
