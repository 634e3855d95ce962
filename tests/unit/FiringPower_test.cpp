// SPDX-License-Identifier: GPL-3.0-or-later
// The power and display steps of a firing and of the quick pictures, with and without the warning countdown.
#include "actions/Unit2.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "settings/Unit4.h"
#include "signals/Unit8.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <tuple>

namespace {

constexpr std::int64_t kMinute = 60000;

class FiringPower : public fakes::TestApp {
protected:
    void SetUp() override {
        CreateForms();
        Form4->RadioButton1->setChecked(false);
        Form4->RadioButton2->setChecked(false);
    }
    void ArmCountdowns(int minutes1, int minutes2 = 0) {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(minutes1);
        Form1->CheckBox1->setChecked(minutes2 > 0);
        Form6->RxSpinEdit1->SetValue(minutes2);
        Form1->Button2Click(Form1->Button2);
    }
    // Arms what runs when the warning dialog opens: body is run inside it and the shown count is recorded. A
    // dialog the body left open is closed by force, so a fault cannot hang the test run.
    void WhenWarningShows(std::function<void()> body) {
        QTimer::singleShot(0, Form2, [this, body] {
            if (!Form2->isVisible()) {
                return;
            }
            ++warningsShown;
            body();
            if (Form2->isVisible()) {
                ADD_FAILURE() << "the warning dialog was still open";
                Form2->WarningCloseAllowed = true;
                Form2->Timer1->SetEnabled(false);
                Form2->reject();
            }
        });
    }
    // The index of the first log entry starting with prefix, or -1.
    int Position(const std::string &prefix) const {
        const auto it = std::find_if(fake.log.begin(), fake.log.end(),
                                     [&](const std::string &call) { return call.rfind(prefix, 0) == 0; });
        return it == fake.log.end() ? -1 : static_cast<int>(it - fake.log.begin());
    }
    int warningsShown = 0;
};

TEST_F(FiringPower, Countdown2ShutdownActsAtOnceWhateverNoWarningsSays) {
    for (const bool noWarnings : {false, true}) {
        fake.log.clear();
        terminated = 0;
        Form1->MainClosed = false;
        clock.resume();
        Form1->NoWarnings = noWarnings;
        Form6->RadioButton4->setChecked(true);
        ArmCountdowns(10, 5);
        WhenWarningShows([] {});
        clock.advance(5 * kMinute);
        QCoreApplication::processEvents();
        EXPECT_EQ(fake.Count("PowerOff"), 1) << noWarnings;
        EXPECT_EQ(terminated, 1) << noWarnings;
        EXPECT_EQ(warningsShown, 0) << "slot 2 never warns";
        Form1->Button1Click(Form1->Button1);
    }
}

TEST_F(FiringPower, AClosedProgramFiresNothingMore) {
    Form1->NoWarnings = true;
    Form4->CheckBox5->setChecked(true); // blinking
    Form1->RadioButton4->setChecked(true);
    Form6->RadioButton4->setChecked(true);
    // Equal lengths: both countdowns fall due in one batch.
    ArmCountdowns(5, 5);
    clock.advance(5 * kMinute);
    EXPECT_EQ(fake.Count("PowerOff"), 1) << "the closed program makes no second power call";
    EXPECT_EQ(terminated, 1);
    EXPECT_TRUE(DM->Timer1->Enabled()) << "the firing still started its blink run";
    clock.advance(kMinute);
    EXPECT_EQ(Position("Set "), -1) << "but no blink step runs after the close";

    // Both due at a resume; slot 2 would bring the closed window back.
    Form1->Button1Click(Form1->Button1);
    Form1->MainClosed = false;
    clock.resume();
    fake.log.clear();
    Form6->RadioButton3->setChecked(true); // Remind
    ArmCountdowns(3, 4);
    // Slot 1 exactly 60 s late: not yet late enough to warn first.
    clock.suspend(4 * kMinute);
    clock.advance(0);
    EXPECT_EQ(fake.Count("PowerOff"), 1);
    EXPECT_FALSE(Form1->isVisible()) << "the closed window stays closed";
    EXPECT_TRUE(Form1->Label7->isVisibleTo(Form1)) << "slot 2's firing never ran";
}

TEST_F(FiringPower, WarningComesBeforeTheBlinkStartAndTheLaunchList) {
    Form4->CheckBox5->setChecked(true);
    Form7->CheckBox5->setChecked(true);
    Form7->ListBox1->addItem(QStringLiteral("echo launched"));
    Form1->NoWarnings = false;
    Form1->WarningCounter = 2;
    Form1->RadioButton4->setChecked(true);
    ArmCountdowns(1);

    bool blinkingDuringWarning = true;
    int launchesDuringWarning = -1;
    WhenWarningShows([&] {
        blinkingDuringWarning = DM->Timer1->Enabled();
        launchesDuringWarning = fake.Count("Launch echo launched");
        EXPECT_EQ(fake.Count("PowerOff"), 0);
        clock.advance(3000);
    });
    clock.advance(kMinute);
    EXPECT_EQ(warningsShown, 1);
    EXPECT_FALSE(blinkingDuringWarning);
    EXPECT_EQ(launchesDuringWarning, 0);
    EXPECT_TRUE(DM->Timer1->Enabled()) << "the blink run starts once the dialog has closed";
    EXPECT_EQ(fake.Count("Launch echo launched"), 1) << "the launch list runs after a power task as well";
    EXPECT_LT(Position("PowerOff"), Position("Launch "));
    EXPECT_EQ(terminated, 1);
}

TEST_F(FiringPower, CancelledWarningLeavesTheProgramRunningAndUnarmed) {
    Form1->NoWarnings = false;
    Form1->RadioButton6->setChecked(true); // Logoff
    ArmCountdowns(1);
    WhenWarningShows([] { Form2->Button1->click(); });
    clock.advance(kMinute);
    EXPECT_EQ(warningsShown, 1);
    EXPECT_EQ(fake.Count("LogOff"), 0);
    EXPECT_EQ(terminated, 0);
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(FiringPower, Slot1WithNoWarningsActsAtOnceAndClosesTheMainWindow) {
    const std::pair<QRadioButton * TForm1::*, const char *> cases[] = {{&TForm1::RadioButton6, "LogOff"},
                                                                       {&TForm1::RadioButton5, "Reboot"},
                                                                       {&TForm1::RadioButton11, "Suspend"},
                                                                       {&TForm1::RadioButton4, "PowerOff"}};
    fake.power.result = false; // results are ignored
    Form1->NoWarnings = true;
    for (const auto &[radio, call] : cases) {
        fake.log.clear();
        terminated = 0;
        Form1->MainClosed = false;
        clock.resume();
        (Form1->*radio)->setChecked(true);
        ArmCountdowns(1);
        WhenWarningShows([] {});
        clock.advance(kMinute);
        QCoreApplication::processEvents();
        EXPECT_EQ(fake.Count(call), 1) << call;
        EXPECT_EQ(terminated, 1) << call;
        EXPECT_EQ(warningsShown, 0) << call;
    }
}

TEST_F(FiringPower, DisplayTasksOfEitherSlotLeaveTheProgramRunning) {
    Form1->RadioButton8->setChecked(true); // MonitorOff
    Form6->RadioButton9->setChecked(true); // ScreenSaver
    ArmCountdowns(2, 1);
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("StartScreenSaver"), 1);
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("MonitorLowPower"), 1);
    EXPECT_EQ(fake.Count("StartScreenSaver"), 1);
    EXPECT_EQ(terminated, 0);
}

