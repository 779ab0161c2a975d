#include "merge/BarcodeValue.h"
#include "merge/PriField.h"

#include "support/BarcodeReader.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QRect InkBounds(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

// The field's value drawn at 300 dpi into a box of the stored size (0.1 mm).
QImage DrawField(const QString& value, QSize store, const TObjectExtras& extras = {}) {
    const QSize pixels(qRound(store.width() / 254.0 * 300), qRound(store.height() / 254.0 * 300));
    QImage page(pixels + QSize(100, 100), QImage::Format_RGB32);
    page.fill(Qt::white);
    TPriField field;
    field.BackImage = &page;
    field.SetStoreRect(QRect(QPoint(0, 0), store));
    field.FieldState = fsBarcode;
    field.Extras = extras;
    field.SetRecordText(value, 1, 1);
    QPainter p(&page);
    field.PrintDraw(p, QRect(QPoint(50, 50), pixels), false, {}, {}, page.rect());
    return page;
}

} // namespace

TEST(BarcodeValueTest, ValuesSplitIntoTheirParts) {
    struct TCase {
        QString Value;
        bool Ok;
        QString Data;
        int Kind;
        bool Check, Text;
    };
    const TCase cases[] = {
        // The design's four kinds: exactly four parts.
        {"4901234567894 1 0 1", true, "4901234567894", 1, false, true},
        {"490 1234567894 1 0 1", false, {}, 0, false, false},
        {"4901234567894 1 0  1", false, {}, 0, false, false},
        // The newer kinds: the data is everything before the last three parts.
        {"https://example.jp/?q=a b 5 0 0", true, "https://example.jp/?q=a b", 5, false, false},
        {"a\\ b\\  5 1 0", true, "a b ", 5, true, false},
        {"こもれび 𠮷野家 7 0 0", true, "こもれび 𠮷野家", 7, false, false},
        {"KMB 2027 4 0 1", true, "KMB 2027", 4, false, true},
        {"x 8 0 0", false, {}, 0, false, false},
        {"x -1 0 0", false, {}, 0, false, false},
        {"5 0 0", false, {}, 0, false, false},
        {"", false, {}, 0, false, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value.toStdString());
        TBarcodeValue v;
        ASSERT_EQ(TBarcodeValue::Parse(c.Value, v), c.Ok);
        if (!c.Ok) continue;
        EXPECT_EQ(v.Data, c.Data);
        EXPECT_EQ(v.Kind, c.Kind);
        EXPECT_EQ(v.Check, c.Check);
        EXPECT_EQ(v.ShowText, c.Text);
    }
}

TEST(BarcodeValueTest, DataThatDoesNotSuitItsKindIsRefusedWithAReason) {
    struct TCase {
        int Kind;
        QString Data;
        const char* Refusal; // part of the message, nullptr when accepted
    };
    const TCase cases[] = {
        {TBarcodeValue::bkQr, QString(3000, QChar(u'あ')), "長すぎます"},
        {TBarcodeValue::bkQr, QString(2000, QChar(u'x')), nullptr},
        {TBarcodeValue::bkQr, {}, "空です"},
        {TBarcodeValue::bkCode128, "ABC-123", nullptr},
        {TBarcodeValue::bkCode128, "東京", "できない文字"},
        {TBarcodeValue::bkCustomer, "ABCDEFG", "郵便番号"},
        {TBarcodeValue::bkCustomer, "150-0042 東京都渋谷区宇田川町12-3", nullptr},
        {TBarcodeValue::bkCustomer, "1500042-12-3-201", nullptr},
        {TBarcodeValue::bkDataMatrix, QString(4000, QChar(u'x')), "長すぎます"},
        {TBarcodeValue::bkEan13, "49012345678", "できません"},
        {TBarcodeValue::bkEan13, "490123456789", nullptr},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Kind);
        TBarcodeValue v;
        v.Kind = c.Kind;
        v.Data = c.Data;
        v.Check = true;
        const QString why = v.Refusal();
        if (c.Refusal)
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.Refusal))) << why.toStdString();
        else
            EXPECT_TRUE(why.isEmpty()) << why.toStdString();
    }
    // Japan Post's thirteen places: a letter takes two, and what does not fit is left out.
    EXPECT_EQ(TBarcodeValue::CustomerData("1500042 1-2-3-4-5-6-7-8"), "15000421-2-3-4-5-6-7");
    EXPECT_EQ(TBarcodeValue::CustomerData("１５０－００４２ 12345678901A"), "150004212345678901A");
    EXPECT_EQ(TBarcodeValue::CustomerData("1500042 123456789012A"), "1500042123456789012");
}

