// SPDX-License-Identifier: GPL-3.0-or-later
// The scheduler of the main window: arming, minute ticks, the alarm check, pause, cancel, quick menu, wheel.
#include "actions/Unit6.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "controls/SpinEdit.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

constexpr std::int64_t kMinute = 60000;

// The rectangles a widget's paint events cover while the watch is installed on it.
struct PaintWatch : QObject {
    QRect painted;
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            painted |= static_cast<QPaintEvent *>(event)->rect();
        }
        return false;
    }
};

class Scheduler : public fakes::TestApp {
protected:
    void SetUp() override { StartAt(QTime(10, 30, 20)); }
    void ArmCountdown(int minutes) {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(minutes);
        Form1->Button2Click(Form1->Button2);
    }
    QString Remaining1() const { return Form1->Label4->Caption(); }
    bool Activate() {
        Form1->ShowMainWindow();
        return QTest::qWaitForWindowActive(Form1);
    }
    void Wheel(int delta, quint64 timestamp, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, phase,
                          false);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(Form1, &event);
    }
    int Sounds() const {
        return static_cast<int>(
            std::count_if(fake.log.begin(), fake.log.end(), [](const auto &c) { return c.rfind("PlayFile", 0) == 0; }));
    }
};

} // namespace

TEST_F(Scheduler, CountdownShowsMinutesLeftAndFiresOnce) {
    ArmCountdown(10);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - заведён");
    EXPECT_EQ(Form1->RxTrayIcon1->Hint(), "Zindrel - заведён");
    EXPECT_EQ(Form1->Label5->Caption(), "Таймер");
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 10 мин.");
    EXPECT_TRUE(Form1->Label4->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->N5->isEnabled());
    EXPECT_FALSE(Form1->SpeedButton2->isEnabled());
    EXPECT_FALSE(Form1->N8->isEnabled());
    EXPECT_TRUE(Form1->SpeedButton3->isEnabled());
    EXPECT_TRUE(Form1->N7->isEnabled());
    EXPECT_TRUE(Form1->RxTrayIcon1->Animated());
    EXPECT_FALSE(Form1->isVisible()) << "hidden to the tray on arming";
    clock.advance(kMinute);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 9 мин.");
    clock.advance(kMinute);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 8 мин.");
    clock.advance(8 * kMinute - 1);
    EXPECT_TRUE(Form1->Label4->isVisibleTo(Form1));
    clock.advance(1);
    EXPECT_FALSE(Form1->Label4->isVisibleTo(Form1));
    EXPECT_EQ(Form1->windowTitle(), "Zindrel");
    EXPECT_EQ(Form1->Label5->Caption(), "- - -");
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->SpeedButton3->isEnabled());
    EXPECT_FALSE(Form1->RxTrayIcon1->Animated());
    EXPECT_TRUE(Form1->isVisible()) << "Remind brings the window back";
    EXPECT_EQ(Sounds(), 2) << "a single-slot run plays the sound at the end of the run and for the slot";
    clock.advance(60 * kMinute);
    EXPECT_EQ(Sounds(), 2);
}

TEST_F(Scheduler, WithoutANotificationAreaArmingMinimisesInsteadOfHidingAndTheIconRests) {
    TrayIcon::OverrideAvailable(false);
    ArmCountdown(5);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(Form1->isMinimized());
    EXPECT_TRUE(Form1->RxTrayIcon1->Animated());
    EXPECT_FALSE(Form1->RxTrayIcon1->AnimationTimer->Enabled()) << "no notification area, no icon to turn";
    // A notification area appears while armed, then goes again: the window and the icon follow it.
    TrayIcon::OverrideAvailable(true);
    Form1->TrayHostChanged();
    EXPECT_FALSE(Form1->isVisible()) << "the minimised window moves into the new notification area";
    EXPECT_TRUE(Form1->RxTrayIcon1->AnimationTimer->Enabled());
    TrayIcon::OverrideAvailable(false);
    Form1->TrayHostChanged();
    EXPECT_TRUE(Form1->isVisible() && Form1->isMinimized()) << "a hidden window would be out of reach";
    EXPECT_FALSE(Form1->RxTrayIcon1->AnimationTimer->Enabled());
    Form1->Button3Clicw(Form1->N15);
    EXPECT_FALSE(Form1->isMinimized());
    Form1->KeepWindowOnArm = true;
    Form1->Button1Click(Form1->Button1);
    TrayIcon::OverrideAvailable(true);
    ArmCountdown(5);
    EXPECT_TRUE(Form1->isVisible()) << "tray_hide keeps the window on screen";
    EXPECT_TRUE(Form1->RxTrayIcon1->AnimationTimer->Enabled());
    Form1->RxTrayIcon1->SetActive(false);
    EXPECT_FALSE(Form1->RxTrayIcon1->AnimationTimer->Enabled()) << "the icon the user hid rests";
    Form1->RxTrayIcon1->SetActive(true);
    EXPECT_TRUE(Form1->RxTrayIcon1->AnimationTimer->Enabled());
}

