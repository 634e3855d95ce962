// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: reading and writing rules, the file's path, encodings and safe writes.
#include "platform/linux/LinuxSystem.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "tests/fakes/FakePlatform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    IniFileTest() {
        fake.system.programFolder = (dir.path() + "/").toStdString();
        path = dir.path() + "/zindrel_tester.ini";
    }
    void Write(const QByteArray &bytes) const {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    fakes::FakePlatform fake;
    QString path;
};

} // namespace

TEST_F(IniFileTest, NoFileGivesEveryDefault) {
    const Settings s = Settings::Read(IniFile(path));
    EXPECT_EQ(s.alpha, 255);
    EXPECT_EQ(s.sec, 15);
    EXPECT_FALSE(s.hide_message_alarm);
    EXPECT_EQ(s.sound_type, 1);
    EXPECT_TRUE(s.sound_file.isEmpty());
    EXPECT_TRUE(s.speedhint);
    EXPECT_TRUE(s.phrases.isEmpty());
    EXPECT_FALSE(s.phrasestray);
    EXPECT_TRUE(s.lightenabled);
    EXPECT_EQ(s.lightspeed, 250);
    EXPECT_EQ(s.lighttime, 3);
    EXPECT_EQ(s.lighttype, 1);
    EXPECT_TRUE(s.pass.isEmpty());
    EXPECT_EQ(s.bkcolor, 16777215);
    EXPECT_EQ(s.color, 16733011);
    EXPECT_FALSE(s.tray_hide);
    EXPECT_EQ(s.text_alarm, QStringLiteral("Таймер 1. Cюда Вы можете вписать то, о чем не хотите забыть."));
    EXPECT_EQ(s.text_alarm.at(10), QChar(0x43)); // the Latin C
    EXPECT_FALSE(QFile::exists(path)) << "reading never creates the file";
}

