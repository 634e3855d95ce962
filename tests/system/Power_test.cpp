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

#include <QDir>
#include <QFileInfo>
#include <QRadioButton>
#include <QString>

#include <X11/Xlib.h>
#include <X11/extensions/scrnsaver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// True only when the fixture said so and both bus sockets lie inside the fixture's own folder; these tests
// make real power calls and must never reach the machine's logind or session manager.
bool OnFixtureBuses(std::string &why) {
    if (qEnvironmentVariable("ZINDREL_PRIVATE_BUSES") != QLatin1String("1")) {
        why = "ZINDREL_PRIVATE_BUSES=1 is not set: run through tests/system/test_power.py";
        return false;
    }
    const QString root = QFileInfo(qEnvironmentVariable("ZINDREL_FIXTURE_ROOT")).canonicalFilePath();
    if (root.isEmpty()) {
        why = "ZINDREL_FIXTURE_ROOT is not an existing folder";
        return false;
    }
    for (const char *variable : {"DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        const QString address = qEnvironmentVariable(variable);
        const QString prefix = QStringLiteral("unix:path=");
        // A single unix:path address; a list could fall through to another bus.
        if (!address.startsWith(prefix) || address.contains(QLatin1Char(';'))) {
            why = std::string(variable) + " is not one unix:path address: " + address.toStdString();
            return false;
        }
        const QString socket =
            QFileInfo(address.mid(prefix.size()).section(QLatin1Char(','), 0, 0)).canonicalFilePath();
        if (socket.isEmpty() || !socket.startsWith(root + QLatin1Char('/'))) {
            why = std::string(variable) + " does not point into " + root.toStdString();
            return false;
        }
    }
    return true;
}

#define REQUIRE_FIXTURE_BUSES()                                                                                        \
    do {                                                                                                               \
        std::string why;                                                                                               \
        ASSERT_TRUE(OnFixtureBuses(why)) << "refusing to run: " << why;                                                \
    } while (false)

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
