// SPDX-License-Identifier: GPL-3.0-or-later
// TForm4, the settings dialog: six pages of settings, read when it is first opened, written back by OK and Apply; the
// pages are laid out and the colour chooser made only when someone opens them.
#include "settings/Unit4.h"

#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Colors.h"
#include "controls/Pictures.h"
#include "controls/Placement.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "signals/Unit8.h"

#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kPhrasesFilter = QStringLiteral("Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*");
const QString kSoundFilter = QStringLiteral("Звуковой файл (*.wav)|*.wav");

// The file's sound type as the dialog's two buttons take it: anything but the tune is the wave file.
bool SpeakerTune(const Settings &settings) {
    return settings.sound_type == 2;
}

// The row of the pattern list for the file's pattern, read as a byte like the pattern itself; -1 outside the list.
int PatternIndex(int lighttype) {
    const auto pattern = static_cast<std::uint8_t>(lighttype);
    return pattern >= setting::LightType.min && pattern <= setting::LightType.max ? pattern - setting::LightType.min
                                                                                  : -1;
}

// One blink run with the step, length and pattern row the dialog's sliders and list hold. The timers keep their
// period when given the same interval, so a second press during a run keeps its end.
void Blink(int stepMs, int seconds, int patternIndex) {
    DM->SetBlinkSpeed(stepMs);
    DM->SetBlinkTime(seconds);
    BlinkPattern = static_cast<std::uint8_t>(patternIndex + 1);
    DM->StartBlinking();
}

QLabel *Text(const QString &caption, QWidget *parent) {
    auto *label = new QLabel(caption, parent);
    label->setWordWrap(false);
    return label;
}

// A page: its picture at the top left with the heading beside it, then the groups.
QVBoxLayout *PageLayout(QWidget *page, Picture::Kind picture, const QString &heading) {
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    auto *top = new QHBoxLayout;
    auto *image = new QLabel(page);
    image->setPixmap(Picture::Draw(picture, QSize(32, 32)));
    image->setFixedSize(32, 32);
    top->addWidget(image, 0, Qt::AlignTop);
    // Bold by markup rather than by a font of its own, so the heading follows the dialog's font size.
    auto *title = new QLabel(
        QStringLiteral("<b>%1</b>").arg(heading.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))),
        page);
    title->setTextFormat(Qt::RichText);
    top->addWidget(title, 1);
    layout->addLayout(top);
    return layout;
}

QVBoxLayout *Group(QVBoxLayout *page, const QString &caption, QWidget *parent) {
    auto *group = new QGroupBox(caption, parent);
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(3);
    page->addWidget(group);
    return layout;
}

// One step down in size, whether the font is given in points or in pixels; false at the smallest readable size.
bool Smaller(QFont &font) {
    if (font.pointSizeF() > 0) {
        if (font.pointSizeF() <= 6) {
            return false;
        }
        font.setPointSizeF(font.pointSizeF() - 0.5);
        return true;
    }
    if (font.pixelSize() <= 8) {
        return false;
    }
    font.setPixelSize(font.pixelSize() - 1);
    return true;
}

QHBoxLayout *FileRow(QLineEdit *edit, QToolButton *browse) {
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    browse->setText(QStringLiteral("…"));
    browse->setToolTip(QStringLiteral("Обзор"));
    row->addWidget(edit, 1);
    row->addWidget(browse);
    return row;
}

} // namespace

ColorShape::ColorShape(QWidget *parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFixedSize(40, 20);
    SetFill(Qt::white);
}

void ColorShape::SetFill(const QColor &color) {
    fill_ = color;
    SetBackground(this, color);
}

