// SPDX-License-Identifier: GPL-3.0-or-later
// Putting a control at its design position.
#include "controls/Placement.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

QToolButton *FlatButton(const QString &caption, QWidget *parent) {
    auto *button = new QToolButton(parent);
    button->setText(caption);
    button->setAutoRaise(true);
    return button;
}

QToolButton *FlatButton(const QString &caption, QWidget *parent, const QRect &geometry) {
    return Placed(FlatButton(caption, parent), geometry);
}

QLabel *Text(const QString &text, QWidget *parent, const QRect &geometry) {
    auto *label = Placed(new QLabel(text, parent), geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QCheckBox *Check(const QString &caption, QWidget *parent, const QRect &geometry) {
    return Placed(new QCheckBox(caption, parent), geometry);
}

QRadioButton *Radio(const QString &caption, QWidget *parent, const QRect &geometry) {
    return Placed(new QRadioButton(caption, parent), geometry);
}
