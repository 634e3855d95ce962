// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1, the main window: start-up, its colours and opacity, the tray, showing and hiding, and the end.
#include "app/Unit1.h"

#include "actions/PowerOff.h"
#include "actions/Unit2.h"
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Notices.h"
#include "app/SleepHold.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
#include "controls/Clock.h"
#include "controls/ClockPanel.h"
#include "controls/Colors.h"
#include "controls/FormStorage.h"
#include "controls/SpinEdit.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Unit3.h"
#include "settings/Unit4.h"
#include "settings/Unit9.h"
#include "signals/Unit8.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

using namespace form1;

TForm1::TForm1() : QWidget(nullptr), sleepHold_(std::make_unique<SleepHold>()) {
    BuildLayout();
    BuildMenus();
    ConnectHandlers();
    FormCreate();
    // The run starts stopped, with the mode and task the window shows.
    ChoiceChanged();
}

TForm1::~TForm1() = default;

void TForm1::ConnectHandlers() {
    const auto click = [this](auto *control, void (TForm1::*handler)(QObject *)) {
        connect(control, &std::remove_pointer_t<decltype(control)>::clicked, this,
                [this, control, handler] { (this->*handler)(control); });
    };
    const auto trigger = [this](QAction *action, void (TForm1::*handler)(QObject *)) {
        connect(action, &QAction::triggered, this, [this, action, handler] { (this->*handler)(action); });
    };
    click(RadioButton1, &TForm1::RadioButton1Click);
    click(RadioButton2, &TForm1::RadioButton1Click);
    click(Button2, &TForm1::Button2Click);
    trigger(N5, &TForm1::Button2Click);
    click(SpeedButton3, &TForm1::SpeedButton3Click);
    trigger(N7, &TForm1::SpeedButton3Click);
    click(Button1, &TForm1::Button1Click);
    trigger(N6, &TForm1::Button1Click);
    click(SpeedButton2, &TForm1::SpeedButton2Click);
    trigger(N8, &TForm1::SpeedButton2Click);
    trigger(N3, &TForm1::RxClock1Click);
    for (QAction *item : {N11, N51, N101, N151, N301, N12, N21, N31}) {
        trigger(item, &TForm1::N11Click);
    }
    for (QAction *item : {N16, N1, N15}) {
        trigger(item, &TForm1::Button3Clicw);
    }
    for (QToolButton *button : {SpeedButton1, SpeedButton4, SpeedButton5, SpeedButton6}) {
        click(button, &TForm1::Button3Clicw);
    }
    click(RadioButton7, &TForm1::Button3Clicw);
    for (ClickLabel *label : {Label6, Image2, Image3, Image4, Image5, Image7, Image8, Image6}) {
        label->OnClick = [this](QObject *sender) { Button3Clicw(sender); };
    }
    RxClock1->OnClick = [this](QObject *sender) { RxClock1Click(sender); };
    for (ClickLabel *label : {Label8, Label5, Label4, Label7}) {
        label->OnClick = [this](QObject *sender) { RxClock1Click(sender); };
    }
    RxClock1->OnAlarm = [this](QObject *sender) { RxClock1Alarm(sender); };
    Timer1->OnTimer = [this](QObject *sender) { RxClock1Alarm(sender); };
    Timer3->OnTimer = [this](QObject *sender) { RxClock1Alarm(sender); };
    Timer2->OnTimer = [this](QObject *sender) { Timer2Timer(sender); };
    Timer4->OnTimer = [this](QObject *sender) { Timer2Timer(sender); };
    TimerVisible->OnTimer = [this](QObject *sender) { TimerVisibleTimer(sender); };
    TimerAlpha->OnTimer = [this](QObject *sender) { TimerAlphaTimer(sender); };
    RxTrayIcon1->OnDblClick = [this](QObject *sender) { Button3Clicw(sender); };
    // Everything that shows or follows the run hears of each change of it, in this order.
    connect(this, &TForm1::RunChanged, this, &TForm1::ShowRun);
    connect(this, &TForm1::RunChanged, this, [this] { sleepHold_->Follow(run_, SoundPlays()); });
    connect(this, &TForm1::RunChanged, this, &TForm1::FollowWarmUp);
    warmUp_->OnTimer = [this](QObject *) {
        warmUp_->SetEnabled(false);
        if (platform::System *system = platform::Current().system) {
            system->WarmUpMemory();
        }
    };
    for (QRadioButton *choice : {RadioButton1, RadioButton2, RadioButton3, RadioButton7, RadioButton9, RadioButton10,
                                 RadioButton8, RadioButton11, RadioButton6, RadioButton5, RadioButton4}) {
        connect(choice, &QRadioButton::toggled, this, [this] { ChoiceChanged(); });
    }
    for (SpinEdit *edit : {RxSpinEdit1, RxSpinEdit2}) {
        edit->OnTopClick = [this](QObject *sender) { RxSpinEdit2TopClick(sender); };
        edit->OnBottomClick = [this](QObject *sender) { RxSpinEdit1BottomClick(sender); };
    }
}

