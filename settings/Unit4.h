// SPDX-License-Identifier: GPL-3.0-or-later
// TForm4, the settings dialog "Настройка Zindrel".
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QSlider;
class QTabWidget;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    TForm4();

    QTabWidget *PageControl1;
    QCheckBox *CheckBox4;       // "Новая фраза при разворачивании программы"
    QRadioButton *RadioButton1; // "Wav-файл"
    QRadioButton *RadioButton2; // "PCSpeaker"
    QLineEdit *FilenameEdit2;   // the wave file
    QCheckBox *CheckBox5;       // "Включить мигание лампочками"
    QSlider *TrackBar2;         // blink seconds, 1..30
    QSlider *TrackBar3;         // blink step ms, 50..500
    QComboBox *ComboBox1;       // blink pattern

    void FormCreate();
    void FormClose();
    // The blink "Тест": starts a blink run.
    void SpeedButton4Click(QObject *Sender);
    // The blink "Стоп".
    void SpeedButton5Click(QObject *Sender);
    // The sound "Тест".
    void SpeedButton2Click(QObject *Sender);
};
