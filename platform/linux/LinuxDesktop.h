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
    // The icon of a program installed as <prefix>/bin/zindrel beside <prefix>/share/icons/hicolor: the theme name
    // "zindrel" when <prefix>/share is one of the XDG data folders (the user's or the system's), else the path of
    // the installed drawing; empty when the executable is not installed so.
    static std::string InstalledIcon(const std::string &executable);
    // The text of the desktop entry that starts the executable in the working folder.
    static std::string DesktopEntry(const std::string &executable, const std::string &workingFolder,
                                    const std::string &name, const std::string &iconPath);
};

} // namespace platform
