#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// JPEG straight through libjpeg-turbo: decoding writes the scanlines into the bitmap's own
// rows (no intermediate buffer), and the DCT scaling gives cheap thumbnails.
class TJpegCodec {
public:
    // The quality every picture is stored with: good enough that a background survives
    // repeated save and load without visible loss.
    static constexpr int kQuality = 90;

    // Decodes at 1/scaleDenom of the full size (1, 2, 4 or 8), or smaller when that would
    // exceed maxPixels (at 1/8, whatever fits kAllocationLimit). An empty image on any error.
    static QImage Decode(const QByteArray& bytes, int scaleDenom = 1, qint64 maxPixels = kAllocationLimit / 4);
    // Picks the smallest DCT scale whose result still covers fit in both directions.
    static QImage DecodeThumbnail(const QByteArray& bytes, QSize fit);
    // Full-size dimensions from the header alone; empty when the header is unreadable.
    static QSize ReadSize(const QByteArray& bytes);
    // Baseline JPEG of the picture (alpha flattened onto white); empty on failure.
    static QByteArray Encode(const QImage& image, int quality = kQuality);

    // Decoded pictures above this many bytes are refused, as Qt's own readers do.
    static constexpr qint64 kAllocationLimit = qint64(256) * 1024 * 1024;
};
