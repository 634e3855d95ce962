// SPDX-License-Identifier: GPL-3.0-or-later
// TForm2, the warning countdown: a stay-on-top dialog counting seconds down before a power task.
#include "actions/Unit2.h"

#include "actions/Unit6.h"
#include "app/Forms.h"
#include "app/Notices.h"
#include "app/SleepHold.h"
#include "app/Unit1.h"
#include "controls/Clock.h"
#include "controls/Colors.h"
#include "controls/Pictures.h"
#include "controls/WindowTimer.h"
#include "platform/Platform.h"

#include <QCloseEvent>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {
// How long past the countdown's end an unwithdrawn notice stays, should the program be gone.
constexpr int kNoticeLingerS = 5;
} // namespace

TForm2::TForm2() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("Zindrel"));
    // A title bar with no buttons and no system menu: the countdown ends only through OK, Cancel or zero. A window
    // of its own, not one of Qt's dialogs, which name a parent window to the window manager even when they have
    // none (the main window is hidden then); the window manager still sees a dialog (TitleOnly).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(488, 129);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 0, 128, 128);
    Picture::DrawWhenShown(Image1, Picture::Warning, QSize(128, 128));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(136, 0, 353, 65);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SetBackground(Memo1, Qt::white);
    SetTextColor(Memo1, QColor(73, 78, 254));

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(0, 96, 488, 2);

    Button2 = new QPushButton(QStringLiteral("ОК"), this);
    Button2->setGeometry(328, 104, 75, 25);
    Button1 = new QPushButton(QStringLiteral("Отмена"), this);
    Button1->setGeometry(408, 104, 75, 25);
    // Cancel takes the focus first, so a stray key press cancels rather than runs the task.
    setTabOrder(Button1, Button2);
    Button1->setFocus();
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(Button2); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });

    Timer1 = new WindowTimer(this);
    Timer1->SetInterval(1000);
    Timer1->OnTimer = [this](QObject *sender) { Timer1Timer(sender); };

    FormCreate();
}

QString TForm2::MessageText(int n) {
    return QStringLiteral("До выполнения задачи осталось ") + QString::number(n) +
           QStringLiteral(" секунд. Для прекращения выполнения задачи нажмите Отмена. Для быстрого выполенения "
                          "нажмите ОК.");
}

void TForm2::FormCreate() {
    SecondsLeft = Form1->WarningCounter;
    ShowCount();
}

void TForm2::ShowCount() {
    Memo1->clear();
    Memo1->setPlainText(MessageText(SecondsLeft));
}

void TForm2::ShowWarning(TimerSlot slot, int minimumSeconds) {
    // Given here rather than at creation: a face no other window uses is loaded only once a warning is seen.
    Memo1->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    slot_ = slot;
    SecondsLeft = std::max(Form1->WarningCounter, minimumSeconds);
    WarningCloseAllowed = false;
    beenActive_ = false;
    ShowCount();
    Timer1->SetEnabled(true);
    Announce();
    exec();
}

TaskKind TForm2::Task() const {
    return slot_ == TimerSlot::Slot2 ? SecondTimerTask() : Form1->Slot1Task();
}

void TForm2::Counted() {
    Form1->WarningCounts(slot_, Task(), SecondsLeft, due_);
}

void TForm2::EndWithProgram() {
    if (!isVisible()) {
        return;
    }
    Timer1->SetEnabled(false);
    WarningCloseAllowed = true;
    reject();
}

void TForm2::Timer1Timer(QObject *) {
    if (!beenActive_) {
        BringForward();
    }
    // A tick long overdue is a sleep inside the countdown: the person who opens the machine gets the whole warning
    // again, never less than a minute, with a notice that says the new time.
    if (SleepHold::FiredLate(*Timer1)) {
        SecondsLeft = std::max(Form1->WarningCounter, SleepHold::kLateWarningSeconds);
        ShowCount();
        Notices::Withdraw(platform::NoticeKind::Warning);
        Announce();
        return;
    }
    if (SecondsLeft > 0) {
        --SecondsLeft;
        ShowCount();
        Counted();
        return;
    }
    WarningCloseAllowed = true;
    // The countdown ends here whatever the task now is; a task changed away from power leaves nothing to do.
    Timer1->SetEnabled(false);
    Form1->DoPowerTask(Task());
    accept();
}

