// SPDX-License-Identifier: GPL-3.0-or-later
// TDM, the blinker (its patterns come with the blinker work).
#include "signals/Unit8.h"

#include "controls/WindowTimer.h"

bool BlinkFirstTick = true;
std::int32_t BlinkStep = 1;
std::uint8_t BlinkPattern = 0;

TDM::TDM() : Timer1(new WindowTimer(this)), Timer2(new WindowTimer(this)) {
    Timer1->SetInterval(250);
    Timer2->SetInterval(1000);
    Timer1->OnTimer = [this](QObject *sender) { Timer1Timer(sender); };
    Timer2->OnTimer = [this](QObject *sender) { Timer2Timer(sender); };
    FormCreate();
}

void TDM::FormCreate() {}

void TDM::Timer1Timer(QObject *) {}

void TDM::Timer2Timer(QObject *) {
    Timer1->SetEnabled(false);
    Timer2->SetEnabled(false);
    BlinkFirstTick = true;
}
