// SPDX-License-Identifier: GPL-3.0-or-later
// The second timer's dialog: its defaults, its range, its eight choices and the text window it opens.
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "app/Forms.h"
#include "app/Unit1.h"
#include "controls/SpinEdit.h"
#include "controls/WindowTimer.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

class SecondTimer : public fakes::TestApp {
protected:
    void ArmBothCountdowns(int minutes1) {
        Form1->RadioButton2->setChecked(true);
        Form1->RadioButton1Click(Form1->RadioButton2);
        Form1->RxSpinEdit3->SetValue(minutes1);
        Form1->CheckBox1->setChecked(true);
        Form1->Button2Click(Form1->Button2);
    }
};

TEST_F(SecondTimer, UntouchedRunsOneMinuteWithRemindWithoutMakingTheDialog) {
    CreateForms();
    ArmBothCountdowns(10);
    EXPECT_EQ(Form1->Timer3->Interval(), 60000);
    Form1->HideToTray();
    ASSERT_FALSE(Form1->isVisible());
    clock.advance(60000);
    EXPECT_TRUE(Form1->isVisible()) << "Remind brings the main window back";
    EXPECT_TRUE(Form1->Timer1->Enabled()) << "countdown 1 still runs";
    EXPECT_EQ(Form6.Existing(), nullptr) << "arming and firing read the dialog's first values without making it";
    EXPECT_EQ(Form6->Task(), TaskKind::Remind) << "the dialog opens with what ran";
    EXPECT_EQ(Form6->Minutes(), 1);
}

TEST_F(SecondTimer, MinutesAreHeldWholeUpTo999999) {
    CreateForms();
    Form6->RxSpinEdit1->SetValue(1000000);
    EXPECT_EQ(Form6->RxSpinEdit1->Value(), 999999);
    Form6->RxSpinEdit1->SetValue(0);
    EXPECT_EQ(Form6->RxSpinEdit1->Value(), 1);
    Form6->RxSpinEdit1->SetValue(999999);
    ArmBothCountdowns(5);
    EXPECT_EQ(Form1->Timer3->Interval(), 999999LL * 60000);
    EXPECT_TRUE(Form1->Timer3->Enabled());
}

TEST_F(SecondTimer, ChoicesInOrderWithTasksAndHints) {
    CreateForms();
    struct Row {
        QRadioButton *button;
        QString caption;
        QString hint;
        TaskKind task;
    };
    const Row rows[] = {
        {Form6->RadioButton3, "Просто напомнить", "Появится вот это окно", TaskKind::Remind},
        {Form6->RadioButton7, "Напомнить с текстом", "", TaskKind::RemindText},
        {Form6->RadioButton9, "Запуск заставки", "", TaskKind::ScreenSaver},
        {Form6->RadioButton6, "Завершение сеанса", "Выполнится завершение текущего сеанса Windows", TaskKind::Logoff},
        {Form6->RadioButton8, "Выключить монитор", "", TaskKind::MonitorOff},
        {Form6->RadioButton1, "Спящий режим", "", TaskKind::Sleep},
        {Form6->RadioButton5, "Перезагрузить компьютер", "Выполнится перезагрузка Windows", TaskKind::Reboot},
        {Form6->RadioButton4, "Выключить компьютер", "Выполнится выключение компьютера", TaskKind::Shutdown},
    };
    int lastY = 79;
    for (const Row &row : rows) {
        EXPECT_EQ(row.button->text(), row.caption);
        EXPECT_EQ(row.button->toolTip(), row.hint) << row.caption.toStdString();
        EXPECT_EQ(row.button->x(), 160);
        EXPECT_GT(row.button->y(), lastY);
        EXPECT_LT(row.button->geometry().bottom(), 232) << "above the separator";
        lastY = row.button->y();
        row.button->setChecked(true);
        EXPECT_EQ(Form6->Task(), row.task) << row.caption.toStdString();
    }
}

TEST_F(SecondTimer, Layout) {
    CreateForms();
    EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Настройка второго таймера"));
    EXPECT_EQ(Form6->size(), QSize(382, 281));
    EXPECT_EQ(Form6->Label1->text(),
              QStringLiteral("Второй таймер позволяет дополнительно устновить время. Может\r\nсрабатывать как до "
                             "основного таймера, так и после. При завершении \r\nсеанса,перезагрузке и выключение не "
                             "появляется окно предупреждения."));
    EXPECT_EQ(Form6->RxSpinEdit1->pos(), QPoint(216, 56));
    EXPECT_EQ(Form6->RxSpinEdit1->width(), 65);
    EXPECT_EQ(Form6->Label2->text(), QStringLiteral("Мин."));
    EXPECT_EQ(Form6->Button1->geometry(), QRect(304, 248, 75, 25));
}

TEST_F(SecondTimer, TextChoiceOpensTheTextWindowModally) {
    CreateForms();
    QWidget *shown = nullptr;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        Form5->Memo2->setPlainText(QStringLiteral("Выключить плиту"));
        Form5->Button1->click();
    });
    Form6->RadioButton7->click();
    EXPECT_EQ(shown, Form5);
    EXPECT_FALSE(Form5->isVisible());
    EXPECT_EQ(Form6->Task(), TaskKind::RemindText);

    ArmBothCountdowns(10);
    clock.advance(60000);
    ASSERT_EQ(fake.system.messages.size(), 1u);
    EXPECT_EQ(fake.system.messages[0].text, "Выключить плиту");
    EXPECT_EQ(fake.system.messages[0].caption, "Zindrel - второй таймер сработал!");
}

} // namespace
