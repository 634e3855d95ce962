// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's five pages on a real X server: each fits the fixed window and is saved as a picture.
#include "app/Forms.h"
#include "settings/Unit3.h"
#include "tests/fakes/TestApp.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

class AboutPages : public fakes::TestApp {};

TEST_F(AboutPages, EachPageFitsAndIsPictured) {
    const QString artefacts = qEnvironmentVariable("ZINDREL_ARTEFACTS");
    ASSERT_FALSE(artefacts.isEmpty()) << "ZINDREL_ARTEFACTS names the folder for the pictures";
    QDir().mkpath(artefacts);
    CreateForms();
    TForm3 about;
    about.show();
    QApplication::processEvents();
    EXPECT_EQ(about.PageControl1->currentWidget(), about.TabSheet1);
    EXPECT_EQ(about.Image1->pixmap().size(), QSize(118, 195));
    const QRect window = about.rect();
    const QTabBar *tabs = about.PageControl1->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        const QRect tab(tabs->mapTo(&about, tabs->tabRect(i).topLeft()), tabs->tabRect(i).size());
        EXPECT_TRUE(window.contains(tab)) << "tab " << i << " is cut off";
    }
    for (int page = 0; page < about.PageControl1->count(); ++page) {
        about.PageControl1->setCurrentIndex(page);
        QApplication::processEvents();
        for (const QWidget *child : about.PageControl1->currentWidget()->findChildren<QWidget *>()) {
            if (!child->isVisible() || child->parentWidget() != about.PageControl1->currentWidget()) {
                continue;
            }
            const QRect area(child->mapTo(&about, QPoint(0, 0)), child->size());
            EXPECT_TRUE(window.contains(area))
                << "page " << page << ": " << child->metaObject()->className() << " at " << area.x() << "," << area.y()
                << " " << area.width() << "x" << area.height() << " leaves the window";
        }
        const QString path = QStringLiteral("%1/about-page-%2.png").arg(artefacts).arg(page + 1);
        EXPECT_TRUE(about.grab().save(path)) << path.toStdString();
    }
    about.reject();
}

} // namespace
