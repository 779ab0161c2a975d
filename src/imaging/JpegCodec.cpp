#include "imaging/JpegCodec.h"

#include <QPainter>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return: jump back to
// the decode or encode call and fail it.
[[noreturn]] void OnJpegError(j_common_ptr info);
void OnJpegMessage(j_common_ptr) {}

struct TJpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;

    // Warnings stay silent; errors jump back to the setjmp of the caller.
    jpeg_error_mgr* Install() {
        jpeg_std_error(&pub);
        pub.error_exit = OnJpegError;
        pub.output_message = OnJpegMessage;
        return &pub;
    }
};

void OnJpegError(j_common_ptr info) {
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    std::longjmp(err->jump, 1);
}

// Adobe CMYK JPEGs store inverted ink values.
void CmykRowToRgb32(const JSAMPLE* src, QRgb* dst, int width, bool inverted) {
    for (int x = 0; x < width; ++x, src += 4) {
        int c = src[0], m = src[1], y = src[2], k = src[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        dst[x] = qRgb(c * k / 255, m * k / 255, y * k / 255);
    }
}

// The part that may be left by longjmp holds no objects with destructors; the caller owns
// the image and the CMYK row buffer.
bool DecodeInto(jpeg_decompress_struct& info, const QByteArray& bytes, int scaleDenom, qint64 maxPixels, QImage& image,
                std::vector<JSAMPLE>& cmykRow) {
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    info.scale_num = 1;
    info.dct_method = JDCT_ISLOW;
    // A picture too large for memory or for what the document may still hold is read at the
    // largest DCT scale that fits instead; the caller scales down what even 1/8 leaves too large.
    for (int denom = scaleDenom;; denom *= 2) {
        info.scale_denom = static_cast<unsigned>(denom);
        jpeg_calc_output_dimensions(&info);
        const qint64 pixels = qint64(info.output_width) * info.output_height;
        if (pixels <= maxPixels) break;
        if (denom >= 8) {
            if (pixels * 4 <= TJpegCodec::kAllocationLimit) break;
            return false;
        }
    }
    const qint64 w = info.output_width, h = info.output_height;
    if (w <= 0 || h <= 0) return false;
    image = QImage(int(w), int(h), QImage::Format_RGB32);
    if (image.isNull()) return false;
    if (cmyk) cmykRow.resize(size_t(w) * 4);
    const bool inverted = info.saw_Adobe_marker;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        if (cmyk) {
            JSAMPROW row = cmykRow.data();
            jpeg_read_scanlines(&info, &row, 1);
            CmykRowToRgb32(cmykRow.data(), reinterpret_cast<QRgb*>(image.scanLine(y)), int(w), inverted);
        } else {
            JSAMPROW row = image.scanLine(y);
            jpeg_read_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage TJpegCodec::Decode(const QByteArray& bytes, int scaleDenom, qint64 maxPixels) {
    if (bytes.size() < 4) return {};
    static constexpr int kDenoms[] = {1, 1, 2, 2, 4, 4, 4, 4, 8};
    const int denom = kDenoms[std::clamp(scaleDenom, 0, 8)];
    QImage image;
    std::vector<JSAMPLE> cmykRow;
    jpeg_decompress_struct info{};
    TJpegError err{};
    info.err = err.Install();
    jpeg_create_decompress(&info);
    // Progressive files keep all coefficients of the full picture whatever the output scale; a
    // forged size must fail here instead of claiming gigabytes.
    info.mem->max_memory_to_use = kAllocationLimit;
    volatile bool ok = false;
    if (setjmp(err.jump) == 0) ok = DecodeInto(info, bytes, denom, maxPixels, image, cmykRow);
    jpeg_destroy_decompress(&info);
    if (!ok) return {};
    return image;
}

QSize TJpegCodec::ReadSize(const QByteArray& bytes) {
    if (bytes.size() < 4) return {};
    jpeg_decompress_struct info{};
    TJpegError err{};
    info.err = err.Install();
    jpeg_create_decompress(&info);
    QSize size;
    if (setjmp(err.jump) == 0) {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK)
            size = QSize(int(info.image_width), int(info.image_height));
    }
    jpeg_destroy_decompress(&info);
    return size;
}

QImage TJpegCodec::DecodeThumbnail(const QByteArray& bytes, QSize fit) {
    const QSize full = ReadSize(bytes);
    if (full.isEmpty()) return {};
    int denom = 1;
    while (denom < 8 && fit.width() > 0 && fit.height() > 0 && full.width() / (denom * 2) >= fit.width() &&
           full.height() / (denom * 2) >= fit.height())
        denom *= 2;
    return Decode(bytes, denom);
}

namespace {

struct TMemDest {
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool EncodeInto(jpeg_compress_struct& info, const QImage& rgb, int quality, TMemDest& dest) {
    jpeg_mem_dest(&info, &dest.buffer, &dest.size);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

QByteArray TJpegCodec::Encode(const QImage& image, int quality) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return {};
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB32);
        rgb.fill(Qt::white);
        QPainter p(&rgb);
        p.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB32);
    }
    if (rgb.isNull()) return {};
    jpeg_compress_struct info{};
    TJpegError err{};
    info.err = err.Install();
    jpeg_create_compress(&info);
    TMemDest dest;
    volatile bool ok = false;
    if (setjmp(err.jump) == 0) ok = EncodeInto(info, rgb, quality, dest);
    jpeg_destroy_compress(&info);
    QByteArray out;
    if (ok && dest.buffer) out = QByteArray(reinterpret_cast<const char*>(dest.buffer), qsizetype(dest.size));
    std::free(dest.buffer);
    return out;
}
