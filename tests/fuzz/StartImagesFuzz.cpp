// Feeds arbitrary bytes to the start picture reader. It may refuse them; it must never crash,
// leak or allocate what a forged count or length claims.
#include "app/StartImages.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<QImage> images;
    QString error;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const TStartImagesResult result = ParseStartImages(bytes, images, &error);
    // Every slot is either a decoded picture or empty, and Ok means all of them decoded.
    if (result == TStartImagesResult::Ok)
        for (const QImage& image : images)
            if (image.isNull()) __builtin_trap();
    return 0;
}
