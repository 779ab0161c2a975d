#include "merge/PriField.h"
#include "platform/Cp932.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "support/PdfImages.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A field on a 96-dpi page bitmap, scaled at 100 %, as the surface leaves it.
struct TFieldRig {
    QImage page{800, 600, QImage::Format_RGB32};
    TPriField field;
    TFieldRig() {
        page.fill(Qt::white);
        field.BackImage = &page;
        field.Font.setFamily(QStringLiteral("ＭＳ ゴシック"));
        field.SameFSize = 10;
        field.SetStoreRect(QRect(100, 100, 500, 100));
        field.ScaleToView(page.size(), page.size(), 96);
    }
};

QByteArray Save(TPriField& f, int version) {
    TStreamWriter w;
    EXPECT_TRUE(f.SaveToStream(w, version));
    return w.Bytes();
}

void Fill(TPriField& f) {
    f.CategoryNum = 3;
    f.SetCategoryName(QStringLiteral("金額"));
    f.FileName = QStringLiteral("売上.CSV");
    f.DirectString = QStringLiteral("直接");
    f.FieldState = fsBarcode;
    f.FieldMode = fmJetPrint;
    f.FieldPStyle().DropPoint = true;
    f.FieldPStyle().ZeroPad = true;
    f.FieldPStyle().UsePrefix = true;
    f.FieldPStyle().MaskMode = 1;
    f.KinsokuCheck = true;
    f.SetFontAngle(faLong);
}

int Ink(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

} // namespace

TEST(PriFieldTest, CountersAndFormattedValues) {
    TFieldRig rig;
    TPriField& f = rig.field;
    f.FieldPStyle().GroupDigits = true;
    f.SetCategoryName(TPriField::kCurrentRecordName);
    for (int page : {1, 2, 3}) {
        f.SetRecordText("999", page, 3);
        EXPECT_EQ(f.DataString(), QString::number(page));
    }
    f.SetCategoryName(TPriField::kTotalRecordName);
    f.SetRecordText("999", 2, 3);
    EXPECT_EQ(f.DataString(), "3");
    f.SetCategoryName(QStringLiteral("金額"));
    f.SetRecordText("1234567", 1, 1);
    EXPECT_EQ(f.DataString(), "1,234,567");
    // Pictures and barcodes take the value as it is.
    f.FieldState = fsBarcode;
    f.SetRecordText("1234567 0 1 1", 1, 1);
    EXPECT_EQ(f.DataString(), "1234567 0 1 1");
    // The new text is laid out, ready to print.
    f.FieldState = fsText;
    f.SetRecordText("42", 1, 1);
    EXPECT_FALSE(f.LayoutPending());
    EXPECT_EQ(f.BltStrings(), QStringList({"42"}));
}

TEST(PriFieldTest, VersionSixRecordsHoldTheShortFormAndRoundTrip) {
    TFieldRig rig;
    Fill(rig.field);
    const QByteArray v6 = Save(rig.field, 6);
    TStreamReader r(v6);
    TFieldRig back;
    ASSERT_TRUE(back.field.LoadFromStream(r, 6));
    EXPECT_TRUE(r.AtEnd());
    TPriField& b = back.field;
    EXPECT_EQ(b.CategoryNum, 3);
    EXPECT_EQ(b.CategoryName(), QStringLiteral("金額"));
    EXPECT_EQ(b.DataString(), QStringLiteral("金額"));
    EXPECT_EQ(b.DirectString, QStringLiteral("直接"));
    EXPECT_EQ(b.FileName, QStringLiteral("売上.CSV"));
    EXPECT_EQ(b.FieldState, fsBarcode);
    EXPECT_EQ(b.FieldMode, fmJetPrint);
    EXPECT_FALSE(b.FieldPStyle().DropPoint);
    EXPECT_FALSE(b.FieldPStyle().ZeroPad);
    EXPECT_TRUE(b.FieldPStyle().UsePrefix);
    EXPECT_EQ(b.FieldPStyle().MaskMode, 1);
    EXPECT_FALSE(b.KinsokuCheck);
    EXPECT_EQ(Save(b, 6), v6);
    // The text slot kept the direct string while the layout showed the name.
    EXPECT_TRUE(v6.contains(TCp932::Encode(QStringLiteral("直接"))));
    EXPECT_EQ(rig.field.DataString(), QStringLiteral("金額"));
}

