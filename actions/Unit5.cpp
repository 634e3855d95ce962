// SPDX-License-Identifier: GPL-3.0-or-later
// TForm5, the text window: the reminder texts read at start, saved on request, and the reminder box.
#include "actions/Unit5.h"

#include "app/Application.h"
#include "app/Forms.h"
#include "app/Notices.h"
#include "controls/Colors.h"
#include "controls/Pictures.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QPlainTextEdit *TextBox(QWidget *parent, const QRect &geometry) {
    auto *memo = new QPlainTextEdit(parent);
    memo->setGeometry(geometry);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SetBackground(memo, Qt::white);
    SetTextColor(memo, QColor(73, 78, 254));
    return memo;
}

} // namespace

TForm5::TForm5() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("Zindrel - текст"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(449, 195);

    Image1 = new QLabel(this);
    Image1->setGeometry(0, 8, 128, 128);
    Picture::DrawWhenShown(Image1, Picture::Note, QSize(128, 128));
    Memo1 = TextBox(this, QRect(136, 8, 308, 57));
    Memo2 = TextBox(this, QRect(136, 80, 308, 57));

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, 152, 449, 2);

    Button2 = new QPushButton(QStringLiteral("Сохранить"), this);
    Button2->setGeometry(288, 160, 75, 25);
    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setGeometry(368, 160, 75, 25);
    Button1->setDefault(true);
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(Button2); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });

    FormCreate();
}

void TForm5::FormCreate() {
    const Settings settings = Settings::Read(IniFile(SettingsFilePath()));
    Memo1->setPlainText(settings.text_alarm);
    Memo2->setPlainText(settings.text_alarm2);
}

void TForm5::Button2Click(QObject *) {
    try {
        const IniFile ini(SettingsFilePath());
        Settings::Write(ini, setting::TextAlarm, Memo1->toPlainText());
        Settings::Write(ini, setting::TextAlarm2, Memo2->toPlainText());
    } catch (const IniWriteError &error) {
        Application::ShowError(QString::fromStdString(error.what()));
    }
}

void TForm5::Button1Click(QObject *) {
    close();
}

void ShowTextReminder(TimerSlot slot, const QString &caption) {
    const QString text = slot == TimerSlot::Slot1 ? Form5->Memo1->toPlainText() : Form5->Memo2->toPlainText();
    platform::Current().system->MessageBox(text.toStdString(), caption.toStdString(),
                                           platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
    // The person has read the text: its notice has done its work.
    Notices::Withdraw(platform::NoticeKind::Reminder);
}
