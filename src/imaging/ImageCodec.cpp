#include "imaging/ImageCodec.h"

#include "platform/DocumentLimits.h"
#include "imaging/BmpRleDecoder.h"
#include "imaging/GifEncoder.h"
#include "imaging/JpegCodec.h"
#include "platform/ReadBudget.h"
#include "platform/StreamReader.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

QImage Normalized(QImage image) {
    if (image.isNull()) return image;
    const QImage::Format want = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != want) image = image.convertToFormat(want);
    return image;
}

QImage ReadWithQt(const QByteArray& bytes, const char* format) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    QImage image;
    if (!reader.read(&image)) return {};
    return Normalized(std::move(image));
}

QByteArray WriteWithQt(const QImage& image, const char* format) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) return {};
    return out;
}

// Opaque copy for the formats without transparency.
QImage FlattenedOnWhite(const QImage& image) {
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    QImage rgb(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QPainter p(&rgb);
    p.drawImage(0, 0, image);
    return rgb;
}

} // namespace

QImage TImageCodec::Decode(const QByteArray& bytes, TImageFormat format) {
    if (bytes.isEmpty()) return {};
    switch (format) {
    case TImageFormat::Jpeg: return TJpegCodec::Decode(bytes);
    case TImageFormat::Bmp:
        if (TBmpRleDecoder::IsRleBmp(bytes)) return TBmpRleDecoder::Decode(bytes);
        return ReadWithQt(bytes, "BMP");
    case TImageFormat::Gif: return ReadWithQt(bytes, "GIF");
    case TImageFormat::Png: return ReadWithQt(bytes, "PNG");
    }
    return {};
}

QImage TImageCodec::Decode(const QByteArray& bytes, TImageFormat format, qint64 maxPixels) {
    if (maxPixels <= 0) return {};
    const QImage image = format == TImageFormat::Jpeg ? TJpegCodec::Decode(bytes, 1, maxPixels) : Decode(bytes, format);
    return FitPixels(image, maxPixels);
}

QImage TImageCodec::DecodeForDocument(const QByteArray& bytes, TImageFormat format, TStreamReader& stream) {
    TReadBudget* budget = stream.Budget();
    const qint64 allowed = budget ? std::min(TDocumentLimits::kMaxPicturePixels, budget->PixelsLeft())
                                  : TDocumentLimits::kMaxPicturePixels;
    const QImage picture = Decode(bytes, format, allowed);
    if (IsEmpty(picture)) {
        if (budget && allowed < TDocumentLimits::kMaxPicturePixels)
            stream.Refuse(QStringLiteral("画像の画素数の合計が上限 %1 メガピクセルを超えています")
                              .arg(TDocumentLimits::kMaxDocumentPixels >> 20));
        return {};
    }
    if (budget) budget->TakePixels(qint64(picture.width()) * picture.height());
    return picture;
}

QImage TImageCodec::FitPixels(const QImage& image, qint64 maxPixels) {
    if (image.width() > TDocumentLimits::kMaxPictureSide || image.height() > TDocumentLimits::kMaxPictureSide)
        return {};
    const qint64 pixels = qint64(image.width()) * image.height();
    if (image.isNull() || pixels <= maxPixels) return image;
    if (maxPixels <= 0) return {};
    const double f = std::sqrt(double(maxPixels) / double(pixels));
    const QSize size(std::max(1, int(image.width() * f)), std::max(1, int(image.height() * f)));
    if (qint64(size.width()) * size.height() > maxPixels) return {};
    return Normalized(image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QImage TImageCodec::DecodeAny(const QByteArray& bytes) {
    const std::optional<TImageFormat> format = FormatFromSignature(bytes);
    return format ? Decode(bytes, *format) : QImage();
}

QImage TImageCodec::DecodeFile(const QString& path, TImageFormat format) {
    // Only plain files: a pipe would block the open for ever, a link to a device never ends.
    if (!QFileInfo(path).isFile()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return {};
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) return {};
    // A picture added to a document keeps within what a document may hold of one picture, so
    // that the saved file opens again as it was.
    return Decode(bytes, format, TDocumentLimits::kMaxPicturePixels);
}

QByteArray TImageCodec::Encode(const QImage& image, TImageFormat format) {
    if (IsEmpty(image)) return {};
    switch (format) {
    case TImageFormat::Bmp: return WriteWithQt(FlattenedOnWhite(image), "BMP");
    case TImageFormat::Jpeg: return TJpegCodec::Encode(image);
    case TImageFormat::Gif: return TGifEncoder::Encode(image);
    case TImageFormat::Png: return WriteWithQt(image, "PNG");
    }
    return {};
}

std::optional<TImageFormat> TImageCodec::FormatFromExtension(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QLatin1String("BMP")) return TImageFormat::Bmp;
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG")) return TImageFormat::Jpeg;
    if (ext == QLatin1String("GIF")) return TImageFormat::Gif;
    if (ext == QLatin1String("PNG")) return TImageFormat::Png;
    return std::nullopt;
}

std::optional<TImageFormat> TImageCodec::FormatFromSignature(const QByteArray& b) {
    if (b.startsWith("BM")) return TImageFormat::Bmp;
    if (b.startsWith("\xFF\xD8\xFF")) return TImageFormat::Jpeg;
    if (b.startsWith("GIF87a") || b.startsWith("GIF89a")) return TImageFormat::Gif;
    if (b.startsWith("\x89PNG\r\n\x1A\n")) return TImageFormat::Png;
    return std::nullopt;
}

std::optional<TImageFormat> TImageCodec::FormatFromCode(int code) {
    if (code < 0 || code > 3) return std::nullopt;
    return static_cast<TImageFormat>(code);
}
