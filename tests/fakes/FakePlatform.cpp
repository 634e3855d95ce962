// SPDX-License-Identifier: GPL-3.0-or-later
// Recording fakes of the platform interfaces.
#include "tests/fakes/FakePlatform.h"

#include <algorithm>

namespace fakes {

namespace {
const char *LockName(int vk) {
    switch (vk) {
    case platform::VK_NUMLOCK_CODE:
        return "NumLock";
    case platform::VK_CAPITAL_CODE:
        return "CapsLock";
    case platform::VK_SCROLL_CODE:
        return "ScrollLock";
    default:
        return "?";
    }
}

const char *CommandName(platform::PlayerCommand command) {
    switch (command) {
    case platform::PlayerCommand::PrevTrack:
        return "PrevTrack";
    case platform::PlayerCommand::PlayPause:
        return "PlayPause";
    case platform::PlayerCommand::StopPlay:
        return "StopPlay";
    case platform::PlayerCommand::NextTrack:
        return "NextTrack";
    case platform::PlayerCommand::Close:
        return "Close";
    }
    return "?";
}
} // namespace

void FakeLockKeys::Set(int vk, bool on) {
    if (state[vk] != on) {
        log_.push_back(std::string("Set ") + LockName(vk) + (on ? " on" : " off"));
    }
    state[vk] = on;
}

bool FakeAudio::PlayFile(const std::string &path) {
    log_.push_back("PlayFile " + path);
    return result;
}

bool FakeAudio::PlayTone(unsigned frequencyHz, unsigned durationMs) {
    log_.push_back("PlayTone " + std::to_string(frequencyHz) + " " + std::to_string(durationMs));
    return result;
}

bool FakeMediaPlayer::Start(const std::string &path, const std::string &className) {
    log_.push_back("StartPlayer " + path + " " + className);
    return true;
}

std::uintptr_t FakeMediaPlayer::Find(const std::string &className) {
    log_.push_back("FindPlayer " + className);
    return running;
}

void FakeMediaPlayer::Command(std::uintptr_t player, platform::PlayerCommand command) {
    if (IsAlive(player)) {
        log_.push_back(std::string("Player ") + CommandName(command));
    }
}

void FakeMediaPlayer::SetVolume(std::uintptr_t player, std::uint8_t volume) {
    if (IsAlive(player)) {
        log_.push_back("Player Volume " + std::to_string(volume));
    }
}

void FakeSystem::MessageBox(const std::string &text, const std::string &caption, unsigned flags) {
    log_.push_back("MessageBox " + caption);
    messages.push_back({text, caption, flags});
    if (onMessage) {
        onMessage(messages.back());
    }
}

std::uint8_t FakePortIO::Read(std::uint16_t port) {
    log_.push_back("PortRead " + std::to_string(port));
    return ports[port];
}

void FakePortIO::Write(std::uint16_t port, std::uint8_t value) {
    log_.push_back("PortWrite " + std::to_string(port) + " " + std::to_string(value));
    ports[port] = value;
}

FakePlatform::FakePlatform() : previous_(platform::Current()) {
    platform::Install({&power, &display, &lockKeys, &keyState, &audio, &player, &cdDrive, &launcher, &desktop, &system,
                       &ports, &notifications, &windowManager, &sleepGuard});
}

FakePlatform::~FakePlatform() {
    platform::Install(previous_);
}

int FakePlatform::Count(const std::string &call) const {
    return static_cast<int>(std::count(log.begin(), log.end(), call));
}

} // namespace fakes
