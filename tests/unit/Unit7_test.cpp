// SPDX-License-Identifier: GPL-3.0-or-later
// The extras dialog: tray and warning switches, the CD tray at the firing, the launch page and its list.
#include "actions/LaunchList.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "controls/TrayIcon.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <sys/stat.h>

namespace {

class Extras : public fakes::TestApp {
protected:
    void Arm(int minutes1, bool second, int minutes2 = 1) {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(minutes1);
        Form1->CheckBox1->setChecked(second);
        Form6->RxSpinEdit1->SetValue(minutes2);
        Form1->Button2Click(Form1->Button2);
    }
    void Add(const QString &entry) {
        Form7->FilenameEdit1->setText(entry);
        Form7->SpeedButton1->click();
    }
    std::vector<std::string> Calls(const std::string &prefix) const {
        std::vector<std::string> found;
        std::copy_if(fake.log.begin(), fake.log.end(), std::back_inserter(found),
                     [&](const std::string &call) { return call.rfind(prefix, 0) == 0; });
        return found;
    }
};

using Strings = std::vector<std::string>;

TEST_F(Extras, PagesInOrder) {
    CreateForms();
    ASSERT_EQ(Form7->PageControl1->count(), 3);
    EXPECT_EQ(Form7->PageControl1->tabText(TForm7::PageGeneral), QStringLiteral("Общее"));
    EXPECT_EQ(Form7->PageControl1->tabText(TForm7::PageWinAmp), QStringLiteral("WinAmp"));
    EXPECT_EQ(Form7->PageControl1->tabText(TForm7::PageLaunch), QStringLiteral("Запуск"));
    EXPECT_EQ(Form7->windowTitle(), QStringLiteral("Дополнительно"));

    int shownPage = -1;
    QTimer::singleShot(0, [&] {
        shownPage = Form7->PageControl1->currentIndex();
        Form7->Button1->click();
    });
    Form1->SpeedButton6->click();
    EXPECT_EQ(shownPage, TForm7::PageLaunch);
    EXPECT_FALSE(Form7->isVisible());
}

TEST_F(Extras, TrayIconGoesAndComesBackAtOnceAndPauseThriceShowsTheWindow) {
    CreateForms();
    EXPECT_EQ(Form7->CheckBox1->text(), QStringLiteral("Удалить иконку из трея (возле часиков)"));
    ASSERT_TRUE(Form1->RxTrayIcon1->Active());
    Form7->CheckBox1->click();
    EXPECT_FALSE(Form1->RxTrayIcon1->Active());

    Form1->HideToTray();
    fake.keyState.pausePresses = 2;
    clock.advance(500);
    EXPECT_FALSE(Form1->isVisible()) << "two presses are not enough";
    fake.keyState.pausePresses = 1;
    clock.advance(50);
    EXPECT_TRUE(Form1->isVisible());

    Form7->CheckBox1->click();
    EXPECT_TRUE(Form1->RxTrayIcon1->Active());
}

TEST_F(Extras, WarningsBoxSetsTheLiveFlagOnlyWhenClicked) {
    WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\nhide_message_alarm=1\r\n");
    CreateForms();
    EXPECT_TRUE(Form1->NoWarnings);
    EXPECT_FALSE(Form7->CheckBox2->isChecked()) << "box and flag disagree until the box is clicked";
    Form7->CheckBox2->click();
    EXPECT_TRUE(Form1->NoWarnings);
    Form7->CheckBox2->click();
    EXPECT_FALSE(Form1->NoWarnings);
    EXPECT_TRUE(Form1->RxTrayIcon1->Active()) << "the warnings box leaves the tray alone";
}

TEST_F(Extras, DoorChoicesDefaultToNothing) {
    CreateForms();
    ASSERT_EQ(Form7->ComboBox1->count(), 4);
    EXPECT_EQ(Form7->ComboBox1->itemText(0), QStringLiteral("Открыть дверцу CD-ROM"));
    EXPECT_EQ(Form7->ComboBox1->itemText(1), QStringLiteral("Закрыть дверцу CD-ROM"));
    EXPECT_EQ(Form7->ComboBox1->itemText(2), QStringLiteral("Открыть и закрыть дверцу CD-ROM"));
    EXPECT_EQ(Form7->ComboBox1->itemText(3), QStringLiteral("Ничего не делать"));
    EXPECT_EQ(Form7->ComboBox1->currentIndex(), 3);
    Arm(1, false);
    clock.advance(60000);
    EXPECT_TRUE(Calls("OpenDoor").empty());
    EXPECT_TRUE(Calls("CloseDoor").empty());
}

TEST_F(Extras, DoorMovesForSlotOneOnlyOpenBeforeClose) {
    CreateForms();
    Form7->ComboBox1->setCurrentIndex(2);
    Arm(10, true, 1);
    clock.advance(60000);
    EXPECT_EQ(fake.Count("OpenDoor") + fake.Count("CloseDoor"), 0) << "countdown 2 never moves the door";
    clock.advance(9 * 60000);
    std::vector<std::string> door;
    for (const std::string &call : fake.log) {
        if (call == "OpenDoor" || call == "CloseDoor") {
            door.push_back(call);
        }
    }
    EXPECT_EQ(door, (Strings{"OpenDoor", "CloseDoor"}));
    EXPECT_TRUE(Form1->Button2->isEnabled()) << "the firing ran through";

    Form7->ComboBox1->setCurrentIndex(0);
    Form7->OperateCdDoor();
    Form7->ComboBox1->setCurrentIndex(1);
    Form7->OperateCdDoor();
    EXPECT_EQ(fake.log[fake.log.size() - 2], "OpenDoor");
    EXPECT_EQ(fake.log.back(), "CloseDoor");
}

TEST_F(Extras, AddNeedsAFileName) {
    CreateForms();
    Form7->SpeedButton1->click();
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "Необходимо указать имя файла.");
    EXPECT_EQ(fake.system.messages[0].caption, "Внимание!");
    EXPECT_EQ(fake.system.messages[0].flags, 0x1040u);
    EXPECT_EQ(Form7->ListBox1->count(), 0);

