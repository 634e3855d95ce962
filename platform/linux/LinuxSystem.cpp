// SPDX-License-Identifier: GPL-3.0-or-later
// The System interface on Linux.
#include "platform/linux/LinuxSystem.h"

#include "platform/linux/PresentPages.h"

#include <QMessageBox>
#include <QString>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string FolderOf(const std::string &path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Where packages and the system put programs; also where this build installs its own.
bool InSystemFolder(const std::string &folder) {
    for (const std::string system : {"/usr/", "/opt/", "/bin/", "/sbin/", "/snap/", ZINDREL_INSTALL_BINDIR "/"}) {
        if (folder.rfind(system, 0) == 0) {
            return true;
        }
    }
    return false;
}

void MakeFolders(const std::string &folder) {
    for (std::size_t at = 1; at < folder.size(); ++at) {
        if (folder[at] == '/') {
            ::mkdir(folder.substr(0, at).c_str(), 0700);
        }
    }
}

} // namespace

std::string LinuxSystem::LogonUserName() {
    // Looked up once: a process keeps its user, and each lookup goes through the name service.
    static const std::string name = [] {
        const passwd *entry = ::getpwuid(::getuid());
        return entry == nullptr || entry->pw_name == nullptr ? std::string() : std::string(entry->pw_name);
    }();
    return name;
}

std::string LinuxSystem::ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string LinuxSystem::ConfigFolder() {
    std::string base;
    if (const char *xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (const char *home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::string(home) + "/.config";
    } else {
        base = "/tmp";
    }
    std::string folder = base + "/zindrel/";
    MakeFolders(folder);
    return folder;
}

std::string LinuxSystem::ProgramFolder() {
    // A portable install keeps its files beside the executable, as on Windows; an installed one keeps them in the
    // user's folder, also when it could write beside itself (root), so that every user has settings of their own.
    const std::string folder = FolderOf(ExecutablePath());
    if (!folder.empty() && !InSystemFolder(folder) && ::access(folder.c_str(), W_OK) == 0) {
        return folder;
    }
    return ConfigFolder();
}

std::string LinuxSystem::ProgramVersion() {
    return ZINDREL_VERSION;
}

void LinuxSystem::MessageBox(const std::string &text, const std::string &caption, unsigned flags) {
    QMessageBox box((flags & MB_ICONERROR_FLAG) != 0 ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
    // A reminder or a file name that looks like markup is shown as written, and never makes Qt load a resource.
    box.setTextFormat(Qt::PlainText);
    if ((flags & MB_SYSTEMMODAL_FLAG) != 0) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    box.exec();
}

void LinuxSystem::WarmUpMemory() {
    ReadPresentPages();
}

} // namespace platform