void TForm1::FormCreate() {
    const QTime now = AppClock().WallNow().time();
    RxSpinEdit1->SetValue(now.hour());
    RxSpinEdit2->SetValue(now.minute());

    AlphaBlend = true;
    SetAlphaBlendValue(0);
    {
        SettingsAtStart = Settings::Read(IniFile(SettingsFilePath()));
        const Settings &settings = SettingsAtStart;
        Opacity = settings.alpha;
        if (Opacity != 255) {
            AlphaBlend = true;
            SetAlphaBlendValue(Opacity);
        }
        WarningCounter = settings.sec;
        NoWarnings = settings.hide_message_alarm;
        Application::SetHintPause(settings.speedhint ? 0 : 500);
        SettingsPassword = settings.pass;
        BackgroundColor = FromWinColor(settings.bkcolor);
        TextColor = FromWinColor(settings.color);
        KeepWindowOnArm = settings.tray_hide;

        ApplyBackgroundColor(BackgroundColor);
        RadioButton1Click(RadioButton1->isChecked() ? RadioButton1 : RadioButton2);
        ApplyTextColor(TextColor);

        Label8->SetCaption(QStringLiteral("version ") + FileVersion());
        PhrasesPath = settings.phrases;
        if (!PhrasesPath.isEmpty()) {
            ShowRandomPhrase();
        }
    }
    Application::SetTitle(kTitle);
    FormStorage1->SetIniFileName(SettingsFilePath());
    Application::SetHintShortPause(500);

    TimerAlpha->SetEnabled(true);
    // A window put away at start (a command armed it) is not painted; nor is one the window manager keeps out of
    // sight. For those the rest of the start comes when the loop first runs, or a quarter second later.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible() || isMinimized()) {
            StartAfterFirstPaint();
        }
    });
    QTimer::singleShot(250, this, &TForm1::StartAfterFirstPaint);
}

void TForm1::StartAfterFirstPaint() {
    if (std::exchange(startedAfterPaint_, true) || MainClosed) {
        return;
    }
    RxTrayIcon1->SetActive(true);
    // Where the system tells of the key going down and up, the Pause poll runs only while the key is held;
    // otherwise it runs for the whole life of the program.
    const bool told = platform::Current().keyState->WatchPause([this](bool down) { PauseKeyChange(down); });
    TimerVisible->SetEnabled(!told);
    emit StartedAfterFirstPaint();
}

bool TForm1::event(QEvent *event) {
    const bool handled = QWidget::event(event);
    // The notification area and the Pause key's watch are round trips to the display server (a window of the
    // icon's own, a second connection) that show nothing in this window: they follow its first paint, once the
    // loop is back from flushing it.
    if (event->type() == QEvent::Paint && !startedAfterPaint_) {
        QTimer::singleShot(0, this, &TForm1::StartAfterFirstPaint);
    }
    return handled;
}

void TForm1::SetAlphaBlendValue(int value) {
    AlphaBlendValue = value;
    setWindowOpacity(AlphaBlend ? value / 255.0 : 1.0);
}

void TForm1::SetTransparency(int opacity) {
    Opacity = opacity;
    AlphaBlend = opacity != 255;
    SetAlphaBlendValue(opacity);
}

void TForm1::ApplyBackgroundColor(const QColor &color) {
    SetBackground(RxClock1, color);
    SetBackground(Panel1, color);
    if (RadioButton1->isChecked()) {
        SetBackground(RxSpinEdit1, color);
        SetBackground(RxSpinEdit2, color);
    }
    if (RadioButton2->isChecked()) {
        SetBackground(RxSpinEdit3, color);
    }
    BackgroundColor = color;
}

void TForm1::ApplyTextColor(const QColor &color) {
    for (QWidget *w : std::initializer_list<QWidget *>{RxClock1, Label4, Label5, Label7, Label8, RxSpinEdit1,
                                                       RxSpinEdit2, RxSpinEdit3}) {
        SetTextColor(w, color);
    }
    TextColor = color;
}

QString TForm1::FileVersion() {
    return QString::fromStdString(platform::Current().system->ProgramVersion());
}

