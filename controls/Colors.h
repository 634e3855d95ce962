// SPDX-License-Identifier: GPL-3.0-or-later
// Windows colour values (0x00BBGGRR) to and from Qt colours, and colouring a control.
#pragma once

#include <QColor>

class QWidget;

QColor FromWinColor(int value);
int ToWinColor(const QColor &color);
void SetBackground(QWidget *widget, const QColor &color);
void SetTextColor(QWidget *widget, const QColor &color);
// The system's button-face colour, given to a disabled time field.
QColor ButtonFace();
