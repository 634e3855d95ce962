// SPDX-License-Identifier: GPL-3.0-or-later
// Recording fakes of every platform interface, installed together for a test.
#pragma once

#include "platform/Platform.h"
#include "platform/linux/LinuxLauncher.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

// Every fake appends what it was asked to do to one shared log, so tests can pin orders across interfaces.
using CallLog = std::vector<std::string>;

class FakeSessionPower : public platform::SessionPower {
public:
    explicit FakeSessionPower(CallLog &log) : log_(log) {}
    bool LogOff() override { return Record("LogOff"); }
    bool PowerOff() override { return Record("PowerOff"); }
    bool Reboot() override { return Record("Reboot"); }
    bool Suspend() override { return Record("Suspend"); }
    bool result = true;

private:
    bool Record(const char *call) {
        log_.emplace_back(call);
        return result;
    }
    CallLog &log_;
};

class FakeDisplay : public platform::Display {
public:
    explicit FakeDisplay(CallLog &log) : log_(log) {}
    void MonitorLowPower() override { log_.emplace_back("MonitorLowPower"); }
    void StartScreenSaver() override { log_.emplace_back("StartScreenSaver"); }

private:
    CallLog &log_;
};

class FakeLockKeys : public platform::LockKeys {
public:
    explicit FakeLockKeys(CallLog &log) : log_(log) {}
    bool IsOn(int vk) override { return state[vk]; }
    void Set(int vk, bool on) override;
    std::map<int, bool> state;

private:
    CallLog &log_;
};

class FakeKeyState : public platform::KeyState {
public:
    bool PausePressed() override {
        if (down || pressedSincePoll) {
            pressedSincePoll = false;
            return true;
        }
        const bool pressed = pausePresses > 0;
        if (pressed) {
            --pausePresses;
        }
        return pressed;
    }
    bool WatchPause(std::function<void(bool)> changed) override {
        onChange = std::move(changed);
        return events;
    }
    // The key as an event-telling system reports it: down at once, then up.
    void Press() {
        down = pressedSincePoll = true;
        onChange(true);
    }
    void Release() {
        down = false;
        onChange(false);
    }
    // Polls that will report Pause as pressed.
    int pausePresses = 0;
    // Whether WatchPause reports events (the X11 backend) or asks to be polled (the Win32 one).
    bool events = false;
    bool down = false;
    bool pressedSincePoll = false;
    std::function<void(bool)> onChange;
};

class FakeAudio : public platform::Audio {
public:
    explicit FakeAudio(CallLog &log) : log_(log) {}
    bool PlayFile(const std::string &path) override;
    bool PlayTone(unsigned frequencyHz, unsigned durationMs) override;
    bool result = true;

private:
    CallLog &log_;
};

class FakeMediaPlayer : public platform::MediaPlayer {
public:
    explicit FakeMediaPlayer(CallLog &log) : log_(log) {}
    bool Start(const std::string &path, const std::string &className) override;
    std::uintptr_t Find(const std::string &className) override;
    bool IsAlive(std::uintptr_t player) override { return player != 0 && player == running; }
    void Command(std::uintptr_t player, platform::PlayerCommand command) override;
    void SetVolume(std::uintptr_t player, std::uint8_t volume) override;
    // The handle of the running player, 0 for none.
    std::uintptr_t running = 0;

private:
    CallLog &log_;
};

class FakeCdDrive : public platform::CdDrive {
public:
    explicit FakeCdDrive(CallLog &log) : log_(log) {}
    void OpenDoor() override { log_.emplace_back("OpenDoor"); }
    void CloseDoor() override { log_.emplace_back("CloseDoor"); }

private:
    CallLog &log_;
};

class FakeLauncher : public platform::Launcher {
public:
    explicit FakeLauncher(CallLog &log) : log_(log) {}
    bool Start(const std::string &commandLine) override {
        log_.push_back("Launch " + commandLine);
        return true;
    }
    // The launcher of the system the tests run on (/bin/sh, executable files).
    std::string ProgramCommandLine(const std::string &path) override { return platform::ShellQuoted(path); }
    platform::ProgramFiles Programs() override { return {"*", true}; }

private:
    CallLog &log_;
};

class FakeDesktop : public platform::Desktop {
public:
    explicit FakeDesktop(CallLog &log) : log_(log) {}
    bool OpenTarget(const std::string &target) override {
        log_.push_back("Open " + target);
        return true;
    }
    bool MakeShortcut(const std::string &executable, const std::string &workingFolder, const std::string &name,
                      const std::string &iconPng) override {
        log_.push_back("Shortcut " + executable + " " + workingFolder + " " + name);
        shortcutIcon = iconPng;
        return true;
    }
    std::string shortcutIcon;

private:
    CallLog &log_;
};

struct MessageBoxCall {
    std::string text;
    std::string caption;
    unsigned flags;
};

class FakeSystem : public platform::System {
public:
    explicit FakeSystem(CallLog &log) : log_(log) {}
    std::string LogonUserName() override { return userName; }
    std::string ExecutablePath() override { return programFolder + "zindrel"; }
    std::string ProgramFolder() override { return programFolder; }
    std::string ConfigFolder() override { return configFolder; }
    std::string ProgramVersion() override { return version; }
    int PlatformId() override { return platformId; }
    void MessageBox(const std::string &text, const std::string &caption, unsigned flags) override;
    void WarmUpMemory() override { ++warmUps; }

