// SPDX-License-Identifier: GPL-3.0-or-later
// The one parser of the options and bus arguments: what it takes, what it refuses and why, and the round trip.
#include "app/CommandLine.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

using Action = Command::Action;

struct Good {
    QStringList arguments;
    Action action;
    std::optional<TaskKind> task;
    int minutes, hour, minute;
};

struct Bad {
    QStringList arguments;
    // A piece of the message that names what was wrong.
    QString names;
};

} // namespace

TEST(CommandLine, TakesEachCommandAndTheBusMethodsCheckTheirArgumentsAlike) {
    const Good cases[] = {
        {{}, Action::Bring, std::nullopt, 0, 0, 0},
        {{"--in", "90", "--do", "poweroff"}, Action::ArmCountdown, TaskKind::Shutdown, 90, 0, 0},
        {{"--do", "sleep", "--in=1"}, Action::ArmCountdown, TaskKind::Sleep, 1, 0, 0},
        {{"-in", "9999"}, Action::ArmCountdown, std::nullopt, 9999, 0, 0},
        {{"--at", "7:30", "--do", "text"}, Action::ArmAlarm, TaskKind::RemindText, 0, 7, 30},
        {{"--at", "23:59"}, Action::ArmAlarm, std::nullopt, 0, 23, 59},
        {{"--at", "00:00", "--do", "monitor-off"}, Action::ArmAlarm, TaskKind::MonitorOff, 0, 0, 0},
        {{"--cancel"}, Action::Cancel, std::nullopt, 0, 0, 0},
        {{"--pause"}, Action::Pause, std::nullopt, 0, 0, 0},
        {{"--resume"}, Action::Resume, std::nullopt, 0, 0, 0},
        {{"--show"}, Action::Show, std::nullopt, 0, 0, 0},
        {{"--hide"}, Action::Hide, std::nullopt, 0, 0, 0},
        {{"--quit"}, Action::Quit, std::nullopt, 0, 0, 0},
        {{"--status"}, Action::Status, std::nullopt, 0, 0, 0},
        {{"--help"}, Action::Help, std::nullopt, 0, 0, 0},
        {{"--version"}, Action::Version, std::nullopt, 0, 0, 0},
    };
    for (const Good &c : cases) {
        const QString line = c.arguments.join(u' ');
        const ParsedCommand parsed = ParseCommand(c.arguments);
        ASSERT_TRUE(parsed.Ok()) << line.toStdString() << ": " << parsed.error.toStdString();
        const Command &command = parsed.command;
        EXPECT_EQ(command.action, c.action) << line.toStdString();
        EXPECT_EQ(command.task, c.task) << line.toStdString();
        EXPECT_EQ(command.minutes, c.minutes) << line.toStdString();
        EXPECT_EQ(command.hour, c.hour) << line.toStdString();
        EXPECT_EQ(command.minute, c.minute) << line.toStdString();
    }
    using Kind = platform::CommandRequest::Kind;
    const ParsedCommand countdown = CheckRequest({Kind::ArmCountdown, 90, {}, "poweroff"});
    ASSERT_TRUE(countdown.Ok());
    EXPECT_EQ(countdown.command.action, Action::ArmCountdown);
    EXPECT_EQ(countdown.command.minutes, 90);
    EXPECT_EQ(countdown.command.task, TaskKind::Shutdown);
    const ParsedCommand alarm = CheckRequest({Kind::ArmAlarm, 0, "7:05", {}});
    ASSERT_TRUE(alarm.Ok());
    EXPECT_EQ(alarm.command.hour * 100 + alarm.command.minute, 705);
    EXPECT_EQ(alarm.command.task, std::nullopt) << "an empty task keeps the window's choice";
    EXPECT_EQ(CheckRequest({Kind::Cancel, 0, {}, {}}).command.action, Action::Cancel);
    EXPECT_TRUE(CheckRequest({Kind::ArmCountdown, 0, {}, {}}).error.contains("«0»"));
    EXPECT_TRUE(CheckRequest({Kind::ArmAlarm, 0, "24:00", {}}).error.contains("«24:00»"));
    EXPECT_TRUE(CheckRequest({Kind::ArmCountdown, 5, {}, "--in"}).error.contains("«--in»"));
}

