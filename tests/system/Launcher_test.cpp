// SPDX-License-Identifier: GPL-3.0-or-later
// The real Linux launcher: every entry runs, none is waited for, and no child of ours is left behind.
#include "platform/linux/LinuxLauncher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The processes whose parent is this one, with their /proc state letters.
std::vector<std::string> OurChildren() {
    std::vector<std::string> children;
    const std::string self = std::to_string(::getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QByteArray line = stat.readAll();
        // pid (comm) state ppid ...; comm may hold spaces, so read after the last ')'.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[1].toStdString() == self) {
            children.push_back(pid.toStdString() + " " + fields[0].toStdString());
        }
    }
    return children;
}

bool WaitForFile(const QString &path, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path) && timer.elapsed() < ms) {
        QThread::msleep(20);
    }
    return QFile::exists(path);
}

TEST(Launcher, EntriesAllRunNoneIsWaitedForAndNoChildIsLeft) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::LinuxLauncher launcher;
    const std::string d = dir.path().toStdString();

    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(launcher.Start("sleep 5; touch '" + d + "/late'"));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(launcher.Start("echo " + std::to_string(i) + " > '" + d + "/entry" + std::to_string(i) + "'"));
    }
    EXPECT_LT(timer.elapsed(), 1000) << "starting must not wait for the programs";
    EXPECT_TRUE(OurChildren().empty()) << "the started shells belong to no process of ours";

    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(WaitForFile(dir.filePath(QStringLiteral("entry%1").arg(i)), 5000)) << "entry " << i;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("late")))) << "the slow entry is still sleeping";
    EXPECT_TRUE(WaitForFile(dir.filePath(QStringLiteral("late")), 8000));
    EXPECT_TRUE(OurChildren().empty());
}

TEST(Launcher, StartedShellRunsInItsOwnSession) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::LinuxLauncher launcher;
    const QString out = dir.filePath(QStringLiteral("sid"));
    ASSERT_TRUE(launcher.Start("ps -o sid= -p $$ > '" + out.toStdString() + "'"));
    ASSERT_TRUE(WaitForFile(out, 5000));
    QThread::msleep(200);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const pid_t sid = file.readAll().trimmed().toInt();
    EXPECT_NE(sid, 0);
    EXPECT_NE(sid, ::getsid(0)) << "a new session, away from the program's terminal";
}

TEST(Launcher, APickedProgramStartsAsThatFileWhateverItsNameHolds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::LinuxLauncher launcher;
    EXPECT_EQ(launcher.ProgramCommandLine("/usr/bin/true"), "/usr/bin/true") << "a plain path stays as it is";
    const QString marker = dir.filePath(QStringLiteral("ran"));
    const QString shellCode = dir.filePath(QStringLiteral("shell-code-ran"));
    // A name that /bin/sh would split into commands, expand and redirect if it were taken as written.
    const QString program = dir.filePath(QStringLiteral("a;touch shell-code-ran; $(x) `y` 'q' \"w\" <in >out & ~"));
    QFile file(program);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    file.close();
    ASSERT_TRUE(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    // The shell starts in the test's folder, where a name taken as shell code would leave its files.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool started = launcher.Start(launcher.ProgramCommandLine(program.toStdString()));
    QDir::setCurrent(before);
    ASSERT_TRUE(started);
    EXPECT_TRUE(WaitForFile(marker, 5000)) << "the picked file ran";
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(shellCode)) << "its name ran as shell code";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "no file made by a redirection";
}

} // namespace
