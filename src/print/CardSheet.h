#pragma once

#include <QString>
#include <cstdint>

class TPriPaper;

// One card or label sheet as sold in shops: the sheet, its seat grid and where the seats lie.
// Lengths in 0.1 mm, like the paper.
struct TCardSheet {
    QString Name;
    bool UserAdded = false;
    int32_t SheetWidth = 0;
    int32_t SheetHeight = 0;
    int32_t Columns = 1;
    int32_t Rows = 1;
    int32_t SeatWidth = 0;
    int32_t SeatHeight = 0;
    // Distance from one seat's left (top) edge to the next one's.
    int32_t PitchX = 0;
    int32_t PitchY = 0;
    int32_t FirstLeft = 0;
    int32_t FirstTop = 0;

    static constexpr int32_t kMaxLength = 10000; // 1 m: no printer takes more
    static constexpr int32_t kMaxGrid = 99;
    static constexpr int kMaxNameBytes = 255;

    bool IsSingleSeat() const { return Columns == 1 && Rows == 1; }
    // Empty when the sheet makes sense, else why not, in Japanese for the user.
    QString Problem() const;
    // The same for the sizes and the grid alone, for papers that have no name.
    QString LayoutProblem() const;
    // Why a document cannot take the sheet as its paper (more seats than a document may hold),
    // or empty. Kept apart from LayoutProblem so a stored list that has such a sheet still reads.
    QString DocumentProblem() const;
    // The paper the page gets: sheet, grid, gaps and seat. A single sheet keeps the page's
    // orientation; a seat grid is laid out on the sheet as it lies, portrait.
    void ToPaper(TPriPaper& paper, int32_t portrait) const;

    bool operator==(const TCardSheet&) const = default;
};
