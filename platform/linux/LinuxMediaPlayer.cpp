// SPDX-License-Identifier: GPL-3.0-or-later
// The MediaPlayer interface on Linux (MPRIS comes with the player work).
#include "platform/linux/LinuxMediaPlayer.h"

namespace platform {

bool LinuxMediaPlayer::Start(const std::string &, const std::string &) {
    return false;
}
std::uintptr_t LinuxMediaPlayer::Find(const std::string &) {
    return 0;
}
bool LinuxMediaPlayer::IsAlive(std::uintptr_t) {
    return false;
}
void LinuxMediaPlayer::Command(std::uintptr_t, PlayerCommand) {}
void LinuxMediaPlayer::SetVolume(std::uintptr_t, std::uint8_t) {}

} // namespace platform
