// SPDX-License-Identifier: GPL-3.0-or-later
// The Pause key as the program's own windows receive it, for a session whose key events reach no one else.
#pragma once

#include <functional>

class QObject;

namespace platform {

// Tells onChange of Pause going down (true) and up (false) while a window of the program has the focus; the
// returned watcher belongs to the application object and ends with it.
QObject *WatchPauseInFocusedWindows(std::function<void(bool down)> onChange);

} // namespace platform
