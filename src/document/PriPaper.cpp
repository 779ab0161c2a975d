#include "document/PriPaper.h"

#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

int32_t TPriPaper::PageWidth() const {
    return (IsSingleSeat() && FPortrait == 0) ? FSeatHeight : FSeatWidth;
}

int32_t TPriPaper::PageHeight() const {
    return (IsSingleSeat() && FPortrait == 0) ? FSeatWidth : FSeatHeight;
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
