// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog: loading, the sixteen steps of Apply, a write failing midway, colours, the shortcut.
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/ClockPanel.h"
#include "controls/Colors.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "settings/IniFile.h"
#include "settings/Unit4.h"
#include "signals/Unit8.h"
#include "tests/fakes/TestApp.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using KeyValues = std::vector<std::pair<QString, QString>>;

// The keys of section "main" as the file holds them, in file order.
KeyValues MainSection(const QString &path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    KeyValues result;
    bool inMain = false;
    for (const QString &line : SplitLines(QString::fromUtf8(file.readAll()))) {
        if (line.startsWith(u'[')) {
            inMain = line == QStringLiteral("[main]");
        } else if (inMain && line.contains(u'=')) {
            result.emplace_back(line.section(u'=', 0, 0), line.section(u'=', 1));
        }
    }
    return result;
}

class SettingsDialog : public fakes::TestApp {
protected:
    // Settings written before the windows exist, so the start-up reads them.
    void StartWith(const QByteArray &mainSection) {
        WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\n" + mainSection);
        CreateForms();
    }
    void Start() { CreateForms(); }

    const std::vector<fakes::MessageBoxCall> &Messages() const { return fake.system.messages; }
};

TEST_F(SettingsDialog, QtsOwnChooserAndMenusSpeakRussian) {
    QTranslator *translator = Application::InstallQtTranslation();
    ASSERT_NE(translator, nullptr) << "Qt's Russian translation (Debian qt6-translations-l10n) is not installed";
    Start();
    const auto russian = [](const QString &text) {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= QChar(0x0410) && c <= QChar(0x044F); });
    };
    QStringList english;
    for (const QLabel *label : Form4->ColorDialog1()->findChildren<QLabel *>()) {
        // "HTML" is a name, the same in Russian.
        if (label->text().contains(u'&') && !russian(label->text()) && label->text() != QStringLiteral("&HTML:")) {
            english << label->text();
        }
    }
    std::unique_ptr<QMenu> menu(Form4->FilenameEdit2->createStandardContextMenu());
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator() && !russian(action->text())) {
            english << action->text();
        }
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(english.isEmpty()) << english.join(" | ").toStdString();
    EXPECT_GE(menu->actions().size(), 5);
}

TEST_F(SettingsDialog, LoadsTheFileAndTheMainWindowsLiveValues) {
    // The main window's start-up empties the key of a phrases file it cannot load.
    const QString phrases = WriteFile(QStringLiteral("ph.txt"), "Фраза\r\n");
    StartWith("alpha=180\r\nsec=30\r\nhide_message_alarm=1\r\nspeedhint=0\r\nsound_type=2\r\n"
              "sound_file=/s/bell.wav\r\nphrases=" +
              phrases.toUtf8() +
              "\r\nphrasestray=1\r\nlightenabled=0\r\n"
              "lightspeed=100\r\nlighttime=12\r\nlighttype=3\r\npass=Abc\r\nbkcolor=255\r\ncolor=65280\r\n"
              "tray_hide=1\r\n");
    EXPECT_EQ(Form4->windowTitle(), QStringLiteral("Настройка Zindrel"));
    EXPECT_EQ(Form4->size(), QSize(294, 403));
    EXPECT_TRUE(Form4->RadioButton2->isChecked());
    EXPECT_EQ(Form4->FilenameEdit2->text(), QStringLiteral("/s/bell.wav"));
    EXPECT_EQ(Form4->TrackBar1->value(), 180);
    EXPECT_EQ(Form4->RxSpinEdit1->Value(), 30);
    EXPECT_TRUE(Form4->CheckBox1->isChecked());
    EXPECT_FALSE(Form4->CheckBox3->isChecked());
    EXPECT_EQ(Form4->FilenameEdit1->text(), phrases);
    EXPECT_TRUE(Form4->CheckBox4->isChecked());
    EXPECT_FALSE(Form4->CheckBox5->isChecked());
    EXPECT_EQ(Form4->TrackBar3->value(), 100);
    EXPECT_EQ(Form4->Label15->text(), QStringLiteral("Скорость мигания: 100 мсек."));
    EXPECT_EQ(Form4->TrackBar2->value(), 12);
    EXPECT_EQ(Form4->Label14->text(), QStringLiteral("Время мигания: 12 сек."));
    EXPECT_EQ(Form4->ComboBox1->currentIndex(), 2);
    EXPECT_EQ(BlinkPattern, 3);
    EXPECT_EQ(Form4->Edit1->text(), QStringLiteral("Abc"));
    EXPECT_EQ(Form4->Shape1->Fill(), QColor(255, 0, 0));
    EXPECT_EQ(Form4->Shape2->Fill(), QColor(0, 255, 0));
    EXPECT_TRUE(Form4->CheckBox2->isChecked());
    EXPECT_TRUE(Form1->KeepWindowOnArm);

    // The labels follow every move of their sliders.
    Form4->TrackBar2->setValue(29);
    Form4->TrackBar3->setValue(450);
    EXPECT_EQ(Form4->Label14->text(), QStringLiteral("Время мигания: 29 сек."));
    EXPECT_EQ(Form4->Label15->text(), QStringLiteral("Скорость мигания: 450 мсек."));
}

