// SPDX-License-Identifier: GPL-3.0-or-later
// The application start: title, clock, backends, the windows in their order, the message loop.
#include "app/Application.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/Pictures.h"
#include "controls/SystemClock.h"
#include "platform/Platform.h"
#include "platform/Tray.h"

#include <QApplication>
#include <QFont>

int main(int argc, char *argv[]) {
    platform::ChooseDisplayProtocol();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zindrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(Picture::AppIcon());
    Application::SetTitle(QStringLiteral("Zindrel"));
    Application::InstallHintStyle();
    Application::InstallQtTranslation();
    // The windows are laid out in pixels for an 8-point Arial-sized dialog font (after the style, which would
    // reset it); fontconfig maps Arial to a metric-compatible face (Liberation Sans on Debian).
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    QApplication::setFont(font);
    platform::InstallNative();
    platform::ReportDisplayLimits();
    SystemClock clock;
    SetAppClock(&clock);
    CreateForms();
    Form1->show();
    platform::SetMainWindow(Form1->winId());
    platform::OnEndRequest([] { Form1->close(); });
    platform::WatchTrayHost([] { Form1->TrayHostChanged(); });
    const int result = QApplication::exec();
    DestroyForms();
    return result;
}
