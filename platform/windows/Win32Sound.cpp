// SPDX-License-Identifier: GPL-3.0-or-later
// The wave player call, the tone by Windows family and the 8253/8254 speaker programming.
#include "platform/windows/Win32Sound.h"

namespace platform::win32 {

namespace {

constexpr UINT SND_FILENAME_FLAG = 0x20000;
constexpr DWORD VER_PLATFORM_WIN32_NT_ID = 2;
constexpr unsigned PIT_CLOCK_HZ = 1193181;
constexpr WORD SPEAKER_CONTROL_PORT = 0x61;
constexpr WORD PIT_MODE_PORT = 0x43;
constexpr WORD PIT_CHANNEL2_PORT = 0x42;
// Channel 2, low byte then high byte, mode 3 square wave, binary counting.
constexpr BYTE PIT_CHANNEL2_SQUARE_WAVE = 0xB6;
constexpr BYTE SPEAKER_GATE_AND_DATA = 0x03;

} // namespace

void SpeakerOn(const Win32Api &api, unsigned frequencyHz) {
    if (frequencyHz <= 18) {
        return;
    }
    const unsigned divisor = PIT_CLOCK_HZ / frequencyHz;
    const BYTE control = api.Inp32(SPEAKER_CONTROL_PORT);
    if ((control & SPEAKER_GATE_AND_DATA) == 0) {
        api.Out32(SPEAKER_CONTROL_PORT, static_cast<BYTE>(control | SPEAKER_GATE_AND_DATA));
        api.Out32(PIT_MODE_PORT, PIT_CHANNEL2_SQUARE_WAVE);
    }
    api.Out32(PIT_CHANNEL2_PORT, static_cast<BYTE>(divisor & 0xFF));
    api.Out32(PIT_CHANNEL2_PORT, static_cast<BYTE>((divisor >> 8) & 0xFF));
}

void SpeakerOff(const Win32Api &api) {
    const BYTE control = api.Inp32(SPEAKER_CONTROL_PORT);
    api.Out32(SPEAKER_CONTROL_PORT, static_cast<BYTE>(control & 0xFC));
}

bool Win32Audio::PlayFile(const std::string &path) {
    return api_.sndPlaySoundA(path.c_str(), SND_FILENAME_FLAG) != 0;
}

bool Win32Audio::PlayTone(unsigned frequencyHz, unsigned durationMs) {
    DWORD platformId = 0;
    api_.GetVersionEx(&platformId);
    if (platformId == VER_PLATFORM_WIN32_NT_ID) {
        return api_.Beep(frequencyHz, durationMs) != 0;
    }
    SpeakerOn(api_, frequencyHz);
    api_.Sleep(durationMs);
    SpeakerOff(api_);
    return true;
}

} // namespace platform::win32
