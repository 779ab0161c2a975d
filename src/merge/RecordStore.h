#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// The text of many records back to back: each value is a slice of Text ending at its entry of
// ValueEnds, each row a run of values ending at its entry of RowEnds. One store serves a whole
// record file, so loading costs a few large allocations instead of several per record. Keys
// holds only keys that are not the first value of their first row.
struct TRecordStore {
    // Offsets are 32 bits to halve their share of memory; text beyond them is refused, and this
    // limit keeps the value count (at most twice the text) within them as well.
    static constexpr qsizetype kMaxTextChars = INT32_MAX;
    static bool Fits(qsizetype textChars) { return textChars >= 0 && textChars <= kMaxTextChars; }

    QString Keys;
    QString Text;
    std::vector<uint32_t> ValueEnds;
    std::vector<uint32_t> RowEnds;

    uint32_t RowBegin(uint32_t row) const { return row == 0 ? 0 : RowEnds[row - 1]; }
    uint32_t ValueBegin(uint32_t value) const { return value == 0 ? 0 : ValueEnds[value - 1]; }
};