TEST_F(Scheduler, AlarmAtTheCurrentMinuteWaitsADayMidnightDuringMidnightFiresAtOnce) {
    Form1->RxSpinEdit1->SetValue(10);
    Form1->RxSpinEdit2->SetValue(30);
    Form1->Button2Click(Form1->Button2);
    EXPECT_EQ(Form1->RxTrayIcon1->Hint(), "Zindrel - заведён на 10:30");
    EXPECT_EQ(Form1->Label5->Caption(), "Будильник");
    clock.advance(30000);
    EXPECT_EQ(Sounds(), 0) << "the alarm minute had begun before arming";
    clock.setWall(QDateTime(QDate(2026, 12, 8), QTime(10, 29, 59)));
    clock.advance(500);
    EXPECT_EQ(Sounds(), 0);
    clock.setWall(QDateTime(QDate(2026, 12, 8), QTime(10, 30, 0)));
    clock.advance(450);
    EXPECT_EQ(Sounds(), 2);
    EXPECT_FALSE(Form1->RxClock1->AlarmEnabled()) << "the alarm is one-shot";
    clock.setWall(QDateTime(QDate(2026, 12, 9), QTime(10, 30, 0)));
    clock.advance(2000);
    EXPECT_EQ(Sounds(), 2) << "no firing the next day";

    clock.setWall(QDateTime(QDate(2026, 12, 10), QTime(0, 0, 30)));
    Form1->RadioButton1->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton1);
    Form1->RxSpinEdit1->SetValue(0);
    Form1->RxSpinEdit2->SetValue(0);
    Form1->Button2Click(Form1->Button2);
    clock.advance(450);
    EXPECT_EQ(Sounds(), 4) << "00:00 armed during 00:00 fires at once";
}

TEST_F(Scheduler, InvalidAlarmTimeIsReportedAndNothingIsArmed) {
    Form1->RxSpinEdit1->SetValue(24);
    Form1->Button2Click(Form1->Button2);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "''24:0:0'' is not a valid time");
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel");
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->RxClock1->AlarmEnabled());
    Form1->RxSpinEdit1->SetValue(7);
    Form1->RxSpinEdit2->SetValue(60);
    Form1->Button2Click(Form1->Button2);
    EXPECT_EQ(fake.system.messages.back().text, "''7:60:0'' is not a valid time");
}

TEST_F(Scheduler, PauseKeepsTheTimeLeftAndResumeFiresThatMuchLater) {
    ArmCountdown(10);
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён таймер, сработает в 10:40") << "idle suspend held off";
    clock.advance(7 * kMinute);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 3 мин.");
    Form1->SpeedButton3Click(Form1->SpeedButton3);
    EXPECT_EQ(fake.sleepGuard.held, "") << "a paused run holds nothing";
    EXPECT_EQ(Form1->SpeedButton3->text(), "Далее");
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - приостановлен");
    EXPECT_EQ(Form1->RxTrayIcon1->Hint(), "Zindrel - приостановлен");
    EXPECT_FALSE(Form1->RxTrayIcon1->Animated());
    clock.advance(30 * kMinute);
    EXPECT_EQ(Sounds(), 0);
    EXPECT_EQ(fake.system.warmUps, 0) << "a paused countdown's old due time passed unheeded";
    Form1->SpeedButton3Click(Form1->SpeedButton3);
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён таймер, сработает в 11:10") << "held again, with the new time";
    EXPECT_EQ(Form1->SpeedButton3->text(), "Пауза");
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - заведён");
    EXPECT_TRUE(Form1->RxTrayIcon1->Animated());
    clock.advance(kMinute);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 2 мин.");
    clock.advance(2 * kMinute - 1);
    EXPECT_EQ(Sounds(), 0);
    EXPECT_EQ(fake.system.warmUps, 1) << "read back before the due time the resume set";
    clock.advance(1);
    EXPECT_EQ(Sounds(), 2);
    EXPECT_EQ(fake.sleepGuard.held, "") << "released at the firing";
    EXPECT_EQ(fake.sleepGuard.wakeAt, 0) << "a countdown sets no wake-up";
    EXPECT_FALSE(Form1->Label7->isVisibleTo(Form1)) << "a countdown-1 run never fires slot 2";
}

