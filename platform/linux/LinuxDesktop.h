// SPDX-License-Identifier: GPL-3.0-or-later
// The Desktop interface on Linux: xdg-open and a desktop entry in the user's desktop folder.
#pragma once

#include "platform/Desktop.h"

#include <string>

namespace platform {

class LinuxDesktop : public Desktop {
public:
    bool OpenTarget(const std::string &target) override;
    bool MakeShortcut(const std::string &executable, const std::string &workingFolder, const std::string &name,
                      const std::string &iconPng) override;

    // The XDG "DESKTOP" user folder: XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop; no trailing slash.
    static std::string DesktopFolder();
    // The text of the desktop entry that starts the executable in the working folder.
    static std::string DesktopEntry(const std::string &executable, const std::string &workingFolder,
                                    const std::string &name, const std::string &iconPath);
};

} // namespace platform
