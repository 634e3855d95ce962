// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows build's own hook: the main window the MCI and shell calls name, once it exists.
#pragma once

#include <cstdint>

namespace platform::win32 {

// Called by the application after its main window has a native handle (QWidget::winId()).
void SetMainWindow(std::uintptr_t window);

} // namespace platform::win32