TEST_F(IniFileTest, NumbersHexDecimalAndGarbage) {
    Write("[main]\r\nalpha=0x96\r\nsec=$1F\r\ncolor=abc\r\nlightspeed=-40\r\nlighttime=99999999999\r\n"
          "lighttype=0x\r\nbkcolor= 12 \r\nsound_type=7\r\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("main", "alpha", 255), 150);
    EXPECT_EQ(ini.ReadInteger("main", "sec", 15), 31);
    EXPECT_EQ(ini.ReadInteger("main", "color", 16733011), 16733011);
    EXPECT_EQ(ini.ReadInteger("main", "lightspeed", 250), -40);
    EXPECT_EQ(ini.ReadInteger("main", "lighttime", 3), 3) << "beyond 32 bits";
    EXPECT_EQ(ini.ReadInteger("main", "lighttype", 1), 1) << "a bare 0x is not a number";
    EXPECT_EQ(ini.ReadInteger("main", "bkcolor", 0), 12) << "surrounding blanks are not part of the value";
    EXPECT_EQ(Settings::Read(ini).sound_type, 7);
    Write("[main]\r\nalpha=abc\r\n");
    EXPECT_EQ(Settings::Read(IniFile(path)).alpha, 255);
}

TEST_F(IniFileTest, EachKeyOfTheTableWritesUnderItsNameAndReadsBack) {
    const IniFile ini(path);
    Settings::Write(ini, setting::Alpha, 180);
    Settings::Write(ini, setting::TrayHide, true);
    Settings::Write(ini, setting::TextAlarm2, QStringLiteral("две\r\nстроки"));
    EXPECT_EQ(Read(), QByteArray("[main]\r\nalpha=180\r\ntray_hide=1\r\ntext_alarm2=\x01две\\r\\nстроки\r\n"));
    EXPECT_EQ(Settings::Read(ini, setting::Alpha), 180);
    EXPECT_TRUE(Settings::Read(ini, setting::TrayHide));
    EXPECT_EQ(Settings::Read(ini, setting::Sec), 15) << "a missing key gives the table's default";
    EXPECT_EQ(Settings::Read(ini, setting::TextAlarm2), QStringLiteral("две\r\nстроки"));
    const Settings s = Settings::Read(ini);
    EXPECT_EQ(s.alpha, 180);
    EXPECT_TRUE(s.tray_hide);
    EXPECT_EQ(s.text_alarm, kDefaultTextAlarm);

    // A stored value outside the range its control offers reads as it stands.
    Settings::Write(ini, setting::LightSpeed, 5);
    EXPECT_EQ(Settings::Read(ini).lightspeed, 5);
    EXPECT_LT(5, setting::LightSpeed.min);
    EXPECT_EQ(setting::Alpha.max, 255) << "255 is the opaque end of the opacity slider";
    EXPECT_EQ(setting::LightType.max - setting::LightType.min + 1, 9) << "one value per blink pattern";

    // A snapshot answers from its one reading: a later write shows in the file, not in it.
    const IniFile before = ini.Snapshot();
    Settings::Write(ini, setting::Alpha, 200);
    EXPECT_EQ(Settings::Read(before, setting::Alpha), 180);
    EXPECT_EQ(Settings::Read(ini, setting::Alpha), 200);
}

TEST_F(IniFileTest, FlagsAndNamesIgnoreLetterCase) {
    Write("[MAIN]\r\nTRAY_HIDE=1\r\nSpeedHint=0\r\nlightenabled=5\r\n[other]\r\npass=no\r\n");
    const IniFile ini(path);
    EXPECT_TRUE(ini.ReadBool("main", "tray_hide", false));
    EXPECT_FALSE(ini.ReadBool("Main", "speedhint", true));
    EXPECT_TRUE(ini.ReadBool("main", "lightenabled", false)) << "any non-zero number is true";
    EXPECT_EQ(ini.ReadString("main", "pass", "default"), "default") << "a key of another section";
}

TEST_F(IniFileTest, WritesReplaceInPlaceAndKeepOtherLinesAndOrder) {
    Write("; a comment\r\n[main]\r\nalpha=200\r\nsec=15\r\n\r\n[window_main]\r\nShowCmd=1\r\n");
    const IniFile ini(path);
    ini.WriteInteger("main", "ALPHA", 180);
    ini.WriteString("main", "phrases", "/home/u/f.txt");
    ini.WriteBool("new", "flag", true);
    EXPECT_EQ(Read(), QByteArray("; a comment\r\n[main]\r\nALPHA=180\r\nsec=15\r\nphrases=/home/u/f.txt\r\n\r\n"
                                 "[window_main]\r\nShowCmd=1\r\n[new]\r\nflag=1\r\n"));
    EXPECT_EQ(ini.ReadInteger("main", "alpha", 0), 180);
}

TEST_F(IniFileTest, ValuesAreCutAt2047CharactersAndMultiLineTextsRoundTrip) {
    const IniFile ini(path);
    ini.WriteString("main", "long", QString(3000, u'x'));
    EXPECT_EQ(ini.ReadString("main", "long", "").size(), 2047);
    const QString threeLines = QStringLiteral("первая\r\nвторая \\n не перевод\nтретья");
    ini.WriteString("main", "text_alarm", threeLines);
    ini.WriteString("main", "path", QStringLiteral("C:\\Program Files\\x\\n.wav"));
    EXPECT_EQ(ini.ReadString("main", "text_alarm", ""), threeLines);
    EXPECT_EQ(ini.ReadString("main", "path", ""), QStringLiteral("C:\\Program Files\\x\\n.wav"));
    EXPECT_TRUE(Read().contains("path=C:\\Program Files\\x\\n.wav\r\n")) << "single-line values stand as they are";

    // The limit counts the text, not its escapes: 2000 characters with many breaks and backslashes come back whole.
    QString escaped;
    while (escaped.size() < 2000) {
        escaped += QStringLiteral("ab\\\r\n");
    }
    escaped.truncate(2000);
    ini.WriteString("main", "text_alarm", escaped);
    EXPECT_EQ(ini.ReadString("main", "text_alarm", ""), escaped);
    // A cut of a longer one falls between characters of the text, never inside an escape or a surrogate pair.
    const QString longer = QString(2046, u'\n') + QStringLiteral("\U0001F600tail");
    ini.WriteString("main", "text_alarm", longer);
    EXPECT_EQ(ini.ReadString("main", "text_alarm", ""), QString(2046, u'\n'));
}

TEST_F(IniFileTest, NewFileIsPrivateAndWrittenInUtf8) {
    IniFile(path).WriteString("main", "pass", QStringLiteral("секрет"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(Read(), QByteArray("[main]\r\npass=секрет\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1) << "no temporary file left behind";

    // A file left readable by everyone becomes private at the next write.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    IniFile(path).WriteInteger("main", "alpha", 200);
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(IniFileTest, AWriteRemovesTemporariesThatKilledWritesLeftBehind) {
    const QString stale = path + ".tmp.Ab12Cd";
    const QString fresh = path + ".tmp.Ef34Gh";
    const QString other = path + ".backup";
    for (const QString &name : {stale, fresh, other}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[main]\r\nalp");
    }
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString &name : {stale, other}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(hourAgo, QFileDevice::FileModificationTime));
    }
    IniFile(path).WriteInteger("main", "alpha", 200);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(fresh)) << "a temporary of a write that may still be going on is left alone";
    EXPECT_TRUE(QFile::exists(other)) << "only the writer's own temporary names";
    EXPECT_EQ(IniFile(path).ReadInteger("main", "alpha", 0), 200);
}

TEST_F(IniFileTest, ASettingsFileThatIsALinkStaysALinkAndItsTargetIsWritten) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("dotfiles")));
    const QString target = dir.path() + "/dotfiles/zindrel.ini";
    ASSERT_TRUE(QFile::link(QStringLiteral("dotfiles/zindrel.ini"), path));
    IniFile(path).WriteInteger("main", "alpha", 200);
    IniFile(path).WriteInteger("main", "sec", 30);
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), target);
    EXPECT_EQ(Read(), QByteArray("[main]\r\nalpha=200\r\nsec=30\r\n"));
    EXPECT_EQ(QDir(dir.path() + "/dotfiles").entryList(QDir::Files).size(), 1) << "no temporary left beside it";
}

