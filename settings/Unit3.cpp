// SPDX-License-Identifier: GPL-3.0-or-later
// TForm3, the About window: build information, links, version history, the team, the appeal and thanks.
#include "settings/Unit3.h"

#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/FormStorage.h"
#include "controls/Pictures.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/JpegPicture.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <jpeglib.h>

#define ZINDREL_STRINGIFY2(x) #x
#define ZINDREL_STRINGIFY(x) ZINDREL_STRINGIFY2(x)

// The resources live in a static library; naming their initialiser keeps the linker from dropping them.
static void InitResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

const QString kEmail = QStringLiteral(ZINDREL_CONTACT_EMAIL);
const QColor kMemoText(0x49, 0x4E, 0xFE);

QPlainTextEdit *Memo(QWidget *page, const QString &text) {
    auto *memo = new QPlainTextEdit(page);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, kMemoText);
    memo->setPalette(palette);
    memo->setPlainText(text);
    return memo;
}

ClickLabel *Link(QWidget *page, const QString &text, const QString &hint) {
    auto *label = new ClickLabel(text, page);
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    label->setToolTip(hint);
    return label;
}

QString VersionHistory() {
    const QString version = Form1 != nullptr ? Form1->FileVersion() : QString::fromUtf8(ZINDREL_VERSION);
    return QStringLiteral("Zindrel v") + version + QStringLiteral(" - ") + TForm3::BuildDate() +
           QStringLiteral("г.\n"
                          "- Первая версия для Linux (X11).\n"
                          "- Будильник на время суток, таймер в минутах и второй таймер со своей операцией.\n"
                          "- Напоминание, напоминание своим текстом, выключение монитора, хранитель экрана, "
                          "сон, завершение сеанса, перезагрузка и выключение компьютера.\n"
                          "- Окно предупреждения с обратным отсчётом перед выключением.\n"
                          "- Звук из файла или мелодия, мигание лампочками клавиатуры.\n"
                          "- Управление проигрывателем, список запускаемых программ, лоток CD-ROM.\n"
                          "- Таймеры учитывают время, проведённое компьютером во сне.\n"
                          "- Фразы при старте из своего текстового файла.\n"
                          "\n");
}

QString AboutTeam() {
    return QStringLiteral("Zindrel пишут разработчики Zindrel - те, кто делает "
                          "будильник и таймер выключения для рабочего стола.\n"
                          "\n"
                          "Программа свободная (GPL версии 3 или более поздней): её исходный текст открыт, "
                          "её можно изучать, изменять и распространять.\n"
                          "\n"
                          "Номера в мессенджере у нас нет: пишите на электронную почту ") +
           kEmail + QStringLiteral(".");
}

QString Appeal() {
    return QStringLiteral("Уважаемые пользователи!\n"
                          "\n"
                          "Если у Вас есть идеи, как сделать Zindrel удобнее, если чего-то не хватает "
                          "или что-то работает не так, как Вы ожидали, - напишите нам. Каждое письмо "
                          "прочитаем, а лучшие предложения войдут в следующие версии.\n"
                          "\n"
                          "Пишите по адресу: ") +
           kEmail;
}

QString Thanks() {
    return QStringLiteral("Спасибо авторам библиотек, на которых построена программа:\n"
                          "- Qt - окна, значок в трее, таймеры и D-Bus\n"
                          "- libjpeg-turbo - картинка этого окна\n"
                          "- libsndfile - чтение звуковых файлов\n"
                          "- PulseAudio - воспроизведение звука\n"
                          "- Xlib и XKB - лампочки клавиатуры, клавиша Pause, монитор и хранитель экрана\n"
                          "- GoogleTest - проверки программы\n");
}

} // namespace

