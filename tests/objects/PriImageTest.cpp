#include "imaging/ImageCodec.h"
#include "objects/PriImage.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "support/PdfImages.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

QImage Solid(int w, int h, QColor c) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(c);
    return image;
}

// A picture with a white left half and a red right half.
QImage WhiteAndRed(int w, int h) {
    QImage image = Solid(w, h, Qt::white);
    QPainter(&image).fillRect(w / 2, 0, w - w / 2, h, Qt::red);
    return image;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An image object with a picture, stored 2.54 cm square, as a record of the given version.
QByteArray Record(TPriImage& image, int version) {
    TStreamWriter w;
    EXPECT_TRUE(image.SaveToStream(w, version));
    return w.Bytes();
}

} // namespace

TEST(PriImageTest, FitImageRectCases) {
    struct Case {
        QSize picture;
        bool stretch, proportional, center;
        QRect box, want;
    } cases[] = {
        {{400, 200}, true, true, true, {0, 0, 100, 100}, {0, 25, 100, 50}},
        {{40, 40}, false, true, true, {0, 0, 100, 100}, {30, 30, 40, 40}},
        {{40, 40}, true, true, true, {0, 0, 100, 100}, {0, 0, 100, 100}},
        {{300, 200}, false, false, true, {0, 0, 100, 100}, {-100, -50, 300, 200}}, // overflows the box
        {{300, 200}, false, false, false, {5, 5, 100, 100}, {5, 5, 300, 200}},
        {{100, 400}, false, true, true, {10, 10, 100, 100}, {47, 10, 25, 100}},
        {{400, 100}, true, true, false, {0, 0, 100, 10}, {0, 0, 40, 10}}, // too high after fitting width
        {{30, 60}, true, false, true, {0, 0, 90, 90}, {0, 0, 90, 90}},
    };
    for (const Case& c : cases) {
        TPriImage image;
        image.BltBmp = Solid(c.picture.width(), c.picture.height(), Qt::blue);
        image.Stretch = c.stretch;
        image.Proportional = c.proportional;
        image.center = c.center;
        EXPECT_EQ(image.FitImageRect(c.box), c.want) << c.picture.width() << "x" << c.picture.height();
    }
}

TEST(PriImageTest, TransparentColourLetsThePageShowThroughOnScreenAndOnPaper) {
    QImage page = Solid(40, 20, Qt::blue);
    TPriImage image;
    image.BackImage = &page;
    image.Stretch = false;
    image.SetPicture(WhiteAndRed(20, 10));
    image.SetBounds(0, 0, 20, 10);
    image.RebuildLightImage();
    image.Color = clWhite;
    image.TransParent = true;
    {
        QPainter p(&page);
        image.DrawObject(bmLayout, p);
    }
    EXPECT_EQ(page.pixel(2, 5), QColor(Qt::blue).rgb());
    EXPECT_EQ(page.pixel(15, 5), QColor(Qt::red).rgb());

    image.TransParent = false;
    {
        QPainter p(&page);
        image.DrawObject(bmLayout, p);
    }
    EXPECT_EQ(page.pixel(2, 5), QColor(Qt::white).rgb());

    // On paper the full picture is stretched, white left out, and cut at the page clip.
    image.TransParent = true;
    image.Stretch = true;
    QImage device = Solid(100, 100, Qt::blue);
    {
        QPainter p(&device);
        image.PrintDraw(p, QRect(0, 0, 80, 40), true, {}, {}, QRect(0, 0, 60, 100));
    }
    EXPECT_EQ(device.pixel(10, 10), QColor(Qt::blue).rgb());
    EXPECT_EQ(device.pixel(50, 10), QColor(Qt::red).rgb());
    EXPECT_EQ(device.pixel(70, 10), QColor(Qt::blue).rgb());
}

