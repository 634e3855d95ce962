// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux: libsndfile decodes, PulseAudio's asynchronous API plays and drains (both opened
// at the first sound).
#pragma once

#include "platform/Audio.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace platform {

struct SoundLibraries;

class LinuxAudio : public Audio {
public:
    LinuxAudio() = default;
    ~LinuxAudio() override;
    LinuxAudio(const LinuxAudio &) = delete;
    LinuxAudio &operator=(const LinuxAudio &) = delete;

    bool PlayFile(const std::string &path) override;
    bool PlayTone(unsigned frequencyHz, unsigned durationMs) override;

    // Fills the buffer with up to `frames` interleaved 16-bit frames; 0 at the end of the sound.
    using Source = std::function<std::size_t(std::int16_t *buffer, std::size_t frames)>;

private:
    // Real time since boot, as the kernel counts it.
    using Deadline = std::chrono::nanoseconds;

    // Opens the sound libraries at the first sound; false, said once, where they are missing.
    bool Ready();
    // Plays the source to its end; false when no sound server took it or the server stopped answering.
    bool Play(const Source &source, int channels, int rate);
    bool OpenStream(int channels, int rate, Deadline deadline);
    bool WriteAndDrain(const Source &source, int channels, int rate);
    // Runs the main loop once, waiting at most until the deadline; false once it has passed.
    bool Iterate(Deadline deadline);
    void CloseStream();
    // Closes the stream once it has been idle a while (runs on its own thread).
    void CloseWhenIdle();

    std::mutex mutex_;
    std::condition_variable wake_;
    // Kept open between sounds that follow each other (the ten tones of a melody): a new stream per tone
    // would add its set-up to every tone.
    const SoundLibraries *lib_ = nullptr;
    pa_mainloop *loop_ = nullptr;
    pa_context *context_ = nullptr;
    pa_stream *stream_ = nullptr;
    int streamChannels_ = 0;
    int streamRate_ = 0;
    bool quit_ = false;
    bool reported_ = false;
    std::chrono::steady_clock::time_point lastUse_;
    std::thread closer_;
};

} // namespace platform
