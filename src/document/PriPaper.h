#pragma once

#include <QSize>
#include <QString>
#include <array>
#include <cstdint>

class TStreamReader;
class TStreamWriter;

// The paper definition: sixteen int32 in file order. Lengths in 0.1 mm.
class TPriPaper {
public:
    int32_t FValueA = 0;
    int32_t FValueB = 0;
    int32_t FPortrait = 0;
    int32_t FFlagC = 0;
    int32_t FSheetWidth = 0;
    int32_t FSheetHeight = 0;
    int32_t FFirstSeatLeft = 0;
    int32_t FFirstSeatTop = 0;
    int32_t FValueD = 0;
    int32_t FValueE = 0;
    int32_t FSeatGapX = 0;
    int32_t FSeatGapY = 0;
    int32_t FSeatColumns = 0;
    int32_t FSeatRows = 0;
    int32_t FSeatWidth = 0;
    int32_t FSeatHeight = 0;

    static constexpr int kFieldCount = 16;

    bool IsSingleSeat() const { return FSeatColumns == 1 && FSeatRows == 1; }
    int32_t PageWidth() const;
    int32_t PageHeight() const;
    // The sheet in 0.1 mm as it lies in the printer: the page itself on a single seat.
    QSize SheetSize() const;
    // Whether seat (row, column) starts on the sheet; seats of a grid that runs off it are not drawn.
    bool SeatOnSheet(int row, int column) const;
    void Assign(const TPriPaper& source) { *this = source; }

    std::array<int32_t, kFieldCount> Fields() const;
    void SetFields(const std::array<int32_t, kFieldCount>& fields);
    // 0 when every field holds a valid value, else the code of the first bad one (-5 ... -18).
    static int Validate(const std::array<int32_t, kFieldCount>& fields);
    // Why the fields lie outside the limits of a sane document, or empty when they do not.
    static QString LimitProblem(const std::array<int32_t, kFieldCount>& fields);

    // Reads the sixteen fields; returns 0, a validation code, or -1 when the bytes run out.
    // The paper changes only on 0.
    int LoadFromStream(TStreamReader& stream);
    void SaveToStream(TStreamWriter& stream) const;

    bool operator==(const TPriPaper&) const = default;
};
