#pragma once

#include <QImage>
#include <QRegion>
#include <stdexcept>

class TStreamReader;

class ERgnError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TRgnCombine { rcAnd, rcCopy, rcDiff, rcOr, rcXor };

// A clipping region. Region data streams hold a 32-byte header (size, type, count, byte size,
// bounds) followed by count rectangles of four int32 (left, top, right, bottom).
class TRegion {
public:
    TRegion() = default;

    const QRegion& Handle() const { return fRegion; }
    bool IsEmpty() const { return fRegion.isEmpty(); }

    void Add(const QRegion& other, TRgnCombine mode);
    // The rectangle as left, top, right, bottom (right and bottom exclusive).
    void AddRect(int left, int top, int right, int bottom, TRgnCombine mode);
    QRegion CopyHandle() const { return fRegion; }
    void LoadFromStream(TStreamReader& stream);
    // Pixels whose colour differs from the transparent colour form the region.
    void MakeRgnFromBitmap(const QImage& bitmap, QRgb transparent);

private:
    QRegion fRegion;
};