TEST(PriFieldTest, TemplateRecordsOfAllFourFormsAreToldApartByTheirLength) {
    TFieldRig rig;
    Fill(rig.field);
    // 20 or 24 text fields, with or without DropPoint and ZeroPad, all under file version 6.
    const QByteArray full = Save(rig.field, TPriLabel::kLongRecordVersion);
    const QByteArray shortForm = Save(rig.field, 6);
    ASSERT_EQ(full.size(), shortForm.size() + 16 + 8);
    // The body starts with CategoryNum 3 and the name's length and bytes.
    TStreamWriter bodyStart;
    bodyStart.WriteInt32(3);
    bodyStart.WriteString(QStringLiteral("金額"));
    const qsizetype n20 = shortForm.indexOf(bodyStart.Bytes());
    ASSERT_GT(n20, 0);
    const QByteArray head = shortForm.left(n20);
    const QByteArray later = full.mid(n20, 16);
    const QByteArray body6 = shortForm.mid(n20);
    const QByteArray body7 = full.mid(n20 + 16);

    struct Form {
        const char* name;
        QByteArray bytes;
        bool later;
        bool drop;
    };
    const Form forms[] = {{"20 without", head + body6, false, false},
                          {"20 with", head + body7, false, true},
                          {"24 without", head + later + body6, true, false},
                          {"24 with", head + later + body7, true, true}};
    for (const Form& form : forms) {
        TStreamReader r(form.bytes);
        TFieldRig back;
        ASSERT_TRUE(back.field.LoadFromStream(r, 6)) << form.name;
        EXPECT_TRUE(r.AtEnd()) << form.name;
        EXPECT_EQ(back.field.KinsokuCheck, form.later) << form.name;
        EXPECT_EQ(back.field.FieldPStyle().DropPoint, form.drop) << form.name;
        EXPECT_EQ(back.field.FieldPStyle().ZeroPad, form.drop) << form.name;
        EXPECT_EQ(back.field.FieldMode, fmJetPrint) << form.name;
        EXPECT_EQ(back.field.DirectString, QStringLiteral("直接")) << form.name;
    }
}

TEST(PriFieldTest, ClipboardRecordsFollowOneAnotherAndOldVersionsDefault) {
    TFieldRig rig;
    Fill(rig.field);
    TStreamWriter clip;
    clip.WriteBytes(Save(rig.field, 6));
    clip.WriteBytes(Save(rig.field, 6));
    TStreamReader r(clip.Bytes());
    for (int i = 0; i < 2; ++i) {
        TPriField f;
        ASSERT_TRUE(f.LoadFromStream(r, 6)) << i;
        EXPECT_EQ(f.FieldMode, fmJetPrint);
    }
    EXPECT_TRUE(r.AtEnd());

    // Version 2 has no FieldMode: fmSubMode.
    const QByteArray v2 = Save(rig.field, 2);
    EXPECT_EQ(v2.size(), Save(rig.field, 6).size() - 4);
    TStreamReader r2(v2);
    TPriField old;
    old.FieldMode = fmStandAlone;
    ASSERT_TRUE(old.LoadFromStream(r2, 2));
    EXPECT_TRUE(r2.AtEnd());
    EXPECT_EQ(old.FieldMode, fmSubMode);
    EXPECT_EQ(old.FieldState, fsBarcode);

    const QByteArray v6 = Save(rig.field, 6);
    for (qsizetype cut = 0; cut < v6.size(); cut += 3) {
        TStreamReader t(v6.left(cut));
        TPriField f;
        EXPECT_FALSE(f.LoadFromStream(t, 6)) << cut;
    }
}

TEST(PriFieldTest, PrintCopiesKeepTheShownTextInTheSlot) {
    TFieldRig rig;
    Fill(rig.field);
    rig.field.FieldState = fsText;
    TPriField copy;
    copy.AssignObject(&rig.field, false);
    copy.SetBltmode(bmPrint);
    copy.SetRecordText("12.5", 1, 1);
    TStreamWriter w;
    copy.SaveToStream(w, 6);
    TStreamReader r(w.Bytes());
    TPriField back;
    ASSERT_TRUE(back.LoadFromStream(r, 6));
    EXPECT_EQ(back.DirectString, copy.DataString());
    EXPECT_EQ(copy.FieldPStyle().Prefix, rig.field.FieldPStyle().Prefix);
    EXPECT_EQ(copy.FieldPStyle().Suffix, rig.field.FieldPStyle().Suffix);
    EXPECT_EQ(copy.DirectString, rig.field.DirectString);
    EXPECT_EQ(copy.CategoryName(), rig.field.CategoryName());
    // A layout-only copy leaves the field's own settings.
    TPriField layout;
    layout.AssignObject(&rig.field, true);
    EXPECT_EQ(layout.CategoryNum, 9999);
    EXPECT_TRUE(layout.DirectString.isEmpty());
}

