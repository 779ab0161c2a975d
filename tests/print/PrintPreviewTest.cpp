#include "document/PriDocument.h"
#include "print/PageBuilder.h"
#include "print/PageFiles.h"
#include "print/PrintPipeline.h"
#include "print/PrintPreview.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Bounds of the pixels of one colour.
QRect FindColour(const QImage& image, QColor colour) {
    QRect found;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) found |= QRect(x, y, 1, 1);
    return found;
}

QImage DeviceImage(QSize size, int dpi) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

// True when the page draws nothing.
bool Blank(const TMetafileEx& page) {
    QImage image = DeviceImage(page.PagePixels(), page.DpiX());
    QPainter canvas(&image);
    canvas.fillRect(image.rect(), Qt::white);
    page.Draw(canvas, QPoint(0, 0));
    canvas.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

std::string Raised(const std::function<void()>& call) {
    try {
        call();
    } catch (const EPrintPreviewError& e) {
        return e.what();
    }
    return "(nothing raised)";
}

} // namespace

TEST(PrintPreviewTest, CallsOutOfOrderRaiseAndLeaveTheStateAsItWas) {
    TPrintPreview store(QSize(100, 100), 600, 600);
    EXPECT_EQ(Raised([&] { store.NewPage(); }), "TPrintPreview.NewPage: not Printing");
    EXPECT_EQ(Raised([&] { store.EndDoc(); }), "TPrintPreview.EndDoc: not Printing");
    EXPECT_EQ(Raised([&] { store.GetCanvas(); }), "TPrintPreview.GetCanvas: not Printing");
    EXPECT_EQ(Raised([&] { store.GetPage(0); }), "TPrinterCanvas.GetPage: Index is out of Range");

    // Begin and end at once leave exactly one empty page.
    store.BeginDoc();
    store.EndDoc();
    ASSERT_EQ(store.PageCount(), 1);
    EXPECT_TRUE(Blank(store.GetPage(0)));
    EXPECT_EQ(Raised([&] { store.GetPage(1); }), "TPrinterCanvas.GetPage: Index is out of Range");
    EXPECT_EQ(Raised([&] { store.GetPage(-1); }), "TPrinterCanvas.GetPage: Index is out of Range");

    store.BeginDoc();
    store.NewPage();
    // Even a page that exists is refused while recording.
    EXPECT_EQ(Raised([&] { store.GetPage(0); }), "TPrinterPreview.GetPage: Pages cannot be used when printing");
    EXPECT_EQ(Raised([&] { store.BeginDoc(); }), "TPrintPreview: BeginDoc: Already Printing");
    EXPECT_TRUE(store.Printing());
    EXPECT_EQ(store.PageCount(), 2);
    store.GetCanvas().fillRect(0, 0, 10, 10, Qt::black);
    store.EndDoc();
    EXPECT_FALSE(Blank(store.GetPage(1)));
    EXPECT_TRUE(Blank(store.GetPage(0)));
}

TEST(PrintPreviewTest, FontPenAndBrushCarryToTheNextPage) {
    TPrintPreview store(QSize(100, 100), 600, 600);
    store.BeginDoc();
    // A fresh canvas starts with 9 points at the printer's resolution.
    EXPECT_EQ(store.GetCanvas().font().pointSize(), TPrintPreview::kStartPoints);
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(21);
    font.setBold(true);
    store.GetCanvas().setFont(font);
    store.GetCanvas().setPen(QPen(Qt::blue, 7));
    store.GetCanvas().setBrush(Qt::green);
    store.GetCanvas().setCompositionMode(QPainter::CompositionMode_Multiply);
    store.NewPage();
    QPainter& next = store.GetCanvas();
    EXPECT_EQ(next.font().pointSize(), 21);
    EXPECT_TRUE(next.font().bold());
    EXPECT_EQ(next.pen().color(), QColor(Qt::blue));
    EXPECT_EQ(next.pen().width(), 7);
    EXPECT_EQ(next.brush().color(), QColor(Qt::green));
    EXPECT_EQ(next.compositionMode(), QPainter::CompositionMode_Multiply);
    store.EndDoc();
}

TEST(PrintPreviewTest, PagesReplayAtTheirDevicePixelsWhateverTheTargetsClip) {
    TPrintPreview store(QSize(1200, 1200), 600, 600);
    store.BeginDoc();
    store.GetCanvas().fillRect(100, 200, 300, 60, Qt::red);
    // 72 points at 600 dpi: the capital is several hundred pixels high, not a 96 dpi sixth of it.
    QFont font(QStringLiteral("IPAGothic"));
    font.setPointSize(72);
    store.GetCanvas().setFont(font);
    store.GetCanvas().setPen(Qt::blue);
    store.GetCanvas().drawText(QPoint(100, 1000), QStringLiteral("H"));
    store.EndDoc();

    QImage image = DeviceImage(QSize(1200, 1200), 600);
    {
        QPainter canvas(&image);
        canvas.setClipRect(0, 0, 10, 10);
        store.GetPage(0).Draw(canvas, QPoint(5, 7));
        EXPECT_EQ(canvas.clipRegion().boundingRect(), QRect(0, 0, 10, 10));
    }
    EXPECT_EQ(FindColour(image, Qt::red), QRect(105, 207, 300, 60));
    const QRect glyph = FindColour(image, Qt::blue);
    EXPECT_GT(glyph.height(), 350);
    EXPECT_LT(glyph.height(), 650);

    // Stretched into a rectangle half the size on a 96 dpi screen image.
    QImage screen = DeviceImage(QSize(600, 600), 96);
    {
        QPainter canvas(&screen);
        store.GetPage(0).Draw(canvas, QRect(0, 0, 600, 600));
    }
    EXPECT_EQ(FindColour(screen, Qt::red), QRect(50, 100, 150, 30));
}

