// SPDX-License-Identifier: GPL-3.0-or-later
// The captions and the minute that the main window's three files (window, scheduler, firing) share.
#pragma once

#include <QString>

#include <cstdint>

namespace form1 {

const QString kTitle = QStringLiteral("Zindrel");
const QString kArmed = QStringLiteral("Zindrel - заведён");
const QString kPaused = QStringLiteral("Zindrel - приостановлен");
const QString kStopped = QStringLiteral("Zindrel - остановлен");
const QString kNoRun = QStringLiteral("- - -");
const QString kPause = QStringLiteral("Пауза");
const QString kResume = QStringLiteral("Далее");
constexpr std::int64_t kMinuteMs = 60000;

} // namespace form1
