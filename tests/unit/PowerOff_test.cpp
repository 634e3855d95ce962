// SPDX-License-Identifier: GPL-3.0-or-later
// The power module over the platform, and the X monitor commands over a recording fake of their X calls.
#include "actions/PowerOff.h"
#include "platform/linux/XDisplayCalls.h"
#include "tests/fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(PowerOff, EachOperationReachesItsOwnCallAndPassesItsResultOn) {
    fakes::FakePlatform fake;
    for (const bool result : {true, false}) {
        fake.log.clear();
        fake.power.result = result;
        EXPECT_EQ(LogoffSession(), result);
        EXPECT_EQ(ShutdownComputer(), result);
        EXPECT_EQ(RebootComputer(), result);
        SuspendComputer();
        SwitchMonitorOff();
        StartScreenSaver();
        EXPECT_EQ(fake.log,
                  fakes::CallLog({"LogOff", "PowerOff", "Reboot", "Suspend", "MonitorLowPower", "StartScreenSaver"}));
    }
}

class FakeX : public platform::XDisplayCalls {
public:
    bool OpenDisplay() override {
        calls.push_back("Open");
        return hasDisplay;
    }
    void CloseDisplay() override { calls.push_back("Close"); }
    bool DpmsAvailable() override { return hasDpms; }
    bool DpmsEnabled() override { return dpmsEnabled; }
    void DpmsEnable() override {
        calls.push_back("DPMSEnable");
        dpmsEnabled = true;
    }
    void DpmsForceLevel(DpmsLevel level) override {
        calls.push_back("DPMSForceLevel " + std::to_string(level) + (dpmsEnabled ? "" : " while disabled"));
    }
    void ActivateScreenSaver() override { calls.push_back("XActivateScreenSaver"); }
    void Sync() override { calls.push_back("Sync"); }

    bool hasDisplay = true;
    bool hasDpms = true;
    bool dpmsEnabled = true;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(XMonitor, DisabledDpmsIsEnabledBeforeTheLowPowerLevelIsForced) {
    FakeX x;
    x.dpmsEnabled = false;
    EXPECT_TRUE(platform::DpmsLowPower(x));
    EXPECT_EQ(x.calls, Calls({"Open", "DPMSEnable", "DPMSForceLevel 1", "Sync", "Close"}));
}

TEST(XMonitor, EnabledDpmsIsOnlyForcedToLowPower) {
    FakeX x;
    EXPECT_TRUE(platform::DpmsLowPower(x));
    EXPECT_EQ(x.calls, Calls({"Open", "DPMSForceLevel 1", "Sync", "Close"}));
}

TEST(XMonitor, MissingDpmsOrDisplayLeavesOneLineAndNoCall) {
    FakeX noDpms;
    noDpms.hasDpms = false;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::DpmsLowPower(noDpms));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(noDpms.calls, Calls({"Open", "Close"}));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("DPMS"), std::string::npos) << err;

    FakeX noDisplay;
    noDisplay.hasDisplay = false;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(platform::DpmsLowPower(noDisplay));
    EXPECT_FALSE(platform::XScreenSaverOn(noDisplay));
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(noDisplay.calls, Calls({"Open", "Open"})) << "nothing is sent to, or closed on, a display never opened";
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
}

TEST(XMonitor, ScreenSaverIsActivatedAndFlushedToTheServer) {
    FakeX x;
    EXPECT_TRUE(platform::XScreenSaverOn(x));
    EXPECT_EQ(x.calls, Calls({"Open", "XActivateScreenSaver", "Sync", "Close"}));
}

} // namespace
