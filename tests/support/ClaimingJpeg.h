#pragma once

#include "imaging/JpegCodec.h"

#include <QByteArray>
#include <QImage>

// Makes the first JPEG frame header inside bytes claim width x height pixels.
inline bool ClaimInPlace(QByteArray& bytes, int width, int height) {
    const qsizetype soi = bytes.indexOf(QByteArray("\xFF\xD8\xFF", 3));
    const qsizetype sof = soi < 0 ? -1 : bytes.indexOf(QByteArray("\xFF\xC0", 2), soi);
    if (sof < 0 || sof + 9 > bytes.size()) return false;
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xFF);
    return true;
}

// A JPEG of 16 x 16 pixels whose header claims width x height: a few hundred bytes that a
// decoder trusting the header turns into as many pixels as it claims.
inline QByteArray ClaimingJpeg(int width, int height) {
    QImage scan(16, 16, QImage::Format_RGB32);
    scan.fill(Qt::gray);
    QByteArray jpeg = TJpegCodec::Encode(scan);
    return ClaimInPlace(jpeg, width, height) ? jpeg : QByteArray();
}
