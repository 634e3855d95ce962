// SPDX-License-Identifier: GPL-3.0-or-later
// The window-timer rules, the manual clock's time order and the real clock's timerfd.
#include "controls/ManualClock.h"
#include "controls/SystemClock.h"
#include "controls/WindowTimer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Recorder {
    std::vector<std::pair<std::string, std::int64_t>> ticks;
    void Attach(WindowTimer &timer, const std::string &name, const ManualClock &clock) {
        timer.OnTimer = [this, name, &clock](QObject *) { ticks.emplace_back(name, clock.NowMs()); };
    }
};

} // namespace

TEST(WindowTimer, NewIntervalOrSwitchingOnRestartsThePeriodTheSameValuesChangeNothing) {
    ManualClock clock;
    WindowTimer timer(nullptr, &clock);
    Recorder r;
    r.Attach(timer, "t", clock);
    timer.SetInterval(1000);
    timer.SetEnabled(true);
    clock.advance(600);
    timer.SetInterval(1000); // same interval: the period goes on
    timer.SetEnabled(true);  // already on: nothing
    clock.advance(400);
    ASSERT_EQ(r.ticks.size(), 1u);
    EXPECT_EQ(r.ticks[0].second, 1000);
    clock.advance(300);
    timer.SetInterval(500); // a new interval restarts from now
    clock.advance(499);
    EXPECT_EQ(r.ticks.size(), 1u);
    clock.advance(1);
    EXPECT_EQ(r.ticks.size(), 2u);
    EXPECT_EQ(r.ticks[1].second, 1800);
    timer.SetEnabled(false);
    clock.advance(5000);
    EXPECT_EQ(r.ticks.size(), 2u);
    timer.SetEnabled(true); // switching on starts a fresh period
    EXPECT_EQ(timer.RemainingTime(), 500);
}

TEST(WindowTimer, ManualClockFiresDueTimersInTimeOrderAndHandlersMayAdvanceTime) {
    ManualClock clock;
    WindowTimer a(nullptr, &clock), b(nullptr, &clock), c(nullptr, &clock);
    Recorder r;
    r.Attach(a, "a", clock);
    r.Attach(b, "b", clock);
    a.SetInterval(300);
    b.SetInterval(200);
    c.SetInterval(250);
    // c advances time from inside its own tick, as a test driving a modal dialog does.
    c.OnTimer = [&](QObject *) {
        r.ticks.emplace_back("c", clock.NowMs());
        c.SetEnabled(false);
        clock.advance(100);
    };
    a.SetEnabled(true);
    b.SetEnabled(true);
    c.SetEnabled(true);
    clock.advance(600);
    const std::vector<std::pair<std::string, std::int64_t>> expected = {{"b", 200}, {"c", 250}, {"a", 300},
                                                                        {"b", 400}, {"a", 600}, {"b", 600}};
    EXPECT_EQ(r.ticks, expected);
    EXPECT_EQ(clock.NowMs(), 600);
}

TEST(WindowTimer, MissedPeriodsCoalesceUnlessTheTimerCatchesUp) {
    ManualClock clock;
    WindowTimer plain(nullptr, &clock), ticker(nullptr, &clock);
    int plainTicks = 0, tickerTicks = 0;
    plain.OnTimer = [&](QObject *) { ++plainTicks; };
    ticker.OnTimer = [&](QObject *) { ++tickerTicks; };
    ticker.SetCatchUp(true);
    for (WindowTimer *t : {&plain, &ticker}) {
        t->SetInterval(60000);
        t->SetEnabled(true);
    }
    clock.advance(30000);
    clock.suspend(10 * 60000); // ten minutes suspended
    clock.advance(0);
    EXPECT_EQ(tickerTicks, 10);
    EXPECT_EQ(plainTicks, 1);
    // Both go on from the resume on their own periods.
    clock.advance(60000);
    EXPECT_EQ(tickerTicks, 11);
    EXPECT_EQ(plainTicks, 2);
}

TEST(WindowTimer, ACheckWithLeewayRidesOnAnotherTimersWakeUpsAndKeepsItsPeriod) {
    ManualClock clock;
    WindowTimer ticker(nullptr, &clock), check(nullptr, &clock);
    std::vector<std::int64_t> checks;
    check.OnTimer = [&](QObject *) { checks.push_back(clock.NowMs()); };
    ticker.SetInterval(150);
    check.SetInterval(450);
    check.SetLeeway(1000); // cut to 449, below the interval: one tick a wake-up, never a loop
    check.SetEnabled(true);
    clock.advance(920); // alone, the check keeps its own time
    ticker.SetEnabled(true);
    clock.advance(780); // the ticker wakes at 1070, 1220, ..., 1670; the checks due at 1350 and 1800 come early
    ticker.SetEnabled(false);
    clock.advance(600); // alone again, on the period it kept
    EXPECT_EQ(checks, (std::vector<std::int64_t>{450, 900, 1070, 1370, 2250}));
}

TEST(WindowTimer, SixtyFourBitIntervalsHoldTheLongestSecondCountdown) {
    ManualClock clock;
    WindowTimer timer(nullptr, &clock);
    int ticks = 0;
    timer.OnTimer = [&](QObject *) { ++ticks; };
    const std::int64_t longest = 999999LL * 60000;
    timer.SetInterval(longest);
    timer.SetEnabled(true);
    EXPECT_EQ(timer.Interval(), longest);
    clock.advance(longest - 1);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(timer.RemainingTime(), 1);
    clock.advance(1);
    EXPECT_EQ(ticks, 1);
}

TEST(SystemClock, TicksOnTheBootClockAlsoInsideANestedEventLoop) {
    SystemClock clock;
    WindowTimer outer(nullptr, &clock), inner(nullptr, &clock);
    int innerTicks = 0;
    bool outerDone = false;
    inner.SetInterval(20);
    inner.OnTimer = [&](QObject *) { ++innerTicks; };
    outer.SetInterval(30);
    outer.OnTimer = [&](QObject *) {
        outer.SetEnabled(false);
        // A modal dialog's loop: the other timer must keep ticking inside it.
        QEventLoop loop;
        WindowTimer quit(nullptr, &clock);
        quit.SetInterval(150);
        quit.OnTimer = [&](QObject *) { loop.quit(); };
        quit.SetEnabled(true);
        loop.exec();
        outerDone = true;
    };
    inner.SetEnabled(true);
    outer.SetEnabled(true);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!outerDone && elapsed.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_TRUE(outerDone);
    EXPECT_GE(innerTicks, 5);
    EXPECT_GT(clock.NowMs(), 0);
}
