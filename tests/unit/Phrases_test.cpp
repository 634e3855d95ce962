// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up phrase: the draw from the phrases file, its failure and the callers that go on after it.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>

#include <sys/stat.h>

namespace {

const std::string kMissing = "Не существует файла с фразами. Установите путь заного.";

class Phrases : public fakes::TestApp {
protected:
    void SetPhrases(const QString &path) { IniFile(SettingsPath()).WriteString(keys::Main, keys::Phrases, path); }
    QString StoredPhrases() const { return IniFile(SettingsPath()).ReadString(keys::Main, keys::Phrases, "unset"); }
    int MissingReports() const {
        int n = 0;
        for (const auto &m : fake.system.messages) {
            n += m.text == kMissing ? 1 : 0;
        }
        return n;
    }
};

TEST_F(Phrases, ThreeLinesWithMixedEndsAreAllDrawnAndNothingElse) {
    SetPhrases(WriteFile("phrases.txt", "Первая\r\nВторая\nТретья\r"));
    CreateForms();
    const QSet<QString> expected{"Первая", "Вторая", "Третья"};
    QSet<QString> seen{Form1->Label8->Caption()};
    for (int i = 0; i < 300; ++i) {
        Form1->ShowRandomPhrase();
        seen.insert(Form1->Label8->Caption());
    }
    // A uniform pick over 300 draws reaches every line; a stuck or off-by-one index would not.
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(fake.system.messages.empty());
    EXPECT_EQ(StoredPhrases(), Form1->PhrasesPath);
}

TEST_F(Phrases, EightyCharactersShowWholeAcrossTheTopOfTheClockPanel) {
    const QString phrase =
        QStringLiteral("Кто рано встаёт, тому Бог подаёт; кто поздно встаёт, тому и ЗВОНОК не поможет!!!");
    ASSERT_EQ(phrase.size(), 80);
    SetPhrases(WriteFile("phrases.txt", phrase.toUtf8()));
    CreateForms();
    ASSERT_EQ(Form1->Label8->Caption(), phrase);
    const QRect label = Form1->Label8->geometry();
    EXPECT_GE(label.width(), Form1->Label8->fontMetrics().horizontalAdvance(phrase));
    EXPECT_TRUE(Form1->RxClock1->rect().contains(label)) << "the label stays on the panel";
}

TEST_F(Phrases, Windows1251FileReadsRight) {
    // "Подъём" in Windows-1251.
    SetPhrases(WriteFile("cp1251.txt", QByteArray("\xCF\xEE\xE4\xFA\xB8\xEC\r\n")));
    CreateForms();
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("Подъём"));
}

TEST_F(Phrases, EmptyFileReportsEmptiesTheKeyAndKeepsThePathInMemory) {
    const QString path = WriteFile("empty.txt", QByteArray());
    SetPhrases(path);
    CreateForms();
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, kMissing);
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel");
    EXPECT_EQ(StoredPhrases(), QString());
    EXPECT_EQ(Form1->PhrasesPath, path);
    // Start-up went on: the label still shows the version.
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("version 1.0.0.0"));

    // The path kept in memory fails again at the next draw of this run.
    Form1->ShowRandomPhrase();
    EXPECT_EQ(MissingReports(), 2);

    // A pipe with no writer, an endless device and a folder are no phrases files, and never hang the draw.
    const QString pipe = path + ".pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &odd : {pipe, QStringLiteral("/dev/zero"), QFileInfo(path).absolutePath()}) {
        Form1->PhrasesPath = odd;
        Form1->ShowRandomPhrase();
    }
    EXPECT_EQ(MissingReports(), 5);
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("version 1.0.0.0"));
}

TEST_F(Phrases, BrokenPathAtAFiringReportsAndTheTaskStillRuns) {
    SetPhrases(WriteFile("phrases.txt", "one\n"));
    CreateForms();
    ASSERT_TRUE(fake.system.messages.empty());
    ASSERT_TRUE(QFile::remove(Form1->PhrasesPath));
    Form4->CheckBox4->setChecked(true);
    Form4->RadioButton1->setChecked(true);
    Form4->FilenameEdit2->setText("/sounds/alarm.wav");
    Form1->RadioButton3->setChecked(true); // Remind
    Form1->hide();

    Form1->RunFiredTasks(TimerSlot::Slot1);

    EXPECT_EQ(MissingReports(), 1);
    EXPECT_TRUE(Form1->isVisible());
    EXPECT_GE(fake.Count("PlayFile /sounds/alarm.wav"), 1);
    EXPECT_EQ(StoredPhrases(), QString());
}

TEST_F(Phrases, FileDeletedAfterItWasSetReportsOnceAtTheNextStart) {
    const QString path = WriteFile("phrases.txt", "only line\n");
    SetPhrases(path);
    CreateForms();
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("only line"));
    ASSERT_TRUE(QFile::remove(path));

    DestroyForms();
    CreateForms();
    EXPECT_EQ(MissingReports(), 1);
    EXPECT_EQ(Form1->PhrasesPath, path);
    EXPECT_EQ(StoredPhrases(), QString());
    // The settings dialog is made after the failed draw and reads the emptied key.
    EXPECT_EQ(Form4->FilenameEdit1->text(), QString());

    DestroyForms();
    CreateForms();
    EXPECT_EQ(MissingReports(), 1);
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("version 1.0.0.0"));
}

TEST_F(Phrases, RefusedWriteOfTheEmptiedKeyIsShownToo) {
    const QString path = WriteFile("phrases.txt", "one\n");
    SetPhrases(path);
    CreateForms();
    Form1->PhrasesPath = folder.path() + "/gone.txt";
    const QByteArray dir = QFile::encodeName(folder.path());
    ASSERT_EQ(::chmod(dir.constData(), 0555), 0);
    Form1->ShowRandomPhrase();
    ::chmod(dir.constData(), 0755);
    ASSERT_EQ(fake.system.messages.size(), 2u);
    EXPECT_EQ(fake.system.messages[0].text, kMissing);
    EXPECT_EQ(fake.system.messages[1].text, ("Unable to write to " + SettingsPath()).toStdString());
    // The write stopped at the refusal: the old value stays.
    EXPECT_EQ(StoredPhrases(), path);
}

} // namespace
