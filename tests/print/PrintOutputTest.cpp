// Cancelling, page ranges and what reaches the print target or the PDF.
#include "print/PipelineFixtures.h"

// Counts the seats and cancels at one of them; remembers every page file it saw.
class TCancellingProgress : public TPrintProgress {
public:
    int CancelAt = -1;
    int Steps = 0;
    TPrintPipeline* Pipeline = nullptr;
    QStringList SeenFiles;
    void Start(int) override { Steps = 0; }
    bool Step() override {
        if (Pipeline)
            for (const QString& f : Pipeline->PageFileNames())
                if (!SeenFiles.contains(f)) SeenFiles << f;
        return ++Steps != CancelAt;
    }
};

TEST(PrintPipelineTest, CancelAndFailureLeaveTheStoreIdleAndNoFilesBehind) {
    TMergeDoc m;
    m.CardSheet();
    m.AddFile("main.CSV", Records(20));
    m.Doc.RecordMainFile = "main.CSV";
    m.AddField({0, 200, 300, 50}, 1);
    struct Case {
        int mode;
        const char* detail;
        bool cancelled;
    } cases[] = {{0, "", true}, {1, "main.CSV", true},     {2, "", true},
                 {3, "", true}, {4, "missing.CSV", false}, {5, "", true}};
    for (const Case& c : cases) {
        m.Doc.PrintMode = c.mode;
        m.Doc.RecordMeisaiFile = c.detail;
        TCancellingProgress progress;
        progress.CancelAt = 12; // a seat of the first sheet, or the twelfth record in mode 1
        TPrintPipeline pipeline(m.Doc, Metrics254(), &progress);
        progress.Pipeline = &pipeline;
        EXPECT_FALSE(pipeline.BuildPrintPages()) << c.mode;
        EXPECT_EQ(pipeline.Cancelled(), c.cancelled) << c.mode;
        EXPECT_EQ(pipeline.Error().isEmpty(), c.cancelled) << c.mode;
        EXPECT_FALSE(pipeline.Pages().Printing()) << c.mode;
        EXPECT_TRUE(pipeline.PageFileNames().isEmpty()) << c.mode;
        for (const QString& f : progress.SeenFiles)
            EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
        // The same pipeline builds again at once: no "Already Printing" left over.
        progress.CancelAt = -1;
        m.Doc.RecordMeisaiFile = "main.CSV";
        EXPECT_TRUE(pipeline.BuildPrintPages()) << c.mode << pipeline.Error().toStdString();
    }
}

TEST(PrintPipelineTest, CancelledSheetFilesAreDeleted) {
    TMergeDoc m;
    m.CardSheet();
    m.AddFile("main.CSV", Records(4));
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.PrintMode = 2;
    m.AddField({0, 200, 300, 50}, 1);
    TCancellingProgress progress;
    progress.CancelAt = 40; // on the third sheet
    TPrintPipeline pipeline(m.Doc, Metrics254(), &progress);
    progress.Pipeline = &pipeline;
    EXPECT_FALSE(pipeline.BuildPrintPages());
    EXPECT_TRUE(pipeline.Cancelled());
    ASSERT_EQ(progress.SeenFiles.size(), 2);
    for (const QString& f : progress.SeenFiles)
        EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
}

TEST(PrintPipelineTest, PageRangesAndOffsets) {
    struct RangeCase {
        bool all;
        int first, last;
        int from, to;
    } ranges[] = {
        {true, 0, 0, 1, 5}, {false, 3, 9, 3, 5}, {false, 6, 2, 6, 2}, {false, 0, 2, 1, 2}, {false, 2, 2, 2, 2}};
    for (const RangeCase& c : ranges) {
        TPrintChoice choice;
        choice.AllPages = c.all;
        choice.FirstPage = c.first;
        choice.LastPage = c.last;
        int from = 0, to = 0;
        TPrintPipeline::PageRange(choice, 5, from, to);
        EXPECT_EQ(QPoint(from, to), QPoint(c.from, c.to)) << c.first << "-" << c.last;
    }

    TMergeDoc m;
    TPrinterMetrics metrics = Metrics254();
    metrics.OffsetX = 20;
    metrics.OffsetY = 30;
    metrics.Complete();
    struct OffsetCase {
        bool cards;
        int right, down;
        QPoint at;
    } offsets[] = {
        {false, 0, 0, {0, 0}},
        {false, 10, -5, {100, -50}},
        {true, 0, 0, {150 - 20, 100 - 30}},
        {true, -3, 2, {150 - 20 - 30, 100 - 30 + 20}},
    };
    for (const OffsetCase& c : offsets) {
        if (c.cards)
            m.CardSheet();
        else
            m.SingleSeat();
        TPrintPipeline pipeline(m.Doc, metrics);
        TPrintChoice choice;
        choice.ShiftRightMM = c.right;
        choice.ShiftDownMM = c.down;
        EXPECT_EQ(pipeline.PageOffset(choice), c.at) << c.cards << " " << c.right << "," << c.down;
    }
}

