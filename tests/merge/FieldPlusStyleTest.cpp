#include "merge/FieldPlusStyle.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char* name;
    std::function<void(TFieldPlusStyle&)> set;
    QString value;
    QString expected;
};

} // namespace

TEST(FieldPlusStyleTest, FormatTable) {
    const FormatCase cases[] = {
        {"plain value passes", [](TFieldPlusStyle&) {}, "1234.5", "1234.5"},
        {"full example",
         [](TFieldPlusStyle& s) {
             s.GroupDigits = s.FixedDecimals = s.TriangleMinus = s.UsePrefix = true;
             s.Decimals = 2;
         },
         "-1234567.891", QStringLiteral("\\▲1,234,567.89")},
        {"fixed pads a whole number", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 2; }, "5", "5.00"},
        {"fixed cuts, never rounds", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 2; }, "5.678",
         "5.67"},
        {"short decimals stay without zero padding", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 3; },
         "5.6", "5.6"},
        {"zero padding fills them", [](TFieldPlusStyle& s) { s.FixedDecimals = s.ZeroPad = true, s.Decimals = 3; },
         "5.6", "5.600"},
        {"at most nine zeros", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 12; }, "1", "1.000000000"},
        {"a trailing point goes", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 2; }, "7.", "7"},
        {"no decimals, no point", [](TFieldPlusStyle& s) { s.FixedDecimals = true, s.Decimals = 0; }, "7.25", "7"},
        {"empty value stays empty", [](TFieldPlusStyle& s) { s.FixedDecimals = true; }, "", ""},
        {"grouping with minus", [](TFieldPlusStyle& s) { s.GroupDigits = true; }, "-1234", "-1,234"},
        {"three digits stay", [](TFieldPlusStyle& s) { s.GroupDigits = true; }, "123", "123"},
        {"six digits", [](TFieldPlusStyle& s) { s.GroupDigits = true; }, "123456.789", "123,456.789"},
        {"seven digits", [](TFieldPlusStyle& s) { s.GroupDigits = true; }, "1234567", "1,234,567"},
        {"drop point", [](TFieldPlusStyle& s) { s.DropPoint = true; }, "12.34.5", "12345"},
        {"triangle only at the front", [](TFieldPlusStyle& s) { s.TriangleMinus = true; }, "5-3",
         QStringLiteral("5-3")},
        {"empty value with prefix prints nothing", [](TFieldPlusStyle& s) { s.UsePrefix = true; }, "", ""},
        {"fullwidth yen alone vanishes too",
         [](TFieldPlusStyle& s) { s.UsePrefix = true, s.Prefix = QStringLiteral("￥"); }, "", ""},
        {"other prefix stays", [](TFieldPlusStyle& s) { s.UsePrefix = true, s.Prefix = "$"; }, "", "$"},
        {"suffix", [](TFieldPlusStyle& s) { s.UseSuffix = true; }, "300", "300-"},
        {"prefix and suffix", [](TFieldPlusStyle& s) { s.UsePrefix = s.UseSuffix = true; }, "300", "\\300-"},
    };
    for (const FormatCase& c : cases) {
        TFieldPlusStyle s;
        c.set(s);
        EXPECT_EQ(s.Format(c.value, 1, 1), c.expected) << c.name;
    }
}

TEST(FieldPlusStyleTest, MaskingOverThreePagesAndOnOnePage) {
    TFieldPlusStyle last;
    last.MaskMode = 2;
    EXPECT_EQ(last.Format("100", 1, 3), "*****");
    EXPECT_EQ(last.Format("100", 2, 3), "*****");
    EXPECT_EQ(last.Format("100", 3, 3), "100");
    EXPECT_EQ(last.Format("100", 1, 1), "100");
    TFieldPlusStyle first;
    first.MaskMode = 1;
    first.MaskText = "--";
    EXPECT_EQ(first.Format("100", 1, 3), "100");
    EXPECT_EQ(first.Format("100", 2, 3), "--");
    EXPECT_EQ(first.Format("100", 3, 3), "--");
    EXPECT_EQ(first.Format("100", 1, 1), "100");
}

TEST(FieldPlusStyleTest, RecordsOfVersionSixLeaveDropPointAndZeroPad) {
    TFieldPlusStyle s;
    s.GroupDigits = s.DropPoint = s.ZeroPad = true;
    s.Decimals = 4;
    s.Prefix = QStringLiteral("円");
    s.MaskMode = 2;
    for (int version : {6, 7}) {
        TStreamWriter w;
        s.SaveToStream(w, version);
        EXPECT_EQ(w.Size(), 4 * 10 + 2 + 1 + 5 + (version >= 7 ? 8 : 0));
        TStreamReader r(w.Bytes());
        TFieldPlusStyle t;
        ASSERT_TRUE(t.LoadFromStream(r, version));
        EXPECT_TRUE(r.AtEnd());
        EXPECT_EQ(t.DropPoint, version >= 7);
        EXPECT_EQ(t.ZeroPad, version >= 7);
        EXPECT_EQ(t.Prefix, s.Prefix);
        EXPECT_EQ(t.Decimals, 4);
        EXPECT_EQ(t.MaskMode, 2);
        // A cut record leaves the style as it was.
        TStreamReader cut(w.Bytes().left(w.Size() - 1));
        TFieldPlusStyle u;
        EXPECT_FALSE(u.LoadFromStream(cut, version));
        EXPECT_EQ(u, TFieldPlusStyle());
    }
}
