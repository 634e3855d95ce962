// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio interface on Linux: every sound is played to its end and drained before the call returns.
#include "platform/linux/LinuxAudio.h"

#include "platform/linux/Report.h"
#include "platform/linux/SoundLibraries.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace platform {

namespace {

constexpr int ToneRate = 44100;
// A small target length keeps "play, then return" close to the sound's own length; under it a busy machine
// starves the stream (30 ms were heard with gaps while two builds ran).
constexpr pa_usec_t TargetLatencyUs = 150000;
// The desktop's alarm sound, where the freedesktop sound theme is installed.
constexpr const char *FallbackSounds[] = {
    "/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga",
    "/usr/share/sounds/freedesktop/stereo/bell.oga",
};
constexpr unsigned FallbackToneHz = 880;
constexpr unsigned FallbackToneMs = 300;
// How long a stream stays open after a sound, for the next one of a melody.
constexpr auto KeepOpen = std::chrono::milliseconds(500);

constexpr std::size_t BlockFrames = 4096;
// How long a sound server may take to accept a connection and a stream.
constexpr auto ConnectTime = std::chrono::seconds(3);
// How far playing may run behind the length of what was written before the server counts as gone.
constexpr auto Slack = std::chrono::seconds(3);

using Clock = std::chrono::steady_clock;

// The sound server plays in real time, so deadlines are read from the kernel's clock itself, which no
// preloaded library can shift or speed up (the system tests run the program under libfaketime).
std::chrono::nanoseconds RealNow() {
    timespec now{};
    ::syscall(SYS_clock_gettime, CLOCK_MONOTONIC, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

struct SoundFile {
    const SoundLibraries &lib;
    SNDFILE *file = nullptr;
    SF_INFO info{};
    explicit SoundFile(const SoundLibraries &libraries) : lib(libraries) {}
    SoundFile(const SoundFile &) = delete;
    SoundFile &operator=(const SoundFile &) = delete;
    ~SoundFile() {
        if (file != nullptr) {
            lib.sf_close(file);
        }
    }
};

// Opens a sound file; a pipe or a device is refused before anything is read, since reading it could wait
// for ever or never end.
bool Open(const std::string &path, SoundFile &sound) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    sound.file = sound.lib.sf_open_fd(fd, SFM_READ, &sound.info, SF_TRUE);
    if (sound.file == nullptr) {
        return false;
    }
    return sound.info.channels >= 1 && sound.info.channels <= static_cast<int>(PA_CHANNELS_MAX) &&
           sound.info.samplerate > 0 && sound.info.samplerate <= static_cast<int>(PA_RATE_MAX);
}

// Streams the file block by block: an hour of sound never sits in memory whole.
LinuxAudio::Source FileSource(SoundFile &sound) {
    return [&sound](std::int16_t *buffer, std::size_t frames) {
        const sf_count_t read = sound.lib.sf_readf_short(sound.file, buffer, static_cast<sf_count_t>(frames));
        return read > 0 ? static_cast<std::size_t>(read) : std::size_t{0};
    };
}

LinuxAudio::Source ToneSource(unsigned frequencyHz, std::size_t count) {
    // A short ramp at both ends keeps the tone from clicking.
    const std::size_t ramp = std::min<std::size_t>(ToneRate / 500, count / 2);
    return [frequencyHz, count, ramp, i = std::size_t{0}](std::int16_t *buffer, std::size_t frames) mutable {
        std::size_t n = 0;
        for (; n < frames && i < count; ++n, ++i) {
            double gain = 0.5;
            if (i < ramp) {
                gain *= static_cast<double>(i) / static_cast<double>(ramp);
            } else if (count - i <= ramp) {
                gain *= static_cast<double>(count - i) / static_cast<double>(ramp);
            }
            const double phase = 2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / ToneRate;
            buffer[n] = static_cast<std::int16_t>(std::lround(gain * 32767.0 * std::sin(phase)));
        }
        return n;
    };
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
    CloseStream();
}

bool LinuxAudio::Iterate(Deadline deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - RealNow()).count();
    if (left <= 0) {
        return false;
    }
    const int timeout = static_cast<int>(std::min<std::int64_t>(left, 1000000));
    return lib_->pa_mainloop_prepare(loop_, timeout) >= 0 && lib_->pa_mainloop_poll(loop_) >= 0 &&
           lib_->pa_mainloop_dispatch(loop_) >= 0;
}

void LinuxAudio::CloseStream() {
    if (stream_ != nullptr) {
        lib_->pa_stream_disconnect(stream_);
        lib_->pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_ != nullptr) {
        lib_->pa_context_disconnect(context_);
        lib_->pa_context_unref(context_);
        context_ = nullptr;
    }
    if (loop_ != nullptr) {
        lib_->pa_mainloop_free(loop_);
        loop_ = nullptr;
    }
}

bool LinuxAudio::OpenStream(int channels, int rate, Deadline deadline) {
    if (stream_ != nullptr && streamChannels_ == channels && streamRate_ == rate) {
        return true;
    }
    if (stream_ != nullptr) {
        lib_->pa_stream_disconnect(stream_);
        lib_->pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (loop_ == nullptr) {
        loop_ = lib_->pa_mainloop_new();
        context_ = lib_->pa_context_new(lib_->pa_mainloop_get_api(loop_), "Zindrel");
        if (context_ == nullptr || lib_->pa_context_connect(context_, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0) {
            return false;
        }
    }
    // A server that accepts the connection but never answers is given up at the deadline.
    for (pa_context_state_t state; (state = lib_->pa_context_get_state(context_)) != PA_CONTEXT_READY;) {
        if (!PA_CONTEXT_IS_GOOD(state) || !Iterate(deadline)) {
            return false;
        }
    }
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16NE;
    format.channels = static_cast<std::uint8_t>(channels);
    format.rate = static_cast<std::uint32_t>(rate);
    // With the server's default buffer every drain waits about two seconds past the sound's end.
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(lib_->pa_usec_to_bytes(TargetLatencyUs, &format));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);
    stream_ = lib_->pa_stream_new(context_, "alarm", &format, nullptr);
    if (stream_ == nullptr ||
        lib_->pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0) {
        return false;
    }
    for (pa_stream_state_t state; (state = lib_->pa_stream_get_state(stream_)) != PA_STREAM_READY;) {
        if (!PA_STREAM_IS_GOOD(state) || !Iterate(deadline)) {
            return false;
        }
    }
    streamChannels_ = channels;
    streamRate_ = rate;
    return true;
}

bool LinuxAudio::WriteAndDrain(const Source &source, int channels, int rate) {
    const std::size_t frameBytes = static_cast<std::size_t>(channels) * sizeof(std::int16_t);
    std::vector<std::int16_t> block(BlockFrames * static_cast<std::size_t>(channels));
    std::size_t pending = 0;
    std::size_t offset = 0;
    std::uint64_t written = 0;
    const Deadline start = RealNow();
    // The server must keep up with the sound: what was written so far, plus some slack.
    const auto deadline = [&] {
        return start + std::chrono::microseconds(written * 1000000 / static_cast<std::uint64_t>(rate)) + Slack;
    };
    for (;;) {
        if (pending == 0) {
            pending = source(block.data(), BlockFrames);
            offset = 0;
            if (pending == 0) {
                break;
            }
        }
        const std::size_t writable = lib_->pa_stream_writable_size(stream_);
        if (writable == static_cast<std::size_t>(-1)) {
            return false;
        }
        const std::size_t frames = std::min(pending, writable / frameBytes);
        if (frames == 0) {
            if (!Iterate(deadline()) || !PA_STREAM_IS_GOOD(lib_->pa_stream_get_state(stream_))) {
                return false;
            }
            continue;
        }
        if (lib_->pa_stream_write(stream_, block.data() + offset * static_cast<std::size_t>(channels),
                                  frames * frameBytes, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            return false;
        }
        written += frames;
        offset += frames;
        pending -= frames;
    }
    int drained = 0; // 1 done, -1 failed
    pa_operation *drain = lib_->pa_stream_drain(
        stream_, [](pa_stream *, int success, void *result) { *static_cast<int *>(result) = success ? 1 : -1; },
        &drained);
    if (drain == nullptr) {
        return false;
    }
    while (drained == 0 && Iterate(deadline())) {
    }
    // A drain still waiting at the deadline must not call back into this frame later.
    lib_->pa_operation_cancel(drain);
    lib_->pa_operation_unref(drain);
    return drained == 1;
}

bool LinuxAudio::Play(const Source &source, int channels, int rate) {
    std::unique_lock<std::mutex> lock(mutex_);
    const bool opened = OpenStream(channels, rate, RealNow() + ConnectTime);
    if (!opened) {
        // One line while the server stays away, not one per tone of a melody.
        if (!reported_) {
            const int error = context_ != nullptr ? lib_->pa_context_errno(context_) : PA_ERR_CONNECTIONREFUSED;
            ReportUnreachable(std::string("no sound server: ") +
                              (error != PA_OK ? lib_->pa_strerror(error) : "no answer in time"));
            reported_ = true;
        }
        CloseStream();
        return false;
    }
    reported_ = false;
    const bool played = WriteAndDrain(source, channels, rate);
    if (!played) {
        ReportUnreachable("sound playback failed: the sound server stopped answering or ended the stream");
        CloseStream();
    }
    lastUse_ = Clock::now();
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
        if (stream_ == nullptr && loop_ == nullptr) {
            wake_.wait(lock);
            continue;
        }
        const auto due = lastUse_ + KeepOpen;
        if (Clock::now() >= due) {
            // An open stream keeps the sound server busy; an idle alarm clock must not.
            CloseStream();
            continue;
        }
        wake_.wait_until(lock, due);
    }
}

bool LinuxAudio::Ready() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (lib_ == nullptr) {
        std::string missing;
        lib_ = OpenSoundLibraries(missing);
        if (lib_ == nullptr && !reported_) {
            ReportUnreachable("no sound: " + missing);
            reported_ = true;
        }
    }
    return lib_ != nullptr;
}

bool LinuxAudio::PlayFile(const std::string &path) {
    if (!Ready()) {
        return false;
    }
    {
        SoundFile sound(*lib_);
        if (Open(path, sound)) {
            return Play(FileSource(sound), sound.info.channels, sound.info.samplerate);
        }
    }
    // A sound that cannot be played gives the desktop's alarm sound, as the system's default sound would.
    for (const char *fallback : FallbackSounds) {
        SoundFile sound(*lib_);
        if (Open(fallback, sound)) {
            Play(FileSource(sound), sound.info.channels, sound.info.samplerate);
            return false;
        }
    }
    PlayTone(FallbackToneHz, FallbackToneMs);
    return false;
}

bool LinuxAudio::PlayTone(unsigned frequencyHz, unsigned durationMs) {
    const std::size_t count = static_cast<std::size_t>(durationMs) * ToneRate / 1000;
    return count == 0 || (Ready() && Play(ToneSource(frequencyHz, count), 1, ToneRate));
}

} // namespace platform
