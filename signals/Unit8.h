// SPDX-License-Identifier: GPL-3.0-or-later
// TDM, the data module of the keyboard-light blinker.
#pragma once

#include <QObject>

#include <cstdint>

class WindowTimer;

// The blinker's state, one for the program.
extern bool BlinkFirstTick;
extern std::int32_t BlinkStep;
extern std::uint8_t BlinkPattern;

class TDM : public QObject {
    Q_OBJECT
public:
    TDM();

    WindowTimer *Timer1; // step
    WindowTimer *Timer2; // duration

    void FormCreate();
    void Timer1Timer(QObject *Sender);
    // Ends a blink run.
    void Timer2Timer(QObject *Sender);
};
