// SPDX-License-Identifier: GPL-3.0-or-later
// Group box frames under the program's style: Fusion's look, without the image plugins Fusion's picture loads.
#include "app/Application.h"
#include "controls/GroupFrame.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <memory>

#include <gtest/gtest.h>

namespace {

bool ImagePluginsMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

QImage Rendered(QGroupBox &box) {
    QImage image(box.size(), QImage::Format_RGB32);
    image.fill(box.palette().window().color());
    box.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(GroupFrame, LooksAsFusionsWithoutLoadingTheImagePlugins) {
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
    const bool mappedBefore = ImagePluginsMapped();
    Application::InstallStyle();
    QGroupBox box(QStringLiteral("Будильник"));
    box.resize(180, 90);
    const QImage ours = Rendered(box);
    EXPECT_TRUE(mappedBefore || !ImagePluginsMapped());
    box.setStyle(fusion.get());
    const QImage fusions = Rendered(box);
    EXPECT_TRUE(ImagePluginsMapped()); // so the check above could have seen them
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            ASSERT_LE(qAbs(qGray(ours.pixel(x, y)) - qGray(fusions.pixel(x, y))), 5) << x << "," << y;
        }
    }
    // Another base style draws its own frame.
    QImage canvas(box.size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    QStyleOptionFrame option;
    option.initFrom(&box);
    EXPECT_FALSE(GroupFrame::Draw(windows.get(), &option, &painter, &box));
    box.setStyle(nullptr);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}
