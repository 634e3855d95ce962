// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux: libsndfile decodes, the PulseAudio simple API plays and drains.
#pragma once

#include "platform/Audio.h"

namespace platform {

class LinuxAudio : public Audio {
public:
    bool PlayFile(const std::string &path) override;
    bool PlayTone(unsigned frequencyHz, unsigned durationMs) override;
};

} // namespace platform
