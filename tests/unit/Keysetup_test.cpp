// SPDX-License-Identifier: GPL-3.0-or-later
// TKeysetup's properties and the platform-family branch of setting a lock.
#include "signals/Keysetup.h"
#include "tests/fakes/FakePlatform.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using fakes::CallLog;
using platform::VK_CAPITAL_CODE;
using platform::VK_NUMLOCK_CODE;
using platform::VK_SCROLL_CODE;

TEST(Keysetup, PropertiesReadAndSetTheirOwnLock) {
    fakes::FakePlatform fake;
    TKeysetup keys;
    fake.lockKeys.state = {{VK_NUMLOCK_CODE, true}, {VK_CAPITAL_CODE, false}, {VK_SCROLL_CODE, true}};
    EXPECT_TRUE(keys.NumLock());
    EXPECT_FALSE(keys.CapsLock());
    EXPECT_TRUE(keys.ScrollLock());

    keys.SetCapsLock(true);
    keys.SetNumLock(false);
    keys.SetScrollLock(false);
    EXPECT_EQ(fake.log, (CallLog{"Set CapsLock on", "Set NumLock off", "Set ScrollLock off"}));
    EXPECT_FALSE(GetLockKeyState(VK_NUMLOCK_CODE));
    EXPECT_TRUE(GetLockKeyState(VK_CAPITAL_CODE));
}

TEST(Keysetup, AboutIsFixed) {
    TKeysetup keys;
    const QString about = keys.About();
    EXPECT_TRUE(about.startsWith(QStringLiteral("TKeysetup 1.0"))) << about.toStdString();
    keys.SetAbout(QStringLiteral("other"));
    EXPECT_EQ(keys.About(), about);
}

// A recorder that logs every request, so the branch's own "already so" check is visible.
class EveryCallLockKeys : public platform::LockKeys {
public:
    bool IsOn(int vk) override { return state[vk]; }
    void Set(int vk, bool on) override {
        calls.push_back(std::to_string(vk) + (on ? " on" : " off"));
        state[vk] = on;
    }
    std::map<int, bool> state;
    std::vector<std::string> calls;
};

TEST(Keysetup, NtFamilySendsNothingForALockAlreadySoOtherFamiliesDiffer) {
    fakes::FakePlatform fake;
    EveryCallLockKeys locks;
    platform::Current().lockKeys = &locks;
    locks.state[VK_NUMLOCK_CODE] = true;

    fake.system.platformId = platform::PLATFORM_WIN32_NT;
    SetLockKeyState(VK_NUMLOCK_CODE, true);
    SetLockKeyState(VK_NUMLOCK_CODE, false);
    EXPECT_EQ(locks.calls, (std::vector<std::string>{"144 off"}));

    // The Windows 95 family writes the state table whatever it held.
    locks.calls.clear();
    fake.system.platformId = platform::PLATFORM_WIN32_WINDOWS;
    SetLockKeyState(VK_NUMLOCK_CODE, false);
    EXPECT_EQ(locks.calls, (std::vector<std::string>{"144 off"}));

    locks.calls.clear();
    fake.system.platformId = 3;
    SetLockKeyState(VK_CAPITAL_CODE, true);
    EXPECT_TRUE(locks.calls.empty());
    EXPECT_FALSE(locks.state[VK_CAPITAL_CODE]);
}

} // namespace
