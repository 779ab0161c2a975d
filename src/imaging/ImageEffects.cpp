#include "imaging/ImageEffects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ImageEffects {

namespace {

// Offsets split into what is added and what is subtracted, per byte of an RGB32 pixel as it
// lies in memory (blue, green, red, alpha on a little-endian machine).
struct TByteOffsets {
    uint8_t Add[4] = {0, 0, 0, 0};
    uint8_t Sub[4] = {0, 0, 0, 0};
};

TByteOffsets SplitOffsets(int red, int green, int blue) {
    TByteOffsets o;
    const int channel[3] = {blue, green, red};
    for (int i = 0; i < 3; ++i) {
        const int v = std::clamp(channel[i], -255, 255);
        const int byte = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? i : 3 - i;
        if (v >= 0)
            o.Add[byte] = uint8_t(v);
        else
            o.Sub[byte] = uint8_t(-v);
    }
    return o;
}

// fill is or-ed into every pixel: the alpha byte of an opaque picture, nothing when alpha counts.
void OffsetLine(const uint32_t* in, uint32_t* out, int count, const TByteOffsets& o, uint32_t fill) {
    int x = 0;
#if defined(__SSE2__)
    uint8_t add16[16], sub16[16];
    for (int i = 0; i < 16; ++i) {
        add16[i] = o.Add[i & 3];
        sub16[i] = o.Sub[i & 3];
    }
    const __m128i add = _mm_loadu_si128(reinterpret_cast<const __m128i*>(add16));
    const __m128i sub = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sub16));
    const __m128i opaque = _mm_set1_epi32(int(fill));
    for (; x + 4 <= count; x += 4) {
        __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x));
        p = _mm_subs_epu8(_mm_adds_epu8(p, add), sub);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_or_si128(p, opaque));
    }
#endif
    for (; x < count; ++x) {
        uint8_t px[4];
        std::memcpy(px, in + x, 4);
        for (int i = 0; i < 4; ++i) {
            const int v = int(px[i]) + o.Add[i] - o.Sub[i];
            px[i] = uint8_t(std::clamp(v, 0, 255));
        }
        uint32_t p;
        std::memcpy(&p, px, 4);
        out[x] = p | fill;
    }
}

// Pixels are moved in square tiles so that both pictures are walked in cache-sized pieces.
constexpr int kTile = 64;

} // namespace

QImage ToWorkFormat(const QImage& source) {
    // Premultiplied colours would leave the range of their alpha under an offset.
    const QImage::Format want = source.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (source.format() == want) return source;
    return source.convertToFormat(want);
}

QImage OffsetColours(const QImage& source, int red, int green, int blue) {
    if (source.isNull()) return QImage();
    const QImage in = ToWorkFormat(source);
    QImage out(in.size(), in.format());
    if (out.isNull()) return QImage();
    const TByteOffsets o = SplitOffsets(red, green, blue);
    const uint32_t fill = in.hasAlphaChannel() ? 0 : 0xff000000u;
    const int w = in.width();
    for (int y = 0; y < in.height(); ++y)
        OffsetLine(reinterpret_cast<const uint32_t*>(in.constScanLine(y)), reinterpret_cast<uint32_t*>(out.scanLine(y)),
                   w, o, fill);
    return out;
}

QImage Turn(const QImage& source, TTurn turn) {
    if (source.isNull() || source.width() <= 0 || source.height() <= 0) return QImage();
    // Pixels only move: any 32-bit format goes through as it is, premultiplied or not.
    const bool whole = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32 ||
                       source.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage in = whole ? source : ToWorkFormat(source);
    const int w = in.width();
    const int h = in.height();
    const bool quarter = turn == TTurn::Right90 || turn == TTurn::Left90;
    QImage out(quarter ? h : w, quarter ? w : h, in.format());
    if (out.isNull()) return QImage();

    switch (turn) {
    case TTurn::FlipVertical:
        for (int y = 0; y < h; ++y)
            std::memcpy(out.scanLine(y), in.constScanLine(h - 1 - y), size_t(w) * 4);
        break;
    case TTurn::FlipHorizontal:
        for (int y = 0; y < h; ++y) {
            const uint32_t* s = reinterpret_cast<const uint32_t*>(in.constScanLine(y));
            uint32_t* d = reinterpret_cast<uint32_t*>(out.scanLine(y));
            std::reverse_copy(s, s + w, d);
        }
        break;
    case TTurn::Right90:
    case TTurn::Left90: {
        // Destination size: h wide, w high.
        const qsizetype inStride = in.bytesPerLine() / 4;
        const uint32_t* src = reinterpret_cast<const uint32_t*>(in.constBits());
        for (int ty = 0; ty < w; ty += kTile) {
            for (int tx = 0; tx < h; tx += kTile) {
                const int yEnd = std::min(ty + kTile, w);
                const int xEnd = std::min(tx + kTile, h);
                for (int y = ty; y < yEnd; ++y) {
                    uint32_t* d = reinterpret_cast<uint32_t*>(out.scanLine(y));
                    if (turn == TTurn::Right90) {
                        // (x, y) <- (y, h - 1 - x)
                        for (int x = tx; x < xEnd; ++x)
                            d[x] = src[qsizetype(h - 1 - x) * inStride + y];
                    } else {
                        // (x, y) <- (w - 1 - y, x)
                        const int sx = w - 1 - y;
                        for (int x = tx; x < xEnd; ++x)
                            d[x] = src[qsizetype(x) * inStride + sx];
                    }
                }
            }
        }
        break;
    }
    }
    return out;
}

QRect FitRect(QSize picture, QSize area) {
    const int w = picture.width();
    const int h = picture.height();
    const int aw = area.width();
    const int ah = area.height();
    if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0) return QRect();
    const double ratio = double(w) / double(h);
    int fw, fh;
    if (w > h) {
        fw = aw;
        fh = int(fw / ratio);
        if (fh > ah) {
            fh = ah;
            fw = int(ratio * fh);
        }
    } else {
        fh = ah;
        fw = int(ratio * fh);
        if (fw > aw) {
            fw = aw;
            fh = int(fw / ratio);
        }
    }
    // A sliver of a picture still shows as one pixel.
    fw = std::max(fw, 1);
    fh = std::max(fh, 1);
    return QRect((aw - fw) / 2, (ah - fh) / 2, fw, fh);
}

QImage StretchPart(const QImage& source, const QRect& window, QSize size) {
    const QRect part = window.intersected(source.rect());
    if (part.isEmpty() || size.isEmpty()) return QImage();
    const QImage cut = ToWorkFormat(source).copy(part);
    if (cut.size() == size) return cut;
    return cut.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace ImageEffects
