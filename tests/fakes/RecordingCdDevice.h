// SPDX-License-Identifier: GPL-3.0-or-later
// A CD device layer that records the tray's system calls instead of making them.
#pragma once

#include "platform/linux/LinuxCdDrive.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <map>
#include <string>
#include <vector>

namespace fakes {

class RecordingCdDevice : public platform::CdDevice {
public:
    int Open(const std::string &path, int flags) override {
        const bool ok = present.count(path) != 0 && flags == (O_RDONLY | O_NONBLOCK);
        calls.push_back("open " + path + (ok ? "" : " failed"));
        return ok ? present[path] : -1;
    }
    int Ioctl(int fd, unsigned long request, long) override {
        const char *name = request == CDROMEJECT ? "CDROMEJECT" : request == CDROMCLOSETRAY ? "CDROMCLOSETRAY" : "?";
        calls.push_back(std::string("ioctl ") + std::to_string(fd) + " " + name);
        return ioctlResult;
    }
    void Close(int fd) override { calls.push_back("close " + std::to_string(fd)); }
    std::vector<std::string> List(const std::string &folder) override {
        calls.push_back("list " + folder);
        return names;
    }
    std::map<std::string, int> present;
    std::vector<std::string> names;
    int ioctlResult = 0;
    std::vector<std::string> calls;
};

} // namespace fakes
