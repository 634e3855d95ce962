// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a control at its design position, for windows laid out in pixels.
#pragma once

#include <QRect>
#include <QString>

class QToolButton;
class QWidget;

template <typename Control> Control *Placed(Control *control, const QRect &geometry) {
    control->setGeometry(geometry);
    return control;
}

// A flat button: no frame until the pointer is over it.
QToolButton *FlatButton(const QString &caption, QWidget *parent, const QRect &geometry);