TEST(PrintPreviewTest, PagesSaveAndLoadThroughFiles) {
    QTemporaryDir dir;
    TPrintPreview store(QSize(400, 400), 300, 300);
    store.BeginDoc();
    store.GetCanvas().fillRect(10, 20, 30, 40, Qt::red);
    store.EndDoc();
    const QString name = dir.filePath(QStringLiteral("page.TMP"));
    ASSERT_TRUE(store.SavePage(0, name));

    store.BeginDoc();
    store.EndDoc();
    ASSERT_TRUE(store.LoadPage(0, name));
    QImage image = DeviceImage(QSize(400, 400), 300);
    {
        QPainter canvas(&image);
        store.GetPage(0).Draw(canvas, QPoint(0, 0));
    }
    EXPECT_EQ(FindColour(image, Qt::red), QRect(10, 20, 30, 40));

    // A file that is not there leaves the page empty, not the old content.
    EXPECT_FALSE(store.LoadPage(0, dir.filePath(QStringLiteral("missing.TMP"))));
    EXPECT_TRUE(Blank(store.GetPage(0)));
    EXPECT_THROW(store.LoadPage(1, name), EPrintPreviewError);
}

TEST(PageFilesTest, NamesLieInAPrivateFolderThatGoesWithTheJob) {
    QString folder;
    QStringList names;
    {
        TPageFiles files;
        for (int i = 0; i < 3; ++i) {
            const QString name = files.NextName();
            ASSERT_FALSE(name.isEmpty());
            EXPECT_EQ(QFileInfo(name).fileName(), QStringLiteral("PTemp%1.TMP").arg(i));
            QFile f(name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            files.Add(name);
        }
        names = files.Names();
        folder = files.Folder();
        // Not the shared temporary folder itself, and only for this user.
        EXPECT_NE(QDir(folder).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
        EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup), 0);
        TPageFiles::Remove(names[1]);
        EXPECT_FALSE(QFile::exists(names[1]));
    }
    for (const QString& name : names)
        EXPECT_FALSE(QFile::exists(name));
    EXPECT_FALSE(QDir(folder).exists());
}

// The page store replays a shipped template as the direct print drawing draws it: text in points,
// vertical glyph runs, calendars and pictures all survive the recording.
TEST(PrintPreviewTest, ShippedTemplatesReplayAsTheyDrawDirectly) {
    const char* templates[] = {"A4/縦書き月間予定表.tda", "A5/シンプル月めくり.tda", "Hagaki/年賀状.tda"};
    for (const char* name : templates) {
        TPriDocument doc(QStringLiteral(KOMOREBI_APP_DIR "/"));
        const TDocumentResult loaded =
            doc.Load(QStringLiteral(KOMOREBI_APP_DIR "/Template/") + QString::fromUtf8(name), 0);
        ASSERT_TRUE(loaded) << name << loaded.Reason.toStdString();
        doc.ApplyStartMonth(2027, 1);
        doc.ScaleToPaper();
        const int dpi = 100;
        const QSize pixels(doc.PrintPaper.PageWidth() * dpi / 254, doc.PrintPaper.PageHeight() * dpi / 254);
        TPrinterMetrics m;
        m.LogPixelsX = m.LogPixelsY = dpi;
        m.PhysicalWidth = m.HorzRes = pixels.width();
        m.PhysicalHeight = m.VertRes = pixels.height();
        m.Complete();

        QImage direct = DeviceImage(pixels, dpi);
        {
            QPainter canvas(&direct);
            TPageBuilder(doc, m).DrawPlainSheet(canvas);
        }
        TPrintPipeline pipeline(doc, m);
        ASSERT_TRUE(pipeline.BuildPrintPages()) << name;
        QImage replayed = DeviceImage(pixels, dpi);
        {
            QPainter canvas(&replayed);
            ASSERT_TRUE(pipeline.DrawSheet(0, canvas, QPoint(0, 0)));
        }
        int differing = 0, inked = 0;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = replayed.pixel(x, y);
                inked += qGray(a) < 200;
                differing += std::abs(qGray(a) - qGray(b)) > 64;
            }
        EXPECT_GT(inked, 1000) << name;
        // Edges may fall a pixel apart; whole words or lines may not.
        EXPECT_LT(differing, inked / 50 + 20) << name << ": " << differing << " of " << inked;
    }
}
