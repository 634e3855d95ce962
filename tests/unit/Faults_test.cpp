// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside: a full disk, a read-only folder, oversized and damaged files, huge phrase and launch lists.
#include "actions/LaunchList.h"
#include "actions/Unit7.h"
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/FormStorage.h"
#include "settings/IniFile.h"
#include "settings/JpegPicture.h"
#include "settings/Settings.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QRandomGenerator>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Unmounts the scratch file system however the test leaves its scope.
struct Mounted {
    QByteArray path;
    ~Mounted() { ::umount(path.constData()); }
};

class Faults : public fakes::TestApp {
protected:
    QByteArray Read(const QString &path) const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The temporary files a refused write might have left beside the settings file.
    QStringList Leftovers(const QString &folder) const {
        return QDir(folder).entryList({QStringLiteral("*.ini.*")}, QDir::Files | QDir::Hidden);
    }
    // A settings file of several keys, as the settings window leaves it.
    static void WriteOldSettings(const QString &path) {
        const IniFile ini(path);
        ini.WriteInteger(keys::Main, keys::Alpha, 200);
        ini.WriteInteger(keys::Main, keys::Sec, 30);
        ini.WriteString(keys::Main, keys::TextAlarm, QStringLiteral("Старый текст\r\nвторая строка"));
        ini.WriteString(keys::Main, keys::Phrases, QStringLiteral("/home/user/phrases.txt"));
    }
    // Runs a write that must be refused and returns what it threw ("" if it went through).
    static std::string RefusedWrite(const QString &path) {
        try {
            IniFile(path).WriteString(keys::Main, keys::TextAlarm, QString(2000, u'Ж'));
        } catch (const IniWriteError &error) {
            return error.what();
        }
        return {};
    }
    static void ExpectDefaults(const Settings &s, const char *what) {
        const Settings d;
        EXPECT_EQ(s.alpha, d.alpha) << what;
        EXPECT_EQ(s.sec, d.sec) << what;
        EXPECT_EQ(s.hide_message_alarm, d.hide_message_alarm) << what;
        EXPECT_EQ(s.sound_type, d.sound_type) << what;
        EXPECT_EQ(s.sound_file, d.sound_file) << what;
        EXPECT_EQ(s.speedhint, d.speedhint) << what;
        EXPECT_EQ(s.phrases, d.phrases) << what;
        EXPECT_EQ(s.phrasestray, d.phrasestray) << what;
        EXPECT_EQ(s.lightenabled, d.lightenabled) << what;
        EXPECT_EQ(s.lightspeed, d.lightspeed) << what;
        EXPECT_EQ(s.lighttime, d.lighttime) << what;
        EXPECT_EQ(s.lighttype, d.lighttype) << what;
        EXPECT_EQ(s.pass, d.pass) << what;
        EXPECT_EQ(s.bkcolor, d.bkcolor) << what;
        EXPECT_EQ(s.color, d.color) << what;
        EXPECT_EQ(s.tray_hide, d.tray_hide) << what;
        EXPECT_EQ(s.text_alarm, d.text_alarm) << what;
        EXPECT_EQ(s.text_alarm2, d.text_alarm2) << what;
    }
    // Reads the whole record from a file holding bytes, and says how long it took.
    Settings ReadTimed(const QByteArray &bytes, const char *what) const {
        const QString path = WriteFile(QStringLiteral("damaged.ini"), bytes);
        QElapsedTimer timer;
        timer.start();
        const Settings s = Settings::Read(IniFile(path));
        std::printf("[ figures  ] %s (%lld bytes): Settings::Read %lld ms\n", what,
                    static_cast<long long>(bytes.size()), static_cast<long long>(timer.elapsed()));
        return s;
    }
};

