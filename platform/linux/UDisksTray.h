// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the disc tray through udisks2 on the system bus, after unmounting the disc's file systems.
#pragma once

#include <functional>

class QObject;

namespace platform {

class UDisksTray {
public:
    // Asks udisks2 for its optical drive, unmounts the disc and ejects it, and returns at once: an unmount may wait
    // for polkit's password dialog, and a firing must not wait for it. done runs once, on the GUI thread, when
    // udisks2 has answered: true when it knew an optical drive and was asked to open it (a refusal leaves the one
    // stderr line), false when udisks2 or such a drive is not there, so that the caller moves the tray itself.
    // Nothing runs once context is destroyed.
    void Open(QObject *context, std::function<void(bool asked)> done);
};

} // namespace platform
