#include "merge/PriBarcode.h"

#include <QImage>
#include <gtest/gtest.h>
#include <set>
#include <vector>

#ifdef KOMOREBI_HAVE_ZBAR
#include <zbar.h>
using namespace zbar;
#endif

namespace {

QImage RenderOf(const QString& data, int kind, bool addCheck, bool showText = true, int dpi = 300) {
    TPriBarcode b;
    b.SetData(data);
    b.SetKind(kind);
    b.SetAddCheck(addCheck);
    b.SetShowText(showText);
    b.SetResolution(dpi);
    return b.Render();
}

// Height of the black run starting at row y0 in column x.
int BarHeightAt(const QImage& image, int x, int y0) {
    int y = y0;
    while (y < image.height() && image.pixel(x, y) == qRgb(0, 0, 0))
        ++y;
    return y - y0;
}

#ifdef KOMOREBI_HAVE_ZBAR
struct TDecoded {
    std::string type;
    std::string data;
};

// An independent reader: ZBar with every symbology switched on.
std::vector<TDecoded> Decode(const QImage& image) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<unsigned char> pixels;
    for (int y = 0; y < gray.height(); ++y)
        pixels.insert(pixels.end(), gray.constScanLine(y), gray.constScanLine(y) + gray.width());
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_scanner_set_config(scanner, ZBAR_I25, ZBAR_CFG_MIN_LEN, 2);
    zbar_image_scanner_set_config(scanner, ZBAR_CODABAR, ZBAR_CFG_MIN_LEN, 1);
    zbar_image_t* zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, unsigned(gray.width()), unsigned(gray.height()));
    zbar_image_set_data(zimage, pixels.data(), pixels.size(), nullptr);
    zbar_scan_image(scanner, zimage);
    std::vector<TDecoded> out;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(zimage); s; s = zbar_symbol_next(s))
        out.push_back({zbar_get_symbol_name(zbar_symbol_get_type(s)), zbar_symbol_get_data(s)});
    zbar_image_destroy(zimage);
    zbar_image_scanner_destroy(scanner);
    return out;
}
#endif

} // namespace

TEST(BarcodeTest, CheckCharacters) {
    EXPECT_EQ(TPriBarcode::Mod10CheckDigit("400638133393"), 1); // EAN-13 4006381333931
    EXPECT_EQ(TPriBarcode::Mod10CheckDigit("9638507"), 4);      // EAN-8 96385074
    EXPECT_EQ(TPriBarcode::Mod10CheckDigit("490123456789"), 4); // JAN 4901234567894: weighted sum 126
    EXPECT_EQ(TPriBarcode::Mod10CheckDigit("1234567"), 0);      // EAN-8 12345670: sum 60
    EXPECT_EQ(TPriBarcode::Mod10CheckDigit("1234a"), -1);
    // A=16 1 2 3 4 B=17: sum 43, 43 mod 16 = 11, check (16-11) = 5.
    EXPECT_EQ(TPriBarcode::CodabarCheckIndex("A1234B"), 5);
    EXPECT_EQ(TPriBarcode::CodabarCheckIndex("A12x4B"), -1);
}

TEST(BarcodeTest, ModuleStringsAndLengths) {
    std::string m;
    ASSERT_TRUE(TPriBarcode::EncodeEan13("4901234567894", m));
    EXPECT_EQ(m.size(), 115u);
    EXPECT_EQ(m.substr(0, 13), "0030000000202");
    // Leading 4: parity "101100", so digit 2 (9) is set A and digit 3 (0) set B.
    EXPECT_EQ(m.substr(13, 7), "3001011");
    EXPECT_EQ(m.substr(20, 7), "3100111");
    EXPECT_EQ(m.substr(55, 5), "02020");
    EXPECT_EQ(m.substr(60, 7), "4001110"); // digit 8 (5) from set C
    ASSERT_TRUE(TPriBarcode::EncodeEan8("96385074", m));
    EXPECT_EQ(m.size(), 81u);
    ASSERT_TRUE(TPriBarcode::EncodeItf("123450", m));
    EXPECT_EQ(m.size(), 4u + 3 * 18 + 5);
    EXPECT_EQ(m.substr(0, 4), "1010");
    EXPECT_EQ(m.substr(m.size() - 5), "11101");
    // 1 (wide, narrow, narrow, narrow, wide) as bars interleaved with 2 (n w n n w) as spaces.
    EXPECT_EQ(m.substr(4, 18), "111010001010111000");
    ASSERT_TRUE(TPriBarcode::EncodeCodabar("0", m));
    EXPECT_EQ(m, "10101000111000");
    ASSERT_TRUE(TPriBarcode::EncodeCodabar("A", m));
    EXPECT_EQ(m, "1011100010001000"); // a start letter has three wide elements: 16 modules
    EXPECT_FALSE(TPriBarcode::EncodeEan13("490123456789a", m));
    EXPECT_FALSE(TPriBarcode::EncodeCodabar("A12E", m));
}

