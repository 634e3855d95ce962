// SPDX-License-Identifier: GPL-3.0-or-later
// The Notifications interface on Linux: Notify with replaces_id, CloseNotification, and the ActionInvoked signal.
#include "platform/linux/LinuxNotifications.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/LinuxDesktop.h"
#include "platform/linux/Report.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace {

// The image-data hint: width, height, bytes per row, alpha, bits per sample, channels, the RGBA bytes.
struct ImageData {
    QImage image;
};

QDBusArgument &operator<<(QDBusArgument &argument, const ImageData &data) {
    const QImage &image = data.image;
    argument.beginStructure();
    argument << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char *>(image.constBits()), static_cast<int>(image.sizeInBytes()));
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ImageData &data) {
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    bool alpha = false;
    int bitsPerSample = 0;
    int channels = 0;
    QByteArray bytes;
    argument.beginStructure();
    argument >> width >> height >> bytesPerLine >> alpha >> bitsPerSample >> channels >> bytes;
    argument.endStructure();
    data.image =
        QImage(reinterpret_cast<const uchar *>(bytes.constData()), width, height, bytesPerLine, QImage::Format_RGBA8888)
            .copy();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(ImageData)

namespace platform {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// Many notification servers start on the first notice.
const DBusTarget kNotifications{kService, kPath, kInterface, Activation::OnDemand};
// The program's name for the desktop: its desktop entry and its icon in the icon theme.
const QString kDesktopEntry = QStringLiteral("zindrel");
// The notification's urgency hint: 2 is critical, which servers keep on screen until it is withdrawn or expires.
constexpr unsigned char kCritical = 2;
constexpr unsigned char kNormal = 1;
constexpr int kImageSize = 48;

// Who sends the notices: the desktop entry names the program; where the program is not installed beside its icon
// in the icon theme (a copy run from its own folder), the window icon the program draws goes with them as pixels.
// The install is checked on the files: asking the icon theme reads and parses its whole index.
struct Identity {
    QVariantMap hints;
    QString appIcon;
};

const Identity &TheIdentity() {
    static const Identity identity = [] {
        Identity made;
        made.hints.insert(QStringLiteral("desktop-entry"), kDesktopEntry);
        if (LinuxDesktop::InstalledIcon(QCoreApplication::applicationFilePath().toStdString()) ==
            kDesktopEntry.toStdString()) {
            made.appIcon = kDesktopEntry;
            return made;
        }
        const QIcon icon = QGuiApplication::windowIcon();
        if (!icon.isNull()) {
            qDBusRegisterMetaType<ImageData>();
            const QImage image = icon.pixmap(kImageSize, kImageSize).toImage().convertToFormat(QImage::Format_RGBA8888);
            made.hints.insert(QStringLiteral("image-data"), QVariant::fromValue(ImageData{image}));
        }
        return made;
    }();
    return identity;
}

} // namespace

// The QObject side of the backend: it owns the pending Notify reply and receives the service's signals.
class NotificationLink : public QObject {
    Q_OBJECT
public:
    void Show(Notice notice) {
        actions_ = notice.actions;
        withdrawn_ = false;
        if (pending_) {
            // Until the service has told the id, a second Notify would open a second notice: keep the newest.
            queued_ = notice;
            return;
        }
        Send(notice);
    }

    void Prepare() {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (bus.isConnected()) {
            Subscribe(bus);
        }
        TheIdentity();
    }

    void Withdraw() {
        actions_.clear();
        queued_.reset();
        withdrawn_ = true;
        if (id_ != 0) {
            QDBusConnection bus = QDBusConnection::sessionBus();
            CallServiceAsync(bus, kNotifications, QStringLiteral("CloseNotification"), {id_}); // id
            id_ = 0;
        }
    }

public Q_SLOTS:
    void ActionInvoked(uint id, const QString &actionKey) {
        if (id == 0 || id != id_) {
            return;
        }
        for (const NoticeAction &action : actions_) {
            if (actionKey == QString::fromStdString(action.key) && action.run) {
                // The action may withdraw this notice and forget its actions.
                const std::function<void()> run = action.run;
                run();
                return;
            }
        }
    }

    void NotificationClosed(uint id, uint /*reason*/) {
        if (id == id_) {
            id_ = 0;
        }
    }

private:
    void Send(const Notice &notice) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            ReportOnce("the session bus is not reachable");
            return;
        }
        Subscribe(bus);
        const Identity &identity = TheIdentity();
        QVariantMap hints = identity.hints;
        hints.insert(QStringLiteral("urgency"), QVariant::fromValue(notice.urgent ? kCritical : kNormal));
        QStringList actions;
        for (const NoticeAction &action : notice.actions) {
            actions << QString::fromStdString(action.key) << QString::fromStdString(action.label);
        }
        const QString title = QString::fromStdString(notice.title);
        pending_ = true;
        OnReply(CallServiceAsync(bus, kNotifications, QStringLiteral("Notify"),
                                 {title,                               // app_name
                                  id_,                                 // replaces_id
                                  identity.appIcon,                    // app_icon
                                  title,                               // summary
                                  QString::fromStdString(notice.text), // body
                                  actions,                             // actions: key, label, key, label…
                                  hints,                               // hints
                                  notice.expireMs}),                   // expire_timeout, ms; 0 never
                this, [this](const QDBusMessage &reply) { Replied(reply); });
    }

    void Replied(const QDBusMessage &reply) {
        pending_ = false;
        if (!Answered(reply) || reply.arguments().isEmpty()) {
            ReportOnce(reply.errorMessage().toStdString());
            queued_.reset();
            return;
        }
        id_ = reply.arguments().constFirst().toUInt();
        if (withdrawn_) {
            // Taken down while the first Notify was on its way.
            Withdraw();
            return;
        }
        if (queued_) {
            const Notice next = *queued_;
            queued_.reset();
            Send(next);
        }
    }

    void Subscribe(QDBusConnection &bus) {
        if (subscribed_) {
            return;
        }
        subscribed_ = true;
        bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(ActionInvoked(uint, QString)));
        bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                    SLOT(NotificationClosed(uint, uint)));
    }

    void ReportOnce(const std::string &why) {
        if (!reported_) {
            reported_ = true;
            ReportUnreachable("no desktop notification of the warning or a reminder: " + why);
        }
    }

    uint id_ = 0;
    bool pending_ = false;
    bool withdrawn_ = false;
    bool subscribed_ = false;
    bool reported_ = false;
    std::optional<Notice> queued_;
    std::vector<NoticeAction> actions_;
};

LinuxNotifications::LinuxNotifications()
    : warning_(std::make_unique<NotificationLink>()), reminder_(std::make_unique<NotificationLink>()) {}

LinuxNotifications::~LinuxNotifications() = default;

NotificationLink &LinuxNotifications::Link(NoticeKind kind) {
    switch (kind) {
    case NoticeKind::Warning:
        return *warning_;
    case NoticeKind::Reminder:
        return *reminder_;
    }
    return *warning_;
}

void LinuxNotifications::Show(NoticeKind kind, Notice notice) {
    Link(kind).Show(std::move(notice));
}

void LinuxNotifications::Withdraw(NoticeKind kind) {
    Link(kind).Withdraw();
}

void LinuxNotifications::Prepare() {
    warning_->Prepare();
    reminder_->Prepare();
}

} // namespace platform

#include "LinuxNotifications.moc"