TEST(CommandLine, RefusesWithAMessageNamingWhatIsWrong) {
    const Bad cases[] = {
        {{"--bogus"}, "bogus"},
        {{"--in"}, "in"},
        {{"--in", "0"}, "«0»"},
        {{"--in", "10000"}, "«10000»"},
        {{"--in", "-5"}, "«-5»"},
        {{"--in", "+5"}, "«+5»"},
        {{"--in", "5 "}, "«5 »"},
        {{"--in", "ten"}, "«ten»"},
        {{"--in", "99999999999"}, "«99999999999»"},
        {{"--at", "24:00"}, "«24:00»"},
        {{"--at", "7:60"}, "«7:60»"},
        {{"--at", "7:5"}, "«7:5»"},
        {{"--at", "noon"}, "«noon»"},
        {{"--at", "123:00"}, "«123:00»"},
        {{"--in", "5", "--do", "nap"}, "«nap»"},
        {{"--in", "5", "--do", "Poweroff"}, "«Poweroff»"},
        {{"--do", "sleep"}, "--do"},
        {{"--do", "sleep", "--cancel"}, "--do"},
        {{"--cancel", "--pause"}, "--cancel"},
        {{"--in", "5", "--at", "7:30"}, "--at"},
        {{"--in", "5", "--in", "6"}, "in"},
        {{"later"}, "«later»"},
    };
    for (const Bad &c : cases) {
        const ParsedCommand parsed = ParseCommand(c.arguments);
        EXPECT_FALSE(parsed.Ok()) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(parsed.error.contains(c.names))
            << c.arguments.join(u' ').toStdString() << " -> " << parsed.error.toStdString();
    }
}

TEST(CommandLine, TheNineTasksInTheOrderOfTheGroupAndTheHelpInRussian) {
    const std::pair<TaskKind, QString> tasks[] = {
        {TaskKind::Remind, "remind"}, {TaskKind::RemindText, "text"},        {TaskKind::ScreenSaver, "screensaver"},
        {TaskKind::NoWindow, "hide"}, {TaskKind::MonitorOff, "monitor-off"}, {TaskKind::Sleep, "sleep"},
        {TaskKind::Logoff, "logoff"}, {TaskKind::Reboot, "reboot"},          {TaskKind::Shutdown, "poweroff"}};
    QStringList names;
    for (const auto &[task, name] : tasks) {
        EXPECT_EQ(TaskName(task), name);
        EXPECT_EQ(TaskFromName(name), task);
        names << name;
    }
    const QString help = CommandHelp();
    EXPECT_TRUE(help.simplified().contains(names.join(QStringLiteral(", ")))) << help.toStdString();
    for (const char *option : {"--in", "--at", "--do", "--cancel", "--pause", "--resume", "--show", "--hide", "--quit",
                               "--status", "--help", "--version"}) {
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    }
    EXPECT_TRUE(help.contains(QStringLiteral("Завести таймер на МИНУТЫ (от 1 до 9999)")));
    EXPECT_FALSE(help.contains(QStringLiteral("--help-all"))) << "Qt's own options are not taken";
    // The manual page and the bash completion name exactly the catalogue's tasks, in its order.
    const auto read = [](const char *path) {
        QFile file(QStringLiteral(ZINDREL_SOURCE_DIR "/") + QLatin1String(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
        return QString::fromUtf8(file.readAll());
    };
    const QRegularExpression manList(QStringLiteral("^\\.BR (remind .*) \\.$"), QRegularExpression::MultilineOption);
    EXPECT_EQ(manList.match(read("packaging/zindrel.1")).captured(1).remove(u'\\').split(QStringLiteral(" \", \" ")),
              names);
    const QRegularExpression completion(QStringLiteral("--do\\)\\s*\n.*compgen -W \"([^\"]*)\""));
    EXPECT_EQ(completion.match(read("packaging/zindrel.bash-completion")).captured(1).split(u' '), names);
}
