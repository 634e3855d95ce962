// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop's notification area reports when its icon is activated.
#pragma once

namespace platform {

// Whether the notification area reports only single activations (a StatusNotifierItem host), so that one stands
// for the double click.
bool TrayReportsSingleActivations();

} // namespace platform
