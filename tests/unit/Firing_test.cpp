// SPDX-License-Identifier: GPL-3.0-or-later
// The firing: which source fires which slot, the fixed order of its steps, the reminder captions.
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

constexpr std::int64_t kMinute = 60000;

class Firing : public fakes::TestApp {
protected:
    void SetUp() override {
        Settings::Write(IniFile(SettingsFilePath()), setting::LightEnabled, false); // no blinking unless asked
        StartAt(QTime(9, 0, 10));
    }
    void ArmCountdown(int minutes, bool second = false) {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(minutes);
        Form1->CheckBox1->setChecked(second);
        Form1->Button2Click(Form1->Button2);
    }
    void ArmAlarm(int hour, int minute) {
        Form1->RadioButton1->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton1);
        Form1->RxSpinEdit1->SetValue(hour);
        Form1->RxSpinEdit2->SetValue(minute);
        Form1->Button2Click(Form1->Button2);
    }
    // The log entries of interest, in order.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const std::string &call : fake.log) {
            if (call.rfind("FindPlayer", 0) != 0) {
                steps.push_back(call);
            }
        }
        return steps;
    }
};

} // namespace

TEST_F(Firing, Slot1StepsRunInTheirFixedOrder) {
    Form1->RadioButton8->setChecked(true); // MonitorOff
    Form7->ComboBox1->setCurrentIndex(2);  // open and close the door
    Form7->CheckBox5->setChecked(true);
    Form7->ListBox1->addItem(QStringLiteral("first --x"));
    Form7->ListBox1->addItem(QStringLiteral("second"));
    ArmCountdown(1);
    fake.log.clear();
    clock.advance(kMinute);
    const std::vector<std::string> expected = {"PlayFile /sounds/alarm.wav", // end of the run
                                               "PlayFile /sounds/alarm.wav", // the slot's own sound
                                               "MonitorLowPower",
                                               "OpenDoor",
                                               "CloseDoor",
                                               "Launch first --x",
                                               "Launch second"};
    EXPECT_EQ(Steps(), expected);
}

TEST_F(Firing, EndOfRunResetComesBeforeTheSlotsTask) {
    Form1->RadioButton7->setChecked(true); // RemindText
    Form5->Memo1->setPlainText(QStringLiteral("купить хлеб"));
    bool unarmedAtReminder = false;
    fake.system.onMessage = [&](const fakes::MessageBoxCall &) {
        unarmedAtReminder =
            Form1->Button2->isEnabled() && Form1->windowTitle() == "Zindrel" && Form1->Label5->Caption() == "- - -";
    };
    ArmCountdown(2);
    clock.advance(2 * kMinute);
    ASSERT_EQ(fake.system.messages.size(), 1u) << "shown once in a countdown run";
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - первый таймер сработал!");
    EXPECT_EQ(fake.system.messages[0].text, "купить хлеб");
    EXPECT_EQ(fake.system.messages[0].flags, 0x1040u);
    EXPECT_TRUE(unarmedAtReminder);
}

TEST_F(Firing, AlarmWithTextShowsTheAlarmCaptionOnceAndIgnoresCountdown2) {
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->CheckBox1->setChecked(true); // left checked from an earlier countdown run
    Form6->RadioButton8->setChecked(true);
    Form1->RadioButton7->setChecked(true);
    ArmAlarm(9, 5);
    clock.setWall(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0)));
    clock.advance(450);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - будильник!");
    EXPECT_EQ(fake.Count("MonitorLowPower"), 0) << "only the slot-1 task runs";
    EXPECT_FALSE(Form1->RunIsAlarm());
}

TEST_F(Firing, Countdown2AloneNeverMovesTheDoorButRunsTheLaunchList) {
    Form7->ComboBox1->setCurrentIndex(2);
    Form7->CheckBox5->setChecked(true);
    Form7->ListBox1->addItem(QStringLiteral("notify"));
    Form6->RxSpinEdit1->SetValue(1);
    Form6->RadioButton7->setChecked(true); // RemindText for slot 2
    Form5->Memo2->setPlainText(QStringLiteral("второй"));
    ArmCountdown(5, true);
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("OpenDoor"), 0);
    EXPECT_EQ(fake.Count("Launch notify"), 1);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - второй таймер сработал!");
    EXPECT_EQ(fake.system.messages[0].text, "второй");
    EXPECT_FALSE(Form1->Button2->isEnabled()) << "countdown 1 still runs";
    EXPECT_TRUE(Form1->SpeedButton3->isEnabled());
    clock.advance(4 * kMinute);
    EXPECT_EQ(fake.Count("OpenDoor"), 1) << "slot 1 moves it";
    EXPECT_EQ(fake.Count("Launch notify"), 2) << "every firing runs the list";
}

TEST_F(Firing, NoWindowIsOnlyTheExtrasTheSoundAndTheBlinking) {
    Form1->RadioButton10->setChecked(true);
    ArmCountdown(1);
    fake.log.clear();
    clock.advance(kMinute);
    EXPECT_EQ(Steps(), (std::vector<std::string>{"PlayFile /sounds/alarm.wav", "PlayFile /sounds/alarm.wav"}));
    EXPECT_FALSE(Form1->isVisible());
    // Nobody opened a dialog: neither the start nor the firing made one to find it had nothing to do.
    EXPECT_EQ(Form7.Existing(), nullptr);
    EXPECT_EQ(Form5.Existing(), nullptr);
    EXPECT_EQ(Form2.Existing(), nullptr);
    EXPECT_EQ(Form4.Existing(), nullptr) << "the sound and the blinking come from the settings read at start";
    EXPECT_EQ(Form6.Existing(), nullptr);
}

TEST_F(Firing, TaskIsReadAtTheFiringNotAtArming) {
    Form1->RadioButton3->setChecked(true);
    ArmCountdown(1);
    Form1->RadioButton9->setChecked(true); // changed to the screen saver while armed
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("StartScreenSaver"), 1);
    EXPECT_FALSE(Form1->isVisible());
}
