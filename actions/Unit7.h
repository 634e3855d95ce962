// SPDX-License-Identifier: GPL-3.0-or-later
// TForm7, the extras dialog: general page, media-player page, launch page.
#pragma once

#include <QDialog>

class QTabWidget;

class TForm7 : public QDialog {
    Q_OBJECT
public:
    enum Page { PageGeneral = 0, PageWinAmp = 1, PageLaunch = 2 };

    TForm7();

    QTabWidget *PageControl1;

    void FormCreate();
    // Selects the page, then shows the dialog modally.
    void ShowOnPage(Page page);

    // The firing's operations of this dialog; each checks its own settings.
    void RunWinAmpActions();
    void OperateCdDoor();
    void RunLaunchList();
};
