#pragma once

#include "calendar/KoyomiYear.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The shipped almanac table (HolidayList/koyomi.dat): the events of a range of years, so that
// the program need not compute them at start. Little-endian:
//   "KYMI", version u8, 0 u8, first year u16, last year u16;
//   per year: year u16, month count u8, phase count u8, 24 term and 6 extra minutes i32,
//             per month start day i32 + number u8 (bit 7 leap), per phase minute i32 + kind u8;
//   FNV-1a 32 of everything before it.
class TKoyomiTable {
public:
    static QByteArray Write(const std::vector<TKoyomiYear>& years);
    // The years of a table; false, nothing in years and the reason when any part is damaged.
    static bool Read(const QByteArray& bytes, std::vector<TKoyomiYear>* years, QString* error = nullptr);
    // The sum the last four bytes carry, over the bytes before them.
    static uint32_t Checksum(const char* bytes, qsizetype size);
};
