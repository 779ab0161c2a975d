#include "merge/ZintSymbol.h"

#include "support/BarcodeReader.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// Each kind drawn at 300 dpi and read back by an independent reader, quiet zone included.
TEST(ZintSymbolTest, SymbolsReadBackAsTheirData) {
#ifndef KOMOREBI_HAVE_ZBAR
    GTEST_SKIP() << "no ZBar";
#else
    struct TCase {
        TZintSymbol::TKind Kind;
        QByteArray Data;
        const char* Type;
    };
    const TCase cases[] = {
        {TZintSymbol::TKind::Qr, QStringLiteral("https://example.jp/こもれび 𠮷").toUtf8(), "QR-Code"},
        {TZintSymbol::TKind::Code128, "ABC-1234 xyz", "CODE-128"},
    };
    for (const TCase& c : cases) {
        QString error;
        const TZintSymbol symbol = TZintSymbol::Encode(c.Kind, c.Data, &error);
        ASSERT_FALSE(symbol.IsEmpty()) << error.toStdString();
        QImage page(1200, 600, QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter p(&page);
        EXPECT_GT(symbol.Draw(p, QRectF(50, 50, 1100, 500)), 2.0);
        p.end();
        const auto read = ReadBarcodes(page);
        ASSERT_EQ(read.size(), 1u) << c.Type;
        EXPECT_EQ(read[0].Type, c.Type);
        EXPECT_EQ(read[0].Data, c.Data.toStdString());
    }
    QString error;
    EXPECT_TRUE(TZintSymbol::Encode(TZintSymbol::TKind::JapanPost, "1000001-1-2-3", &error).Bars().size() > 60u);
    EXPECT_TRUE(TZintSymbol::Encode(TZintSymbol::TKind::JapanPost, "あいう", &error).IsEmpty());
    EXPECT_FALSE(error.isEmpty());
#endif
}

// The quick check agrees with the encoder, and no module of a symbol is covered twice.
TEST(ZintSymbolTest, CheckAgreesWithEncodeAndBarsDoNotOverlap) {
    using TKind = TZintSymbol::TKind;
    const std::pair<TKind, QByteArray> cases[] = {
        {TKind::Qr, "https://example.jp/card/000123"},
        {TKind::Qr, QByteArray(8000, '7')},
        {TKind::DataMatrix, "ABC 123 こもれび"},
        {TKind::DataMatrix, QByteArray(5000, 'x')},
        {TKind::Code128, "ABC-1234"},
        {TKind::Gs1_128, "no brackets"},
        {TKind::JapanPost, "1000001-1-2-3"},
    };
    for (const auto& [kind, data] : cases) {
        const TZintSymbol symbol = TZintSymbol::Encode(kind, data);
        EXPECT_EQ(TZintSymbol::Check(kind, data), symbol.Failure()) << data.left(40).toStdString();
        if (symbol.IsEmpty() || kind == TKind::JapanPost) continue;
        const int width = int(symbol.Size().width());
        std::vector<int> cover(size_t(width * symbol.Size().height()), 0);
        for (const QRectF& r : symbol.Bars())
            for (int y = int(r.top()); y < int(r.bottom()); ++y)
                for (int x = int(r.left()); x < int(r.right()); ++x)
                    EXPECT_EQ(++cover[size_t(y * width + x)], 1) << data.toStdString() << " at " << x << "," << y;
    }
}