TEST_F(IniFileTest, Windows1251FileReadsRight) {
    // "pass=Пароль" in Windows-1251.
    Write("[main]\r\npass=\xCF\xE0\xF0\xEE\xEB\xFC\r\ntext_alarm=\xA8\xF1\xF2\xFC \xB8\r\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.ReadString("main", "pass", ""), QStringLiteral("Пароль"));
    EXPECT_EQ(ini.ReadString("main", "text_alarm", ""), QStringLiteral("Ёсть ё"));
}

TEST_F(IniFileTest, RefusedWriteNamesTheFileAndLeavesTheOldOneIntact) {
    const QByteArray old("[main]\r\nalpha=200\r\n");
    Write(old);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    try {
        IniFile(path).WriteInteger("main", "alpha", 150);
        ADD_FAILURE() << "the write into a read-only folder went through";
    } catch (const IniWriteError &error) {
        EXPECT_EQ(QString::fromStdString(error.what()), "Unable to write to " + path);
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(Read(), old);
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    EXPECT_THROW(IniFile(path).WriteInteger("main", "alpha", 150), IniWriteError);
    EXPECT_EQ(Read(), old);

    // A file that cannot be read is never replaced by one holding only the key being written.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0200), 0);
    try {
        IniFile(path).WriteString("main", "pass", "x");
        ADD_FAILURE() << "an unreadable file was written over";
    } catch (const IniWriteError &error) {
        EXPECT_EQ(QString::fromStdString(error.what()), "Unable to write to " + path);
    }
    ::chmod(QFile::encodeName(path).constData(), 0600);
    EXPECT_EQ(Read(), old);
}

TEST_F(IniFileTest, PathIsProgramFolderPlusUserName) {
    EXPECT_EQ(SettingsFilePath(), dir.path() + "/zindrel_tester.ini");
    fake.system.userName = "";
    EXPECT_EQ(SettingsFilePath(), dir.path() + "/zindrel_.ini");
    fake.system.userName = "Иван Петров";
    EXPECT_EQ(SettingsFilePath(), dir.path() + "/zindrel_Иван Петров.ini");
}

// The Linux backend's own rule, for an executable at a path the test names.
struct ExecutableAt : platform::LinuxSystem {
    explicit ExecutableAt(const QString &at) : path(at.toStdString()) {}
    std::string ExecutablePath() override { return path; }
    std::string path;
};

TEST_F(IniFileTest, AnInstalledProgramKeepsItsSettingsInTheUsersFolderAPortableOneBesideItself) {
    const std::optional<QByteArray> saved =
        qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? std::optional(qgetenv("XDG_CONFIG_HOME")) : std::nullopt;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + "/config"));
    // Root may write to /usr/bin; the settings still go where each user's own are.
    EXPECT_EQ(ExecutableAt("/usr/bin/zindrel").ProgramFolder(), (dir.path() + "/config/zindrel/").toStdString());
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/portable"));
    EXPECT_EQ(ExecutableAt(dir.path() + "/portable/zindrel").ProgramFolder(),
              (dir.path() + "/portable/").toStdString());
    saved ? qputenv("XDG_CONFIG_HOME", *saved) : qunsetenv("XDG_CONFIG_HOME");
}

TEST(SplitLines, BreaksAtCrLfCrOrLfKeepsEmptyLinesAndStopsAtNul) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitLines(QString("a\nb") + QChar(0) + "c\n"), QStringList({"a", "b"}));
    EXPECT_TRUE(SplitLines("").isEmpty());
}
