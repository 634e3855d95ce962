// SPDX-License-Identifier: GPL-3.0-or-later
// One program per session: the first start takes commands, a later one hands its command to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// The application id the AppStream file gives; the session-bus name, interface and object path and the Win32
// mutex are made from it. A macro too, for the bus interface's class info.
#define ZINDREL_APPLICATION_ID "org.example.zindrel"
inline constexpr const char *kApplicationId = ZINDREL_APPLICATION_ID;

// Exit codes of a start that handed its command over (and of a refused bus call's kind).
enum CommandCode : int { CommandDone = 0, CommandRefused = 1, CommandInvalid = 2, CommandNoProgram = 3 };

// What the running program answers: a code above and a line (the state for --status, else why it was refused).
struct CommandAnswer {
    int code = CommandDone;
    std::string text;
};

// A command from one of the bus's typed methods, as its arguments came: the program checks them as it checks the
// same options, with no command line made of them.
struct CommandRequest {
    enum class Kind { ArmCountdown, ArmAlarm, Cancel, Pause, Resume, Postpone, Show, Hide, Quit };
    Kind kind = Kind::Show;
    // For ArmCountdown and Postpone.
    int minutes = 0;
    // HH:MM, for ArmAlarm.
    std::string time;
    // An option name of --do, or empty to keep the task chosen in the window.
    std::string task;
};

// What the first start answers with: a command line handed over by a later start (its options, UTF-8), a typed
// command from the bus, and the state line. All are called on the main thread, only from the event loop.
struct CommandHandler {
    std::function<CommandAnswer(const std::vector<std::string> &)> arguments;
    std::function<CommandAnswer(const CommandRequest &)> request;
    std::function<std::string()> state;
};

class Instance {
public:
    virtual ~Instance() = default;

    enum class Role {
        First,  // this start is the session's program and takes commands
        Second, // another program of the session runs: hand the command to it
        Alone   // commands cannot reach this start (no session bus): run as a program on its own
    };

    // Tries to become the session's program, which answers commands through handler.
    virtual Role Claim(CommandHandler handler) = 0;
    // In a second start: hands the options over and returns the running program's answer; CommandNoProgram when
    // none answers.
    virtual CommandAnswer Send(const std::vector<std::string> &arguments) = 0;
    // In the first: the state line has changed.
    virtual void StateChanged(const std::string &state) = 0;
    // In the first: the main window's native handle, where a system addresses the program by its window.
    virtual void SetMainWindow(std::uintptr_t window) = 0;
    // Before a command line prints anything: stdout and stderr reach the terminal it was typed in, where a
    // windowed program does not have them by itself; an output the caller redirected stays where it goes.
    virtual void AttachOutput() = 0;
    // One line (UTF-8) to stdout, or to stderr when error, in the form the terminal or the file there takes.
    virtual void Print(bool error, const std::string &line) = 0;
    // When this start becomes the program: lets the terminal go, so that closing it leaves the program running.
    virtual void ReleaseOutput() = 0;
};

// This operating system's instance of the program (it lives until the program ends).
Instance &NativeInstance();

} // namespace platform
