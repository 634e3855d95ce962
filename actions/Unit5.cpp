// SPDX-License-Identifier: GPL-3.0-or-later
// TForm5, the text window (its texts and saving come with the reminder work).
#include "actions/Unit5.h"

#include "app/Forms.h"
#include "platform/Platform.h"

#include <QPlainTextEdit>
#include <QPushButton>

TForm5::TForm5()
    : Memo1(new QPlainTextEdit(this)), Memo2(new QPlainTextEdit(this)),
      Button2(new QPushButton(QStringLiteral("Сохранить"), this)),
      Button1(new QPushButton(QStringLiteral("ОК"), this)) {
    setWindowTitle(QStringLiteral("Zindrel - текст"));
    FormCreate();
}

void TForm5::FormCreate() {}

void ShowTextReminder(TimerSlot slot, const QString &caption) {
    const QString text = slot == TimerSlot::Slot1 ? Form5->Memo1->toPlainText() : Form5->Memo2->toPlainText();
    platform::Current().system->MessageBox(text.toStdString(), caption.toStdString(),
                                           platform::MB_SYSTEMMODAL_FLAG | platform::MB_ICONINFORMATION_FLAG);
}
