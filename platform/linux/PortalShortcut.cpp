// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key through org.freedesktop.portal.GlobalShortcuts: a session, one bound shortcut, its signals.
#include "platform/linux/PortalShortcut.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/Report.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcutId = QStringLiteral("show-window");
// The portal starts on its first call.
const platform::DBusTarget kShortcuts{kService, kPath, kInterface, platform::Activation::OnDemand};

// One entry of BindShortcuts' a(sa{sv}).
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &arg, const Shortcut &shortcut) {
    arg.beginStructure();
    arg << shortcut.id << shortcut.properties;
    arg.endStructure();
    return arg;
}

const QDBusArgument &operator>>(const QDBusArgument &arg, Shortcut &shortcut) {
    arg.beginStructure();
    arg >> shortcut.id >> shortcut.properties;
    arg.endStructure();
    return arg;
}

} // namespace

Q_DECLARE_METATYPE(Shortcut)

namespace platform {

class PortalReceiver : public QObject {
    Q_OBJECT
public:
    explicit PortalReceiver(std::function<void(bool)> onChange) : onChange_(std::move(onChange)) {}

    // The request path the portal will answer on, known before the call so no reply is missed.
    QString RequestPath(const QString &token) const {
        QString sender = QDBusConnection::sessionBus().baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    }

    // Asks whether the portal offers global shortcuts; the answer comes back later, so start-up never waits.
    void Start() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            ReportFocusOnly();
            return;
        }
        OnReply(ServicePropertyAsync(bus, kShortcuts, QStringLiteral("version"), 5000), this,
                [this](const QDBusMessage &reply) {
                    if (Answered(reply)) {
                        CreateSession();
                    } else {
                        ReportFocusOnly();
                    }
                });
    }

    static void ReportFocusOnly() {
        ReportUnreachable("the Pause key works only while a Zindrel window has the focus (the desktop offers no "
                          "global shortcuts)");
    }

    void CreateSession() {
        const QString token = QStringLiteral("zindrel_session_request");
        QDBusConnection bus = QDBusConnection::sessionBus();
        // The answer comes as the request's Response signal.
        bus.connect(kService, RequestPath(token), kRequest, QStringLiteral("Response"), this,
                    SLOT(SessionCreated(uint, QVariantMap)));
        SendToService(
            bus, kShortcuts, QStringLiteral("CreateSession"),
            {QVariantMap{{QStringLiteral("handle_token"), token}, // the request's path token
                         {QStringLiteral("session_handle_token"), QStringLiteral("zindrel")}}}); // the session's
    }

public Q_SLOTS:
    void SessionCreated(uint response, const QVariantMap &results) {
        if (response != 0) {
            ReportFocusOnly();
            return;
        }
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        session_ = handle.userType() == qMetaTypeId<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path()
                                                                       : handle.toString();
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                    SLOT(Activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        bus.connect(kService, kPath, kInterface, QStringLiteral("Deactivated"), this,
                    SLOT(Deactivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        const QList<Shortcut> shortcuts{
            {kShortcutId,
             {{QStringLiteral("description"), QStringLiteral("Показать окно Zindrel (три нажатия)")},
              {QStringLiteral("preferred_trigger"), QStringLiteral("Pause")}}}};
        SendToService(
            bus, kShortcuts, QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(session_)), // session_handle
             QVariant::fromValue(shortcuts),                 // shortcuts: a(sa{sv})
             QString(),                                      // parent_window: none
             QVariantMap{{QStringLiteral("handle_token"), QStringLiteral("zindrel_bind_request")}}}); // options
    }

    void Activated(const QDBusObjectPath &session, const QString &id, qulonglong, const QVariantMap &) {
        if (session.path() == session_ && id == kShortcutId) {
            onChange_(true);
        }
    }

    void Deactivated(const QDBusObjectPath &session, const QString &id, qulonglong, const QVariantMap &) {
        if (session.path() == session_ && id == kShortcutId) {
            onChange_(false);
        }
    }

private:
    std::function<void(bool)> onChange_;
    QString session_;
};

std::unique_ptr<PortalShortcut> PortalShortcut::Bind(std::function<void(bool down)> onChange) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    std::unique_ptr<PortalShortcut> shortcut(new PortalShortcut);
    auto receiver = std::make_unique<PortalReceiver>(std::move(onChange));
    receiver->Start();
    shortcut->receiver_ = std::move(receiver);
    return shortcut;
}

PortalShortcut::~PortalShortcut() = default;

} // namespace platform

#include "PortalShortcut.moc"
