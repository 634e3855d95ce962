// SPDX-License-Identifier: GPL-3.0-or-later
// Playing sound files and tones, each to its end before returning.
#pragma once

#include <string>

namespace platform {

class Audio {
public:
    virtual ~Audio() = default;
    // Plays the file to its end; a file that cannot be played gives the desktop's default alarm sound.
    virtual bool PlayFile(const std::string &path) = 0;
    // Sounds a tone of the given frequency for the given time and returns when it has ended.
    virtual bool PlayTone(unsigned frequencyHz, unsigned durationMs) = 0;
};

} // namespace platform