TEST(PrintPipelineTest, PrintingSendsTheChosenPagesAsTheModeWants) {
    // A small single-seat paper, one page per record in mode 1, one file per record in mode 2.
    for (int mode : {1, 2}) {
        for (bool jobPerSheet : {true, false}) {
            TMergeDoc m;
            m.Doc.PrintPaper.SetFields({0, 0, 1, 0, 600, 200, 0, 0, 0, 0, 0, 0, 1, 1, 600, 200});
            m.AddFile("main.CSV", Records(5));
            m.AddFile("detail.CSV", "x,y\r\n");
            m.Doc.RecordMainFile = "main.CSV";
            m.Doc.RecordMeisaiFile = "detail.CSV";
            m.Doc.PrintMode = mode;
            m.AddField({20, 20, 500, 100}, 1);
            m.Doc.ScaleToPaper();
            TPrintPipeline pipeline(m.Doc, Metrics254(QSize(600, 200)));
            ASSERT_TRUE(pipeline.BuildPrintPages());
            ASSERT_EQ(pipeline.SheetCount(), 5);
            // What each sheet looks like, drawn on its own.
            std::vector<QImage> sheets;
            for (int i = 0; i < 5; ++i) {
                QImage image(600, 200, QImage::Format_RGB32);
                image.fill(Qt::white);
                image.setDotsPerMeterX(10000);
                image.setDotsPerMeterY(10000);
                QPainter canvas(&image);
                ASSERT_TRUE(pipeline.DrawSheet(i, canvas, QPoint(0, 0)));
                canvas.end();
                sheets.push_back(image);
            }
            EXPECT_NE(sheets[2], sheets[3]);
            TPrintChoice choice;
            choice.AllPages = false;
            choice.FirstPage = 3;
            choice.LastPage = 9;
            choice.JobPerSheet = jobPerSheet;
            TImageTarget target(QSize(600, 200));
            const QStringList files = pipeline.PageFileNames();
            ASSERT_TRUE(pipeline.PrintPages(target, choice));
            const bool separate = mode == 2 && jobPerSheet;
            EXPECT_EQ(target.Log, separate ? "BEBEBE" : "BNNE") << mode;
            EXPECT_EQ(target.Title, "Velluma");
            ASSERT_EQ(target.Pages.size(), 3u);
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(target.Pages[k], sheets[2 + k]) << mode << " page " << 3 + k;
            // Printed page files are gone, the others stay until the job ends.
            for (int i = 0; i < files.size(); ++i)
                EXPECT_EQ(QFile::exists(files[i]), i < 2) << i;

            TImageTarget none(QSize(600, 200));
            choice.FirstPage = 4;
            choice.LastPage = 2;
            EXPECT_TRUE(pipeline.PrintPages(none, choice));
            EXPECT_EQ(none.Log, "");
        }
    }
}

TEST(PrintPipelineTest, PicturesReachThePdfLossless) {
    QTemporaryDir dir;
    TPrintPreview store(QSize(300, 300), 300, 300);
    QImage noise(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            noise.setPixel(x, y, QRandomGenerator::global()->generate() | 0xff000000u);
    store.BeginDoc();
    store.GetCanvas().drawImage(QRect(10, 10, 256, 256), noise);
    store.EndDoc();
    const QString name = dir.filePath("out.pdf");
    {
        QPdfWriter pdf(name);
        pdf.setResolution(300);
        TPageDeviceTarget target(pdf);
        ASSERT_TRUE(target.BeginDoc("Velluma"));
        store.GetPage(0).Draw(target.Canvas(), QPoint(0, 0));
        ASSERT_TRUE(target.EndDoc());
    }
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.contains("/Image"));
    EXPECT_FALSE(bytes.contains("DCTDecode"));
}