// A late power task of slot 1 (cancelled, then run out) or slot 2 (run out), each firing two hours late.
class LateFiring : public FiringPower, public ::testing::WithParamInterface<std::tuple<int, int, bool>> {};

TEST_P(LateFiring, APowerTaskThatFiresLateWarnsFirstWhateverTheSettingsSay) {
    const auto [slot, configured, cancel] = GetParam();
    Form1->NoWarnings = true;
    Form1->WarningCounter = configured;
    Form6->RadioButton4->setChecked(true);                                     // slot 2 never warns on time
    (slot == 1 ? Form1->RadioButton4 : Form1->RadioButton3)->setChecked(true); // Shutdown, or Remind
    ArmCountdowns(slot == 1 ? 10 : 600, slot == 1 ? 0 : 10);
    int shown = -1;
    int callsBeforeTheEnd = -1;
    WhenWarningShows([&] {
        shown = Form2->SecondsLeft;
        if (cancel) {
            Form2->Button1->click();
            return;
        }
        clock.advance(shown * 1000 - 1000);
        callsBeforeTheEnd = fake.Count("PowerOff");
        clock.advance(2000);
    });
    // The machine slept through the due time and resumes two hours after it.
    clock.suspend(130 * kMinute);
    clock.advance(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(warningsShown, 1);
    EXPECT_EQ(shown, std::max(configured, 60)) << "the configured seconds, but never fewer than 60";
    EXPECT_EQ(fake.Count("PowerOff"), cancel ? 0 : 1);
    EXPECT_EQ(terminated, cancel ? 0 : 1);
    EXPECT_EQ(callsBeforeTheEnd, cancel ? -1 : 0) << "no power call while the warning counts";
}

INSTANTIATE_TEST_SUITE_P(FiringPower, LateFiring,
                         ::testing::Values(std::tuple(1, 15, true), std::tuple(1, 15, false),
                                           std::tuple(2, 90, false)));

TEST_F(FiringPower, QuickPicturesActAtOnceWithWarningsOn) {
    Form1->NoWarnings = false;
    struct Case {
        ClickLabel *TForm1::*picture;
        const char *call;
        bool closes;
    };
    const Case cases[] = {{&TForm1::Image3, "PowerOff", true},         {&TForm1::Image4, "Reboot", true},
                          {&TForm1::Image2, "LogOff", true},           {&TForm1::Image7, "Suspend", false},
                          {&TForm1::Image5, "MonitorLowPower", false}, {&TForm1::Image8, "StartScreenSaver", false}};
    for (const Case &c : cases) {
        fake.log.clear();
        terminated = 0;
        Form1->MainClosed = false;
        clock.resume();
        WhenWarningShows([] {});
        Form1->Button3Clicw(Form1->*c.picture);
        QCoreApplication::processEvents();
        EXPECT_EQ(fake.log, fakes::CallLog({c.call}));
        EXPECT_EQ(terminated, c.closes ? 1 : 0) << c.call;
        EXPECT_EQ(warningsShown, 0) << c.call;
    }
}

} // namespace