TEST_F(Faults, FullDiskAndReadOnlyFolderRefuseTheWriteAndKeepTheOldFileByteForByte) {
    const QString path = SettingsPath();
    WriteOldSettings(path);
    const QByteArray old = Read(path);
    const std::string expected = ("Unable to write to " + path).toStdString();

    // A file size limit stands for the full disk everywhere: the child writes under it, SIGXFSZ ignored, so the
    // write fails with EFBIG as it would with ENOSPC.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFds[0]);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(old.size() + 64), static_cast<rlim_t>(old.size() + 64)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string message = RefusedWrite(path);
        const ssize_t written = ::write(pipeFds[1], message.data(), message.size());
        ::_exit(written == static_cast<ssize_t>(message.size()) ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        message.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(message, expected) << "size limit " << old.size() + 64 << " bytes";
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Leftovers(folder.path()), QStringList());
    std::printf("[ figures  ] file size limit %lld bytes: write refused, old file of %lld bytes intact\n",
                static_cast<long long>(old.size() + 64), static_cast<long long>(old.size()));

    // A real full file system where a small tmpfs can be mounted (as root).
    QTemporaryDir mountPoint;
    const QByteArray mountPath = QFile::encodeName(mountPoint.path());
    if (::mount("tmpfs", mountPath.constData(), "tmpfs", 0, "size=64k,mode=0755") == 0) {
        const Mounted mounted{mountPath};
        const QString onTmpfs = mountPoint.path() + QStringLiteral("/zindrel_tester.ini");
        WriteOldSettings(onTmpfs);
        const QByteArray before = Read(onTmpfs);
        QFile filler(mountPoint.path() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        qint64 filled = 0;
        for (qint64 n; (n = filler.write(block)) > 0;) {
            filled += n;
        }
        filler.close();
        EXPECT_EQ(RefusedWrite(onTmpfs), ("Unable to write to " + onTmpfs).toStdString());
        EXPECT_EQ(Read(onTmpfs), before);
        EXPECT_EQ(Leftovers(mountPoint.path()), QStringList());
        std::printf("[ figures  ] tmpfs of 64 KiB filled with %lld bytes: write refused, old file intact\n",
                    static_cast<long long>(filled));
    } else {
        std::printf("[ figures  ] tmpfs: cannot mount here (%s), the size limit stands for the full disk\n",
                    std::strerror(errno));
    }

    // A read-only folder.
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0555), 0);
    const std::string readOnly = RefusedWrite(path);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    EXPECT_EQ(readOnly, expected);
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(Leftovers(folder.path()), QStringList());
}

TEST_F(Faults, OversizedBinaryAndNulFilesReadAsDefaults) {
    // 50 MB of lines, none of them a setting of section main.
    QByteArray big;
    big.reserve(50 << 20);
    big += "[other]\r\n";
    for (int i = 0; big.size() < (50 << 20); ++i) {
        big += "key" + QByteArray::number(i) + "=some value that is not a setting of the program\r\n";
    }
    // Every value read goes through the whole file, so a 50 MB file is read key by key, not as a record.
    const QString bigPath = WriteFile(QStringLiteral("big.ini"), big);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(IniFile(bigPath).ReadInteger(keys::Main, keys::Alpha, 255), 255);
    EXPECT_EQ(IniFile(bigPath).ReadString(keys::Main, keys::TextAlarm, kDefaultTextAlarm), kDefaultTextAlarm);
    std::printf("[ figures  ] 50 MB of foreign lines (%lld bytes): %lld ms per value read\n",
                static_cast<long long>(big.size()), static_cast<long long>(timer.elapsed() / 2));
    big.clear();
    big.squeeze();

    const QByteArray megabyte(1 << 20, '7');
    ExpectDefaults(ReadTimed("[main]\r\n" + QByteArray(1 << 20, 'x') + "\r\n", "a 1 MB line"), "1 MB line");
    ExpectDefaults(ReadTimed("[main]\r\nalpha=" + megabyte + "\r\nsec=" + megabyte + "\r\n", "1 MB numbers"),
                   "1 MB numbers");
    // A megabyte-long text is cut to the longest value a setting holds.
    const QString path = WriteFile(QStringLiteral("long.ini"), "[main]\r\ntext_alarm=" + megabyte + "\r\n");
    EXPECT_EQ(IniFile(path).ReadString(keys::Main, keys::TextAlarm, QString()), QString(2047, u'7'));

    QByteArray junk(1 << 20, '\0');
    QRandomGenerator generator(20261207);
    for (char &c : junk) {
        c = static_cast<char>(generator.bounded(256));
    }
    ExpectDefaults(ReadTimed(junk, "1 MB of binary junk"), "binary junk");
    ExpectDefaults(ReadTimed(QByteArray(1 << 20, '\0'), "1 MB of NULs"), "NULs");
}

