// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1, the main window: its controls and menus, start-up, the tray, showing and hiding, and the end.
#include "app/Unit1.h"

#include "actions/PowerOff.h"
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
#include "controls/Clock.h"
#include "controls/ClockPanel.h"
#include "controls/Colors.h"
#include "controls/FormStorage.h"
#include "controls/Pictures.h"
#include "controls/Placement.h"
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
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace {

ClickLabel *QuickPicture(Picture::Kind kind, const QString &hint, QWidget *parent, const QRect &geometry) {
    auto *image = new ClickLabel(QString(), parent);
    image->setPixmap(Picture::Draw(kind, geometry.size()));
    image->setToolTip(hint);
    image->setGeometry(geometry);
    image->setCursor(Qt::PointingHandCursor);
    return image;
}

} // namespace

using namespace form1;

TForm1::TForm1() : QWidget(nullptr) {
    BuildLayout();
    BuildMenus();
    ConnectHandlers();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::BuildLayout() {
    setWindowTitle(kTitle);
    setWindowIcon(Picture::AppIcon());
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(571, 270);
    setToolTip(QStringLiteral("Колесо вверх и вниз позволяет изменить время у таймера.\r\nДвойной щелчок на "
                              "окне программы - ставит на завод."));

    RxClock1 = new ClockPanel(this);
    RxClock1->setGeometry(0, 0, 571, 57);
    RxClock1->setToolTip(QStringLiteral("О программе"));
    // The labels on the panel keep the window's small font, not the clock's large digits.
    QFont small = font();
    small.setPointSize(std::max(font().pointSize(), 8));
    for (ClickLabel **label : {&Label8, &Label5, &Label4, &Label7}) {
        *label = new ClickLabel(QString(), RxClock1);
        (*label)->setFont(small);
    }
    Label8->SetCaption(QStringLiteral("version"));
    // Across the whole top of the panel, so a phrase of 80 characters shows whole.
    Label8->setGeometry(2, 2, 567, 13);
    Label8->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label5->SetCaption(kNoRun);
    Label5->setGeometry(185, 40, 200, 15);
    Label5->setAlignment(Qt::AlignCenter);
    Label4->setGeometry(4, 16, 150, 36);
    Label4->hide();
    Label7->setGeometry(417, 16, 150, 36);
    Label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label7->hide();

    RadioButton1 = Radio(QString(), this, QRect(8, 78, 18, 18));
    RadioButton1->setChecked(true);
    GroupBox1 = new QGroupBox(QStringLiteral("Будильник"), this);
    GroupBox1->setGeometry(28, 60, 170, 50);
    RxSpinEdit1 = new SpinEdit(-1, 24, 0, GroupBox1);
    RxSpinEdit1->setGeometry(8, 20, 46, 22);
    (new QLabel(QStringLiteral("Ч."), GroupBox1))->setGeometry(58, 22, 20, 18);
    RxSpinEdit2 = new SpinEdit(-1, 60, 0, GroupBox1);
    RxSpinEdit2->setGeometry(80, 20, 46, 22);
    (new QLabel(QStringLiteral("Мин."), GroupBox1))->setGeometry(130, 22, 28, 18);

    RadioButton2 = Radio(QString(), this, QRect(8, 132, 18, 18));
    GroupBox2 = new QGroupBox(QStringLiteral("Таймер"), this);
    GroupBox2->setGeometry(28, 112, 170, 76);
    RxSpinEdit3 = new SpinEdit(1, 9999, 1, GroupBox2);
    RxSpinEdit3->setGeometry(8, 20, 60, 22);
    (new QLabel(QStringLiteral("Мин."), GroupBox2))->setGeometry(72, 22, 30, 18);
    CheckBox1 = new QCheckBox(QStringLiteral("2 таймера"), GroupBox2);
    CheckBox1->setGeometry(6, 48, 82, 20);
    Label6 = new ClickLabel(QStringLiteral("Второй таймер"), GroupBox2);
    Label6->setGeometry(90, 51, 78, 16);
    // A live link while the countdown mode is on; greyed like any disabled control in alarm-clock mode.
    Label6->setStyleSheet(QStringLiteral("QLabel { color: blue; text-decoration: underline; }"
                                         "QLabel:disabled { color: palette(mid); text-decoration: none; }"));
    Label6->setCursor(Qt::PointingHandCursor);

    GroupBox3 = new QGroupBox(QStringLiteral("Дополнительно"), this);
    GroupBox3->setGeometry(4, 192, 194, 74);
    SpeedButton4 = FlatButton(QStringLiteral("Общее"), GroupBox3, QRect(6, 18, 84, 22));
    SpeedButton5 = FlatButton(QStringLiteral("WinAmp"), GroupBox3, QRect(100, 18, 88, 22));
    SpeedButton6 = FlatButton(QStringLiteral("Запуск"), GroupBox3, QRect(6, 44, 84, 22));

    GroupBox4 = new QGroupBox(QStringLiteral("Операции"), this);
    GroupBox4->setGeometry(202, 60, 180, 206);
    RadioButton3 = Radio(QStringLiteral("Просто напомнить"), GroupBox4, QRect(6, 18, 172, 18));
    RadioButton3->setChecked(true);
    RadioButton7 = Radio(QStringLiteral("Напомнить с текстом"), GroupBox4, QRect(6, 38, 172, 18));
    RadioButton9 = Radio(QStringLiteral("Запуск заставки"), GroupBox4, QRect(6, 58, 172, 18));
    RadioButton10 = Radio(QStringLiteral("Не показывать окно"), GroupBox4, QRect(6, 78, 172, 18));
    auto *separator = new QFrame(GroupBox4);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 99, 164, 4);
    RadioButton8 = Radio(QStringLiteral("Выключить монитор"), GroupBox4, QRect(6, 106, 172, 18));
    RadioButton11 = Radio(QStringLiteral("Спящий режим"), GroupBox4, QRect(6, 126, 172, 18));
    RadioButton6 = Radio(QStringLiteral("Завершение сеанса"), GroupBox4, QRect(6, 146, 172, 18));
    RadioButton5 = Radio(QStringLiteral("Перезагрузить компьютер"), GroupBox4, QRect(6, 166, 172, 18));
    RadioButton4 = Radio(QStringLiteral("Выключить компьютер"), GroupBox4, QRect(6, 186, 172, 18));

    GroupBox5 = new QGroupBox(QStringLiteral("Действия"), this);
    GroupBox5->setGeometry(386, 60, 181, 206);
    SpeedButton3 = FlatButton(kPause, GroupBox5, QRect(6, 16, 82, 22));
    SpeedButton3->setEnabled(false);
    SpeedButton2 = FlatButton(QStringLiteral("Настройка"), GroupBox5, QRect(92, 16, 82, 22));
    Button1 = new QPushButton(QStringLiteral("Отменить"), GroupBox5);
    Button1->setGeometry(6, 42, 82, 24);
    SpeedButton1 = FlatButton(QStringLiteral("Свернуть"), GroupBox5, QRect(92, 42, 82, 24));
    Panel1 = new QFrame(GroupBox5);
    Panel1->setGeometry(6, 70, 168, 76);
    Panel1->setToolTip(QStringLiteral("Быстрые функции"));
    Image7 = QuickPicture(Picture::Sleep, QStringLiteral("Спящий режим"), Panel1, QRect(12, 2, 33, 33));
    Image4 =
        QuickPicture(Picture::Reboot, QStringLiteral("Быстрая перезагрузка компьютера"), Panel1, QRect(67, 2, 33, 33));
    Image3 =
        QuickPicture(Picture::Shutdown, QStringLiteral("Быстрое выключение компьютера"), Panel1, QRect(122, 2, 33, 33));
    Image5 = QuickPicture(Picture::MonitorOff, QStringLiteral("Выключить монитор"), Panel1, QRect(12, 39, 33, 33));
    Image8 =
        QuickPicture(Picture::ScreenSaver, QStringLiteral("Быстрый запуск заставки"), Panel1, QRect(67, 39, 33, 33));
    Image2 = QuickPicture(Picture::Logoff, QStringLiteral("Быстрое завершение сеанса"), Panel1, QRect(122, 39, 33, 33));
    Button2 = new QPushButton(QStringLiteral("Завести"), GroupBox5);
    Button2->setGeometry(6, 150, 168, 50);
    QFont big = Button2->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    Button2->setFont(big);

    Image6 = QuickPicture(Picture::StopBlink, QStringLiteral("Для выключения мигания лампочек, нажмите сюда."), this,
                          QRect(2, 251, 17, 17));
    Image6->hide();

    Timer1 = new WindowTimer(this);
    Timer2 = new WindowTimer(this);
    Timer2->SetInterval(kMinuteMs);
    Timer2->SetCatchUp(true);
    Timer3 = new WindowTimer(this);
    Timer4 = new WindowTimer(this);
    Timer4->SetInterval(kMinuteMs);
    Timer4->SetCatchUp(true);
    TimerVisible = new WindowTimer(this);
    TimerVisible->SetInterval(50);
    TimerAlpha = new WindowTimer(this);
    TimerAlpha->SetInterval(5);

    RxTrayIcon1 = new TrayIcon(this);
    RxTrayIcon1->SetHint(kTitle);
    FormStorage1 = new FormStorage(this, QStringLiteral("window_main"));
    FormStorage1->SetCentred(true);

    // The wheel belongs to the whole window, whichever control is under the pointer.
    for (QWidget *child : findChildren<QWidget *>()) {
        child->installEventFilter(this);
    }
}

