// SPDX-License-Identifier: GPL-3.0-or-later
// TForm2, the warning countdown before a power task of the first slot, or of either slot when it fired late.
#pragma once

#include "app/TaskKind.h"

#include <QDateTime>
#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class WindowTimer;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2();

    QLabel *Image1;
    QPlainTextEdit *Memo1;
    QFrame *Bevel1;
    QPushButton *Button2; // "ОК"
    QPushButton *Button1; // "Отмена"
    WindowTimer *Timer1;
    bool WarningCloseAllowed = false;
    // Seconds left in the running countdown. Each start copies the configured Form1->WarningCounter here, so a
    // countdown ended early never shortens the next one.
    int SecondsLeft = 0;

    void FormCreate();
    void Timer1Timer(QObject *Sender);
    // OK: the task runs one to two seconds later.
    void Button2Click(QObject *Sender);
    // Cancel: every armed slot is cancelled and the main window comes back.
    void Button1Click(QObject *Sender);
    // Closes the countdown as Cancel does, then arms the slot that fired again, minutes from now.
    void Postpone(int minutes);
    void FormCloseQuery(QObject *Sender, bool &CanClose);

    // Starts the one-second countdown from the configured seconds, but never fewer than minimumSeconds, and shows
    // the dialog modally; returns when it has closed. At zero it runs the power task of that slot.
    void ShowWarning(TimerSlot slot = TimerSlot::Slot1, int minimumSeconds = 0);

    // The message for n seconds left.
    static QString MessageText(int n);
    // The desktop notice's text for a task due at that local time.
    static QString NoticeText(const QDateTime &due);

    // The program is ending: a counting warning stops, without acting, and takes its notice down.
    void EndWithProgram();

    // Every way of closing (accept, reject, Escape) passes the close guard; a closed dialog counts no more.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ShowCount();
    // The task that runs at zero: the firing slot's choice at this moment.
    TaskKind Task() const;
    // The main window's run hears how far the countdown is.
    void Counted();
    // The countdown as a desktop notification whose actions cancel like "Отмена" or postpone.
    void Announce();
    // Restores, raises and activates the dialog, also over another program's focused window.
    void BringForward();
    void PostBringForward();
    bool bringPending_ = false;
    // Whether the dialog has had the focus since this countdown started; until then each tick asks for it again.
    bool beenActive_ = false;
    TimerSlot slot_ = TimerSlot::Slot1;
    // When the task runs, as the notice says.
    QDateTime due_;
};
