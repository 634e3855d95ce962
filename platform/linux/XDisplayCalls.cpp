// SPDX-License-Identifier: GPL-3.0-or-later
// The monitor commands on an X display: DPMS low power and the server's screen saver.
#include "platform/linux/XDisplayCalls.h"

#include "platform/linux/Report.h"

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace platform {

namespace {

class RealCalls : public XDisplayCalls {
public:
    bool OpenDisplay() override {
        display_ = XOpenDisplay(nullptr);
        return display_ != nullptr;
    }
    void CloseDisplay() override {
        XCloseDisplay(display_);
        display_ = nullptr;
    }
    bool DpmsAvailable() override {
        int eventBase = 0;
        int errorBase = 0;
        return DPMSQueryExtension(display_, &eventBase, &errorBase) && DPMSCapable(display_);
    }
    bool DpmsEnabled() override {
        CARD16 level = 0;
        BOOL enabled = False;
        return DPMSInfo(display_, &level, &enabled) && enabled;
    }
    void DpmsEnable() override { DPMSEnable(display_); }
    void DpmsForceLevel(DpmsLevel level) override { DPMSForceLevel(display_, level); }
    void ActivateScreenSaver() override { XActivateScreenSaver(display_); }
    void Sync() override { XSync(display_, False); }

private:
    Display *display_ = nullptr;
};

static_assert(XDisplayCalls::DpmsStandby == DPMSModeStandby && XDisplayCalls::DpmsOff == DPMSModeOff);

} // namespace

XDisplayCalls &RealXDisplayCalls() {
    static RealCalls calls;
    return calls;
}

bool DpmsLowPower(XDisplayCalls &x) {
    if (!x.OpenDisplay()) {
        ReportUnreachable("monitor off: no X display");
        return false;
    }
    const bool available = x.DpmsAvailable();
    if (available) {
        // A server with DPMS switched off ignores a forced level.
        if (!x.DpmsEnabled()) {
            x.DpmsEnable();
        }
        // Standby is DPMS's low-power level, the counterpart of the "low power" (not "off") request of the
        // monitor command; it wakes fastest, and current panels blank just as for Off.
        x.DpmsForceLevel(XDisplayCalls::DpmsStandby);
        x.Sync();
    } else {
        ReportUnreachable("monitor off: the X display has no DPMS extension");
    }
    x.CloseDisplay();
    return available;
}

bool XScreenSaverOn(XDisplayCalls &x) {
    if (!x.OpenDisplay()) {
        ReportUnreachable("screen saver: no X display");
        return false;
    }
    x.ActivateScreenSaver();
    x.Sync();
    x.CloseDisplay();
    return true;
}

} // namespace platform