    Add(QStringLiteral("xterm -e top"));
    Add(QStringLiteral("xterm -e top"));
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"xterm -e top", "xterm -e top"})) << "duplicates allowed";
    EXPECT_TRUE(Form7->FilenameEdit1->text().isEmpty());
    EXPECT_EQ(fake.system.messages.size(), 1u);
}

TEST_F(Extras, DeleteUpAndDownAtTheEdgesChangeNothing) {
    CreateForms();
    for (const char *entry : {"a", "b", "c"}) {
        Add(QString::fromLatin1(entry));
    }
    const QStringList abc{"a", "b", "c"};
    Form7->ListBox1->clearSelection();
    Form7->ListBox1->setCurrentRow(-1);
    Form7->SpeedButton2->click();
    Form7->SpeedButton5->click();
    Form7->SpeedButton6->click();
    EXPECT_EQ(Form7->LaunchEntries(), abc) << "no selection: nothing moves or goes";

    Form7->ListBox1->setCurrentRow(0);
    Form7->SpeedButton5->click();
    EXPECT_EQ(Form7->LaunchEntries(), abc);
    EXPECT_EQ(Form7->ListBox1->currentRow(), 0);
    Form7->ListBox1->setCurrentRow(2);
    Form7->SpeedButton6->click();
    EXPECT_EQ(Form7->LaunchEntries(), abc);
    EXPECT_EQ(Form7->ListBox1->currentRow(), 2);

    Form7->SpeedButton5->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"a", "c", "b"}));
    EXPECT_EQ(Form7->ListBox1->currentRow(), 1);
    Form7->ListBox1->setCurrentRow(0);
    Form7->SpeedButton6->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"c", "a", "b"}));
    EXPECT_EQ(Form7->ListBox1->currentRow(), 1);

    Form7->SpeedButton2->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"c", "b"}));
}

TEST_F(Extras, SaveThenLoadGivesTheSameEntries) {
    CreateForms();
    const QStringList entries{"/usr/bin/xmessage 'Пора'", "", "sh -c \"echo 1 > /tmp/x\"", "C:\\win\\notepad.exe"};
    for (const QString &entry : entries) {
        Form7->ListBox1->addItem(entry);
    }
    Form7->SpeedButton3->click();
    QFile file(LaunchListPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), (entries.join("\r\n") + "\r\n").toUtf8()) << "CR LF after every entry";

    Form7->ListBox1->clear();
    Form7->ListBox1->addItem(QStringLiteral("replaced"));
    Form7->SpeedButton4->click();
    EXPECT_EQ(Form7->LaunchEntries(), entries);
    EXPECT_TRUE(fake.system.messages.empty());

    Form7->ListBox1->clear();
    Form7->SpeedButton3->click();
    EXPECT_EQ(QFile(LaunchListPath()).size(), 0) << "an empty list gives an empty file";
}

