// SPDX-License-Identifier: GPL-3.0-or-later
// The text window: reminder texts read at start, kept in the boxes, saved on request, shown by the firing.
#include "actions/Unit5.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/SpinEdit.h"
#include "platform/linux/LinuxSystem.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <sys/stat.h>

namespace {

class TextWindow : public fakes::TestApp {
protected:
    // Countdown 1 of one minute with the task "Напомнить с текстом", run to its firing.
    void FireCountdown1WithText() {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RadioButton7->setChecked(true);
        Form1->RxSpinEdit3->SetValue(1);
        Form1->Button2Click(Form1->Button2);
        clock.advance(60000);
    }
};

TEST_F(TextWindow, MarkupInBoxesAndPhrasesIsShownAsWritten) {
    const QString markup = QStringLiteral("<img src=/dev/zero><b>жирный</b>");
    // The message box every reminder, notice and error goes through.
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        format = box->textFormat();
        shown = box->text();
        box->accept();
    });
    platform::LinuxSystem().MessageBox(markup.toStdString(), "Zindrel - будильник!",
                                       platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, markup);

    IniFile(SettingsPath()).WriteString(keys::Main, keys::Phrases, WriteFile("phrases.txt", markup.toUtf8()));
    CreateForms();
    EXPECT_EQ(Form1->Label8->text(), markup);
    EXPECT_EQ(Form1->Label8->textFormat(), Qt::PlainText) << "the phrase in the clock panel";
}

TEST_F(TextWindow, MissingKeysGiveTheDefaultsWithTheLatinC) {
    CreateForms();
    EXPECT_EQ(Form5->Memo1->toPlainText(),
              QStringLiteral("Таймер 1. Cюда Вы можете вписать то, о чем не хотите забыть."));
    EXPECT_EQ(Form5->Memo2->toPlainText(),
              QStringLiteral("Таймер 2. Cюда Вы можете вписать то, о чем не хотите забыть."));
    for (const QString &text : {Form5->Memo1->toPlainText(), Form5->Memo2->toPlainText()}) {
        const qsizetype at = text.indexOf(QStringLiteral("юда"));
        ASSERT_GT(at, 0);
        EXPECT_EQ(text[at - 1].unicode(), 0x43) << "the C before юда must be Latin";
    }
}

TEST_F(TextWindow, StoredTextsAreReadAtCreation) {
    WriteFile(QStringLiteral("zindrel_tester.ini"),
              QStringLiteral("[main]\r\ntext_alarm=Купить хлеб\r\ntext_alarm2=C:\\temp\\x\r\n").toUtf8());
    CreateForms();
    EXPECT_EQ(Form5->Memo1->toPlainText(), QStringLiteral("Купить хлеб"));
    EXPECT_EQ(Form5->Memo2->toPlainText(), QStringLiteral("C:\\temp\\x"));
}

TEST_F(TextWindow, OkKeepsTheEditForTheNextFiringButNotForTheNextStart) {
    CreateForms();
    Form5->Memo1->setPlainText(QStringLiteral("Позвонить маме"));
    Form5->Button1->click();
    FireCountdown1WithText();
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "Позвонить маме");
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - первый таймер сработал!");
    EXPECT_NE(IniFile(SettingsPath()).ReadString(keys::Main, keys::TextAlarm, QString()),
              QStringLiteral("Позвонить маме"));

    TForm5 restarted;
    EXPECT_EQ(restarted.Memo1->toPlainText(), kDefaultTextAlarm);
}

TEST_F(TextWindow, SaveWritesBothKeysAlsoTheUneditedOne) {
    CreateForms();
    Form5->Memo2->setPlainText(QStringLiteral("Второй"));
    Form5->Button2->click();
    const IniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadString(keys::Main, keys::TextAlarm, QStringLiteral("missing")), kDefaultTextAlarm);
    EXPECT_EQ(ini.ReadString(keys::Main, keys::TextAlarm2, QStringLiteral("missing")), QStringLiteral("Второй"));
    EXPECT_TRUE(fake.system.messages.empty()) << "saving shows nothing";
}

TEST_F(TextWindow, ThreeLineTextSurvivesSaveAndRestart) {
    CreateForms();
    const QString text = QStringLiteral("Первая строка\nC:\\путь\\n не перевод\n\nпосле пустой");
    Form5->Memo1->setPlainText(text);
    Form5->Memo2->setPlainText(QStringLiteral("одна строка \\r"));
    Form5->Button2Click(Form5->Button2);

    TForm5 restarted;
    EXPECT_EQ(restarted.Memo1->toPlainText(), text);
    EXPECT_EQ(restarted.Memo2->toPlainText(), QStringLiteral("одна строка \\r"));
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("text_alarm2=одна строка \\r\r\n")) << "single-line values stay as typed";

    // 2000 characters of short lines: their escaped form is far over the limit, the text is not.
    const QString longText = QStringLiteral("купить\n").repeated(285) + QStringLiteral("хлеба");
    ASSERT_EQ(longText.size(), 2000);
    Form5->Memo1->setPlainText(longText);
    Form5->Button2Click(Form5->Button2);
    EXPECT_EQ(TForm5().Memo1->toPlainText(), longText);
}

TEST_F(TextWindow, EmptyTextGivesAnEmptyBoxWithCaptionAndIcon) {
    CreateForms();
    Form5->Memo2->clear();
    ShowTextReminder(TimerSlot::Slot2, QStringLiteral("Zindrel - второй таймер сработал!"));
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "");
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - второй таймер сработал!");
    EXPECT_EQ(fake.system.messages[0].flags, 0x1040u);
}

TEST_F(TextWindow, RefusedSaveIsShownWithTheFileName) {
    CreateForms();
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    Form5->Button2Click(Form5->Button2);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, ("Unable to write to " + SettingsPath()).toStdString());
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel");
}

TEST_F(TextWindow, Layout) {
    CreateForms();
    EXPECT_EQ(Form5->windowTitle(), QStringLiteral("Zindrel - текст"));
    EXPECT_EQ(Form5->size(), QSize(449, 195));
    EXPECT_TRUE(Form5->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(Form5->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Form5->Memo1->geometry(), QRect(136, 8, 308, 57));
    EXPECT_EQ(Form5->Memo2->geometry(), QRect(136, 80, 308, 57));
    EXPECT_EQ(Form5->Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Form5->Memo1->palette().color(QPalette::Text), QColor(73, 78, 254));
    EXPECT_EQ(Form5->Memo2->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_EQ(Form5->Button2->text(), QStringLiteral("Сохранить"));
    EXPECT_EQ(Form5->Button2->geometry(), QRect(288, 160, 75, 25));
    EXPECT_EQ(Form5->Button1->text(), QStringLiteral("ОК"));
    EXPECT_EQ(Form5->Button1->geometry(), QRect(368, 160, 75, 25));
}

} // namespace
