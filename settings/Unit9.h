// SPDX-License-Identifier: GPL-3.0-or-later
// TForm9, the password prompt in front of the settings dialog.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class TForm9 : public QDialog {
    Q_OBJECT
public:
    TForm9();

    QLineEdit *Edit1;
    QPushButton *Button1; // "ОК"

    void FormCreate();
    // One attempt: the stored password opens the settings, anything else is refused; the field is emptied.
    void Button1Click(QObject *Sender);
};
