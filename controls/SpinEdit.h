// SPDX-License-Identifier: GPL-3.0-or-later
// A whole-number field with up and down arrows; an arrow first steps the value, clamped, then its handler runs.
#pragma once

#include <QSpinBox>

#include <functional>

class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minValue, int maxValue, int value, QWidget *parent = nullptr);
    // The number the field shows, clamped to the range; a text that is no number reads as the minimum.
    int Value() const;
    void SetValue(int v) { setValue(v); }
    std::function<void(QObject *)> OnTopClick;
    std::function<void(QObject *)> OnBottomClick;
    void stepBy(int steps) override;

protected:
    // Leaving the field puts the value it reads as into it.
    void focusOutEvent(QFocusEvent *event) override;
};
