// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the disc tray through udisks2 on the system bus, after unmounting the disc's file systems.
#pragma once

namespace platform {

class UDisksTray {
public:
    // True when udisks2 knows an optical drive and was asked to open it (a refusal leaves the one stderr line);
    // false when udisks2 or such a drive is not there, so that the caller moves the tray itself.
    bool Open();
};

} // namespace platform
