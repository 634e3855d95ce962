// SPDX-License-Identifier: GPL-3.0-or-later
// The blinker: patterns tick by tick, the run's start and end, and what an end with no run leaves alone.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "settings/Unit4.h"
#include "signals/Unit8.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <string>

namespace {

using fakes::CallLog;
using platform::VK_CAPITAL_CODE;
using platform::VK_NUMLOCK_CODE;
using platform::VK_SCROLL_CODE;

class Blinker : public fakes::TestApp {
protected:
    Blinker() {
        // The blinker's state lives for the program, so each test starts it as a fresh program would.
        BlinkFirstTick = true;
        BlinkStep = 1;
        SavedNumLock = SavedCapsLock = SavedScrollLock = false;
        CreateForms();
        fake.log.clear();
    }

    void Choose(int pattern, int speedMs, int seconds) {
        Form4->CheckBox5->setChecked(true);
        Form4->TrackBar3->setValue(speedMs);
        Form4->TrackBar2->setValue(seconds);
        Form4->ComboBox1->setCurrentIndex(pattern - 1);
        ASSERT_EQ(Form4->TrackBar3->value(), speedMs);
        ASSERT_EQ(Form4->TrackBar2->value(), seconds);
        ASSERT_EQ(Form4->ComboBox1->currentIndex(), pattern - 1);
    }
    void Locks(bool num, bool caps, bool scroll) {
        fake.lockKeys.state = {{VK_NUMLOCK_CODE, num}, {VK_CAPITAL_CODE, caps}, {VK_SCROLL_CODE, scroll}};
    }
    // "NCS" with a letter for each lock that is on, '-' for off.
    std::string Lit() {
        auto &s = fake.lockKeys.state;
        return std::string{s[VK_NUMLOCK_CODE] ? 'N' : '-', s[VK_CAPITAL_CODE] ? 'C' : '-',
                           s[VK_SCROLL_CODE] ? 'S' : '-'};
    }
    bool StopImageShown() const { return Form1->Image6->isVisibleTo(Form1); }
    bool Running() const { return DM->Timer1->Enabled() || DM->Timer2->Enabled(); }
};

TEST_F(Blinker, PatternOneRunsTheLightLeftToRightAndPutsAllBack) {
    Locks(true, true, true);
    Choose(1, 250, 3);
    Form4->SpeedButton4Click(Form4);
    clock.advance(249);
    EXPECT_EQ(Lit(), "NCS");
    EXPECT_FALSE(StopImageShown());
    clock.advance(1);
    // All three off in order, then the first step lights NumLock alone.
    EXPECT_EQ(fake.log, (CallLog{"Set NumLock off", "Set CapsLock off", "Set ScrollLock off", "Set NumLock on"}));
    EXPECT_TRUE(StopImageShown());
    const char *cycle[] = {"N--", "-C-", "--S"};
    for (int tick = 2; tick <= 11; ++tick) {
        clock.advance(250);
        EXPECT_EQ(Lit(), cycle[(tick - 1) % 3]) << "tick " << tick;
    }
    clock.advance(250);
    EXPECT_EQ(Lit(), "NCS");
    EXPECT_FALSE(StopImageShown());
    EXPECT_FALSE(Running());
    EXPECT_TRUE(BlinkFirstTick);
}

TEST_F(Blinker, PatternFourFlashesNumLockAloneAndRestoresTheOthers) {
    Locks(true, true, false);
    Choose(4, 100, 1);
    Form4->SpeedButton4Click(Form4);
    clock.advance(100);
    EXPECT_EQ(Lit(), "N--");
    clock.advance(100);
    EXPECT_EQ(Lit(), "---");
    clock.advance(100);
    EXPECT_EQ(Lit(), "N--");
    clock.advance(700);
    EXPECT_EQ(Lit(), "NC-");
    EXPECT_FALSE(Running());
}

TEST_F(Blinker, PatternSevenKeepsNumLockOffThroughout) {
    Locks(true, false, false);
    Choose(7, 50, 1);
    Form4->SpeedButton4Click(Form4);
    const char *cycle[] = {"-C-", "--S"};
    for (int tick = 1; tick < 20; ++tick) {
        clock.advance(50);
        EXPECT_EQ(Lit(), cycle[(tick - 1) % 2]) << "tick " << tick;
    }
    clock.advance(50);
    EXPECT_EQ(Lit(), "N--");
}

TEST_F(Blinker, ASecondPressWithTheSameSettingsKeepsTheFirstRunAndItsEnd) {
    Locks(false, true, false);
    Choose(3, 250, 3);
    Form4->SpeedButton4Click(Form4);
    clock.advance(1000);
    Form4->SpeedButton4Click(Form4);
    clock.advance(1999);
    EXPECT_TRUE(Running());
    clock.advance(1);
    EXPECT_FALSE(Running());
    // The first tick's saved states stand: the press in mid-run did not start another run.
    EXPECT_EQ(Lit(), "-C-");
}

TEST_F(Blinker, APatternChangeMidRunKeepsTheStepSoATwoStepPatternStaysIdleAtThree) {
    Locks(false, false, false);
    Choose(1, 250, 3);
    Form4->SpeedButton4Click(Form4);
    clock.advance(500);
    EXPECT_EQ(Lit(), "-C-");
    EXPECT_EQ(BlinkStep, 3);
    Choose(3, 250, 3);
    Form4->SpeedButton4Click(Form4);
    fake.log.clear();
    clock.advance(2499);
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(BlinkStep, 3);
    clock.advance(1);
    EXPECT_EQ(Lit(), "---");
    EXPECT_FALSE(Running());

    // The next pattern starts in mid-cycle with its own first step.
    Choose(5, 250, 3);
    Form4->SpeedButton4Click(Form4);
    clock.advance(250);
    EXPECT_EQ(Lit(), "-C-");
}

TEST_F(Blinker, TheStopImageAndStopEndTheRunAtOnce) {
    Locks(true, false, true);
    Choose(2, 250, 30);
    Form4->SpeedButton4Click(Form4);
    clock.advance(250);
    EXPECT_EQ(Lit(), "--S");
    Form1->Image6->Click();
    EXPECT_EQ(Lit(), "N-S");
    EXPECT_FALSE(StopImageShown());
    EXPECT_FALSE(Running());

    Form4->SpeedButton4Click(Form1);
    clock.advance(500);
    EXPECT_EQ(Lit(), "-C-");
    Form4->SpeedButton5Click(Form4);
    EXPECT_EQ(Lit(), "N-S");
    EXPECT_FALSE(Running());

    // Closing the program mid-run ends the run first.
    Form4->SpeedButton4Click(Form1);
    clock.advance(250);
    EXPECT_EQ(Lit(), "--S");
    Form1->close();
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(Lit(), "N-S");
    EXPECT_FALSE(Running());
}

TEST_F(Blinker, AnEndWithoutAFirstTickLeavesTheLocksAsTheyAre) {
    // A finished run saved all-off; the user then switches the locks on.
    Locks(false, false, false);
    Choose(3, 100, 1);
    Form4->SpeedButton4Click(Form4);
    clock.advance(1000);
    Locks(true, true, true);
    fake.log.clear();
    Form4->SpeedButton5Click(Form4);
    DM->Timer2Timer(Form1);
    // Started but stopped before its first tick.
    Form4->SpeedButton4Click(Form4);
    clock.advance(50);
    DM->Timer2Timer(Form1);
    clock.advance(2000);
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(Lit(), "NCS");
    EXPECT_FALSE(Running());
}

TEST_F(Blinker, BlinkingSwitchedOffStartsNothingAndAnUnknownPatternOnlyBlanks) {
    Locks(true, true, true);
    Choose(1, 100, 1);
    Form4->CheckBox5->setChecked(false);
    Form4->SpeedButton4Click(Form4);
    EXPECT_FALSE(Running());

    Form4->CheckBox5->setChecked(true);
    Form4->ComboBox1->setCurrentIndex(-1);
    Form4->SpeedButton4Click(Form4);
    EXPECT_EQ(BlinkPattern, 0);
    clock.advance(100);
    EXPECT_EQ(Lit(), "---");
    EXPECT_TRUE(StopImageShown());
    fake.log.clear();
    clock.advance(800);
    EXPECT_TRUE(fake.log.empty());
    clock.advance(100);
    EXPECT_EQ(Lit(), "NCS");
}

TEST_F(Blinker, AFiringBlinksAfterItsSoundsWithTheDialogsSettings) {
    Locks(false, false, false);
    Choose(6, 200, 2);
    Form4->RadioButton2->setChecked(true);
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->RxSpinEdit3->SetValue(1);
    Form1->Button2Click(Form1->Button2);
    clock.advance(60000);
    // The end of the run and the slot each play the melody; the run starts only then, its first tick a step later.
    ASSERT_EQ(fake.Count("PlayTone 120 100"), 20);
    EXPECT_EQ(fake.log.back(), "PlayTone 120 100");
    EXPECT_TRUE(DM->Timer2->Enabled());
    clock.advance(200);
    EXPECT_EQ(Lit(), "--S");
    clock.advance(1800);
    EXPECT_EQ(Lit(), "---");
    EXPECT_FALSE(Running());
}

} // namespace
