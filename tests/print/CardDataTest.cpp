#include "print/CardData.h"

#include "document/PriPaper.h"
#include "platform/StreamWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Shipped() {
    QFile f(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/settings/carddata.cdd"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One record by hand, so a test can damage any field of it.
QByteArray OneSheet(const QByteArray& name, std::array<int32_t, 10> fields, int32_t extra = 0, int32_t count = 1) {
    TStreamWriter record;
    record.WriteRawString(name);
    record.WriteInt32(0);
    for (int32_t f : fields)
        record.WriteInt32(f);
    for (int i = 0; i < extra; ++i)
        record.WriteBytes("\0", 1);
    TStreamWriter out;
    out.WriteBytes("KCDD", 4);
    out.WriteInt32(1);
    out.WriteInt32(count);
    out.WriteInt32(int32_t(record.Size()));
    out.WriteBytes(record.Bytes());
    return out.Bytes();
}

constexpr std::array<int32_t, 10> kMeishi{2100, 2970, 2, 5, 910, 550, 910, 550, 140, 110};

} // namespace

TEST(CardDataTest, ShippedSheetsRoundTripByteForByte) {
    const QByteArray bytes = Shipped();
    QList<TCardSheet> sheets;
    QString error;
    ASSERT_TRUE(TCardData::Read(bytes, sheets, &error)) << qPrintable(error);
    ASSERT_EQ(sheets.size(), 9);
    EXPECT_EQ(TCardData::Write(sheets), bytes);

    // The shop sheets as sold: every seat on the sheet, the last one ending where the margin starts.
    struct TExpect {
        int Index;
        int32_t Cols, Rows, SeatW, SeatH, Left, Top;
    };
    for (const TExpect& e : {TExpect{0, 2, 5, 910, 550, 140, 110}, TExpect{1, 2, 6, 864, 423, 186, 216},
                             TExpect{2, 3, 8, 700, 339, 0, 129}, TExpect{3, 4, 11, 483, 254, 84, 88}}) {
        const TCardSheet& s = sheets[e.Index];
        EXPECT_EQ(std::tuple(s.SheetWidth, s.SheetHeight, s.Columns, s.Rows, s.SeatWidth, s.SeatHeight, s.FirstLeft,
                             s.FirstTop),
                  std::tuple(2100, 2970, e.Cols, e.Rows, e.SeatW, e.SeatH, e.Left, e.Top))
            << qPrintable(s.Name);
        EXPECT_EQ(s.PitchX, s.SeatWidth);
        EXPECT_EQ(s.SheetWidth - (s.FirstLeft + s.Columns * s.PitchX), s.FirstLeft) << qPrintable(s.Name);
        EXPECT_EQ(s.SheetHeight - (s.FirstTop + s.Rows * s.PitchY), s.FirstTop) << qPrintable(s.Name);
    }
    for (int i = 4; i < 9; ++i)
        EXPECT_TRUE(sheets[i].IsSingleSeat()) << qPrintable(sheets[i].Name);

    // A user's sheet keeps its flag and its Japanese name.
    TCardSheet own = sheets[1];
    own.Name = QStringLiteral("自作ラベル①～Ⅱ");
    own.UserAdded = true;
    sheets.append(own);
    const QByteArray written = TCardData::Write(sheets);
    QList<TCardSheet> again;
    ASSERT_TRUE(TCardData::Read(written, again));
    EXPECT_EQ(again, sheets);
    EXPECT_EQ(TCardData::Write(again), written);
}

