// SPDX-License-Identifier: GPL-3.0-or-later
// TForm6, the second timer's dialog (its layout comes with the reminder work).
#include "actions/Unit6.h"

#include "controls/SpinEdit.h"

#include <QPushButton>
#include <QRadioButton>

TForm6::TForm6()
    : RxSpinEdit1(new SpinEdit(1, 999999, 1, this)),
      RadioButton3(new QRadioButton(QStringLiteral("Просто напомнить"), this)),
      RadioButton7(new QRadioButton(QStringLiteral("Напомнить с текстом"), this)),
      RadioButton9(new QRadioButton(QStringLiteral("Запуск заставки"), this)),
      RadioButton6(new QRadioButton(QStringLiteral("Завершение сеанса"), this)),
      RadioButton8(new QRadioButton(QStringLiteral("Выключить монитор"), this)),
      RadioButton1(new QRadioButton(QStringLiteral("Спящий режим"), this)),
      RadioButton5(new QRadioButton(QStringLiteral("Перезагрузить компьютер"), this)),
      RadioButton4(new QRadioButton(QStringLiteral("Выключить компьютер"), this)),
      Button1(new QPushButton(QStringLiteral("ОК"), this)) {
    setWindowTitle(QStringLiteral("Настройка второго таймера"));
    RadioButton3->setChecked(true);
    FormCreate();
}

void TForm6::FormCreate() {}

void TForm6::RadioButton7Click(QObject *) {}

void TForm6::Button1Click(QObject *) {
    close();
}

TaskKind TForm6::Task() const {
    if (RadioButton7->isChecked()) {
        return TaskKind::RemindText;
    }
    if (RadioButton9->isChecked()) {
        return TaskKind::ScreenSaver;
    }
    if (RadioButton6->isChecked()) {
        return TaskKind::Logoff;
    }
    if (RadioButton8->isChecked()) {
        return TaskKind::MonitorOff;
    }
    if (RadioButton1->isChecked()) {
        return TaskKind::Sleep;
    }
    if (RadioButton5->isChecked()) {
        return TaskKind::Reboot;
    }
    if (RadioButton4->isChecked()) {
        return TaskKind::Shutdown;
    }
    return TaskKind::Remind;
}
