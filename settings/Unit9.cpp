// SPDX-License-Identifier: GPL-3.0-or-later
// TForm9, the password prompt: checks the entry against the stored password before the settings open.
#include "settings/Unit9.h"

#include "app/Forms.h"
#include "controls/Pictures.h"
#include "platform/Platform.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "settings/Unit4.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TForm9::TForm9() : Edit1(new QLineEdit(this)), Button1(new QPushButton(QStringLiteral("ОК"), this)) {
    setWindowTitle(QStringLiteral("Введите пароль"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(323, 85);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    auto *picture = new QLabel(this);
    Picture::DrawWhenShown(picture, Picture::Key, QSize(32, 32));
    picture->setFixedSize(32, 32);
    layout->addWidget(picture, 0, Qt::AlignTop);
    auto *column = new QVBoxLayout;
    column->addWidget(new QLabel(QStringLiteral("Необходимо ввести пароль:"), this));
    auto *row = new QHBoxLayout;
    Edit1->setEchoMode(QLineEdit::Normal);
    row->addWidget(Edit1, 1);
    // Enter in the field does not press the button: the check runs only on a click.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    row->addWidget(Button1);
    column->addLayout(row);
    layout->addLayout(column, 1);

    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    FormCreate();
}

void TForm9::FormCreate() {}

void TForm9::Button1Click(QObject *) {
    const QString stored = Settings::Read(IniFile(SettingsFilePath()), setting::Pass);
    if (Edit1->text() != stored) {
        platform::Current().system->MessageBox("Пароль неверный.", "",
                                               platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
    } else {
        Form4->exec();
    }
    Edit1->clear();
    close();
}