TEST_F(Scheduler, CancelDuringPauseAndAlarmPause) {
    ArmCountdown(10);
    Form1->SpeedButton3Click(Form1->SpeedButton3);
    Form1->Button1Click(Form1->Button1);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - остановлен");
    EXPECT_EQ(Form1->RxTrayIcon1->Hint(), "Zindrel - остановлен");
    EXPECT_EQ(Form1->Label5->Caption(), "- - -");
    EXPECT_FALSE(Form1->Label4->isVisibleTo(Form1));
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->SpeedButton3->isEnabled());
    EXPECT_EQ(Form1->SpeedButton3->text(), "Пауза");
    ArmCountdown(10);
    EXPECT_EQ(Form1->SpeedButton3->text(), "Пауза") << "the next arming starts unpaused";
    Form1->Button1Click(Form1->Button1);
    EXPECT_EQ(fake.sleepGuard.held, "") << "released at the cancel";
    clock.advance(20 * kMinute);
    EXPECT_EQ(Sounds(), 0);

    // An alarm-clock run paused still fires at its time.
    Form1->RadioButton1->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton1);
    Form1->RxSpinEdit1->SetValue(11);
    Form1->RxSpinEdit2->SetValue(0);
    Form1->Button2Click(Form1->Button2);
    const std::int64_t eleven = QDateTime(QDate(2026, 12, 7), QTime(11, 0)).toSecsSinceEpoch();
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён будильник на 11:00");
    EXPECT_EQ(fake.sleepGuard.wakeAt, eleven) << "the reminder wakes a sleeping machine";
    Form1->SpeedButton3Click(Form1->SpeedButton3);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - приостановлен");
    EXPECT_EQ(fake.sleepGuard.held, "");
    EXPECT_EQ(fake.sleepGuard.wakeAt, eleven) << "a paused alarm clock still fires, so it still wakes";
    clock.setWall(QDateTime(QDate(2026, 12, 7), QTime(11, 0, 1)));
    clock.advance(450);
    EXPECT_EQ(Sounds(), 2);
    EXPECT_EQ(fake.sleepGuard.wakeAt, 0) << "the wake-up goes with the firing";
    EXPECT_EQ(Form1->windowTitle(), "Zindrel");
    EXPECT_EQ(Form1->SpeedButton3->text(), "Пауза") << "the run's end leaves no pause behind";
    EXPECT_EQ(Form1->N7->text(), "Пауза");

    // A cancelled alarm does not fire.
    Form1->RxSpinEdit1->SetValue(12);
    Form1->Button2Click(Form1->Button2);
    Form1->Button1Click(Form1->Button1);
    EXPECT_EQ(fake.sleepGuard.held, "");
    EXPECT_EQ(fake.sleepGuard.wakeAt, 0);
    clock.setWall(QDateTime(QDate(2026, 12, 7), QTime(12, 0, 1)));
    clock.advance(450);
    EXPECT_EQ(Sounds(), 2);
}

TEST_F(Scheduler, QuickMenuArmsOnlyWhileUnarmed) {
    Form1->N11Click(Form1->N12);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 60);
    EXPECT_TRUE(Form1->RadioButton2->isChecked());
    EXPECT_TRUE(Form1->RxSpinEdit3->isEnabled());
    EXPECT_FALSE(Form1->Button2->isEnabled());
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 60 мин.");
    Form1->N11Click(Form1->N11);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 60) << "while armed the items do nothing";
    EXPECT_EQ(Form1->Timer1->Interval(), 60 * kMinute);
}

