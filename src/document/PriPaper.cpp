#include "document/PriPaper.h"

#include "platform/DocumentLimits.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <algorithm>

int32_t TPriPaper::PageWidth() const {
    return (IsSingleSeat() && FPortrait == 0) ? FSeatHeight : FSeatWidth;
}

int32_t TPriPaper::PageHeight() const {
    return (IsSingleSeat() && FPortrait == 0) ? FSeatWidth : FSeatHeight;
}

QSize TPriPaper::SheetSize() const {
    if (IsSingleSeat()) return {PageWidth(), PageHeight()};
    return FPortrait == 0 ? QSize(FSheetHeight, FSheetWidth) : QSize(FSheetWidth, FSheetHeight);
}

bool TPriPaper::SeatOnSheet(int row, int column) const {
    if (IsSingleSeat()) return row == 0 && column == 0;
    const QSize sheet = SheetSize();
    // 64 bits: the seat index times the step of a damaged record exceeds int.
    const long long left = FFirstSeatLeft + (long long)column * (FSeatWidth + (long long)FSeatGapX);
    const long long top = FFirstSeatTop + (long long)row * (FSeatHeight + (long long)FSeatGapY);
    // A paper that names no sheet size keeps every seat.
    return (sheet.width() <= 0 || left < sheet.width()) && (sheet.height() <= 0 || top < sheet.height());
}

std::array<int32_t, TPriPaper::kFieldCount> TPriPaper::Fields() const {
    return {FValueA, FValueB, FPortrait, FFlagC,    FSheetWidth,  FSheetHeight, FFirstSeatLeft, FFirstSeatTop,
            FValueD, FValueE, FSeatGapX, FSeatGapY, FSeatColumns, FSeatRows,    FSeatWidth,     FSeatHeight};
}

void TPriPaper::SetFields(const std::array<int32_t, kFieldCount>& f) {
    FValueA = f[0];
    FValueB = f[1];
    FPortrait = f[2];
    FFlagC = f[3];
    FSheetWidth = f[4];
    FSheetHeight = f[5];
    FFirstSeatLeft = f[6];
    FFirstSeatTop = f[7];
    FValueD = f[8];
    FValueE = f[9];
    FSeatGapX = f[10];
    FSeatGapY = f[11];
    FSeatColumns = f[12];
    FSeatRows = f[13];
    FSeatWidth = f[14];
    FSeatHeight = f[15];
}

int TPriPaper::Validate(const std::array<int32_t, kFieldCount>& f) {
    if (f[2] != 0 && f[2] != 1) return -5;
    if (f[3] != 0 && f[3] != 1) return -6;
    // Fields 5 to 16 are lengths and counts: none may be negative (codes -7 ... -18).
    for (int i = 4; i < kFieldCount; ++i)
        if (f[size_t(i)] < 0) return -(i + 3);
    return 0;
}

QString TPriPaper::LimitProblem(const std::array<int32_t, kFieldCount>& f) {
    // Sheet, offsets, gaps and seat: no length of a real sheet exceeds the largest paper side.
    for (int i : {4, 5, 6, 7, 10, 11, 14, 15})
        if (f[size_t(i)] > TDocumentLimits::kMaxPaperSide)
            return QStringLiteral("用紙の寸法 %1 mm は上限 %2 mm を超えています")
                .arg(f[size_t(i)] / 10.0, 0, 'f', 1)
                .arg(TDocumentLimits::kMaxPaperSide / 10);
    const long long seats = (long long)std::max(1, f[12]) * std::max(1, f[13]);
    if (seats > TDocumentLimits::kMaxSeats)
        return QStringLiteral("用紙の面付け数 %1 × %2 は上限 %3 面を超えています")
            .arg(f[12])
            .arg(f[13])
            .arg(TDocumentLimits::kMaxSeats);
    return QString();
}

int TPriPaper::LoadFromStream(TStreamReader& stream) {
    std::array<int32_t, kFieldCount> f{};
    for (int32_t& v : f)
        if (!stream.ReadInt32(v)) return -1;
    const int code = Validate(f);
    if (code == 0) SetFields(f);
    return code;
}

void TPriPaper::SaveToStream(TStreamWriter& stream) const {
    for (int32_t v : Fields())
        stream.WriteInt32(v);
}
