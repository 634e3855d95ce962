// SPDX-License-Identifier: GPL-3.0-or-later
// The sound routines (the melody notation comes with the sound work).
#include "signals/SoundPlayer.h"

#include "platform/Platform.h"

bool PlayWaveFile(const QString &path) {
    return platform::Current().audio->PlayFile(path.toStdString());
}

bool PlayMelody(const QString &) {
    return false;
}

bool CheckMelody(const QString &) {
    return false;
}

bool CheckNote(const QString &) {
    return false;
}

void PlayTone(std::uint16_t frequency, std::uint16_t duration) {
    platform::Current().audio->PlayTone(frequency, duration);
}

void SpeakerOn(std::uint16_t) {}

void SpeakerOff() {}

std::uint8_t PortRead(std::uint16_t port) {
    return platform::Current().ports->Read(port);
}

void PortWrite(std::uint16_t port, std::uint8_t value) {
    platform::Current().ports->Write(port, value);
}