TEST_F(SettingsDialog, WithoutAFileShowsTheDesignValues) {
    Start();
    EXPECT_TRUE(Form4->RadioButton1->isChecked());
    EXPECT_EQ(Form4->TrackBar1->value(), 255);
    EXPECT_EQ(Form4->TrackBar1->minimum(), 150);
    EXPECT_EQ(Form4->RxSpinEdit1->Value(), 15);
    EXPECT_EQ(Form4->RxSpinEdit1->maximum(), 9999999);
    EXPECT_TRUE(Form4->CheckBox3->isChecked());
    EXPECT_TRUE(Form4->CheckBox5->isChecked());
    EXPECT_EQ(Form4->Label14->text(), QStringLiteral("Время мигания: 3 сек."));
    EXPECT_EQ(Form4->Label15->text(), QStringLiteral("Скорость мигания: 250 мсек."));
    EXPECT_EQ(Form4->ComboBox1->count(), 9);
    EXPECT_EQ(Form4->ComboBox1->itemText(8), QStringLiteral("NumLock и ScrollLock"));
    EXPECT_EQ(Form4->ComboBox1->currentIndex(), 0);
    EXPECT_EQ(Form4->Shape1->Fill(), QColor(255, 255, 255));
    EXPECT_EQ(Form4->Shape2->Fill(), QColor(83, 83, 255));
    EXPECT_FALSE(Form1->KeepWindowOnArm);
    QStringList tabs;
    for (int i = 0; i < Form4->PageControl1->count(); ++i) {
        tabs << Form4->PageControl1->tabText(i);
    }
    EXPECT_EQ(tabs.join(u','), QStringLiteral("Вид,Действия,Мигание,Безопасность,Цвета,Разное"));
    EXPECT_EQ(Form4->PageControl1->currentWidget(), Form4->TabSheet1);
}

TEST_F(SettingsDialog, EveryPageFitsTheFixedDialog) {
    Start();
    // Nobody has seen the dialog yet: its pages are not laid out and there is no colour chooser.
    EXPECT_EQ(Form4->TabSheet1->layout(), nullptr);
    EXPECT_TRUE(Form4->findChildren<QColorDialog *>().isEmpty());
    Form4->show();
    for (QWidget *page :
         {Form4->TabSheet1, Form4->TabSheet2, Form4->TabSheet3, Form4->TabSheet4, Form4->TabSheet5, Form4->TabSheet6}) {
        EXPECT_NE(page->layout(), nullptr);
    }
    const QRect dialog = Form4->rect();
    const QTabBar *tabs = Form4->PageControl1->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab(tabs->mapTo(Form4, tabs->tabRect(i).topLeft()), tabs->tabRect(i).size());
        EXPECT_TRUE(dialog.contains(tab))
            << "tab " << i << " at " << tab.x() << " width " << tab.width() << " is cut off";
    }
    for (int page = 0; page < Form4->PageControl1->count(); ++page) {
        Form4->PageControl1->setCurrentIndex(page);
        QApplication::processEvents();
        for (const QWidget *child : Form4->PageControl1->currentWidget()->findChildren<QWidget *>()) {
            // A spin box sizes its own edit field smaller than a framed edit's hint; the spin box itself is checked.
            if (qobject_cast<const QAbstractSpinBox *>(child->parentWidget()) != nullptr) {
                continue;
            }
            const QRect area(child->mapTo(Form4, QPoint(0, 0)), child->size());
            const QSize wanted = child->minimumSizeHint();
            EXPECT_TRUE(!child->isVisible() || (dialog.contains(area) && child->width() >= wanted.width() &&
                                                child->height() >= wanted.height()))
                << "page " << page << ": " << child->metaObject()->className() << " leaves the dialog or is cut";
        }
    }
    EXPECT_TRUE(Form4->Button1->isVisible() && dialog.contains(Form4->Button1->geometry()));
    EXPECT_EQ(Form4->Button1->text(), QStringLiteral("\u041E\u041A"));
    Form4->close();
}

