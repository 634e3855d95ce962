// SPDX-License-Identifier: GPL-3.0-or-later
// The program's commands: one parser and checker for its options and for the arguments of its bus methods.
#include "app/CommandLine.h"

#include <QCommandLineParser>

#include <array>
#include <utility>

namespace {

// The tasks in the order of the "Операции" group, with their option names.
const std::array<std::pair<TaskKind, const char *>, 9> kTasks = {{
    {TaskKind::Remind, "remind"},
    {TaskKind::RemindText, "text"},
    {TaskKind::ScreenSaver, "screensaver"},
    {TaskKind::NoWindow, "hide"},
    {TaskKind::MonitorOff, "monitor-off"},
    {TaskKind::Sleep, "sleep"},
    {TaskKind::Logoff, "logoff"},
    {TaskKind::Reboot, "reboot"},
    {TaskKind::Shutdown, "poweroff"},
}};

// The options that each make a command of their own; at most one of them is given.
const std::array<std::pair<const char *, Command::Action>, 9> kActions = {{
    {"in", Command::Action::ArmCountdown},
    {"at", Command::Action::ArmAlarm},
    {"cancel", Command::Action::Cancel},
    {"pause", Command::Action::Pause},
    {"resume", Command::Action::Resume},
    {"show", Command::Action::Show},
    {"hide", Command::Action::Hide},
    {"quit", Command::Action::Quit},
    {"status", Command::Action::Status},
}};

QString TaskList() {
    QStringList names;
    for (const auto &[task, name] : kTasks) {
        names << QString::fromLatin1(name);
    }
    return names.join(QStringLiteral(", "));
}

void Describe(QCommandLineParser &parser) {
    parser.setApplicationDescription(QStringLiteral(
        "Будильник и таймер выключения. Без ключей запускает программу или возвращает окно уже запущенной;\n"
        "с ключами передаёт команду запущенной программе (или запускает её и выполняет команду)."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions({
        {QStringLiteral("in"),
         QStringLiteral("Завести таймер на МИНУТЫ (от %1 до %2).").arg(kCountdownMinutesMin).arg(kCountdownMinutesMax),
         QStringLiteral("МИНУТЫ")},
        {QStringLiteral("at"), QStringLiteral("Завести будильник на время ЧЧ:ММ."), QStringLiteral("ЧЧ:ММ")},
        {QStringLiteral("do"),
         QStringLiteral("Перед заводом выбрать операцию: %1 (по порядку группы «Операции»).").arg(TaskList()),
         QStringLiteral("ОПЕРАЦИЯ")},
        {QStringLiteral("cancel"), QStringLiteral("Отменить завод (кнопка «Отменить»).")},
        {QStringLiteral("pause"), QStringLiteral("Приостановить таймеры (кнопка «Пауза»).")},
        {QStringLiteral("resume"), QStringLiteral("Продолжить после паузы (кнопка «Далее»).")},
        {QStringLiteral("show"), QStringLiteral("Показать окно программы.")},
        {QStringLiteral("hide"), QStringLiteral("Свернуть окно программы в область уведомлений.")},
        {QStringLiteral("quit"), QStringLiteral("Завершить программу (пункт «Выход»).")},
        {QStringLiteral("status"),
         QStringLiteral("Напечатать состояние одной строкой: state=stopped|armed|paused, режим, операция, "
                        "время срабатывания и оставшиеся минуты каждого таймера. Код выхода: 0 заведена, "
                        "1 остановлена, 3 программа не запущена.")},
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Показать эту справку.")},
        {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Показать версию программы.")},
    });
}

bool AllDigits(const QString &text) {
    if (text.isEmpty() || text.size() > 9) {
        return false;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// "7:30" or "07:30", 00:00 to 23:59.
bool ReadTime(const QString &text, int &hour, int &minute) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 2 || parts[0].size() > 2 || parts[1].size() != 2 || !AllDigits(parts[0]) ||
        !AllDigits(parts[1])) {
        return false;
    }
    hour = parts[0].toInt();
    minute = parts[1].toInt();
    return hour <= 23 && minute <= 59;
}

ParsedCommand Refused(const QString &error) {
    return {Command{}, error};
}

} // namespace

QString TaskName(TaskKind task) {
    for (const auto &[kind, name] : kTasks) {
        if (kind == task) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

std::optional<TaskKind> TaskFromName(const QString &name) {
    for (const auto &[kind, taskName] : kTasks) {
        if (name == QLatin1String(taskName)) {
            return kind;
        }
    }
    return std::nullopt;
}

QString CommandHelp() {
    QCommandLineParser parser;
    Describe(parser);
    // Without an application object the parser does not know the program's name.
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("zindrel"));
}

ParsedCommand ParseCommand(const QStringList &arguments) {
    QCommandLineParser parser;
    Describe(parser);
    if (!parser.parse(QStringList{QStringLiteral("zindrel")} + arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            return Refused(QStringLiteral("неизвестный ключ «%1»").arg(unknown.constFirst()));
        }
        return Refused(QStringLiteral("неверная командная строка: %1").arg(parser.errorText()));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Refused(QStringLiteral("лишний аргумент «%1»").arg(parser.positionalArguments().constFirst()));
    }
    for (const QString &name : parser.optionNames()) {
        if (parser.optionNames().count(name) > 1) {
            return Refused(QStringLiteral("ключ «%1» дан дважды").arg(name));
        }
    }
    ParsedCommand parsed;
    Command &command = parsed.command;
    if (parser.isSet(QStringLiteral("help"))) {
        command.action = Command::Action::Help;
        return parsed;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        command.action = Command::Action::Version;
        return parsed;
    }
    QString chosen;
    for (const auto &[name, action] : kActions) {
        const QString option = QString::fromLatin1(name);
        if (!parser.isSet(option)) {
            continue;
        }
        if (!chosen.isEmpty()) {
            return Refused(QStringLiteral("ключи --%1 и --%2 не даются вместе").arg(chosen, option));
        }
        chosen = option;
        command.action = action;
    }
    if (command.action == Command::Action::ArmCountdown) {
        const QString minutes = parser.value(QStringLiteral("in"));
        const int value = AllDigits(minutes) ? minutes.toInt() : -1;
        if (value < kCountdownMinutesMin || value > kCountdownMinutesMax) {
            return Refused(QStringLiteral("--in: «%1» — не число минут от %2 до %3")
                               .arg(minutes)
                               .arg(kCountdownMinutesMin)
                               .arg(kCountdownMinutesMax));
        }
        command.minutes = value;
    }
    if (command.action == Command::Action::ArmAlarm &&
        !ReadTime(parser.value(QStringLiteral("at")), command.hour, command.minute)) {
        return Refused(
            QStringLiteral("--at: «%1» — не время ЧЧ:ММ от 00:00 до 23:59").arg(parser.value(QStringLiteral("at"))));
    }
    if (parser.isSet(QStringLiteral("do"))) {
        if (command.action != Command::Action::ArmCountdown && command.action != Command::Action::ArmAlarm) {
            return Refused(QStringLiteral("--do даётся только вместе с --in или --at"));
        }
        command.task = TaskFromName(parser.value(QStringLiteral("do")));
        if (!command.task) {
            return Refused(QStringLiteral("--do: неизвестная операция «%1»; есть: %2")
                               .arg(parser.value(QStringLiteral("do")), TaskList()));
        }
    }
    return parsed;
}

QStringList Command::Arguments() const {
    QStringList arguments;
    switch (action) {
    case Action::Bring:
        break;
    case Action::ArmCountdown:
        arguments << QStringLiteral("--in") << QString::number(minutes);
        break;
    case Action::ArmAlarm:
        arguments << QStringLiteral("--at")
                  << QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'));
        break;
    case Action::Help:
        arguments << QStringLiteral("--help");
        break;
    case Action::Version:
        arguments << QStringLiteral("--version");
        break;
    default:
        for (const auto &[name, kind] : kActions) {
            if (kind == action) {
                arguments << QStringLiteral("--") + QString::fromLatin1(name);
            }
        }
        break;
    }
    if (task) {
        arguments << QStringLiteral("--do") << TaskName(*task);
    }
    return arguments;
}
