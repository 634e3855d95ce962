// SPDX-License-Identifier: GPL-3.0-or-later
// One call of each display, log-off and tray operation through the real backends; test_desktop_services.py puts
// the desktops' mocked services on the fixture's private buses in between and reads what each received.
#include "platform/linux/LinuxCdDrive.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxSessionPower.h"
#include "platform/linux/UDisksTray.h"
#include "tests/fakes/RecordingCdDevice.h"
#include "tests/system/FixtureBuses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

class RealDesktop : public ::testing::Test {
protected:
    void SetUp() override { REQUIRE_FIXTURE_BUSES(); }
};

// A desktop service answers, so nothing falls through to the X server and nothing is left on stderr.
TEST_F(RealDesktop, ScreenSaver) {
    platform::LinuxDisplay display;
    testing::internal::CaptureStderr();
    display.StartScreenSaver();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(RealDesktop, MonitorOff) {
    platform::LinuxDisplay display;
    testing::internal::CaptureStderr();
    display.MonitorLowPower();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// With a session manager nothing is said; with logind alone one line says the programs were not asked.
TEST_F(RealDesktop, LogOff) {
    platform::LinuxSessionPower power;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(power.LogOff());
    const std::string err = testing::internal::GetCapturedStderr();
    if (qEnvironmentVariable("ZINDREL_EXPECT_LOGIND") == QLatin1String("1")) {
        EXPECT_NE(err.find("without asking"), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    } else {
        EXPECT_EQ(err, "");
    }
}

// udisks2 opens the tray, so the drive's ioctl is used only to close it.
TEST_F(RealDesktop, CdTrayOpensThroughUdisksAndClosesThroughTheIoctl) {
    fakes::RecordingCdDevice device;
    device.present["/dev/cdrom"] = 5;
    platform::UDisksTray udisks;
    platform::LinuxCdDrive drive(device, &udisks);
    testing::internal::CaptureStderr();
    drive.OpenDoor();
    EXPECT_EQ(device.calls, Strings{});
    drive.CloseDoor();
    EXPECT_EQ(device.calls, (Strings{"open /dev/cdrom", "ioctl 5 CDROMCLOSETRAY", "close 5"}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

} // namespace
