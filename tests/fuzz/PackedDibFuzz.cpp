// Feeds arbitrary bytes to the scanner transfer's bitmap reader as a packed bitmap. It may refuse
// them; it must never crash or read past the bytes present, and an accepted one decodes within
// the pixel limit.
#include "imaging/PackedDib.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray dib = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const qint64 offset = TPackedDib::PixelOffset(dib);
    const QByteArray file = TPackedDib::FileImage(dib, &error);
    if (!file.isEmpty() && (offset < 0 || offset > file.size())) __builtin_trap();
    const QImage image = TPackedDib::Decode(dib, &error);
    if (!image.isNull() && qint64(image.width()) * image.height() > TPackedDib::kMaxPixels) __builtin_trap();
    return 0;
}