TEST(PriFieldTest, LayoutFrameUnlessJetPrint) {
    for (TFieldMode mode : {fmSubMode, fmJetPrint}) {
        for (bool transparent : {true, false}) {
            TPriField f;
            f.FieldMode = mode;
            f.TransParent = transparent;
            f.Color = RGBColor(255, 255, 0);
            QImage image(50, 50, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter canvas(&image);
            f.FillBack(canvas, TRect{10, 10, 40, 30}, bmLayout);
            canvas.end();
            EXPECT_EQ(image.pixel(10, 20) == qRgb(0, 0, 0), mode != fmJetPrint);
            EXPECT_EQ(image.pixel(39, 29) == qRgb(0, 0, 0), mode != fmJetPrint);
            EXPECT_EQ(image.pixel(20, 20) == qRgb(255, 255, 0), !transparent);
        }
    }
}

TEST(PriFieldTest, PrintsBarcodesAndPicturesOrNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(dir.filePath("photo.png")));

    struct Case {
        const char* name;
        TFieldState state;
        QString value;
        bool ink;
    } cases[] = {
        {"EAN-13 barcode", fsBarcode, "490123456789 1 1 1", true},
        {"Codabar barcode", fsBarcode, "A1234B 3 0 1", true},
        {"three parts", fsBarcode, "490123456789 1 1", false},
        {"double space", fsBarcode, "490123456789  1 1 1", false},
        {"unknown symbology", fsBarcode, "490123456789 9 1 1", false},
        {"rejected data", fsBarcode, "12 1 1 1", false},
        {"picture below the program folder", fsImage, "photo.png", true},
        {"picture by full path", fsImage, dir.filePath("photo.png"), true},
        {"missing picture", fsImage, "none.png", false},
    };
    for (const Case& c : cases) {
        TFieldRig rig;
        rig.field.AppPath = dir.path() + QDir::separator();
        rig.field.FieldState = c.state;
        rig.field.SetRecordText(c.value, 1, 1);
        QImage paper(400, 300, QImage::Format_RGB32);
        paper.fill(Qt::white);
        QPainter canvas(&paper);
        rig.field.PrintDraw(canvas, QRect(10, 10, 300, 200), true, {}, {}, paper.rect());
        canvas.end();
        EXPECT_EQ(Ink(paper, paper.rect()) > 0, c.ink) << c.name;
        EXPECT_EQ(Ink(paper, QRect(311, 211, 89, 89)), 0) << c.name;
    }
}

TEST(PriFieldTest, APictureRepeatedOverTheSeatsIsOneImageOfThePdf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("logo.png");
    // Larger than its place at 300 dpi (drawn as one scaled copy), then smaller (drawn as it is).
    for (QSize size : {QSize(2000, 1000), QSize(60, 30)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(path));
        const auto sizes = PdfImages([&](QPainter& p) {
            for (int seat = 0; seat < 10; ++seat) {
                TFieldRig rig;
                rig.field.FieldState = fsImage;
                rig.field.SetRecordText(path, 1, 1);
                rig.field.PrintDraw(p, QRect(seat % 2 * 1000, seat / 2 * 600, 600, 300), true, {}, {},
                                    QRect(0, 0, 2480, 3508));
            }
        });
        ASSERT_EQ(sizes.size(), 1u) << size.width();
        EXPECT_EQ(sizes[0], size.width() > 600 ? QSize(600, 300) : size);
    }
}

