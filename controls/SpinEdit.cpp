// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-number field with arrows that call their handlers after the step.
#include "controls/SpinEdit.h"

SpinEdit::SpinEdit(int minValue, int maxValue, int value, QWidget *parent) : QSpinBox(parent) {
    setRange(minValue, maxValue);
    setValue(value);
    setAccelerated(true);
}

void SpinEdit::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    if (steps > 0 && OnTopClick) {
        OnTopClick(this);
    } else if (steps < 0 && OnBottomClick) {
        OnBottomClick(this);
    }
}
