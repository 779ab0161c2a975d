#include "document/PriPaint.h"
#include "imaging/ImageCodec.h"
#include "objects/PriBackImage.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "support/FixedPrinter.h"
#include "support/PdfImages.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool Near(QRgb a, QColor b) {
    return std::abs(qRed(a) - b.red()) < 16 && std::abs(qGreen(a) - b.green()) < 16 &&
           std::abs(qBlue(a) - b.blue()) < 16;
}

} // namespace

TEST(PriBackImageTest, RecordsOfBothSidesRoundTrip) {
    TPriBackImage back;
    back.FMainBack = Solid(40, 30, Qt::red);
    back.FSubBack = Solid(20, 10, Qt::blue);
    back.FVisible = false;
    TStreamWriter w;
    ASSERT_TRUE(back.WriteBack(w, TPriBackImage::kMainBack));
    const qsizetype mainSize = w.Size();
    ASSERT_TRUE(back.WriteBack(w, TPriBackImage::kSubBack));
    const QByteArray sub = w.Bytes().mid(mainSize);
    // The second side's record has no visible flag.
    EXPECT_EQ(qFromLittleEndian<qint64>(sub.constData() + 4), sub.size() - 12);

    TPriBackImage read;
    TStreamReader r(w.Bytes());
    ASSERT_TRUE(read.ReadBack(r, TPriBackImage::kMainBack, 6));
    ASSERT_TRUE(read.ReadBack(r, TPriBackImage::kSubBack, 6));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_FALSE(read.FVisible);
    EXPECT_EQ(read.FMainBack.size(), QSize(40, 30));
    EXPECT_TRUE(Near(read.FSubBack.pixel(5, 5), Qt::blue));

    // An unchanged background is written back with the very bytes it was read from.
    TStreamWriter again;
    read.WriteBack(again, TPriBackImage::kMainBack);
    read.WriteBack(again, TPriBackImage::kSubBack);
    EXPECT_EQ(again.Bytes(), w.Bytes());
}

TEST(PriBackImageTest, PresentZeroLeavesTheBackgroundEmpty) {
    TPriBackImage back;
    back.FMainBack = Solid(4, 4, Qt::red);
    TStreamWriter w;
    w.WriteInt32(0);
    TStreamReader r(w.Bytes());
    ASSERT_TRUE(back.ReadBack(r, TPriBackImage::kMainBack, 6));
    EXPECT_TRUE(back.IsEmpty());
    EXPECT_TRUE(r.AtEnd());

    TStreamWriter empty;
    ASSERT_TRUE(back.WriteBack(empty, TPriBackImage::kMainBack));
    EXPECT_EQ(empty.Bytes(), QByteArray(4, '\0'));
}

TEST(PriBackImageTest, VersionOneStoresABmpFile) {
    TStreamWriter w;
    w.WriteInt32(1);
    w.WriteBool(true);
    w.WriteBlock64(TImageCodec::Encode(Solid(6, 5, Qt::green), TImageFormat::Bmp));
    TPriBackImage back;
    TStreamReader r(w.Bytes());
    ASSERT_TRUE(back.ReadBack(r, TPriBackImage::kMainBack, 1));
    EXPECT_EQ(back.FMainBack.pixel(3, 3), QColor(Qt::green).rgb());
    // The same bytes are no JPEG for a later version.
    TStreamReader r2(w.Bytes());
    TPriBackImage later;
    EXPECT_FALSE(later.ReadBack(r2, TPriBackImage::kMainBack, 2));
}

TEST(PriBackImageTest, BrokenRecordsFailAndKeepThePicture) {
    TPriBackImage src;
    src.FMainBack = Solid(8, 8, Qt::red);
    TStreamWriter w;
    src.WriteBack(w, TPriBackImage::kMainBack);
    const QByteArray good = w.Bytes();
    QByteArray longer = good;
    qToLittleEndian<qint64>(qint64(1) << 40, longer.data() + 8);
    QByteArray garbage = good;
    garbage.replace(16, 20, QByteArray(20, 'q'));
    for (const QByteArray& bad : {good.left(good.size() - 1), longer, garbage, good.left(6)}) {
        TPriBackImage back;
        back.FMainBack = Solid(3, 3, Qt::blue);
        TStreamReader r(bad);
        EXPECT_FALSE(back.ReadBack(r, TPriBackImage::kMainBack, 6));
        EXPECT_EQ(back.FMainBack.size(), QSize(3, 3));
        EXPECT_TRUE(back.FVisible);
    }
}