TEST(CardDataTest, DamagedFilesAreRejectedWhole) {
    struct TCase {
        const char* What;
        QByteArray Bytes;
    };
    std::array<int32_t, 10> offSheet = kMeishi;
    offSheet[8] = 281; // the right margin is 14 mm: one tenth of a millimetre more runs off
    std::array<int32_t, 10> noRows = kMeishi;
    noRows[3] = 0;
    std::array<int32_t, 10> pitchBelowSeat = kMeishi;
    pitchBelowSeat[6] = 909;
    std::array<int32_t, 10> hugeGrid = kMeishi;
    hugeGrid[2] = 0x7FFFFFFF;
    QByteArray nameTooLong = OneSheet("a", kMeishi);
    nameTooLong[16] = char(0x40); // the name's count claims 64 bytes
    QByteArray recordTooShort = OneSheet("a", kMeishi);
    recordTooShort[12] = 8;
    QByteArray version2 = OneSheet("a", kMeishi);
    version2[4] = 2;
    const TCase cases[] = {
        {"wrong magic", QByteArray("XCDD") + OneSheet("a", kMeishi).mid(4)},
        {"later version", version2},
        {"count beyond the bytes", OneSheet("a", kMeishi, 0, 2)},
        {"negative count", OneSheet("a", kMeishi, 0, -1)},
        {"name past its record", nameTooLong},
        {"record shorter than its fields", recordTooShort},
        {"seats off the sheet", OneSheet("a", offSheet)},
        {"no rows", OneSheet("a", noRows)},
        {"pitch below the seat", OneSheet("a", pitchBelowSeat)},
        {"absurd grid", OneSheet("a", hugeGrid)},
        {"empty name", OneSheet("", kMeishi)},
        {"bytes after the last sheet", OneSheet("a", kMeishi) + QByteArray(1, '\0')},
        {"empty file", QByteArray()},
    };
    for (const TCase& c : cases) {
        QList<TCardSheet> sheets{TCardSheet{}};
        QString error;
        EXPECT_FALSE(TCardData::Read(c.Bytes, sheets, &error)) << c.What;
        EXPECT_TRUE(sheets.isEmpty()) << c.What;
        EXPECT_FALSE(error.isEmpty()) << c.What;
    }
    // The same record undamaged reads, also with bytes a later version appends to a record.
    QList<TCardSheet> sheets;
    EXPECT_TRUE(TCardData::Read(OneSheet("a", kMeishi), sheets));
    EXPECT_TRUE(TCardData::Read(OneSheet("a", kMeishi, 6), sheets));
    ASSERT_EQ(sheets.size(), 1);
    EXPECT_EQ(sheets[0].FirstLeft, 140);

    // Every cut of the shipped file fails cleanly.
    const QByteArray shipped = Shipped();
    for (qsizetype n = 0; n < shipped.size(); ++n)
        EXPECT_FALSE(TCardData::Read(shipped.left(n), sheets)) << n;
}

TEST(CardDataTest, SaveReplacesTheFileOnlyWithACompleteList) {
    QTemporaryDir dir;
    const QString file = dir.filePath("settings/carddata.cdd");
    QList<TCardSheet> sheets;
    ASSERT_TRUE(TCardData::Read(Shipped(), sheets));
    ASSERT_TRUE(TCardData::SaveToFile(file, sheets)); // makes the missing folder too

    QList<TCardSheet> broken = sheets;
    broken[0].Columns = 3;
    QString error;
    EXPECT_FALSE(TCardData::SaveToFile(file, broken, &error));
    EXPECT_FALSE(error.isEmpty());
    QList<TCardSheet> read;
    ASSERT_TRUE(TCardData::LoadFromFile(file, read));
    EXPECT_EQ(read, sheets);
    EXPECT_EQ(QDir(dir.filePath("settings")).entryList(QDir::Files), QStringList{"carddata.cdd"});
}

TEST(CardDataTest, SheetBecomesThePaper) {
    QList<TCardSheet> sheets;
    ASSERT_TRUE(TCardData::Read(Shipped(), sheets));
    TPriPaper paper;
    paper.FValueA = 9;
    paper.FValueD = 3;
    sheets[1].ToPaper(paper, 0);
    EXPECT_EQ(paper.Fields(), (std::array<int32_t, 16>{9, 0, 1, 0, 2100, 2970, 186, 216, 3, 0, 0, 0, 2, 6, 864, 423}));
    // A landscape single sheet lies on its side as a page but keeps its sheet's measures.
    sheets[4].ToPaper(paper, 0);
    EXPECT_EQ(paper.FPortrait, 0);
    EXPECT_EQ(std::pair(paper.PageWidth(), paper.PageHeight()), std::pair(1480, 1000));
    EXPECT_EQ(std::pair(paper.FSheetWidth, paper.FSheetHeight), std::pair(1000, 1480));
}
