// SPDX-License-Identifier: GPL-3.0-or-later
// The notification area on Linux: a StatusNotifierItem host on the session bus, or an XEmbed tray.
#include "platform/Tray.h"

#include "platform/linux/DBusService.h"
#include "platform/linux/XRootEvents.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xfixes.h>

#include <cstdlib>
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
        if (x_ != nullptr) {
            x_->Forget(listener_);
        }
    }
    TrayHostWatch(const TrayHostWatch &) = delete;
    TrayHostWatch &operator=(const TrayHostWatch &) = delete;

private:
    void WatchXSelection() {
        // Only where Qt's tray is an X one: on Wayland the X server beside it has no say in the tray.
        auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        x_ = x11 != nullptr ? XRootEvents::Share() : nullptr;
        if (x_ == nullptr) {
            return;
        }
        xcb_connection_t *c = x_->Connection();
        const xcb_query_extension_reply_t *xfixes = x_->Extension(&xcb_xfixes_id);
        if (xfixes == nullptr) {
            return;
        }
        // XFixes takes no other request before its version is asked.
        std::free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 1, 0), nullptr));
        const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(x_->Screen());
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
        if (atom == nullptr) {
            return;
        }
        xcb_xfixes_select_selection_input(c, x_->Root(), atom->atom,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(c);
        const xcb_atom_t selection = atom->atom;
        std::free(atom);
        const uint8_t notify = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
        listener_ = x_->Listen([this, notify, selection](const xcb_generic_event_t &event) {
            if ((event.response_type & 0x7f) == notify &&
                reinterpret_cast<const xcb_xfixes_selection_notify_event_t &>(event).selection == selection) {
                Changed();
            }
        });
    }

    // One answer for the burst of events a tray's going or coming makes.
    void Changed() {
        if (!settling_) {
            settling_ = true;
            QTimer::singleShot(kXSettleMs, this, [this] {
                settling_ = false;
                onChange_();
            });
        }
    }

    std::function<void()> onChange_;
    std::shared_ptr<XRootEvents> x_;
    int listener_ = 0;
    bool settling_ = false;
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
