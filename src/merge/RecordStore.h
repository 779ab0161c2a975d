#pragma once

#include <QString>
#include <vector>

// The text of many records back to back: each value is a slice of Text ending at its entry of
// ValueEnds, each row a run of values ending at its entry of RowEnds. One store serves a whole
// record file, so loading costs a few large allocations instead of several per record.
struct TRecordStore {
    QString Keys;
    QString Text;
    std::vector<qsizetype> ValueEnds;
    std::vector<qsizetype> RowEnds;

    qsizetype RowBegin(qsizetype row) const { return row == 0 ? 0 : RowEnds[size_t(row - 1)]; }
    qsizetype ValueBegin(qsizetype value) const { return value == 0 ? 0 : ValueEnds[size_t(value - 1)]; }
};
