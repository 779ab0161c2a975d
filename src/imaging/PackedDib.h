#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

struct TSaneFrame;

// Packed device-independent bitmaps (info header, palette, rows bottom-up) as a scanner source
// hands them over, and the bitmap file image made from one by putting the 14-byte file header in
// front. Every size in a packed bitmap is checked against the bytes present before it is used.
class TPackedDib {
public:
    // The frame as a packed bitmap: 1-bit with a white/black palette, 8-bit grey with a grey
    // palette, or 24-bit colour; 16-bit samples keep their high byte. Empty with the reason when
    // the frame does not add up.
    static QByteArray FromFrame(const TSaneFrame& frame, QString* error);

    // Where the pixels start in the file image: 14 + header size + bit-field masks + palette
    // (colours used, or 2^bits below 9 bits, times 4 bytes, 3 for the 12-byte core header).
    // -1 when the header cannot be read from the bytes present.
    static qint64 PixelOffset(const QByteArray& dib);

    // The bitmap file image of S + 14 bytes. Empty with the reason when a size in the header does
    // not fit the bytes present.
    static QByteArray FileImage(const QByteArray& dib, QString* error);
    // The file image decoded; empty with the reason on any failure.
    static QImage Decode(const QByteArray& dib, QString* error);

    // Pictures with more pixels are refused.
    static constexpr qint64 kMaxPixels = qint64(64) * 1024 * 1024;
};
