// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the window-placement texts: "MinMaxPos"/"NormPos" parsing, and a whole placement section restored.
#include "controls/FormStorage.h"
#include "fuzz/FuzzSupport.h"
#include "settings/IniFile.h"

#include <QWidget>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::StartOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const auto *bytes = reinterpret_cast<const char *>(data);
    const int fallback[4] = {-7, -8, -9, -10};
    int out[4] = {};
    FormStorage::ParseFour(DecodeText(QByteArray::fromRawData(bytes, static_cast<qsizetype>(size))), fallback, out);

    const QByteArray file = QByteArray("[window_fuzz]\r\n") + QByteArray(bytes, static_cast<qsizetype>(size));
    const QString path =
        fuzz::WriteInput(QStringLiteral("placement.ini"), file.constData(), static_cast<size_t>(file.size()));
    QWidget window;
    FormStorage storage(&window, QStringLiteral("window_fuzz"));
    storage.SetIniFileName(path);
    storage.RestorePlacement();
    return 0;
}
