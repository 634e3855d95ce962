// SPDX-License-Identifier: GPL-3.0-or-later
// A titled group box's frame under Fusion, drawn with lines rather than from Fusion's picture of it.
#pragma once

class QPainter;
class QStyle;
class QStyleOption;
class QWidget;

namespace GroupFrame {

// Draws the frame of a titled, uncheckable group box when the base style is Fusion and answers true; answers false,
// drawing nothing, for every other case, which the base style then draws as it would.
bool Draw(const QStyle *base, const QStyleOption *option, QPainter *painter, const QWidget *widget);

} // namespace GroupFrame
