// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-number field with arrows that call their handlers after the step.
#include "controls/SpinEdit.h"

#include <QLineEdit>

#include <algorithm>

SpinEdit::SpinEdit(int minValue, int maxValue, int value, QWidget *parent) : QSpinBox(parent) {
    setRange(minValue, maxValue);
    setValue(value);
    setAccelerated(true);
}

int SpinEdit::Value() const {
    // Qt keeps the last whole value while the text is emptied or half typed; the field reads what it shows.
    bool number = false;
    const int typed = locale().toInt(cleanText(), &number);
    return number ? std::clamp(typed, minimum(), maximum()) : minimum();
}

void SpinEdit::stepBy(int steps) {
    QSpinBox::stepBy(steps);
    if (steps > 0 && OnTopClick) {
        OnTopClick(this);
    } else if (steps < 0 && OnBottomClick) {
        OnBottomClick(this);
    }
}

void SpinEdit::focusOutEvent(QFocusEvent *event) {
    const int value = Value();
    setValue(value);
    // setValue leaves the text alone when the value was already the one Qt kept.
    lineEdit()->setText(textFromValue(value));
    QSpinBox::focusOutEvent(event);
}
