// SPDX-License-Identifier: GPL-3.0-or-later
// TForm7, the extras dialog: tray and warning switches, the CD tray, the media player and the launch list.
#include "actions/Unit7.h"

#include "actions/LaunchList.h"
#include "actions/WinAmp.h"
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Placement.h"
#include "controls/TrayIcon.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/Unit4.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>

namespace {

QToolButton *Button(const QString &caption, QWidget *parent, const QRect &geometry) {
    auto *button = Placed(new QToolButton(parent), geometry);
    button->setText(caption);
    return button;
}

// The selected entry's position, or -1 when no entry is selected.
int SelectedRow(const QListWidget *list) {
    const QListWidgetItem *item = list->currentItem();
    return item != nullptr && item->isSelected() ? list->currentRow() : -1;
}

void SwapRows(QListWidget *list, int a, int b) {
    const QString textA = list->item(a)->text();
    list->item(a)->setText(list->item(b)->text());
    list->item(b)->setText(textA);
}

} // namespace

TForm7::TForm7() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("Дополнительно"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(400, 320);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(4, 4, 392, 278);
    BuildGeneralPage();
    BuildWinAmpPage();
    BuildLaunchPage();

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setGeometry(317, 288, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });

    WinAmpControl1 = new TWinAmpControl(this);
    WinAmpControl1->WAmpPath = QStringLiteral("C:\\Program Files\\WinAmp\\WinAmp2sss.exe");
    WinAmpControl1->DelayAfterLoadWinAmp = 5000;
    FormCreate();
}

