// SPDX-License-Identifier: GPL-3.0-or-later
// The media-player component and the extras dialog's player actions at a firing.
#include "actions/Unit7.h"
#include "actions/WinAmp.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace {

using Strings = std::vector<std::string>;

class Player : public fakes::TestApp {
protected:
    // What reached the player, in order.
    Strings Sent() const {
        Strings sent;
        for (const std::string &call : fake.log) {
            if (call.rfind("Player ", 0) == 0) {
                sent.push_back(call);
            }
        }
        return sent;
    }
    void FireCountdown1() {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(1);
        Form1->Button2Click(Form1->Button2);
        clock.advance(60000);
    }
};

TEST(WinAmpControl, ConstructorValues) {
    fakes::FakePlatform fake;
    TWinAmpControl control(nullptr);
    EXPECT_EQ(control.WinAmpWnd, 0u);
    EXPECT_FALSE(control.CloseWinAmpOnExit);
    EXPECT_EQ(control.WAmpPath, QStringLiteral("C:\\Program Files\\WinAmp\\WinAmp.exe"));
    EXPECT_EQ(control.DelayAfterLoadWinAmp, 3000);
    EXPECT_EQ(control.WinAmpClassName, QStringLiteral("Winamp v1.x"));
    EXPECT_FALSE(control.StartAndFindWinAmp);
    EXPECT_FALSE(control.WinAmpFound);
    EXPECT_TRUE(fake.log.empty()) << "creating the component looks for nothing";
}

TEST(WinAmpControl, StartsThenWaitsThenLooksAndClosesOnDestroy) {
    fakes::FakePlatform fake;
    std::vector<std::int32_t> sleeps;
    {
        TWinAmpControl control(nullptr);
        control.Sleep = [&](std::int32_t ms) {
            sleeps.push_back(ms);
            fake.log.emplace_back("Sleep");
        };
        control.StartAndFindWinAmp = true;
        control.CloseWinAmpOnExit = true;
        fake.player.running = 5;
        EXPECT_EQ(control.GoFindWinAmp(), 5u);
        EXPECT_TRUE(control.WinAmpFound);
    }
    EXPECT_EQ(fake.log, (Strings{"StartPlayer C:\\Program Files\\WinAmp\\WinAmp.exe Winamp v1.x", "Sleep",
                                 "FindPlayer Winamp v1.x", "Player Close"}));
    EXPECT_EQ(sleeps, (std::vector<std::int32_t>{3000}));
}

TEST_F(Player, LookedUpOnceWhenTheExtrasAreFirstMadeWithTheProgramsValues) {
    fake.player.running = 7;
    CreateForms();
    // The start makes no extras dialog, so it asks for no player.
    EXPECT_EQ(Form7.Existing(), nullptr);
    EXPECT_EQ(fake.Count("FindPlayer Winamp v1.x"), 0);
    EXPECT_TRUE(Form7->WinAmpControl1->WinAmpFound);
    EXPECT_EQ(fake.Count("FindPlayer Winamp v1.x"), 1);
    EXPECT_EQ(Form7->WinAmpControl1->WinAmpWnd, 7u);
    EXPECT_EQ(Form7->WinAmpControl1->WAmpPath, QStringLiteral("C:\\Program Files\\WinAmp\\WinAmp2sss.exe"));
    EXPECT_EQ(Form7->WinAmpControl1->DelayAfterLoadWinAmp, 5000);
    EXPECT_EQ(fake.Count("StartPlayer C:\\Program Files\\WinAmp\\WinAmp2sss.exe Winamp v1.x"), 0);
}

TEST_F(Player, PageDefaults) {
    CreateForms();
    EXPECT_EQ(Form7->CheckBox3->text(), QStringLiteral("Включить работу с WinAmp"));
    EXPECT_FALSE(Form7->CheckBox3->isChecked());
    EXPECT_TRUE(Form7->RadioButton1->isChecked());
    EXPECT_TRUE(Form7->RadioButton6->isChecked());
    EXPECT_FALSE(Form7->CheckBox4->isChecked());
    EXPECT_EQ(Form7->TrackBar1->minimum(), 0);
    EXPECT_EQ(Form7->TrackBar1->maximum(), 255);
    EXPECT_EQ(Form7->TrackBar1->value(), 255);
    EXPECT_EQ(Form7->TrackBar1->tickInterval(), 5);
}

TEST_F(Player, EnableBoxUncheckedSendsNothing) {
    fake.player.running = 7;
    CreateForms();
    Form7->RadioButton5->setChecked(true);
    Form7->RadioButton7->setChecked(true);
    Form7->CheckBox4->setChecked(true);
    FireCountdown1();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(fake.Count("FindPlayer Winamp v1.x"), 1) << "no look-up either";
}

TEST_F(Player, EachTrackChoiceSendsItsCommandFirst) {
    fake.player.running = 7;
    CreateForms();
    Form7->CheckBox3->setChecked(true);
    const std::pair<QRadioButton *, std::string> choices[] = {{Form7->RadioButton2, "Player PrevTrack"},
                                                              {Form7->RadioButton3, "Player StopPlay"},
                                                              {Form7->RadioButton4, "Player PlayPause"},
                                                              {Form7->RadioButton5, "Player NextTrack"}};
    for (const auto &[radio, command] : choices) {
        fake.log.clear();
        radio->setChecked(true);
        Form7->RunWinAmpActions();
        EXPECT_EQ(Sent(), Strings{command});
    }
}

TEST_F(Player, VolumeEndsAndVolumeBeforeClose) {
    fake.player.running = 7;
    CreateForms();
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton7->setChecked(true);
    Form7->RunWinAmpActions();
    Form7->TrackBar1->setValue(0);
    Form7->RunWinAmpActions();
    EXPECT_EQ(Sent(), (Strings{"Player Volume 255", "Player Volume 0"})) << "\"Ничего не делать\": only the volume";

    fake.log.clear();
    Form7->RadioButton5->setChecked(true);
    Form7->TrackBar1->setValue(128);
    Form7->CheckBox4->setChecked(true);
    FireCountdown1();
    EXPECT_EQ(Sent(), (Strings{"Player NextTrack", "Player Volume 128", "Player Close"}));
}

TEST_F(Player, NoPlayerRunsThroughSilently) {
    CreateForms();
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton4->setChecked(true);
    Form7->RadioButton7->setChecked(true);
    Form7->CheckBox4->setChecked(true);
    FireCountdown1();
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(fake.system.messages.empty());
    EXPECT_TRUE(Form1->Button2->isEnabled()) << "the firing completed";
}

TEST_F(Player, PlayerStartedAfterTheProgramIsDrivenAtTheNextFiring) {
    CreateForms();
    ASSERT_FALSE(Form7->WinAmpControl1->WinAmpFound);
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton5->setChecked(true);
    fake.player.running = 9;
    FireCountdown1();
    EXPECT_EQ(Sent(), Strings{"Player NextTrack"});
    EXPECT_EQ(Form7->WinAmpControl1->WinAmpWnd, 9u);

    fake.player.running = 11; // closed and started again
    fake.log.clear();
    Form7->RunWinAmpActions();
    EXPECT_EQ(fake.log, (Strings{"FindPlayer Winamp v1.x", "Player NextTrack"}));
    fake.log.clear();
    Form7->RunWinAmpActions();
    EXPECT_EQ(fake.log, Strings{"Player NextTrack"}) << "a live player is not looked up again";
}

} // namespace
