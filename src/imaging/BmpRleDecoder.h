#pragma once

#include <QByteArray>
#include <QImage>

// Reader for BMP files compressed with RLE8 or RLE4. Qt leaves the pixels skipped by a delta
// escape uninitialised, so these files are decoded here: every pixel starts as palette index 0.
class TBmpRleDecoder {
public:
    // True when the bytes are a BMP file (with its 14-byte file header) using RLE8 or RLE4.
    static bool IsRleBmp(const QByteArray& file);
    // The picture as RGB32; empty when the file is not an RLE BMP or its headers are broken.
    // Runs that leave a row are cut at the edge; data ending early leaves the rest index 0.
    static QImage Decode(const QByteArray& file);
};
