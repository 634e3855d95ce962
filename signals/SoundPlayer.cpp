// SPDX-License-Identifier: GPL-3.0-or-later
// The wave player, the melody player with its frequency/duration notation, and the tone routines.
#include "signals/SoundPlayer.h"

#include "platform/Platform.h"

#include <chrono>
#include <thread>

namespace {

constexpr int MinFrequency = 19;
constexpr int MaxFrequency = 65535;
constexpr int MaxDuration = 65535;

constexpr std::uint16_t SpeakerControlPort = 0x61;
constexpr std::uint16_t TimerCommandPort = 0x43;
constexpr std::uint16_t TimerChannel2Port = 0x42;
// Channel 2, low byte then high byte, mode 3 (square wave), binary counting.
constexpr std::uint8_t Channel2SquareWave = 0xB6;
constexpr std::uint32_t TimerInputHz = 1193181;

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Only '0'..'9' reach these strings, so a failed conversion means empty or beyond the 32-bit signed range.
bool ToInt(const QString &digits, int &value) {
    bool ok = false;
    value = digits.toInt(&ok, 10);
    return ok;
}

// Sounds a gathered note; an empty final note (a melody ending in ',') has nothing to sound.
void PlayGathered(const QString &frequency, const QString &duration) {
    int hz = 0;
    int ms = 0;
    if (ToInt(frequency, hz) && ToInt(duration, ms)) {
        PlayTone(static_cast<std::uint16_t>(hz), static_cast<std::uint16_t>(ms));
    }
}

} // namespace

bool PlayWaveFile(const QString &path) {
    return platform::Current().audio->PlayFile(path.toStdString());
}

bool CheckNote(const QString &note) {
    if (note.isEmpty()) {
        return false;
    }
    int slashes = 0;
    bool afterSlash = false;
    QString frequency;
    QString duration;
    for (const QChar c : note) {
        if (c == QLatin1Char('/')) {
            ++slashes;
            afterSlash = true;
        } else if (IsDigit(c)) {
            (afterSlash ? duration : frequency).append(c);
        }
    }
    int hz = 0;
    int ms = 0;
    const bool converted = ToInt(frequency, hz) && ToInt(duration, ms);
    const bool inRange = hz >= MinFrequency && hz <= MaxFrequency && ms >= 0 && ms <= MaxDuration;
    return slashes == 1 && converted && inRange;
}

bool CheckMelody(const QString &melody) {
    bool valid = true;
    QString note;
    for (qsizetype i = 0; i < melody.size(); ++i) {
        const QChar c = melody.at(i);
        if (c == QLatin1Char(',')) {
            valid = CheckNote(note) && valid;
            note.clear();
        } else {
            note.append(c);
            if (i == melody.size() - 1) {
                valid = CheckNote(note) && valid;
            }
        }
    }
    return valid;
}

bool PlayMelody(const QString &melody) {
    if (!CheckMelody(melody)) {
        return false;
    }
    QString frequency;
    QString duration;
    bool afterSlash = false;
    for (qsizetype i = 0; i < melody.size(); ++i) {
        const QChar c = melody.at(i);
        if (c == QLatin1Char('/')) {
            afterSlash = true;
        } else if (c == QLatin1Char(',')) {
            PlayGathered(frequency, duration);
            frequency.clear();
            duration.clear();
            afterSlash = false;
        } else if (IsDigit(c)) {
            (afterSlash ? duration : frequency).append(c);
        }
        if (i == melody.size() - 1 && c != QLatin1Char(',')) {
            PlayGathered(frequency, duration);
        }
    }
    return true;
}

void PlayTone(std::uint16_t frequency, std::uint16_t duration) {
    if (platform::Current().system->PlatformId() == platform::PLATFORM_WIN32_NT) {
        platform::Current().audio->PlayTone(frequency, duration);
        return;
    }
    SpeakerOn(frequency);
    std::this_thread::sleep_for(std::chrono::milliseconds(duration));
    SpeakerOff();
}

void SpeakerOn(std::uint16_t frequency) {
    // The timer cannot divide its input clock down below about 18.2 Hz.
    if (frequency <= 18) {
        return;
    }
    const std::uint32_t divisor = TimerInputHz / frequency;
    const std::uint8_t control = PortRead(SpeakerControlPort);
    if ((control & 3) == 0) {
        PortWrite(SpeakerControlPort, static_cast<std::uint8_t>(control | 3));
        PortWrite(TimerCommandPort, Channel2SquareWave);
    }
    PortWrite(TimerChannel2Port, static_cast<std::uint8_t>(divisor & 0xFF));
    PortWrite(TimerChannel2Port, static_cast<std::uint8_t>((divisor >> 8) & 0xFF));
}

void SpeakerOff() {
    const std::uint8_t control = PortRead(SpeakerControlPort);
    PortWrite(SpeakerControlPort, static_cast<std::uint8_t>(control & 0xFC));
}

std::uint8_t PortRead(std::uint16_t port) {
    return platform::Current().ports->Read(port);
}

void PortWrite(std::uint16_t port, std::uint8_t value) {
    platform::Current().ports->Write(port, value);
}
