// SPDX-License-Identifier: GPL-3.0-or-later
// The notification area on Linux: a StatusNotifierItem host on the session bus, or an XEmbed tray.
#include "platform/Tray.h"

#include "platform/linux/DBusService.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <string>

namespace platform {

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
// Qt learns of an X tray's end from its own connection; the answer it gives is fresh once that event is in.
constexpr int kXSettleMs = 250;

// Told by the session bus when a StatusNotifier watcher comes or goes, and by the X server (XFixes) when the
// owner of the screen's tray selection changes: no polling either way.
class TrayHostWatch : public QObject {
public:
    explicit TrayHostWatch(std::function<void()> onChange) : onChange_(std::move(onChange)) {
        auto *watcher = new QDBusServiceWatcher(kWatcher, QDBusConnection::sessionBus(),
                                                QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] { onChange_(); });
        WatchXSelection();
    }
    ~TrayHostWatch() override {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    TrayHostWatch(const TrayHostWatch &) = delete;
    TrayHostWatch &operator=(const TrayHostWatch &) = delete;

private:
    void WatchXSelection() {
        auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (x11 == nullptr || x11->display() == nullptr) {
            return;
        }
        // A connection of its own: the events are read here, not by Qt's event reader.
        display_ = XOpenDisplay(DisplayString(x11->display()));
        int eventBase = 0;
        int errorBase = 0;
        if (display_ == nullptr || !XFixesQueryExtension(display_, &eventBase, &errorBase)) {
            return;
        }
        selectionNotify_ = eventBase + XFixesSelectionNotify;
        const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display_));
        XFixesSelectSelectionInput(display_, DefaultRootWindow(display_), XInternAtom(display_, name.c_str(), False),
                                   XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                       XFixesSelectionClientCloseNotifyMask);
        XFlush(display_);
        auto *notifier = new QSocketNotifier(ConnectionNumber(display_), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] { Drain(); });
    }

    void Drain() {
        bool changed = false;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            changed = changed || event.type == selectionNotify_;
        }
        if (changed) {
            QTimer::singleShot(kXSettleMs, this, [this] { onChange_(); });
        }
    }

    std::function<void()> onChange_;
    ::Display *display_ = nullptr;
    int selectionNotify_ = -1;
};

} // namespace

bool TrayReportsSingleActivations() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    return ServicePresent(bus, kWatcher);
}

void WatchTrayHost(std::function<void()> onChange) {
    static TrayHostWatch *watch = nullptr;
    if (watch == nullptr && qGuiApp != nullptr) {
        watch = new TrayHostWatch(std::move(onChange));
        watch->setParent(qGuiApp);
    }
}

} // namespace platform
