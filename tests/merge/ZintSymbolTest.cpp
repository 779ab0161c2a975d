#include "merge/ZintSymbol.h"

#include "support/BarcodeReader.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

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
