// SPDX-License-Identifier: GPL-3.0-or-later
// The real sound path against the fixture's PulseAudio null sink: lengths, returns, and no sound server.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "platform/linux/LinuxAudio.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <string>

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
TEST_F(SystemSound, MissingFileGivesTheDefaultSoundAndReturns) {
    for (const QString &path : {QDir(folder.path()).filePath(QStringLiteral("no such.wav")),
                                WriteFile(QStringLiteral("text.wav"), "not a sound at all")}) {
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

} // namespace
