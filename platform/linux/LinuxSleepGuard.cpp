// SPDX-License-Identifier: GPL-3.0-or-later
// Holding off idle suspend through the first inhibit service that answers; the wake alarm through zindrel-wake.
#include "platform/linux/LinuxSleepGuard.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QProcess>
#include <QVariantMap>

#include <climits>
#include <unistd.h>

namespace platform {

namespace {

// A service that has not answered by then is taken as absent, and the next one is asked.
constexpr int kAnswerTimeoutMs = 5000;
// The portal's and GNOME's flag for suspending the machine, which also covers its suspend on idleness.
constexpr unsigned kSuspendFlag = 4;
const QString kAppName = QStringLiteral("Zindrel");

enum class Way { Portal, Gnome, PowerManagement, Logind, None };

const DBusTarget kPortal{QStringLiteral("org.freedesktop.portal.Desktop"),
                         QStringLiteral("/org/freedesktop/portal/desktop"),
                         QStringLiteral("org.freedesktop.portal.Inhibit"), Activation::OnDemand};
const DBusTarget kGnome{QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
                        QStringLiteral("org.gnome.SessionManager")};
const DBusTarget kPowerManagement{QStringLiteral("org.freedesktop.PowerManagement"),
                                  QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                                  QStringLiteral("org.freedesktop.PowerManagement.Inhibit")};
const DBusTarget kLogind{QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                         QStringLiteral("org.freedesktop.login1.Manager")};

// One call to one service.
struct Call {
    DBusTarget target;
    QString method;
    QList<QVariant> arguments;
};

Call Request(Way way, const QString &reason) {
    switch (way) {
    case Way::Portal:
        return {kPortal,
                QStringLiteral("Inhibit"),
                {QString(),                                         // window: none
                 kSuspendFlag,                                      // flags
                 QVariantMap{{QStringLiteral("reason"), reason}}}}; // options
    case Way::Gnome:
        return {kGnome,
                QStringLiteral("Inhibit"),
                {QStringLiteral("zindrel"), // app_id
                 0u,                        // toplevel_xid: none
                 reason,                    // reason
                 kSuspendFlag}};            // flags
    case Way::PowerManagement:
        return {kPowerManagement,
                QStringLiteral("Inhibit"),
                {kAppName, // application
                 reason}}; // reason
    case Way::Logind:
        // Only "idle": a "sleep" or "shutdown" lock of mode block would refuse the user's own suspend.
        return {kLogind,
                QStringLiteral("Inhibit"),
                {QStringLiteral("idle"),    // what
                 kAppName,                  // who
                 reason,                    // why
                 QStringLiteral("block")}}; // mode
    case Way::None:
        break;
    }
    return {};
}

QDBusConnection BusOf(Way way) {
    return way == Way::Logind ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
}

Way Next(Way way) {
    return static_cast<Way>(static_cast<int>(way) + 1);
}

// What a service handed back for a hold: the portal's request object, a cookie, or logind's file descriptor.
struct Held {
    Way way = Way::None;
    QString request;
    uint cookie = 0;
    QDBusUnixFileDescriptor lock;
};

void Undo(const Held &held) {
    Call call;
    switch (held.way) {
    case Way::Portal:
        call = {{kPortal.service, held.request, QStringLiteral("org.freedesktop.portal.Request"), Activation::Never},
                QStringLiteral("Close"),
                {}};
        break;
    case Way::Gnome:
        call = {kGnome, QStringLiteral("Uninhibit"), {held.cookie}}; // inhibit_cookie
        break;
    case Way::PowerManagement:
        call = {kPowerManagement, QStringLiteral("UnInhibit"), {held.cookie}}; // cookie
        break;
    case Way::Logind:
    case Way::None:
        // logind lets go when the last copy of the descriptor closes, with the Held that carries it.
        return;
    }
    QDBusConnection bus = BusOf(held.way);
    SendToService(bus, call.target, call.method, call.arguments);
}

std::string FolderOf(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Executable(const std::string &path) {
    return ::access(path.c_str(), X_OK) == 0;
}

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length <= 0 ? std::string() : std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace

// The QObject side of the backend: it receives the services' answers and owns the wake helper's process.
class SleepLink : public QObject {
    Q_OBJECT
public:
    ~SleepLink() override {
        Release();
        StopHelper();
    }

    void Hold(const QString &reason) {
        if (wanted_ && reason == reason_) {
            return;
        }
        // The old hold ends only once the new one is asked for, so no idle moment falls between them.
        const Held old = held_;
        held_ = Held();
        wanted_ = true;
        reason_ = reason;
        ++generation_;
        Ask(Way::Portal);
        Undo(old);
    }

    void Release() {
        wanted_ = false;
        ++generation_;
        Undo(held_);
        held_ = Held();
    }

    void WakeAt(std::int64_t epochSeconds, std::function<void()> ended) {
        if (helper_ != nullptr && wakeAt_ == epochSeconds) {
            wakeEnded_ = std::move(ended);
            return;
        }
        StopHelper();
        wakeAt_ = epochSeconds;
        wakeEnded_ = std::move(ended);
        const std::string path = LinuxSleepGuard::WakeHelper(ExecutablePath());
        if (path.empty()) {
            ReportWake("no zindrel-wake helper is installed beside the program");
            return;
        }
        helper_ = new QProcess(this);
        helper_->setStandardOutputFile(QProcess::nullDevice());
        QProcess *helper = helper_;
        connect(helper_, &QProcess::finished, this, [this, helper](int code, QProcess::ExitStatus status) {
            if (code != 0) {
                ReportWake("zindrel-wake: " + helper->readAllStandardError().trimmed().toStdString());
            }
            helper->deleteLater();
            if (helper_ != helper) {
                return;
            }
            helper_ = nullptr;
            // Its time came or the clock jumped past it; a helper that refused or failed is not started again.
            if (code == 0 && status == QProcess::NormalExit) {
                if (auto ended = std::exchange(wakeEnded_, nullptr)) {
                    ended();
                }
            }
        });
        connect(helper_, &QProcess::errorOccurred, this, [this, helper](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                ReportWake("zindrel-wake did not start: " + helper->errorString().toStdString());
                if (helper_ == helper) {
                    helper_ = nullptr;
                }
                helper->deleteLater();
            }
        });
        // The helper holds the alarm until its input closes: at CancelWake, or when this process ends in any way.
        helper_->start(QString::fromStdString(path), {QString::number(epochSeconds)});
    }

    void StopHelper() {
        wakeEnded_ = nullptr;
        if (helper_ != nullptr) {
            helper_->closeWriteChannel();
            helper_ = nullptr;
        }
    }

private:
    void Ask(Way way) {
        QDBusConnection bus = BusOf(way);
        if (!bus.isConnected()) {
            Answer(way, generation_,
                   QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
                                             QStringLiteral("the bus is not reachable")));
            return;
        }
        const unsigned generation = generation_;
        const Call request = Request(way, reason_);
        OnReply(CallServiceAsync(bus, request.target, request.method, request.arguments, kAnswerTimeoutMs), this,
                [this, way, generation](const QDBusMessage &reply) { Answer(way, generation, reply); });
    }