// Field values drawn at 300 dpi and read back by independent readers; boxes too small for a
// printable module and refused data draw nothing at all.
TEST(BarcodeValueTest, FieldsDrawSymbolsReadersTakeAndNothingMisleading) {
    struct TCase {
        QString Value;
        QSize Store;
        const char* Type; // nullptr: nothing drawn
        QString Read;
    };
    const TCase cases[] = {
        {"https://example.jp/a b\\ c 5 0 0", {300, 300}, "QR-Code", "https://example.jp/a b c"},
        {"こもれび印刷 〒150-0042 𠮷 5 0 0", {300, 300}, "QR-Code", "こもれび印刷 〒150-0042 𠮷"},
        {"KMB-2027-0001 4 0 1", {500, 200}, "CODE-128", "KMB-2027-0001"},
        {QString(1500, QChar(u'x')) + " 5 0 0", {150, 150}, nullptr, {}},
        {QString(3000, QChar(u'x')) + " 5 0 0", {600, 600}, nullptr, {}},
        {"東京 4 0 0", {500, 200}, nullptr, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value.left(40).toStdString());
        const QImage page = DrawField(c.Value, c.Store);
        if (!c.Type) {
            EXPECT_TRUE(InkBounds(page).isEmpty());
            continue;
        }
#ifdef KOMOREBI_HAVE_ZBAR
        const auto read = ReadBarcodes(page);
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].Type, c.Type);
        EXPECT_EQ(QString::fromStdString(read[0].Data), c.Read);
#endif
    }
    // A QR keeps its square and its quiet zone in a wide box.
    const QRect qr = InkBounds(DrawField("KOMOREBI 5 0 0", {600, 200}));
    EXPECT_NEAR(qr.width(), qr.height(), 2);
    // The customer barcode keeps Japan Post's 10-point size in a large box: 0.6 mm bars, 3.6 mm long.
    TObjectExtras post;
    post.BarcodeKind = TBarcodeValue::bkCustomer;
    const QRect bars = InkBounds(DrawField("150-0042 東京都渋谷区宇田川町12-3", {860, 200}, post));
    EXPECT_NEAR(bars.height(), 3.6 / 25.4 * 300, 2);
    EXPECT_NEAR(bars.width(), 133 * 0.6 / 25.4 * 300, 3);
    // Too narrow for 8 point: nothing, and the field's tip says why while editing.
    EXPECT_TRUE(InkBounds(DrawField("150-0042 東京都渋谷区宇田川町12-3", {600, 200}, post)).isEmpty());
    for (const auto& [kind, store, small] : {std::tuple{TBarcodeValue::bkCustomer, QSize(600, 200), true},
                                             std::tuple{TBarcodeValue::bkCustomer, QSize(800, 40), false},
                                             std::tuple{TBarcodeValue::bkQr, QSize(50, 50), true},
                                             std::tuple{TBarcodeValue::bkQr, QSize(200, 200), false}}) {
        TPriField field;
        field.SetStoreRect(QRect(QPoint(0, 0), store));
        field.FieldState = fsBarcode;
        field.Extras.BarcodeKind = kind;
        EXPECT_EQ(field.BarcodeTip().contains(QStringLiteral("小さすぎ")), small) << kind << " " << store.width();
    }

    // Data Matrix, read by libdmtx's reader where it is installed.
    const QString dmtxread = QStandardPaths::findExecutable(QStringLiteral("dmtxread"));
    if (dmtxread.isEmpty()) GTEST_SKIP() << "dmtxread not installed";
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("dm.png"));
    ASSERT_TRUE(DrawField(QStringLiteral("KMB-2027-0001 TOKYO 7 0 0"), {200, 200}).save(png));
    QProcess reader;
    reader.start(dmtxread, {QStringLiteral("-n"), QStringLiteral("-N1"), png});
    ASSERT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(), QStringLiteral("KMB-2027-0001 TOKYO"));
}
