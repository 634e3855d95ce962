// SPDX-License-Identifier: GPL-3.0-or-later
// One xcb connection of the program's own for the events it watches on the X root window, read as they come.
#include "platform/linux/XRootEvents.h"

#include <QCoreApplication>
#include <QGuiApplication>
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
    delete socket_.data();
    xcb_disconnect(connection_);
}

const xcb_query_extension_reply_t *XRootEvents::Extension(xcb_extension_t *extension) const {
    const xcb_query_extension_reply_t *reply = xcb_get_extension_data(connection_, extension);
    return reply != nullptr && reply->present != 0 ? reply : nullptr;
}

int XRootEvents::Listen(Handler handler) {
    handlers_.emplace_back(++lastListener_, std::move(handler));
    if (socket_ == nullptr) {
        socket_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read,
                                      QCoreApplication::instance());
        QObject::connect(socket_, &QSocketNotifier::activated, socket_, [this] { Drain(); });
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
    if (xcb_connection_has_error(connection_) != 0 && socket_ != nullptr) {
        socket_->setEnabled(false);
    }
}

} // namespace platform
