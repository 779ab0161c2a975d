// Almanac tables from anywhere: any bytes must load or fail cleanly. The sum is made right first,
// so that the mutations reach the reader behind it.
#include "calendar/KoyomiTable.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.size() >= 4) {
        const uint32_t sum = TKoyomiTable::Checksum(bytes.constData(), bytes.size() - 4);
        for (int i = 0; i < 4; ++i)
            bytes[bytes.size() - 4 + i] = char(sum >> (8 * i));
    }
    std::vector<TKoyomiYear> years;
    if (TKoyomiTable::Read(bytes, &years))
        for (const TKoyomiYear& y : years)
            for (int m = 1; m <= 12; ++m)
                (void)y.Day(m, 15);
    return 0;
}
