// SPDX-License-Identifier: GPL-3.0-or-later
// Windows colour values and control colouring.
#include "controls/Colors.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

QColor FromWinColor(int value) {
    const auto v = static_cast<unsigned>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

int ToWinColor(const QColor &color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

void SetBackground(QWidget *widget, const QColor &color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Base, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget *widget, const QColor &color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

QColor ButtonFace() {
    return QApplication::palette().color(QPalette::Button);
}
