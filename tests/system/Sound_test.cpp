// SPDX-License-Identifier: GPL-3.0-or-later
// The real sound path against the fixture's PulseAudio null sink: lengths, returns, and no sound server.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "platform/linux/LinuxAudio.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <cstring>
#include <string>

#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Plays only into the sound server the test's fixture started, never the user's.
void RequirePrivateSoundServer() {
    const QString root = QDir(qEnvironmentVariable("ZINDREL_FIXTURE_ROOT")).canonicalPath();
    ASSERT_FALSE(root.isEmpty()) << "refusing to run outside the system-test fixture";
    const QString server = qEnvironmentVariable("PULSE_SERVER");
    ASSERT_TRUE(server.startsWith(QStringLiteral("unix:"))) << "refusing to run without the fixture's sound server";
    const QString socket = QDir(QFileInfo(server.mid(5)).absolutePath()).canonicalPath();
    ASSERT_TRUE(socket.startsWith(root + QLatin1Char('/'))) << "refusing to play into " << server.toStdString();
}

class SystemSound : public fakes::TestApp {
protected:
    void SetUp() override {
        RequirePrivateSoundServer();
        platform::Current().audio = &audio_;
        CreateForms();
    }
    // Milliseconds that Form1->Sound() took.
    qint64 TimedSound() {
        QElapsedTimer timer;
        timer.start();
        Form1->Sound();
        return timer.elapsed();
    }
    platform::LinuxAudio audio_;
};

TEST_F(SystemSound, PcSpeakerPlaysTenTonesInAboutOneSecond) {
    Form4->RadioButton2->setChecked(true);
    const qint64 ms = TimedSound();
    EXPECT_GE(ms, 1000);
    EXPECT_LT(ms, 1500);
}

TEST_F(SystemSound, WaveFileReturnsOnlyWhenItHasPlayed) {
    const QString wav = qEnvironmentVariable("ZINDREL_TEST_WAV");
    ASSERT_FALSE(wav.isEmpty());
    Form4->RadioButton1->setChecked(true);
    // As the browse button leaves a picked path with a space.
    Form4->FilenameEdit2->setText(QLatin1Char('"') + wav + QLatin1Char('"'));
    const qint64 ms = TimedSound();
    EXPECT_GE(ms, 1000);
    EXPECT_LT(ms, 2000);
}

// The stand-in is the desktop's alarm sound (about 6 s) where the sound theme is installed, else a short tone.
// A pipe with no writer would wait for ever at the opening; it is refused as no file to play.
TEST_F(SystemSound, MissingFileGivesTheDefaultSoundAndReturns) {
    const QString pipe = QDir(folder.path()).filePath(QStringLiteral("pipe.wav"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : {QDir(folder.path()).filePath(QStringLiteral("no such.wav")),
                                WriteFile(QStringLiteral("text.wav"), "not a sound at all"), pipe}) {
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(audio_.PlayFile(path.toStdString()));
        EXPECT_LT(timer.elapsed(), 8000) << path.toStdString();
    }
}

TEST_F(SystemSound, NoSoundServerPlaysNothingQuicklyWithOneLine) {
    const QByteArray server = qgetenv("PULSE_SERVER");
    const QByteArray absent = "unix:" + QDir(folder.path()).filePath(QStringLiteral("absent.sock")).toUtf8();
    qputenv("PULSE_SERVER", absent);
    Form4->RadioButton2->setChecked(true);
    testing::internal::CaptureStderr();
    QElapsedTimer timer;
    timer.start();
    Form1->Sound();
    const bool tone = audio_.PlayTone(440, 1000);
    const bool file = audio_.PlayFile(qEnvironmentVariable("ZINDREL_TEST_WAV").toStdString());
    const qint64 ms = timer.elapsed();
    const std::string err = testing::internal::GetCapturedStderr();
    qputenv("PULSE_SERVER", server);
    EXPECT_FALSE(tone);
    EXPECT_FALSE(file);
    EXPECT_LT(ms, 1000);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("no sound server"), std::string::npos) << err;
}

// The process that serves the fixture's sound socket, as the kernel names the socket's peer.
pid_t SoundServerPid() {
    const QByteArray path = QFile::encodeName(qEnvironmentVariable("PULSE_SERVER").mid(5));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ucred peer{};
    socklen_t size = sizeof(peer);
    const bool known = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0 &&
                       ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0;
    ::close(fd);
    return known ? peer.pid : 0;
}

TEST_F(SystemSound, AServerThatStopsAnsweringIsGivenUpAndTheNextSoundPlays) {
    const pid_t server = SoundServerPid();
    ASSERT_GT(server, 0);
    ASSERT_TRUE(audio_.PlayTone(440, 100));
    // Stopped while the stream of the last tone is still open: the writes of the next one find no room.
    ASSERT_EQ(::kill(server, SIGSTOP), 0);
    testing::internal::CaptureStderr();
    const bool stalled = audio_.PlayTone(440, 1000);
    const bool connecting = audio_.PlayTone(440, 1000); // a new connection to the stopped server
    const std::string err = testing::internal::GetCapturedStderr();
    ::kill(server, SIGCONT);
    EXPECT_FALSE(stalled);
    EXPECT_FALSE(connecting);
    EXPECT_NE(err.find("stopped answering"), std::string::npos) << err;
    EXPECT_TRUE(audio_.PlayTone(440, 200)) << "the server answers again";
}

} // namespace
