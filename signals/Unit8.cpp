// SPDX-License-Identifier: GPL-3.0-or-later
// TDM, the blinker: nine patterns over the three lock keys, and the end that puts the locks back.
#include "signals/Unit8.h"

#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/WindowTimer.h"
#include "settings/Settings.h"
#include "signals/Keysetup.h"

bool BlinkFirstTick = true;
std::int32_t BlinkStep = 1;
std::uint8_t BlinkPattern = 0;
bool SavedNumLock = false;
bool SavedCapsLock = false;
bool SavedScrollLock = false;

TDM::TDM() : Keysetup1(new TKeysetup(this)), Timer1(new WindowTimer(this)), Timer2(new WindowTimer(this)) {
    Timer1->SetInterval(setting::LightSpeed.fallback);
    Timer2->SetInterval(1000);
    Timer1->OnTimer = [this](QObject *sender) { Timer1Timer(sender); };
    Timer2->OnTimer = [this](QObject *sender) { Timer2Timer(sender); };
    FormCreate();
}

void TDM::FormCreate() {}

void TDM::Timer1Timer(QObject *) {
    TKeysetup &keys = *Keysetup1;
    if (BlinkFirstTick) {
        SavedNumLock = keys.NumLock();
        SavedCapsLock = keys.CapsLock();
        SavedScrollLock = keys.ScrollLock();
        keys.SetNumLock(false);
        keys.SetCapsLock(false);
        keys.SetScrollLock(false);
        BlinkFirstTick = false;
        BlinkStep = 1;
        if (Form1 != nullptr) {
            Form1->Image6->show();
        }
    }
    // A step the pattern has no row for changes nothing and leaves BlinkStep where it is.
    const auto lights = [&keys](bool num, bool caps, bool scroll) {
        keys.SetNumLock(num);
        keys.SetCapsLock(caps);
        keys.SetScrollLock(scroll);
    };
    switch (BlinkPattern) {
    case 1:
        if (BlinkStep == 1) {
            lights(true, false, false);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            lights(false, true, false);
            BlinkStep = 3;
        } else if (BlinkStep == 3) {
            lights(false, false, true);
            BlinkStep = 1;
        }
        break;
    case 2:
        if (BlinkStep == 1) {
            lights(false, false, true);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            lights(false, true, false);
            BlinkStep = 3;
        } else if (BlinkStep == 3) {
            lights(true, false, false);
            BlinkStep = 1;
        }
        break;
    case 3:
        if (BlinkStep == 1) {
            lights(true, true, true);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            lights(false, false, false);
            BlinkStep = 1;
        }
        break;
    case 4:
        keys.SetNumLock(!keys.NumLock());
        break;
    case 5:
        keys.SetCapsLock(!keys.CapsLock());
        break;
    case 6:
        keys.SetScrollLock(!keys.ScrollLock());
        break;
    case 7:
        if (BlinkStep == 1) {
            keys.SetCapsLock(true);
            keys.SetScrollLock(false);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            keys.SetCapsLock(false);
            keys.SetScrollLock(true);
            BlinkStep = 1;
        }
        break;
    case 8:
        if (BlinkStep == 1) {
            keys.SetCapsLock(true);
            keys.SetNumLock(false);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            keys.SetCapsLock(false);
            keys.SetNumLock(true);
            BlinkStep = 1;
        }
        break;
    case 9:
        if (BlinkStep == 1) {
            keys.SetScrollLock(true);
            keys.SetNumLock(false);
            BlinkStep = 2;
        } else if (BlinkStep == 2) {
            keys.SetScrollLock(false);
            keys.SetNumLock(true);
            BlinkStep = 1;
        }
        break;
    default:
        break;
    }
}

void TDM::Timer2Timer(QObject *) {
    Timer1->SetEnabled(false);
    // An end with no first tick since the last end (a tray restore, a close of the settings dialog) has
    // nothing of its own to put back, and must not overwrite the user's locks with an older run's states.
    if (!BlinkFirstTick) {
        Keysetup1->SetNumLock(SavedNumLock);
        Keysetup1->SetCapsLock(SavedCapsLock);
        Keysetup1->SetScrollLock(SavedScrollLock);
    }
    if (Form1 != nullptr) {
        Form1->Image6->hide();
    }
    Timer2->SetEnabled(false);
    BlinkFirstTick = true;
}
