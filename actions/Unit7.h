// SPDX-License-Identifier: GPL-3.0-or-later
// TForm7, the extras dialog: general page, media-player page, launch page.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QToolButton;
class TWinAmpControl;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    enum Page { PageGeneral = 0, PageWinAmp = 1, PageLaunch = 2 };

    TForm7();

    QTabWidget *PageControl1;
    QPushButton *Button1; // "ОК"

    // "Общее".
    QLabel *Label1;
    QCheckBox *CheckBox1; // tray icon removed
    QLabel *Label2;
    QCheckBox *CheckBox2; // NoWarnings
    QGroupBox *GroupBox1; // "CD-ROM"
    QComboBox *ComboBox1; // door action
    QLabel *Label3;

    // "WinAmp".
    QLabel *Label4;
    QCheckBox *CheckBox3;       // "Включить работу с WinAmp"
    QGroupBox *RadioGroup1;     // "Действие"
    QRadioButton *RadioButton1; // "Ничего не делать"
    QRadioButton *RadioButton2; // previous track
    QRadioButton *RadioButton3; // stop
    QRadioButton *RadioButton4; // pause or play
    QRadioButton *RadioButton5; // next track
    QGroupBox *RadioGroup2;     // "Громкость"
    QRadioButton *RadioButton6; // "Не изменять"
    QRadioButton *RadioButton7; // "Изменить на:"
    QSlider *TrackBar1;         // volume 0..255
    QLabel *Label5;             // "0%"
    QLabel *Label6;             // "100%"
    QCheckBox *CheckBox4;       // "Выключить WinAmp"
    TWinAmpControl *WinAmpControl1;

    // "Запуск".
    QLabel *Label7;
    QCheckBox *CheckBox5; // "Запускать файлы"
    QListWidget *ListBox1;
    QLineEdit *FilenameEdit1;
    QToolButton *FilenameEdit1Button; // browse
    QToolButton *SpeedButton1;        // "Добавить"
    QToolButton *SpeedButton2;        // "Удалить"
    QToolButton *SpeedButton3;        // "Сохранить"
    QToolButton *SpeedButton4;        // "Загрузить"
    QToolButton *SpeedButton5;        // "Вверх"
    QToolButton *SpeedButton6;        // "Вниз"

    void FormCreate();
    // Selects the page, then shows the dialog modally.
    void ShowOnPage(Page page);

    void Button1Click(QObject *Sender);
    void CheckBox2Click(QObject *Sender);
    void FilenameEdit1ButtonClick(QObject *Sender);
    void SpeedButton1Click(QObject *Sender);
    void SpeedButton2Click(QObject *Sender);
    void SpeedButton3Click(QObject *Sender);
    void SpeedButton4Click(QObject *Sender);
    void SpeedButton5Click(QObject *Sender);
    void SpeedButton6Click(QObject *Sender);

    // The launch list in display order.
    QStringList LaunchEntries() const;

    // The firing's operations of this dialog; each checks its own settings.
    void RunWinAmpActions();
    void OperateCdDoor();
    void RunLaunchList();

private:
    void BuildGeneralPage();
    void BuildWinAmpPage();
    void BuildLaunchPage();
};