void TForm1::TimerAlphaTimer(QObject *) {
    // The window fades in from 0 to the chosen opacity, then the fade stops.
    if (AlphaBlendValue < Opacity) {
        SetAlphaBlendValue(std::min(AlphaBlendValue + 5, Opacity));
    } else {
        TimerAlpha->SetEnabled(false);
    }
}

void TForm1::TimerVisibleTimer(QObject *) {
    if (platform::Current().keyState->PausePressed()) {
        ++PauseKeyCount;
    }
    if (PauseKeyCount >= 3) {
        ShowMainWindow();
        PauseKeyCount = 0;
    }
}

void TForm1::PauseKeyChange(bool down) {
    if (down) {
        // A press counts at once, so a tap shorter than the poll is never missed; holding the key counts on at
        // every poll, as it would with polling alone.
        TimerVisibleTimer(TimerVisible);
    }
    TimerVisible->SetEnabled(down);
}

void TForm1::HideToTray() {
    if (TrayIcon::Available()) {
        hide();
    } else {
        // Without a notification area a hidden window could not be reached again.
        showMinimized();
    }
}

void TForm1::TrayHostChanged() {
    RxTrayIcon1->HostChanged();
    const bool away = !isVisible() || isMinimized();
    if (run_.Pending() && away && !MainClosed) {
        HideToTray();
    }
}

void TForm1::ShowMainWindow() {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void TForm1::Button3Clicw(QObject *Sender) {
    if (Sender == N16 || Sender == SpeedButton1) {
        HideToTray();
    }
    if (Sender == N1) {
        close();
    }
    if (Sender == Label6) {
        Form6->exec();
        ChoiceChanged();
    }
    if (Sender == RadioButton7) {
        Form5->exec();
    }
    if (Sender == SpeedButton4) {
        Form7->ShowOnPage(TForm7::PageGeneral);
    }
    if (Sender == SpeedButton5) {
        Form7->ShowOnPage(TForm7::PageWinAmp);
    }
    if (Sender == SpeedButton6) {
        Form7->ShowOnPage(TForm7::PageLaunch);
    }
    if (Sender == N15 || Sender == RxTrayIcon1) {
        ShowMainWindow();
        DM->StopBlinking();
        if (SettingsChoices::NewPhraseOnRestore(SettingsAtStart)) {
            ShowRandomPhrase();
        }
    }
    if (Sender == Image2) {
        DoPowerTask(TaskKind::Logoff);
    }
    if (Sender == Image4) {
        DoPowerTask(TaskKind::Reboot);
    }
    if (Sender == Image3) {
        DoPowerTask(TaskKind::Shutdown);
    }
    if (Sender == Image5) {
        SwitchMonitorOff();
    }
    if (Sender == Image7) {
        SuspendComputer();
    }
    if (Sender == Image8) {
        StartScreenSaver();
    }
    if (Sender == Image6) {
        DM->StopBlinking();
    }
}

void TForm1::ShowBlinkStop(bool shown) {
    Image6->setVisible(shown);
}

void TForm1::SetTrayIconShown(bool shown) {
    RxTrayIcon1->SetActive(shown);
}

void TForm1::RxClock1Click(QObject *) {
    TForm3 about;
    about.exec();
}

void TForm1::SpeedButton2Click(QObject *) {
    if (!SettingsPassword.isEmpty()) {
        Form9->exec();
    } else {
        Form4->exec();
    }
}

void TForm1::closeEvent(QCloseEvent *event) {
    event->accept();
    if (MainClosed) {
        return;
    }
    MainClosed = true;
    // A closed program fires nothing more: not the other countdown due in the same batch, not a tick, not a blink
    // step, also while the placement error below is on screen.
    AppClock().Halt();
    sleepHold_->End();
    // Slot 2's power task, "Выход" or the system's request to end may come while slot 1's warning counts: its
    // notice, whose "Отмена" would find nobody, goes with the program.
    if (TForm2 *warning = Form2.Existing()) {
        warning->EndWithProgram();
    }
    Notices::Withdraw(platform::NoticeKind::Reminder);
    // A blink run ended by nothing else would leave the locks as its last step set them.
    if (DM != nullptr && DM->Blinking()) {
        DM->StopBlinking();
    }
    try {
        FormStorage1->SavePlacement();
    } catch (const IniWriteError &error) {
        Application::ShowError(QString::fromStdString(error.what()));
    }
    RxTrayIcon1->SetActive(false);
    Application::Terminate();
}

void TForm1::contextMenuEvent(QContextMenuEvent *event) {
    PopupMenu1->popup(event->globalPos());
}
