// SPDX-License-Identifier: GPL-3.0-or-later
// TForm2, the warning countdown (the dialog itself comes with the power work).
#include "actions/Unit2.h"

#include "controls/WindowTimer.h"

#include <QPlainTextEdit>
#include <QPushButton>

TForm2::TForm2()
    : Memo1(new QPlainTextEdit(this)), Button2(new QPushButton(QStringLiteral("ОК"), this)),
      Button1(new QPushButton(QStringLiteral("Отмена"), this)), Timer1(new WindowTimer(this)) {
    setWindowTitle(QStringLiteral("Zindrel"));
    Timer1->SetInterval(1000);
    FormCreate();
}

void TForm2::FormCreate() {}

void TForm2::ShowWarning() {}
