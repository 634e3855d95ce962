// SPDX-License-Identifier: GPL-3.0-or-later
// One call of each display, log-off and tray operation through the real backends; test_desktop_services.py puts
// the desktops' mocked services on the fixture's private buses in between and reads what each received.
#include "actions/Unit2.h"
#include "actions/Unit7.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "platform/linux/LinuxCdDrive.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxMediaPlayer.h"
#include "platform/linux/LinuxSessionPower.h"
#include "platform/linux/UDisksTray.h"
#include "tests/fakes/RecordingCdDevice.h"
#include "tests/fakes/TestApp.h"
#include "tests/system/FixtureBuses.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

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
    drive.CloseDoor();
    EXPECT_EQ(device.calls, Strings{}) << "the close waits for udisks2's eject";
    EXPECT_TRUE(QTest::qWaitFor([&] { return !device.calls.empty(); }, 10000));
    EXPECT_EQ(device.calls, (Strings{"open /dev/cdrom", "ioctl 5 CDROMCLOSETRAY", "close 5"}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

using RealDesktopFiring = fakes::TestApp;

// test_desktop_services.py has stopped the udisks2 mock and a media player's: a firing that opens the tray, drives
// the player and warns of a shut-down shows the warning at once, whatever they do.
TEST_F(RealDesktopFiring, TheWarningShowsAtOnceWhileUdisksAndThePlayerDoNotAnswer) {
    REQUIRE_FIXTURE_BUSES();
    fakes::RecordingCdDevice device;
    platform::UDisksTray udisks;
    platform::LinuxCdDrive drive(device, &udisks);
    platform::LinuxMediaPlayer player;
    platform::Current().cdDrive = &drive;
    platform::Current().player = &player;
    CreateForms();
    Form7->CheckBox3->setChecked(true);
    Form7->RadioButton5->setChecked(true); // "Следующий трек"
    Form7->ComboBox1->setCurrentIndex(0);  // "Открыть дверцу CD-ROM"
    Form1->RadioButton2->setChecked(true);
    Form1->RadioButton1Click(Form1->RadioButton2);
    Form1->RxSpinEdit3->SetValue(1);
    Form1->RadioButton4->setChecked(true); // shut down, with the warning
    Form1->Button2Click(Form1->Button2);
    QElapsedTimer firing;
    qint64 shownAfter = -1;
    QTimer::singleShot(0, Form2, [&] {
        shownAfter = Form2->isVisible() ? firing.elapsed() : -1;
        Form2->Button1Click(Form2->Button1); // "Отмена"
    });
    firing.start();
    clock.advance(60000);
    EXPECT_TRUE(shownAfter >= 0 && shownAfter < 1000) << shownAfter << " ms from the firing to the warning";
}

} // namespace