TForm3::TForm3() {
    static const bool resourcesReady = (InitResources(), true);
    Q_UNUSED(resourcesReady);
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowIcon(QIcon(Picture::Draw(Picture::Note, QSize(32, 32))));
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setPixelSize(11);
    setFont(formFont);
    setFixedSize(406, 226);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(0, 0, 406, 226);
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setDrawBase(false);
    PageControl1->setStyleSheet(QStringLiteral("QTabBar::tab { border: 1px solid palette(mid); padding: 2px 8px; "
                                               "margin: 2px 1px 0 1px; background: palette(button); }"
                                               "QTabBar::tab:selected { background: palette(light); "
                                               "border-color: palette(dark); }"));

    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    TabSheet4 = new QWidget;
    TabSheet5 = new QWidget;
    PageControl1->addTab(TabSheet1, QStringLiteral("Общее"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Версии"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Автор"));
    PageControl1->addTab(TabSheet4, QStringLiteral("Обращение"));
    PageControl1->addTab(TabSheet5, QStringLiteral("Благодарности"));

    Image1 = new QLabel(TabSheet1);
    Image1->setGeometry(4, 2, 118, 195);
    Image1->setPixmap(QPixmap::fromImage(JpegPicture::Load(QStringLiteral(":/about.jpg"))));
    Label1 = new ClickLabel(QStringLiteral("---\r---\r---\r---\r---\r---"), TabSheet1);
    Label1->setGeometry(130, 4, 270, 118);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    Label3 = Link(TabSheet1, QStringLiteral("Разработчики Zindrel"), QString());
    Label3->setGeometry(130, 128, 270, 15);
    Label5 = Link(TabSheet1, kEmail, QStringLiteral("Все предложения, притензии и заявки писать сюда"));
    Label5->setGeometry(130, 148, 270, 15);
    Label6 = Link(TabSheet1, QStringLiteral(ZINDREL_HOMEPAGE_URL),
                  QStringLiteral("За обновлениями и новостями о программе идти сюда."));
    Label6->setGeometry(130, 168, 270, 15);

    Memo1 = Memo(TabSheet2, VersionHistory());
    auto *versionsLayout = new QVBoxLayout(TabSheet2);
    versionsLayout->setContentsMargins(0, 0, 0, 0);
    versionsLayout->addWidget(Memo1);

    Image2 = new QLabel(TabSheet3);
    Image2->setGeometry(4, 4, 109, 81);
    Image2->setPixmap(Picture::Draw(Picture::Timer, QSize(109, 81)));
    Image3 = new QLabel(TabSheet3);
    Image3->setGeometry(4, 92, 15, 15);
    Image3->setPixmap(Picture::Draw(Picture::Note, QSize(15, 15)));
    Label4 = new QLabel(QStringLiteral("Номера нет"), TabSheet3);
    Label4->setGeometry(24, 92, 89, 15);
    Memo2 = Memo(TabSheet3, AboutTeam());
    Memo2->setGeometry(118, 4, 284, 192);

    Memo3 = Memo(TabSheet4, Appeal());
    auto *appealLayout = new QVBoxLayout(TabSheet4);
    appealLayout->setContentsMargins(0, 0, 0, 0);
    appealLayout->addWidget(Memo3);

    Memo4 = Memo(TabSheet5, Thanks());
    auto *thanksLayout = new QVBoxLayout(TabSheet5);
    thanksLayout->setContentsMargins(0, 0, 0, 0);
    thanksLayout->addWidget(Memo4);

    PageControl1->setCurrentWidget(TabSheet1);

    Label3->OnClick = [this](QObject *sender) { Label3Click(sender); };
    Label5->OnClick = [this](QObject *sender) { Label5Click(sender); };
    Label6->OnClick = [this](QObject *sender) { Label6Click(sender); };

    FormStorage1 = new FormStorage(this, QStringLiteral("window_help"));
    FormStorage1->SetIniFileName(ConfigFilePath(QStringLiteral("zindrel.ini")));
    FormStorage1->SetCentred(true);

    FormCreate();
}

void TForm3::FormCreate() {
    const QString version = Form1 != nullptr ? Form1->FileVersion() : QString();
    Label1->SetCaption(QStringLiteral("Zindrel v") + version + u'\r' + QStringLiteral("Компиляция: ") + BuildDate() +
                       u'\r' + QStringLiteral("Среда разработки: ") + Compiler() + u'\r' +
                       QStringLiteral("Использованы компоненты:") + u'\r' + Components() + u'\r' +
                       QStringLiteral("Упаковано в ") + Packer());
}

QString TForm3::BuildDate() {
    // __DATE__ is "Mmm dd yyyy", with a blank before a one-digit day.
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QString date = QString::fromLatin1(__DATE__);
    int month = 0;
    for (int i = 0; i < 12; ++i) {
        if (date.startsWith(QLatin1String(months[i]))) {
            month = i + 1;
        }
    }
    const int day = date.mid(4, 2).trimmed().toInt();
    return QStringLiteral("%1.%2.%3")
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(date.mid(7, 4));
}

QString TForm3::Compiler() {
    return QStringLiteral(ZINDREL_COMPILER) + QStringLiteral(", C++20");
}

QString TForm3::Components() {
    QStringList parts;
    parts << QStringLiteral("Qt " ZINDREL_QT_VERSION);
#ifdef LIBJPEG_TURBO_VERSION
    parts << QStringLiteral("libjpeg-turbo " ZINDREL_STRINGIFY(LIBJPEG_TURBO_VERSION));
#else
    parts << QStringLiteral("libjpeg %1").arg(JPEG_LIB_VERSION);
#endif
    parts << QStringLiteral("libsndfile " ZINDREL_SNDFILE_VERSION).trimmed();
    parts << QStringLiteral("PulseAudio " ZINDREL_PULSE_VERSION).trimmed();
    parts << QStringLiteral("Xlib/XKB");
    return parts.join(QStringLiteral(", "));
}

QString TForm3::Packer() {
    const QString type = QStringLiteral(ZINDREL_BUILD_TYPE);
    return QStringLiteral(ZINDREL_PACKER) + (type.isEmpty() ? QString() : QStringLiteral(", ") + type);
}

void TForm3::Label3Click(QObject *) {
    platform::Current().desktop->OpenTarget(ZINDREL_TEAM_URL);
}

void TForm3::Label5Click(QObject *) {
    platform::Current().desktop->OpenTarget("mailto:" ZINDREL_CONTACT_EMAIL);
}

void TForm3::Label6Click(QObject *) {
    platform::Current().desktop->OpenTarget(ZINDREL_HOMEPAGE_URL);
}

void TForm3::done(int result) {
    try {
        FormStorage1->SavePlacement();
    } catch (const IniWriteError &error) {
        // The placement is a convenience; a refused write is reported and the window still closes.
        Application::ShowError(QString::fromStdString(error.what()));
    }
    QDialog::done(result);
}
