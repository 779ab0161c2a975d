// Feeds arbitrary bytes to the family-day reader: every line is an entry or a named problem.
#include "calendar/FamilyDays.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TFamilyDays days;
    QStringList problems;
    days.LoadFromBytes(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), &problems);
    if (problems.size() != days.SkippedLines().size()) __builtin_trap();
    for (const TFamilyDays::TEntry& e : days.Entries())
        if (e.Name.isEmpty() || days.On(e.Year ? e.Year : 2000, e.Month, e.Day, true).isEmpty()) __builtin_trap();
    return 0;
}
