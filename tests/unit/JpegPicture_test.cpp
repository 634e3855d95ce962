// SPDX-License-Identifier: GPL-3.0-or-later
// The About picture through libjpeg-turbo: the shipped file decodes whole, damaged bytes give nothing.
#include "settings/JpegPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace {

QByteArray ShippedPicture() {
    QFile file(QStringLiteral(ZINDREL_SOURCE_DIR "/resources/about.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(JpegPicture, ShippedPictureDecodesToItsSizeAndColours) {
    const QByteArray bytes = ShippedPicture();
    ASSERT_FALSE(bytes.isEmpty());
    const QImage image = JpegPicture::Decode(bytes);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(118, 195));
    // The top is the deep blue of the gradient, the clock face white: red and blue kept in their places.
    const QColor top = image.pixelColor(3, 3);
    EXPECT_GT(top.blue(), top.red() + 80);
    const QColor face = image.pixelColor(45, 95);
    EXPECT_GT(face.red(), 230);
    EXPECT_GT(face.green(), 230);
    EXPECT_GT(face.blue(), 230);

    // Where Qt has its own JPEG reader, both decoders agree pixel for pixel within rounding.
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    if (reader.canRead()) {
        const QImage reference = reader.read().convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(reference.size(), image.size());
        int worst = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor a = image.pixelColor(x, y);
                const QColor b = reference.pixelColor(x, y);
                worst = std::max({worst, std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                                  std::abs(a.blue() - b.blue())});
            }
        }
        EXPECT_LE(worst, 3);
    }
}

TEST(JpegPicture, DamagedOrMissingDataGivesAnEmptyPicture) {
    const QByteArray bytes = ShippedPicture();
    ASSERT_GT(bytes.size(), 1000);
    EXPECT_TRUE(JpegPicture::Decode(bytes.left(bytes.size() / 2)).isNull()) << "cut in the scan data";
    EXPECT_TRUE(JpegPicture::Decode(bytes.left(300)).isNull()) << "cut in the headers";
    EXPECT_TRUE(JpegPicture::Decode(bytes.left(2)).isNull()) << "only the start marker";
    EXPECT_TRUE(JpegPicture::Decode(QByteArray()).isNull());
    EXPECT_TRUE(JpegPicture::Load(QStringLiteral("/nonexistent/about.jpg")).isNull());

    std::mt19937 generator(20260607);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 50; ++round) {
        QByteArray noise(4096, '\0');
        for (char &c : noise) {
            c = static_cast<char>(byte(generator));
        }
        EXPECT_TRUE(JpegPicture::Decode(noise).isNull()) << "random bytes, round " << round;
        // Behind a real start-of-image marker the noise reaches the marker parser itself.
        noise[0] = '\xFF';
        noise[1] = '\xD8';
        EXPECT_TRUE(JpegPicture::Decode(noise).isNull()) << "noise after a start marker, round " << round;
    }

    // The shipped headers with a scrambled scan: whatever libjpeg makes of it, it returns here.
    QByteArray scrambled = bytes;
    for (qsizetype i = scrambled.size() / 3; i < scrambled.size() - 2; i += 7) {
        scrambled[i] = static_cast<char>(byte(generator));
    }
    const QImage image = JpegPicture::Decode(scrambled);
    EXPECT_TRUE(image.isNull() || image.size() == QSize(118, 195));
}

} // namespace
