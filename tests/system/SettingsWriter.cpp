// SPDX-License-Identifier: GPL-3.0-or-later
// The child of the crash-safety test: checks the settings file it finds, then rewrites it until it is killed.
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>
#include <vector>

namespace {

// Each key alternates between these two values; test_crash_safety.py knows the same pairs.
std::vector<std::pair<QString, std::pair<QString, QString>>> Values() {
    return {
        {keys::Alpha, {QStringLiteral("200"), QStringLiteral("150")}},
        {keys::Sec, {QStringLiteral("15"), QStringLiteral("45")}},
        {keys::TextAlarm,
         {QStringLiteral("Старый текст\r\nвторая строка \\ конец"),
          QStringLiteral("Новый текст ") + QString(1500, u'я')}},
        {keys::SoundFile, {QStringLiteral("/tmp/old.wav"), QStringLiteral("/tmp/") + QString(1000, u'b') + ".wav"}},
        {keys::Pass, {QString(), QStringLiteral("секрет")}},
        {keys::TextAlarm2, {QStringLiteral("Таймер 2"), QStringLiteral("Таймер 2\r\n\r\nпосле пустой строки")}},
    };
}

} // namespace

TEST(SettingsWriter, ChecksThenWritesUntilKilled) {
    const QString path = qEnvironmentVariable("ZINDREL_WRITER_FILE");
    if (path.isEmpty()) {
        GTEST_SKIP() << "only the crash-safety test runs this, with ZINDREL_WRITER_FILE set";
    }
    const IniFile ini(path);
    const auto values = Values();
    if (QFile::exists(path)) {
        // What the last writer left when it was killed: every key old or new, read by the program's own reader.
        int bad = 0;
        for (const auto &[key, pair] : values) {
            const QString value = ini.ReadString(keys::Main, key, QStringLiteral("\x02missing"));
            if (value != pair.first && value != pair.second) {
                std::printf("bad %s\n", key.toUtf8().constData());
                ++bad;
            }
        }
        std::printf(bad == 0 ? "check ok\n" : "check failed\n");
    }
    for (long round = 0;; ++round) {
        for (const auto &[key, pair] : values) {
            ini.WriteString(keys::Main, key, round % 2 == 0 ? pair.second : pair.first);
        }
        if (round == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
    }
}
