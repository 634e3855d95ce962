// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a control at its design position.
#include "controls/Placement.h"

#include <QToolButton>

QToolButton *FlatButton(const QString &caption, QWidget *parent, const QRect &geometry) {
    auto *button = Placed(new QToolButton(parent), geometry);
    button->setText(caption);
    button->setAutoRaise(true);
    return button;
}
