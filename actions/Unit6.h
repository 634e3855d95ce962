// SPDX-License-Identifier: GPL-3.0-or-later
// TForm6, the second timer's minutes and task.
#pragma once

#include "app/TaskKind.h"

#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

class QLabel;
class QRadioButton;
class QPushButton;
class SpinEdit;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    TForm6();

    QLabel *Label1; // the explanation across the top
    QLabel *Image1;
    SpinEdit *RxSpinEdit1; // minutes, 1..999999
    QLabel *Label2;        // "Мин."
    QRadioButton *RadioButton3;
    QRadioButton *RadioButton7;
    QRadioButton *RadioButton9;
    QRadioButton *RadioButton6;
    QRadioButton *RadioButton8;
    QRadioButton *RadioButton1;
    QRadioButton *RadioButton5;
    QRadioButton *RadioButton4;
    QPushButton *Button1;

    void FormCreate();
    void RadioButton7Click(QObject *Sender);
    void Button1Click(QObject *Sender);

    // What the dialog opens with.
    static constexpr TaskKind kFirstTask = TaskKind::Remind;
    static constexpr std::int64_t kFirstMinutes = 1;

    // The chosen task at this moment.
    TaskKind Task() const;
    // The chosen minutes; 64 bits hold the longest in milliseconds too.
    std::int64_t Minutes() const;

private:
    struct Choice {
        QRadioButton **button;
        TaskKind task;
        const char16_t *hint;
    };
    // Each task button with the task it stands for, in the dialog's order.
    std::vector<std::pair<QRadioButton *, TaskKind>> choices_;
};

// The second timer's task and minutes: the dialog's, or what it opens with while nobody has opened it.
TaskKind SecondTimerTask();
std::int64_t SecondTimerMinutes();
