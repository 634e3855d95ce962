// SPDX-License-Identifier: GPL-3.0-or-later
// The Launcher interface on Linux: a double vfork with setsid, the middle process reaped at once.
#include "platform/linux/LinuxLauncher.h"

#include "platform/linux/Report.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <map>
#include <optional>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

namespace {

// The variables set for this program alone, each with the value the user had given it, if any.
std::map<std::string, std::optional<std::string>> &OwnVariables() {
    static std::map<std::string, std::optional<std::string>> own;
    return own;
}

} // namespace

void SetForThisProgram(const char *name, const char *value, bool overwrite) {
    const char *before = std::getenv(name);
    if (before != nullptr && !overwrite) {
        OwnVariables().erase(name);
        return;
    }
    OwnVariables()[name] = before != nullptr ? std::optional<std::string>(before) : std::nullopt;
    ::setenv(name, value, 1);
}

std::vector<std::string> UserEnvironment() {
    const auto &own = OwnVariables();
    std::vector<std::string> entries;
    for (char **entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto mine = own.find(std::string(text.substr(0, text.find('='))));
        if (mine == own.end()) {
            entries.emplace_back(text);
        } else if (mine->second) {
            entries.push_back(mine->first + "=" + *mine->second);
        }
    }
    return entries;
}

bool SpawnDetached(const std::vector<std::string> &argv) {
    if (argv.empty()) {
        return false;
    }
    // Everything the children need is made before vfork: only system calls may follow it.
    std::vector<char *> args;
    args.reserve(argv.size() + 1);
    for (const std::string &arg : argv) {
        args.push_back(const_cast<char *>(arg.c_str()));
    }
    args.push_back(nullptr);
    std::vector<std::string> environment = UserEnvironment();
    std::vector<char *> envp;
    envp.reserve(environment.size() + 1);
    for (std::string &entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    sigset_t none;
    sigemptyset(&none);

    // vfork, not fork: a fork copies the page tables of the whole program, which costs milliseconds on a busy
    // machine at the moment a task falls due; vfork shares the memory and holds this thread only until the
    // middle process has gone, and the middle only until the child has called execve. Both make system calls only.
    const pid_t middle = ::vfork();
    if (middle < 0) {
        return false;
    }
    if (middle == 0) {
        ::setsid();
        const pid_t child = ::vfork();
        if (child != 0) {
            ::_exit(child < 0 ? 1 : 0);
        }
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        ::signal(SIGCHLD, SIG_DFL);
        // The program's own descriptors (display, buses, timers) are none of the started program's business.
        ::close_range(3, ~0U, 0);
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ShellQuoted(const std::string &path) {
    // Letters of other scripts (UTF-8 bytes above 0x7F) mean nothing to the shell.
    const auto plain = [](unsigned char c) {
        return c >= 0x80 || std::isalnum(c) != 0 ||
               std::string_view("_@%+:,./-").find(static_cast<char>(c)) != std::string_view::npos;
    };
    if (!path.empty() && std::all_of(path.begin(), path.end(), plain)) {
        return path;
    }
    std::string quoted = "'";
    for (const char c : path) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool LinuxLauncher::Start(const std::string &commandLine) {
    if (!SpawnDetached({"/bin/sh", "-c", commandLine})) {
        ReportUnreachable("cannot start " + commandLine);
        return false;
    }
    return true;
}

} // namespace platform
