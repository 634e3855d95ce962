// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures decoded with libjpeg-turbo itself; a damaged or missing picture gives an empty image.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace JpegPicture {

// Decodes JPEG bytes into an RGB image; anything libjpeg rejects gives a null image.
QImage Decode(const QByteArray &bytes);
// Reads a file or a Qt resource (":/...") and decodes it; an unreadable file gives a null image.
QImage Load(const QString &path);

} // namespace JpegPicture
