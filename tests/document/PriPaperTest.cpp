#include "document/PriPaper.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <gtest/gtest.h>

namespace {

std::array<int32_t, 16> A4Portrait() {
    return {7, 9, 1, 0, 2100, 2970, 0, 0, 3, 4, 0, 0, 1, 1, 2100, 2970};
}

} // namespace

TEST(PriPaperTest, EachBadFieldGivesItsCodeAndLeavesThePaper) {
    struct TCase {
        int Index;
        int32_t Value;
        int Code;
    } cases[] = {
        {2, 2, -5},    {2, -1, -5},   {3, 2, -6},    {4, -1, -7},   {5, -1, -8},
        {6, -1, -9},   {7, -1, -10},  {8, -1, -11},  {9, -1, -12},  {10, -1, -13},
        {11, -1, -14}, {12, -1, -15}, {13, -1, -16}, {14, -1, -17}, {15, -1, -18},
    };
    for (const TCase& c : cases) {
        auto fields = A4Portrait();
        fields[size_t(c.Index)] = c.Value;
        TStreamWriter w;
        for (int32_t v : fields)
            w.WriteInt32(v);
        TPriPaper paper;
        TStreamReader r(w.Bytes());
        EXPECT_EQ(paper.LoadFromStream(r), c.Code) << "field " << c.Index + 1;
        EXPECT_EQ(paper, TPriPaper()) << "field " << c.Index + 1;
    }
}

TEST(PriPaperTest, TruncatedRecordFailsAndValidRecordRoundTrips) {
    TPriPaper paper;
    paper.SetFields(A4Portrait());
    TStreamWriter w;
    paper.SaveToStream(w);
    ASSERT_EQ(w.Size(), 64);

    TStreamReader shortReader(w.Bytes().left(60));
    TPriPaper fresh;
    EXPECT_EQ(fresh.LoadFromStream(shortReader), -1);
    EXPECT_EQ(fresh, TPriPaper());

    TStreamReader r(w.Bytes());
    EXPECT_EQ(fresh.LoadFromStream(r), 0);
    EXPECT_EQ(fresh, paper); // the dialog's own values are carried bit for bit
}

TEST(PriPaperTest, LandscapeSwapsOnlyOnASingleSeat) {
    TPriPaper paper;
    paper.SetFields({0, 0, 0, 0, 2970, 2100, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    EXPECT_TRUE(paper.IsSingleSeat());
    EXPECT_EQ(paper.PageWidth(), 2970);
    EXPECT_EQ(paper.PageHeight(), 2100);
    paper.FSeatColumns = 2;
    paper.FSeatRows = 5;
    EXPECT_FALSE(paper.IsSingleSeat());
    EXPECT_EQ(paper.PageWidth(), 2100);
    EXPECT_EQ(paper.PageHeight(), 2970);
}
