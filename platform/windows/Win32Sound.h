// SPDX-License-Identifier: GPL-3.0-or-later
// Wave files through sndPlaySoundA, tones through Beep or the PC speaker's ports, and the port access itself.
#pragma once

#include "platform/Audio.h"
#include "platform/PortIO.h"
#include "platform/windows/Win32Api.h"

namespace platform::win32 {

// Starts the speaker at the frequency on programmable interval timer channel 2; 18 Hz or less changes nothing.
void SpeakerOn(const Win32Api &api, unsigned frequencyHz);
void SpeakerOff(const Win32Api &api);

class Win32Audio : public Audio {
public:
    explicit Win32Audio(const Win32Api &api) : api_(api) {}
    // Synchronous, and a file that cannot be played gives the system's default sound.
    bool PlayFile(const std::string &path) override;
    // Beep on the NT family; the speaker's ports elsewhere, where Beep ignores its arguments.
    bool PlayTone(unsigned frequencyHz, unsigned durationMs) override;

private:
    const Win32Api &api_;
};

class Win32PortIO : public PortIO {
public:
    explicit Win32PortIO(const Win32Api &api) : api_(api) {}
    std::uint8_t Read(std::uint16_t port) override { return api_.Inp32(port); }
    void Write(std::uint16_t port, std::uint8_t value) override { api_.Out32(port, value); }

private:
    const Win32Api &api_;
};

} // namespace platform::win32
