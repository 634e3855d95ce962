// SPDX-License-Identifier: GPL-3.0-or-later
// The real XKB lock keys on the fixture's X server, the blinker putting them back after a run, and the Pause key.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/TrayIcon.h"
#include "controls/WindowTimer.h"
#include "platform/linux/LinuxKeyState.h"
#include "platform/linux/LinuxLockKeys.h"
#include "platform/linux/XRootEvents.h"
#include "settings/Unit4.h"
#include "signals/Unit8.h"
#include "tests/fakes/TestApp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using platform::VK_CAPITAL_CODE;
using platform::VK_NUMLOCK_CODE;
using platform::VK_SCROLL_CODE;

class SystemLockKeys : public fakes::TestApp {
protected:
    void SetUp() override {
        // The fixture hands its own X server in DISPLAY; the user's keyboard is never touched.
        ASSERT_FALSE(qEnvironmentVariable("ZINDREL_FIXTURE_ROOT").isEmpty())
            << "refusing to run outside the system-test fixture";
        ASSERT_FALSE(qEnvironmentVariable("DISPLAY").isEmpty());
        platform::Current().lockKeys = &keys_;
        BlinkFirstTick = true;
        BlinkStep = 1;
        CreateForms();
    }
    void Locks(bool num, bool caps, bool scroll) {
        keys_.Set(VK_NUMLOCK_CODE, num);
        keys_.Set(VK_CAPITAL_CODE, caps);
        keys_.Set(VK_SCROLL_CODE, scroll);
    }
    std::string Lit() {
        return std::string{keys_.IsOn(VK_NUMLOCK_CODE) ? 'N' : '-', keys_.IsOn(VK_CAPITAL_CODE) ? 'C' : '-',
                           keys_.IsOn(VK_SCROLL_CODE) ? 'S' : '-'};
    }
    platform::LinuxLockKeys keys_;
};

TEST_F(SystemLockKeys, EachLockSwitchesOnAndOffAndReadsBack) {
    for (const bool on : {true, false, true, false}) {
        Locks(on, on, on);
        EXPECT_EQ(Lit(), on ? "NCS" : "---");
    }
    Locks(true, false, true);
    EXPECT_EQ(Lit(), "N-S");
    Locks(true, false, true);
    EXPECT_EQ(Lit(), "N-S");
    Locks(false, true, false);
    EXPECT_EQ(Lit(), "-C-");
}

TEST_F(SystemLockKeys, PatternThreeRunLeavesTheLocksAsTheyWere) {
    Locks(true, false, true);
    Form4->CheckBox5->setChecked(true);
    Form4->TrackBar3->setValue(100);
    Form4->TrackBar2->setValue(1);
    Form4->ComboBox1->setCurrentIndex(2);
    Form4->SpeedButton4Click(Form4);
    clock.advance(100);
    EXPECT_EQ(Lit(), "NCS");
    clock.advance(100);
    EXPECT_EQ(Lit(), "---");
    clock.advance(100);
    EXPECT_EQ(Lit(), "NCS");
    clock.advance(700);
    EXPECT_FALSE(DM->Timer2->Enabled());
    EXPECT_EQ(Lit(), "N-S");
}

TEST_F(SystemLockKeys, ATrayRestoreWithNoRunLeavesTheLocksUntouched) {
    // An earlier run saved all-off; the user has switched the locks on since.
    Locks(false, false, false);
    Form4->CheckBox5->setChecked(true);
    Form4->TrackBar3->setValue(100);
    Form4->TrackBar2->setValue(1);
    Form4->ComboBox1->setCurrentIndex(0);
    Form4->SpeedButton4Click(Form4);
    clock.advance(1000);
    Locks(true, true, true);
    Form1->Button3Clicw(Form1->RxTrayIcon1);
    EXPECT_EQ(Lit(), "NCS");
    Form4->SpeedButton5Click(Form4);
    EXPECT_EQ(Lit(), "NCS");
}

