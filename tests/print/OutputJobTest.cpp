#include "PipelineFixtures.h"

#include "app/ExportCommand.h"
#include "merge/FieldUnit.h"
#include "objects/PriShape.h"
#include "objects/VerticalText.h"
#include "print/OutputJob.h"

#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// Pixels that differ by more than a shade, per thousand.
int DifferentPerMille(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1000;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 differ = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            if (std::abs(qGray(p[col]) - qGray(q[col])) > 32) ++differ;
    }
    return int(differ * 1000 / (qint64(x.width()) * x.height()));
}

// An eighth of the size, smoothed: a glyph placed a pixel apart no longer counts.
QImage Coarse(const QImage& page) {
    return page.scaled(page.size() / 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Blank(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// The pages of a PDF at 150 dpi, rendered by poppler.
std::vector<QImage> Rendered(const QString& pdf, const QString& prefix) {
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("150"), QStringLiteral("-png"), pdf, prefix});
    std::vector<QImage> pages;
    QStringList files =
        QFileInfo(prefix).dir().entryList({QFileInfo(prefix).fileName() + "-*.png"}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        pages.emplace_back(QFileInfo(prefix).dir().filePath(f));
    return pages;
}

// The words pdftotext finds in a PDF, per left edge to the point, read top to bottom.
std::map<int, QString> Columns(const QString& pdf) {
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    run.waitForFinished(30000);
    std::map<int, std::map<double, QString>> columns;
    static const QRegularExpression word(QStringLiteral(R"re(xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]+)<)re"));
    for (auto m = word.globalMatch(QString::fromUtf8(run.readAllStandardOutput())); m.hasNext();) {
        const auto w = m.next();
        columns[int(w.captured(1).toDouble())][w.captured(2).toDouble()] += w.captured(3);
    }
    std::map<int, QString> read;
    for (const auto& [left, words] : columns)
        for (const auto& [top, w] : words)
            read[left] += w;
    return read;
}

} // namespace

// Every mode drawn sheet by sheet onto its target, or one sheet at a time for the preview, gives
// the pages the store records: the same count, the same content at 150 dpi.
TEST(OutputJobTest, StreamedAndLazyPagesAreTheRecordedOnes) {
    struct Case {
        int mode;
        bool cards;
        int records;
        std::vector<int> details;
    } cases[] = {
        {0, true, 0, {}},   {0, false, 0, {}},     {1, false, 3, {7, 0, 12}}, {1, false, 0, {}},
        {4, true, 17, {3}}, {4, false, 2, {4, 9}}, {2, true, 3, {}},          {3, true, 20, {}},
    };
    for (const Case& c : cases) {
        TMergeDoc m;
        if (c.cards) m.CardSheet();
        m.Doc.PrintMode = c.mode;
        auto frame = std::make_unique<TPriShape>();
        frame->Shape = TBltShape::RectAngle;
        frame->SamePSize = 3;
        frame->SetStoreRect({20, 20, 300, 200});
        m.Doc.AppendObject(std::move(frame));
        if (c.records > 0) {
            m.AddFile("main.CSV", Records(c.records));
            m.Doc.RecordMainFile = "main.CSV";
            if (!c.details.empty()) {
                QByteArray details;
                for (int i = 0; i < c.records; ++i)
                    details += Details("R" + QByteArray::number(i), c.details[size_t(i) % c.details.size()]);
                m.AddFile("detail.CSV", details);
                m.Doc.RecordMeisaiFile = "detail.CSV";
            }
        }
        MakeStatement(m, c.mode == 1 || c.mode == 4);
        m.Doc.ScaleToPaper();
        const TPrinterMetrics metrics = TOutputJob::SheetMetrics(m.Doc, 150);
        const QSize size(metrics.PhysicalWidth, metrics.PhysicalHeight);
        const std::string label = "mode " + std::to_string(c.mode) + (c.cards ? " cards" : " page");

        TPrintPipeline recorded(m.Doc, metrics);
        ASSERT_TRUE(recorded.BuildPrintPages()) << label << recorded.Error().toStdString();
        TCountingProgress progress;
        TPrintPipeline streamed(m.Doc, metrics, &progress);
        TImageTarget target(size);
        TPrintChoice all;
        all.JobPerSheet = false;
        ASSERT_TRUE(streamed.BuildAndPrint(target, all)) << label;
        TPrintPipeline lazy(m.Doc, metrics);
        TPrintPreview preview(size, 150, 150);
        preview.SetSource(lazy.CountSheets(), [&](int n, QPainter& canvas) { return lazy.RenderSheet(n, canvas); });

        const int count = recorded.SheetCount();
        ASSERT_EQ(int(target.Pages.size()), count) << label;
        // Statements step by page, so one long statement moves the progress and can be cancelled.
        EXPECT_EQ(progress.Steps, progress.Maximum) << label;
        if (c.mode == 1) EXPECT_EQ(progress.Maximum, count) << label;
        ASSERT_EQ(preview.PageCount(), count) << label;
        // Backwards, so each preview page is built alone from the middle of the job.
        for (int i = count - 1; i >= 0; --i) {
            // The job puts the sheet at its place on the printer; the preview at the corner.
            QImage stored = Blank(size), placed = Blank(size), shown = Blank(size);
            {
                QPainter canvas(&stored);
                ASSERT_TRUE(recorded.DrawSheet(i, canvas, QPoint()));
            }
            {
                QPainter canvas(&placed);
                ASSERT_TRUE(recorded.DrawSheet(i, canvas, recorded.PageOffset(all)));
            }
            {
                QPainter canvas(&shown);
                preview.GetPage(i).Draw(canvas, QPoint());
            }
            EXPECT_LE(DifferentPerMille(placed, target.Pages[size_t(i)]), 2) << label << " sheet " << i;
            EXPECT_LE(DifferentPerMille(stored, shown), 2) << label << " sheet " << i;
            EXPECT_NE(stored, Blank(size)) << label << " sheet " << i;
        }
    }
}

// The window's Print onto a PDF printer and the command line's export give the same pages:
// count, size and content at 150 dpi, for every shipped template and a landscape sheet.
TEST(OutputJobTest, TheWindowAndTheCommandLineGiveTheSamePages) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) GTEST_SKIP() << "pdftoppm is needed";
    const QString app = QStringLiteral(KOMOREBI_APP_DIR "/");
    QTemporaryDir dir;
    QStringList templates;
    for (QDirIterator it(app + "Template", {"*.tda"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        templates << it.next();
    templates.sort();
    ASSERT_FALSE(templates.isEmpty());
    {
        // A landscape card sheet: 2 x 2 seats on A4 lying down.
        TPriDocument doc(app);
        doc.PrintPaper.SetFields({0, 0, 0, 0, 2100, 2970, 150, 100, 0, 0, 0, 0, 2, 2, 1200, 900});
        auto frame = std::make_unique<TPriShape>();
        frame->Shape = TBltShape::RectAngle;
        frame->SamePSize = 3;
        frame->SetStoreRect({50, 50, 1000, 700});
        doc.AppendObject(std::move(frame));
        templates << dir.filePath("landscape.tda");
        ASSERT_TRUE(doc.Save(templates.back(), 0));
    }
    int n = 0;
    for (const QString& file : templates) {
        const QString cli = dir.filePath(QStringLiteral("cli%1.pdf").arg(n)),
                      gui = dir.filePath(QStringLiteral("gui%1.pdf").arg(n));
        ++n;
        TExportOptions o;
        o.TemplateFile = file;
        o.OutFile = cli;
        o.Dpi = 150;
        QString error;
        ASSERT_TRUE(TExportCommand::Run(app, o, &error)) << file.toStdString() << error.toStdString();

        TPriDocument doc(app);
        ASSERT_TRUE(doc.Load(file, 0));
        doc.ApplyStartMonth(-1, -1);
        doc.ScaleToPaper();
        TRecordUnit records;
        TFieldUnit fields;
        if (doc.PrintMode > 0) {
            for (const QString& name : {doc.RecordMainFile, doc.RecordMeisaiFile})
                if (!name.isEmpty()) records.AddFile(app + "recordfile/" + name);
            fields.LoadFolder(app + "fieldfile/");
            doc.RecordUnit = &records;
            doc.FieldUnit = &fields;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(gui);
        printer.setResolution(150);
        TOutputJob job(doc);
        ASSERT_TRUE(job.ToPrinter(printer, TPrintChoice())) << file.toStdString() << job.Error().toStdString();

        const std::vector<QImage> a = Rendered(cli, dir.filePath(QStringLiteral("c%1").arg(n)));
        const std::vector<QImage> b = Rendered(gui, dir.filePath(QStringLiteral("g%1").arg(n)));
        ASSERT_EQ(a.size(), b.size()) << file.toStdString();
        ASSERT_FALSE(a.empty()) << file.toStdString();
        for (size_t p = 0; p < a.size(); ++p) {
            EXPECT_EQ(a[p].size(), b[p].size()) << file.toStdString() << " page " << p;
            // A printer's page is the sheet to the pixel, the export's a pixel less where the
            // sheet's millimetres fall between two: the same content, a shade apart.
            EXPECT_LE(DifferentPerMille(Coarse(a[p]), Coarse(b[p])), 10) << file.toStdString() << " page " << p;
        }
        if (file.endsWith("landscape.tda")) EXPECT_GT(a[0].width(), a[0].height());
    }
}

// Vertical text reaches a PDF as text: the New Year card's greeting stands in one column beside the
// calendar's horizontal text, and the vertical forms of brackets, small kana and marks, which the font's
// character map lacks, give back their characters whether drawn one by one or gathered.
TEST(OutputJobTest, VerticalTextIsTextInAPdf) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "pdftotext is needed";
    const QString app = QStringLiteral(KOMOREBI_APP_DIR "/");
    QTemporaryDir dir;
    TExportOptions o;
    o.TemplateFile = app + QStringLiteral("Template/Hagaki/年賀状.tda");
    o.OutFile = dir.filePath(QStringLiteral("card.pdf"));
    QString error;
    ASSERT_TRUE(TExportCommand::Run(app, o, &error)) << error.toStdString();
    QStringList card;
    for (const auto& [left, text] : Columns(o.OutFile))
        card << text;
    EXPECT_TRUE(card.contains(QStringLiteral("謹賀新年"))) << card.join('|').toStdString();
    EXPECT_TRUE(card.contains(QStringLiteral("旧年中は大変お世話になりました"))) << card.join('|').toStdString();
    // The calendar's weekdays stand in a row, horizontal text as before.
    EXPECT_TRUE(card.contains(QStringLiteral("火5")) && card.contains(QStringLiteral("水")))
        << card.join('|').toStdString();

    const std::u32string text = U"「ちょっと、ー」漢字。";
    const QString file = dir.filePath(QStringLiteral("column.pdf"));
    {
        QPdfWriter pdf(file);
        pdf.setResolution(300);
        QPainter p(&pdf);
        QFont f(QStringLiteral("IPAMincho"));
        f.setPixelSize(60);
        auto column = TVerticalText::For(f);
        column->DrawColumn(p, 400, 100, text);
        TVerticalText::TRuns runs;
        double top = 100;
        for (char32_t c : text) {
            column->Gather(runs, 800, top, c);
            top += column->Advance(c);
        }
        column->DrawRuns(p, runs);
    }
    const std::map<int, QString> columns = Columns(file);
    ASSERT_EQ(columns.size(), 2u);
    for (const auto& [left, read] : columns)
        EXPECT_EQ(read, QString::fromStdU32String(text)) << left;
}
