// SPDX-License-Identifier: GPL-3.0-or-later
// TForm4, the settings dialog (its pages come with the settings work).
#include "settings/Unit4.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

TForm4::TForm4()
    : PageControl1(new QTabWidget(this)), CheckBox4(new QCheckBox(this)), RadioButton1(new QRadioButton(this)),
      RadioButton2(new QRadioButton(this)), FilenameEdit2(new QLineEdit(this)), CheckBox5(new QCheckBox(this)),
      TrackBar2(new QSlider(this)), TrackBar3(new QSlider(this)), ComboBox1(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Настройка Zindrel"));
    RadioButton1->setChecked(true);
    FormCreate();
}

void TForm4::FormCreate() {}

void TForm4::FormClose() {}

void TForm4::SpeedButton4Click(QObject *) {}

void TForm4::SpeedButton5Click(QObject *) {}

void TForm4::SpeedButton2Click(QObject *) {}
