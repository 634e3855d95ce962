// SPDX-License-Identifier: GPL-3.0-or-later
// TForm6, the second timer's dialog: its minutes and its eight task choices, kept only in the controls.
#include "actions/Unit6.h"

#include "app/TaskCatalogue.h"

#include "actions/Unit5.h"
#include "app/Forms.h"
#include "controls/Pictures.h"
#include "controls/SpinEdit.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TForm6::TForm6() : QDialog(nullptr) {
    setWindowTitle(QStringLiteral("Настройка второго таймера"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(382, 281);

    Label1 = new QLabel(QStringLiteral("Второй таймер позволяет дополнительно устновить время. Может\r\nсрабатывать "
                                       "как до основного таймера, так и после. При завершении \r\nсеанса,"
                                       "перезагрузке и выключение не появляется окно предупреждения."),
                        this);
    Label1->setGeometry(8, 4, 370, 46);
    Image1 = new QLabel(this);
    Image1->setGeometry(0, 64, 128, 128);
    Picture::DrawWhenShown(Image1, Picture::Timer, QSize(128, 128));

    RxSpinEdit1 = new SpinEdit(1, 999999, kFirstMinutes, this);
    RxSpinEdit1->setGeometry(216, 56, 65, 21);
    Label2 = new QLabel(QStringLiteral("Мин."), this);
    Label2->setGeometry(286, 58, 40, 17);

    const Choice choices[] = {
        {&RadioButton3, TaskKind::Remind, u"Появится вот это окно"},
        {&RadioButton7, TaskKind::RemindText, nullptr},
        {&RadioButton9, TaskKind::ScreenSaver, nullptr},
        {&RadioButton6, TaskKind::Logoff, u"Выполнится завершение текущего сеанса Windows"},
        {&RadioButton8, TaskKind::MonitorOff, nullptr},
        {&RadioButton1, TaskKind::Sleep, nullptr},
        {&RadioButton5, TaskKind::Reboot, u"Выполнится перезагрузка Windows"},
        {&RadioButton4, TaskKind::Shutdown, u"Выполнится выключение компьютера"},
    };
    int y = 80;
    for (const Choice &choice : choices) {
        auto *radio = new QRadioButton(QString::fromUtf16(TaskOf(choice.task).caption), this);
        radio->setGeometry(160, y, 210, 18);
        if (choice.hint != nullptr) {
            radio->setToolTip(QString::fromUtf16(choice.hint));
        }
        *choice.button = radio;
        radio->setChecked(choice.task == kFirstTask);
        choices_.push_back({radio, choice.task});
        y += 19;
    }

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, 232, 382, 2);
    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setGeometry(304, 248, 75, 25);
    Button1->setDefault(true);

    connect(RadioButton7, &QRadioButton::clicked, this, [this] { RadioButton7Click(RadioButton7); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    FormCreate();
}

void TForm6::FormCreate() {}

void TForm6::RadioButton7Click(QObject *) {
    Form5->exec();
}

void TForm6::Button1Click(QObject *) {
    close();
}

TaskKind TForm6::Task() const {
    for (const auto &[radio, task] : choices_) {
        if (radio->isChecked()) {
            return task;
        }
    }
    return kFirstTask;
}

std::int64_t TForm6::Minutes() const {
    return RxSpinEdit1->Value();
}

TaskKind SecondTimerTask() {
    const TForm6 *dialog = Form6.Existing();
    return dialog != nullptr ? dialog->Task() : TForm6::kFirstTask;
}

std::int64_t SecondTimerMinutes() {
    const TForm6 *dialog = Form6.Existing();
    return dialog != nullptr ? dialog->Minutes() : TForm6::kFirstMinutes;
}