TEST_F(SystemLockKeys, AKeymapLightingCapsLockForTheLayoutNeverLeavesCapsLockOn) {
    ::Display *dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    // The CapsLock light shows a layout other than the first, as grp_led:caps makes it: the light no longer
    // says whether CapsLock is on.
    int index = -1;
    ASSERT_TRUE(XkbGetNamedIndicator(dpy, XInternAtom(dpy, "Caps Lock", False), &index, nullptr, nullptr, nullptr));
    ASSERT_GE(index, 0);
    XkbDescPtr keymap = XkbGetMap(dpy, 0, XkbUseCoreKbd);
    ASSERT_NE(keymap, nullptr);
    ASSERT_EQ(XkbGetIndicatorMap(dpy, 1u << index, keymap), Success);
    const XkbIndicatorMapRec original = keymap->indicators->maps[index];
    XkbIndicatorMapRec &map = keymap->indicators->maps[index];
    map = XkbIndicatorMapRec{};
    map.flags = XkbIM_NoExplicit;
    map.which_groups = XkbIM_UseLocked;
    map.groups = 0xfe;
    ASSERT_TRUE(XkbSetIndicatorMap(dpy, 1u << index, keymap));
    XSync(dpy, False);
    const auto capsLocked = [dpy] {
        XkbStateRec state{};
        return XkbGetState(dpy, XkbUseCoreKbd, &state) == Success && (state.locked_mods & LockMask) != 0;
    };

    Locks(false, true, false);
    EXPECT_TRUE(capsLocked());
    EXPECT_EQ(Lit(), "-C-");
    Locks(false, false, false);
    EXPECT_FALSE(capsLocked());

    Form4->CheckBox5->setChecked(true);
    Form4->TrackBar3->setValue(100);
    Form4->TrackBar2->setValue(1);
    Form4->ComboBox1->setCurrentIndex(2);
    Form4->SpeedButton4Click(Form4);
    clock.advance(1000);
    EXPECT_FALSE(DM->Timer2->Enabled());
    EXPECT_FALSE(capsLocked()) << "the run put CapsLock back off";
    EXPECT_EQ(Lit(), "---");

    map = original;
    XkbSetIndicatorMap(dpy, 1u << index, keymap);
    XkbFreeKeyboard(keymap, 0, True);
    XCloseDisplay(dpy);
}

// Pressed through XTest: the poll asks the server; each watch hears the raw events on the connection they share,
// and one that has gone hears nothing more while the other still does.
TEST_F(SystemLockKeys, ThePauseKeyReachesThePollAndTheWatchesOfTheMomentOnly) {
    Display *dpy = XOpenDisplay(nullptr);
    ASSERT_NE(dpy, nullptr);
    const KeyCode pause = XKeysymToKeycode(dpy, XK_Pause);
    ASSERT_NE(pause, 0);
    const auto tap = [dpy, pause](bool down) {
        XTestFakeKeyEvent(dpy, pause, down ? True : False, CurrentTime);
        XSync(dpy, False);
    };
    {
        platform::LinuxKeyState polled;
        EXPECT_FALSE(polled.PausePressed());
        tap(true);
        EXPECT_TRUE(polled.PausePressed()) << "held down";
        tap(false);
        EXPECT_FALSE(polled.PausePressed());
    }
    std::vector<bool> first;
    std::vector<bool> second;
    auto gone = std::make_unique<platform::LinuxKeyState>();
    ASSERT_TRUE(gone->WatchPause([&first](bool down) { first.push_back(down); }));
    auto staying = std::make_unique<platform::LinuxKeyState>();
    ASSERT_TRUE(staying->WatchPause([&second](bool down) { second.push_back(down); }));
    tap(true);
    tap(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.size() >= 2 && second.size() >= 2; }, 5000));
    gone.reset();
    tap(true);
    tap(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.size() >= 4; }, 5000));
    EXPECT_EQ(first, (std::vector<bool>{true, false}));
    EXPECT_EQ(second, (std::vector<bool>{true, false, true, false}));
    XCloseDisplay(dpy);

    // The connection lasts as long as a watch uses it: a DISPLAY changed meanwhile counts from the next one on.
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    EXPECT_NE(platform::XRootEvents::Share(), nullptr) << "shared while a watch lives";
    staying.reset();
    EXPECT_EQ(platform::XRootEvents::Share(), nullptr) << "closed with its last user, asked again";
    qputenv("DISPLAY", display);
}

} // namespace
