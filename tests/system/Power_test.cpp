// SPDX-License-Identifier: GPL-3.0-or-later
// The real power and display backends against the private buses and X server that test_power.py starts.
#include "actions/PowerOff.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxDisplay.h"
#include "platform/linux/LinuxSessionPower.h"
#include "tests/fakes/TestApp.h"
#include "tests/system/FixtureBuses.h"

#include <QRadioButton>
#include <QString>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// The X server's screen saver state: ScreenSaverOn, ScreenSaverOff or ScreenSaverDisabled; -1 without X.
int ScreenSaverState() {
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return -1;
    }
    XScreenSaverInfo *info = XScreenSaverAllocInfo();
    int state = -1;
    if (info != nullptr && XScreenSaverQueryInfo(display, DefaultRootWindow(display), info)) {
        state = info->state;
    }
    XFree(info);
    XCloseDisplay(display);
    return state;
}

// The program with fakes everywhere except the real session-power and display backends.
class RealPower : public fakes::TestApp {
protected:
    void SetUp() override {
        REQUIRE_FIXTURE_BUSES();
        platform::Current().power = &power;
        platform::Current().display = &display;
    }
    platform::LinuxSessionPower power;
    platform::LinuxDisplay display;
};

// With logind mocked: each call is checked in the mock's call log by test_power.py.
TEST_F(RealPower, LogindAcceptsShutdownRebootAndSleep) {
    EXPECT_TRUE(ShutdownComputer());
    EXPECT_TRUE(RebootComputer());
    EXPECT_TRUE(power.Suspend());
}

// With a mocked GNOME session manager on the session bus.
TEST_F(RealPower, LogOffReachesTheSessionManager) {
    EXPECT_TRUE(LogoffSession());
}

// With logind, XDG_SESSION_ID set by test_power.py, and at first no session manager: logind ends the session.
TEST_F(RealPower, LogOffIsAccepted) {
    EXPECT_TRUE(LogoffSession());
}

// With no logind and no session manager on the buses.
TEST_F(RealPower, WithoutLogindTheOperationsFailQuietlyAndTheMainWindowStillCloses) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ShutdownComputer());
    EXPECT_FALSE(RebootComputer());
    EXPECT_FALSE(power.Suspend());
    qputenv("XDG_SESSION_ID", "7");
    EXPECT_FALSE(LogoffSession());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << "one line for each failed operation:\n" << err;

    CreateForms();
    Form1->NoWarnings = true;
    Form1->RadioButton4->setChecked(true);
    Form1->RunFiredTasks(TimerSlot::Slot1);
    EXPECT_TRUE(Form1->MainClosed);
    EXPECT_EQ(terminated, 1);
    Form1->MainClosed = false;
    Form1->Button3Clicw(Form1->Image4);
    EXPECT_EQ(terminated, 2) << "the quick restart picture closes the main window after a refused restart";
}

// With a mocked org.freedesktop.ScreenSaver: the call reaches it (checked by test_power.py) and the X server's own
// saver is left alone.
TEST_F(RealPower, ScreenSaverGoesThroughTheSessionService) {
    ASSERT_EQ(ScreenSaverState(), ScreenSaverOff);
    display.StartScreenSaver();
    EXPECT_EQ(ScreenSaverState(), ScreenSaverOff);
}

// With no screen-saver service: the X server's saver is switched on.
TEST_F(RealPower, ScreenSaverFallsBackToTheXServer) {
    ASSERT_EQ(ScreenSaverState(), ScreenSaverOff);
    display.StartScreenSaver();
    EXPECT_EQ(ScreenSaverState(), ScreenSaverOn);
}

// Xvfb has no DPMS extension: one stderr line, nothing else.
TEST_F(RealPower, MonitorOffWithoutDpmsLeavesOneLine) {
    testing::internal::CaptureStderr();
    display.MonitorLowPower();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("DPMS"), std::string::npos) << err;
    EXPECT_NE(ScreenSaverState(), -1) << "the X server is still there";
}

} // namespace
