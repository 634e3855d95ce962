// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the phrases file as the main window reads it (decode, split, one line onto a clock-panel label).
// TForm1 itself needs every window of the program, so the label stands alone here.
#include "controls/ClickLabel.h"
#include "fuzz/FuzzSupport.h"
#include "settings/IniFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const QString path = fuzz::WriteInput(QStringLiteral("phrases.txt"), reinterpret_cast<const char *>(data), size);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::abort();
    }
    const QStringList lines = SplitLines(DecodeText(file.readAll()));
    if (lines.isEmpty()) {
        return 0;
    }
    static ClickLabel label;
    const QString &phrase = lines[static_cast<qsizetype>(size % static_cast<size_t>(lines.size()))];
    label.SetCaption(phrase);
    if (label.Caption() != phrase) {
        std::abort();
    }
    label.sizeHint();
    return 0;
}
