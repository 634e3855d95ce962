// SPDX-License-Identifier: GPL-3.0-or-later
// The wave player, the melody player and the tone routines.
#pragma once

#include <QString>

#include <cstdint>

bool PlayWaveFile(const QString &path);
bool PlayMelody(const QString &melody);
bool CheckMelody(const QString &melody);
bool CheckNote(const QString &note);
void PlayTone(std::uint16_t frequency, std::uint16_t duration);
void SpeakerOn(std::uint16_t frequency);
void SpeakerOff();
std::uint8_t PortRead(std::uint16_t port);
void PortWrite(std::uint16_t port, std::uint8_t value);