TEST_F(Scheduler, WheelChangesTheMinutesAndTheNextDisplayedValueNotTheFiringTime) {
    Form1->KeepWindowOnArm = true;
    ArmCountdown(10);
    ASSERT_TRUE(Activate());
    QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 240), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form1, &up);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 12);
    clock.advance(kMinute);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 11 мин.");
    clock.advance(9 * kMinute);
    EXPECT_EQ(Sounds(), 2) << "fires at the armed time";
    Form1->RxSpinEdit3->SetValue(1);
    Form1->FormMouseWheelDown();
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 1) << "clamped to 1..9999";
    Form1->RadioButton1->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton1);
    Form1->FormMouseWheelUp();
    EXPECT_TRUE(Form1->RadioButton2->isChecked()) << "the wheel switches to countdown mode";
}

TEST_F(Scheduler, SpinArrowsWrapAround) {
    Form1->RxSpinEdit1->SetValue(23);
    Form1->RxSpinEdit1->stepBy(1);
    EXPECT_EQ(Form1->RxSpinEdit1->Value(), 0);
    Form1->RxSpinEdit2->SetValue(0);
    Form1->RxSpinEdit2->stepBy(-1);
    EXPECT_EQ(Form1->RxSpinEdit2->Value(), 59);
    Form1->RxSpinEdit2->SetValue(59);
    Form1->RxSpinEdit2->stepBy(1);
    EXPECT_EQ(Form1->RxSpinEdit2->Value(), 0);
    Form1->RxSpinEdit1->SetValue(0);
    Form1->RxSpinEdit1->stepBy(-1);
    EXPECT_EQ(Form1->RxSpinEdit1->Value(), 23);
}

TEST_F(Scheduler, ModeSwitchKeepsTheSecondTimerCheckAndAlarmArmsNoCountdown2) {
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->CheckBox1->setChecked(true);
    Form1->RadioButton1->click();
    Form1->RadioButton1->click(); // a second click on the mode already on keeps it on
    EXPECT_TRUE(Form1->RadioButton1->isChecked());
    EXPECT_FALSE(Form1->RadioButton2->isChecked());
    EXPECT_FALSE(Form1->CheckBox1->isEnabled());
    EXPECT_TRUE(Form1->CheckBox1->isChecked());
    EXPECT_FALSE(Form1->RxSpinEdit3->isEnabled());
    Form1->RxSpinEdit1->SetValue(11);
    Form1->RxSpinEdit2->SetValue(0);
    Form1->Button2Click(Form1->Button2);
    EXPECT_FALSE(Form1->Timer3->Enabled());
    EXPECT_FALSE(Form1->Countdown2Armed());
}

TEST_F(Scheduler, TwoCountdownsOfTenAndFiveMinutes) {
    Form1->RadioButton8->setChecked(true); // slot 1 task is read at firing; set back to Remind below
    Form6->RxSpinEdit1->SetValue(5);
    Form6->RadioButton8->setChecked(true); // MonitorOff
    Form1->CheckBox1->setChecked(true);
    ArmCountdown(10);
    Form1->RadioButton3->setChecked(true);
    EXPECT_EQ(Form1->Label7->Caption(), "Таймер 2.\rОсталось: 5 мин.");
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведены два таймера, сработают в 10:40 и 10:35");
    clock.advance(5 * kMinute - 2001);
    EXPECT_EQ(fake.system.warmUps, 0);
    clock.advance(1);
    EXPECT_EQ(fake.system.warmUps, 1) << "the memory is read back 2 s before the earlier countdown";
    clock.advance(2000);
    EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён таймер, сработает в 10:40") << "countdown 1 still holds";
    EXPECT_EQ(fake.Count("MonitorLowPower"), 1);
    EXPECT_FALSE(Form1->isVisible()) << "slot 2's MonitorOff does not show the window";
    EXPECT_FALSE(Form1->Label7->isVisibleTo(Form1));
    EXPECT_TRUE(Form1->Label4->isVisibleTo(Form1));
    EXPECT_FALSE(Form1->Button2->isEnabled()) << "countdown 1 still runs";
    EXPECT_EQ(Sounds(), 1) << "the earlier firing plays the sound once";
    clock.advance(5 * kMinute - 2000);
    EXPECT_EQ(fake.system.warmUps, 2) << "and again before the later one";
    clock.advance(2000);
    EXPECT_EQ(Sounds(), 3) << "the later one twice";
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_TRUE(Form1->Button2->isEnabled());
    EXPECT_EQ(fake.Count("MonitorLowPower"), 1);
}

