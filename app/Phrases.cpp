// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase drawn from the user's phrases file onto the clock panel's top line.
#include "app/Application.h"
#include "app/Unit1.h"
#include "controls/ClickLabel.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QFile>
#include <QFileInfo>

#include <chrono>
#include <random>

void TForm1::ShowRandomPhrase() {
    // Seeded at every draw from the clock, so two starts a second apart still differ.
    std::mt19937 generator(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count() ^ std::random_device{}()));

    QStringList lines;
    QFile file(PhrasesPath);
    // A pipe would hang the read and a device never end it; only a regular file holds phrases.
    if (!PhrasesPath.isEmpty() && QFileInfo(PhrasesPath).isFile() && file.open(QIODevice::ReadOnly)) {
        lines = SplitLines(DecodeText(file.readAll()));
    }
    if (!lines.isEmpty()) {
        std::uniform_int_distribution<qsizetype> pick(0, lines.size() - 1);
        Label8->SetCaption(lines[pick(generator)]);
        return;
    }

    Application::ShowError(QStringLiteral("Не существует файла с фразами. Установите путь заного."));
    // PhrasesPath itself is kept: a later draw in this run reports again, the next start has no phrases.
    try {
        Settings::Write(IniFile(SettingsFilePath()), setting::Phrases, QString());
    } catch (const IniWriteError &error) {
        Application::ShowError(QString::fromStdString(error.what()));
    }
}
