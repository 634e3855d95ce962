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
// With the server's default buffer every drain waits about two seconds past the sound's end; a small
// target length keeps "play, then return" close to the sound's own length.
constexpr pa_usec_t TargetLatencyUs = 30000;
// The desktop's alarm sound, where the freedesktop sound theme is installed.
constexpr const char *FallbackSounds[] = {
    "/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga",
    "/usr/share/sounds/freedesktop/stereo/bell.oga",
};
constexpr unsigned FallbackToneHz = 880;
constexpr unsigned FallbackToneMs = 300;

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

// Plays to the end; false when no sound server could be reached or it broke off.
bool Play(const Pcm &pcm) {
    static bool reported = false;
    if (pcm.samples.empty()) {
        return true;
    }
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16NE;
    spec.channels = static_cast<std::uint8_t>(pcm.channels);
    spec.rate = static_cast<std::uint32_t>(pcm.rate);
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(TargetLatencyUs, &spec));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    int error = 0;
    pa_simple *stream =
        pa_simple_new(nullptr, "Zindrel", PA_STREAM_PLAYBACK, nullptr, "alarm", &spec, nullptr, &attr, &error);
    if (stream == nullptr) {
        // One line while the server stays away, not one per tone of a melody.
        if (!reported) {
            ReportUnreachable(std::string("no sound server: ") + pa_strerror(error));
            reported = true;
        }
        return false;
    }
    reported = false;
    const bool played =
        pa_simple_write(stream, pcm.samples.data(), pcm.samples.size() * sizeof(std::int16_t), &error) == 0 &&
        pa_simple_drain(stream, &error) == 0;
    if (!played) {
        ReportUnreachable(std::string("sound playback failed: ") + pa_strerror(error));
    }
    pa_simple_free(stream);
    return played;
}

} // namespace

bool LinuxAudio::PlayFile(const std::string &path) {
    Pcm pcm;
    if (Decode(path, pcm)) {
        return Play(pcm);
    }
    // A sound that cannot be played gives the desktop's alarm sound, as the system's default sound would.
    for (const char *fallback : FallbackSounds) {
        if (Decode(fallback, pcm)) {
            Play(pcm);
            return false;
        }
    }
    Play(Tone(FallbackToneHz, FallbackToneMs));
    return false;
}

bool LinuxAudio::PlayTone(unsigned frequencyHz, unsigned durationMs) {
    return Play(Tone(frequencyHz, durationMs));
}

} // namespace platform
