// SPDX-License-Identifier: GPL-3.0-or-later
// The warning countdown dialog on a ManualClock: the count, OK, Cancel, the close guard and the zero branch.
#include "actions/Unit2.h"
#include "actions/Unit6.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace {

// Written out here rather than taken from the dialog, so a changed word in the program shows.
QString Message(int n) {
    return QStringLiteral("До выполнения задачи осталось %1 секунд. Для прекращения выполнения задачи нажмите "
                          "Отмена. Для быстрого выполенения нажмите ОК.")
        .arg(n);
}

class WarningDialog : public fakes::TestApp {
protected:
    void SetUp() override {
        CreateForms();
        Form1->RadioButton4->setChecked(true); // Shutdown
    }
    // Runs body inside the dialog's modal loop. A dialog the body left open is closed by force and reported, so
    // a fault cannot hang the test run.
    void RunWarning(const std::function<void()> &body) {
        QTimer::singleShot(0, Form2, [body] {
            body();
            if (Form2->isVisible()) {
                ADD_FAILURE() << "the dialog was still open at the end of the test body";
                Form2->WarningCloseAllowed = true;
                Form2->Timer1->SetEnabled(false);
                Form2->reject();
            }
        });
        Form2->ShowWarning();
    }
    QString Shown() const { return Form2->Memo1->toPlainText(); }
    int PowerCalls() const {
        return fake.Count("PowerOff") + fake.Count("Reboot") + fake.Count("Suspend") + fake.Count("LogOff");
    }
};

TEST_F(WarningDialog, CountsDownFromSecAndActsAtTheSixteenthTick) {
    Form1->WarningCounter = 15;
    RunWarning([&] {
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_EQ(Shown(), Message(15));
        clock.advance(999);
        EXPECT_EQ(Shown(), Message(15));
        clock.advance(1);
        EXPECT_EQ(Shown(), Message(14));
        clock.advance(14000);
        EXPECT_EQ(Shown(), Message(0));
        EXPECT_EQ(PowerCalls(), 0);
        EXPECT_TRUE(Form2->isVisible());
        clock.advance(1000);
        EXPECT_EQ(fake.Count("PowerOff"), 1);
        EXPECT_TRUE(Form1->MainClosed);
        EXPECT_EQ(terminated, 1);
        EXPECT_FALSE(Form2->isVisible()) << "the dialog closes itself after acting";
    });
    EXPECT_FALSE(Form2->Timer1->Enabled());
    clock.advance(10000);
    EXPECT_EQ(PowerCalls(), 1) << "a closed dialog acts no more";
    EXPECT_EQ(Form1->WarningCounter, 15) << "the configured seconds are kept apart from the count";
}

TEST_F(WarningDialog, ZeroOrLessSecondsActsAtTheFirstTick) {
    for (const int sec : {0, -3}) {
        fake.log.clear();
        Form1->MainClosed = false;
        clock.resume();
        Form1->WarningCounter = sec;
        RunWarning([&] {
            clock.advance(999);
            EXPECT_EQ(PowerCalls(), 0) << sec;
            clock.advance(1);
            EXPECT_EQ(fake.Count("PowerOff"), 1) << sec;
        });
    }
}

TEST_F(WarningDialog, OkWhenShowingZeroActsTwoTicksLater) {
    Form1->WarningCounter = 1;
    RunWarning([&] {
        clock.advance(1000);
        EXPECT_EQ(Shown(), Message(0));
        Form2->Button2->click();
        EXPECT_TRUE(Form2->isVisible()) << "OK keeps the dialog open until the task runs";
        clock.advance(1000);
        EXPECT_EQ(Shown(), Message(0));
        EXPECT_EQ(PowerCalls(), 0);
        clock.advance(1000);
        EXPECT_EQ(fake.Count("PowerOff"), 1);
    });
}

TEST_F(WarningDialog, ASleepInsideTheCountdownStartsItAgainAtAMinuteAtLeastWithANewNotice) {
    Form1->WarningCounter = 15;
    RunWarning([&] {
        clock.advance(5000);
        EXPECT_EQ(Shown(), Message(10));
        const std::size_t notices = fake.notifications.notices.size();
        clock.suspend(30 * 60000);
        clock.advance(0);
        EXPECT_EQ(Shown(), Message(60)) << "the person opening the machine gets a whole minute";
        EXPECT_EQ(PowerCalls(), 0);
        ASSERT_EQ(fake.notifications.notices.size(), notices + 2) << "the old notice goes, a new one comes";
        const QDateTime due = clock.WallNow().addSecs(61);
        EXPECT_EQ(fake.notifications.notices.back().text, TForm2::NoticeText(due).toStdString());
        EXPECT_EQ(Form1->Run().warning->dueWall, due) << "the run knows the new time";
        clock.advance(61000);
        EXPECT_EQ(fake.Count("PowerOff"), 1);
    });
}

