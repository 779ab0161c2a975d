#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>

class TStreamReader;

// Stored picture formats; the values are the image object's ImageType codes.
enum class TImageFormat : uint8_t { Bmp = 0, Jpeg = 1, Gif = 2, Png = 3 };

// The one door to the picture codecs: JPEG through libjpeg-turbo, RLE BMPs through our own
// reader, everything else through Qt's image I/O. Decoded pictures are RGB32, or
// ARGB32_Premultiplied when the file carries transparency.
class TImageCodec {
public:
    // An empty image when the bytes are not a picture of that format.
    static QImage Decode(const QByteArray& bytes, TImageFormat format);
    // Like Decode, but a picture of more than maxPixels comes back scaled down to fit them (JPEG
    // at a DCT scale, the others after decoding); empty when maxPixels is not positive.
    static QImage Decode(const QByteArray& bytes, TImageFormat format, qint64 maxPixels);
    // A picture inside a document being read: at most the pixels of one picture and what the
    // reader's budget still allows, scaled down to fit; an exhausted budget refuses it with the
    // reason kept in the reader.
    static QImage DecodeForDocument(const QByteArray& bytes, TImageFormat format, TStreamReader& stream);
    // The picture scaled down, proportions kept, to at most maxPixels; unchanged when it fits;
    // empty when a side exceeds the longest a picture may have.
    static QImage FitPixels(const QImage& image, qint64 maxPixels);
    // Like Decode but reads the format from the bytes' signature.
    static QImage DecodeAny(const QByteArray& bytes);
    // A picture file, scaled down to the pixels one picture of a document may have.
    static QImage DecodeFile(const QString& path, TImageFormat format);
    // Bytes of a complete file in that format; empty when the picture cannot be encoded.
    static QByteArray Encode(const QImage& image, TImageFormat format);

    static bool IsEmpty(const QImage& image) { return image.isNull() || image.width() <= 0 || image.height() <= 0; }
    // ".BMP", ".JPG"/".JPEG", ".GIF", ".PNG" in any letter case; nothing for other names.
    static std::optional<TImageFormat> FormatFromExtension(const QString& path);
    static std::optional<TImageFormat> FormatFromSignature(const QByteArray& bytes);
    static std::optional<TImageFormat> FormatFromCode(int code);

    // Files larger than this are not read into memory.
    static constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;
};