TEST_F(Scheduler, TheAlarmClockWakesTheMachineOnlyForWhatItShowsAndTheEndLetsAllGo) {
    const std::int64_t sevenTomorrow = QDateTime(QDate(2026, 12, 8), QTime(7, 0)).toSecsSinceEpoch();
    struct Case {
        QRadioButton *TForm1::*task;
        bool sound;
        std::int64_t wake;
    };
    const Case cases[] = {{&TForm1::RadioButton10, true, sevenTomorrow}, // no window, but a sound
                          {&TForm1::RadioButton10, false, 0},            // nothing for anyone to see or hear
                          {&TForm1::RadioButton4, true, 0}};             // shut-down
    Form1->RxSpinEdit1->SetValue(7);
    Form1->RxSpinEdit2->SetValue(0);
    for (const Case &c : cases) {
        (Form1->*c.task)->setChecked(true);
        // A wave file with an empty name is the settings' "no sound".
        Form4->FilenameEdit2->setText(c.sound ? QStringLiteral("/sounds/alarm.wav") : QString());
        Form1->Button2Click(Form1->Button2);
        EXPECT_EQ(fake.sleepGuard.held, "Zindrel: заведён будильник на 07:00");
        EXPECT_EQ(fake.sleepGuard.wakeAt, c.wake) << (Form1->*c.task)->text().toStdString() << c.sound;
        Form1->Button1Click(Form1->Button1);
    }
    Form1->RadioButton3->setChecked(true);
    Form1->Button2Click(Form1->Button2);
    EXPECT_EQ(fake.sleepGuard.wakeAt, sevenTomorrow);
    // The clock set forward past the alarm's minute: the helper's time has passed and it ends; the alarm clock,
    // still armed for tomorrow's 07:00, is woken for again.
    clock.setWall(QDateTime(QDate(2026, 12, 8), QTime(8, 0)));
    fake.sleepGuard.EndWake();
    EXPECT_EQ(fake.sleepGuard.wakeAt, sevenTomorrow + 24 * 3600);
    Form1->close();
    EXPECT_EQ(fake.sleepGuard.held, "") << "the program's end lets the hold go";
    EXPECT_EQ(fake.sleepGuard.wakeAt, 0);
}

TEST_F(Scheduler, LongestSecondCountdownArmsWhole) {
    Form6->RxSpinEdit1->SetValue(999999);
    Form1->CheckBox1->setChecked(true);
    ArmCountdown(1);
    EXPECT_TRUE(Form1->Timer3->Enabled());
    EXPECT_EQ(Form1->Timer3->Interval(), 999999LL * kMinute);
    EXPECT_EQ(Form1->Label7->Caption(), "Таймер 2.\rОсталось: 999999 мин.");
    EXPECT_TRUE(fake.system.messages.empty());
}

TEST_F(Scheduler, MinuteLabelsCatchUpAfterASuspend) {
    ArmCountdown(30);
    clock.advance(2 * kMinute);
    clock.suspend(10 * kMinute);
    clock.advance(0);
    EXPECT_EQ(Remaining1(), "Таймер 1.\rОсталось: 18 мин.");
    clock.advance(18 * kMinute - 1);
    EXPECT_EQ(Sounds(), 0);
    clock.advance(1);
    EXPECT_EQ(Sounds(), 2) << "fires on time, the suspend counted";
}

TEST_F(Scheduler, DoubleClickArmsAndPauseKeyThreeTimesShowsTheWindow) {
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(300, 30), QPointF(300, 30), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(Form1, &dbl);
    EXPECT_FALSE(Form1->Button2->isEnabled());
    EXPECT_FALSE(Form1->isVisible());
    fake.keyState.pausePresses = 2;
    clock.advance(500);
    EXPECT_FALSE(Form1->isVisible()) << "two presses are not enough";
    fake.keyState.pausePresses = 1;
    clock.advance(50);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_EQ(Form1->PauseKeyCount, 0);
}

