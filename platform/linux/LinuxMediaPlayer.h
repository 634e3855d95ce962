// SPDX-License-Identifier: GPL-3.0-or-later
// The MediaPlayer interface on Linux: an MPRIS player on the session bus.
#pragma once

#include "platform/MediaPlayer.h"

#include <optional>
#include <string>
#include <vector>

namespace platform {

class LinuxMediaPlayer : public MediaPlayer {
public:
    bool Start(const std::string &path, const std::string &className) override;
    // The player ChoosePlayer picks (the class name means nothing here).
    std::uintptr_t Find(const std::string &className) override;
    // Whether the handle's player is still the one ChoosePlayer picks.
    bool IsAlive(std::uintptr_t player) override;
    void Command(std::uintptr_t player, PlayerCommand command) override;
    void SetVolume(std::uintptr_t player, std::uint8_t volume) override;
    // Chosen at each firing, so nothing is asked of the bus at start.
    bool FoundAtStart() const override { return false; }

private:
    // The bus name behind a handle, or empty.
    std::string Name(std::uintptr_t player) const;

    // The choice IsAlive made when it found another player: the look-up that follows it at the same firing uses
    // it instead of asking every player again; a start in between makes it stale.
    std::optional<std::string> chosen_;

    // A handle is an index + 1 into this table, so a handle stays tied to the one name it was found as.
    std::vector<std::string> names_;
};

} // namespace platform
