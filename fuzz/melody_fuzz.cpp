// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the melody notation: the check, and the play of every melody the check lets through (on fakes).
#include "settings/IniFile.h"
#include "signals/SoundPlayer.h"
#include "tests/fakes/FakePlatform.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const QString melody =
        DecodeText(QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    fakes::FakePlatform fake;
    const bool valid = CheckMelody(melody);
    CheckNote(melody);
    // A melody the check accepts must play; one it refuses must not sound a single tone.
    if (PlayMelody(melody) != valid || (!valid && !fake.log.empty())) {
        std::abort();
    }
    return 0;
}
