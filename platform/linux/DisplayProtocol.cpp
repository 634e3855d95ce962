// SPDX-License-Identifier: GPL-3.0-or-later
// How the program talks to the display: the protocol in a Wayland session, X11 without shared memory, what native
// Wayland leaves out, and the fonts read beside the connection.
#include "platform/Platform.h"
#include "platform/linux/LinuxLauncher.h"
#include "platform/linux/Report.h"

#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

bool Set(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// The connection's set-up and its authorisation, as Qt's own connection will make them; Xlib would add its own
// initialisation and round trips to the question.
bool XServerAnswers() {
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// Where libwayland looks: WAYLAND_DISPLAY (default wayland-0), relative to XDG_RUNTIME_DIR unless absolute.
bool WaylandSocketExists() {
    const QString name =
        Set("WAYLAND_DISPLAY") ? QString::fromLocal8Bit(std::getenv("WAYLAND_DISPLAY")) : QStringLiteral("wayland-0");
    QString path = name;
    if (!name.startsWith(QLatin1Char('/'))) {
        if (!Set("XDG_RUNTIME_DIR")) {
            return false;
        }
        path = QString::fromLocal8Bit(std::getenv("XDG_RUNTIME_DIR")) + QLatin1Char('/') + name;
    }
    struct stat info {};
    return ::stat(path.toLocal8Bit().constData(), &info) == 0 && S_ISSOCK(info.st_mode);
}

bool PlatformReachable(const QString &entry) {
    const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
    if (name == QLatin1String("xcb")) {
        return XServerAnswers();
    }
    if (name.startsWith(QLatin1String("wayland"))) {
        return WaylandSocketExists();
    }
    // offscreen, minimal, vnc, eglfs, linuxfb: nothing to reach beforehand.
    return !name.isEmpty();
}

} // namespace

void ChooseDisplayProtocol() {
    if (Set("WAYLAND_DISPLAY") && Set("DISPLAY") && !Set("QT_QPA_PLATFORM")) {
        SetForThisProgram("QT_QPA_PLATFORM", "xcb", true);
    }
    // Armed, the tray icon's small window is repainted every 150 ms. Through MIT-SHM, Qt waits for an X server
    // round trip before each repaint (the server may still be reading the shared image), which wakes the program
    // a second time per frame; the program's windows are small enough that plain image requests cost nothing
    // that shows. Qt reads the variable once, at connection; any value turns shared memory off.
    SetForThisProgram("QT_XCB_NO_MITSHM", "1", false);
}

bool DisplayReachable() {
    // Qt tries each platform of a list in turn; without one it takes X11, Wayland first in a Wayland session.
    const char *session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = session != nullptr && std::string_view(session) == "wayland";
    const QString chosen = Set("QT_QPA_PLATFORM") ? QString::fromLocal8Bit(std::getenv("QT_QPA_PLATFORM"))
                                                  : QString::fromLatin1(wayland ? "wayland;xcb" : "xcb");
    for (const QString &entry : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (PlatformReachable(entry)) {
            return true;
        }
    }
    return false;
}

std::future<std::string> ReadFontsAside(const std::string &family) {
    // fontconfig reads its configuration files and every font folder's cache on first use, a few milliseconds that
    // would fall in the first window's layout; here they run beside the display connection. It is thread-safe, and
    // Qt's own first call then finds the configuration loaded. A family that is not installed would send Qt through
    // a sort of every face for its stand-in; fontconfig's best match is the face that sort puts first.
    return std::async(std::launch::async, [family] {
        FcInit();
        std::string chosen = family;
        FcPattern *asked = FcPatternCreate();
        FcPatternAddString(asked, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
        FcConfigSubstitute(nullptr, asked, FcMatchPattern);
        FcDefaultSubstitute(asked);
        FcResult result = FcResultNoMatch;
        FcPattern *match = FcFontMatch(nullptr, asked, &result);
        if (match != nullptr) {
            FcChar8 *name = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
                chosen = reinterpret_cast<const char *>(name);
            }
            FcPatternDestroy(match);
        }
        FcPatternDestroy(asked);
        return chosen;
    });
}
void ReportDisplayLimits() {
    if (!QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
        return;
    }
    // The lock lights and the Pause key say so in their own backends.
    ReportUnreachable("native Wayland: windows are placed by the compositor, not at their stored positions");
    ReportUnreachable("native Wayland: the window opacity setting has no effect");
    ReportUnreachable("native Wayland: windows cannot stay on top; the warning may open behind other windows");
}

} // namespace platform
