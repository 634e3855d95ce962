// SPDX-License-Identifier: GPL-3.0-or-later
// TForm3, the About window (its pages come with the About work).
#include "settings/Unit3.h"

TForm3::TForm3() {
    setWindowTitle(QStringLiteral("О программе"));
    FormCreate();
}

void TForm3::FormCreate() {}