TEST_F(Scheduler, TheClockPanelRepaintsItsDigitsAloneRestsWhileHiddenAndChecksAnAlarmWhileHidden) {
    // Shown, a new second repaints the digits' box alone, and every pixel that changed lies inside it.
    ClockPanel *panel = Form1->RxClock1;
    QApplication::processEvents();
    const QImage before = panel->grab().toImage();
    PaintWatch watch;
    panel->installEventFilter(&watch);
    clock.advance(1500);
    QTest::qWait(50);
    panel->removeEventFilter(&watch);
    const QRect painted = watch.painted;
    const QImage after = panel->grab().toImage();
    ASSERT_NE(before, after) << "the second changed on the panel";
    EXPECT_FALSE(painted.isEmpty());
    EXPECT_LT(painted.width() * painted.height(), panel->width() * panel->height() / 3);
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                ASSERT_TRUE(painted.contains(x, y)) << "pixel " << x << "," << y << " changed outside the repaint";
            }
        }
    }

    Form1->HideToTray();
    clock.advance(450);
    EXPECT_FALSE(Form1->RxClock1->RefreshTimer->Enabled()) << "hidden and unarmed, nothing to refresh";
    Form1->ShowMainWindow();
    EXPECT_TRUE(Form1->RxClock1->RefreshTimer->Enabled());

    Form1->RxSpinEdit1->SetValue(10);
    Form1->RxSpinEdit2->SetValue(32);
    Form1->Button2Click(Form1->Button2);
    ASSERT_FALSE(Form1->isVisible());
    clock.advance(60 * 1000);
    EXPECT_TRUE(Form1->RxClock1->RefreshTimer->Enabled());
    EXPECT_EQ(Sounds(), 0);
    clock.advance(41 * 1000);
    EXPECT_EQ(Sounds(), 2) << "the alarm at 10:32 fires with the window hidden";
    EXPECT_TRUE(Form1->isVisible());
}

// A system that tells of the Pause key as it goes down and up, as X11 does.
class PauseKeyEvents : public fakes::TestApp {
protected:
    void SetUp() override {
        fake.keyState.events = true;
        StartAt(QTime(10, 30, 20));
    }
    void Tap() {
        fake.keyState.Press();
        clock.advance(10);
        fake.keyState.Release();
    }
};

TEST_F(PauseKeyEvents, QuickTapsAndAHeldKeyCountWithNoPollWhileTheKeyIsUp) {
    EXPECT_FALSE(Form1->TimerVisible->Enabled()) << "nothing polls while no key is pressed";
    Form1->HideToTray();
    Tap();
    Tap();
    clock.advance(5000);
    EXPECT_FALSE(Form1->isVisible()) << "two taps are not enough";
    EXPECT_FALSE(Form1->TimerVisible->Enabled());
    Tap();
    EXPECT_TRUE(Form1->isVisible()) << "three taps of 10 ms, shorter than a poll, show the window";
    EXPECT_EQ(Form1->PauseKeyCount, 0);

    Form1->HideToTray();
    fake.keyState.Press();
    clock.advance(60);
    EXPECT_FALSE(Form1->isVisible()) << "the press and one poll of the held key count two";
    clock.advance(40);
    EXPECT_TRUE(Form1->isVisible()) << "the third count comes from holding on";
    fake.keyState.Release();
    EXPECT_FALSE(Form1->TimerVisible->Enabled());
    EXPECT_EQ(Form1->PauseKeyCount, 0);
}

// The start's round trips to the display server, the tray icon and the Pause key, wait for the first paint.
using StartAfterPaint = fakes::TestApp;
TEST_F(StartAfterPaint, TrayIconAndPauseWatchFollowTheFirstPaint) {
    CreateForms(false);
    struct FirstPaint : QObject {
        const std::function<void(bool)> *watcher = nullptr;
        std::optional<bool> watched; // whether the Pause key was watched at the first paint
        bool eventFilter(QObject *, QEvent *event) override {
            if (event->type() == QEvent::Paint && !watched) {
                watched = *watcher != nullptr;
            }
            return false;
        }
    } first;
    first.watcher = &fake.keyState.onChange;
    Form1->installEventFilter(&first);
    Form1->show();
    EXPECT_FALSE(Form1->RxTrayIcon1->Active());
    EXPECT_EQ(Form1->RxTrayIcon1->findChild<QSystemTrayIcon *>(), nullptr) << "the icon is made when first placed";
    QTRY_VERIFY_WITH_TIMEOUT(Form1->RxTrayIcon1->Active() && fake.keyState.onChange, 200);
    EXPECT_EQ(first.watched, std::optional(false)) << "painted first, within less than the fallback's quarter second";
    // It takes the hint and the menu given before it existed.
    const QSystemTrayIcon *icon = Form1->RxTrayIcon1->findChild<QSystemTrayIcon *>();
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->toolTip().isEmpty());
    EXPECT_EQ(icon->toolTip(), Form1->RxTrayIcon1->Hint());
    EXPECT_EQ(icon->contextMenu(), Form1->PopupMenu1);
}

