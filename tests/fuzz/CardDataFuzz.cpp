// Card sheet files from anywhere: any bytes must read or fail cleanly, and what reads writes back.
#include "print/CardData.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<TCardSheet> sheets;
    QString error;
    if (!TCardData::Read(bytes, sheets, &error)) {
        if (!sheets.isEmpty() || error.isEmpty()) std::abort();
        return 0;
    }
    QList<TCardSheet> again;
    if (!TCardData::Read(TCardData::Write(sheets), again) || again.size() != sheets.size()) std::abort();
    return 0;
}
