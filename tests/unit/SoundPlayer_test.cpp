// SPDX-License-Identifier: GPL-3.0-or-later
// The melody notation, the tone paths (sound device and PC-speaker ports) and the main window's sound choice.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "settings/Unit4.h"
#include "signals/SoundPlayer.h"
#include "tests/fakes/TestApp.h"

#include <QLineEdit>
#include <QRadioButton>

#include <chrono>

namespace {

using fakes::CallLog;

TEST(SoundPlayerNotes, FrequencyAndDurationLimitsAndTheOneSlash) {
    const struct {
        const char *note;
        bool valid;
    } cases[] = {
        {"120/100", true},    {"19/0", true},           {"65535/65535", true}, {"18/100", false},
        {"65536/1", false},   {"120/65536", false},     {"120/", false},       {"/100", false},
        {"120/100/5", false}, {"1 2 0 / 1 0 0", true},  {"", false},           {"120", false},
        {"a120/b100c", true}, {"99999999999/1", false}, {"00120/00100", true}, {"/", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CheckNote(QString::fromUtf8(c.note)), c.valid) << c.note;
    }
}

TEST(SoundPlayerMelodies, EveryNoteMustPassAndEmptyNotesFail) {
    EXPECT_TRUE(CheckMelody(QString()));
    EXPECT_TRUE(CheckMelody(QStringLiteral("120/100,200/50")));
    EXPECT_FALSE(CheckMelody(QStringLiteral("120/100,,200/50")));
    EXPECT_FALSE(CheckMelody(QStringLiteral(",120/100")));
    EXPECT_FALSE(CheckMelody(QStringLiteral("120/100,18/50")));
    EXPECT_FALSE(CheckMelody(QStringLiteral("18/50,120/100")));
    // The note before a trailing comma is the last one examined.
    EXPECT_TRUE(CheckMelody(QStringLiteral("120/100,")));
    EXPECT_FALSE(CheckMelody(QStringLiteral("120/,")));
}

TEST(SoundPlayerMelodies, PlaysEachNoteInOrderOrNothingAtAll) {
    fakes::FakePlatform fake;
    EXPECT_TRUE(PlayMelody(QStringLiteral("1 2 0 / 1 0 0")));
    EXPECT_EQ(fake.log, (CallLog{"PlayTone 120 100"}));

    fake.log.clear();
    EXPECT_TRUE(PlayMelody(QStringLiteral("120/100,200/50")));
    EXPECT_EQ(fake.log, (CallLog{"PlayTone 120 100", "PlayTone 200 50"}));

    fake.log.clear();
    EXPECT_TRUE(PlayMelody(QString()));
    EXPECT_FALSE(PlayMelody(QStringLiteral("120/100,,200/50")));
    EXPECT_FALSE(PlayMelody(QStringLiteral("120/100,200/50,18/1")));
    EXPECT_TRUE(fake.log.empty());

    // The empty note after a trailing comma has nothing to sound.
    EXPECT_TRUE(PlayMelody(QStringLiteral("300/10,")));
    EXPECT_EQ(fake.log, (CallLog{"PlayTone 300 10"}));
}

TEST(SoundPlayerSpeaker, SpeakerOnProgramsTheTimerOnlyWhenTheSpeakerBitsAreClear) {
    fakes::FakePlatform fake;
    fake.ports.ports[0x61] = 0x30;
    SpeakerOn(120);
    // 1193181 div 120 = 9943 = 0x26D7; the other bits of port 0x61 are kept.
    EXPECT_EQ(fake.log,
              (CallLog{"PortRead 97", "PortWrite 97 51", "PortWrite 67 182", "PortWrite 66 215", "PortWrite 66 38"}));

    for (const std::uint8_t bits : {0x01, 0x02, 0x03}) {
        fake.log.clear();
        fake.ports.ports[0x61] = bits;
        SpeakerOn(120);
        EXPECT_EQ(fake.log, (CallLog{"PortRead 97", "PortWrite 66 215", "PortWrite 66 38"})) << int(bits);
    }

    fake.log.clear();
    SpeakerOn(18);
    EXPECT_TRUE(fake.log.empty());
    fake.ports.ports[0x61] = 0x03;
    SpeakerOn(19); // 62799 = 0xF54F
    EXPECT_EQ(fake.log, (CallLog{"PortRead 97", "PortWrite 66 79", "PortWrite 66 245"}));

    fake.log.clear();
    fake.ports.ports[0x61] = 0xFF;
    SpeakerOff();
    EXPECT_EQ(fake.log, (CallLog{"PortRead 97", "PortWrite 97 252"}));
}

TEST(SoundPlayerSpeaker, ToneTakesTheSpeakerPathOutsideTheNtFamily) {
    fakes::FakePlatform fake;
    fake.system.platformId = platform::PLATFORM_WIN32_WINDOWS;
    const auto start = std::chrono::steady_clock::now();
    PlayTone(120, 30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
    EXPECT_EQ(fake.log, (CallLog{"PortRead 97", "PortWrite 97 3", "PortWrite 67 182", "PortWrite 66 215",
                                 "PortWrite 66 38", "PortRead 97", "PortWrite 97 0"}));

    fake.log.clear();
    fake.system.platformId = platform::PLATFORM_WIN32_NT;
    PlayTone(440, 250);
    EXPECT_EQ(fake.log, (CallLog{"PlayTone 440 250"}));
}

class SoundChoice : public fakes::TestApp {
protected:
    SoundChoice() {
        CreateForms();
        fake.log.clear();
    }
};

TEST_F(SoundChoice, PcSpeakerPlaysTheBuiltInMelodyTenTimes) {
    Form4->RadioButton2->setChecked(true);
    Form4->FilenameEdit2->setText(QStringLiteral("/tmp/never.wav"));
    Form1->Sound();
    EXPECT_EQ(fake.log, CallLog(10, "PlayTone 120 100"));
}

TEST_F(SoundChoice, WaveFileIsReadAtTheCallEmptyMeansSilenceQuotesAreDropped) {
    Form4->RadioButton1->setChecked(true);
    Form4->FilenameEdit2->setText(QString());
    Form1->Sound();
    EXPECT_TRUE(fake.log.empty());

    Form4->FilenameEdit2->setText(QStringLiteral("\"/home/u/My sounds/ring.wav\""));
    Form4->SpeedButton2Click(Form4);
    Form4->FilenameEdit2->setText(QStringLiteral("/home/u/ring.wav"));
    Form1->Sound();
    Form4->FilenameEdit2->setText(QStringLiteral("\"\""));
    Form1->Sound();
    EXPECT_EQ(fake.log, (CallLog{"PlayFile /home/u/My sounds/ring.wav", "PlayFile /home/u/ring.wav"}));
}

} // namespace
