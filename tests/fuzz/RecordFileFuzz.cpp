// Record files from anywhere: any bytes must load or fail cleanly, as CSV and as TAB.
#include "merge/RecordFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* name : {"fuzz.CSV", "fuzz.TAB"}) {
        TRecordFile file;
        if (!file.LoadFromBytes(bytes, QString::fromLatin1(name))) continue;
        for (int i = 0; i < file.Count() && i < 64; ++i) {
            const TKeyUnit* record = file.Record(i);
            for (int k = 0; k < record->RowCount() && k < 8; ++k)
                (void)record->Row(k);
            (void)file.IndexOfKey(file.KeyAt(i));
        }
    }
    return 0;
}