TEST(PrintPipelineTest, BarcodeSheetsReachThePdfAsBars) {
    TMergeDoc m;
    m.Doc.PrintPaper.SetFields({0, 0, 1, 0, 1000, 600, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 600});
    m.AddFile("main.CSV", "A,490123456789 1 1 1\r\nB,450000000001 1 1 1\r\n");
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.PrintMode = 2;
    TFieldProbe* code = m.AddField({50, 50, 900, 400}, 1);
    code->FieldState = fsBarcode;
    m.Doc.ScaleToPaper();
    const int dpi = 300;
    TPrinterMetrics metrics = Metrics254(QSize(1000 * dpi / 254, 600 * dpi / 254));
    metrics.LogPixelsX = metrics.LogPixelsY = dpi;
    metrics.Complete();
    TPrintPipeline pipeline(m.Doc, metrics);
    ASSERT_TRUE(pipeline.BuildPrintPages()) << pipeline.Error().toStdString();
    ASSERT_EQ(pipeline.SheetCount(), 2);

#ifdef KOMOREBI_HAVE_ZBAR
    // Replayed from its page file, every module is still where it was.
    QImage sheet(metrics.PhysicalWidth, metrics.PhysicalHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    sheet.setDotsPerMeterX(qRound(dpi / 0.0254));
    sheet.setDotsPerMeterY(qRound(dpi / 0.0254));
    {
        QPainter canvas(&sheet);
        ASSERT_TRUE(pipeline.DrawSheet(1, canvas, QPoint(0, 0)));
    }
    EXPECT_EQ(BarcodeTexts(sheet), QStringList({"4500000000018"}));
#endif

    QTemporaryDir dir;
    const QString name = dir.filePath("cards.pdf");
    {
        QPdfWriter pdf(name);
        pdf.setResolution(dpi);
        pdf.setPageSize(QPageSize(QSizeF(100, 60), QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        TPageDeviceTarget target(pdf);
        TPrintChoice choice;
        choice.JobPerSheet = false;
        ASSERT_TRUE(pipeline.PrintPages(target, choice)) << pipeline.Error().toStdString();
    }
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);
    // Bars, not a picture per symbol.
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));
    EXPECT_LT(bytes.size(), 40000);
}

TEST(PrintPipelineTest, PdfJobHoldsEveryChosenSheetAsAPage) {
    struct Case {
        int mode, records;
        bool all;
        int first, last;
        int pages;
    } cases[] = {{3, 16, true, 0, 0, 2}, {2, 4, true, 0, 0, 4}, {2, 4, false, 2, 3, 2}, {0, 1, true, 0, 0, 1}};
    for (const Case& c : cases) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", Records(c.records));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = c.mode;
        m.AddBox({0, 0, 100, 100});
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        TPrintChoice choice;
        choice.AllPages = c.all;
        choice.FirstPage = c.first;
        choice.LastPage = c.last;
        TOutputJob job(m.Doc);
        ASSERT_TRUE(job.ToPdf(out, 150, choice)) << job.Error().toStdString();
        EXPECT_EQ(out.data().count("/Type /Page\n"), c.pages) << c.mode << " " << c.records;
        // The card sheet's own size, not the printer's.
        EXPECT_TRUE(out.data().contains("/MediaBox [0 0 595")) << c.mode;
    }
    TMergeDoc missing;
    missing.Doc.PrintMode = 4;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TOutputJob job(missing.Doc);
    EXPECT_FALSE(job.ToPdf(out, 150, TPrintChoice()));
    EXPECT_FALSE(job.Error().isEmpty());
}