TEST_F(WarningDialog, CancelCancelsEverySlotShowsTheMainWindowAndCallsNothing) {
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->CheckBox1->setChecked(true);
    Form6->RxSpinEdit1->SetValue(10);
    Form1->Button2Click(Form1->Button2);
    ASSERT_TRUE(Form1->Countdown2Armed());
    Form1->hide();
    Form1->WarningCounter = 15;

    RunWarning([&] {
        clock.advance(3000);
        Form2->Button1->click();
        EXPECT_FALSE(Form2->isVisible());
    });
    for (WindowTimer *t : {Form1->Timer1, Form1->Timer2, Form1->Timer3, Form1->Timer4}) {
        EXPECT_FALSE(t->Enabled());
    }
    EXPECT_FALSE(Form1->Countdown2Armed());
    EXPECT_TRUE(Form1->Button2->isEnabled()) << "the main window is back in its unarmed state";
    EXPECT_TRUE(Form1->isVisible());
    clock.advance(30000);
    EXPECT_EQ(PowerCalls(), 0);
    EXPECT_FALSE(Form1->MainClosed);
    EXPECT_EQ(terminated, 0);
}

TEST_F(WarningDialog, CloseRequestsAreRefusedUntilOkCancelOrZero) {
    Form1->WarningCounter = 2;
    RunWarning([&] {
        Form2->close();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(Form2, &escape);
        Form2->reject();
        Form2->accept();
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_TRUE(Form2->Timer1->Enabled());
        clock.advance(3000);
        EXPECT_EQ(fake.Count("PowerOff"), 1) << "the countdown went on behind the refused requests";
    });
}

TEST_F(WarningDialog, AfterOkNeitherEscapeNorACloseDropsTheTask) {
    Form1->WarningCounter = 5;
    RunWarning([&] {
        clock.advance(1000);
        Form2->Button2->click();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(Form2, &escape);
        Form2->close();
        Form2->reject();
        EXPECT_TRUE(Form2->isVisible()) << "the confirmed task is still to come";
        clock.advance(2000);
        EXPECT_EQ(fake.Count("PowerOff"), 1);
        EXPECT_FALSE(Form2->isVisible());
    });
}

TEST_F(WarningDialog, SecondWarningAfterCancelStartsAgainFromSecWithTheGuardBack) {
    Form1->WarningCounter = 15;
    RunWarning([&] {
        clock.advance(5000);
        EXPECT_EQ(Shown(), Message(10));
        Form2->Button1->click();
    });
    RunWarning([&] {
        EXPECT_EQ(Shown(), Message(15)) << "the new countdown shows its own start, not the last one's end";
        Form2->close();
        EXPECT_TRUE(Form2->isVisible()) << "the close guard holds for the second warning too";
        clock.advance(1000);
        EXPECT_EQ(Shown(), Message(14));
        clock.advance(14000);
        EXPECT_EQ(PowerCalls(), 0);
        clock.advance(1000);
        EXPECT_EQ(fake.Count("PowerOff"), 1);
    });
}

TEST_F(WarningDialog, ZeroBranchCarriesOutTheTaskChosenAtThatMoment) {
    const std::pair<QRadioButton * TForm1::*, const char *> cases[] = {{&TForm1::RadioButton6, "LogOff"},
                                                                       {&TForm1::RadioButton5, "Reboot"},
                                                                       {&TForm1::RadioButton11, "Suspend"},
                                                                       {&TForm1::RadioButton4, "PowerOff"}};
    for (const auto &[radio, call] : cases) {
        fake.log.clear();
        terminated = 0;
        Form1->MainClosed = false;
        clock.resume();
        Form1->RadioButton4->setChecked(true);
        Form1->WarningCounter = 3;
        RunWarning([&] {
            clock.advance(2000);
            (Form1->*radio)->setChecked(true);
            clock.advance(2000);
        });
        EXPECT_EQ(fake.log, fakes::CallLog({call}));
        EXPECT_EQ(terminated, 1) << call << ": the main window closes after the power operation";
    }
}

TEST_F(WarningDialog, TaskChangedAwayFromPowerEndsTheCountdownDoingNothing) {
    Form1->WarningCounter = 2;
    RunWarning([&] {
        clock.advance(1000);
        Form1->RadioButton3->setChecked(true); // Remind
        clock.advance(2000);
        EXPECT_FALSE(Form2->isVisible()) << "no countdown stays open with nothing left to do";
    });
    clock.advance(5000);
    EXPECT_EQ(PowerCalls(), 0);
    EXPECT_FALSE(Form1->MainClosed);
}