TForm4::TForm4()
    : PageControl1(new QTabWidget(this)), TabSheet1(new QWidget), TabSheet2(new QWidget), TabSheet3(new QWidget),
      TabSheet4(new QWidget), TabSheet5(new QWidget), TabSheet6(new QWidget),
      TrackBar1(new QSlider(Qt::Horizontal, TabSheet1)),
      CheckBox3(new QCheckBox(QStringLiteral("Быстрые подсказки"), TabSheet1)), FilenameEdit1(new QLineEdit(TabSheet1)),
      FilenameEdit1Button(new QToolButton(TabSheet1)),
      CheckBox4(new QCheckBox(QStringLiteral("Новая фраза при разворачивании программы"), TabSheet1)),
      RxSpinEdit1(new SpinEdit(setting::Sec.min, setting::Sec.max, setting::Sec.fallback, TabSheet2)),
      CheckBox1(new QCheckBox(QStringLiteral("Быстрое выключение"), TabSheet2)),
      RadioButton1(new QRadioButton(QStringLiteral("Wav-файл"), TabSheet2)),
      RadioButton2(new QRadioButton(QStringLiteral("PCSpeaker"), TabSheet2)), FilenameEdit2(new QLineEdit(TabSheet2)),
      FilenameEdit2Button(new QToolButton(TabSheet2)), SpeedButton2(FlatButton(QStringLiteral("Тест"), TabSheet2)),
      CheckBox5(new QCheckBox(QStringLiteral("Включить мигание лампочками"), TabSheet3)),
      Label14(new QLabel(TabSheet3)), TrackBar2(new QSlider(Qt::Horizontal, TabSheet3)), Label15(new QLabel(TabSheet3)),
      TrackBar3(new QSlider(Qt::Horizontal, TabSheet3)), ComboBox1(new QComboBox(TabSheet3)),
      SpeedButton5(FlatButton(QStringLiteral("Стоп"), TabSheet3)),
      SpeedButton4(FlatButton(QStringLiteral("Тест"), TabSheet3)), Edit1(new QLineEdit(TabSheet4)),
      Shape1(new ColorShape(TabSheet5)), SpeedButton1(FlatButton(QStringLiteral("Выбрать"), TabSheet5)),
      Shape2(new ColorShape(TabSheet5)), SpeedButton6(FlatButton(QStringLiteral("Выбрать"), TabSheet5)),
      SpeedButton7(FlatButton(QStringLiteral("По умолчанию"), TabSheet5)),
      SpeedButton3(FlatButton(QStringLiteral("Создать ярлык"), TabSheet6)),
      CheckBox2(new QCheckBox(QStringLiteral("Не сворачивать в трей при заводе"), TabSheet6)),
      Button1(new QPushButton(QStringLiteral("ОК"), this)),
      Button2(new QPushButton(QStringLiteral("Применить"), this)) {
    setWindowTitle(QStringLiteral("Настройка Zindrel"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(294, 403);
    SetUpControls();
    BuildFrame();
    FormCreate();
}

void TForm4::SetUpControls() {
    // The ranges and choices the loaded settings are checked against, before any page is laid out.
    TrackBar1->setRange(setting::Alpha.min, setting::Alpha.max);
    TrackBar1->setTickInterval(5);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setPageStep(5);
    TrackBar1->setValue(setting::Alpha.fallback);
    CheckBox3->setChecked(setting::SpeedHint.fallback);
    RadioButton1->setChecked(true);
    CheckBox5->setChecked(setting::LightEnabled.fallback);
    TrackBar2->setRange(setting::LightTime.min, setting::LightTime.max);
    TrackBar2->setTickPosition(QSlider::TicksBelow);
    TrackBar2->setTickInterval(1);
    TrackBar2->setValue(setting::LightTime.fallback);
    TrackBar3->setRange(setting::LightSpeed.min, setting::LightSpeed.max);
    TrackBar3->setTickPosition(QSlider::TicksBelow);
    TrackBar3->setTickInterval(50);
    TrackBar3->setPageStep(50);
    TrackBar3->setValue(setting::LightSpeed.fallback);
    ComboBox1->addItems({QStringLiteral("Слева направо"), QStringLiteral("Справа налево"),
                         QStringLiteral("Сразу всеми лампочками"), QStringLiteral("Только NumLock"),
                         QStringLiteral("Только CapsLock"), QStringLiteral("Только ScrollLock"),
                         QStringLiteral("CapsLock и ScrollLock"), QStringLiteral("NumLock и CapsLock"),
                         QStringLiteral("NumLock и ScrollLock")});
    ComboBox1->setEditable(false);
    Edit1->setEchoMode(QLineEdit::Normal);
}

void TForm4::BuildFrame() {
    // Flat, button-like tabs: no frame around the pages' row, a raised look only on the chosen one.
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setDrawBase(false);
    PageControl1->tabBar()->setExpanding(false);
    // Only the pages decide the dialog's minimum; the row of tabs is fitted on its own.
    PageControl1->tabBar()->setUsesScrollButtons(true);
    PageControl1->addTab(TabSheet1, QStringLiteral("Вид"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Действия"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Мигание"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Безопасность"));
    PageControl1->addTab(TabSheet5, QStringLiteral("Цвета"));
    PageControl1->addTab(TabSheet6, QStringLiteral("Разное"));
    PageControl1->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 6);
    layout->addWidget(PageControl1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(Button2); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(SpeedButton1); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton1Click(SpeedButton6); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { SpeedButton7Click(SpeedButton7); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(SpeedButton3); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(SpeedButton2); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(SpeedButton4); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton5Click(SpeedButton5); });
    connect(TrackBar2, &QSlider::valueChanged, this, [this] { TrackBar2Change(TrackBar2); });
    connect(TrackBar3, &QSlider::valueChanged, this, [this] { TrackBar3Change(TrackBar3); });
    connect(FilenameEdit1Button, &QToolButton::clicked, this,
            [this] { BrowseFile(FilenameEdit1, kPhrasesFilter, false); });
    connect(FilenameEdit2Button, &QToolButton::clicked, this,
            [this] { BrowseFile(FilenameEdit2, kSoundFilter, true); });
}

void TForm4::setVisible(bool visible) {
    if (visible && !pagesBuilt_) {
        pagesBuilt_ = true;
        BuildPages();
    }
    QDialog::setVisible(visible);
}

void TForm4::BuildPages() {
    PageControl1->tabBar()->setStyleSheet(QStringLiteral(
        "QTabBar::tab { border: 1px solid transparent; border-radius: 2px; padding: 2px 3px; margin: 1px 0px; }"
        "QTabBar::tab:selected { border: 1px solid palette(mid); background: palette(button); }"
        "QTabBar::tab:hover { border: 1px solid palette(midlight); }"));

    // "Вид".
    {
        QVBoxLayout *page =
            PageLayout(TabSheet1, Picture::MonitorOff, QStringLiteral("Настройка внешнего вида программы."));
        QVBoxLayout *alpha = Group(page, QStringLiteral("Прозрачность"), TabSheet1);
        alpha->addWidget(
            Text(QStringLiteral("Главное окно можно сделать прозрачным. Может \nтормозить на слабых компьютерах."),
                 TabSheet1));
        auto *ends = new QHBoxLayout;
        ends->addWidget(Text(QStringLiteral("Больше"), TabSheet1));
        ends->addWidget(TrackBar1, 1);
        ends->addWidget(Text(QStringLiteral("Меньше"), TabSheet1));
        alpha->addLayout(ends);

        QVBoxLayout *hints = Group(page, QStringLiteral("Быстрые подсказки"), TabSheet1);
        hints->addWidget(Text(QStringLiteral("Позволяет сделать всплывающие подсказки \nбыстрыми. То есть не нужно "
                                             "удерживать курсор \nнекоторые время для вывода помощи."),
                              TabSheet1));
        hints->addWidget(CheckBox3);

        QVBoxLayout *phrases = Group(page, QStringLiteral("Фразы при старте"), TabSheet1);
        phrases->addWidget(Text(QStringLiteral("Оставте поле пустым, если не хотите видеть фразы."), TabSheet1));
        phrases->addLayout(FileRow(FilenameEdit1, FilenameEdit1Button));
        phrases->addWidget(CheckBox4);
        page->addStretch(1);
    }

    // "Действия".
    {
        QVBoxLayout *page =
            PageLayout(TabSheet2, Picture::Timer, QStringLiteral("Настройка конкретных функций программы."));
        QVBoxLayout *wait = Group(page, QStringLiteral("Время ожидания"), TabSheet2);
        wait->addWidget(Text(QStringLiteral("Укажите необходимое время (в секундах), в \nтечении которого будет "
                                            "показываться окно при \nВыключении, Перезагрузки и Завершении сеаса."),
                             TabSheet2));
        wait->addWidget(RxSpinEdit1, 0, Qt::AlignLeft);
        wait->addWidget(Text(QStringLiteral("Для быстрого выключения (без окна предупрежде-\nния), необходимо "
                                            "поставить галочку:"),
                             TabSheet2));
        wait->addWidget(CheckBox1);

        QVBoxLayout *sound = Group(page, QStringLiteral("Звук"), TabSheet2);
        sound->addWidget(Text(QStringLiteral("Прорамма умеет воспроизводить звук при напоми-\nнании. Для отключения "
                                             "опции оставте поле пустым."),
                              TabSheet2));
        auto *kinds = new QHBoxLayout;
        kinds->addWidget(RadioButton1);
        kinds->addWidget(RadioButton2);
        kinds->addStretch(1);
        kinds->addWidget(SpeedButton2);
        sound->addLayout(kinds);
        sound->addLayout(FileRow(FilenameEdit2, FilenameEdit2Button));
        page->addStretch(1);
    }

    // "Мигание".
    {
        QVBoxLayout *page =
            PageLayout(TabSheet3, Picture::StopBlink, QStringLiteral("Настройка конкретных функций программы."));
        QVBoxLayout *blink = Group(page, QStringLiteral("Мигание"), TabSheet3);
        blink->addWidget(
            Text(QStringLiteral("Можно настроить мигание лампочек на клавиатуре,\nпри напоминании."), TabSheet3));
        blink->addWidget(CheckBox5);
        blink->addWidget(Label14);
        blink->addWidget(TrackBar2);
        blink->addWidget(Label15);
        blink->addWidget(TrackBar3);
        blink->addWidget(Text(QStringLiteral("Вид мигания:"), TabSheet3));
        blink->addWidget(ComboBox1);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch(1);
        buttons->addWidget(SpeedButton5);
        buttons->addWidget(SpeedButton4);
        blink->addLayout(buttons);
        page->addStretch(1);
    }

    // "Безопасность".
    {
        QVBoxLayout *page =
            PageLayout(TabSheet4, Picture::Key,
                       QStringLiteral("Функции защищающие настройки программы \nот посторонних пользователей."));
        QVBoxLayout *pass = Group(page, QStringLiteral("Пароль на настройки"), TabSheet4);
        pass->addWidget(Text(QStringLiteral("Для отключения опции оставте поле пустым."), TabSheet4));
        pass->addWidget(Edit1);
        page->addStretch(1);
    }

    // "Цвета".
    {
        QVBoxLayout *page = PageLayout(TabSheet5, Picture::ScreenSaver,
                                       QStringLiteral("Настройте внешний вид программы на свой \nвкус."));
        auto *grid = new QGridLayout;
        grid->addWidget(Shape1, 0, 0);
        grid->addWidget(Text(QStringLiteral("Цвет фона"), TabSheet5), 0, 1);
        grid->addWidget(SpeedButton1, 0, 2);
        grid->addWidget(Shape2, 1, 0);
        grid->addWidget(Text(QStringLiteral("Цвет текста"), TabSheet5), 1, 1);
        grid->addWidget(SpeedButton6, 1, 2);
        grid->setColumnStretch(1, 1);
        page->addLayout(grid);
        page->addWidget(SpeedButton7, 0, Qt::AlignLeft);
        page->addStretch(1);
    }

    // "Разное".
    {
        QVBoxLayout *page = PageLayout(TabSheet6, Picture::Gear,
                                       QStringLiteral("Здесь представлены функции не вошедшие в\nдругие разделы."));
        Group(page, QStringLiteral("Ярлык на рабочем столе"), TabSheet6)->addWidget(SpeedButton3, 0, Qt::AlignLeft);
        Group(page, QStringLiteral("Трей"), TabSheet6)->addWidget(CheckBox2);
        page->addStretch(1);
    }
    FitFonts();
}

void TForm4::FitFonts() {
    // The texts keep their own line breaks and the dialog its fixed size: a system font wider than the one the
    // layout was drawn for gets smaller until every page fits, then the tabs alike until they stay in one row.
    ensurePolished();
    const auto fits = [this] {
        // The nested layouts keep the sizes of the old font until told otherwise (the dialog is not shown yet).
        for (QLayout *nested : findChildren<QLayout *>()) {
            nested->invalidate();
        }
        const QSize needed = layout()->minimumSize();
        return needed.width() <= width() && needed.height() <= height();
    };
    for (QFont font = this->font(); !fits() && Smaller(font);) {
        setFont(font);
    }
    QTabBar *bar = PageControl1->tabBar();
    bar->ensurePolished();
    for (QFont font = bar->font(); bar->sizeHint().width() > width() - 10 && Smaller(font);) {
        bar->setFont(font);
    }
}

void TForm4::FormCreate() {
    const Settings settings = Settings::Read(IniFile(SettingsFilePath()));
    (SpeakerTune(settings) ? RadioButton2 : RadioButton1)->setChecked(true);
    FilenameEdit2->setText(settings.sound_file);

    TrackBar1->setValue(Form1->Opacity);
    RxSpinEdit1->SetValue(Form1->WarningCounter);
    CheckBox1->setChecked(Form1->NoWarnings);
    CheckBox3->setChecked(Application::HintPause() == 0);

    FilenameEdit1->setText(settings.phrases);
    CheckBox4->setChecked(settings.phrasestray);
    CheckBox5->setChecked(settings.lightenabled);

    TrackBar3->setValue(settings.lightspeed);
    TrackBar3Change(TrackBar3);
    TrackBar2->setValue(settings.lighttime);
    TrackBar2Change(TrackBar2);

    BlinkPattern = static_cast<std::uint8_t>(settings.lighttype);
    ComboBox1->setCurrentIndex(PatternIndex(settings.lighttype));

    Edit1->setText(settings.pass);
    Shape1->SetFill(FromWinColor(settings.bkcolor));
    Shape2->SetFill(FromWinColor(settings.color));

    const bool keepWindow = settings.tray_hide;
    CheckBox2->setChecked(keepWindow);
    Form1->KeepWindowOnArm = keepWindow;
}

bool TForm4::Apply() {
    try {
        const IniFile ini(SettingsFilePath());
        Settings::Write(ini, setting::Alpha, TrackBar1->value());
        Form1->SetTransparency(TrackBar1->value());

        Settings::Write(ini, setting::Sec, RxSpinEdit1->Value());
        Form1->WarningCounter = RxSpinEdit1->Value();

        // The running program keeps its warning choice; the extras dialog is its only switch until a restart.
        Settings::Write(ini, setting::HideMessageAlarm, CheckBox1->isChecked());

        if (RadioButton1->isChecked()) {
            Settings::Write(ini, setting::SoundType, 1);
        } else if (RadioButton2->isChecked()) {
            Settings::Write(ini, setting::SoundType, 2);
        }
        Settings::Write(ini, setting::SoundFile, FilenameEdit2->text());

        Application::SetHintPause(CheckBox3->isChecked() ? 0 : 500);
        Settings::Write(ini, setting::SpeedHint, CheckBox3->isChecked());

        if (FilenameEdit1->text().isEmpty()) {
            CheckBox4->setChecked(false);
        }
        Settings::Write(ini, setting::Phrases, FilenameEdit1->text());
        Settings::Write(ini, setting::PhrasesTray, CheckBox4->isChecked());
        Form1->PhrasesPath = FilenameEdit1->text();

        Settings::Write(ini, setting::LightEnabled, CheckBox5->isChecked());

        Settings::Write(ini, setting::LightSpeed, TrackBar3->value());
        DM->SetBlinkSpeed(TrackBar3->value());

        Settings::Write(ini, setting::LightTime, TrackBar2->value());
        DM->SetBlinkTime(TrackBar2->value());

        const int pattern = ComboBox1->currentIndex() + 1;
        Settings::Write(ini, setting::LightType, pattern);
        BlinkPattern = static_cast<std::uint8_t>(pattern);

        Settings::Write(ini, setting::Pass, Edit1->text());
        Form1->SettingsPassword = Edit1->text();

        Settings::Write(ini, setting::BkColor, ToWinColor(Shape1->Fill()));
        Form1->ApplyBackgroundColor(Shape1->Fill());

        Settings::Write(ini, setting::Color, ToWinColor(Shape2->Fill()));
        Form1->ApplyTextColor(Shape2->Fill());

        Settings::Write(ini, setting::TrayHide, CheckBox2->isChecked());
        Form1->KeepWindowOnArm = CheckBox2->isChecked();
    } catch (const IniWriteError &error) {
        Application::ShowError(QString::fromUtf8(error.what()));
        return false;
    }
    return true;
}

void TForm4::Button2Click(QObject *) {
    Apply();
}

void TForm4::Button1Click(QObject *) {
    if (Apply()) {
        close();
    }
}

void TForm4::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TForm4::FormClose() {
    DM->StopBlinking();
}

QColorDialog *TForm4::ColorDialog1() {
    if (colorDialog_ == nullptr) {
        colorDialog_ = new QColorDialog(lastChosenColor_, this);
    }
    return colorDialog_;
}

void TForm4::SpeedButton1Click(QObject *Sender) {
    QColorDialog *chooser = ColorDialog1();
    chooser->setCurrentColor(lastChosenColor_);
    if (chooser->exec() != QDialog::Accepted) {
        return;
    }
    lastChosenColor_ = chooser->selectedColor();
    if (Sender == SpeedButton1) {
        Shape1->SetFill(lastChosenColor_);
    } else if (Sender == SpeedButton6) {
        Shape2->SetFill(lastChosenColor_);
    }
}

void TForm4::SpeedButton7Click(QObject *) {
    Shape1->SetFill(FromWinColor(setting::BkColor.fallback));
    Shape2->SetFill(FromWinColor(setting::Color.fallback));
}

void TForm4::SpeedButton3Click(QObject *) {
    const std::string executable = platform::Current().system->ExecutablePath();
    const std::string folder = executable.substr(0, executable.rfind('/') + 1);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Picture::AppIcon().pixmap(QSize(64, 64)).save(&buffer, "PNG");
    // What the desktop made of it is not reported: the user looks at the desktop.
    platform::Current().desktop->MakeShortcut(executable, folder, "Zindrel", png.toStdString());
}

void TForm4::SpeedButton4Click(QObject *) {
    StartBlinking();
}

void TForm4::StartBlinking() {
    if (!CheckBox5->isChecked()) {
        return;
    }
    Blink(TrackBar3->value(), TrackBar2->value(), ComboBox1->currentIndex());
}

void TForm4::SpeedButton5Click(QObject *) {
    DM->StopBlinking();
}

bool TForm4::NewPhraseOnRestore() const {
    return CheckBox4->isChecked();
}

bool TForm4::WaveFileChosen() const {
    return RadioButton1->isChecked();
}

bool TForm4::SpeakerTuneChosen() const {
    return RadioButton2->isChecked();
}

QString TForm4::SoundFile() const {
    return UnquotedPath(FilenameEdit2->text());
}

void TForm4::SpeedButton2Click(QObject *) {
    Form1->Sound();
}

void TForm4::TrackBar2Change(QObject *) {
    Label14->setText(QStringLiteral("Время мигания: %1 сек.").arg(TrackBar2->value()));
}

void TForm4::TrackBar3Change(QObject *) {
    Label15->setText(QStringLiteral("Скорость мигания: %1 мсек.").arg(TrackBar3->value()));
}

QString TForm4::QtFileFilter(const QString &filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype at = 0; at + 1 < parts.size(); at += 2) {
        QStringList patterns = parts[at + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        // The dialog hides the trailing pattern list, so the user sees the name exactly as given.
        filters << parts[at] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString TForm4::QuotedSoundPath(const QString &path) {
    if (path.contains(QLatin1Char(' ')) && !path.startsWith(QLatin1Char('"'))) {
        return QLatin1Char('"') + path + QLatin1Char('"');
    }
    return path;
}

QString TForm4::UnquotedPath(const QString &path) {
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        return path.mid(1, path.size() - 2);
    }
    return path;
}

void TForm4::BrowseFile(QLineEdit *edit, const QString &filter, bool quoteBlanks) {
    const QString current = UnquotedPath(edit->text());
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(QtFileFilter(filter).split(QStringLiteral(";;")));
    if (!current.isEmpty()) {
        dialog.setDirectory(QFileInfo(current).absolutePath());
        dialog.selectFile(current);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString picked = dialog.selectedFiles().constFirst();
    edit->setText(quoteBlanks ? QuotedSoundPath(picked) : picked);
}

namespace SettingsChoices {

bool NewPhraseOnRestore(const Settings &unopened) {
    const TForm4 *dialog = Form4.Existing();
    return dialog != nullptr ? dialog->NewPhraseOnRestore() : unopened.phrasestray;
}

bool WaveFileChosen(const Settings &unopened) {
    const TForm4 *dialog = Form4.Existing();
    return dialog != nullptr ? dialog->WaveFileChosen() : !SpeakerTune(unopened);
}

bool SpeakerTuneChosen(const Settings &unopened) {
    const TForm4 *dialog = Form4.Existing();
    return dialog != nullptr ? dialog->SpeakerTuneChosen() : SpeakerTune(unopened);
}

QString SoundFile(const Settings &unopened) {
    const TForm4 *dialog = Form4.Existing();
    return dialog != nullptr ? dialog->SoundFile() : TForm4::UnquotedPath(unopened.sound_file);
}

void StartBlinking(const Settings &unopened) {
    if (TForm4 *dialog = Form4.Existing()) {
        dialog->StartBlinking();
        return;
    }
    if (!unopened.lightenabled) {
        return;
    }
    // As the dialog's sliders and list would hold the file's values.
    Blink(std::clamp(unopened.lightspeed, setting::LightSpeed.min, setting::LightSpeed.max),
          std::clamp(unopened.lighttime, setting::LightTime.min, setting::LightTime.max),
          PatternIndex(unopened.lighttype));
}

} // namespace SettingsChoices