TEST(BarcodeTest, ValidationTable) {
    struct Case {
        const char* data;
        int kind;
        bool check;
        bool valid;
    } cases[] = {
        {"1234567", 0, true, true},      {"12345670", 0, false, true},      {"12345670", 0, true, false},
        {"490123456789", 1, true, true}, {"490123456789", 1, false, false}, {"12345", 2, true, true},
        {"12345", 2, false, false},      {"123456", 2, false, true},        {"", 2, false, false},
        {"A1234B", 3, true, true},       {"1234B", 3, false, false},        {"a1234b", 3, false, false},
        {"1234567", 4, true, false},     {"12345670", -1, false, false},    {"12345678", 0, false, true},
    };
    for (const Case& c : cases) {
        TPriBarcode b;
        b.SetData(QString::fromLatin1(c.data));
        b.SetKind(c.kind);
        b.SetAddCheck(c.check);
        EXPECT_EQ(b.IsValidData(), c.valid) << c.data << " kind " << c.kind;
        EXPECT_EQ(!b.Render().isNull(), c.valid) << c.data << " kind " << c.kind;
    }
    EXPECT_TRUE(RenderOf(QStringLiteral("123456a"), 0, true).isNull());
    EXPECT_TRUE(RenderOf(QStringLiteral("１２３４５６７"), 0, true).isNull());
}