    void Answer(Way way, unsigned generation, const QDBusMessage &reply) {
        const bool answered = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
        if (!answered) {
            if (generation != generation_) {
                return;
            }
            if (Next(way) != Way::None) {
                Ask(Next(way));
            } else if (!reported_) {
                reported_ = true;
                ReportUnreachable("idle suspend is not held off while armed: no inhibit service answered (" +
                                  reply.errorMessage().toStdString() + ")");
            }
            return;
        }
        Held held;
        held.way = way;
        const QVariant value = reply.arguments().constFirst();
        if (way == Way::Portal) {
            held.request = value.value<QDBusObjectPath>().path();
        } else if (way == Way::Logind) {
            held.lock = value.value<QDBusUnixFileDescriptor>();
        } else {
            held.cookie = value.toUInt();
        }
        if (generation != generation_) {
            // Released or replaced while the request was on its way.
            Undo(held);
            return;
        }
        held_ = held;
    }

    void ReportWake(const std::string &why) {
        if (!wakeReported_) {
            wakeReported_ = true;
            ReportUnreachable("the alarm will not wake a sleeping machine: " + why);
        }
    }

    bool wanted_ = false;
    QString reason_;
    unsigned generation_ = 0;
    Held held_;
    bool reported_ = false;
    QProcess *helper_ = nullptr;
    std::function<void()> wakeEnded_;
    std::int64_t wakeAt_ = 0;
    bool wakeReported_ = false;
};

LinuxSleepGuard::LinuxSleepGuard() : link_(std::make_unique<SleepLink>()) {}

LinuxSleepGuard::~LinuxSleepGuard() = default;

void LinuxSleepGuard::Hold(const std::string &reason) {
    link_->Hold(QString::fromStdString(reason));
}

void LinuxSleepGuard::Release() {
    link_->Release();
}

void LinuxSleepGuard::WakeAt(std::int64_t epochSeconds, std::function<void()> ended) {
    link_->WakeAt(epochSeconds, std::move(ended));
}

void LinuxSleepGuard::CancelWake() {
    link_->StopHelper();
}

std::string LinuxSleepGuard::WakeHelper(const std::string &executable) {
    const std::string folder = FolderOf(executable);
    if (folder.empty()) {
        return {};
    }
    std::string path = folder + "zindrel-wake";
    if (Executable(path)) {
        return path;
    }
    const std::string bin = "/bin/";
    if (folder.size() > bin.size() && folder.compare(folder.size() - bin.size(), bin.size(), bin) == 0) {
        path = folder.substr(0, folder.size() - bin.size()) + "/lib/zindrel/zindrel-wake";
        if (Executable(path)) {
            return path;
        }
    }
    return {};
}

} // namespace platform

#include "LinuxSleepGuard.moc"
