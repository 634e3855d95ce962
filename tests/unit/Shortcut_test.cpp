// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux desktop entry behind "Создать ярлык", the desktop folder lookup and the detached xdg-open.
#include "app/Forms.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxDesktop.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

namespace {

// Points HOME and the XDG folders at a private folder for one test and puts them back after.
class PrivateHome {
public:
    PrivateHome() {
        for (const char *name : kNames) {
            saved_.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        }
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + "/data"));
        QDir().mkpath(home.path() + "/config");
    }
    ~PrivateHome() {
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            saved_[i] ? qputenv(kNames[i], *saved_[i]) : qunsetenv(kNames[i]);
        }
    }
    void UserDirs(const QByteArray &content) const {
        QFile file(home.path() + "/config/user-dirs.dirs");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir home;

private:
    static constexpr const char *kNames[] = {
        "HOME",    "XDG_CONFIG_HOME", "XDG_DATA_HOME",   "XDG_DATA_DIRS", "PATH", "WAYLAND_DISPLAY",
        "DISPLAY", "QT_QPA_PLATFORM", "QT_XCB_NO_MITSHM"};
    std::vector<std::optional<QByteArray>> saved_;
};

QString Read(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// desktop-file-validate's verdict: empty when it accepts the entry, its complaints otherwise.
std::optional<QString> Validate(const QString &path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (tool.isEmpty()) {
        return std::nullopt;
    }
    QProcess process;
    process.start(tool, {path});
    process.waitForFinished(10000);
    const QString output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitCode() == 0 && !output.contains(QStringLiteral("error")) ? QString() : output;
}

TEST(LinuxDesktopFolder, UserDirsDecideTheDesktopFolder) {
    PrivateHome env;
    const QString home = env.home.path();
    EXPECT_EQ(QString::fromStdString(platform::LinuxDesktop::DesktopFolder()), home + "/Desktop");

    env.UserDirs("# XDG_DESKTOP_DIR=\"$HOME/commented\"\nXDG_DOWNLOAD_DIR=\"$HOME/Загрузки\"\n"
                 "XDG_DESKTOP_DIR=\"$HOME/Рабочий стол\"\n");
    EXPECT_EQ(QString::fromStdString(platform::LinuxDesktop::DesktopFolder()), home + "/Рабочий стол");

    env.UserDirs("XDG_DESKTOP_DIR=\"/srv/desk/\"\n");
    EXPECT_EQ(platform::LinuxDesktop::DesktopFolder(), "/srv/desk");

    // A value the format does not allow (relative, unquoted) leaves the default.
    env.UserDirs("XDG_DESKTOP_DIR=desk\nXDG_DESKTOP_DIR=\"relative/desk\"\n");
    EXPECT_EQ(QString::fromStdString(platform::LinuxDesktop::DesktopFolder()), home + "/Desktop");
}

TEST(LinuxDesktopEntry, ReservedCharactersInTheProgramPathAreEscaped) {
    const std::string entry =
        platform::LinuxDesktop::DesktopEntry("/opt/my apps/z\"in$dr\\el%", "/opt/my apps/", "Zindrel", "");
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/z\\\\\"in\\\\$dr\\\\\\\\el%%\"\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nPath=/opt/my apps/\n"), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Icon="), std::string::npos);

    PrivateHome env;
    const QString path = env.home.path() + "/odd.desktop";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(entry.c_str());
    file.close();
    const auto verdict = Validate(path);
    if (!verdict) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    EXPECT_TRUE(verdict->isEmpty()) << verdict->toStdString();
}

// The dialog's command against the real Linux backend: the entry starts the program from its folder.
class DesktopShortcut : public fakes::TestApp {};

