// SPDX-License-Identifier: GPL-3.0-or-later
// TForm3, the About window, made anew at each request.
#pragma once

#include <QDialog>

class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3();
    void FormCreate();
};
