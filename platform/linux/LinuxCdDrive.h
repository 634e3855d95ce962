// SPDX-License-Identifier: GPL-3.0-or-later
// The CdDrive interface on Linux: udisks2 opens the tray where it runs; the tray ioctls on /dev/cdrom or the first
// /dev/sr* close it, and open it without udisks2.
#pragma once

#include "platform/CdDrive.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

namespace platform {

// The system calls the tray needs, so that a test can stand in for the drive.
class CdDevice {
public:
    virtual ~CdDevice() = default;
    // open(2); a descriptor, or -1.
    virtual int Open(const std::string &path, int flags) = 0;
    // ioctl(2) with an integer argument; -1 on failure.
    virtual int Ioctl(int fd, unsigned long request, long argument) = 0;
    virtual void Close(int fd) = 0;
    // The names in a folder.
    virtual std::vector<std::string> List(const std::string &folder) = 0;
};

// The real system calls.
CdDevice &SystemCdDevice();

class UDisksTray;

class LinuxCdDrive : public CdDrive {
public:
    // Without a udisks2 tray only the ioctls are used.
    explicit LinuxCdDrive(CdDevice &device = SystemCdDevice(), UDisksTray *udisks = nullptr)
        : device_(device), udisks_(udisks) {}
    ~LinuxCdDrive() override;
    LinuxCdDrive(const LinuxCdDrive &) = delete;
    LinuxCdDrive &operator=(const LinuxCdDrive &) = delete;

    // Through udisks2 the tray opens after the call has returned; without it the ioctl returns once it has moved.
    void OpenDoor() override;
    // Waits, without holding the caller up, for an open still under way, so the tray moves in the order asked.
    void CloseDoor() override;

private:
    // Opens the drive, sends the request (which returns when the tray has moved) and closes it again.
    void Send(unsigned long request, const char *verb);

    CdDevice &device_;
    UDisksTray *udisks_;
    bool opening_ = false;
    bool closeAfterOpen_ = false;
    // Receives udisks2's answers; owned by the application object, so it goes before the bus connections do at
    // exit, and deleted with the drive, so no answer reaches a drive that is gone.
    QPointer<QObject> answers_;
};

} // namespace platform