TEST_F(DesktopShortcut, MakesAValidExecutableEntryForTheProgram) {
    PrivateHome env;
    env.UserDirs("XDG_DESKTOP_DIR=\"$HOME/Стол\"\n");
    platform::LinuxDesktop linuxDesktop;
    CreateForms();
    platform::Current().desktop = &linuxDesktop;
    Form4->SpeedButton3Click(Form4->SpeedButton3);
    platform::Current().desktop = &fake.desktop;

    const QString entryPath = env.home.path() + "/Стол/Zindrel.desktop";
    const QString text = Read(entryPath);
    ASSERT_FALSE(text.isEmpty()) << entryPath.toStdString();
    const QString folder = QString::fromStdString(fake.system.programFolder);
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nName=Zindrel\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"") + folder + QStringLiteral("zindrel\"\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nPath=") + folder + QStringLiteral("\n")));
    const QString icon = env.home.path() + "/data/icons/zindrel.png";
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=") + icon + QStringLiteral("\n"))) << text.toStdString();
    QFile iconFile(icon);
    ASSERT_TRUE(iconFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(iconFile.readAll().startsWith("\x89PNG"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(entryPath).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755U);
    EXPECT_TRUE(fake.system.messages.empty());

    const auto verdict = Validate(entryPath);
    if (!verdict) {
        GTEST_SKIP() << "desktop-file-validate is not installed";
    }
    EXPECT_TRUE(verdict->isEmpty()) << verdict->toStdString();
}

// An installed program's shortcut starts the installed binary and names the installed icon, copying no picture.
TEST_F(DesktopShortcut, AnInstalledProgramNamesItsThemeIcon) {
    PrivateHome env;
    const QString prefix = env.home.path() + "/usr";
    const QString drawing = prefix + "/share/icons/hicolor/scalable/apps/zindrel.svg";
    QDir().mkpath(QFileInfo(drawing).path());
    QFile svg(drawing);
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    svg.close();
    platform::LinuxDesktop linuxDesktop;
    CreateForms();
    fake.system.programFolder = (prefix + "/bin/").toStdString();
    platform::Current().desktop = &linuxDesktop;
    const QString entryPath = env.home.path() + "/Desktop/Zindrel.desktop";

    qputenv("XDG_DATA_DIRS", QFile::encodeName("/usr/share/:" + prefix + "/share/"));
    Form4->SpeedButton3Click(Form4->SpeedButton3);
    QString text = Read(entryPath);
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"") + prefix + QStringLiteral("/bin/zindrel\"\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=zindrel\n"))) << text.toStdString();

    // A prefix the desktop does not search for icons: the entry names the drawing itself.
    qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    Form4->SpeedButton3Click(Form4->SpeedButton3);
    platform::Current().desktop = &fake.desktop;
    text = Read(entryPath);
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=") + drawing + QStringLiteral("\n"))) << text.toStdString();
    EXPECT_FALSE(QFile::exists(env.home.path() + "/data/icons/zindrel.png"));

    // Installed for this user alone (prefix ~/.local): the user's data folder is searched too.
    qputenv("XDG_DATA_HOME", QFile::encodeName(prefix + "/share"));
    EXPECT_EQ(platform::LinuxDesktop::InstalledIcon((prefix + "/bin/zindrel").toStdString()), "zindrel");
    EXPECT_EQ(platform::LinuxDesktop::InstalledIcon((prefix + "/lib/zindrel").toStdString()), "");
    EXPECT_EQ(platform::LinuxDesktop::InstalledIcon("zindrel"), "");
}

TEST(LinuxDesktopOpen, HandsTheTargetToXdgOpenWithoutWaiting) {
    PrivateHome env;
    const QString bin = env.home.path() + "/bin";
    QDir().mkpath(bin);
    const QString record = env.home.path() + "/opened";
    {
        QFile script(bin + "/xdg-open");
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\nenv > '" + record + ".env'\nprintf '%s\\n' \"$@\" > '" + record + ".part' && mv '" +
                      record + ".part' '" + record + "'\n")
                         .toUtf8());
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(bin) + ":/usr/bin:/bin");
    // A Wayland session with XWayland, and a variable the user set: the program's own choices stay its own.
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    qunsetenv("QT_QPA_PLATFORM");
    qputenv("QT_XCB_NO_MITSHM", "the user's");
    platform::ChooseDisplayProtocol();
    platform::LinuxDesktop desktop;
    EXPECT_TRUE(desktop.OpenTarget("mailto:someone@example.org?subject=a b&body=$x"));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(record) && waited.elapsed() < 10000) {
        QThread::msleep(20);
    }
    EXPECT_EQ(Read(record), QStringLiteral("mailto:someone@example.org?subject=a b&body=$x\n"));
    const QString environment = QLatin1Char('\n') + Read(record + ".env");
    EXPECT_FALSE(environment.contains(QStringLiteral("\nQT_QPA_PLATFORM="))) << "set by us";
    EXPECT_TRUE(environment.contains(QStringLiteral("\nQT_XCB_NO_MITSHM=the user's\n"))) << "set by the user";
}

} // namespace
