// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1, the main window: the scheduler, the firing, the start-up, the tray icon and the quick pictures.
#pragma once

#include "app/RunState.h"
#include "app/TaskKind.h"
#include "settings/Settings.h"

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

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
class SleepHold;
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
    // The settings as read at start: what the settings dialog opens with, and answers for until it is opened.
    Settings SettingsAtStart;
    bool KeepWindowOnArm = false;
    int PauseKeyCount = 0;

    // Scheduler state: whole minutes each countdown has counted since it was armed.
    std::int32_t ElapsedMinutes1 = 0;
    std::int32_t ElapsedMinutes2 = 0;
    // The per-run flags, as the run state has them: which slots the run armed that have not fired yet.
    bool RunIsAlarm() const { return run_.alarm && run_.slot1.pending; }
    bool Countdown1Armed() const { return !run_.alarm && run_.slot1.pending; }
    bool Countdown2Armed() const { return run_.slot2.pending; }

    // The run. Every change of it goes through the scheduler's own methods below and is announced by RunChanged.
    const RunState &Run() const { return run_; }
    // Arms a countdown of these minutes (with countdown 2 when "2 таймера" is checked) or the alarm clock at this
    // time, with the task chosen first where one is given; the controls show the choice. False, with the reason
    // shown, when the alarm time is not a time.
    bool ArmCountdown(int minutes, std::optional<TaskKind> task = std::nullopt);
    bool ArmAlarm(int hour, int minute, std::optional<TaskKind> task = std::nullopt);
    void PauseRun();
    void ResumeRun();
    // Puts the armed run off by these minutes: each countdown falls due that much later; the alarm clock becomes a
    // countdown of its own to its time moved on, so the person's alarm time stays in the fields. False, with
    // nothing changed, unless armed and not paused.
    bool PostponeRun(int minutes);
    // Arms a slot that has fired again as a countdown of these minutes, with the task chosen for it; the rest of
    // the run stays as it is. False, with nothing changed, while the warning counts or the slot is still pending.
    bool ArmSlotAgain(TimerSlot slot, int minutes);
    void CancelRun();
    // The warning dialog's countdown, which is part of the run: it starts, counts, and ends (acted or cancelled).
    void WarningCounts(TimerSlot slot, TaskKind task, int secondsLeft, const QDateTime &due);
    void WarningEnds();

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
    // Whether Sound() plays anything: the wave file with a file named, or the tune.
    bool SoundPlays() const;
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
    // A power task (log-off, restart, shut-down, sleep) at once, then the main window closes; others do nothing.
    void DoPowerTask(TaskKind task);
    // The blinker's stop image, shown while a blink run lasts.
    void ShowBlinkStop(bool shown);
    // The icon in the notification area; the extras dialog can remove it.
    void SetTrayIconShown(bool shown);
    // What the start leaves until the main window's first paint: the icon's placing in the notification area and
    // the Pause key's watch. Runs once; tests call it where a real start would have painted by then.
    void StartAfterFirstPaint();

signals:
    // The run has changed: armed, paused, resumed, cancelled, fired, a minute counted, the warning counted, or the
    // choice of mode or task changed.
    void RunChanged();
    // The start's steps that wait for the first paint have run (once).
    void StartedAfterFirstPaint();

protected:
    void closeEvent(QCloseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The one place the run changes; announces the change.
    void SetRun(const RunState &next);
    // The captions, commands, labels and tray as the run says.
    void ShowRun();
    // The mode and tasks chosen in the window (and the second timer's dialog) into the run.
    void ChoiceChanged();
    // The slot-1 task chosen in "Операции" before arming.
    void ChooseTask(TaskKind task);
    bool ArmChosen(bool alarm, int hour, int minute, int minutes);
    void BuildLayout();
    void BuildMenus();
    void ConnectHandlers();
    void SetCommandsArmed(bool armed);
    static void ShowRemaining(QLabel *label, int timer, std::int64_t minutes);
    // The shown part of a slot's task: the window back, the text reminder, the monitor, the screen saver.
    void RunShownTask(TaskKind task, TimerSlot slot, bool armed, const QString &caption);
    void SetTitleAndHint(const QString &text);
    // The slot that has fired is no longer pending; the last one ends the run.
    void MarkFired(TimerSlot slot);
    // The firing; fromRun when the run's own alarm or countdown fired the slot (its per-run flag was set).
    void RunFired(TimerSlot slot, bool fromRun);
    // Sets the memory's read-back for shortly before the run's next firing, or for none.
    void FollowWarmUp();

    RunState run_;
    WindowTimer *warmUp_ = nullptr;
    std::unique_ptr<SleepHold> sleepHold_;
    bool startedAfterPaint_ = false;
    int wheelDelta_ = 0;
    quint64 lastWheelTimestamp_ = 0;
};
