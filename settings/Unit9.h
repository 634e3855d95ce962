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
    QPushButton *Button1;

    void FormCreate();
    void Button1Click(QObject *Sender);
};
