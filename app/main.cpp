// SPDX-License-Identifier: GPL-3.0-or-later
// The application start: the command line, one program per session, title, clock, backends, the windows in their
// order, the message loop.
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Commands.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Pictures.h"
#include "controls/SystemClock.h"
#include "platform/Instance.h"
#include "platform/Platform.h"
#include "platform/Tray.h"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace {

// The exit code of a start that was to become the program but found no display for its windows.
constexpr int kNoDisplay = 4;

void PrintLine(std::FILE *stream, const QString &text) {
    platform::NativeInstance().Print(stream == stderr, text.toStdString());
}

std::vector<std::string> Utf8(const QStringList &list) {
    std::vector<std::string> out;
    for (const QString &item : list) {
        out.push_back(item.toStdString());
    }
    return out;
}

// A later start hands its options, as it was given them, to the session's program and ends with that program's
// answer.
int HandOver(platform::Instance &instance, const QStringList &arguments, const Command &command) {
    const platform::CommandAnswer answer = instance.Send(Utf8(arguments));
    const QString text = QString::fromStdString(answer.text);
    if (answer.code != platform::CommandDone) {
        PrintLine(stderr,
                  QStringLiteral("zindrel: ") + (answer.code == platform::CommandNoProgram
                                                     ? QStringLiteral("запущенная программа не отвечает (%1)").arg(text)
                                                     : text));
        return answer.code;
    }
    if (command.action == Command::Action::Status) {
        PrintLine(stdout, text);
        return Commands::StatusCode(text);
    }
    return platform::CommandDone;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("zindrel"));
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    platform::Instance &instance = platform::NativeInstance();
    if (!arguments.isEmpty()) {
        instance.AttachOutput();
    }
    // Checked before anything starts: a bad command line changes nothing and reaches no running program.
    const ParsedCommand parsed = ParseCommand(arguments);
    if (!parsed.Ok()) {
        PrintLine(stderr, QStringLiteral("zindrel: %1\nСправка: zindrel --help").arg(parsed.error));
        return platform::CommandInvalid;
    }
    const Command &command = parsed.command;
    if (command.action == Command::Action::Help) {
        PrintLine(stdout, CommandHelp());
        return 0;
    }
    if (command.action == Command::Action::Version) {
        PrintLine(stdout, QStringLiteral("zindrel " ZINDREL_VERSION));
        return 0;
    }

    platform::ChooseDisplayProtocol();
    // Without a display only the hand-over can run: Qt ends the process when a GUI application finds none. The
    // choice is made once, before the application object, since the session bus's connection made under one
    // application object does not serve calls under a second one.
    const bool display = platform::DisplayReachable();
    // The face of the windows' dialog font is found meanwhile. Its thread starts after the display's check, which
    // would otherwise wait on the thread's mapping of the font caches; a start without a display needs no fonts.
    std::future<std::string> dialogFace = display ? platform::ReadFontsAside("Arial") : std::future<std::string>();
    const std::unique_ptr<QCoreApplication> app =
        display ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const platform::Instance::Role role =
        instance.Claim({Commands::TakeArguments, Commands::TakeRequest, [] {
                            return Form1 != nullptr && !Form1->MainClosed ? Commands::StatusLine().toStdString() : "";
                        }});
    if (role == platform::Instance::Role::Second) {
        return HandOver(instance, arguments, command);
    }
    if (command.action == Command::Action::Status || command.action == Command::Action::Quit) {
        PrintLine(stderr, QStringLiteral("zindrel: программа не запущена"));
        return platform::CommandNoProgram;
    }
    if (!display) {
        PrintLine(stderr, QStringLiteral("zindrel: нет дисплея для окна программы (DISPLAY или WAYLAND_DISPLAY не "
                                         "задан или недоступен)"));
        return kNoDisplay;
    }

    QApplication::setWindowIcon(Picture::AppIcon());
    Application::SetTitle(QStringLiteral("Zindrel"));
    Application::InstallStyle();
    Application::InstallQtTranslation();
    platform::InstallNative();
    platform::ReportDisplayLimits();
    SystemClock clock;
    SetAppClock(&clock);
    // The windows are laid out in pixels for an 8-point Arial-sized dialog font (after the style, which would
    // reset it); fontconfig maps Arial to a metric-compatible face (Liberation Sans on Debian).
    QFont font(QString::fromStdString(dialogFace.get()));
    font.setPointSize(8);
    QApplication::setFont(font);
    CreateForms();
    Form1->show();
    platform::SetMainWindow(Form1->winId());
    platform::OnEndRequest([] { Form1->close(); });
    // The tray's owner is watched from the icon's placing on: a connection and round trips to the display that,
    // made here, came before the window's mapping.
    QObject::connect(Form1, &TForm1::StartedAfterFirstPaint,
                     [] { platform::WatchTrayHost([] { Form1->TrayHostChanged(); }); });
    instance.SetMainWindow(Form1->winId());
    auto lastState = std::make_shared<QString>(Commands::StatusLine());
    Commands::WatchState([&instance, lastState] {
        const QString line = Commands::StatusLine();
        if (line != *lastState) {
            *lastState = line;
            instance.StateChanged(line.toStdString());
        }
    });
    // Started with a command: the program carries it out once its window is up, as if handed it by a later start.
    if (command.action != Command::Action::Bring) {
        const platform::CommandAnswer answer = Commands::Take(command);
        if (answer.code != platform::CommandDone) {
            PrintLine(stderr, QStringLiteral("zindrel: ") + QString::fromStdString(answer.text));
        }
    }
    // Everything this start had to say is said: the terminal it came from may close without ending the program.
    instance.ReleaseOutput();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
