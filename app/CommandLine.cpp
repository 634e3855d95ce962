// SPDX-License-Identifier: GPL-3.0-or-later
// The program's commands: one parser and checker for its options and for the arguments of its bus methods.
#include "app/CommandLine.h"

#include "app/TaskCatalogue.h"

#include <QCommandLineParser>

#include <array>
#include <utility>

namespace {

// The options that each make a command of their own; at most one of them is given.
const std::array<std::pair<const char *, Command::Action>, 10> kActions = {{
    {"in", Command::Action::ArmCountdown},
    {"at", Command::Action::ArmAlarm},
    {"cancel", Command::Action::Cancel},
    {"pause", Command::Action::Pause},
    {"resume", Command::Action::Resume},
    {"postpone", Command::Action::Postpone},
    {"show", Command::Action::Show},
    {"hide", Command::Action::Hide},
    {"quit", Command::Action::Quit},
    {"status", Command::Action::Status},
}};

QString TaskList() {
    QStringList names;
    for (const TaskInfo &task : kTaskCatalogue) {
        names << QString::fromLatin1(task.option);
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
        {QStringLiteral("postpone"),
         QStringLiteral("Отложить на МИНУТЫ (без них на %1, от %2 до %3): идущее предупреждение — как его "
                        "«Отложить на 10 минут», таймеры и будильник — на столько позже. Аргумент МИНУТЫ "
                        "даётся после ключа.")
             .arg(kPostponeMinutesDefault)
             .arg(kCountdownMinutesMin)
             .arg(kCountdownMinutesMax)},
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

// The checks of each value a command carries, whether it came as an option or as a bus method's argument; each
// returns what is wrong, or nothing.
QString CheckMinutes(Command &command, int minutes, const QString &given, const QString &option) {
    if (minutes < kCountdownMinutesMin || minutes > kCountdownMinutesMax) {
        return QStringLiteral("--%1: «%2» — не число минут от %3 до %4")
            .arg(option, given)
            .arg(kCountdownMinutesMin)
            .arg(kCountdownMinutesMax);
    }
    command.minutes = minutes;
    return {};
}

QString CheckTime(Command &command, const QString &time) {
    if (!ReadTime(time, command.hour, command.minute)) {
        return QStringLiteral("--at: «%1» — не время ЧЧ:ММ от 00:00 до 23:59").arg(time);
    }
    return {};
}

QString CheckTask(Command &command, const QString &name) {
    command.task = TaskFromName(name);
    if (!command.task) {
        return QStringLiteral("--do: неизвестная операция «%1»; есть: %2").arg(name, TaskList());
    }
    return {};
}

} // namespace

QString TaskName(TaskKind task) {
    return QString::fromLatin1(TaskOf(task).option);
}

std::optional<TaskKind> TaskFromName(const QString &name) {
    for (const TaskInfo &task : kTaskCatalogue) {
        if (name == QLatin1String(task.option)) {
            return task.kind;
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
    // --postpone takes its minutes optionally: as "--postpone=15", or as the one word after it.
    QStringList words;
    for (const QString &argument : arguments) {
        const QString glued = QStringLiteral("--postpone=");
        if (argument.startsWith(glued)) {
            words << glued.chopped(1) << argument.mid(glued.size());
        } else {
            words << argument;
        }
    }
    if (!parser.parse(QStringList{QStringLiteral("zindrel")} + words)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            return Refused(QStringLiteral("неизвестный ключ «%1»").arg(unknown.constFirst()));
        }
        return Refused(QStringLiteral("неверная командная строка: %1").arg(parser.errorText()));
    }
    QStringList positional = parser.positionalArguments();
    std::optional<QString> postponeMinutes;
    if (parser.isSet(QStringLiteral("postpone")) && !positional.isEmpty()) {
        postponeMinutes = positional.takeFirst();
    }
    if (!positional.isEmpty()) {
        return Refused(QStringLiteral("лишний аргумент «%1»").arg(positional.constFirst()));
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
    QString error;
    if (command.action == Command::Action::ArmCountdown) {
        const QString minutes = parser.value(QStringLiteral("in"));
        error = CheckMinutes(command, AllDigits(minutes) ? minutes.toInt() : -1, minutes, QStringLiteral("in"));
    }
    if (command.action == Command::Action::Postpone) {
        const QString minutes = postponeMinutes.value_or(QString::number(kPostponeMinutesDefault));
        error = CheckMinutes(command, AllDigits(minutes) ? minutes.toInt() : -1, minutes, QStringLiteral("postpone"));
    }
    if (command.action == Command::Action::ArmAlarm) {
        error = CheckTime(command, parser.value(QStringLiteral("at")));
    }
    if (error.isEmpty() && parser.isSet(QStringLiteral("do"))) {
        if (command.action != Command::Action::ArmCountdown && command.action != Command::Action::ArmAlarm) {
            return Refused(QStringLiteral("--do даётся только вместе с --in или --at"));
        }
        error = CheckTask(command, parser.value(QStringLiteral("do")));
    }
    return error.isEmpty() ? parsed : Refused(error);
}

ParsedCommand CheckRequest(const platform::CommandRequest &request) {
    using Kind = platform::CommandRequest::Kind;
    ParsedCommand parsed;
    Command &command = parsed.command;
    QString error;
    switch (request.kind) {
    case Kind::ArmCountdown:
        command.action = Command::Action::ArmCountdown;
        error = CheckMinutes(command, request.minutes, QString::number(request.minutes), QStringLiteral("in"));
        break;
    case Kind::ArmAlarm:
        command.action = Command::Action::ArmAlarm;
        error = CheckTime(command, QString::fromStdString(request.time));
        break;
    case Kind::Cancel:
        command.action = Command::Action::Cancel;
        break;
    case Kind::Pause:
        command.action = Command::Action::Pause;
        break;
    case Kind::Resume:
        command.action = Command::Action::Resume;
        break;
    case Kind::Postpone:
        command.action = Command::Action::Postpone;
        error = CheckMinutes(command, request.minutes, QString::number(request.minutes), QStringLiteral("postpone"));
        break;
    case Kind::Show:
        command.action = Command::Action::Show;
        break;
    case Kind::Hide:
        command.action = Command::Action::Hide;
        break;
    case Kind::Quit:
        command.action = Command::Action::Quit;
        break;
    }
    // An empty task keeps the window's choice.
    if (error.isEmpty() && !request.task.empty()) {
        error = CheckTask(command, QString::fromStdString(request.task));
    }
    return error.isEmpty() ? parsed : Refused(error);
}
