// SPDX-License-Identifier: GPL-3.0-or-later
// One xcb connection of the program's own for the events it watches on the X root window, read as they come.
#include "platform/linux/XRootEvents.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

namespace platform {

namespace {

// The X server Qt shows the windows on, when it talks X; otherwise $DISPLAY (an X server beside Wayland).
std::string DisplayName() {
    auto *x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 != nullptr && x11->display() != nullptr) {
        return DisplayString(x11->display());
    }
    const char *display = std::getenv("DISPLAY");
    return display != nullptr ? display : "";
}

} // namespace

// Owned by the application object, so it goes before the event loop's machinery does at exit.
struct XRootEvents::Notifier {
    QPointer<QSocketNotifier> socket;
    ~Notifier() { delete socket.data(); }
};

std::shared_ptr<XRootEvents> XRootEvents::Share() {
    static std::weak_ptr<XRootEvents> shared;
    if (std::shared_ptr<XRootEvents> events = shared.lock()) {
        return events;
    }
    const std::string name = DisplayName();
    if (name.empty()) {
        return nullptr;
    }
    int screen = 0;
    xcb_connection_t *connection = xcb_connect(name.c_str(), &screen);
    if (xcb_connection_has_error(connection) != 0) {
        xcb_disconnect(connection);
        return nullptr;
    }
    std::shared_ptr<XRootEvents> events(new XRootEvents(connection, screen));
    shared = events;
    return events;
}

XRootEvents::XRootEvents(xcb_connection_t *connection, int screen) : connection_(connection), screen_(screen) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && it.rem > 0; ++i) {
        xcb_screen_next(&it);
    }
    if (it.rem > 0) {
        root_ = it.data->root;
    }
}

XRootEvents::~XRootEvents() {
    notifier_.reset();
    xcb_disconnect(connection_);
}

int XRootEvents::Listen(Handler handler) {
    handlers_.emplace_back(++lastListener_, std::move(handler));
    if (!notifier_) {
        notifier_ = std::make_unique<Notifier>();
        notifier_->socket = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read,
                                                QCoreApplication::instance());
        QObject::connect(notifier_->socket, &QSocketNotifier::activated, notifier_->socket, [this] { Drain(); });
    }
    return lastListener_;
}

void XRootEvents::Forget(int listener) {
    std::erase_if(handlers_, [listener](const auto &entry) { return entry.first == listener; });
}

void XRootEvents::Drain() {
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
        for (const auto &[listener, handler] : handlers_) {
            handler(*event);
        }
        std::free(event);
    }
    // A server that went away leaves the socket readable for ever: stop reading it.
    if (xcb_connection_has_error(connection_) != 0 && notifier_ && notifier_->socket) {
        notifier_->socket->setEnabled(false);
    }
}

} // namespace platform
