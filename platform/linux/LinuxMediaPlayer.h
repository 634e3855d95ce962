// SPDX-License-Identifier: GPL-3.0-or-later
// The MediaPlayer interface on Linux.
#pragma once

#include "platform/MediaPlayer.h"

namespace platform {

class LinuxMediaPlayer : public MediaPlayer {
public:
    bool Start(const std::string &path, const std::string &className) override;
    std::uintptr_t Find(const std::string &className) override;
    bool IsAlive(std::uintptr_t player) override;
    void Command(std::uintptr_t player, PlayerCommand command) override;
    void SetVolume(std::uintptr_t player, std::uint8_t volume) override;
};

} // namespace platform