TEST_F(Faults, MillionLinePhrasesAndAnUnbrokenOneDrawALineOfTheFile) {
    QByteArray million;
    million.reserve(16 << 20);
    for (int i = 0; i < 1000000; ++i) {
        million += "Фраза " + QByteArray::number(i) + "\r\n";
    }
    IniFile(SettingsPath()).WriteString(keys::Main, keys::Phrases, WriteFile(QStringLiteral("million.txt"), million));
    QElapsedTimer timer;
    timer.start();
    CreateForms();
    const qint64 startMs = timer.elapsed();
    const QString caption = Form1->Label8->Caption();
    ASSERT_TRUE(caption.startsWith(QStringLiteral("Фраза "))) << caption.toStdString();
    bool ok = false;
    const int number = caption.mid(6).toInt(&ok);
    EXPECT_TRUE(ok && number >= 0 && number < 1000000) << caption.toStdString();

    const QString unbroken = QString(300000, u'ы') + QStringLiteral(" конец");
    Form1->PhrasesPath = WriteFile(QStringLiteral("unbroken.txt"), unbroken.toUtf8());
    timer.restart();
    Form1->ShowRandomPhrase();
    EXPECT_EQ(Form1->Label8->Caption(), unbroken);
    EXPECT_TRUE(fake.system.messages.empty());
    std::printf("[ figures  ] phrases: 1 000 000 lines (%lld bytes) drawn at start in %lld ms; one line of %lld "
                "characters in %lld ms\n",
                static_cast<long long>(million.size()), static_cast<long long>(startMs),
                static_cast<long long>(unbroken.size()), static_cast<long long>(timer.elapsed()));
}

TEST_F(Faults, LaunchListOfTenThousandEntriesLoadsRunsAndSavesWhole) {
    QByteArray file;
    for (int i = 0; i < 10000; ++i) {
        file += "/usr/bin/program" + QByteArray::number(i) + " --flag \"argument " + QByteArray::number(i) + "\"\r\n";
    }
    const QString path = WriteFile(QStringLiteral("runfiles.ini"), file);
    CreateForms();
    QElapsedTimer timer;
    timer.start();
    Form7->SpeedButton4->click();
    const qint64 loadMs = timer.elapsed();
    ASSERT_EQ(Form7->ListBox1->count(), 10000);
    EXPECT_EQ(Form7->ListBox1->item(9999)->text(), "/usr/bin/program9999 --flag \"argument 9999\"");

    Form7->CheckBox5->setChecked(true);
    fake.log.clear();
    Form7->RunLaunchList();
    ASSERT_EQ(fake.Count("Launch /usr/bin/program0 --flag \"argument 0\""), 1);
    ASSERT_EQ(fake.log.size(), 10000u);
    EXPECT_EQ(fake.log[4321], "Launch /usr/bin/program4321 --flag \"argument 4321\"");

    ASSERT_TRUE(QFile::remove(path));
    timer.restart();
    Form7->SpeedButton3->click();
    EXPECT_EQ(Read(path), file);
    EXPECT_TRUE(fake.system.messages.empty());
    std::printf("[ figures  ] runfiles.ini: 10 000 entries loaded in %lld ms, saved in %lld ms\n",
                static_cast<long long>(loadMs), static_cast<long long>(timer.elapsed()));
}

// Inputs the fuzz targets found (fuzz/corpus/): each once crashed or exhausted memory.
TEST_F(Faults, DamagedPlacementAndPictureHeadersAreRefused) {
    QWidget window;
    window.move(40, 50);
    const QString placement =
        WriteFile(QStringLiteral("placement.ini"), "[window_fuzz]\r\nNormPos=10,-2147483648,500,5\r\nShowCmd=2\r\n");
    {
        FormStorage storage(&window, QStringLiteral("window_fuzz"));
        storage.SetIniFileName(placement);
        storage.RestorePlacement();
        EXPECT_EQ(window.pos(), QPoint(40, 50)) << "a corner beyond the coordinate plane moved the window";
    }
    // ShowCmd 2 minimised through the application; that window gone, the next one asking must not reach it.
    {
        auto *gone = new QWidget;
        Application::Minimize(gone);
        delete gone;
    }
    EXPECT_FALSE(Application::Minimized());

    QFile huge(QStringLiteral(ZINDREL_SOURCE_DIR "/fuzz/corpus/jpeg_fuzz/oom-huge-dimensions"));
    ASSERT_TRUE(huge.open(QIODevice::ReadOnly));
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(JpegPicture::Decode(huge.readAll()).isNull());
    EXPECT_LT(timer.elapsed(), 1000) << "a header claiming gigapixels was decoded";
}

} // namespace
