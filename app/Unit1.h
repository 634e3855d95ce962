// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1, the main window: the scheduler, the firing, the start-up, the tray icon and the quick pictures.
#pragma once

#include "app/TaskKind.h"
#include "settings/Settings.h"

#include <QColor>
#include <QWidget>

#include <cstdint>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;
class ClickLabel;
class ClockPanel;
class FormStorage;
class SpinEdit;
class TrayIcon;
class WindowTimer;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // Clock panel and its labels.
    ClockPanel *RxClock1;
    ClickLabel *Label8; // version or phrase
    ClickLabel *Label5; // "- - -", "Будильник", "Таймер"
    ClickLabel *Label4; // countdown 1 remaining
    ClickLabel *Label7; // countdown 2 remaining

    // Scheduler input.
    QRadioButton *RadioButton1; // alarm clock
    QRadioButton *RadioButton2; // countdown
    QGroupBox *GroupBox1;       // "Будильник"
    QGroupBox *GroupBox2;       // "Таймер", carries the quick menu
    SpinEdit *RxSpinEdit1;      // alarm hour, -1..24
    SpinEdit *RxSpinEdit2;      // alarm minute, -1..60
    SpinEdit *RxSpinEdit3;      // countdown 1 minutes, 1..9999
    QCheckBox *CheckBox1;       // "2 таймера"
    ClickLabel *Label6;         // "Второй таймер"

    QGroupBox *GroupBox3; // "Дополнительно"
    QToolButton *SpeedButton4;
    QToolButton *SpeedButton5;
    QToolButton *SpeedButton6;

    // Slot-1 task choices, "Операции".
    QGroupBox *GroupBox4;
    QRadioButton *RadioButton3;  // Remind
    QRadioButton *RadioButton7;  // RemindText
    QRadioButton *RadioButton9;  // ScreenSaver
    QRadioButton *RadioButton10; // NoWindow
    QRadioButton *RadioButton8;  // MonitorOff
    QRadioButton *RadioButton11; // Sleep
    QRadioButton *RadioButton6;  // Logoff
    QRadioButton *RadioButton5;  // Reboot
    QRadioButton *RadioButton4;  // Shutdown

    // "Действия".
    QGroupBox *GroupBox5;
    QToolButton *SpeedButton3; // "Пауза" / "Далее"
    QToolButton *SpeedButton2; // "Настройка"
    QPushButton *Button1;      // "Отменить"
    QToolButton *SpeedButton1; // "Свернуть"
    QWidget *Panel1;           // quick pictures
    ClickLabel *Image7;        // sleep
    ClickLabel *Image4;        // reboot
    ClickLabel *Image3;        // shutdown
    ClickLabel *Image5;        // monitor off
    ClickLabel *Image8;        // screen saver
    ClickLabel *Image2;        // log off
    QPushButton *Button2;      // "Завести"
    ClickLabel *Image6;        // the blinker's stop image

    QMenu *PopupMenu1;
    QAction *N5;  // "Завести"
    QAction *N6;  // "Отменить"
    QAction *N7;  // "Пауза"
    QAction *N15; // "Развернуть"
    QAction *N16; // "Свернуть"
    QAction *N8;  // "Настройка"
    QAction *N3;  // "О программе"
    QAction *N1;  // "Выход"

    QMenu *PopupMenu2; // the quick menu
    QAction *N11;
    QAction *N51;
    QAction *N101;
    QAction *N151;
    QAction *N301;
    QAction *N12;
    QAction *N21;
    QAction *N31;

    TrayIcon *RxTrayIcon1;
    WindowTimer *Timer1; // countdown 1 firing
    WindowTimer *Timer2; // countdown 1 minute ticker
    WindowTimer *Timer3; // countdown 2 firing
    WindowTimer *Timer4; // countdown 2 minute ticker
    WindowTimer *TimerVisible;
    WindowTimer *TimerAlpha;
    FormStorage *FormStorage1;

    // Live values.
    int Opacity = setting::Alpha.fallback;
    int WarningCounter = setting::Sec.fallback;
    bool NoWarnings = false;
    QString SettingsPassword;
    QColor BackgroundColor;
    QColor TextColor;
    QString PhrasesPath;
    bool KeepWindowOnArm = false;
    int PauseKeyCount = 0;

    // Scheduler state.
    std::int32_t ElapsedMinutes1 = 0;
    std::int32_t ElapsedMinutes2 = 0;
    bool RunIsAlarm = false;
    bool Countdown1Armed = false;
    bool Countdown2Armed = false;

    // The window's own opacity, 0..255, and whether alpha blending is on.
    int AlphaBlendValue = 0;
    bool AlphaBlend = true;
    void SetAlphaBlendValue(int value);
    // Apply's opacity: 255 switches transparency off, any other value on with that opacity.
    void SetTransparency(int opacity);
    // Apply's colours, onto the controls that carry them.
    void ApplyBackgroundColor(const QColor &color);
    void ApplyTextColor(const QColor &color);

    // True once the main window has been closed; the program ends at the next return to the main loop.
    bool MainClosed = false;

    void FormCreate();
    void RadioButton1Click(QObject *Sender);
    void Button2Click(QObject *Sender);
    void Timer2Timer(QObject *Sender);
    void SpeedButton3Click(QObject *Sender);
    void Button1Click(QObject *Sender);
    void N11Click(QObject *Sender);
    void FormMouseWheelUp();
    void FormMouseWheelDown();
    void RxSpinEdit2TopClick(QObject *Sender);
    void RxSpinEdit1BottomClick(QObject *Sender);
    void RxClock1Alarm(QObject *Sender);
    void RunFiredTasks(TimerSlot slot);
    void TimerAlphaTimer(QObject *Sender);
    void TimerVisibleTimer(QObject *Sender);
    // The Pause key went down or up, where the system tells of it as it happens.
    void PauseKeyChange(bool down);
    void Button3Clicw(QObject *Sender);
    void RxClock1Click(QObject *Sender);
    void SpeedButton2Click(QObject *Sender);

    // Plays the alarm sound chosen in the settings dialog and returns when it has finished.
    void Sound();
    void ShowRandomPhrase();
    QString FileVersion();

    // The slot-1 task chosen in "Операции" at this moment.
    TaskKind Slot1Task() const;
    // The button of "Операции" that chooses the task.
    QRadioButton *TaskButton(TaskKind task) const;
    // Hides the window to the tray; with no notification area, minimises it instead.
    void HideToTray();
    // A notification area came or went: the icon follows, and a window put away while armed goes where it can be
    // reached again.
    void TrayHostChanged();
    void ShowMainWindow();
    // Whether the pause command shows "Далее".
    bool Paused() const;
    // A power task (log-off, restart, shut-down, sleep) at once, then the main window closes; others do nothing.
    void DoPowerTask(TaskKind task);
    // The blinker's stop image, shown while a blink run lasts.
    void ShowBlinkStop(bool shown);
    // The icon in the notification area; the extras dialog can remove it.
    void SetTrayIconShown(bool shown);

protected:
    void closeEvent(QCloseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildLayout();
    void BuildMenus();
    void ConnectHandlers();
    void SetCommandsArmed(bool armed);
    void ShowRemaining(QLabel *label, int timer, std::int64_t minutes);
    // The shown part of a slot's task: the window back, the text reminder, the monitor, the screen saver.
    void RunShownTask(TaskKind task, TimerSlot slot, bool armed, const QString &caption);
    void SetTitleAndHint(const QString &text);

    std::int64_t pausedLeft1_ = -1;
    std::int64_t pausedLeft2_ = -1;
    int wheelDelta_ = 0;
    quint64 lastWheelTimestamp_ = 0;
};
