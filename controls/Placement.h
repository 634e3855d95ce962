// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a control at its design position, for windows laid out in pixels.
#pragma once

#include <QRect>
#include <QString>

class QCheckBox;
class QLabel;
class QRadioButton;
class QToolButton;
class QWidget;

template <typename Control> Control *Placed(Control *control, const QRect &geometry) {
    control->setGeometry(geometry);
    return control;
}

// A flat button: no frame until the pointer is over it; for a window laid out by a layout, without a position.
QToolButton *FlatButton(const QString &caption, QWidget *parent);
QToolButton *FlatButton(const QString &caption, QWidget *parent, const QRect &geometry);

// A text at the top left of its place.
QLabel *Text(const QString &text, QWidget *parent, const QRect &geometry);
QCheckBox *Check(const QString &caption, QWidget *parent, const QRect &geometry);
QRadioButton *Radio(const QString &caption, QWidget *parent, const QRect &geometry);
