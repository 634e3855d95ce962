// SPDX-License-Identifier: GPL-3.0-or-later
// Group box frames under the program's style: Fusion's look, without Fusion's picture and the image plugins it loads.
#include "app/Application.h"
#include "controls/GroupFrame.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

namespace {

bool ImagePluginsMapped() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

QImage Rendered(QGroupBox &box) {
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(box.palette().window().color());
    box.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

int LargestDifference(const QImage &a, const QImage &b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            largest = std::max(
                {largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

} // namespace

TEST(GroupFrame, LooksAsFusionsWithoutLoadingTheImagePlugins) {
    ASSERT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const bool mappedBefore = ImagePluginsMapped();
    Application::InstallStyle();

    QGroupBox box(QStringLiteral("Будильник"));
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(new QRadioButton(QStringLiteral("Выключить компьютер")));
    box.resize(180, 90);
    const QImage ours = Rendered(box);
    if (!mappedBefore) {
        EXPECT_FALSE(ImagePluginsMapped());
    }

    box.setStyle(fusion.get());
    const QImage fusions = Rendered(box);
    // Fusion's own frame is what loads them; seen here, the check above can see them too.
    EXPECT_TRUE(ImagePluginsMapped());
    EXPECT_LE(LargestDifference(ours, fusions), 5);

    // Only a titled, uncheckable box under Fusion: the others are left to the base style.
    QImage canvas(box.size(), QImage::Format_ARGB32);
    QPainter painter(&canvas);
    QStyleOptionFrame option;
    option.initFrom(&box);
    EXPECT_TRUE(GroupFrame::Draw(fusion.get(), &option, &painter, &box));
    const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
    EXPECT_FALSE(GroupFrame::Draw(windows.get(), &option, &painter, &box));
    box.setCheckable(true);
    EXPECT_FALSE(GroupFrame::Draw(fusion.get(), &option, &painter, &box));
    box.setCheckable(false);
    box.setTitle(QString());
    EXPECT_FALSE(GroupFrame::Draw(fusion.get(), &option, &painter, &box));
    box.setStyle(nullptr);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}