TEST_F(Extras, LoadSplitsAtAnyLineEndAndStopsAtNul) {
    CreateForms();
    WriteFile(QStringLiteral("runfiles.ini"), QByteArray("one\ntwo\n\nthree\rfour\r\nlast"));
    Form7->SpeedButton4->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"one", "two", "", "three", "four", "last"}));

    WriteFile(QStringLiteral("runfiles.ini"), QByteArray("a\r\nb\0c\r\n", 8));
    Form7->SpeedButton4->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"a", "b"}));

    WriteFile(QStringLiteral("runfiles.ini"), QByteArray("\xCF\xF3\xF1\xEA\r\n"));
    Form7->SpeedButton4->click();
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({QStringLiteral("Пуск")})) << "an old Windows-1251 file";
}

TEST_F(Extras, LoadAndSaveFailuresNameTheFile) {
    CreateForms();
    Add(QStringLiteral("kept"));
    Form7->SpeedButton4->click();
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_NE(fake.system.messages[0].text.find(LaunchListPath().toStdString()), std::string::npos);
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel");
    EXPECT_EQ(Form7->LaunchEntries(), QStringList({"kept"})) << "a failed load keeps the list";

    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    Form7->SpeedButton3->click();
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    ASSERT_EQ(fake.system.messages.size(), 2u);
    EXPECT_EQ(fake.system.messages[1].text, ("Unable to write to " + LaunchListPath()).toStdString());
    EXPECT_FALSE(QFile::exists(LaunchListPath()));
}

TEST_F(Extras, BrowseDialogTitleAndFilter) {
    CreateForms();
    QString title;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    Form7->FilenameEdit1Button->click();
    EXPECT_EQ(title, QStringLiteral("Открыть"));
    // Here programs are the executable files of any name, and "*.*" is Qt's "*", names without a dot included.
    EXPECT_EQ(filters, QStringList({QStringLiteral("Приложения (*)"), QStringLiteral("Все файлы (*.*) (*)")}));
    EXPECT_TRUE(Form7->FilenameEdit1->text().isEmpty()) << "cancel leaves the box as it was";
}

TEST_F(Extras, BrowsedProgramIsQuotedForTheShellAndTheProgramFilterShowsExecutables) {
    CreateForms();
    const QString picked = WriteFile(QStringLiteral("a;rm -rf ~ $(x) 'q'"), "#!/bin/sh\n");
    bool executablesFirst = false;
    bool allFilesThen = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        executablesFirst = (dialog->filter() & QDir::Executable) != 0;
        auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setCurrentIndex(1);
        emit types->textActivated(types->currentText());
        allFilesThen = (dialog->filter() & QDir::Executable) == 0;
        dialog->selectFile(picked);
        static_cast<QDialog *>(dialog)->accept();
    });
    Form7->FilenameEdit1Button->click();
    EXPECT_TRUE(executablesFirst);
    EXPECT_TRUE(allFilesThen) << "\"Все файлы\" shows every file";
    QString quoted = picked;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    EXPECT_EQ(Form7->FilenameEdit1->text(), u'\'' + quoted + u'\'') << "started as that file, never as shell code";

    // What the user types stays as typed.
    Add(QStringLiteral("echo a; echo b"));
    EXPECT_EQ(Form7->LaunchEntries().constLast(), QStringLiteral("echo a; echo b"));
}

TEST_F(Extras, LaunchListRunsInOrderOnEveryFiringOnlyWhenChecked) {
    CreateForms();
    for (const char *entry : {"first", "second", "third"}) {
        Add(QString::fromLatin1(entry));
    }
    Arm(1, false);
    clock.advance(60000);
    EXPECT_TRUE(Calls("Launch ").empty()) << "unchecked: the list is ignored";

    Form7->CheckBox5->click();
    Arm(10, true, 1);
    clock.advance(60000);
    EXPECT_EQ(Calls("Launch "), (Strings{"Launch first", "Launch second", "Launch third"})) << "slot 2 firing";
    clock.advance(9 * 60000);
    EXPECT_EQ(Calls("Launch ").size(), 6u) << "slot 1 firing";

    Form7->ListBox1->clear();
    Form7->RunLaunchList();
    EXPECT_EQ(Calls("Launch ").size(), 6u) << "an empty list starts nothing";
}

} // namespace