// A scaled picture must not blend its transparent colour into the edges of what stays: on a
// blue page every drawn pixel is page, red, or a mix of the two, never a whitish fringe.
TEST(PriImageTest, ScaledTransparentPictureLeavesNoFringeOnScreen) {
    const QColor pageColor(200, 230, 255);
    QImage page = Solid(200, 100, pageColor);
    QImage picture = Solid(80, 40, Qt::white);
    QPainter(&picture).fillRect(10, 5, 60, 30, Qt::red);
    TPriImage image;
    image.BackImage = &page;
    image.SetPicture(picture);
    image.SetBounds(0, 0, 140, 70);
    image.RebuildLightImage();
    ASSERT_EQ(image.LightImage.size(), QSize(140, 70));
    image.Color = clWhite;
    image.TransParent = true;
    {
        QPainter p(&page);
        image.DrawObject(bmLayout, p);
    }
    int red = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 140; ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c == QColor(Qt::red)) ++red;
            // Mixing red into the page lowers green and blue together.
            const double share = 1.0 - c.greenF() / pageColor.greenF();
            EXPECT_NEAR(c.blueF(), pageColor.blueF() * (1.0 - share), 0.02) << x << "," << y;
        }
    EXPECT_GT(red, 100 * 45);
}

TEST(PriImageTest, DisplayCacheIsRebuiltOnlyWhenBoundsOrPictureChange) {
    QImage page = Solid(500, 500, Qt::white);
    TPriImage image;
    image.BackImage = &page;
    image.SetPicture(WhiteAndRed(400, 200));
    image.SetStoreRect(QRect(0, 0, 254, 254));
    image.ScaleToView({200, 200}, {200, 200}, 96);
    EXPECT_EQ(image.LightImage.size(), QSize(96, 48));
    const qint64 key = image.LightImage.cacheKey();
    image.ScaleToView({200, 200}, {200, 200}, 96);
    image.MoveBy({10, 10});
    EXPECT_EQ(image.LightImage.cacheKey(), key);
    image.SizeBy({100, 0});
    EXPECT_EQ(image.LightImage.size(), QSize(192, 96));
    image.BltBmp = Solid(10, 10, Qt::green);
    image.RebuildLightImage();
    EXPECT_EQ(image.LightImage.pixel(5, 5), QColor(Qt::green).rgb());

    TPriImage copy;
    copy.AssignObject(&image);
    EXPECT_EQ(copy.LightImage.cacheKey(), image.LightImage.cacheKey());
    EXPECT_EQ(copy.BltBmp.size(), QSize(10, 10));
}

TEST(PriImageTest, LoadImageFileByUpperCasedExtension) {
    QTemporaryDir dir;
    const QImage picture = WhiteAndRed(30, 20);
    const QString jpeg = dir.filePath("photo.Jpeg"), tif = dir.filePath("scan.tif"), bad = dir.filePath("bad.png");
    WriteFile(jpeg, TImageCodec::Encode(picture, TImageFormat::Jpeg));
    WriteFile(tif, TImageCodec::Encode(picture, TImageFormat::Png));
    WriteFile(bad, QByteArray("\x89PNG\r\n\x1A\n broken", 16));

    TPriImage image;
    image.ImageType = 3;
    image.TurnNum = 2;
    EXPECT_FALSE(image.LoadImageFile(tif));
    EXPECT_FALSE(image.LoadImageFile(bad));
    EXPECT_FALSE(image.LoadImageFile(dir.filePath("missing.png")));
    EXPECT_EQ(image.ImageType, 3);
    EXPECT_TRUE(image.BltBmp.isNull());

    ASSERT_TRUE(image.LoadImageFile(jpeg));
    EXPECT_EQ(image.ImageType, 1);
    EXPECT_EQ(image.BltBmp.size(), QSize(30, 20));
    EXPECT_EQ(image.BaseBmp.size(), QSize(30, 20));
    EXPECT_EQ(image.TurnNum, 0);

    image.SetImagePath("x.GIF");
    EXPECT_EQ(image.ImageType, 2);
    image.SetImagePath("x.tiff");
    EXPECT_EQ(image.ImageType, 2);
}

