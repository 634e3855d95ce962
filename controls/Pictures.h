// SPDX-License-Identifier: GPL-3.0-or-later
// The program's pictures, drawn in code: quick-function glyphs, dialog pictures and the program icon.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

class QLabel;

namespace Picture {

enum Kind { Sleep, Reboot, Shutdown, MonitorOff, ScreenSaver, Logoff, StopBlink, Warning, Note, Timer, Gear, Key };

QPixmap Draw(Kind kind, QSize size);
// The picture of a window made at start-up and seen only when it is opened: drawn into the label when the label is
// first shown, so the start does not pay for it.
void DrawWhenShown(QLabel *label, Kind kind, QSize size);
QIcon AppIcon();

} // namespace Picture
