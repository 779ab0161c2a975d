#include "imaging/PackedDib.h"

#include "imaging/ImageCodec.h"
#include "platform/SaneDevice.h"

#include <QtEndian>
#include <cstring>

namespace {

QString BadFrameText() {
    return QStringLiteral("スキャナから受け取った画像の大きさが合いません");
}

uint32_t U32(const QByteArray& b, int at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
uint16_t U16(const QByteArray& b, int at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

void Put32(QByteArray& b, int at, uint32_t v) {
    qToLittleEndian<quint32>(v, b.data() + at);
}
void Put16(QByteArray& b, int at, uint16_t v) {
    qToLittleEndian<quint16>(v, b.data() + at);
}

struct THeader {
    uint32_t Size = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    int Bits = 0;
    uint32_t Compression = 0;
    int64_t Colors = 0;
    int EntryBytes = 4;
    int MaskBytes = 0;
};

// The header fields, or false when the bytes present do not hold them or they make no sense.
bool ReadHeader(const QByteArray& dib, THeader& h) {
    if (dib.size() < 4) return false;
    h.Size = U32(dib, 0);
    if (h.Size != 12 && h.Size != 40 && h.Size != 52 && h.Size != 56 && h.Size != 64 && h.Size != 108 && h.Size != 124)
        return false;
    if (qint64(dib.size()) < h.Size) return false;
    if (h.Size == 12) {
        h.Width = U16(dib, 4);
        h.Height = U16(dib, 6);
        h.Bits = U16(dib, 10);
        h.EntryBytes = 3;
    } else {
        h.Width = qint32(U32(dib, 4));
        h.Height = qint32(U32(dib, 8));
        h.Bits = U16(dib, 14);
        h.Compression = U32(dib, 16);
        h.Colors = U32(dib, 32);
        if (h.Height < 0) h.Height = -h.Height;
        // The 40-byte header keeps its masks after itself; the longer ones hold them inside.
        if (h.Size == 40 && h.Compression == 3) h.MaskBytes = 12;
        if (h.Size == 40 && h.Compression == 6) h.MaskBytes = 16;
    }
    if (h.Bits != 1 && h.Bits != 4 && h.Bits != 8 && h.Bits != 16 && h.Bits != 24 && h.Bits != 32) return false;
    if (h.Width <= 0 || h.Height <= 0 || h.Width * h.Height > TPackedDib::kMaxPixels) return false;
    switch (h.Compression) {
    case 0: break;
    case 1:
        if (h.Bits != 8) return false;
        break;
    case 2:
        if (h.Bits != 4) return false;
        break;
    case 3:
    case 6:
        if (h.Bits != 16 && h.Bits != 32) return false;
        break;
    default: return false;
    }
    if (h.Colors == 0 && h.Bits < 9) h.Colors = int64_t(1) << h.Bits;
    if (h.Bits < 9 && h.Colors > (int64_t(1) << h.Bits)) return false;
    if (h.Colors > 256) return false;
    return true;
}

// Palette for an indexed picture: grey steps from black, or white then black for 1 bit.
void PutPalette(QByteArray& dib, int at, int count, bool lineArt) {
    for (int i = 0; i < count; ++i) {
        const uint8_t v = lineArt ? (i == 0 ? 255 : 0) : uint8_t(i * 255 / (count - 1));
        char* e = dib.data() + at + i * 4;
        e[0] = e[1] = e[2] = char(v);
        e[3] = 0;
    }
}

} // namespace

QByteArray TPackedDib::FromFrame(const TSaneFrame& frame, QString* error) {
    const int channels = frame.Color ? 3 : 1;
    const qint64 minLine = (qint64(frame.Width) * channels * frame.Depth + 7) / 8;
    if (frame.Width <= 0 || frame.Height <= 0 || (frame.Depth != 1 && frame.Depth != 8 && frame.Depth != 16) ||
        (frame.Color && frame.Depth == 1) || frame.BytesPerLine < minLine ||
        frame.Data.size() < qint64(frame.BytesPerLine) * frame.Height ||
        qint64(frame.Width) * frame.Height > kMaxPixels) {
        if (error) *error = BadFrameText();
        return QByteArray();
    }
    const int bits = frame.Color ? 24 : (frame.Depth == 1 ? 1 : 8);
    const int colors = bits == 24 ? 0 : (1 << bits);
    const qint64 stride = ((qint64(frame.Width) * bits + 31) / 32) * 4;
    const int headerBytes = 40 + colors * 4;
    QByteArray dib(headerBytes + stride * frame.Height, '\0');
    if (dib.isEmpty()) {
        if (error) *error = QStringLiteral("メモリが足りません");
        return QByteArray();
    }
    Put32(dib, 0, 40);
    Put32(dib, 4, uint32_t(frame.Width));
    Put32(dib, 8, uint32_t(frame.Height));
    Put16(dib, 12, 1);
    Put16(dib, 14, uint16_t(bits));
    Put32(dib, 20, uint32_t(stride * frame.Height));
    const uint32_t perMetre = frame.Resolution > 0 ? uint32_t(frame.Resolution / 0.0254 + 0.5) : 0;
    Put32(dib, 24, perMetre);
    Put32(dib, 28, perMetre);
    if (colors) PutPalette(dib, 40, colors, bits == 1);

    const int sample = frame.Depth == 16 ? 2 : 1;
    // The high byte of a 16-bit sample in the machine's own order.
    const int high = frame.Depth == 16 && Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 1 : 0;
    for (int y = 0; y < frame.Height; ++y) {
        const auto* in = reinterpret_cast<const uint8_t*>(frame.Data.constData()) + qint64(y) * frame.BytesPerLine;
        auto* out = reinterpret_cast<uint8_t*>(dib.data()) + headerBytes + stride * (frame.Height - 1 - y);
        if (bits == 1) {
            std::memcpy(out, in, size_t(minLine));
        } else if (bits == 8) {
            for (int x = 0; x < frame.Width; ++x)
                out[x] = in[x * sample + high];
        } else {
            for (int x = 0; x < frame.Width; ++x) {
                const uint8_t* px = in + qint64(x) * 3 * sample;
                out[x * 3 + 0] = px[2 * sample + high];
                out[x * 3 + 1] = px[sample + high];
                out[x * 3 + 2] = px[high];
            }
        }
    }
    return dib;
}

qint64 TPackedDib::PixelOffset(const QByteArray& dib) {
    THeader h;
    if (!ReadHeader(dib, h)) return -1;
    return 14 + qint64(h.Size) + h.MaskBytes + h.Colors * h.EntryBytes;
}

QByteArray TPackedDib::FileImage(const QByteArray& dib, QString* error) {
    THeader h;
    auto bad = [error] {
        if (error) *error = BadFrameText();
        return QByteArray();
    };
    if (!ReadHeader(dib, h)) return bad();
    const qint64 total = qint64(dib.size()) + 14;
    const qint64 offset = 14 + qint64(h.Size) + h.MaskBytes + h.Colors * h.EntryBytes;
    if (offset > total || total > 0x7fffffff) return bad();
    if (h.Compression == 0 || h.Compression == 3 || h.Compression == 6) {
        const qint64 stride = ((h.Width * h.Bits + 31) / 32) * 4;
        if (offset + stride * h.Height > total) return bad();
    } else if (offset >= total) {
        return bad();
    }
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, uint32_t(total));
    Put32(file, 10, uint32_t(offset));
    file.append(dib);
    return file;
}

QImage TPackedDib::Decode(const QByteArray& dib, QString* error) {
    const QByteArray file = FileImage(dib, error);
    if (file.isEmpty()) return QImage();
    QImage image = TImageCodec::Decode(file, TImageFormat::Bmp);
    if (TImageCodec::IsEmpty(image)) {
        if (error) *error = BadFrameText();
        return QImage();
    }
    return image;
}