TEST(PriImageTest, RecordsUnderTheirVersionRules) {
    TPriImage image;
    image.SetStoreRect(QRect(100, 200, 300, 400));
    image.SetPicture(WhiteAndRed(8, 6));
    image.ImageType = 3;
    image.Color = RGBColor(1, 2, 3);
    image.RedNum = 7;
    image.FPlacement = {1, 2, 3, 4};
    image.Stretch = false;

    const QByteArray v6 = Record(image, 6);
    const QByteArray v5 = Record(image, 5);
    const QByteArray v3 = Record(image, 3);
    // Version 5: no ImageType and the picture as a BMP file; version 3: no Colour, no effects.
    EXPECT_EQ(v6.mid(52, 8), TImageCodec::Encode(image.BaseBmp, TImageFormat::Png).left(8));
    EXPECT_EQ(v5.mid(48, 2), QByteArray("BM"));
    EXPECT_EQ(v5.size() - v3.size(), 8 + 10 * 4);

    TPriImage a;
    TStreamReader r6(v6);
    ASSERT_TRUE(a.LoadFromStream(r6, 6));
    EXPECT_TRUE(r6.AtEnd());
    EXPECT_EQ(Record(a, 6), v6);
    EXPECT_EQ(a.BltBmp.pixel(6, 3), QColor(Qt::red).rgb());

    TPriImage b;
    TStreamReader r5(v5);
    ASSERT_TRUE(b.LoadFromStream(r5, 5));
    EXPECT_EQ(b.ImageType, 0);
    EXPECT_EQ(b.RedNum, 7);
    EXPECT_FALSE(b.Stretch);

    TPriImage c;
    TStreamReader r3(v3);
    ASSERT_TRUE(c.LoadFromStream(r3, 3));
    EXPECT_TRUE(r3.AtEnd());
    EXPECT_EQ(c.Color, RGBColor(128, 128, 128));
    EXPECT_EQ(c.RedNum, 0);
    EXPECT_EQ(c.BaseBmp.size(), QSize(8, 6));
}

TEST(PriImageTest, BrokenPictureFailsTheLoadCleanly) {
    TPriImage image;
    image.SetPicture(WhiteAndRed(8, 6));
    image.ImageType = 1;
    const QByteArray good = Record(image, 6);
    const qsizetype lengthAt = 7 * 4 + 4 * 4;

    auto loads = [](QByteArray bytes) {
        TPriImage target;
        TStreamReader r(bytes);
        return target.LoadFromStream(r, 6);
    };
    // Claimed length beyond the bytes present, and an absurd one.
    QByteArray longer = good;
    qToLittleEndian<qint64>(good.size(), longer.data() + lengthAt);
    EXPECT_FALSE(loads(longer));
    QByteArray huge = good;
    qToLittleEndian<qint64>(qint64(1) << 60, huge.data() + lengthAt);
    EXPECT_FALSE(loads(huge));
    QByteArray negative = good;
    qToLittleEndian<qint64>(-5, negative.data() + lengthAt);
    EXPECT_FALSE(loads(negative));
    // Bytes that are no JPEG.
    QByteArray garbage = good;
    for (qsizetype i = lengthAt + 8; i < lengthAt + 40; ++i)
        garbage[i] = 'z';
    EXPECT_FALSE(loads(garbage));
    // An unknown ImageType, on reading and on writing.
    QByteArray type = good;
    type[lengthAt - 4] = 9;
    EXPECT_FALSE(loads(type));
    image.ImageType = 9;
    TStreamWriter w;
    EXPECT_FALSE(image.SaveToStream(w, 6));
    EXPECT_EQ(w.Size(), 0);
    EXPECT_TRUE(loads(good));
}

TEST(PriImageTest, EveryTruncatedRecordFailsAndTheWholeOneLoads) {
    TPriImage image;
    image.SetPicture(WhiteAndRed(5, 4));
    for (int type : {0, 1, 2, 3}) {
        image.ImageType = uint8_t(type);
        const QByteArray record = Record(image, 6);
        for (qsizetype n = 0; n < record.size(); ++n) {
            TPriImage target;
            TStreamReader r(record.left(n));
            EXPECT_FALSE(target.LoadFromStream(r, 6)) << "type " << type << ", " << n << " bytes";
        }
        TPriImage whole;
        TStreamReader r(record);
        EXPECT_TRUE(whole.LoadFromStream(r, 6)) << type;
        EXPECT_EQ(whole.BltBmp.size(), QSize(5, 4));
    }
}

