// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program for a unit test.
#include "tests/fakes/TestApp.h"

#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/TrayIcon.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Unit4.h"

#include <QFile>
#include <QLineEdit>

namespace fakes {

TestApp::TestApp() {
    fake.system.programFolder = (folder.path() + "/").toStdString();
    fake.system.configFolder = fake.system.programFolder;
    SetAppClock(&clock);
    TrayIcon::OverrideAvailable(true);
    Application::SetTerminateHandler([this] { ++terminated; });
}

TestApp::~TestApp() {
    if (formsCreated_) {
        DestroyForms();
    }
    Application::SetTerminateHandler(nullptr);
    TrayIcon::OverrideAvailable(std::nullopt);
    SetAppClock(nullptr);
}

void TestApp::CreateForms(bool finishStart) {
    ::CreateForms();
    formsCreated_ = true;
    if (finishStart) {
        Form1->StartAfterFirstPaint();
    }
}

void TestApp::StartAt(const QTime &timeOfDay) {
    clock.setWall(QDateTime(QDate(2026, 12, 7), timeOfDay));
    // The alarm sound as a settings file names it, read at start.
    Settings::Write(IniFile(SettingsFilePath()), setting::SoundFile, QStringLiteral("/sounds/alarm.wav"));
    CreateForms();
    Form1->show();
}

QString TestApp::SettingsPath() const {
    return SettingsFilePath();
}

QString TestApp::WriteFile(const QString &name, const QByteArray &content) const {
    const QString path = folder.path() + "/" + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(content);
    }
    return path;
}

} // namespace fakes
