// SPDX-License-Identifier: GPL-3.0-or-later
// Commands handed to the running program: checked at once, carried out through the window's controls from the
// event loop, and the state line --status prints.
#include "actions/Unit2.h"
#include "actions/Unit6.h"
#include "app/Commands.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/SpinEdit.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <functional>

namespace {

constexpr std::int64_t kMinute = 60000;

class Commanded : public fakes::TestApp {
protected:
    void SetUp() override { StartAt(QTime(10, 30, 20)); }
    // A command as a later start hands it over; what it changes happens once the event loop runs.
    platform::CommandAnswer Send(const std::vector<std::string> &arguments) {
        const platform::CommandAnswer answer = Commands::TakeArguments(arguments);
        // The command's clicks, then what they post in turn.
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
        }
        return answer;
    }
    // Arms a one-minute log-off with a 20-second warning and runs `inside` while that warning counts.
    void WhileALogoffWarningCounts(const std::function<void()> &inside) {
        Form1->WarningCounter = 20;
        ASSERT_EQ(Send({"--in", "1", "--do", "logoff"}).code, platform::CommandDone);
        bool ran = false;
        QTimer::singleShot(0, Form2, [&] {
            ran = true;
            inside();
        });
        clock.advance(kMinute);
        ASSERT_TRUE(ran) << "the warning was shown";
    }
};

} // namespace

TEST_F(Commanded, ACountdownIsArmedPausedResumedAndCancelledAsByClicks) {
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=alarm task=remind");
    EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 1);
    const platform::CommandAnswer answer = Commands::TakeArguments({"--in", "5", "--do", "poweroff"});
    EXPECT_EQ(answer.code, platform::CommandDone);
    EXPECT_FALSE(Form1->Button2->isEnabled()) << "the answer is the outcome: armed by the time it comes";
    EXPECT_EQ(Commands::TakeArguments({"--at", "07:00", "--do", "reboot"}).code, platform::CommandRefused)
        << "a second arming right behind it is refused, not answered and dropped";
    EXPECT_TRUE(Form1->RadioButton4->isChecked());
    EXPECT_TRUE(Form1->RadioButton2->isChecked());
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - заведён");
    EXPECT_EQ(Form1->Label4->Caption(), "Таймер 1.\rОсталось: 5 мин.");
    EXPECT_FALSE(Form1->isVisible()) << "arming hides the window, as the button does";
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=poweroff due=10:35 left=5");
    EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 0);
    EXPECT_EQ(Commands::TakeArguments({"--status"}).text, "state=armed mode=countdown task=poweroff due=10:35 left=5");
    clock.advance(kMinute);
    EXPECT_EQ(Send({"--pause"}).code, platform::CommandDone);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - приостановлен");
    EXPECT_EQ(Commands::StatusLine(), "state=paused mode=countdown task=poweroff left=4");
    EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 0);
    clock.advance(10 * kMinute);
    EXPECT_EQ(Send({"--resume"}).code, platform::CommandDone);
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=poweroff due=10:45 left=4");
    EXPECT_EQ(Send({"--cancel"}).code, platform::CommandDone);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - остановлен");
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=countdown task=poweroff");
    clock.advance(60 * kMinute);
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "PowerOff"), 0) << "a cancelled run powers nothing off";
}

TEST_F(Commanded, RefusedCommandsChangeNothingAndSayWhy) {
    const platform::CommandAnswer bad = Send({"--in", "0"});
    EXPECT_EQ(bad.code, platform::CommandInvalid);
    EXPECT_NE(bad.text.find("«0»"), std::string::npos) << bad.text;
    EXPECT_EQ(Send({"--pause"}).code, platform::CommandRefused);
    EXPECT_EQ(Send({"--resume"}).code, platform::CommandRefused);
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=alarm task=remind");
    EXPECT_EQ(Send({"--at", "11:15", "--do", "monitor-off"}).code, platform::CommandDone);
    const QString armed = Commands::StatusLine();
    EXPECT_EQ(armed.toStdString(), "state=armed mode=alarm task=monitor-off due=11:15");
    EXPECT_TRUE(Form1->RadioButton1->isChecked()) << "the alarm-clock choice that was on stays on";
    const platform::CommandAnswer again = Send({"--in", "5", "--do", "reboot"});
    EXPECT_EQ(again.code, platform::CommandRefused);
    EXPECT_NE(again.text.find("--cancel"), std::string::npos) << again.text;
    EXPECT_EQ(Commands::StatusLine(), armed) << "the refused command chose no task either";
    EXPECT_EQ(Send({"--pause"}).code, platform::CommandDone);
    EXPECT_EQ(Send({"--pause"}).code, platform::CommandRefused);
}

