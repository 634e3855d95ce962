// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures decoded with libjpeg-turbo: errors jump back here instead of ending the program.
#include "settings/JpegPicture.h"

#include <QFile>

#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace JpegPicture {

namespace {

constexpr std::uint64_t kMaxPixels = 32u << 20;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

// libjpeg's own error_exit calls exit(); a damaged file must only give an empty picture.
[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(manager->jump, 1);
}

// Warnings about recoverable damage are not printed on stderr; the picture shows what could be read.
void OutputMessage(j_common_ptr) {}

// Everything that must survive the longjmp lives outside the function that calls setjmp.
struct Decoder {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    QImage image;
};

bool Run(Decoder &d, const QByteArray &bytes) {
    d.info.err = jpeg_std_error(&d.error.pub);
    d.error.pub.error_exit = ErrorExit;
    d.error.pub.output_message = OutputMessage;
    if (setjmp(d.error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&d.info);
    jpeg_mem_src(&d.info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    // A header claiming more than 32 megapixels is damage: decoding it would take gigabytes before a row shows.
    if (jpeg_read_header(&d.info, TRUE) != JPEG_HEADER_OK ||
        std::uint64_t{d.info.image_width} * d.info.image_height > kMaxPixels) {
        return false;
    }
    d.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d.info);
    if (d.info.output_components != 3) {
        return false;
    }
    d.image =
        QImage(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height), QImage::Format_RGB888);
    if (d.image.isNull()) {
        return false;
    }
    while (d.info.output_scanline < d.info.output_height) {
        JSAMPROW row = d.image.scanLine(static_cast<int>(d.info.output_scanline));
        jpeg_read_scanlines(&d.info, &row, 1);
    }
    // A file cut short reads to its end with grey rows; libjpeg only warns, so the damage is checked here.
    if (d.error.pub.num_warnings != 0) {
        return false;
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

} // namespace

QImage Decode(const QByteArray &bytes) {
    if (bytes.isEmpty()) {
        return {};
    }
    Decoder d;
    const bool ok = Run(d, bytes);
    jpeg_destroy_decompress(&d.info);
    return ok ? d.image : QImage();
}

QImage Load(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return Decode(file.readAll());
}

} // namespace JpegPicture
