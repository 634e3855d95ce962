// SPDX-License-Identifier: GPL-3.0-or-later
// TDM, the data module of the keyboard-light blinker.
#pragma once

#include <QObject>

#include <cstdint>

class TKeysetup;
class WindowTimer;

// The blinker's state, one for the program.
extern bool BlinkFirstTick;
extern std::int32_t BlinkStep;
extern std::uint8_t BlinkPattern;
// The locks as the first tick of the latest run found them.
extern bool SavedNumLock;
extern bool SavedCapsLock;
extern bool SavedScrollLock;

class TDM : public QObject {
    Q_OBJECT
public:
    TDM();

    TKeysetup *Keysetup1;
    WindowTimer *Timer1; // step
    WindowTimer *Timer2; // duration

    void FormCreate();
    // One step of the blink pattern; the first step of a run saves the locks and switches them off.
    void Timer1Timer(QObject *Sender);
    // Ends a blink run.
    void Timer2Timer(QObject *Sender);

    // What the other windows ask of the blinker.
    void SetBlinkSpeed(int stepMs);
    void SetBlinkTime(int seconds);
    void StartBlinking();
    // Ends a blink run, or changes nothing when none runs.
    void StopBlinking();
    bool Blinking() const;
};