TEST_F(Commanded, TheSecondCountdownShowsInTheLineAndTheWindowIsHiddenShownAndClosed) {
    Form1->CheckBox1->setChecked(true);
    Form6->RxSpinEdit1->SetValue(20);
    Form6->RadioButton6->setChecked(true);
    int changes = 0;
    Commands::WatchState([&changes] { ++changes; });
    EXPECT_EQ(Send({"--in", "3"}).code, platform::CommandDone);
    EXPECT_GT(changes, 0);
    EXPECT_EQ(Commands::StatusLine(),
              "state=armed mode=countdown task=remind due=10:33 left=3 timer2-task=logoff timer2-due=10:50 "
              "timer2-left=20");
    clock.advance(3 * kMinute);
    EXPECT_EQ(Commands::StatusLine(),
              "state=armed mode=countdown task=remind timer2-task=logoff timer2-due=10:50 timer2-left=17");
    EXPECT_EQ(Send({"--hide"}).code, platform::CommandDone);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_EQ(Send({"--show"}).code, platform::CommandDone);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Send({"--quit"}).code, platform::CommandDone);
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(Send({"--show"}).code, platform::CommandRefused) << "a closing program takes no more commands";
}

TEST_F(Commanded, WhileTheWarningCountsCancelIsItsOwnCancelAndTheRestIsRefused) {
    ASSERT_NO_FATAL_FAILURE(WhileALogoffWarningCounts([&] {
        const std::string line = Commands::StatusLine().toStdString();
        EXPECT_EQ(line, "state=warning mode=countdown task=logoff due=10:31:41");
        EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 0);
        EXPECT_EQ(fake.sleepGuard.held, "Zindrel: задача будет выполнена в 10:31:41") << "the warning holds too";
        const platform::CommandAnswer arm = Commands::TakeArguments({"--in", "30", "--do", "reboot"});
        EXPECT_EQ(arm.code, platform::CommandRefused);
        EXPECT_NE(arm.text.find("--cancel"), std::string::npos) << arm.text;
        EXPECT_TRUE(Form1->RadioButton6->isChecked()) << "the task about to run is not changed";
        EXPECT_EQ(Commands::TakeArguments({"--pause"}).code, platform::CommandRefused);
        EXPECT_EQ(Commands::TakeRequest({platform::CommandRequest::Kind::Resume, 0, {}, {}}).code,
                  platform::CommandRefused);
        EXPECT_EQ(Commands::TakeRequest({platform::CommandRequest::Kind::Cancel, 0, {}, {}}).code,
                  platform::CommandDone);
        EXPECT_FALSE(Form2->isVisible()) << "cancelled as by the warning's own button";
    }));
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("LogOff"), 0) << "the cancelled warning runs nothing";
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=countdown task=logoff");
    EXPECT_EQ(fake.sleepGuard.held, "");
    EXPECT_TRUE(Form1->isVisible());
}

