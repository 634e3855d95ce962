// SPDX-License-Identifier: GPL-3.0-or-later
// One xcb connection of the program's own for the events it watches on the X root window, read as they come.
#pragma once

#include <QPointer>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace platform {

// The Pause key's raw events and the tray selection's owner come here rather than through Qt's connection, so Qt's
// event reader never sees them, and so the key is watched also where Qt talks Wayland beside an X server.
class XRootEvents {
public:
    using Handler = std::function<void(const xcb_generic_event_t &event)>;

    // The connection its users share, made when the first of them asks and closed when the last lets go; nullptr
    // when no X server answers.
    static std::shared_ptr<XRootEvents> Share();

    XRootEvents(const XRootEvents &) = delete;
    XRootEvents &operator=(const XRootEvents &) = delete;
    ~XRootEvents();

    xcb_connection_t *Connection() const { return connection_; }
    xcb_window_t Root() const { return root_; }
    int Screen() const { return screen_; }
    // The server's answer about an extension, or nullptr when it lacks it: a request of a missing extension would
    // close the connection for all its users.
    const xcb_query_extension_reply_t *Extension(xcb_extension_t *extension) const;

    // handler is given every event from now on, until Forget with what this returns; the socket is read in the
    // event loop from the first call.
    int Listen(Handler handler);
    void Forget(int listener);
    // Hands on what the connection already holds: events that came in while a reply was awaited are queued by
    // xcb, not left in the socket.
    void Drain();

private:
    XRootEvents(xcb_connection_t *connection, int screen);

    xcb_connection_t *connection_;
    int screen_;
    xcb_window_t root_ = XCB_NONE;
    std::vector<std::pair<int, Handler>> handlers_;
    int lastListener_ = 0;
    // Owned by the application object, so it goes before the event loop's machinery does at exit.
    QPointer<QSocketNotifier> socket_;
};

} // namespace platform
