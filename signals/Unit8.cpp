// SPDX-License-Identifier: GPL-3.0-or-later
// TDM, the blinker: nine patterns over the three lock keys, and the end that puts the locks back.
#include "signals/Unit8.h"

#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "controls/WindowTimer.h"
#include "settings/Settings.h"
#include "signals/Keysetup.h"

#include <iterator>
#include <vector>

namespace {

enum class Lock : std::uint8_t { Num, Caps, Scroll };
enum class Turn : std::uint8_t { On, Off, Over };

// One lock changed by a step.
struct Change {
    Lock lock;
    Turn turn;
};

// A step: its changes in the order they are made.
using Step = std::vector<Change>;

constexpr Lock N = Lock::Num;
constexpr Lock C = Lock::Caps;
constexpr Lock S = Lock::Scroll;
constexpr Turn On = Turn::On;
constexpr Turn Off = Turn::Off;

// The nine patterns in the order of the settings dialog's list, each a cycle of steps.
const std::vector<Step> kPatterns[] = {
    {{{N, On}, {C, Off}, {S, Off}}, {{N, Off}, {C, On}, {S, Off}}, {{N, Off}, {C, Off}, {S, On}}}, // left to right
    {{{N, Off}, {C, Off}, {S, On}}, {{N, Off}, {C, On}, {S, Off}}, {{N, On}, {C, Off}, {S, Off}}}, // right to left
    {{{N, On}, {C, On}, {S, On}}, {{N, Off}, {C, Off}, {S, Off}}},                                 // all at once
    {{{N, Turn::Over}}},                                                                           // NumLock alone
    {{{C, Turn::Over}}},                                                                           // CapsLock alone
    {{{S, Turn::Over}}},                                                                           // ScrollLock alone
    {{{C, On}, {S, Off}}, {{C, Off}, {S, On}}},                                                    // Caps and Scroll
    {{{C, On}, {N, Off}}, {{C, Off}, {N, On}}},                                                    // Num and Caps
    {{{S, On}, {N, Off}}, {{S, Off}, {N, On}}},                                                    // Num and Scroll
};

bool IsOn(const TKeysetup &keys, Lock lock) {
    switch (lock) {
    case Lock::Num:
        return keys.NumLock();
    case Lock::Caps:
        return keys.CapsLock();
    case Lock::Scroll:
        return keys.ScrollLock();
    }
    return false;
}

void Take(TKeysetup &keys, const Step &step) {
    for (const Change &change : step) {
        const bool on = change.turn == Turn::Over ? !IsOn(keys, change.lock) : change.turn == Turn::On;
        switch (change.lock) {
        case Lock::Num:
            keys.SetNumLock(on);
            break;
        case Lock::Caps:
            keys.SetCapsLock(on);
            break;
        case Lock::Scroll:
            keys.SetScrollLock(on);
            break;
        }
    }
}

} // namespace

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
            Form1->ShowBlinkStop(true);
        }
    }
    const std::size_t pattern = BlinkPattern;
    if (pattern < 1 || pattern > std::size(kPatterns)) {
        return;
    }
    const std::vector<Step> &steps = kPatterns[pattern - 1];
    // A pattern of one step takes it at every tick, whatever step a pattern chosen earlier in the run reached.
    if (steps.size() == 1) {
        Take(keys, steps.front());
        return;
    }
    // A step the pattern has no row for changes nothing and leaves BlinkStep where it is.
    if (BlinkStep < 1 || static_cast<std::size_t>(BlinkStep) > steps.size()) {
        return;
    }
    Take(keys, steps[BlinkStep - 1]);
    BlinkStep = static_cast<std::int32_t>(static_cast<std::size_t>(BlinkStep) % steps.size()) + 1;
}

void TDM::Timer2Timer(QObject *) {
    StopBlinking();
}

void TDM::SetBlinkSpeed(int stepMs) {
    Timer1->SetInterval(stepMs);
}

void TDM::SetBlinkTime(int seconds) {
    Timer2->SetInterval(static_cast<std::int64_t>(seconds) * 1000);
}

void TDM::StartBlinking() {
    Timer1->SetEnabled(true);
    Timer2->SetEnabled(true);
}

bool TDM::Blinking() const {
    return Timer1->Enabled() || Timer2->Enabled();
}

void TDM::StopBlinking() {
    Timer1->SetEnabled(false);
    // An end with no first tick since the last end (a tray restore, a close of the settings dialog) has
    // nothing of its own to put back, and must not overwrite the user's locks with an older run's states.
    if (!BlinkFirstTick) {
        Keysetup1->SetNumLock(SavedNumLock);
        Keysetup1->SetCapsLock(SavedCapsLock);
        Keysetup1->SetScrollLock(SavedScrollLock);
    }
    if (Form1 != nullptr) {
        Form1->ShowBlinkStop(false);
    }
    Timer2->SetEnabled(false);
    BlinkFirstTick = true;
}
