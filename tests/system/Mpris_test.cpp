// SPDX-License-Identifier: GPL-3.0-or-later
// The extras dialog's player actions through the real MPRIS backend, against mocked players on a private bus.
#include "actions/Unit7.h"
#include "actions/WinAmp.h"
#include "app/Forms.h"
#include "platform/linux/LinuxMediaPlayer.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QRadioButton>
#include <QSlider>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

QDBusMessage Call(const QString &service, const QString &interface, const QString &method,
                  const QList<QVariant> &arguments = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(service, kPath, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message);
}

// How often the mock's method was called (org.freedesktop.DBus.Mock.GetMethodCalls(method) -> a(tav)).
int CallCount(const QString &service, const QString &method) {
    const QDBusMessage reply = Call(service, kMock, QStringLiteral("GetMethodCalls"), {method});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        ADD_FAILURE() << reply.errorMessage().toStdString();
        return -1;
    }
    const QDBusArgument calls = reply.arguments().at(0).value<QDBusArgument>();
    int count = 0;
    calls.beginArray();
    while (!calls.atEnd()) {
        qulonglong stamp = 0;
        QVariantList arguments;
        calls.beginStructure();
        calls >> stamp >> arguments;
        calls.endStructure();
        ++count;
    }
    calls.endArray();
    return count;
}

// org.freedesktop.DBus.Properties.Get(interface, property) -> v, as a double.
double Property(const QString &service, const QString &interface, const QString &property) {
    const QDBusMessage reply =
        Call(service, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {interface, property});
    return reply.arguments().value(0).value<QDBusVariant>().variant().toDouble();
}

// Runs only on the private session bus the test's fixture started, never on the user's.
void RequirePrivateBus() {
    const QByteArray mine = qgetenv("ZINDREL_PRIVATE_SESSION_BUS");
    ASSERT_FALSE(mine.isEmpty()) << "refusing to run without the fixture's private session bus";
    ASSERT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), mine) << "refusing to run on another session bus";
}

class MprisTest : public fakes::TestApp {
protected:
    MprisTest() { platform::Current().player = &real_; }
    platform::LinuxMediaPlayer real_;
};

class MprisNoPlayer : public MprisTest {};
class MprisPlayer : public MprisTest {};
class MprisSeveralPlayers : public MprisTest {};

// org.freedesktop.DBus.Properties.Set(interface, property, value) on a mock.
void SetProperty(const QString &service, const QString &interface, const QString &property, const QVariant &value) {
    const QDBusMessage reply = Call(service, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                                    {interface, property, QVariant::fromValue(QDBusVariant(value))});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
}

TEST_F(MprisNoPlayer, RunsThroughSilentlyThenDrivesAPlayerStartedLater) {
    RequirePrivateBus();
    testing::internal::CaptureStderr();
    CreateForms();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("player"), std::string::npos) << "nothing is looked for, nor said, at start: " << said;
    EXPECT_FALSE(Form7->WinAmpControl1->WinAmpFound);
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton5->setChecked(true);
    Form7->RadioButton7->setChecked(true);
    Form7->CheckBox4->setChecked(true);
    testing::internal::CaptureStderr();
    Form7->RunWinAmpActions();
    said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("no media player found on the session bus"), std::string::npos) << said;
    EXPECT_TRUE(fake.system.messages.empty());
    Form7->CheckBox4->setChecked(false);
    Form7->RadioButton6->setChecked(true);

    const QString late = QStringLiteral("org.mpris.MediaPlayer2.late");
    QProcess mock;
    mock.start(QStringLiteral("/usr/bin/python3"), {"-m", "dbusmock", "--session", late, kPath, kPlayer});
    QElapsedTimer timer;
    timer.start();
    while (!QDBusConnection::sessionBus().interface()->isServiceRegistered(late).value() && timer.elapsed() < 15000) {
        QThread::msleep(50);
    }
    ASSERT_TRUE(QDBusConnection::sessionBus().interface()->isServiceRegistered(late).value());
    // AddMethod(interface, name, in signature, out signature, code)
    Call(late, kMock, QStringLiteral("AddMethod"), {kPlayer, QStringLiteral("Next"), QString(), QString(), QString()});

    Form7->RunWinAmpActions();
    EXPECT_TRUE(Form7->WinAmpControl1->WinAmpFound);
    EXPECT_EQ(CallCount(late, QStringLiteral("Next")), 1);
    mock.terminate();
    mock.waitForFinished(5000);
}

