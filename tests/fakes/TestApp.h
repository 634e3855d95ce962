// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program for a unit test: fakes, a ManualClock, a private program folder and the windows.
#pragma once

#include "controls/ManualClock.h"
#include "tests/fakes/FakePlatform.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace fakes {

// Sets up the fakes, the clock and the folder; the windows are made by CreateForms().
class TestApp : public ::testing::Test {
protected:
    TestApp();
    ~TestApp() override;

    // Creates the program's windows in their order (the settings file may be written before); finishStart also
    // runs what a real start leaves until the main window's first paint.
    void CreateForms(bool finishStart = true);
    // The program started at this time of day on 7 December 2026, with a sound file chosen and the main window
    // shown: the start most scheduler tests want.
    void StartAt(const QTime &timeOfDay);
    // The per-user settings file of this test's program folder.
    QString SettingsPath() const;
    // Writes text to a file in the program folder and returns its path.
    QString WriteFile(const QString &name, const QByteArray &content) const;

    QTemporaryDir folder;
    FakePlatform fake;
    ManualClock clock;
    int terminated = 0;

private:
    bool formsCreated_ = false;
};

} // namespace fakes
