// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the About picture's JPEG decoding.
#include "settings/JpegPicture.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    const QImage image = JpegPicture::Decode(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    if (!image.isNull() && image.format() != QImage::Format_RGB888) {
        std::abort();
    }
    return 0;
}