TEST_F(SettingsDialog, OnlySoundTypeTwoSelectsTheSpeaker) {
    StartWith("sound_type=7\r\n");
    EXPECT_TRUE(Form4->RadioButton1->isChecked());
    EXPECT_FALSE(Form4->RadioButton2->isChecked());
}

TEST_F(SettingsDialog, ApplyWritesEveryKeyInOrderAndChangesTheRunningProgram) {
    Start();
    QFile::remove(SettingsPath());
    const int hintBefore = Application::HintPause();
    Form4->TrackBar1->setValue(200);
    Form4->RxSpinEdit1->SetValue(42);
    Form4->CheckBox1->setChecked(true);
    Form4->RadioButton2->setChecked(true);
    Form4->FilenameEdit2->setText(QStringLiteral("\"/snd/my bell.wav\""));
    Form4->CheckBox3->setChecked(false);
    Form4->FilenameEdit1->setText(QStringLiteral("/ph/фразы.txt"));
    Form4->CheckBox4->setChecked(true);
    Form4->CheckBox5->setChecked(false);
    Form4->TrackBar3->setValue(300);
    Form4->TrackBar2->setValue(7);
    Form4->ComboBox1->setCurrentIndex(4);
    Form4->Edit1->setText(QStringLiteral("Секрет 1"));
    Form4->Shape1->SetFill(QColor(1, 2, 3));
    Form4->Shape2->SetFill(QColor(200, 100, 50));
    Form4->CheckBox2->setChecked(true);

    Form4->Button2Click(Form4->Button2);

    const KeyValues expected = {
        {"alpha", "200"},
        {"sec", "42"},
        {"hide_message_alarm", "1"},
        {"sound_type", "2"},
        {"sound_file", "\"/snd/my bell.wav\""},
        {"speedhint", "0"},
        {"phrases", "/ph/фразы.txt"},
        {"phrasestray", "1"},
        {"lightenabled", "0"},
        {"lightspeed", "300"},
        {"lighttime", "7"},
        {"lighttype", "5"},
        {"pass", "Секрет 1"},
        {"bkcolor", QString::number(1 | 2 << 8 | 3 << 16)},
        {"color", QString::number(200 | 100 << 8 | 50 << 16)},
        {"tray_hide", "1"},
    };
    EXPECT_EQ(MainSection(SettingsPath()), expected);
    EXPECT_TRUE(Messages().empty());

    EXPECT_EQ(Form1->Opacity, 200);
    EXPECT_TRUE(Form1->AlphaBlend);
    EXPECT_EQ(Form1->AlphaBlendValue, 200);
    EXPECT_EQ(Form1->WarningCounter, 42);
    EXPECT_FALSE(Form1->NoWarnings);
    EXPECT_NE(hintBefore, 500);
    EXPECT_EQ(Application::HintPause(), 500);
    EXPECT_EQ(Form1->PhrasesPath, QStringLiteral("/ph/фразы.txt"));
    EXPECT_EQ(DM->Timer1->Interval(), 300);
    EXPECT_EQ(DM->Timer2->Interval(), 7000);
    EXPECT_FALSE(DM->Timer1->Enabled());
    EXPECT_FALSE(DM->Timer2->Enabled());
    EXPECT_EQ(BlinkPattern, 5);
    EXPECT_EQ(Form1->SettingsPassword, QStringLiteral("Секрет 1"));
    EXPECT_EQ(Form1->BackgroundColor, QColor(1, 2, 3));
    EXPECT_EQ(Form1->RxClock1->palette().color(QPalette::Window), QColor(1, 2, 3));
    EXPECT_EQ(Form1->Panel1->palette().color(QPalette::Window), QColor(1, 2, 3));
    EXPECT_EQ(Form1->TextColor, QColor(200, 100, 50));
    EXPECT_EQ(Form1->Label8->palette().color(QPalette::WindowText), QColor(200, 100, 50));
    EXPECT_TRUE(Form1->KeepWindowOnArm);

    // Back to the fast tool tips: the other branch of the delay.
    Form4->CheckBox3->setChecked(true);
    Form4->Button2Click(Form4->Button2);
    EXPECT_EQ(Application::HintPause(), 0);
}

