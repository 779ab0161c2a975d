#include "objects/Region.h"

#include "platform/StreamReader.h"

#include <vector>

namespace {

constexpr int kBatch = 4000;

// Rectangles from a stream may overlap and come in any order, which QRegion::setRects does not
// allow; merging them pairwise keeps every union small and gives the true region.
QRegion UniteAll(const std::vector<QRect>& rects) {
    std::vector<QRegion> parts;
    parts.reserve(rects.size());
    for (const QRect& r : rects)
        parts.emplace_back(r);
    while (parts.size() > 1) {
        std::vector<QRegion> merged;
        merged.reserve(parts.size() / 2 + 1);
        for (size_t i = 0; i + 1 < parts.size(); i += 2)
            merged.push_back(parts[i].united(parts[i + 1]));
        if (parts.size() % 2) merged.push_back(std::move(parts.back()));
        parts = std::move(merged);
    }
    return parts.empty() ? QRegion() : parts.front();
}

QRegion Combine(const QRegion& held, const QRegion& other, TRgnCombine mode) {
    switch (mode) {
    case rcAnd: return held.intersected(other);
    case rcCopy: return other;
    case rcDiff: return held.subtracted(other);
    case rcOr: return held.united(other);
    case rcXor: return held.xored(other);
    }
    return held;
}

} // namespace

void TRegion::Add(const QRegion& other, TRgnCombine mode) {
    fRegion = Combine(fRegion, other, mode);
}

void TRegion::AddRect(int left, int top, int right, int bottom, TRgnCombine mode) {
    const QRegion r(QRect(left, top, std::max(0, right - left), std::max(0, bottom - top)));
    Add(r, mode);
}

void TRegion::LoadFromStream(TStreamReader& stream) {
    int32_t size, type, count, byteSize, bl, bt, br, bb;
    if (!stream.ReadInt32(size) || !stream.ReadInt32(type) || !stream.ReadInt32(count) || !stream.ReadInt32(byteSize) ||
        !stream.ReadInt32(bl) || !stream.ReadInt32(bt) || !stream.ReadInt32(br) || !stream.ReadInt32(bb))
        throw ERgnError("TRegion.LoadFromStream: Cannot Create Region");
    // The rectangle count is a claim: it must fit in the bytes that are really there.
    if (count < 0 || qint64(count) * 16 > stream.Remaining())
        throw ERgnError("TRegion.LoadFromStream: Cannot Create Region");
    QRegion loaded;
    std::vector<QRect> batch;
    batch.reserve(size_t(std::min(count, kBatch)));
    for (int32_t i = 0; i < count; ++i) {
        int32_t l, t, r, b;
        if (!stream.ReadInt32(l) || !stream.ReadInt32(t) || !stream.ReadInt32(r) || !stream.ReadInt32(b))
            throw ERgnError("TRegion.LoadFromStream: Cannot Add Region");
        if (r > l && b > t) batch.emplace_back(l, t, r - l, b - t);
        if (int(batch.size()) == kBatch || i == count - 1) {
            loaded = loaded.united(UniteAll(batch));
            batch.clear();
        }
    }
    fRegion = fRegion.united(loaded);
}

void TRegion::MakeRgnFromBitmap(const QImage& bitmap, QRgb transparent) {
    if (bitmap.isNull()) return;
    if (bitmap.format() == QImage::Format_Indexed8 || bitmap.format() == QImage::Format_Mono ||
        bitmap.format() == QImage::Format_MonoLSB) {
        if (bitmap.colorTable().isEmpty()) throw ERgnError("TRegion.MakeRgnFromBitmap: cannot Get Color Table");
    }
    const QImage img = bitmap.convertToFormat(QImage::Format_RGB32);
    const QRgb key = transparent | 0xFF000000u;
    QRegion result;
    std::vector<QRect> batch;
    batch.reserve(kBatch);
    auto flush = [&] {
        if (batch.empty()) return;
        QRegion part;
        part.setRects(batch.data(), int(batch.size()));
        result = result.united(part);
        batch.clear();
    };
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int x = 0;
        while (x < img.width()) {
            while (x < img.width() && (line[x] | 0xFF000000u) == key)
                ++x;
            const int start = x;
            while (x < img.width() && (line[x] | 0xFF000000u) != key)
                ++x;
            if (x > start) batch.emplace_back(start, y, x - start, 1);
            if (int(batch.size()) == kBatch) flush();
        }
    }
    flush();
    fRegion = fRegion.united(result);
}
