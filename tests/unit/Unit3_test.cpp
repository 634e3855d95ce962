// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: the version label and the information lines, its pages, its links and its placement.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/FormStorage.h"
#include "platform/linux/LinuxSystem.h"
#include "settings/IniFile.h"
#include "settings/Unit3.h"
#include "tests/fakes/TestApp.h"

#include <QDate>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace {

class About : public fakes::TestApp {
protected:
    // Shows a new About window modally and runs check inside it; the window is closed afterwards.
    template <typename Check> void OpenAbout(Check check) {
        TForm3 about;
        QTimer::singleShot(0, &about, [&] {
            check(about);
            about.reject();
        });
        about.exec();
    }
    QString HelpIni() const { return QString::fromStdString(fake.system.configFolder) + "zindrel.ini"; }
};

TEST_F(About, VersionLabelAndFirstLineCarryTheBuildsVersion) {
    fake.system.version = "2.7.1.9";
    CreateForms();
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("version 2.7.1.9"));
    TForm3 about;
    EXPECT_EQ(about.Label1->Caption().section(u'\r', 0, 0), QStringLiteral("Zindrel v2.7.1.9"));
}

TEST(AboutVersion, TheRealBackendReportsTheFourPartProjectVersion) {
    const QString version = QString::fromStdString(platform::LinuxSystem().ProgramVersion());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
        << version.toStdString();
    EXPECT_EQ(version, QStringLiteral(ZINDREL_VERSION));
}

TEST_F(About, WithoutAVersionTheLabelReadsVersionAlone) {
    fake.system.version.clear();
    CreateForms();
    EXPECT_EQ(Form1->Label8->Caption(), QStringLiteral("version "));
}

TEST_F(About, OpensOnGeneralWithSixInformationLines) {
    CreateForms();
    bool ran = false;
    OpenAbout([&](TForm3 &about) {
        ran = true;
        EXPECT_TRUE(about.isVisible());
        EXPECT_TRUE(about.isModal());
        EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
        EXPECT_EQ(about.size(), QSize(406, 226));
        EXPECT_EQ(about.PageControl1->currentWidget(), about.TabSheet1);
        QStringList tabs;
        for (int i = 0; i < about.PageControl1->count(); ++i) {
            tabs << about.PageControl1->tabText(i);
        }
        EXPECT_EQ(tabs, (QStringList{"Общее", "Версии", "Автор", "Обращение", "Благодарности"}));

        const QStringList lines = about.Label1->Caption().split(u'\r');
        ASSERT_EQ(lines.size(), 6);
        EXPECT_FALSE(about.Label1->Caption().contains(u'\n'));
        EXPECT_EQ(lines[0], QStringLiteral("Zindrel v1.0.0.0"));
        const QRegularExpressionMatch date =
            QRegularExpression(QStringLiteral("^Компиляция: (\\d\\d)\\.(\\d\\d)\\.(\\d{4})$")).match(lines[1]);
        ASSERT_TRUE(date.hasMatch()) << lines[1].toStdString();
        const QDate built(date.captured(3).toInt(), date.captured(2).toInt(), date.captured(1).toInt());
        EXPECT_TRUE(built.isValid());
        EXPECT_LE(built, QDate::currentDate());
        EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Среда разработки: ")));
        EXPECT_GT(lines[2].size(), QStringLiteral("Среда разработки: ").size());
        EXPECT_EQ(lines[3], QStringLiteral("Использованы компоненты:"));
        EXPECT_TRUE(lines[4].startsWith(QStringLiteral("Qt 6.")));
        for (const char *part : {"libjpeg-turbo ", "libsndfile", "PulseAudio", "Xlib/XKB"}) {
            EXPECT_TRUE(lines[4].contains(QLatin1String(part))) << part;
        }
        EXPECT_TRUE(lines[5].startsWith(QStringLiteral("Упаковано в CMake ")));
        // The picture is decoded from the program's own resources.
        EXPECT_EQ(about.Image1->pixmap().size(), QSize(118, 195));
    });
    EXPECT_TRUE(ran);
}

TEST_F(About, MemosAreReadOnlyBlueOnWhiteAndHonest) {
    CreateForms();
    TForm3 about;
    for (QPlainTextEdit *memo : {about.Memo1, about.Memo2, about.Memo3, about.Memo4}) {
        EXPECT_TRUE(memo->isReadOnly());
        EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(Qt::white));
        EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(0x49, 0x4E, 0xFE));
        EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    const QStringList history = about.Memo1->toPlainText().split(u'\n');
    ASSERT_GE(history.size(), 3);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Zindrel v1\\.0\\.0\\.0 - \\d\\d\\.\\d\\d\\.\\d{4}г\\.$"))
                    .match(history[0])
                    .hasMatch())
        << history[0].toStdString();
    // Each entry: its change lines, then one empty line.
    const qsizetype blank = history.indexOf(QString());
    ASSERT_GT(blank, 1);
    for (qsizetype i = 1; i < blank; ++i) {
        EXPECT_TRUE(history[i].startsWith(QStringLiteral("- "))) << history[i].toStdString();
    }
    EXPECT_TRUE(about.Memo3->toPlainText().endsWith(QStringLiteral("zindrel@example.org")));
    const QStringList thanks = about.Memo4->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(thanks.size(), 2);
    for (qsizetype i = 1; i < thanks.size(); ++i) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^- \\S.* - \\S")).match(thanks[i]).hasMatch())
            << thanks[i].toStdString();
    }
    EXPECT_EQ(about.Image2->pixmap().size(), QSize(109, 81));
    EXPECT_EQ(about.Image3->pixmap().size(), QSize(15, 15));
}

TEST_F(About, LinksOpenTheirTargetsAndLeaveTheWindowOpen) {
    CreateForms();
    fake.log.clear();
    OpenAbout([&](TForm3 &about) {
        EXPECT_EQ(about.Label5->toolTip(), QStringLiteral("Все предложения, притензии и заявки писать сюда"));
        EXPECT_EQ(about.Label6->toolTip(), QStringLiteral("За обновлениями и новостями о программе идти сюда."));
        EXPECT_EQ(about.Label5->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(about.Label5->font().underline());

        about.Label5->Click();
        EXPECT_TRUE(about.isVisible());
        about.Label6->Click();
        about.Label3->Click();
        EXPECT_TRUE(about.isVisible());
    });
    EXPECT_EQ(fake.log, (fakes::CallLog{"Open mailto:zindrel@example.org", "Open https://zindrel.example.org/",
                                        "Open https://zindrel.example.org/team/"}));
    EXPECT_TRUE(fake.system.messages.empty());
}

TEST_F(About, ComesBackWhereItWasMovedFromTheSharedPlacementFile) {
    CreateForms();
    QPoint first;
    OpenAbout([&](TForm3 &about) {
        first = about.pos();
        about.move(37, 41);
    });
    // Opened the first time with nothing stored, it was centred on the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(std::abs(first.x() + 203 - screen.center().x()), 1);

    const IniFile help(HelpIni());
    EXPECT_TRUE(help.ReadString("window_help", "NormPos", QString()).startsWith(QStringLiteral("37,41,")));
    EXPECT_EQ(help.ReadInteger("window_help", "Visible", -1), 0);
    // The placement never goes into the per-user settings file.
    EXPECT_EQ(IniFile(SettingsPath()).ReadString("window_help", "NormPos", "absent"), QStringLiteral("absent"));

    QPoint again;
    OpenAbout([&](TForm3 &about) { again = about.pos(); });
    EXPECT_EQ(again, QPoint(37, 41));
}

} // namespace
