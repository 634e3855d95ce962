// SPDX-License-Identifier: GPL-3.0-or-later
// What a window that must be seen asks of the desktop's window manager.
#pragma once

#include <cstdint>

namespace platform {

class WindowManager {
public:
    virtual ~WindowManager() = default;
    // The window's frame has a title and a border, and no minimise, maximise or close button, where the window
    // manager honours it; the window manager treats it as a dialog that belongs to no other window. Call before the
    // window is mapped.
    virtual void TitleOnly(std::uintptr_t window) = 0;
    // Raises the window and gives it the focus even when another program has it and no user input asked for it.
    virtual void ForceActive(std::uintptr_t window) = 0;
};

} // namespace platform
