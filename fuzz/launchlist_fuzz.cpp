// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the runfiles.ini reader, and checks that saving what was read gives the same list back.
#include "actions/LaunchList.h"
#include "fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const QString path = fuzz::WriteInput(QStringLiteral("runfiles.ini"), reinterpret_cast<const char *>(data), size);
    const QStringList entries = ReadLaunchList(path);
    // A first entry starting with a byte order mark cannot survive the round trip: the reader drops one mark
    // at the start of the file, as it must for files from other editors.
    if (!entries.isEmpty() && entries.first().startsWith(QChar(0xFEFF))) {
        return 0;
    }
    WriteLaunchList(path, entries);
    if (ReadLaunchList(path) != entries) {
        std::abort();
    }
    return 0;
}
