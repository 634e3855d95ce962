// SPDX-License-Identifier: GPL-3.0-or-later
// The six pages of the settings dialog on a real X server: each fits the fixed dialog and is saved as a picture.
#include "app/Forms.h"
#include "settings/Unit4.h"
#include "tests/fakes/TestApp.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class SettingsPages : public fakes::TestApp {};

TEST_F(SettingsPages, EachPageFitsAndIsPictured) {
    const QString artefacts = qEnvironmentVariable("ZINDREL_ARTEFACTS");
    ASSERT_FALSE(artefacts.isEmpty()) << "ZINDREL_ARTEFACTS names the folder for the pictures";
    QDir().mkpath(artefacts);
    CreateForms();
    Form4->show();
    QApplication::processEvents();
    const QRect dialog = Form4->rect();
    const QTabBar *tabs = Form4->PageControl1->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab(tabs->mapTo(Form4, tabs->tabRect(i).topLeft()), tabs->tabRect(i).size());
        EXPECT_TRUE(dialog.contains(tab)) << "tab " << i << " is cut off";
    }
    for (int page = 0; page < Form4->PageControl1->count(); ++page) {
        Form4->PageControl1->setCurrentIndex(page);
        QApplication::processEvents();
        for (const QWidget *child : Form4->PageControl1->currentWidget()->findChildren<QWidget *>()) {
            // A spin box sizes its own edit field smaller than a framed edit's hint; the spin box itself is checked.
            if (!child->isVisible() || qobject_cast<const QAbstractSpinBox *>(child->parentWidget()) != nullptr) {
                continue;
            }
            const QRect area(child->mapTo(Form4, QPoint(0, 0)), child->size());
            const QSize wanted = child->minimumSizeHint();
            EXPECT_TRUE(child->width() >= wanted.width() && child->height() >= wanted.height())
                << "page " << page << ": a " << child->metaObject()->className() << " is cut";
            EXPECT_TRUE(dialog.contains(area))
                << "page " << page << ": " << child->metaObject()->className() << " at " << area.x() << "," << area.y()
                << " " << area.width() << "x" << area.height() << " leaves the dialog";
        }
        const QString path = QStringLiteral("%1/settings-page-%2.png").arg(artefacts).arg(page + 1);
        EXPECT_TRUE(Form4->grab().save(path)) << path.toStdString();
    }
    Form4->close();
}

} // namespace