void TForm7::BuildGeneralPage() {
    auto *page = new QWidget;
    PageControl1->insertTab(PageGeneral, page, QStringLiteral("Общее"));
    Label1 = Text(QStringLiteral("Иногда необходимо скрыть программу (например, \r\nот детей), для этого поставте "
                                 "здесь галочку. Для \r\nтого что бы программа была снова видима, наж-\r\nмите три "
                                 "раза кнопку Pause(Break)."),
                  page, QRect(8, 6, 372, 60));
    CheckBox1 = Check(QStringLiteral("Удалить иконку из трея (возле часиков)"), page, QRect(8, 66, 372, 18));
    Label2 = Text(QStringLiteral("Для быстрого завершения сеанса, перезагруки, \r\nвыключения (без окна "
                                 "предупреждения), необхо-\r\nдимо поставить галочку:"),
                  page, QRect(8, 92, 372, 46));
    CheckBox2 = Check(QStringLiteral("Не выводить предупреждения"), page, QRect(8, 138, 372, 18));

    GroupBox1 = new QGroupBox(QStringLiteral("CD-ROM"), page);
    GroupBox1->setGeometry(8, 162, 372, 82);
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setGeometry(8, 20, 260, 22);
    ComboBox1->addItems({QStringLiteral("Открыть дверцу CD-ROM"), QStringLiteral("Закрыть дверцу CD-ROM"),
                         QStringLiteral("Открыть и закрыть дверцу CD-ROM"), QStringLiteral("Ничего не делать")});
    ComboBox1->setCurrentIndex(3);
    Label3 = Text(QStringLiteral("Действует только с будильником и первым \r\n(основным) таймером."), GroupBox1,
                  QRect(8, 46, 356, 32));

    connect(CheckBox1, &QCheckBox::clicked, this, [this] { CheckBox2Click(CheckBox1); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { CheckBox2Click(CheckBox2); });
}

void TForm7::BuildWinAmpPage() {
    auto *page = new QWidget;
    PageControl1->insertTab(PageWinAmp, page, QStringLiteral("WinAmp"));
    Label4 = Text(QStringLiteral("По таймеру (или будильнику) можно настроить работу \r\nс WinAmp (так же "
                                 "поддерживаются другие плееры на \r\nего основе):"),
                  page, QRect(8, 6, 372, 46));
    CheckBox3 = Check(QStringLiteral("Включить работу с WinAmp"), page, QRect(8, 54, 372, 18));

    RadioGroup1 = new QGroupBox(QStringLiteral("Действие"), page);
    RadioGroup1->setGeometry(8, 76, 226, 124);
    RadioButton1 = Radio(QStringLiteral("Ничего не делать"), RadioGroup1, QRect(8, 18, 214, 18));
    RadioButton2 = Radio(QStringLiteral("Переключить на предыдущий трек"), RadioGroup1, QRect(8, 38, 214, 18));
    RadioButton3 = Radio(QStringLiteral("Остановить проигрывание"), RadioGroup1, QRect(8, 58, 214, 18));
    RadioButton4 = Radio(QStringLiteral("Поставить трек на паузу или играть"), RadioGroup1, QRect(8, 78, 214, 18));
    RadioButton5 = Radio(QStringLiteral("Следующий трек"), RadioGroup1, QRect(8, 98, 214, 18));
    RadioButton1->setChecked(true);

    RadioGroup2 = new QGroupBox(QStringLiteral("Громкость"), page);
    RadioGroup2->setGeometry(240, 76, 140, 124);
    RadioButton6 = Radio(QStringLiteral("Не изменять"), RadioGroup2, QRect(8, 18, 128, 18));
    RadioButton7 = Radio(QStringLiteral("Изменить на:"), RadioGroup2, QRect(8, 38, 128, 18));
    RadioButton6->setChecked(true);
    TrackBar1 = new QSlider(Qt::Horizontal, RadioGroup2);
    TrackBar1->setGeometry(8, 62, 124, 28);
    TrackBar1->setRange(0, 255);
    TrackBar1->setValue(255);
    TrackBar1->setTickInterval(5);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    Label5 = Text(QStringLiteral("0%"), RadioGroup2, QRect(8, 94, 40, 16));
    Label6 = Text(QStringLiteral("100%"), RadioGroup2, QRect(92, 94, 40, 16));
    Label6->setAlignment(Qt::AlignRight | Qt::AlignTop);

    CheckBox4 = Check(QStringLiteral("Выключить WinAmp"), page, QRect(8, 208, 372, 18));
}

void TForm7::BuildLaunchPage() {
    auto *page = new QWidget;
    PageControl1->insertTab(PageLaunch, page, QStringLiteral("Запуск"));
    Label7 =
        Text(QStringLiteral("Настройка на запуск программ по таймеру или \r\nбудильнику"), page, QRect(8, 6, 372, 32));
    CheckBox5 = Check(QStringLiteral("Запускать файлы"), page, QRect(8, 40, 372, 18));
    ListBox1 = new QListWidget(page);
    ListBox1->setGeometry(8, 62, 276, 150);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    FilenameEdit1 = new QLineEdit(page);
    FilenameEdit1->setGeometry(8, 218, 252, 22);
    FilenameEdit1Button = Button(QStringLiteral("..."), page, QRect(262, 218, 22, 22));

    const QString captions[] = {QStringLiteral("Добавить"),  QStringLiteral("Удалить"), QStringLiteral("Сохранить"),
                                QStringLiteral("Загрузить"), QStringLiteral("Вверх"),   QStringLiteral("Вниз")};
    QToolButton **buttons[] = {&SpeedButton1, &SpeedButton2, &SpeedButton3,
                               &SpeedButton4, &SpeedButton5, &SpeedButton6};
    for (int i = 0; i < 6; ++i) {
        *buttons[i] = Button(captions[i], page, QRect(292, 62 + 26 * i, 88, 22));
    }

    connect(FilenameEdit1Button, &QToolButton::clicked, this,
            [this] { FilenameEdit1ButtonClick(FilenameEdit1Button); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(SpeedButton1); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(SpeedButton2); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(SpeedButton3); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(SpeedButton4); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton5Click(SpeedButton5); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton6Click(SpeedButton6); });
}

void TForm7::FormCreate() {
    if (platform::Current().player->FoundAtStart()) {
        WinAmpControl1->GoFindWinAmp();
    }
}

void TForm7::ShowOnPage(Page page) {
    PageControl1->setCurrentIndex(page);
    exec();
}

void TForm7::Button1Click(QObject *) {
    close();
}

void TForm7::CheckBox2Click(QObject *Sender) {
    if (Sender == CheckBox1) {
        Form1->SetTrayIconShown(!CheckBox1->isChecked());
    }
    if (Sender == CheckBox2) {
        Form1->NoWarnings = CheckBox2->isChecked();
    }
}

void TForm7::FilenameEdit1ButtonClick(QObject *) {
    platform::Launcher &launcher = *platform::Current().launcher;
    const platform::ProgramFiles programs = launcher.Programs();
    const QString pattern = QString::fromStdString(programs.pattern);
    // Where programs carry no name ending the filter's name says nothing of one.
    const QString programsName =
        pattern == QLatin1String("*") ? QStringLiteral("Приложения") : QStringLiteral("Приложения (%1)").arg(pattern);
    const QStringList filters =
        TForm4::QtFileFilter(programsName + u'|' + pattern + QStringLiteral("|Все файлы (*.*)|*.*"))
            .split(QStringLiteral(";;"));

    QFileDialog dialog(this, QStringLiteral("Открыть"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(filters);
    if (programs.executableOnly) {
        // Only Qt's own dialog filters by the executable bit, switched with the chosen filter.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const QDir::Filters all = dialog.filter();
        const auto follow = [&dialog, all, first = filters.constFirst()](const QString &chosen) {
            dialog.setFilter(chosen == first ? all | QDir::Executable : all);
        };
        connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
        follow(filters.constFirst());
    }
    if (!FilenameEdit1->text().isEmpty()) {
        dialog.selectFile(FilenameEdit1->text());
    }
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        // A picked name is a file to start, never shell code: "a;rm -rf ~" starts the file of that name.
        FilenameEdit1->setText(
            QString::fromStdString(launcher.ProgramCommandLine(dialog.selectedFiles().constFirst().toStdString())));
    }
}

void TForm7::SpeedButton1Click(QObject *) {
    if (FilenameEdit1->text().isEmpty()) {
        platform::Current().system->MessageBox("Необходимо указать имя файла.", "Внимание!",
                                               platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
        return;
    }
    ListBox1->addItem(FilenameEdit1->text());
    FilenameEdit1->clear();
}

void TForm7::SpeedButton2Click(QObject *) {
    const int row = SelectedRow(ListBox1);
    if (row >= 0) {
        delete ListBox1->takeItem(row);
    }
}

void TForm7::SpeedButton3Click(QObject *) {
    try {
        WriteLaunchList(LaunchListPath(), LaunchEntries());
    } catch (const IniWriteError &error) {
        Application::ShowError(QString::fromStdString(error.what()));
    }
}

void TForm7::SpeedButton4Click(QObject *) {
    try {
        const QStringList entries = ReadLaunchList(LaunchListPath());
        ListBox1->clear();
        ListBox1->addItems(entries);
    } catch (const LaunchListReadError &error) {
        Application::ShowError(QString::fromStdString(error.what()));
    }
}

void TForm7::SpeedButton5Click(QObject *) {
    const int row = SelectedRow(ListBox1);
    if (row >= 1) {
        SwapRows(ListBox1, row - 1, row);
        ListBox1->setCurrentRow(row - 1);
    }
}

void TForm7::SpeedButton6Click(QObject *) {
    const int row = SelectedRow(ListBox1);
    if (row >= 0 && row + 1 < ListBox1->count()) {
        SwapRows(ListBox1, row, row + 1);
        ListBox1->setCurrentRow(row + 1);
    }
}

QStringList TForm7::LaunchEntries() const {
    QStringList entries;
    for (int i = 0; i < ListBox1->count(); ++i) {
        entries.append(ListBox1->item(i)->text());
    }
    return entries;
}

void TForm7::RunWinAmpActions() {
    if (!CheckBox3->isChecked()) {
        return;
    }
    // "Ничего не делать", "Не изменять" and no close: this firing needs no player, nor a look for one.
    if (RadioButton1->isChecked() && RadioButton6->isChecked() && !CheckBox4->isChecked()) {
        return;
    }
    WinAmpControl1->EnsureWinAmp();
    if (RadioButton2->isChecked()) {
        WinAmpControl1->PrevTrack();
    }
    if (RadioButton3->isChecked()) {
        WinAmpControl1->StopPlay();
    }
    if (RadioButton4->isChecked()) {
        WinAmpControl1->PlayPause();
    }
    if (RadioButton5->isChecked()) {
        WinAmpControl1->NextTrack();
    }
    if (RadioButton7->isChecked()) {
        WinAmpControl1->SetVolume(static_cast<std::uint8_t>(TrackBar1->value()));
    }
    if (CheckBox4->isChecked()) {
        WinAmpControl1->CloseWinAmp();
    }
}

void TForm7::OperateCdDoor() {
    platform::CdDrive &drive = *platform::Current().cdDrive;
    switch (ComboBox1->currentIndex()) {
    case 0:
        drive.OpenDoor();
        break;
    case 1:
        drive.CloseDoor();
        break;
    case 2:
        drive.OpenDoor();
        drive.CloseDoor();
        break;
    default:
        break;
    }
}

void TForm7::RunLaunchList() {
    if (!CheckBox5->isChecked()) {
        return;
    }
    for (const QString &entry : LaunchEntries()) {
        platform::Current().launcher->Start(entry.toStdString());
    }
}