void TForm1::BuildMenus() {
    PopupMenu1 = new QMenu(this);
    N5 = PopupMenu1->addAction(QStringLiteral("Завести"));
    N6 = PopupMenu1->addAction(QStringLiteral("Отменить"));
    N7 = PopupMenu1->addAction(kPause);
    N7->setEnabled(false);
    PopupMenu1->addSeparator();
    N15 = PopupMenu1->addAction(QStringLiteral("Развернуть"));
    N16 = PopupMenu1->addAction(QStringLiteral("Свернуть"));
    PopupMenu1->addSeparator();
    N8 = PopupMenu1->addAction(QStringLiteral("Настройка"));
    N3 = PopupMenu1->addAction(QStringLiteral("О программе"));
    N3->setShortcut(QKeySequence(Qt::Key_F1));
    N3->setShortcutContext(Qt::WindowShortcut);
    addAction(N3);
    N1 = PopupMenu1->addAction(QStringLiteral("Выход"));
    RxTrayIcon1->SetPopupMenu(PopupMenu1);

    PopupMenu2 = new QMenu(this);
    N11 = PopupMenu2->addAction(QStringLiteral("3 минуты"));
    N51 = PopupMenu2->addAction(QStringLiteral("5 минут"));
    N101 = PopupMenu2->addAction(QStringLiteral("10 минут"));
    N151 = PopupMenu2->addAction(QStringLiteral("15 минут"));
    N301 = PopupMenu2->addAction(QStringLiteral("30 минут"));
    N12 = PopupMenu2->addAction(QStringLiteral("1 час"));
    N21 = PopupMenu2->addAction(QStringLiteral("2 часа"));
    N31 = PopupMenu2->addAction(QStringLiteral("3 часа"));
    for (QWidget *owner : {static_cast<QWidget *>(GroupBox2), static_cast<QWidget *>(RxSpinEdit3)}) {
        owner->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(owner, &QWidget::customContextMenuRequested, this,
                [this, owner](const QPoint &at) { PopupMenu2->popup(owner->mapToGlobal(at)); });
    }
}

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
        const Settings settings = Settings::Read(IniFile(SettingsFilePath()));
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

    RxTrayIcon1->SetActive(true);
    // Where the system tells of the key going down and up, the Pause poll runs only while the key is held;
    // otherwise it runs for the whole life of the program.
    const bool told = platform::Current().keyState->WatchPause([this](bool down) { PauseKeyChange(down); });
    TimerVisible->SetEnabled(!told);
    TimerAlpha->SetEnabled(true);
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
        if (Form4->NewPhraseOnRestore()) {
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
