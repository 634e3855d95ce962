// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program file's icon (resources/zindrel.ico) is the icon the program draws for its windows.
#include "controls/Pictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QtEndian>

#include <cstdlib>

#include <gtest/gtest.h>

namespace {

const int kSides[] = {16, 32, 48, 64};

QImage Drawn(int side) {
    return Picture::AppIcon().pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
}

// An .ico file whose entries are PNG pictures (read by Windows Vista and later, and by windres).
QByteArray IcoOfDrawnIcon() {
    QList<QByteArray> pngs;
    for (const int side : kSides) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        Drawn(side).save(&buffer, "PNG");
        pngs.append(buffer.data());
    }
    QByteArray ico(6 + 16 * pngs.size(), '\0');
    auto *head = reinterpret_cast<uchar *>(ico.data());
    qToLittleEndian<quint16>(1, head + 2); // an icon, not a cursor
    qToLittleEndian<quint16>(static_cast<quint16>(pngs.size()), head + 4);
    quint32 offset = static_cast<quint32>(ico.size());
    for (qsizetype i = 0; i < pngs.size(); ++i) {
        uchar *entry = head + 6 + 16 * i;
        entry[0] = entry[1] = static_cast<uchar>(kSides[i]);
        qToLittleEndian<quint16>(1, entry + 4);  // planes
        qToLittleEndian<quint16>(32, entry + 6); // bits per pixel
        qToLittleEndian<quint32>(static_cast<quint32>(pngs[i].size()), entry + 8);
        qToLittleEndian<quint32>(offset, entry + 12);
        offset += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray &png : pngs) {
        ico += png;
    }
    return ico;
}

// Antialiased edges are drawn by SIMD paths that differ between processors: a channel of a premultiplied pixel may
// differ by a rounding step or two, never more.
bool SamePicture(const QImage &a, const QImage &b) {
    if (a.size() != b.size()) {
        return false;
    }
    const QImage p = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage q = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < p.height(); ++y) {
        const auto *x = reinterpret_cast<const QRgb *>(p.constScanLine(y));
        const auto *z = reinterpret_cast<const QRgb *>(q.constScanLine(y));
        for (int i = 0; i < p.width(); ++i) {
            for (const int shift : {0, 8, 16, 24}) {
                if (std::abs(int((x[i] >> shift) & 0xff) - int((z[i] >> shift) & 0xff)) > 3) {
                    return false;
                }
            }
        }
    }
    return true;
}

// The pictures of an .ico of PNG entries, by side; empty when the file is not one.
QMap<int, QImage> PicturesOf(const QByteArray &ico) {
    QMap<int, QImage> pictures;
    const auto *data = reinterpret_cast<const uchar *>(ico.constData());
    if (ico.size() < 6 || qFromLittleEndian<quint16>(data + 2) != 1) {
        return pictures;
    }
    const int count = qFromLittleEndian<quint16>(data + 4);
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const uchar *entry = data + 6 + 16 * i;
        const QImage picture =
            QImage::fromData(ico.mid(qFromLittleEndian<quint32>(entry + 12), qFromLittleEndian<quint32>(entry + 8)));
        pictures.insert(entry[0], picture.convertToFormat(QImage::Format_ARGB32));
    }
    return pictures;
}

} // namespace

TEST(AppIcon, TheProgramFileIconIsTheDrawnIconAtEverySide) {
    QFile file(QStringLiteral(ZINDREL_SOURCE_DIR "/resources/zindrel.ico"));
    const QMap<int, QImage> pictures =
        file.open(QIODevice::ReadOnly) ? PicturesOf(file.readAll()) : QMap<int, QImage>();
    bool same = pictures.size() == static_cast<qsizetype>(std::size(kSides));
    for (const int side : kSides) {
        same = same && SamePicture(pictures.value(side), Drawn(side));
    }
    // The leeway is for rounding alone: the same icon in another colour is another icon.
    QImage recoloured = Drawn(32);
    recoloured.invertPixels(QImage::InvertRgb);
    EXPECT_FALSE(SamePicture(recoloured, Drawn(32)));
    if (!same) {
        QFile fresh(QStringLiteral("zindrel.ico"));
        ASSERT_TRUE(fresh.open(QIODevice::WriteOnly));
        fresh.write(IcoOfDrawnIcon());
        FAIL() << "resources/zindrel.ico is not the drawn icon; the drawn one is written to the test's folder as "
               << "zindrel.ico: copy it to resources/";
    }
}