TEST(BarcodeTest, SizesAt300Dpi) {
    const TPriBarcode::TMetrics m = TPriBarcode::Metrics(300, 115);
    EXPECT_EQ(m.Module, 3);
    EXPECT_EQ(m.Margin, 23);
    EXPECT_EQ(m.VMargin, 47);
    const QImage ean13 = RenderOf(QStringLiteral("490123456789"), 1, true);
    ASSERT_EQ(ean13.size(), QSize(391, 304));
    // First bar of the start guard at x = 23 + 10 * 3; the first data bar in set A "3001011" at module 16.
    EXPECT_EQ(BarHeightAt(ean13, 23 + 10 * 3, 47), 233);
    EXPECT_EQ(BarHeightAt(ean13, 23 + 16 * 3, 47), 210);
    EXPECT_EQ(ean13.pixel(23 + 16 * 3, 46), qRgb(255, 255, 255));
    // Only black and white: the bitmap is meant to be stretched crisply.
    std::set<QRgb> colours;
    for (int y = 0; y < ean13.height(); ++y)
        for (int x = 0; x < ean13.width(); ++x)
            colours.insert(ean13.pixel(x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

TEST(BarcodeTest, HumanReadableDigitsSitUnderTheBarsOnlyWhenAsked) {
    const QImage with = RenderOf(QStringLiteral("490123456789"), 1, true, true);
    const QImage without = RenderOf(QStringLiteral("490123456789"), 1, true, false);
    auto inkBelowBars = [](const QImage& img, int x0, int x1) {
        int ink = 0;
        for (int y = 47 + 210; y < img.height(); ++y)
            for (int x = x0; x < x1; ++x)
                ink += img.pixel(x, y) == qRgb(0, 0, 0);
        return ink;
    };
    // The leading digit stands left of the start guard, in the quiet zone.
    EXPECT_GT(inkBelowBars(with, 23 + 3 * 3, 23 + 10 * 3), 0);
    // Only the six guard bars, 3 pixels wide, reach 23 rows below the others.
    EXPECT_EQ(inkBelowBars(without, 0, without.width()), 6 * 3 * 23);
    // Each of the twelve digits after the leading one stands under its own seven modules,
    // starting right of the marker module; the end marker has nothing left to show.
    const int firstDigitModule[] = {13, 60};
    for (int half = 0; half < 2; ++half)
        for (int d = 0; d < 6; ++d) {
            const int x0 = 23 + (firstDigitModule[half] + 7 * d) * 3;
            EXPECT_GT(inkBelowBars(with, x0 + 3, x0 + 21), 0) << "digit " << half * 6 + d + 2;
        }
    EXPECT_EQ(inkBelowBars(with, 23 + 105 * 3, with.width()), 0);
}

TEST(BarcodeTest, OversizedSymbolsAndBadResolutionsFailCleanly) {
    EXPECT_TRUE(RenderOf(QString(4000, u'1'), 2, false).isNull());
    EXPECT_TRUE(RenderOf(QStringLiteral("1234567"), 0, true, true, 0).isNull());
    EXPECT_TRUE(RenderOf(QStringLiteral("1234567"), 0, true, true, -300).isNull());
    EXPECT_TRUE(RenderOf(QStringLiteral("1234567"), 0, true, true, 1000000).isNull());
}

#ifdef KOMOREBI_HAVE_ZBAR
TEST(BarcodeTest, ZBarReadsOurSymbolsBack) {
    struct Case {
        const char* data;
        int kind;
        bool check;
        const char* type;
        const char* expected;
    } cases[] = {
        {"490123456789", 1, true, "EAN-13", "4901234567894"},
        {"4006381333931", 1, false, "EAN-13", "4006381333931"},
        {"9638507", 0, true, "EAN-8", "96385074"},
        {"1234567", 0, true, "EAN-8", "12345670"},
        {"12345", 2, true, "I2/5", "123457"},
        {"00123456", 2, false, "I2/5", "00123456"},
        {"A1234B", 3, true, "Codabar", "A12345B"},
        {"C-$:/.+0D", 3, false, "Codabar", "C-$:/.+0D"},
    };
    for (const Case& c : cases) {
        for (bool text : {true, false}) {
            const QImage image = RenderOf(QString::fromLatin1(c.data), c.kind, c.check, text);
            ASSERT_FALSE(image.isNull()) << c.data;
            const std::vector<TDecoded> found = Decode(image);
            ASSERT_EQ(found.size(), 1u) << c.data;
            EXPECT_EQ(found[0].type, c.type) << c.data;
            EXPECT_EQ(found[0].data, c.expected) << c.data;
        }
    }
}

// Every entry of the digit tables and every EAN-13 parity row, read back by the independent
// reader, which also checks the check digits: a wrong table entry makes it fail or misread.
TEST(BarcodeTest, ZBarReadsEveryTableEntryBack) {
    std::vector<std::pair<int, std::string>> symbols;
    const std::string digits = "0123456789012345678901";
    for (int lead = 0; lead < 10; ++lead)
        symbols.push_back({1, std::to_string(lead) + digits.substr(size_t(lead), 11)});
    for (int start = 0; start < 10; start += 2)
        symbols.push_back({0, digits.substr(size_t(start), 7)});
    symbols.push_back({2, "0123456789"});
    symbols.push_back({2, "9876543210"});
    symbols.push_back({3, "A0123456789B"});
    symbols.push_back({3, "B-$:/.+C"});
    symbols.push_back({3, "D0A"});
    const char* types[] = {"EAN-8", "EAN-13", "I2/5", "Codabar"};
    for (const auto& [kind, data] : symbols) {
        const bool check = kind < 2;
        TPriBarcode b;
        b.SetData(QString::fromStdString(data));
        b.SetKind(kind);
        b.SetAddCheck(check);
        std::string expected;
        ASSERT_TRUE(b.MakeText(expected)) << data;
        const QImage image = b.Render();
        ASSERT_FALSE(image.isNull()) << data;
        const std::vector<TDecoded> found = Decode(image);
        ASSERT_EQ(found.size(), 1u) << data;
        TDecoded got = found[0];
        // An EAN-13 with the leading digit 0 is a UPC-A symbol, and ZBar names it so.
        if (got.type == "UPC-A") got = {"EAN-13", "0" + got.data};
        EXPECT_EQ(got.type, types[kind]) << data;
        EXPECT_EQ(got.data, expected) << data;
    }
}
#endif
