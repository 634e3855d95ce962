// SPDX-License-Identifier: GPL-3.0-or-later
// TForm9, the password prompt (the check comes with the settings work).
#include "settings/Unit9.h"

#include <QLineEdit>
#include <QPushButton>

TForm9::TForm9() : Edit1(new QLineEdit(this)), Button1(new QPushButton(QStringLiteral("ОК"), this)) {
    setWindowTitle(QStringLiteral("Введите пароль"));
    FormCreate();
}

void TForm9::FormCreate() {}

void TForm9::Button1Click(QObject *) {}