TEST_F(SettingsDialog, OpacityAtTheRightEndSwitchesTransparencyOff) {
    StartWith("alpha=170\r\n");
    EXPECT_EQ(Form4->TrackBar1->value(), 170);
    Form4->TrackBar1->setValue(255);
    Form4->Button2Click(Form4->Button2);
    EXPECT_FALSE(Form1->AlphaBlend);
    EXPECT_DOUBLE_EQ(Form1->windowOpacity(), 1.0);
    Form4->TrackBar1->setValue(254);
    Form4->Button2Click(Form4->Button2);
    EXPECT_TRUE(Form1->AlphaBlend);
    EXPECT_EQ(Form1->AlphaBlendValue, 254);
    EXPECT_NEAR(Form1->windowOpacity(), 254 / 255.0, 0.01);
}

TEST_F(SettingsDialog, EmptyPhrasePathClearsTheTrayPhraseOption) {
    StartWith("phrases=/p/ph.txt\r\nphrasestray=1\r\n");
    Form4->FilenameEdit1->clear();
    ASSERT_TRUE(Form4->CheckBox4->isChecked());
    Form4->Button2Click(Form4->Button2);
    EXPECT_FALSE(Form4->CheckBox4->isChecked());
    const KeyValues file = MainSection(SettingsPath());
    EXPECT_NE(std::find(file.begin(), file.end(), std::pair<QString, QString>("phrasestray", "0")), file.end());
    EXPECT_NE(std::find(file.begin(), file.end(), std::pair<QString, QString>("phrases", "")), file.end());
    EXPECT_TRUE(Form1->PhrasesPath.isEmpty());
}

TEST_F(SettingsDialog, FastShutdownReachesTheFileOnly) {
    StartWith("hide_message_alarm=1\r\n");
    ASSERT_TRUE(Form1->NoWarnings);
    Form4->CheckBox1->setChecked(false);
    Form4->Button2Click(Form4->Button2);
    EXPECT_TRUE(Form1->NoWarnings);
    EXPECT_EQ(IniFile(SettingsPath()).ReadString("main", "hide_message_alarm", "?"), QStringLiteral("0"));
}

TEST_F(SettingsDialog, PatternOutsideTheListShowsNoneAndStoresZero) {
    StartWith("lighttype=0\r\n");
    EXPECT_EQ(Form4->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(BlinkPattern, 0);
    BlinkPattern = 7;
    Form4->Button2Click(Form4->Button2);
    EXPECT_EQ(IniFile(SettingsPath()).ReadString("main", "lighttype", "?"), QStringLiteral("0"));
    EXPECT_EQ(BlinkPattern, 0);
}

TEST_F(SettingsDialog, PatternTenShowsNone) {
    StartWith("lighttype=10\r\n");
    EXPECT_EQ(Form4->ComboBox1->currentIndex(), -1);
    EXPECT_EQ(BlinkPattern, 10);
}

TEST_F(SettingsDialog, AWriteRefusedMidwayStopsApplyAtThatStep) {
    StartWith("pass=old\r\n");
    Form4->TrackBar1->setValue(160);
    Form4->RxSpinEdit1->SetValue(99);
    Form4->FilenameEdit1->clear();
    Form4->CheckBox4->setChecked(true);
    Form4->TrackBar3->setValue(450);
    Form4->Edit1->setText(QStringLiteral("new"));
    const auto timer1Before = DM->Timer1->Interval();
    // Step 7 clears the tray-phrase box before its writes; the file turns read-only at that moment.
    QObject::connect(Form4->CheckBox4, &QCheckBox::toggled, Form4,
                     [this] { ::chmod(QFile::encodeName(SettingsPath()).constData(), 0444); });

    EXPECT_FALSE(Form4->Apply());

    ASSERT_EQ(Messages().size(), 1U);
    EXPECT_EQ(Messages()[0].text, ("Unable to write to " + SettingsPath()).toStdString());
    EXPECT_EQ(Messages()[0].caption, "Zindrel");
    const IniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadInteger("main", "alpha", -1), 160);
    EXPECT_EQ(ini.ReadInteger("main", "sec", -1), 99);
    EXPECT_EQ(ini.ReadString("main", "speedhint", "?"), QStringLiteral("1"));
    EXPECT_EQ(ini.ReadString("main", "phrasestray", "missing"), QStringLiteral("missing"));
    EXPECT_EQ(ini.ReadString("main", "lightspeed", "missing"), QStringLiteral("missing"));
    EXPECT_EQ(ini.ReadString("main", "pass", "?"), QStringLiteral("old"));
    EXPECT_EQ(Form1->Opacity, 160);
    EXPECT_EQ(Form1->WarningCounter, 99);
    EXPECT_EQ(DM->Timer1->Interval(), timer1Before);
    EXPECT_EQ(Form1->SettingsPassword, QStringLiteral("old"));

    // OK with the file still refused keeps the dialog open; once writable again it closes.
    bool openAfterFailedOk = false;
    bool openAfterGoodOk = true;
    QTimer::singleShot(0, Form4, [&] {
        Form4->Button1Click(Form4->Button1);
        openAfterFailedOk = Form4->isVisible();
        ::chmod(QFile::encodeName(SettingsPath()).constData(), 0600);
        Form4->Button1Click(Form4->Button1);
        openAfterGoodOk = Form4->isVisible();
        if (Form4->isVisible()) {
            Form4->reject();
        }
    });
    Form4->exec();
    EXPECT_TRUE(openAfterFailedOk);
    EXPECT_FALSE(openAfterGoodOk);
    EXPECT_EQ(Messages().size(), 2U);
    EXPECT_EQ(Form1->SettingsPassword, QStringLiteral("new"));
}