TEST_F(Scheduler, FadeInReachesFullOpacityIn51Steps) {
    EXPECT_EQ(Form1->AlphaBlendValue, 0);
    clock.advance(5 * 50);
    EXPECT_EQ(Form1->AlphaBlendValue, 250);
    clock.advance(5);
    EXPECT_EQ(Form1->AlphaBlendValue, 255);
    clock.advance(5);
    EXPECT_FALSE(Form1->TimerAlpha->Enabled());
}

TEST_F(Scheduler, WheelActsOnTheActiveWindowOnlyAndPartialNotchesDoNotLinger) {
    Form1->RxSpinEdit3->SetValue(10);
    Form1->hide();
    Wheel(120, 1000);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 10) << "a window in the background ignores the wheel";
    ASSERT_TRUE(Activate());
    Wheel(120, 2000);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 11);

    // Half a notch, then a pause: the next half notch starts afresh.
    Wheel(60, 3000);
    Wheel(60, 9000);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 11);
    // Within one touchpad gesture small steps add up; its end drops the rest.
    Wheel(40, 9100, Qt::ScrollBegin);
    Wheel(40, 9110, Qt::ScrollUpdate);
    Wheel(60, 9120, Qt::ScrollUpdate);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 12);
    Wheel(80, 9130, Qt::ScrollEnd);
    Wheel(40, 9140, Qt::ScrollBegin);
    Wheel(0, 9150, Qt::ScrollEnd);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 12) << "20 + 80 were left at the gesture's end";
    // A turn back drops the part gathered the other way.
    Wheel(100, 9200);
    Wheel(-100, 9210);
    Wheel(-40, 9220);
    EXPECT_EQ(Form1->RxSpinEdit3->Value(), 11);
}

TEST_F(Scheduler, SpinEditTextThatIsNoNumberReadsAsTheMinimumAndLeavingClamps) {
    auto *hour = Form1->RxSpinEdit1->findChild<QLineEdit *>();
    ASSERT_NE(hour, nullptr);
    hour->clear();
    Form1->Button2Click(Form1->Button2);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "''-1:0:0'' is not a valid time") << "an emptied hour reads -1";
    EXPECT_TRUE(Form1->Button2->isEnabled());

    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->RxSpinEdit3->SetValue(25);
    Form1->RxSpinEdit3->findChild<QLineEdit *>()->clear();
    Form1->Button2Click(Form1->Button2);
    EXPECT_EQ(Form1->Timer1->Interval(), kMinute) << "an emptied countdown arms one minute";
    Form1->Button1Click(Form1->Button1);

    // Typed text outside the range becomes the nearest bound when the field loses the focus.
    const std::pair<SpinEdit *, const char *> typed[] = {
        {Form1->RxSpinEdit3, "0"}, {Form1->RxSpinEdit1, "-"}, {Form1->RxSpinEdit2, "-9"}};
    const int expected[] = {1, -1, -1};
    for (int i = 0; i < 3; ++i) {
        SpinEdit *edit = typed[i].first;
        edit->SetValue(edit->maximum() - 1);
        edit->findChild<QLineEdit *>()->setText(QString::fromLatin1(typed[i].second));
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
        EXPECT_EQ(edit->text(), QString::number(expected[i])) << typed[i].second;
        EXPECT_EQ(edit->Value(), expected[i]) << typed[i].second;
    }
}

TEST_F(Scheduler, SecondTimerLinkLooksDisabledInAlarmMode) {
    const auto bluePixels = [] {
        const QImage image = Form1->Label6->grab().toImage();
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                blue += c.blue() > 180 && c.red() < 90 && c.green() < 90 ? 1 : 0;
            }
        }
        return blue;
    };
    Form1->RadioButton1Click(Form1->RadioButton1);
    EXPECT_FALSE(Form1->Label6->isEnabled());
    EXPECT_EQ(bluePixels(), 0) << "no live-link blue while disabled";
    EXPECT_FALSE(Form1->Label6->font().underline());
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    EXPECT_GT(bluePixels(), 20) << "a live link in countdown mode";
    EXPECT_TRUE(Form1->Label6->font().underline());
}
