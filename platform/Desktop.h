// SPDX-License-Identifier: GPL-3.0-or-later
// The user's desktop: opening web and mail targets, making the program's shortcut.
#pragma once

#include <string>

namespace platform {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Hands a URL or a mailto: target to the user's browser or mail program.
    virtual bool OpenTarget(const std::string &target) = 0;
    // Makes the desktop shortcut "name" that starts the executable in the working folder; iconPng holds the
    // program icon as PNG bytes for desktops whose shortcuts name an icon file (others may ignore it).
    virtual bool MakeShortcut(const std::string &executable, const std::string &workingFolder, const std::string &name,
                              const std::string &iconPng) = 0;
};

} // namespace platform
