// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux: every sound is played to its end and drained before the call returns.
#include "platform/linux/LinuxAudio.h"

#include "platform/linux/Report.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace platform {

namespace {

constexpr int ToneRate = 44100;
// A small target length keeps "play, then return" close to the sound's own length.
constexpr pa_usec_t TargetLatencyUs = 30000;
// The desktop's alarm sound, where the freedesktop sound theme is installed.
constexpr const char *FallbackSounds[] = {
    "/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga",
    "/usr/share/sounds/freedesktop/stereo/bell.oga",
};
constexpr unsigned FallbackToneHz = 880;
constexpr unsigned FallbackToneMs = 300;
// How long a stream stays open after a sound, for the next one of a melody.
constexpr auto KeepOpen = std::chrono::milliseconds(500);

struct Pcm {
    std::vector<std::int16_t> samples; // interleaved
    int channels = 1;
    int rate = ToneRate;
};

bool Decode(const std::string &path, Pcm &pcm) {
    SF_INFO info{};
    SNDFILE *file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return false;
    }
    const bool usable = info.channels >= 1 && info.channels <= static_cast<int>(PA_CHANNELS_MAX) &&
                        info.samplerate > 0 && info.samplerate <= static_cast<int>(PA_RATE_MAX);
    if (usable) {
        pcm.channels = info.channels;
        pcm.rate = info.samplerate;
        pcm.samples.clear();
        // Read in blocks: the frame count of some formats (ogg) is only an estimate.
        std::vector<std::int16_t> block(static_cast<std::size_t>(4096 * info.channels));
        sf_count_t frames = 0;
        while ((frames = sf_readf_short(file, block.data(), 4096)) > 0) {
            pcm.samples.insert(pcm.samples.end(), block.begin(), block.begin() + frames * info.channels);
        }
    }
    sf_close(file);
    return usable;
}

Pcm Tone(unsigned frequencyHz, unsigned durationMs) {
    Pcm pcm;
    const std::size_t count = static_cast<std::size_t>(durationMs) * ToneRate / 1000;
    // A short ramp at both ends keeps the tone from clicking.
    const std::size_t ramp = std::min<std::size_t>(ToneRate / 500, count / 2);
    pcm.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        double gain = 0.5;
        if (i < ramp) {
            gain *= static_cast<double>(i) / static_cast<double>(ramp);
        } else if (count - i <= ramp) {
            gain *= static_cast<double>(count - i) / static_cast<double>(ramp);
        }
        const double phase = 2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / ToneRate;
        pcm.samples[i] = static_cast<std::int16_t>(std::lround(gain * 32767.0 * std::sin(phase)));
    }
    return pcm;
}

} // namespace

LinuxAudio::~LinuxAudio() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    if (closer_.joinable()) {
        closer_.join();
    }
    if (stream_ != nullptr) {
        pa_simple_free(stream_);
    }
}

bool LinuxAudio::Play(const std::vector<std::int16_t> &samples, int channels, int rate) {
    if (samples.empty()) {
        return true;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (stream_ != nullptr && (streamChannels_ != channels || streamRate_ != rate)) {
        pa_simple_free(stream_);
        stream_ = nullptr;
    }
    int error = 0;
    if (stream_ == nullptr) {
        pa_sample_spec format{};
        format.format = PA_SAMPLE_S16NE;
        format.channels = static_cast<std::uint8_t>(channels);
        format.rate = static_cast<std::uint32_t>(rate);
        // With the server's default buffer every drain waits about two seconds past the sound's end.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(TargetLatencyUs, &format));
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        stream_ =
            pa_simple_new(nullptr, "Zindrel", PA_STREAM_PLAYBACK, nullptr, "alarm", &format, nullptr, &attr, &error);
        if (stream_ == nullptr) {
            // One line while the server stays away, not one per tone of a melody.
            if (!reported_) {
                ReportUnreachable(std::string("no sound server: ") + pa_strerror(error));
                reported_ = true;
            }
            return false;
        }
        reported_ = false;
        streamChannels_ = channels;
        streamRate_ = rate;
    }
    pa_simple *stream = stream_;
    busy_ = true;
    lock.unlock();
    const bool played = pa_simple_write(stream, samples.data(), samples.size() * sizeof(std::int16_t), &error) == 0 &&
                        pa_simple_drain(stream, &error) == 0;
    lock.lock();
    busy_ = false;
    if (!played) {
        ReportUnreachable(std::string("sound playback failed: ") + pa_strerror(error));
        pa_simple_free(stream_);
        stream_ = nullptr;
    }
    lastUse_ = std::chrono::steady_clock::now();
    if (!closer_.joinable()) {
        closer_ = std::thread(&LinuxAudio::CloseWhenIdle, this);
    }
    lock.unlock();
    wake_.notify_all();
    return played;
}

void LinuxAudio::CloseWhenIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        if (stream_ == nullptr || busy_) {
            wake_.wait(lock);
            continue;
        }
        const auto due = lastUse_ + KeepOpen;
        if (std::chrono::steady_clock::now() >= due) {
            // An open stream keeps the sound server busy; an idle alarm clock must not.
            pa_simple_free(stream_);
            stream_ = nullptr;
            continue;
        }
        wake_.wait_until(lock, due);
    }
}

bool LinuxAudio::PlayFile(const std::string &path) {
    Pcm pcm;
    if (Decode(path, pcm)) {
        return Play(pcm.samples, pcm.channels, pcm.rate);
    }
    // A sound that cannot be played gives the desktop's alarm sound, as the system's default sound would.
    for (const char *fallback : FallbackSounds) {
        if (Decode(fallback, pcm)) {
            Play(pcm.samples, pcm.channels, pcm.rate);
            return false;
        }
    }
    PlayTone(FallbackToneHz, FallbackToneMs);
    return false;
}

bool LinuxAudio::PlayTone(unsigned frequencyHz, unsigned durationMs) {
    const Pcm tone = Tone(frequencyHz, durationMs);
    return Play(tone.samples, tone.channels, tone.rate);
}

} // namespace platform
