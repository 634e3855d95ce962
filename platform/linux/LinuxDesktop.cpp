// SPDX-License-Identifier: GPL-3.0-or-later
// The Desktop interface on Linux: xdg-open for web and mail targets, a desktop entry for the shortcut.
#include "platform/linux/LinuxDesktop.h"

#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/Report.h"

#include <QStandardPaths>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string HomeFolder() {
    const char *home = std::getenv("HOME");
    return home != nullptr ? std::string(home) : std::string();
}

// An XDG base folder from its variable when that holds an absolute path, else home + fallback.
std::string BaseFolder(const char *variable, const std::string &fallback) {
    if (const char *value = std::getenv(variable); value != nullptr && value[0] == '/') {
        return value;
    }
    return HomeFolder() + fallback;
}

void MakeFolders(const std::string &folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at == folder.size() || folder[at] == '/') {
            ::mkdir(folder.substr(0, at).c_str(), 0755);
        }
    }
}

// The value of a user-dirs.dirs line: a double-quoted shell string, "$HOME/..." or an absolute path.
std::string UserDirValue(const std::string &quoted) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        return {};
    }
    std::string value;
    for (std::size_t at = 1; at + 1 < quoted.size(); ++at) {
        if (quoted[at] == '\\' && at + 2 < quoted.size()) {
            ++at;
        }
        value += quoted[at];
    }
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
        return HomeFolder() + value.substr(5);
    }
    return value.empty() || value.front() != '/' ? std::string() : value;
}

// A string value of a desktop entry: backslash and control characters escaped.
std::string EntryString(const std::string &text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One Exec argument, always quoted; inside the quotes the four reserved characters take a backslash and a
// field code's "%" is doubled; the whole is then escaped once more as a string value.
std::string ExecArgument(const std::string &argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    return EntryString(quoted);
}

bool WriteWhole(const std::string &path, const std::string &content, mode_t mode) {
    // A temporary file renamed over the old one, so an interrupted write never leaves half an entry.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            return false;
        }
        out << content;
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (::chmod(temporary.c_str(), mode) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

bool LinuxDesktop::OpenTarget(const std::string &target) {
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    const bool started = !xdgOpen.isEmpty() && SpawnDetached({xdgOpen.toStdString(), target});
    if (!started) {
        ReportUnreachable("cannot start xdg-open");
    }
    return started;
}

std::string LinuxDesktop::DesktopFolder() {
    std::string folder = HomeFolder() + "/Desktop";
    std::ifstream dirs(BaseFolder("XDG_CONFIG_HOME", "/.config") + "/user-dirs.dirs");
    std::string line;
    while (std::getline(dirs, line)) {
        const std::string key = "XDG_DESKTOP_DIR=";
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) {
            continue;
        }
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r')) {
            value.pop_back();
        }
        if (const std::string parsed = UserDirValue(value); !parsed.empty()) {
            folder = parsed;
        }
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

std::string LinuxDesktop::DesktopEntry(const std::string &executable, const std::string &workingFolder,
                                       const std::string &name, const std::string &iconPath) {
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=" << EntryString(name) << "\n"
          << "Exec=" << ExecArgument(executable) << "\n"
          << "Path=" << EntryString(workingFolder) << "\n";
    if (!iconPath.empty()) {
        entry << "Icon=" << EntryString(iconPath) << "\n";
    }
    entry << "Terminal=false\n";
    return entry.str();
}

std::string LinuxDesktop::InstalledIcon(const std::string &executable) {
    const auto slash = executable.rfind('/');
    const std::string binary = executable.substr(0, slash == std::string::npos ? 0 : slash);
    const std::string bin = "/bin";
    if (binary.size() < bin.size() || binary.compare(binary.size() - bin.size(), bin.size(), bin) != 0) {
        return {};
    }
    const std::string share = binary.substr(0, binary.size() - bin.size()) + "/share";
    const std::string drawing = share + "/icons/hicolor/scalable/apps/zindrel.svg";
    if (::access(drawing.c_str(), R_OK) != 0) {
        return {};
    }
    const char *variable = std::getenv("XDG_DATA_DIRS");
    std::istringstream dataFolders(variable != nullptr && variable[0] != '\0' ? variable
                                                                              : "/usr/local/share:/usr/share");
    std::string folder = BaseFolder("XDG_DATA_HOME", "/.local/share");
    do {
        while (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
        if (folder == share) {
            return "zindrel";
        }
    } while (std::getline(dataFolders, folder, ':'));
    return drawing;
}

bool LinuxDesktop::MakeShortcut(const std::string &executable, const std::string &workingFolder,
                                const std::string &name, const std::string &iconPng) {
    // An installed program names its theme icon, which the desktop scales and an icon theme may restyle; one run
    // from its folder carries a copy of its picture.
    std::string iconPath = InstalledIcon(executable);
    if (iconPath.empty() && !iconPng.empty()) {
        const std::string icons = BaseFolder("XDG_DATA_HOME", "/.local/share") + "/icons";
        MakeFolders(icons);
        iconPath = icons + "/zindrel.png";
        if (!WriteWhole(iconPath, iconPng, 0644)) {
            iconPath.clear();
        }
    }
    const std::string folder = DesktopFolder();
    MakeFolders(folder);
    return WriteWhole(folder + "/" + name + ".desktop", DesktopEntry(executable, workingFolder, name, iconPath), 0755);
}

} // namespace platform
