// SPDX-License-Identifier: GPL-3.0-or-later
// Long runs on a ManualClock: thousands of arm / pause / fire / cancel cycles leave the heap where it was.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of live heap bytes (its header ships with clang, not with g++).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

constexpr std::int64_t kMinute = 60000;
constexpr int kCycles = 10000;

// Bytes the program holds on the heap now; under AddressSanitizer its own count, since freed blocks sit in
// its quarantine and would hide a leak in the resident size.
long long HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<long long>(mallinfo2().uordblks);
#endif
}

long long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    long long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

class Soak : public fakes::TestApp {
protected:
    void SetUp() override {
        StartAt(QTime(10, 30, 20));
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(1);
    }
    // One cycle: arm, pause half way, resume, fire; arm again and cancel. Returns the sounds it played, or -1
    // when the cancelled run sounded too. The long stretches pass as suspend() (the timers that fell due fire
    // at the next advance), so a cycle costs a few seconds of ticks instead of four minutes.
    int Cycle() {
        // The fakes' own records of calls and notices grow with every firing; the program's heap must not.
        fake.log.clear();
        fake.notifications.notices.clear();
        Form1->Button2Click(Form1->Button2);
        clock.advance(1000);
        clock.suspend(29000);
        clock.advance(1000);
        Form1->SpeedButton3Click(Form1->SpeedButton3);
        clock.suspend(kMinute);
        clock.advance(1000);
        const int whilePaused = fake.Count("PlayFile /sounds/alarm.wav");
        Form1->SpeedButton3Click(Form1->SpeedButton3);
        clock.suspend(27000);
        clock.advance(3000);
        const int fired = fake.Count("PlayFile /sounds/alarm.wav");
        Form1->Button2Click(Form1->Button2);
        Form1->Button1Click(Form1->Button1);
        clock.suspend(2 * kMinute);
        clock.advance(1000);
        // What the event loop does between two user actions: the window system's queue (expose and activation
        // events of every show and hide) and the deferred deletes.
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const bool wrong = whilePaused != 0 || fake.Count("PlayFile /sounds/alarm.wav") != fired;
        return wrong ? -1 : fired;
    }
};

TEST_F(Soak, TenThousandArmPauseFireCancelCyclesKeepTheHeapFlat) {
    // Warm-up: caches of fonts, styles and strings fill during the first cycles.
    for (int i = 0; i < 100; ++i) {
        ASSERT_GT(Cycle(), 0) << "warm-up cycle " << i;
    }
    const long long heapStart = HeapInUse();
    const long long rssStart = ResidentBytes();
    int fired = 0;
    int wrong = 0;
    for (int i = 0; i < kCycles; ++i) {
        const int sounds = Cycle();
        fired += sounds > 0 ? 1 : 0;
        wrong += sounds > 0 ? 0 : 1;
    }
    const long long heapEnd = HeapInUse();
    const long long rssEnd = ResidentBytes();
    std::printf("[ figures  ] %d cycles, %d fired, %d wrong; heap in use %lld -> %lld bytes (%+lld), "
                "RSS %lld -> %lld KiB\n",
                kCycles, fired, wrong, heapStart, heapEnd, heapEnd - heapStart, rssStart / 1024, rssEnd / 1024);
    EXPECT_EQ(fired, kCycles);
    EXPECT_EQ(wrong, 0);
    // A leak of one small object per cycle would already be 10 000 blocks, several hundred kilobytes.
    EXPECT_LT(heapEnd - heapStart, 64 * 1024);
    EXPECT_EQ(Form1->windowTitle(), "Zindrel - остановлен");
}

} // namespace
