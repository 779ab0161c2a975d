#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "document/PriPaint.h"
#include "objects/PriLabel.h"
#include "objects/PriShape.h"
#include "app/ExportCommand.h"
#include "print/PageExport.h"
#include "support/FixedPrinter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// A postcard with a frame, a heading and a calendar for the stored month 1.
QString WritePostcard(const QString& dir) {
    TPriDocument doc(QStringLiteral(KOMOREBI_APP_DIR "/"));
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
    EXPECT_TRUE(doc.Save(path, 0));
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
        {{"a.tda", "--out", "x.pdf", "--year", "9999", "--month", "12"}, true},
        {{"a.tda", "--out", "x.pdf", "--year", "2147483647", "--month", "1"}, false},
        {{"a.tda", "--out", "x.pdf", "--year", "0", "--month", "1"}, false},
        {{"a.tda", "--out", "x.pdf", "--year", "-1", "--month", "5"}, false},
        {{"a.tda", "--out", "x.pdf", "--month", "5"}, false},
    };
    for (const TCase& c : cases) {
        TExportOptions o;
        QString error;
        EXPECT_EQ(TExportCommand::ParseArguments(c.Args, o, &error), c.Ok) << c.Args.join(' ').toStdString();
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
    ASSERT_TRUE(TExportCommand::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << error.toStdString();
    QImage png(o.OutFile);
    EXPECT_EQ(png.size(), QSize(590, 874)); // 100 x 148 mm at 150 dpi
    // The frame's outline crosses the sheet 5 mm in; the paper outside it stays white.
    EXPECT_EQ(png.pixelColor(5, 5), QColor(Qt::white));
    int dark = 0;
    for (int y = 0; y < png.height(); ++y)
        if (png.pixelColor(30, y).lightness() < 128) ++dark;
    EXPECT_GT(dark, 700);

    o.OutFile = dir.filePath("card.pdf");
    ASSERT_TRUE(TExportCommand::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << error.toStdString();
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
    EXPECT_FALSE(TExportCommand::Run(QString(), o, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile junk(dir.filePath("junk.tda"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("\xD1\xFF\0\0\x07\0\0\0", 8);
    junk.close();
    o.TemplateFile = junk.fileName();
    error.clear();
    EXPECT_FALSE(TExportCommand::Run(QString(), o, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("バージョンが異なります")));
    EXPECT_FALSE(QFile::exists(o.OutFile));
}

// The document lays itself out at 100 % without a widget, exactly as the editing surface lays
// it out: the export and the print pipeline render from it alone.
TEST(PageExportTest, ADocumentAloneRendersAsTheSurfaceLaysItOut) {
    const char* templates[] = {"A4/縦書き月間予定表.tda", "Hagaki/年賀状.tda", "Meishi/差し込み名刺.tda"};
    for (const char* name : templates) {
        const QString path = QStringLiteral(KOMOREBI_APP_DIR "/Template/") + QString::fromUtf8(name);
        const qsizetype widgets = QApplication::allWidgets().size();
        TPriDocument doc(QStringLiteral(KOMOREBI_APP_DIR "/"));
        const TDocumentResult loaded = doc.Load(path, 0);
        ASSERT_TRUE(loaded) << name << loaded.Reason.toStdString();
        doc.ApplyStartMonth(2027, 1);
        doc.ScaleToPaper();
        const QImage alone = TPageExport::RenderSeat(doc, 100);
        EXPECT_EQ(QApplication::allWidgets().size(), widgets) << name;

        TPriPaint surface(nullptr, QStringLiteral(KOMOREBI_APP_DIR "/"), 96, std::make_unique<TFixedPrinter>());
        ASSERT_TRUE(surface.LoadFromFile(path, 0)) << name;
        surface.ApplyStartMonth(2027, 1);
        surface.SetPageLayout(QPoint(0, 0), QSize(1000, 1000));
        EXPECT_EQ(alone, TPageExport::RenderSeat(surface.Document(), 100)) << name;
        EXPECT_EQ(doc.ViewSize(), surface.ViewSize()) << name;
    }
}

TEST(PageExportTest, YearOutOfRangeSaysSoAndTheLastYearWorks) {
    TExportOptions o;
    QString error;
    EXPECT_FALSE(
        TExportCommand::ParseArguments({"a.tda", "--out", "x.pdf", "--year", "-1", "--month", "5"}, o, &error));
    EXPECT_EQ(error, QStringLiteral("--year needs 1 to 9999"));
    QTemporaryDir dir;
    o.TemplateFile = WritePostcard(dir.path());
    o.Year = 9999;
    o.Month = 12;
    o.Dpi = 50;
    o.OutFile = dir.filePath("last.png");
    EXPECT_TRUE(TExportCommand::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << error.toStdString();
}

TEST(PageExportTest, FailedWritesSayWhatFailedAndLeaveTheTargetAlone) {
    QTemporaryDir dir;
    const QString card = WritePostcard(dir.path());
    QString a3;
    {
        TPriDocument doc{QString()};
        doc.PrintPaper.SetFields({0, 0, 1, 0, 2970, 4200, 0, 0, 0, 0, 0, 0, 1, 1, 2970, 4200});
        a3 = dir.filePath("a3.tda");
        ASSERT_TRUE(doc.Save(a3, 0));
    }
    const QString kept = dir.filePath("kept.png");
    {
        QFile old(kept);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the last good page");
    }
    struct TCase {
        QString Template;
        QString Out;
        int Dpi;
        QString Says;
    } cases[] = {
        {card, QStringLiteral("/dev/full"), 50, QStringLiteral("cannot write /dev/full: ")},
        {card, dir.filePath("no/such/folder/x.pdf"), 50, QStringLiteral("cannot write ")},
        {card, dir.filePath("no/such/folder/x.png"), 50, QStringLiteral("cannot write ")},
        // 297 x 420 mm at 2400 dpi would be 1.1 gigapixels: refused before anything is allocated.
        {a3, kept, 2400, QStringLiteral("the page at 2400 dpi would be 28062 x 39685 pixels")},
    };
    for (const TCase& c : cases) {
        TExportOptions o;
        o.TemplateFile = c.Template;
        o.Dpi = c.Dpi;
        o.OutFile = c.Out;
        QString error;
        EXPECT_FALSE(TExportCommand::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error)) << c.Out.toStdString();
        EXPECT_TRUE(error.startsWith(c.Says)) << error.toStdString();
        // The cause follows the file name.
        EXPECT_GT(error.size(), c.Says.size() + 3) << error.toStdString();
    }
    // A disk that fills up half way: the process may write 1 KB, then every write fails.
    for (const char* ext : {"pdf", "png"}) {
        TExportOptions o;
        o.TemplateFile = card;
        o.Dpi = 300;
        o.OutFile = kept.left(kept.size() - 3) + ext;
        if (!QFile::exists(o.OutFile)) QFile::copy(kept, o.OutFile);
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = before;
        small.rlim_cur = 1024;
        setrlimit(RLIMIT_FSIZE, &small);
        QString error;
        const bool ok = TExportCommand::Run(QStringLiteral(KOMOREBI_APP_DIR "/"), o, &error);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        EXPECT_FALSE(ok) << ext;
        EXPECT_TRUE(error.startsWith(QStringLiteral("cannot write %1: ").arg(o.OutFile))) << error.toStdString();
        QFile target(o.OutFile);
        ASSERT_TRUE(target.open(QIODevice::ReadOnly));
        EXPECT_EQ(target.readAll(), QByteArray("the last good page")) << ext;
    }
    QFile old(kept);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the last good page"));
    // No temporary file is left beside the targets.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("kept")).size(), 2);
}
