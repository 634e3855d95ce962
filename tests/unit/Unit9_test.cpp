// SPDX-License-Identifier: GPL-3.0-or-later
// The password gate: when the prompt comes first, the exact comparison, one attempt per showing.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "settings/IniFile.h"
#include "settings/Unit4.h"
#include "settings/Unit9.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <vector>

namespace {

class PasswordGate : public fakes::TestApp {
protected:
    // Opens the settings from the main window; whatever dialog comes up first gets the answer given.
    // Returns the dialogs in the order they were active.
    std::vector<QWidget *> OpenSettings(const QString &entry, bool pressOk = true) {
        std::vector<QWidget *> seen;
        QTimer::singleShot(0, Form1, [this, &seen, entry, pressOk] {
            QWidget *first = QApplication::activeModalWidget();
            seen.push_back(first);
            if (first != Form9) {
                first->close();
                return;
            }
            Form9->Edit1->setText(entry);
            if (!pressOk) {
                Form9->close();
                return;
            }
            // The settings, if the check lets them open, record themselves and close.
            QTimer::singleShot(0, Form1, [&seen] {
                if (QWidget *second = QApplication::activeModalWidget(); second != nullptr) {
                    seen.push_back(second);
                    promptOpenMeanwhile = Form9->isVisible();
                    second->close();
                }
            });
            Form9->Button1->click();
        });
        Form1->SpeedButton2Click(Form1->SpeedButton2);
        // A refused entry leaves the inner single shot waiting; let it find no dialog.
        QCoreApplication::processEvents();
        return seen;
    }

    bool Refused() const {
        return !fake.system.messages.empty() && fake.system.messages.back().text == "Пароль неверный." &&
               fake.system.messages.back().caption.empty() && fake.system.messages.back().flags == 0x1040;
    }

    static inline bool promptOpenMeanwhile = false;
};

TEST_F(PasswordGate, PromptLooksAsDesigned) {
    CreateForms();
    EXPECT_EQ(Form9->windowTitle(), QStringLiteral("Введите пароль"));
    EXPECT_EQ(Form9->size(), QSize(323, 85));
    EXPECT_TRUE(Form9->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Form9->Edit1->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(Form9->Button1->text(), QStringLiteral("ОК"));
    EXPECT_FALSE(Form9->Button1->autoDefault());
    EXPECT_FALSE(Form9->Button1->isDefault());
}

TEST_F(PasswordGate, NoPasswordOpensTheSettingsAtOnce) {
    CreateForms();
    EXPECT_EQ(OpenSettings(QString()), std::vector<QWidget *>{Form4});
}

TEST_F(PasswordGate, AppliedPasswordGuardsTheVeryNextOpening) {
    CreateForms();
    Form4->Edit1->setText(QStringLiteral("Ключ"));
    Form4->Button2Click(Form4->Button2);

    promptOpenMeanwhile = false;
    const std::vector<QWidget *> right = OpenSettings(QStringLiteral("Ключ"));
    EXPECT_EQ(right, (std::vector<QWidget *>{Form9, Form4}));
    EXPECT_TRUE(promptOpenMeanwhile);
    EXPECT_TRUE(fake.system.messages.empty());
    EXPECT_TRUE(Form9->Edit1->text().isEmpty());
    EXPECT_FALSE(Form9->isVisible());

    // Clearing the field and applying takes the prompt away again.
    Form4->Edit1->clear();
    Form4->Button2Click(Form4->Button2);
    EXPECT_EQ(OpenSettings(QString()), std::vector<QWidget *>{Form4});
}

TEST_F(PasswordGate, CaseDifferenceBlanksAndEmptyEntriesAreRefused) {
    WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\npass=Secret\r\n");
    CreateForms();
    for (const QString &entry : {QStringLiteral("secret"), QStringLiteral("Secret "), QString()}) {
        fake.system.messages.clear();
        EXPECT_EQ(OpenSettings(entry), std::vector<QWidget *>{Form9}) << entry.toStdString();
        EXPECT_TRUE(Refused()) << entry.toStdString();
        EXPECT_TRUE(Form9->Edit1->text().isEmpty());
        EXPECT_FALSE(Form9->isVisible());
    }
}

TEST_F(PasswordGate, ClosingThePromptOpensNothingAndKeepsTheText) {
    WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\npass=Secret\r\n");
    CreateForms();
    EXPECT_EQ(OpenSettings(QStringLiteral("Sec"), false), std::vector<QWidget *>{Form9});
    EXPECT_TRUE(fake.system.messages.empty());
    EXPECT_EQ(Form9->Edit1->text(), QStringLiteral("Sec"));
}

TEST_F(PasswordGate, FileDecidesTheMatchWhileTheLiveCopyDecidesTheAsking) {
    WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\npass=Secret\r\nsec=20\r\n");
    CreateForms();
    // The password taken out of the file by hand while the program runs.
    WriteFile(QStringLiteral("zindrel_tester.ini"), "[main]\r\nsec=20\r\n");
    EXPECT_EQ(OpenSettings(QStringLiteral("Secret")), std::vector<QWidget *>{Form9});
    EXPECT_TRUE(Refused());
    fake.system.messages.clear();
    EXPECT_EQ(OpenSettings(QString()), (std::vector<QWidget *>{Form9, Form4}));
    EXPECT_TRUE(fake.system.messages.empty());
}

} // namespace