TEST(PrintPipelineTest, StreamedJobsGiveTheSheetsOfTheStoreWithoutPageFiles) {
    // Each seat mode, one job or a job per sheet, from a start seat: what is drawn straight onto
    // the target must be what the store would have printed, pixel for pixel, in the same jobs.
    struct TCase {
        int Mode;
        bool JobPerSheet;
        int StartCol, StartRow;
    } cases[] = {{2, true, 1, 0}, {2, false, 0, 0}, {3, true, 2, 4}, {3, false, 0, 0}, {5, false, 1, 1}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << (c.JobPerSheet ? " job per sheet" : " one job"));
        TMergeDoc m;
        m.CardSheet();
        // Without the digits under the bars: a replayed picture places text under a scaled
        // symbol a shade differently, and the comparison is to the pixel.
        m.AddFile("main.CSV", "A,490123456789 1 1 0\r\nB,450000000001 1 1 0\r\nC,450000000002 1 1 0\r\n"
                              "D,450000000003 1 1 0\r\n");
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = c.Mode;
        m.AddField({20, 20, 400, 60}, 0);
        m.AddField({20, 100, 500, 300}, 1)->FieldState = fsBarcode;
        m.Doc.ScaleToPaper();
        TPrintChoice choice;
        choice.JobPerSheet = c.JobPerSheet;
        choice.ShiftRightMM = 3;

        TPrintPipeline stored(m.Doc, Metrics254());
        stored.SetStartSeat(c.StartCol, c.StartRow);
        ASSERT_TRUE(stored.BuildPrintPages()) << stored.Error().toStdString();
        TImageTarget fromStore(QSize(2100, 2970));
        ASSERT_TRUE(stored.PrintPages(fromStore, choice));

        TCountingProgress progress;
        TPrintPipeline streamed(m.Doc, Metrics254(), &progress);
        streamed.SetStartSeat(c.StartCol, c.StartRow);
        TImageTarget direct(QSize(2100, 2970));
        ASSERT_TRUE(streamed.BuildAndPrint(direct, choice)) << streamed.Error().toStdString();
        EXPECT_TRUE(streamed.PageFileNames().isEmpty());
        // Nothing is kept to draw or print again.
        QImage image(10, 10, QImage::Format_RGB32);
        QPainter canvas(&image);
        EXPECT_FALSE(streamed.DrawSheet(0, canvas, QPoint()));
        canvas.end();
        TImageTarget again(QSize(2100, 2970));
        EXPECT_FALSE(streamed.PrintPages(again, choice));
        EXPECT_EQ(again.Log, "");
        EXPECT_EQ(streamed.SheetCount(), stored.SheetCount());
        EXPECT_EQ(progress.Steps, progress.Maximum);
        EXPECT_EQ(direct.Log, fromStore.Log);
        ASSERT_EQ(direct.Pages.size(), fromStore.Pages.size());
        for (size_t k = 0; k < direct.Pages.size(); ++k) {
            EXPECT_EQ(direct.Pages[k], fromStore.Pages[k]) << "page " << k + 1;
#ifdef KOMOREBI_HAVE_ZBAR
            const QStringList codes = BarcodeTexts(direct.Pages[k]);
            EXPECT_FALSE(codes.isEmpty()) << "page " << k + 1;
            EXPECT_EQ(codes, BarcodeTexts(fromStore.Pages[k])) << "page " << k + 1;
#endif
        }
    }

    // A cancel, and a target that fails, end the job under way and leave nothing behind.
    TMergeDoc m;
    m.CardSheet();
    m.AddFile("main.CSV", Records(40));
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.PrintMode = 3;
    m.AddField({20, 20, 400, 60}, 1);
    TCountingProgress cancel;
    cancel.CancelAt = 20;
    TPrintPipeline cancelled(m.Doc, Metrics254(), &cancel);
    TImageTarget target(QSize(2100, 2970));
    TPrintChoice one;
    one.JobPerSheet = false;
    EXPECT_FALSE(cancelled.BuildAndPrint(target, one));
    EXPECT_TRUE(cancelled.Cancelled());
    EXPECT_EQ(target.Log, "BNA");
    EXPECT_FALSE(cancelled.Pages().Printing());

    class TFailingTarget : public TImageTarget {
    public:
        using TImageTarget::TImageTarget;
        bool NewPage() override { return false; }
        QString Error() const override { return QStringLiteral("紙がありません"); }
    } failing(QSize(2100, 2970));
    TPrintPipeline broken(m.Doc, Metrics254());
    EXPECT_FALSE(broken.BuildAndPrint(failing, one));
    EXPECT_EQ(broken.Error(), QStringLiteral("紙がありません"));
    EXPECT_EQ(failing.Log, "BA");
}