    std::string userName = "tester";
    std::string programFolder = "/tmp/";
    std::string configFolder = "/tmp/";
    std::string version = "1.0.0.0";
    int platformId = platform::PLATFORM_WIN32_NT;
    int warmUps = 0;
    std::vector<MessageBoxCall> messages;
    // Runs inside the box, while it would be on screen.
    std::function<void(const MessageBoxCall &)> onMessage;

private:
    CallLog &log_;
};

class FakePortIO : public platform::PortIO {
public:
    explicit FakePortIO(CallLog &log) : log_(log) {}
    std::uint8_t Read(std::uint16_t port) override;
    void Write(std::uint16_t port, std::uint8_t value) override;
    std::map<std::uint16_t, std::uint8_t> ports;

private:
    CallLog &log_;
};

// The notices shown, in order; an empty text records the withdrawal of one that was up.
class FakeNotifications : public platform::Notifications {
public:
    struct Shown {
        platform::NoticeKind kind = platform::NoticeKind::Warning;
        std::string title;
        std::string text;
        std::vector<std::string> labels;
        int expireMs = 0;
        bool urgent = false;
    };
    bool ShowsActions() const override { return showsActions; }
    void Show(platform::NoticeKind kind, platform::Notice notice) override {
        Shown shown{kind, notice.title, notice.text, {}, notice.expireMs, notice.urgent};
        for (const platform::NoticeAction &action : notice.actions) {
            shown.labels.push_back(action.label);
        }
        notices.push_back(shown);
        up.insert_or_assign(kind, std::move(notice));
    }
    // A withdrawal with no notice of that kind up does nothing, as on the desktop.
    void Withdraw(platform::NoticeKind kind) override {
        if (up.erase(kind) != 0) {
            notices.push_back({kind, {}, {}, {}, 0, false});
        }
    }
    // Whether a notice of this kind is up.
    bool IsUp(platform::NoticeKind kind = platform::NoticeKind::Warning) const { return up.count(kind) != 0; }
    // Picks the action of that label on the notice of this kind that is up; false when there is none to pick.
    bool Pick(platform::NoticeKind kind, const std::string &label) {
        const auto notice = up.find(kind);
        if (notice == up.end()) {
            return false;
        }
        for (const platform::NoticeAction &action : notice->second.actions) {
            if (action.label == label) {
                // The action may withdraw its own notice.
                const std::function<void()> run = action.run;
                run();
                return true;
            }
        }
        return false;
    }
    // The notices of a kind as sent, withdrawals left out.
    std::vector<Shown> Sent(platform::NoticeKind kind) const {
        std::vector<Shown> sent;
        for (const Shown &shown : notices) {
            if (shown.kind == kind && !shown.text.empty()) {
                sent.push_back(shown);
            }
        }
        return sent;
    }
    std::vector<Shown> notices;
    std::map<platform::NoticeKind, platform::Notice> up;
    bool showsActions = true;
};

// Counts apart from the shared log: window-manager requests come and go with showing, not with the tasks.
class FakeWindowManager : public platform::WindowManager {
public:
    void TitleOnly(std::uintptr_t window) override { titleOnly.push_back(window); }
    void ForceActive(std::uintptr_t window) override { forceActive.push_back(window); }
    std::vector<std::uintptr_t> titleOnly;
    std::vector<std::uintptr_t> forceActive;
};

// Its own state, apart from the shared log: holds follow the scheduler's state, not the firing's steps.
class FakeSleepGuard : public platform::SleepGuard {
public:
    void Hold(const std::string &reason) override { held = reason; }
    void Release() override { held.clear(); }
    void WakeAt(std::int64_t epochSeconds, std::function<void()> ended) override {
        wakeAt = epochSeconds;
        wakeEnded = std::move(ended);
    }
    void CancelWake() override {
        wakeAt = 0;
        wakeEnded = nullptr;
    }
    // The wake-up ends by itself, as the helper does when its time has passed.
    void EndWake() {
        wakeAt = 0;
        if (auto ended = std::exchange(wakeEnded, nullptr)) {
            ended();
        }
    }
    // The reason of the hold in force, empty when none; the wake-up time set, 0 when none.
    std::string held;
    std::int64_t wakeAt = 0;
    std::function<void()> wakeEnded;
};

// All the fakes, installed while this object lives.
class FakePlatform {
public:
    FakePlatform();
    ~FakePlatform();
    FakePlatform(const FakePlatform &) = delete;
    FakePlatform &operator=(const FakePlatform &) = delete;

    // How many log entries equal call.
    int Count(const std::string &call) const;

    CallLog log;
    FakeSessionPower power{log};
    FakeDisplay display{log};
    FakeLockKeys lockKeys{log};
    FakeKeyState keyState;
    FakeAudio audio{log};
    FakeMediaPlayer player{log};
    FakeCdDrive cdDrive{log};
    FakeLauncher launcher{log};
    FakeDesktop desktop{log};
    FakeSystem system{log};
    FakePortIO ports{log};
    FakeNotifications notifications;
    FakeWindowManager windowManager;
    FakeSleepGuard sleepGuard;

private:
    platform::Backends previous_;
};

} // namespace fakes
