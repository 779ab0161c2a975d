#include "imaging/BmpRleDecoder.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr int kFileHeader = 14;
// Pictures above this many pixels are refused, as Qt's readers do.
constexpr qint64 kMaxPixels = qint64(64) * 1024 * 1024;

uint32_t U32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t U16(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return uint16_t(p[0] | p[1] << 8);
}

struct THeader {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t offBits = 0;
    uint32_t infoSize = 0;
    uint32_t colorsUsed = 0;
};

bool ReadHeader(const QByteArray& f, THeader& h) {
    if (f.size() < kFileHeader + 40 || f[0] != 'B' || f[1] != 'M') return false;
    h.offBits = U32(f, 10);
    h.infoSize = U32(f, kFileHeader);
    // The OS/2 core header (12 bytes) cannot carry a compression field.
    if (h.infoSize < 40 || qint64(h.infoSize) > f.size() - kFileHeader) return false;
    h.width = int32_t(U32(f, 18));
    h.height = int32_t(U32(f, 22));
    h.bitCount = U16(f, 28);
    h.compression = U32(f, 30);
    h.colorsUsed = U32(f, 46);
    return true;
}

// Writes decoded indices into one row, cutting whatever lies beyond the right edge.
class TCanvas {
public:
    TCanvas(QImage& image, const std::array<QRgb, 256>& palette, bool bottomUp)
        : fImage(image), fPalette(palette), fBottomUp(bottomUp) {}

    bool Done() const { return y >= fImage.height(); }
    bool RowFull() const { return x >= fImage.width() || Done(); }
    // The column stops at the right edge: nothing beyond it is drawn, and a row of endless runs
    // cannot carry it round to a negative index.
    void Put(int index) {
        if (x >= fImage.width() || Done()) return;
        const int row = fBottomUp ? fImage.height() - 1 - y : y;
        reinterpret_cast<QRgb*>(fImage.scanLine(row))[x] = fPalette[size_t(index & 0xFF)];
        ++x;
    }
    void Skip(int dx, int dy) {
        x = std::min(x + dx, fImage.width());
        y = std::min(y + dy, fImage.height());
    }

    int x = 0;
    int y = 0;

private:
    QImage& fImage;
    const std::array<QRgb, 256>& fPalette;
    bool fBottomUp;
};

void DecodeRuns(const QByteArray& f, qsizetype pos, bool rle4, TCanvas& c) {
    const auto* data = reinterpret_cast<const unsigned char*>(f.constData());
    const qsizetype end = f.size();
    while (pos + 1 < end && !c.Done()) {
        const int count = data[pos];
        const int value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && !c.RowFull(); ++i)
                c.Put(rle4 ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        switch (value) {
        case 0: // end of line
            c.x = 0;
            c.Skip(0, 1);
            break;
        case 1: // end of bitmap
            return;
        case 2: // delta: the skipped pixels keep index 0
            if (pos + 1 >= end) return;
            c.Skip(data[pos], data[pos + 1]);
            pos += 2;
            break;
        default: { // absolute run, padded to a 16-bit boundary
            const int n = value;
            const qsizetype bytes = rle4 ? (n + 1) / 2 : n;
            if (pos + bytes > end) return;
            for (int i = 0; i < n && !c.RowFull(); ++i) {
                const int b = data[pos + (rle4 ? i / 2 : i)];
                c.Put(rle4 ? ((i & 1) ? b & 0x0F : b >> 4) : b);
            }
            pos += bytes + (bytes & 1);
            break;
        }
        }
    }
}

} // namespace

bool TBmpRleDecoder::IsRleBmp(const QByteArray& file) {
    THeader h;
    if (!ReadHeader(file, h)) return false;
    return (h.compression == kRle8 && h.bitCount == 8) || (h.compression == kRle4 && h.bitCount == 4);
}

QImage TBmpRleDecoder::Decode(const QByteArray& f) {
    THeader h;
    if (!ReadHeader(f, h)) return {};
    const bool rle4 = h.compression == kRle4 && h.bitCount == 4;
    const bool rle8 = h.compression == kRle8 && h.bitCount == 8;
    if (!rle4 && !rle8) return {};
    const qint64 width = h.width;
    const qint64 height = h.height == INT32_MIN ? 0 : (h.height < 0 ? -qint64(h.height) : h.height);
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) return {};
    if (h.offBits >= uint32_t(f.size())) return {};

    // Palette entries that the file does not supply stay black.
    std::array<QRgb, 256> palette;
    palette.fill(qRgb(0, 0, 0));
    const uint32_t maxColors = rle4 ? 16 : 256;
    uint32_t colors = h.colorsUsed == 0 || h.colorsUsed > maxColors ? maxColors : h.colorsUsed;
    const qsizetype table = kFileHeader + qsizetype(h.infoSize);
    for (uint32_t i = 0; i < colors; ++i) {
        const qsizetype at = table + qsizetype(i) * 4;
        if (at + 4 > f.size() || at + 4 > qsizetype(h.offBits)) break;
        const uint32_t bgr = U32(f, at);
        palette[i] = qRgb((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }

    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(palette[0]);
    TCanvas canvas(image, palette, h.height > 0);
    DecodeRuns(f, qsizetype(h.offBits), rle4, canvas);
    return image;
}
