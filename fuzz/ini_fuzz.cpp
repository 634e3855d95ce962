// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the settings reader over a whole file, the number rules, and a write into that file read back.
#include "fuzz/FuzzSupport.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const auto *bytes = reinterpret_cast<const char *>(data);
    const QString path = fuzz::WriteInput(QStringLiteral("zindrel_fuzz.ini"), bytes, size);
    const IniFile ini(path);

    Settings::Read(ini);
    ini.ReadBool(keys::Main, keys::Alpha, true);
    ini.ReadString(QStringLiteral("window_main"), QStringLiteral("NormPos"), QStringLiteral("\x01"));
    const QString text = DecodeText(QByteArray::fromRawData(bytes, static_cast<qsizetype>(size)));
    IniFile::ParseInteger(text, -1);
    for (const QString &line : SplitLines(text)) {
        if (line.contains(u'\r') || line.contains(u'\n') || line.contains(QChar(0))) {
            std::abort();
        }
    }

    // Whatever the file held, a value written into it reads back as written, multi-line texts included.
    const QString value = QStringLiteral("new\r\nvalue \\ ") + QString::number(size);
    ini.WriteString(keys::Main, QStringLiteral("Fuzzed"), value);
    if (ini.ReadString(keys::Main, QStringLiteral("Fuzzed"), QString()) != value) {
        std::abort();
    }
    return 0;
}
