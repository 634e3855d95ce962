// SPDX-License-Identifier: GPL-3.0-or-later
// The application start: title, clock, backends, the windows in their order, the message loop.
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Pictures.h"
#include "controls/SystemClock.h"
#include "platform/Platform.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zindrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Picture::AppIcon());
    Application::SetTitle(QStringLiteral("Zindrel"));
    Application::InstallHintStyle();
    platform::InstallNative();
    SystemClock clock;
    SetAppClock(&clock);
    CreateForms();
    Form1->show();
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
