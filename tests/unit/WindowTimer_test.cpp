// SPDX-License-Identifier: GPL-3.0-or-later
// The window-timer rules and the manual clock's time order.
#include "controls/ManualClock.h"
#include "controls/WindowTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(WindowTimer, PlaceholderBuilds) {
    ManualClock clock;
    WindowTimer timer(nullptr, &clock);
    int ticks = 0;
    timer.OnTimer = [&](QObject *) { ++ticks; };
    timer.SetInterval(100);
    timer.SetEnabled(true);
    clock.advance(250);
    EXPECT_EQ(ticks, 2);
}
