#include "calendar/PriCarendar.h"
#include "document/PriPaint.h"
#include "objects/PriLabel.h"
#include "objects/PriShape.h"
#include "print/PageExport.h"
#include "support/FixedPrinter.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A postcard with a frame, a heading and a calendar for the stored month 1.
QString WritePostcard(const QString& dir) {
    TPriPaint doc(nullptr, QStringLiteral(KOMOREBI_APP_DIR "/"), 96, std::make_unique<TFixedPrinter>());
    doc.PrintPaper.SetFields({0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
    auto frame = std::make_unique<TPriShape>();
    frame->Shape = TBltShape::RectAngle;
    frame->SamePSize = 3;
    frame->SetStoreRect({50, 50, 900, 1380});
    doc.AppendObject(std::move(frame));
    auto title = std::make_unique<TPriLabel>();
    title->SetStoreRect({100, 100, 800, 150});
    title->SameFSize = 20;
    title->SetDataString(QStringLiteral("こもれび"));
    doc.AppendObject(std::move(title));
    auto cal = std::make_unique<TPriCarendar>();
    cal->SetStoreRect({100, 700, 800, 600});
    cal->SetMonth(1);
    doc.AppendObject(std::move(cal));
    const QString path = dir + QStringLiteral("/card.tda");
    EXPECT_TRUE(doc.SaveToFile(path, 0));
    return path;
}

} // namespace

TEST(PageExportTest, ArgumentsAreCheckedBeforeAnythingIsRead) {
    struct TCase {
        QStringList Args;
        bool Ok;
    } cases[] = {
        {{"a.tda", "--out", "x.pdf"}, true},
        {{"a.tda", "--out", "x.PNG", "--year", "2027", "--month", "4", "--dpi", "150"}, true},
        {{"a.tda"}, false},
        {{"--out", "x.pdf"}, false},
        {{"a.tda", "--out", "x.jpg"}, false},
        {{"a.tda", "--out", "x.pdf", "--year", "2027"}, false},
        {{"a.tda", "--out", "x.pdf", "--year", "2027", "--month", "13"}, false},
        {{"a.tda", "--out", "x.pdf", "--dpi", "0"}, false},
        {{"a.tda", "--out", "x.pdf", "--dpi"}, false},
        {{"a.tda", "b.tda", "--out", "x.pdf"}, false},
        {{"a.tda", "--out", "x.pdf", "--colour"}, false},
    };
    for (const TCase& c : cases) {
        TExportOptions o;
        QString error;
        EXPECT_EQ(TPageExport::ParseArguments(c.Args, o, &error), c.Ok) << c.Args.join(' ').toStdString();
        EXPECT_EQ(error.isEmpty(), c.Ok) << c.Args.join(' ').toStdString();
    }
}

TEST(PageExportTest, PngAtTheResolutionAndPdfWithEmbeddedFonts) {
    QTemporaryDir dir;
    const QString tda = WritePostcard(dir.path());
    TExportOptions o;
    o.TemplateFile = tda;
    o.Year = 2027;
    o.Month = 4;
    o.Dpi = 150;
    o.OutFile = dir.filePath("card.png");
    QString error;
    ASSERT_TRUE(TPageExport::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << error.toStdString();
    QImage png(o.OutFile);
    EXPECT_EQ(png.size(), QSize(590, 874)); // 100 x 148 mm at 150 dpi
    // The frame's outline crosses the sheet 5 mm in; the paper outside it stays white.
    EXPECT_EQ(png.pixelColor(5, 5), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < png.height(); ++y)
        if (png.pixelColor(30, y).lightness() < 128) ++dark;
    EXPECT_GT(dark, 700);

    o.OutFile = dir.filePath("card.pdf");
    ASSERT_TRUE(TPageExport::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << error.toStdString();
    QFile pdf(o.OutFile);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/FontFile2")); // the IPA face is embedded
    EXPECT_TRUE(bytes.contains("IPA"));
    // The page is the paper: 100 x 148 mm in points.
    const QRegularExpressionMatch box =
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(QString::fromLatin1(bytes));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), 283.46, 1); // Qt writes whole points
    EXPECT_NEAR(box.captured(2).toDouble(), 419.53, 1);
}

TEST(PageExportTest, BrokenTemplatesFailWithAReason) {
    QTemporaryDir dir;
    TExportOptions o;
    o.TemplateFile = dir.filePath("missing.tda");
    o.OutFile = dir.filePath("x.png");
    QString error;
    EXPECT_FALSE(TPageExport::Run(QString(), o, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile junk(dir.filePath("junk.tda"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\xD1\xFF\0\0\x07\0\0\0", 8);
    junk.close();
    o.TemplateFile = junk.fileName();
    error.clear();
    EXPECT_FALSE(TPageExport::Run(QString(), o, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("バージョンが異なります")));
    EXPECT_FALSE(QFile::exists(o.OutFile));
}