TEST(PriBackImageTest, LoadBackFileByExtension) {
    QTemporaryDir dir;
    WriteFile(dir.filePath("b.Png"), TImageCodec::Encode(Solid(10, 10, Qt::red), TImageFormat::Png));
    WriteFile(dir.filePath("b.tif"), TImageCodec::Encode(Solid(10, 10, Qt::red), TImageFormat::Png));
    WriteFile(dir.filePath("bad.jpg"), QByteArray("\xFF\xD8\xFF not really", 15));
    TPriBackImage back;
    back.FMainBack = Solid(2, 2, Qt::blue);
    EXPECT_FALSE(back.LoadBackFile(dir.filePath("missing.png")));
    EXPECT_FALSE(back.LoadBackFile(dir.filePath("b.tif")));
    EXPECT_FALSE(back.LoadBackFile(dir.filePath("bad.jpg")));
    EXPECT_EQ(back.FMainBack.size(), QSize(2, 2));
    EXPECT_TRUE(back.LoadBackFile(dir.filePath("b.Png")));
    EXPECT_EQ(back.FMainBack.size(), QSize(10, 10));
}

TEST(PriBackImageTest, WholeAndPartialDrawingShowTheRightPart) {
    // Left half red, right half blue, drawn over a page half its size.
    QImage picture = Solid(400, 200, Qt::red);
    QPainter(&picture).fillRect(200, 0, 200, 200, Qt::blue);
    TPriBackImage back;
    back.FMainBack = picture;
    QImage page = Solid(200, 100, Qt::white);
    {
        QPainter p(&page);
        back.DrawWhole(p, TRect{0, 0, 200, 100});
    }
    EXPECT_TRUE(Near(page.pixel(50, 50), Qt::red));
    EXPECT_TRUE(Near(page.pixel(150, 50), Qt::blue));

    back.MakeViewPart(TRect{100, 0, 200, 100}, 200, 100);
    EXPECT_EQ(back.FViewPart.size(), QSize(200, 201));
    page.fill(Qt::white);
    {
        QPainter p(&page);
        back.DrawViewPart(p, TRect{100, 0, 200, 100});
    }
    EXPECT_EQ(page.pixel(50, 50), QColor(Qt::white).rgb());
    EXPECT_TRUE(Near(page.pixel(150, 50), Qt::blue));
}

TEST(PriBackImageTest, HiddenBackgroundIsNotDrawnButKept) {
    auto printer = std::make_unique<TFixedPrinter>();
    TPriPaint surface(nullptr, QString(), 96, std::move(printer));
    surface.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    surface.SetBltMarginCheck(false);
    surface.SetPageLayout({0, 0}, {800, 600});
    surface.BackObject.FMainBack = Solid(100, 100, Qt::green);
    surface.RedrawPage(nullptr, false, true);
    EXPECT_TRUE(Near(surface.PageBitmap().pixel(300, 300), Qt::green));
    surface.BackObject.SetBackVisible(false);
    surface.RedrawPage(nullptr, false, true);
    EXPECT_EQ(surface.PageBitmap().pixel(300, 300), QColor(Qt::white).rgb());
    EXPECT_FALSE(surface.BackObject.IsEmpty());
}

// Each seat of a sheet gets the background at the pixels it is printed at, one image in the PDF.
TEST(PriBackImageTest, PrintedBackgroundIsScaledToTheSeatOnce) {
    TPriBackImage back;
    back.FMainBack = Solid(3000, 2000, Qt::green);
    const auto sizes = PdfImages([&](QPainter& p) {
        for (int seat = 0; seat < 10; ++seat)
            back.DrawWhole(p, TRect::FromQRect(QRect(seat % 2 * 1000, seat / 2 * 640, 1004, 638)));
    });
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0], QSize(1004, 638)) << sizes[0].width() << "x" << sizes[0].height();
}
