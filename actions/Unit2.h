// SPDX-License-Identifier: GPL-3.0-or-later
// TForm2, the warning countdown before a power task of the first slot.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class WindowTimer;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    TForm2();

    QPlainTextEdit *Memo1;
    QPushButton *Button2; // "ОК"
    QPushButton *Button1; // "Отмена"
    WindowTimer *Timer1;
    bool WarningCloseAllowed = false;

    void FormCreate();
    // Starts the one-second countdown and shows the dialog modally; returns when it has closed.
    void ShowWarning();
};
