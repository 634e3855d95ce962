// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop's notification area reports when its icon is activated.
#pragma once

#include <functional>

namespace platform {

// Whether the notification area reports only single activations (a StatusNotifierItem host), so that one stands
// for the double click.
bool TrayReportsSingleActivations();

// Calls onChange whenever a notification area appears or goes away, as the desktop tells it (no polling).
void WatchTrayHost(std::function<void()> onChange);

} // namespace platform