void TForm2::Button2Click(QObject *) {
    WarningCloseAllowed = true;
    SecondsLeft = 1;
}

void TForm2::Button1Click(QObject *) {
    Timer1->SetEnabled(false);
    Form1->Button1Click(Button1);
    WarningCloseAllowed = true;
    // The warning goes first: a window manager that keeps a modal dialog's group behind it would leave the main
    // window minimised.
    close();
    Form1->ShowMainWindow();
}

void TForm2::Postpone(int minutes) {
    const TimerSlot slot = slot_;
    Timer1->SetEnabled(false);
    Form1->CancelRun();
    WarningCloseAllowed = true;
    close();
    Form1->ArmSlotAgain(slot, minutes);
}

void TForm2::FormCloseQuery(QObject *, bool &CanClose) {
    // OK lets the guard go but keeps the countdown running: the dialog stays until it has acted, so neither
    // Escape nor the window manager can drop a confirmed task.
    CanClose = WarningCloseAllowed && !Timer1->Enabled();
}

void TForm2::done(int result) {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (!canClose) {
        return;
    }
    Timer1->SetEnabled(false);
    Notices::Withdraw(platform::NoticeKind::Warning);
    Form1->WarningEnds();
    QDialog::done(result);
}

void TForm2::closeEvent(QCloseEvent *event) {
    bool canClose = true;
    FormCloseQuery(this, canClose);
    if (!canClose) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TForm2::showEvent(QShowEvent *event) {
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    platform::Current().windowManager->TitleOnly(winId());
    QDialog::showEvent(event);
    // Posted: the window is mapped only after this event.
    PostBringForward();
}

void TForm2::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        beenActive_ = true;
    }
    // A warning minimised while it counts would let the task run unseen: it comes straight back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && Timer1->Enabled()) {
        PostBringForward();
    }
}

void TForm2::PostBringForward() {
    // One state change reaches the window as several events; one request to the window manager answers them all.
    if (bringPending_) {
        return;
    }
    bringPending_ = true;
    QTimer::singleShot(0, this, [this] {
        bringPending_ = false;
        BringForward();
    });
}

void TForm2::BringForward() {
    if (!isVisible()) {
        return;
    }
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    raise();
    activateWindow();
    platform::Current().windowManager->ForceActive(winId());
}

QString TForm2::NoticeText(const QDateTime &due) {
    return QStringLiteral("Задача будет выполнена в ") + due.toString(QStringLiteral("HH:mm:ss")) +
           QStringLiteral(". Для прекращения выполнения задачи нажмите Отмена, для переноса на 10 минут — Отложить "
                          "на 10 минут.");
}

void TForm2::Announce() {
    // One notice a countdown, saying when the task runs: some servers drop a notice's buttons when it is
    // replaced, so a notice counting the seconds would lose its "Отмена" after the first second.
    const int secondsToRun = std::max(SecondsLeft, 0) + 1;
    due_ = AppClock().WallNow().addSecs(secondsToRun);
    platform::Notice notice;
    notice.title = "Zindrel";
    notice.text = NoticeText(due_).toStdString();
    notice.expireMs = (secondsToRun + kNoticeLingerS) * 1000;
    notice.urgent = true;
    notice.actions = {{"cancel", "Отмена", [this] { Button1Click(Button1); }},
                      {"postpone", Notices::kPostponeLabel, [this] { Postpone(Notices::kPostponeMinutes); }}};
    Notices::Show(platform::NoticeKind::Warning, std::move(notice));
    Counted();
}
