// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard in a Wayland session: the Pause key through a portal on the fixture's session bus, or one notice.
#include "platform/linux/LinuxKeyState.h"
#include "platform/linux/LinuxLockKeys.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSession = QStringLiteral("/org/freedesktop/portal/desktop/session/1/zindrel");

// A desktop portal offering global shortcuts, on a connection of its own, answering as the real one does:
// each call returns a request path and the result comes as that request's Response signal.
class FakePortal : public QDBusVirtualObject {
public:
    explicit FakePortal(QDBusConnection bus) : bus_(bus) {}

    QString introspect(const QString &) const override { return {}; }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override {
        calls.push_back(message.member());
        if (message.member() == QStringLiteral("Get")) {
            bus_.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
            return true;
        }
        const QVariantMap options = qdbus_cast<QVariantMap>(message.arguments().constLast());
        QString sender = message.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request =
            kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + options.value("handle_token").toString();
        bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        if (message.member() == QStringLiteral("CreateSession")) {
            results.insert(QStringLiteral("session_handle"), kSession);
        } else if (message.member() == QStringLiteral("BindShortcuts")) {
            bound = qdbus_cast<QDBusObjectPath>(message.arguments().at(0)).path();
        }
        QDBusMessage response =
            QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), "Response");
        response << 0u << results;
        bus_.send(response);
        return true;
    }

    void Press(const QString &member) {
        QDBusMessage signal = QDBusMessage::createSignal(kPath, kShortcuts, member);
        signal << QVariant::fromValue(QDBusObjectPath(kSession)) << QStringLiteral("show-window") << qulonglong(0)
               << QVariantMap();
        bus_.send(signal);
    }

    std::vector<QString> calls;
    QString bound;

private:
    QDBusConnection bus_;
};

class SystemWaylandKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(qEnvironmentVariable("ZINDREL_FIXTURE_ROOT").isEmpty())
            << "refusing to run outside the system-test fixture";
        saved_ = qgetenv("XDG_SESSION_TYPE");
        qputenv("XDG_SESSION_TYPE", "wayland");
        // Native Wayland: no X server to ask, the key comes only through the portal or the focused window.
        display_ = qgetenv("DISPLAY");
        qunsetenv("DISPLAY");
    }
    void TearDown() override {
        qputenv("XDG_SESSION_TYPE", saved_);
        qputenv("DISPLAY", display_);
    }

    QByteArray saved_;
    QByteArray display_;
};

TEST_F(SystemWaylandKeyboard, WithoutAPortalThePauseKeyAndTheLightsSayOnceWhatTheyCannotDo) {
    testing::internal::CaptureStderr();
    int pressed = 0;
    {
        platform::LinuxKeyState keys;
        EXPECT_TRUE(keys.WatchPause([](bool) {}));
        // The bus answers that no portal is there while the event loop runs.
        QTest::qWait(2000);
        // Three presses in a window of the program bring a hidden main window back.
        for (int i = 0; i < 3; ++i) {
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_Pause, Qt::NoModifier);
                QCoreApplication::sendEvent(QCoreApplication::instance(), &key);
            }
            pressed += keys.PausePressed() ? 1 : 0;
        }
        platform::LinuxLockKeys lights;
        lights.IsOn(platform::VK_NUMLOCK_CODE);
        lights.Set(platform::VK_NUMLOCK_CODE, true);
        lights.Set(platform::VK_NUMLOCK_CODE, false);
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(pressed, 3) << "presses in the focused window, with no X display";
    const std::string pause = "works only while a Zindrel window has the focus";
    const std::string lamps = "the keyboard lights cannot be set from a Wayland client";
    EXPECT_NE(err.find(pause), std::string::npos) << err;
    EXPECT_EQ(err.find(pause), err.rfind(pause)) << "said once: " << err;
    EXPECT_NE(err.find(lamps), std::string::npos) << err;
    EXPECT_EQ(err.find(lamps), err.rfind(lamps)) << "said once: " << err;
}

TEST_F(SystemWaylandKeyboard, ThePortalsGlobalShortcutTellsOfPauseGoingDownAndUp) {
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    ASSERT_TRUE(bus.isConnected());
    FakePortal portal(bus);
    ASSERT_TRUE(bus.registerVirtualObject(kPath, &portal));
    ASSERT_TRUE(bus.registerService(kPortal));

    testing::internal::CaptureStderr();
    std::vector<bool> changes;
    {
        platform::LinuxKeyState keys;
        ASSERT_TRUE(keys.WatchPause([&changes](bool down) { changes.push_back(down); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !portal.bound.isEmpty(); }, 10000)) << "no BindShortcuts";
        EXPECT_EQ(portal.bound, kSession);
        portal.Press(QStringLiteral("Activated"));
        portal.Press(QStringLiteral("Deactivated"));
        portal.Press(QStringLiteral("Activated"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return changes.size() >= 3; }, 10000));
        EXPECT_TRUE(keys.PausePressed());
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(portal.calls, (std::vector<QString>{"Get", "CreateSession", "BindShortcuts"}));
    EXPECT_EQ(err.find("focus"), std::string::npos) << "no notice with a portal: " << err;
    bus.unregisterService(kPortal);
    bus.unregisterObject(kPath);
    QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
}

} // namespace
