// Messages from another process on the single-instance socket: any bytes must decode or be refused,
// and whatever decodes must encode back to the same bytes.
#include "app/SingleInstance.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList files;
    if (TSingleInstance::DecodeMessage(bytes, &files) && TSingleInstance::EncodeMessage(files) != bytes) {
        // Only invalid UTF-8 may come back different, and its replacement characters may push the
        // last files past the size bound; what is kept must be the same files.
        QStringList again;
        if (!TSingleInstance::DecodeMessage(TSingleInstance::EncodeMessage(files), &again) ||
            again != files.mid(0, again.size()))
            std::abort();
    }
    return 0;
}
