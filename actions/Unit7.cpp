// SPDX-License-Identifier: GPL-3.0-or-later
// TForm7, the extras dialog (its pages come with the extras work).
#include "actions/Unit7.h"

#include <QTabWidget>

TForm7::TForm7() : PageControl1(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Дополнительно"));
    FormCreate();
}

void TForm7::FormCreate() {}

void TForm7::ShowOnPage(Page page) {
    PageControl1->setCurrentIndex(page);
    exec();
}

void TForm7::RunWinAmpActions() {}

void TForm7::OperateCdDoor() {}

void TForm7::RunLaunchList() {}
