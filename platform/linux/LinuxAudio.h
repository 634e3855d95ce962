// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux: libsndfile decodes, the PulseAudio simple API plays and drains.
#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

struct pa_simple;

namespace platform {

class LinuxAudio : public Audio {
public:
    LinuxAudio() = default;
    ~LinuxAudio() override;
    LinuxAudio(const LinuxAudio &) = delete;
    LinuxAudio &operator=(const LinuxAudio &) = delete;

    bool PlayFile(const std::string &path) override;
    bool PlayTone(unsigned frequencyHz, unsigned durationMs) override;

private:
    // Plays interleaved 16-bit samples to their end; false when no sound server took them.
    bool Play(const std::vector<std::int16_t> &samples, int channels, int rate);
    // Closes the stream once it has been idle a while (runs on its own thread).
    void CloseWhenIdle();

    std::mutex mutex_;
    std::condition_variable wake_;
    // Kept open between sounds that follow each other (the ten tones of a melody): a new stream per tone
    // would add its set-up to every tone.
    pa_simple *stream_ = nullptr;
    int streamChannels_ = 0;
    int streamRate_ = 0;
    bool busy_ = false;
    bool quit_ = false;
    bool reported_ = false;
    std::chrono::steady_clock::time_point lastUse_;
    std::thread closer_;
};

} // namespace platform
