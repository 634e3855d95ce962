// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux CD tray: which device it opens and the ioctls it sends, over a recording device layer.
#include "platform/linux/LinuxCdDrive.h"
#include "tests/fakes/RecordingCdDevice.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <map>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
using fakes::RecordingCdDevice;

TEST(LinuxCdDrive, OpenThenCloseOnDevCdrom) {
    RecordingCdDevice device;
    device.present["/dev/cdrom"] = 5;
    platform::LinuxCdDrive drive(device);
    drive.OpenDoor();
    drive.CloseDoor();
    EXPECT_EQ(device.calls, (Strings{"open /dev/cdrom", "ioctl 5 CDROMEJECT", "close 5", "open /dev/cdrom",
                                     "ioctl 5 CDROMCLOSETRAY", "close 5"}));
}

TEST(LinuxCdDrive, WithoutDevCdromTheFirstSrDriveIsUsed) {
    RecordingCdDevice device;
    device.names = {"tty0", "sr10", "srx", "sr", "sr2", "sda"};
    device.present["/dev/sr2"] = 7;
    device.present["/dev/sr10"] = 8;
    platform::LinuxCdDrive drive(device);
    drive.OpenDoor();
    EXPECT_EQ(device.calls,
              (Strings{"open /dev/cdrom failed", "list /dev", "open /dev/sr2", "ioctl 7 CDROMEJECT", "close 7"}));
}

TEST(LinuxCdDrive, NoDriveSendsNothingAndAFailedIoctlStillCloses) {
    RecordingCdDevice device;
    device.names = {"tty0", "sda"};
    platform::LinuxCdDrive drive(device);
    drive.CloseDoor();
    EXPECT_EQ(device.calls, (Strings{"open /dev/cdrom failed", "list /dev"}));

    device.calls.clear();
    device.present["/dev/cdrom"] = 3;
    device.ioctlResult = -1;
    drive.OpenDoor();
    EXPECT_EQ(device.calls, (Strings{"open /dev/cdrom", "ioctl 3 CDROMEJECT", "close 3"}));
}

} // namespace
