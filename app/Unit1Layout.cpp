// SPDX-License-Identifier: GPL-3.0-or-later
// TForm1's controls and menus, built in code at their design positions.
#include "app/CommandLine.h"
#include "app/TaskCatalogue.h"
#include "app/Unit1.h"
#include "app/Unit1Captions.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "controls/FormStorage.h"
#include "controls/Pictures.h"
#include "controls/Placement.h"
#include "controls/SpinEdit.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace form1;

namespace {

ClickLabel *QuickPicture(Picture::Kind kind, const QString &hint, QWidget *parent, const QRect &geometry) {
    auto *image = new ClickLabel(QString(), parent);
    image->setPixmap(Picture::Draw(kind, geometry.size()));
    image->setToolTip(hint);
    image->setGeometry(geometry);
    image->setCursor(Qt::PointingHandCursor);
    return image;
}

QString Caption(TaskKind task) {
    return QString::fromUtf16(TaskOf(task).caption);
}

} // namespace

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
    // The two captionless radio buttons are named for a screen reader after the group each one picks.
    RadioButton1->setAccessibleName(QStringLiteral("Будильник"));
    GroupBox1 = new QGroupBox(QStringLiteral("Будильник"), this);
    GroupBox1->setGeometry(28, 60, 170, 50);
    RxSpinEdit1 = new SpinEdit(-1, 24, 0, GroupBox1);
    RxSpinEdit1->setGeometry(8, 20, 46, 22);
    (new QLabel(QStringLiteral("Ч."), GroupBox1))->setGeometry(58, 22, 20, 18);
    RxSpinEdit2 = new SpinEdit(-1, 60, 0, GroupBox1);
    RxSpinEdit2->setGeometry(80, 20, 46, 22);
    (new QLabel(QStringLiteral("Мин."), GroupBox1))->setGeometry(130, 22, 28, 18);

    RadioButton2 = Radio(QString(), this, QRect(8, 132, 18, 18));
    RadioButton2->setAccessibleName(QStringLiteral("Таймер"));
    // A group of their own: as mere siblings, the checked task of "Операции" counts as their checked button, and a
    // click on the mode already on would turn it off.
    auto *mode = new QButtonGroup(this);
    mode->addButton(RadioButton1);
    mode->addButton(RadioButton2);
    GroupBox2 = new QGroupBox(QStringLiteral("Таймер"), this);
    GroupBox2->setGeometry(28, 112, 170, 76);
    RxSpinEdit3 = new SpinEdit(kCountdownMinutesMin, kCountdownMinutesMax, 1, GroupBox2);
    RxSpinEdit3->setGeometry(8, 20, 60, 22);
    (new QLabel(QStringLiteral("Мин."), GroupBox2))->setGeometry(72, 22, 30, 18);
    CheckBox1 = new QCheckBox(QStringLiteral("2 таймера"), GroupBox2);
    CheckBox1->setGeometry(6, 48, 82, 20);
    Label6 = new ClickLabel(QStringLiteral("Второй таймер"), GroupBox2);
    Label6->setGeometry(90, 51, 78, 16);
    // A live link while the countdown mode is on; greyed like any disabled control in alarm-clock mode.
    Label6->ShowAsLink();
    Label6->setCursor(Qt::PointingHandCursor);

    GroupBox3 = new QGroupBox(QStringLiteral("Дополнительно"), this);
    GroupBox3->setGeometry(4, 192, 194, 74);
    SpeedButton4 = FlatButton(QStringLiteral("Общее"), GroupBox3, QRect(6, 18, 84, 22));
    SpeedButton5 = FlatButton(QStringLiteral("WinAmp"), GroupBox3, QRect(100, 18, 88, 22));
    SpeedButton6 = FlatButton(QStringLiteral("Запуск"), GroupBox3, QRect(6, 44, 84, 22));

    GroupBox4 = new QGroupBox(QStringLiteral("Операции"), this);
    GroupBox4->setGeometry(202, 60, 180, 206);
    RadioButton3 = Radio(Caption(TaskKind::Remind), GroupBox4, QRect(6, 18, 172, 18));
    RadioButton3->setChecked(true);
    RadioButton7 = Radio(Caption(TaskKind::RemindText), GroupBox4, QRect(6, 38, 172, 18));
    RadioButton9 = Radio(Caption(TaskKind::ScreenSaver), GroupBox4, QRect(6, 58, 172, 18));
    RadioButton10 = Radio(Caption(TaskKind::NoWindow), GroupBox4, QRect(6, 78, 172, 18));
    auto *separator = new QFrame(GroupBox4);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(8, 99, 164, 4);
    RadioButton8 = Radio(Caption(TaskKind::MonitorOff), GroupBox4, QRect(6, 106, 172, 18));
    RadioButton11 = Radio(Caption(TaskKind::Sleep), GroupBox4, QRect(6, 126, 172, 18));
    RadioButton6 = Radio(Caption(TaskKind::Logoff), GroupBox4, QRect(6, 146, 172, 18));
    RadioButton5 = Radio(Caption(TaskKind::Reboot), GroupBox4, QRect(6, 166, 172, 18));
    RadioButton4 = Radio(Caption(TaskKind::Shutdown), GroupBox4, QRect(6, 186, 172, 18));

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
    warmUp_ = new WindowTimer(this);

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