// A JPEG picture read from a record is written back with the very bytes it came from, so a file
// survives save and load without a second compression; any change to the picture encodes it again.
TEST(PriImageTest, UnchangedPictureKeepsItsEncodedBytes) {
    QImage art(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < art.height(); ++y)
        for (int x = 0; x < art.width(); ++x)
            art.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    const QByteArray jpeg = TImageCodec::Encode(art, TImageFormat::Jpeg);
    ASSERT_FALSE(jpeg.isEmpty());

    TPriImage source;
    source.SetStoreRect(QRect(10, 20, 254, 254));
    source.ImageType = uint8_t(TImageFormat::Jpeg);
    TStreamWriter block;
    block.WriteBlock64(jpeg);
    TStreamReader reader(block.Bytes());
    ASSERT_TRUE(source.ReadImageData(reader, 6));
    const QByteArray first = Record(source, 6);
    ASSERT_TRUE(first.contains(jpeg));

    // Load, save, load, save: identical records, as the file round trip needs.
    TPriImage loaded;
    TStreamReader r1(first);
    ASSERT_TRUE(loaded.LoadFromStream(r1, 6));
    EXPECT_EQ(Record(loaded, 6), first);
    TPriImage copy;
    copy.AssignObject(&loaded);
    EXPECT_EQ(Record(copy, 6), first);

    struct TCase {
        const char* Name;
        std::function<void(TPriImage&)> Change;
    };
    const std::vector<TCase> cases = {
        {"new picture", [](TPriImage& i) { i.SetPicture(Solid(64, 48, Qt::blue)); }},
        {"pixel painted", [](TPriImage& i) { i.BaseBmp.setPixel(0, 0, qRgb(1, 2, 3)); }},
        {"stored as PNG", [](TPriImage& i) { i.ImageType = uint8_t(TImageFormat::Png); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPriImage changed;
        TStreamReader r(first);
        ASSERT_TRUE(changed.LoadFromStream(r, 6));
        c.Change(changed);
        const QByteArray again = Record(changed, 6);
        EXPECT_FALSE(again.contains(jpeg));
        TPriImage back;
        TStreamReader rb(again);
        ASSERT_TRUE(back.LoadFromStream(rb, 6));
        EXPECT_EQ(back.BaseBmp.size(), QSize(64, 48));
    }

    // Records of version 5 and below hold a BMP file, never the kept JPEG.
    const QByteArray old = Record(loaded, 5);
    EXPECT_FALSE(old.contains(jpeg));
}

// A printed picture reaches the PDF at no more than the device pixels of its place, once per sheet
// however many seats show it; a smaller one goes unchanged, never enlarged.
TEST(PriImageTest, PrintedPictureReachesThePdfAtItsDevicePixels) {
    struct TCase {
        QSize picture;
        bool transparent;
        double scale;
        QSize want;
    } cases[] = {
        {{2000, 1500}, false, 1, {472, 354}},
        {{2000, 1500}, true, 1, {472, 354}},
        {{2000, 1500}, false, 0.5, {236, 177}},
        {{60, 45}, false, 1, {60, 45}},
    };
    for (const TCase& c : cases) {
        TPriImage image;
        image.SetBounds(0, 0, 472, 354);
        image.SetPicture(WhiteAndRed(c.picture.width(), c.picture.height()));
        image.Color = clWhite;
        image.TransParent = c.transparent;
        const auto sizes = PdfImages([&](QPainter& p) {
            p.scale(c.scale, c.scale);
            for (int seat = 0; seat < 10; ++seat)
                image.PrintDraw(p, QRect(seat % 2 * 1000, seat / 2 * 600, 472, 354), true, {}, {},
                                QRect(0, 0, 2480, 3508));
        });
        // A transparent picture carries its mask as a second image of the same size.
        ASSERT_EQ(sizes.size(), c.transparent ? 2u : 1u) << c.picture.width() << " scale " << c.scale;
        for (QSize s : sizes)
            EXPECT_EQ(s, c.want) << s.width() << "x" << s.height() << " from " << c.picture.width() << " at "
                                 << c.scale;
    }
}