TEST(PriFieldTest, StartMonthFillsYearAndMonthTitles) {
    struct Case {
        int category;
        QString name;
        int year, start;
        QString expected;
    } cases[] = {
        {TPriField::kYearCategory, "", 2025, 4, "2025"},
        {TPriField::kMonthTitleCategory, "1", 2024, 11, "11"},
        {TPriField::kMonthTitleCategory, "3", 2024, 11, "1"},
        {TPriField::kMonthTitleYearCategory, "3", 2024, 11, "2025"},
        {TPriField::kMonthTitleYearCategory, "2", 2024, 11, "2024"},
        {TPriField::kMonthTitleCategory, "x", 2024, 11, "x"},
        {5, QStringLiteral("氏名"), 2024, 11, QStringLiteral("氏名")},
        {TPriField::kYearCategory, "1999", -1, 11, "1999"},
        {TPriField::kMonthTitleYearCategory, "12", 9999, 12, "10000"},
        {TPriField::kMonthTitleYearCategory, "12", 2147483647, 12, "12"}, // out of range: kept
        {TPriField::kYearCategory, "1999", 2147483647, 1, "1999"},
        {TPriField::kEraYearCategory, "3", 2019, 3, QStringLiteral("令和元年")},
        {TPriField::kEraYearCategory, "2", 2019, 3, QStringLiteral("平成31年")},
        {TPriField::kEraYearCategory, "1", 1800, 1, "1"}, // no era year yet: kept
        {TPriField::kKanshiCategory, "12", 2026, 2, QStringLiteral("丁未")},
        {TPriField::kKanshiAnimalCategory, "1", 2027, 1, QStringLiteral("丁未（ひつじ）")},
    };
    for (const Case& c : cases) {
        TPriField f;
        f.CategoryNum = c.category;
        f.SetCategoryName(c.name);
        f.ApplyStartMonth(c.year, c.start);
        EXPECT_EQ(f.CategoryName(), c.expected) << c.category << " " << c.name.toStdString();
        EXPECT_EQ(f.DataString(), c.expected);
    }
}

TEST(PriFieldTest, DamagedRecordsLoadOrFailWithoutHarm) {
    TFieldRig rig;
    Fill(rig.field);
    for (int version : {6, TPriLabel::kLongRecordVersion}) {
        const QByteArray good = Save(rig.field, version);
        for (qsizetype i = 0; i < good.size(); ++i) {
            for (char byte : {char(0xFF), char(0x7F), char(0)}) {
                QByteArray bad = good;
                bad[i] = byte;
                TStreamReader r(bad);
                TFieldRig back;
                const QByteArray before = Save(back.field, version);
                if (!back.field.LoadFromStream(r, 6)) {
                    // A refused record leaves the object as it was.
                    ASSERT_EQ(Save(back.field, version), before) << i << " " << int(byte);
                    continue;
                }
                // An accepted one is a record like any other: it merges and saves stably.
                back.field.SetRecordText("1", 1, 1);
                const QByteArray once = Save(back.field, version);
                TStreamReader again(once);
                TFieldRig copy;
                ASSERT_TRUE(copy.field.LoadFromStream(again, version)) << i << " " << int(byte);
                ASSERT_EQ(Save(copy.field, version), once) << i << " " << int(byte);
            }
        }
    }
}

TEST(PriFieldTest, SavingLeavesTheShownLinesAndGlyphsAlone) {
    for (TBltMode mode : {bmLayout, bmPrint}) {
        TFieldRig rig;
        Fill(rig.field);
        rig.field.SetFontAngle(faSide);
        rig.field.SetBltmode(mode);
        rig.field.ScaleToView(rig.page.size(), rig.page.size(), 96);
        const QStringList lines = rig.field.BltStrings();
        const std::vector<TGlyphRec> glyphs = rig.field.Glyphs();
        ASSERT_FALSE(lines.isEmpty());
        const QByteArray bytes = Save(rig.field, 6);
        EXPECT_EQ(rig.field.BltStrings(), lines);
        EXPECT_EQ(rig.field.Glyphs(), glyphs);
        EXPECT_FALSE(rig.field.LayoutPending());
        EXPECT_EQ(rig.field.DataString(), QStringLiteral("金額"));
        const QString slot = mode == bmLayout ? QStringLiteral("直接") : QStringLiteral("金額");
        TStreamReader r(bytes);
        TPriField back;
        ASSERT_TRUE(back.LoadFromStream(r, 6));
        EXPECT_EQ(back.DirectString, slot) << int(mode);
        EXPECT_EQ(back.DataString(), QStringLiteral("金額"));
    }
}