TEST_F(Commanded, PostponeMovesTheCountdownAndTheAlarmKeepsTheFieldsAndIsRefusedStoppedOrPaused) {
    const platform::CommandAnswer stopped = Send({"--postpone"});
    EXPECT_EQ(stopped.code, platform::CommandRefused);
    EXPECT_NE(stopped.text.find("не заведён"), std::string::npos) << stopped.text;
    EXPECT_EQ(Send({"--postpone", "0"}).code, platform::CommandInvalid);
    EXPECT_EQ(Send({"--postpone", "5", "6"}).code, platform::CommandInvalid);
    EXPECT_EQ(Commands::TakeRequest({platform::CommandRequest::Kind::Postpone, 10000, {}, {}}).code,
              platform::CommandInvalid);

    // A countdown: due later, the minutes shown count from the new length; the person's field stays.
    ASSERT_EQ(Send({"--in", "5", "--do", "hide"}).code, platform::CommandDone);
    EXPECT_EQ(Send({"--postpone", "3"}).code, platform::CommandDone);
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=hide due=10:38 left=8");
    EXPECT_EQ(Form1->Label4->Caption(), "Таймер 1.\rОсталось: 8 мин.");
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 5);
    clock.advance(kMinute);
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=hide due=10:38 left=7");
    EXPECT_EQ(Send({"--postpone"}).code, platform::CommandDone) << "ten minutes without a number";
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=hide due=10:48 left=17");
    clock.advance(17 * kMinute - 1000);
    EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 0) << "not before its new time";
    clock.advance(1000);
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=countdown task=hide") << "fired at 10:48:20";

    // Paused: refused, nothing moves.
    ASSERT_EQ(Send({"--in", "5"}).code, platform::CommandDone);
    ASSERT_EQ(Send({"--pause"}).code, platform::CommandDone);
    const QString paused = Commands::StatusLine();
    const platform::CommandAnswer whilePaused = Send({"--postpone=5"});
    EXPECT_EQ(whilePaused.code, platform::CommandRefused);
    EXPECT_NE(whilePaused.text.find("--resume"), std::string::npos) << whilePaused.text;
    EXPECT_EQ(Commands::StatusLine(), paused);
    ASSERT_EQ(Send({"--cancel"}).code, platform::CommandDone);

    // The alarm clock: a countdown to its time moved on; the alarm time stays in the fields and is the mode again
    // once the run ends.
    ASSERT_EQ(Send({"--at", "11:15", "--do", "monitor-off"}).code, platform::CommandDone);
    EXPECT_EQ(Commands::TakeRequest({platform::CommandRequest::Kind::Postpone, 20, {}, {}}).code,
              platform::CommandDone);
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=monitor-off due=11:35 left=47");
    EXPECT_EQ(Form1->Label5->Caption(), "Таймер");
    EXPECT_EQ(Form1->RxSpinEdit1->Value(), 11);
    EXPECT_EQ(Form1->RxSpinEdit2->Value(), 15);
    EXPECT_TRUE(Form1->RadioButton1->isChecked());
    clock.advance(46 * kMinute + 39000); // 11:34:59, the alarm armed at 10:48:20 for 11:15 and moved 20 minutes
    EXPECT_EQ(fake.Count("MonitorLowPower"), 0) << "not at 11:15, not before 11:35";
    clock.advance(1000);
    EXPECT_EQ(fake.Count("MonitorLowPower"), 1);
    EXPECT_EQ(Commands::StatusLine(), "state=stopped mode=alarm task=monitor-off");
}

TEST_F(Commanded, PostponeDuringTheWarningArmsTheSameTaskAgainAndAReminderNoticeArmsItsSlotAgain) {
    ASSERT_NO_FATAL_FAILURE(WhileALogoffWarningCounts([&] {
        EXPECT_EQ(Send({"--postpone", "15"}).code, platform::CommandDone);
        EXPECT_FALSE(Form2->isVisible()) << "closed as by its Cancel";
    }));
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=logoff due=10:46 left=15");
    EXPECT_FALSE(fake.notifications.IsUp(platform::NoticeKind::Warning));
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - заведён");
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён таймер, сработает в 10:46") << "the hold follows";
    clock.advance(kMinute);
    EXPECT_EQ(fake.Count("LogOff"), 0);
    ASSERT_EQ(Send({"--cancel"}).code, platform::CommandDone);

    // A reminder: its notice says what fell due; its postponement arms the slot again, which takes the notice down.
    ASSERT_EQ(Send({"--in", "2", "--do", "remind"}).code, platform::CommandDone);
    clock.advance(2 * kMinute);
    const auto sent = fake.notifications.Sent(platform::NoticeKind::Reminder);
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_EQ(sent[0].text, "Первый таймер сработал в 10:34.");
    EXPECT_EQ(sent[0].labels, std::vector<std::string>{"Отложить на 10 минут"});
    EXPECT_EQ(sent[0].expireMs, 0) << "it stays until dismissed";
    EXPECT_EQ(Commands::StatusCode(Commands::StatusLine()), 1);
    ASSERT_TRUE(fake.notifications.Pick(platform::NoticeKind::Reminder, "Отложить на 10 минут"));
    EXPECT_EQ(Commands::StatusLine(), "state=armed mode=countdown task=remind due=10:44 left=10");
    EXPECT_FALSE(fake.notifications.IsUp(platform::NoticeKind::Reminder));
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 2) << "the person's minutes stay";
    clock.advance(10 * kMinute);
    EXPECT_EQ(fake.notifications.Sent(platform::NoticeKind::Reminder).size(), 2U) << "it reminds again";
    ASSERT_EQ(Send({"--in", "3"}).code, platform::CommandDone);
    EXPECT_FALSE(fake.notifications.IsUp(platform::NoticeKind::Reminder)) << "arming takes it down";
}

TEST_F(Commanded, TheCountdownRangeIsTheSpinBoxs) {
    EXPECT_EQ(Form1->RxSpinEdit3->minimum(), kCountdownMinutesMin);
    EXPECT_EQ(Form1->RxSpinEdit3->maximum(), kCountdownMinutesMax);
}