TEST_F(MprisPlayer, CommandsVolumeAndCloseReachThePlayerInOrder) {
    RequirePrivateBus();
    const QString player = qEnvironmentVariable("ZINDREL_MPRIS_PLAYER");
    ASSERT_FALSE(player.isEmpty());
    CreateForms();

    Form7->RadioButton5->setChecked(true);
    Form7->RadioButton7->setChecked(true);
    Form7->CheckBox4->setChecked(true);
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(player, QStringLiteral("Next")), 0) << "enable box unchecked: nothing is sent";
    EXPECT_EQ(CallCount(player, QStringLiteral("Quit")), 0);
    EXPECT_DOUBLE_EQ(Property(player, kPlayer, QStringLiteral("Volume")), 0.5);

    Form7->CheckBox3->setChecked(true);
    Form7->CheckBox4->setChecked(false);
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(player, QStringLiteral("Next")), 1);
    EXPECT_DOUBLE_EQ(Property(player, kPlayer, QStringLiteral("Volume")), 1.0);

    Form7->RadioButton1->setChecked(true);
    Form7->TrackBar1->setValue(0);
    Form7->RunWinAmpActions();
    EXPECT_DOUBLE_EQ(Property(player, kPlayer, QStringLiteral("Volume")), 0.0);
    EXPECT_EQ(CallCount(player, QStringLiteral("Next")), 1) << "\"Ничего не делать\": only the volume";
    for (const char *method : {"Previous", "PlayPause", "Stop"}) {
        EXPECT_EQ(CallCount(player, QString::fromLatin1(method)), 0) << method;
    }

    Form7->TrackBar1->setValue(51);
    Form7->CheckBox4->setChecked(true);
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(player, QStringLiteral("Quit")), 1);
    EXPECT_DOUBLE_EQ(Property(player, QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("VolumeAtQuit")), 0.2)
        << "the volume is set before the player is closed";
}

// test_mpris.py starts two web browsers' players and two music players, "radio" playing, and playerctld knowing
// none. Each firing sends Next to the player chosen anew.
TEST_F(MprisSeveralPlayers, ThePlayingOneElseTheLastPlayedElseTheFirstThatIsNoBrowser) {
    RequirePrivateBus();
    const QString music = QStringLiteral("org.mpris.MediaPlayer2.music");
    const QString radio = QStringLiteral("org.mpris.MediaPlayer2.radio");
    const QStringList browsers = {QStringLiteral("org.mpris.MediaPlayer2.aaa_tab"),
                                  QStringLiteral("org.mpris.MediaPlayer2.chromium.instance7")};
    const QString playerctld = QStringLiteral("org.mpris.MediaPlayer2.playerctld");
    const QString recent = QStringLiteral("com.github.altdesktop.playerctld");
    const QString next = QStringLiteral("Next");
    CreateForms();
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton5->setChecked(true);

    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(radio, next), 1) << "the player playing now";
    EXPECT_EQ(CallCount(music, next), 0);

    SetProperty(radio, kPlayer, QStringLiteral("PlaybackStatus"), QStringLiteral("Paused"));
    SetProperty(playerctld, recent, QStringLiteral("PlayerNames"), QStringList{radio, music});
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(radio, next), 2) << "none plays: the one playerctld saw last";
    EXPECT_EQ(CallCount(music, next), 0);

    SetProperty(playerctld, recent, QStringLiteral("PlayerNames"), QStringList{});
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(music, next), 1) << "none plays, playerctld knows none: the first that is no browser";
    EXPECT_EQ(CallCount(radio, next), 2);

    SetProperty(radio, kPlayer, QStringLiteral("PlaybackStatus"), QStringLiteral("Playing"));
    Form7->RunWinAmpActions();
    EXPECT_EQ(CallCount(radio, next), 3) << "playing again: chosen again at this firing";
    EXPECT_EQ(CallCount(music, next), 1);
    for (const QString &browser : browsers) {
        EXPECT_EQ(CallCount(browser, next), 0) << browser.toStdString();
    }
    EXPECT_EQ(CallCount(playerctld, next), 0) << "playerctld is asked, never driven";
}

} // namespace