TEST_F(SettingsDialog, EveryClosingEndsTheBlinkRun) {
    Start();
    for (const bool closeBox : {true, false}) {
        QTimer::singleShot(0, Form4, [&] {
            DM->Timer1->SetEnabled(true);
            DM->Timer2->SetEnabled(true);
            if (closeBox) {
                Form4->close();
            } else {
                Form4->Button1Click(Form4->Button1);
            }
        });
        Form4->exec();
        EXPECT_FALSE(Form4->isVisible());
        EXPECT_FALSE(DM->Timer1->Enabled()) << closeBox;
        EXPECT_FALSE(DM->Timer2->Enabled()) << closeBox;
    }
}

TEST_F(SettingsDialog, ColourChooserStartsWithTheLastChosenColour) {
    Start();
    std::vector<QColor> openedWith;
    auto answer = [&](const QColor &pick, bool accept) {
        QTimer::singleShot(0, Form4, [&openedWith, pick, accept] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            openedWith.push_back(dialog->currentColor());
            dialog->setCurrentColor(pick);
            accept ? dialog->accept() : dialog->reject();
        });
    };
    answer(QColor(10, 20, 30), true);
    Form4->SpeedButton1Click(Form4->SpeedButton1);
    EXPECT_EQ(Form4->Shape1->Fill(), QColor(10, 20, 30));
    EXPECT_EQ(Form4->Shape2->Fill(), QColor(83, 83, 255));

    answer(QColor(90, 90, 90), false);
    Form4->SpeedButton1Click(Form4->SpeedButton6);
    EXPECT_EQ(Form4->Shape2->Fill(), QColor(83, 83, 255));

    answer(QColor(40, 50, 60), true);
    Form4->SpeedButton1Click(Form4->SpeedButton6);
    EXPECT_EQ(Form4->Shape2->Fill(), QColor(40, 50, 60));
    EXPECT_EQ(Form4->Shape1->Fill(), QColor(10, 20, 30));

    ASSERT_EQ(openedWith.size(), 3U);
    EXPECT_EQ(openedWith[0], QColor(Qt::black));
    EXPECT_EQ(openedWith[1], QColor(10, 20, 30));
    EXPECT_EQ(openedWith[2], QColor(10, 20, 30));
    EXPECT_EQ(Form1->BackgroundColor, QColor(255, 255, 255));
}

TEST_F(SettingsDialog, DefaultColoursChangeOnlyTheSwatches) {
    StartWith("bkcolor=0\r\ncolor=0\r\n");
    Form4->SpeedButton7Click(Form4->SpeedButton7);
    EXPECT_EQ(ToWinColor(Form4->Shape1->Fill()), 16777215);
    EXPECT_EQ(ToWinColor(Form4->Shape2->Fill()), 16733011);
    Form4->close();
    EXPECT_EQ(Form1->BackgroundColor, QColor(0, 0, 0));
    EXPECT_EQ(Form1->TextColor, QColor(0, 0, 0));
    EXPECT_EQ(IniFile(SettingsPath()).ReadInteger("main", "bkcolor", -1), 0);
    EXPECT_EQ(ToWinColor(Form4->Shape1->Fill()), 16777215);
}

