// SPDX-License-Identifier: GPL-3.0-or-later
// TForm5, the text window with the two reminder texts, and the reminder box.
#pragma once

#include "app/TaskKind.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TForm5 : public QDialog {
    Q_OBJECT
public:
    TForm5();

    QLabel *Image1;
    QPlainTextEdit *Memo1; // slot 1
    QPlainTextEdit *Memo2; // slot 2
    QPushButton *Button2;  // "Сохранить"
    QPushButton *Button1;  // "ОК"

    void FormCreate();
    void Button2Click(QObject *Sender);
    void Button1Click(QObject *Sender);
};

// The reminder box with the slot's text at this moment and the caption.
void ShowTextReminder(TimerSlot slot, const QString &caption);
