#include "print/CardSheet.h"

#include "document/PriPaper.h"
#include "platform/Cp932.h"

QString TCardSheet::Problem() const {
    if (Name.trimmed().isEmpty()) return QStringLiteral("名前がありません。");
    if (TCp932::Encode(Name).size() > kMaxNameBytes) return QStringLiteral("名前が長すぎます。");
    if (!TCp932::CanEncode(Name)) return QStringLiteral("名前に使えない文字があります。");
    return LayoutProblem();
}

QString TCardSheet::LayoutProblem() const {
    const auto inRange = [](int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; };
    if (!inRange(SheetWidth, 1, kMaxLength) || !inRange(SheetHeight, 1, kMaxLength))
        return QStringLiteral("用紙の大きさが正しくありません。");
    if (!inRange(Columns, 1, kMaxGrid) || !inRange(Rows, 1, kMaxGrid))
        return QStringLiteral("列数と行数は 1 から 99 までです。");
    if (!inRange(SeatWidth, 1, kMaxLength) || !inRange(SeatHeight, 1, kMaxLength))
        return QStringLiteral("面の大きさが正しくありません。");
    if (!inRange(PitchX, SeatWidth, kMaxLength) || !inRange(PitchY, SeatHeight, kMaxLength))
        return QStringLiteral("面の送りは面の大きさ以上にしてください。");
    if (!inRange(FirstLeft, 0, kMaxLength) || !inRange(FirstTop, 0, kMaxLength))
        return QStringLiteral("最初の面の位置が正しくありません。");
    // 64-bit sums: every term is at most 99 × 1 m.
    if (int64_t(FirstLeft) + int64_t(Columns - 1) * PitchX + SeatWidth > SheetWidth ||
        int64_t(FirstTop) + int64_t(Rows - 1) * PitchY + SeatHeight > SheetHeight)
        return QStringLiteral("面が用紙からはみ出します。");
    return QString();
}

QString TCardSheet::DocumentProblem() const {
    TPriPaper paper;
    ToPaper(paper, 1);
    return TPriPaper::LimitProblem(paper.Fields());
}

void TCardSheet::ToPaper(TPriPaper& paper, int32_t portrait) const {
    paper.FPortrait = IsSingleSeat() ? (portrait != 0 ? 1 : 0) : 1;
    paper.FSheetWidth = SheetWidth;
    paper.FSheetHeight = SheetHeight;
    paper.FFirstSeatLeft = FirstLeft;
    paper.FFirstSeatTop = FirstTop;
    paper.FSeatGapX = PitchX - SeatWidth;
    paper.FSeatGapY = PitchY - SeatHeight;
    paper.FSeatColumns = Columns;
    paper.FSeatRows = Rows;
    paper.FSeatWidth = SeatWidth;
    paper.FSeatHeight = SeatHeight;
}