TEST_F(SettingsDialog, ShortcutNamesTheProgramItsFolderAndIcon) {
    Start();
    Form4->SpeedButton3Click(Form4->SpeedButton3);
    const std::string folder = fake.system.programFolder;
    EXPECT_EQ(fake.Count("Shortcut " + folder + "zindrel " + folder + " Zindrel"), 1);
    EXPECT_EQ(fake.desktop.shortcutIcon.substr(0, 4), "\x89PNG");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsDialog, SoundTestPlaysTheFileInTheField) {
    Start();
    Form4->FilenameEdit2->setText(QStringLiteral("\"/snd/my bell.wav\""));
    Form4->SpeedButton2->click();
    EXPECT_EQ(fake.Count("PlayFile /snd/my bell.wav"), 1);
}

TEST_F(SettingsDialog, FileFiltersInQtForm) {
    EXPECT_EQ(TForm4::QtFileFilter(QStringLiteral("Текстовый файл (*.txt)|*.txt|Все файлы (*.*)|*.*")),
              QStringLiteral("Текстовый файл (*.txt) (*.txt);;Все файлы (*.*) (*)"));
    EXPECT_EQ(TForm4::QtFileFilter(QStringLiteral("Звуковой файл (*.wav)|*.wav;*.WAV")),
              QStringLiteral("Звуковой файл (*.wav) (*.wav *.WAV)"));
}

TEST_F(SettingsDialog, BrowsingForASoundQuotesAPathWithABlank) {
    Start();
    const QString picked = WriteFile(QStringLiteral("my bell.wav"), "RIFF");
    QStringList filters;
    QTimer::singleShot(0, Form4, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        filters = dialog->nameFilters();
        dialog->selectFile(picked);
        static_cast<QDialog *>(dialog)->accept();
    });
    Form4->FilenameEdit2Button->click();
    EXPECT_EQ(Form4->FilenameEdit2->text(), u'"' + picked + u'"');
    EXPECT_EQ(filters, QStringList{QStringLiteral("Звуковой файл (*.wav) (*.wav)")});

    // The phrases field keeps the path as picked.
    QTimer::singleShot(0, Form4, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(picked);
        static_cast<QDialog *>(dialog)->accept();
    });
    Form4->FilenameEdit1Button->click();
    EXPECT_EQ(Form4->FilenameEdit1->text(), picked);

    EXPECT_EQ(TForm4::QuotedSoundPath(QStringLiteral("\"/a b.wav\"")), QStringLiteral("\"/a b.wav\""));
    EXPECT_EQ(TForm4::QuotedSoundPath(QStringLiteral("/ab.wav")), QStringLiteral("/ab.wav"));
}

// What the firing asks of the settings before anyone opened the dialog is what the dialog answers once made from
// the same file, odd values included.
class UnopenedSettings : public SettingsDialog, public testing::WithParamInterface<const char *> {};

TEST_P(UnopenedSettings, AnswerAsTheDialogWouldOnceMade) {
    StartWith(GetParam());
    const Settings &start = Form1->SettingsAtStart;
    const auto answers = [&] {
        BlinkPattern = 99;
        SettingsChoices::StartBlinking(start);
        auto seen = std::make_tuple(SettingsChoices::NewPhraseOnRestore(start), SettingsChoices::WaveFileChosen(start),
                                    SettingsChoices::SpeakerTuneChosen(start), SettingsChoices::SoundFile(start),
                                    DM->Blinking(), DM->Timer1->Interval(), DM->Timer2->Interval(), BlinkPattern);
        DM->StopBlinking();
        return seen;
    };
    const auto before = answers();
    EXPECT_EQ(Form4.Existing(), nullptr) << "answered without making the dialog";
    Form4.get();
    EXPECT_EQ(answers(), before);
}

INSTANTIATE_TEST_SUITE_P(Files, UnopenedSettings,
                         testing::Values("", "sound_type=2\r\nsound_file=\"/s/a b.wav\"\r\nphrasestray=1\r\n",
                                         "sound_type=7\r\nsound_file=/s/c.wav\r\nlightenabled=1\r\nlightspeed=10\r\n"
                                         "lighttime=99\r\nlighttype=257\r\n",
                                         "lightenabled=1\r\nlightspeed=600\r\nlighttime=0\r\nlighttype=10\r\n",
                                         "lightenabled=1\r\nlightspeed=120\r\nlighttime=5\r\nlighttype=4\r\n"));

} // namespace
