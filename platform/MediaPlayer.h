// SPDX-License-Identifier: GPL-3.0-or-later
// An outside media player: found, started, and given track, volume and close commands.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class PlayerCommand { PrevTrack, PlayPause, StopPlay, NextTrack, Close };

class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;
    // Starts the player's program; true when it was started.
    virtual bool Start(const std::string &path, const std::string &className) = 0;
    // Looks for a running player; returns its handle, or 0 when none runs.
    virtual std::uintptr_t Find(const std::string &className) = 0;
    // Whether the handle still names the player to drive: it runs and, where several run, is still the one chosen.
    virtual bool IsAlive(std::uintptr_t player) = 0;
    virtual void Command(std::uintptr_t player, PlayerCommand command) = 0;
    // Volume 0..255.
    virtual void SetVolume(std::uintptr_t player, std::uint8_t volume) = 0;
    // Whether a player found at program start is worth looking for then: false where the player to drive is
    // chosen anew at each firing, so that a look-up ahead of need would only cost start-up time.
    virtual bool FoundAtStart() const { return true; }
};

} // namespace platform
