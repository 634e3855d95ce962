// SPDX-License-Identifier: GPL-3.0-or-later
// The few Xlib, DPMS and screen-saver calls of the monitor commands, behind an interface a test can fake.
#pragma once

namespace platform {

// One method per X call, with neutral types, so no X header leaks into the rest of the program.
class XDisplayCalls {
public:
    // DPMS power levels as the DPMS extension numbers them.
    enum DpmsLevel : unsigned short { DpmsOn = 0, DpmsStandby = 1, DpmsSuspend = 2, DpmsOff = 3 };

    virtual ~XDisplayCalls() = default;
    // XOpenDisplay(nullptr): the display named by $DISPLAY; false when there is none.
    virtual bool OpenDisplay() = 0;
    virtual void CloseDisplay() = 0;
    // DPMSQueryExtension && DPMSCapable.
    virtual bool DpmsAvailable() = 0;
    // DPMSInfo's "state": whether DPMS is enabled.
    virtual bool DpmsEnabled() = 0;
    virtual void DpmsEnable() = 0;
    virtual void DpmsForceLevel(DpmsLevel level) = 0;
    virtual void ActivateScreenSaver() = 0;
    // XSync: the requests above have reached the server when it returns.
    virtual void Sync() = 0;
};

// The real calls on the X display of $DISPLAY.
XDisplayCalls &RealXDisplayCalls();

// Puts the monitor into DPMS's low-power level, first enabling DPMS if it is off. False (with the one stderr
// line) when there is no X display or it has no DPMS.
bool DpmsLowPower(XDisplayCalls &x);
// XActivateScreenSaver; false (with the one stderr line) when there is no X display.
bool XScreenSaverOn(XDisplayCalls &x);

} // namespace platform