TEST_F(WarningDialog, FailedPowerOperationStillClosesTheMainWindow) {
    fake.power.result = false;
    Form1->WarningCounter = 0;
    RunWarning([&] { clock.advance(1000); });
    EXPECT_EQ(fake.Count("PowerOff"), 1);
    EXPECT_EQ(terminated, 1);
}

TEST_F(WarningDialog, OneNoticeSaysTheDueTimeItsActionCancelsAndItIsWithdrawnOnEveryEnd) {
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->Button2Click(Form1->Button2);
    Form1->hide();
    Form1->WarningCounter = 15;
    const auto &notices = fake.notifications.notices;
    RunWarning([&] {
        ASSERT_EQ(notices.size(), 1U) << "the notice goes up with the dialog";
        EXPECT_EQ(notices[0].title, "Zindrel");
        EXPECT_EQ(notices[0].text, "Задача будет выполнена в 12:00:16. Для прекращения выполнения задачи нажмите "
                                   "Отмена, для переноса на 10 минут — Отложить на 10 минут.");
        EXPECT_EQ(notices[0].labels, (std::vector<std::string>{"Отмена", "Отложить на 10 минут"}));
        EXPECT_TRUE(notices[0].urgent);
        EXPECT_EQ(notices[0].expireMs, 21000) << "it expires a little after the task's time";
        clock.advance(5000);
        EXPECT_EQ(notices.size(), 1U) << "a replaced notice may lose its button: it is sent once";
        ASSERT_TRUE(fake.notifications.Pick(platform::NoticeKind::Warning, "Отмена"));
        EXPECT_FALSE(Form2->isVisible()) << "the notice's action closes the dialog as its Cancel does";
    });
    EXPECT_FALSE(fake.notifications.IsUp()) << "a closed dialog leaves no notice";
    EXPECT_FALSE(Form1->Timer1->Enabled());
    EXPECT_TRUE(Form1->Button2->isEnabled()) << "the run is cancelled";
    EXPECT_TRUE(Form1->isVisible());
    clock.advance(30000);
    EXPECT_EQ(PowerCalls(), 0);

    // The program ends while the warning counts: "Выход", slot 2's power task or a SIGTERM all close the window.
    RunWarning([&] {
        ASSERT_TRUE(fake.notifications.IsUp());
        Form1->close();
        EXPECT_FALSE(fake.notifications.IsUp()) << "the ending program takes its notice down";
        EXPECT_FALSE(Form2->isVisible());
    });
    clock.resume();
    Form1->MainClosed = false;

    Form1->WarningCounter = 0;
    RunWarning([&] { clock.advance(1000); });
    EXPECT_EQ(fake.Count("PowerOff"), 1);
    EXPECT_FALSE(fake.notifications.IsUp()) << "the zero branch withdraws the notice too";
}

TEST_F(WarningDialog, ShownWithoutCaptionButtonsActiveAndBackAtOnceWhenMinimised) {
    Form1->WarningCounter = 15;
    auto &wm = fake.windowManager;
    EXPECT_TRUE(Form2->Image1->pixmap().isNull()) << "the picture is not drawn at start-up";
    RunWarning([&] {
        EXPECT_EQ(Form2->Image1->pixmap().size(), QSize(128, 128)) << "but when the warning is first shown";
        ASSERT_EQ(wm.titleOnly.size(), 1U) << "the frame is asked for before the window is mapped";
        EXPECT_EQ(wm.titleOnly[0], Form2->winId());
        QCoreApplication::processEvents();
        EXPECT_EQ(wm.forceActive.size(), 1U) << "activated when it opens, over whatever has the focus";
        Form2->showMinimized();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Form2->isMinimized()) << "a minimised warning comes straight back";
        EXPECT_TRUE(Form2->isVisible());
        EXPECT_GE(wm.forceActive.size(), 2U) << "and is activated again";
        Form2->Button1->click();
    });
    const size_t requests = wm.forceActive.size();
    Form2->setWindowState(Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_EQ(wm.forceActive.size(), requests) << "a closed warning is not brought back";
}

TEST_F(WarningDialog, WindowHasNoCaptionButtonsStaysOnTopAndCancelComesFirst) {
    EXPECT_EQ(Form2->windowTitle(), "Zindrel");
    const Qt::WindowFlags flags = Form2->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Form2->windowType(), Qt::Window) << "a Qt dialog would name a hidden main window as its parent";
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_EQ(Form2->size(), QSize(488, 129));
    EXPECT_TRUE(Form2->Memo1->isReadOnly());
    EXPECT_EQ(Form2->Button2->text(), "ОК");
    EXPECT_EQ(Form2->Button1->text(), "Отмена");
    EXPECT_EQ(Form2->Button1->nextInFocusChain(), Form2->Button2) << "Cancel is tab position 0, OK 1";
    EXPECT_EQ(Shown(), Message(Form1->WarningCounter)) << "creation fills the box for the configured seconds";
}

} // namespace
