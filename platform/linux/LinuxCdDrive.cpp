// SPDX-License-Identifier: GPL-3.0-or-later
// The CdDrive interface on Linux over a small layer of system calls.
#include "platform/linux/LinuxCdDrive.h"

#include "platform/linux/Report.h"
#include "platform/linux/UDisksTray.h"

#include <QCoreApplication>

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace platform {

namespace {

class RealCdDevice : public CdDevice {
public:
    int Open(const std::string &path, int flags) override { return ::open(path.c_str(), flags | O_CLOEXEC); }
    int Ioctl(int fd, unsigned long request, long argument) override { return ::ioctl(fd, request, argument); }
    void Close(int fd) override { ::close(fd); }
    std::vector<std::string> List(const std::string &folder) override {
        std::vector<std::string> names;
        if (DIR *dir = ::opendir(folder.c_str())) {
            while (const dirent *entry = ::readdir(dir)) {
                names.emplace_back(entry->d_name);
            }
            ::closedir(dir);
        }
        return names;
    }
};

// "sr" followed by digits only.
bool IsScsiCdName(const std::string &name) {
    return name.size() > 2 && name.compare(0, 2, "sr") == 0 &&
           std::all_of(name.begin() + 2, name.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

CdDevice &SystemCdDevice() {
    static RealCdDevice device;
    return device;
}

LinuxCdDrive::~LinuxCdDrive() {
    delete answers_.data();
}

void LinuxCdDrive::OpenDoor() {
    if (udisks_ == nullptr) {
        Send(CDROMEJECT, "open");
        return;
    }
    if (opening_) {
        return; // on its way already
    }
    // udisks2 unmounts the disc first, which the bare ioctl cannot: a mounted disc keeps the tray locked.
    opening_ = true;
    if (answers_.isNull()) {
        answers_ = new QObject(QCoreApplication::instance());
    }
    udisks_->Open(answers_.data(), [this](bool asked) {
        if (!asked) {
            Send(CDROMEJECT, "open");
        }
        opening_ = false;
        if (closeAfterOpen_) {
            closeAfterOpen_ = false;
            Send(CDROMCLOSETRAY, "close");
        }
    });
}

void LinuxCdDrive::CloseDoor() {
    if (opening_) {
        closeAfterOpen_ = true;
        return;
    }
    Send(CDROMCLOSETRAY, "close");
}

void LinuxCdDrive::Send(unsigned long request, const char *verb) {
    // O_NONBLOCK opens a drive that has no disc in it.
    int fd = device_.Open("/dev/cdrom", O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        std::vector<std::string> drives;
        for (const std::string &name : device_.List("/dev")) {
            if (IsScsiCdName(name)) {
                drives.push_back(name);
            }
        }
        // sr2 before sr10.
        std::sort(drives.begin(), drives.end(), [](const std::string &a, const std::string &b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        if (!drives.empty()) {
            fd = device_.Open("/dev/" + drives.front(), O_RDONLY | O_NONBLOCK);
        }
    }
    if (fd < 0) {
        ReportUnreachable(std::string("no CD-ROM drive to ") + verb);
        return;
    }
    if (device_.Ioctl(fd, request, 0) < 0) {
        ReportUnreachable(std::string("the CD-ROM tray did not ") + verb);
    }
    device_.Close(fd);
}

} // namespace platform
