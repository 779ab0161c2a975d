#include "document/PriPaint.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "merge/RecordUnit.h"
#include "print/PageDeviceTarget.h"
#include "print/PrintJob.h"
#include "print/PrintPipeline.h"
#include "print/PrintProgress.h"
#include "print/PrintTarget.h"
#include "support/BoxObject.h"
#include "support/FixedPrinter.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

#ifdef KOMOREBI_HAVE_ZBAR
#include <zbar.h>
using namespace zbar;
#endif

namespace {

// Where a drawing happened: the sheet being recorded and the target rectangle.
struct THit {
    int Sheet;
    QRect Rect;
    QString Text;
};

int CurrentSheet(TPrintPipeline* p) {
    return p ? int(p->PageFileNames().size()) + p->Pages().PageCount() - 1 : -1;
}

class TFieldProbe : public TPriField {
public:
    TPrintPipeline* Pipeline = nullptr;
    std::vector<THit> Hits;
    void PrintDraw(QPainter& canvas, const QRect& target, bool single, QPoint origin, const TRect& margins,
                   const QRect& clip) override {
        Hits.push_back({CurrentSheet(Pipeline), target, DataString()});
        TPriField::PrintDraw(canvas, target, single, origin, margins, clip);
    }
    std::vector<THit> OnSheet(int sheet) const {
        std::vector<THit> out;
        for (const THit& h : Hits)
            if (h.Sheet == sheet) out.push_back(h);
        return out;
    }
    QStringList Texts(int sheet) const {
        QStringList out;
        for (const THit& h : OnSheet(sheet))
            out << h.Text;
        return out;
    }
};

class TBoxProbe : public TBoxObject {
public:
    TPrintPipeline* Pipeline = nullptr;
    std::vector<THit> Hits;
    void PrintDraw(QPainter&, const QRect& target, bool, QPoint, const TRect&, const QRect&) override {
        Hits.push_back({CurrentSheet(Pipeline), target, QString()});
    }
    std::vector<QPoint> Origins(int sheet) const {
        std::vector<QPoint> out;
        for (const THit& h : Hits)
            if (h.Sheet == sheet) out.push_back(h.Rect.topLeft());
        return out;
    }
};

// 254 dpi: one device pixel per 0.1 mm, no unprintable edges.
TPrinterMetrics Metrics254(QSize sheet = QSize(2100, 2970)) {
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = 254;
    m.PhysicalWidth = m.HorzRes = sheet.width();
    m.PhysicalHeight = m.VertRes = sheet.height();
    m.Complete();
    return m;
}

QByteArray Records(int count, const char* prefix = "R") {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(prefix) + QByteArray::number(i) + ",Name" + QByteArray::number(i) + "\r\n";
    return text;
}

QByteArray Details(const QByteArray& key, int rows) {
    QByteArray text;
    for (int k = 1; k <= rows; ++k)
        text += key + ",item" + QByteArray::number(k) + "\r\n";
    return text;
}

class TMergeDoc {
public:
    QTemporaryDir Dir;
    TRecordUnit RecordSet;
    TPriPaint Doc{nullptr, QString(), 96, std::make_unique<TFixedPrinter>()};
    std::vector<TFieldProbe*> Fields;
    std::vector<TBoxProbe*> Boxes;

    TMergeDoc() {
        Doc.RecordUnit = &RecordSet;
        SingleSeat();
    }
    void SingleSeat() { Doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970}); }
    // 3 columns by 5 rows of 60 x 50 mm seats, the first 15 mm from the left and 10 mm from the top.
    void CardSheet(int cols = 3, int rows = 5, int w = 600, int h = 500) {
        Doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 150, 100, 0, 0, 0, 0, cols, rows, w, h});
    }
    void AddFile(const QString& name, const QByteArray& text) {
        QFile f(Dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        ASSERT_TRUE(RecordSet.AddFile(Dir.filePath(name)));
    }
    TFieldProbe* AddField(QRect store, int category, const QString& name = QStringLiteral("名前")) {
        auto f = std::make_unique<TFieldProbe>();
        f->SetStoreRect(store);
        f->CategoryNum = category;
        f->SetCategoryName(name);
        f->SameFSize = 20;
        Fields.push_back(static_cast<TFieldProbe*>(Doc.AppendObject(std::move(f))));
        return Fields.back();
    }
    TBoxProbe* AddBox(QRect store) {
        auto b = std::make_unique<TBoxProbe>();
        b->SetStoreRect(store);
        Boxes.push_back(static_cast<TBoxProbe*>(Doc.AppendObject(std::move(b))));
        return Boxes.back();
    }
    TPriPortal* AddPortal(QRect store, int rows) {
        auto p = std::make_unique<TPriPortal>();
        p->SetStoreRect(store);
        p->SetRows(rows);
        return static_cast<TPriPortal*>(Doc.AppendObject(std::move(p)));
    }
    void Attach(TPrintPipeline& pipeline) {
        for (auto* f : Fields)
            f->Pipeline = &pipeline;
        for (auto* b : Boxes)
            b->Pipeline = &pipeline;
    }
};

// A statement: a name field, the counters, a portal of 5 rows of 5 mm and an item field in its first row.
struct TStatement {
    TFieldProbe* Name;
    TFieldProbe* Current;
    TFieldProbe* Total;
    TFieldProbe* Item;
};

TStatement MakeStatement(TMergeDoc& m, bool withPortal = true) {
    TStatement s;
    s.Name = m.AddField({100, 100, 500, 50}, 1);
    s.Current = m.AddField({100, 200, 200, 50}, 9, TPriField::kCurrentRecordName);
    s.Total = m.AddField({400, 200, 200, 50}, 9, TPriField::kTotalRecordName);
    if (withPortal) m.AddPortal({100, 1000, 1000, 250}, 5);
    s.Item = m.AddField({150, 1010, 300, 30}, 1);
    return s;
}

class TCountingProgress : public TPrintProgress {
public:
    int Maximum = -1;
    int Steps = 0;
    int CancelAt = -1;
    void Start(int maximum) override { Maximum = maximum; }
    bool Step() override { return ++Steps != CancelAt; }
};

// Keeps every page as a picture and logs the job calls: B begin, N new page, E end, A abort.
class TImageTarget : public TPrintTarget {
public:
    explicit TImageTarget(QSize size) : fSize(size) {}
    QString Log;
    std::vector<QImage> Pages;
    bool BeginDoc(const QString& title) override {
        Title = title;
        Log += 'B';
        Open();
        return true;
    }
    bool NewPage() override {
        Log += 'N';
        fCanvas.end();
        Open();
        return true;
    }
    bool EndDoc() override {
        Log += 'E';
        fCanvas.end();
        return true;
    }
    void Abort() override {
        Log += 'A';
        fCanvas.end();
    }
    QPainter& Canvas() override { return fCanvas; }
    QString Error() const override { return QString(); }
    QString Title;

private:
    void Open() {
        Pages.emplace_back(fSize, QImage::Format_RGB32);
        Pages.back().fill(Qt::white);
        Pages.back().setDotsPerMeterX(10000);
        Pages.back().setDotsPerMeterY(10000);
        fCanvas.begin(&Pages.back());
    }
    QSize fSize;
    QPainter fCanvas;
};

#ifdef KOMOREBI_HAVE_ZBAR
// The data of every symbol ZBar finds in the picture.
QStringList ReadBarcodes(const QImage& image) {
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    std::vector<unsigned char> pixels;
    for (int y = 0; y < gray.height(); ++y)
        pixels.insert(pixels.end(), gray.constScanLine(y), gray.constScanLine(y) + gray.width());
    zbar_image_scanner_t* scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 1);
    zbar_image_t* z = zbar_image_create();
    zbar_image_set_format(z, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(z, unsigned(gray.width()), unsigned(gray.height()));
    zbar_image_set_data(z, pixels.data(), pixels.size(), nullptr);
    zbar_scan_image(scanner, z);
    QStringList found;
    for (const zbar_symbol_t* s = zbar_image_first_symbol(z); s; s = zbar_symbol_next(s))
        found << QString::fromUtf8(zbar_symbol_get_data(s));
    zbar_image_destroy(z);
    zbar_image_scanner_destroy(scanner);
    return found;
}
#endif

} // namespace

TEST(PrintPipelineTest, InPortalBandEdges) {
    const QRect band(100, 1000, 1000, 50);
    struct Case {
        const char* name;
        QRect x;
        bool inside;
    } cases[] = {
        {"well inside", {150, 1010, 300, 30}, true},
        {"left edge shared", {100, 1000, 10, 10}, true},
        {"left of the band", {99, 1010, 10, 10}, false},
        {"reaches the right edge", {150, 1010, 950, 10}, false},
        {"reaches the bottom edge", {150, 1010, 10, 40}, false},
        {"above the band", {150, 999, 10, 10}, false},
        {"in a later row", {150, 1060, 10, 10}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TPrintPipeline::InPortalBand(band, c.x), c.inside) << c.name;
}

TEST(PrintPipelineTest, RecordPagesSplitDetailRowsOverThePortalRows) {
    TMergeDoc m;
    m.AddFile("main.CSV", "A,Alice\r\nB,Bob\r\n");
    m.AddFile("detail.CSV", Details("A", 12));
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.RecordMeisaiFile = "detail.CSV";
    m.Doc.PrintMode = 1;
    const TStatement s = MakeStatement(m);
    for (auto& obj : m.Doc.Objects())
        obj->Tag = 7;
    TPrintPipeline pipeline(m.Doc, Metrics254());
    m.Attach(pipeline);
    ASSERT_TRUE(pipeline.BuildPrintPages()) << pipeline.Error().toStdString();

    // Twelve rows over five: rows 0-4, 5-9, 10-11; Bob has none and still gets one page.
    ASSERT_EQ(pipeline.SheetCount(), 4);
    EXPECT_EQ(s.Item->Texts(0), QStringList({"item1", "item2", "item3", "item4", "item5"}));
    EXPECT_EQ(s.Item->Texts(1), QStringList({"item6", "item7", "item8", "item9", "item10"}));
    EXPECT_EQ(s.Item->Texts(2), QStringList({"item11", "item12", "", "", ""}));
    EXPECT_EQ(s.Item->Texts(3), QStringList({"", "", "", "", ""}));
    const auto rows = s.Item->OnSheet(0);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(rows[k].Rect, QRect(150, 1010 + 50 * k, 300, 30)) << k;
    for (int sheet = 0; sheet < 4; ++sheet) {
        const bool alice = sheet < 3;
        EXPECT_EQ(s.Name->Texts(sheet), QStringList({alice ? "Alice" : "Bob"})) << sheet;
        EXPECT_EQ(s.Current->Texts(sheet), QStringList({QString::number(alice ? sheet + 1 : 1)})) << sheet;
        EXPECT_EQ(s.Total->Texts(sheet), QStringList({alice ? "3" : "1"})) << sheet;
    }
    // The build marks what it drew in a set of its own: the undo step finds its objects by Tag.
    for (auto& obj : m.Doc.Objects())
        EXPECT_EQ(obj->Tag, 7);
    EXPECT_FALSE(pipeline.Pages().Printing());
}

TEST(PrintPipelineTest, RecordPagesCountPagesByDetailRows) {
    struct Case {
        int rows;
        int pages;
    } cases[] = {{0, 1}, {1, 1}, {5, 1}, {6, 2}, {10, 2}, {11, 3}, {12, 3}};
    for (const Case& c : cases) {
        TMergeDoc m;
        m.AddFile("main.CSV", "A,Alice\r\n");
        m.AddFile("detail.CSV", c.rows ? Details("A", c.rows) : QByteArray("Z,other\r\n"));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.RecordMeisaiFile = "detail.CSV";
        m.Doc.PrintMode = 1;
        MakeStatement(m);
        TPrintPipeline pipeline(m.Doc, Metrics254());
        ASSERT_TRUE(pipeline.BuildPrintPages());
        EXPECT_EQ(pipeline.SheetCount(), c.pages) << c.rows << " rows";
    }
}

TEST(PrintPipelineTest, RecordPagesWithoutPortalsGiveOnePagePerRecord) {
    TMergeDoc m;
    m.AddFile("main.CSV", Records(3));
    m.AddFile("detail.CSV", Details("R0", 40));
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.RecordMeisaiFile = "detail.CSV";
    m.Doc.PrintMode = 1;
    const TStatement s = MakeStatement(m, false);
    TPrintPipeline pipeline(m.Doc, Metrics254());
    m.Attach(pipeline);
    ASSERT_TRUE(pipeline.BuildPrintPages());
    ASSERT_EQ(pipeline.SheetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.Item->Texts(i), QStringList({QStringLiteral("Name%1").arg(i)}));
}

TEST(PrintPipelineTest, MissingRecordFilesPerMode) {
    struct Case {
        const char* name;
        int mode;
        bool main, detail;
        bool builds;
        QString placeholder;
    } cases[] = {
        {"mode 1 without either file shows placeholders", 1, false, false, true, "00000000"},
        {"mode 1 without its detail file", 1, true, false, false, ""},
        {"mode 1 without its main file", 1, false, true, false, ""},
        {"mode 2 without its main file", 2, false, false, true, "0000000"},
        {"mode 5 without its main file", 5, false, false, true, "0000000"},
        {"mode 3 without its main file", 3, false, false, true, "000000"},
        {"mode 4 without either file", 4, false, false, false, ""},
        {"mode 4 without its detail file", 4, true, false, false, ""},
        {"mode 4 without its main file", 4, false, true, false, ""},
    };
    for (const Case& c : cases) {
        TMergeDoc m;
        if (c.main) m.AddFile("main.CSV", Records(2));
        if (c.detail) m.AddFile("detail.CSV", Details("R0", 2));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.RecordMeisaiFile = "detail.CSV";
        m.Doc.PrintMode = c.mode;
        const TStatement s = MakeStatement(m);
        TPrintPipeline pipeline(m.Doc, Metrics254());
        m.Attach(pipeline);
        EXPECT_EQ(pipeline.BuildPrintPages(), c.builds) << c.name;
        EXPECT_FALSE(pipeline.Pages().Printing()) << c.name;
        if (!c.builds) {
            EXPECT_FALSE(pipeline.Error().isEmpty()) << c.name;
            EXPECT_TRUE(s.Name->Hits.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(pipeline.SheetCount(), 1) << c.name;
        EXPECT_EQ(s.Name->Texts(0).value(0), c.placeholder) << c.name;
        if (c.mode == 1) {
            EXPECT_EQ(s.Item->Texts(0), QStringList(5, c.placeholder)) << c.name;
        }
    }
}

TEST(PrintPipelineTest, SheetPerRecordLeavesTheSeatsBeforeTheStartSeatEmpty) {
    for (int mode : {2, 5}) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", "A,Alice\r\nB,Bob\r\n");
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = mode;
        // Start row 2, column 3 as the dialog counts them.
        m.Doc.FStartSeatRow = 1;
        m.Doc.FStartSeatCol = 2;
        TBoxProbe* box = m.AddBox({0, 0, 100, 100});
        TFieldProbe* name = m.AddField({0, 200, 300, 50}, 1);
        TFieldProbe* current = m.AddField({0, 300, 300, 50}, 9, TPriField::kCurrentRecordName);
        TFieldProbe* total = m.AddField({0, 400, 300, 50}, 9, TPriField::kTotalRecordName);
        TCountingProgress progress;
        TPrintPipeline pipeline(m.Doc, Metrics254(), &progress);
        m.Attach(pipeline);
        ASSERT_TRUE(pipeline.BuildPrintPages()) << mode;
        ASSERT_EQ(pipeline.SheetCount(), 2);
        EXPECT_EQ(pipeline.PageFileNames().size(), 2);
        // Mode 5 never uses a start seat: every sheet starts at the first seat.
        const int first = mode == 2 ? 1 * 3 + 2 : 0;
        for (int sheet = 0; sheet < 2; ++sheet) {
            std::vector<QPoint> expected;
            for (int seat = first; seat < 15; ++seat)
                expected.push_back({seat % 3 * 600, seat / 3 * 500});
            EXPECT_EQ(box->Origins(sheet), expected) << mode << " sheet " << sheet;
            EXPECT_EQ(name->Texts(sheet), QStringList(15 - first, sheet ? "Bob" : "Alice"));
            // The record index from 0 and the count less one.
            EXPECT_EQ(current->Texts(sheet), QStringList(15 - first, QString::number(sheet)));
            EXPECT_EQ(total->Texts(sheet), QStringList(15 - first, "1"));
        }
        EXPECT_EQ(progress.Maximum, 2 * (15 - first));
        EXPECT_EQ(progress.Steps, 2 * (15 - first));
        // No new document is begun after the last sheet: the store is idle and holds it.
        EXPECT_FALSE(pipeline.Pages().Printing());
        EXPECT_EQ(pipeline.Pages().PageCount(), 1);
    }
}

TEST(PrintPipelineTest, RecordPerSeatNeedsOnlyTheSheetsItsRecordsFill) {
    struct Case {
        int records, startRow, startCol, sheets;
    } cases[] = {
        {15, 0, 0, 1}, {16, 0, 0, 2}, {30, 0, 0, 2}, {1, 0, 0, 1}, {15, 1, 0, 2},
        {13, 0, 2, 1}, {14, 0, 2, 2}, {1, 4, 2, 1},  {2, 4, 2, 2},
    };
    for (const Case& c : cases) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", Records(c.records));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = 3;
        m.Doc.FStartSeatRow = c.startRow;
        m.Doc.FStartSeatCol = c.startCol;
        TBoxProbe* box = m.AddBox({0, 0, 100, 100});
        TFieldProbe* name = m.AddField({0, 200, 300, 50}, 1);
        TFieldProbe* current = m.AddField({0, 300, 300, 50}, 9, TPriField::kCurrentRecordName);
        TFieldProbe* total = m.AddField({0, 400, 300, 50}, 9, TPriField::kTotalRecordName);
        TPrintPipeline pipeline(m.Doc, Metrics254());
        m.Attach(pipeline);
        const std::string label = std::to_string(c.records) + " records from " + std::to_string(c.startRow) + "," +
                                  std::to_string(c.startCol);
        ASSERT_TRUE(pipeline.BuildPrintPages()) << label;
        EXPECT_EQ(pipeline.SheetCount(), c.sheets) << label;
        // Every record exactly once, in order.
        QStringList printed;
        for (const THit& h : name->Hits)
            printed << h.Text;
        QStringList expected;
        for (int i = 0; i < c.records; ++i)
            expected << QStringLiteral("Name%1").arg(i);
        EXPECT_EQ(printed, expected) << label;
        const int skipped = c.startRow * 3 + c.startCol;
        EXPECT_EQ(box->Origins(0).front(), QPoint(skipped % 3 * 600, skipped / 3 * 500)) << label;
        if (c.sheets > 1) {
            EXPECT_EQ(box->Origins(1).front(), QPoint(0, 0)) << label;
        }
        for (int sheet = 0; sheet < c.sheets; ++sheet) {
            const int n = int(name->OnSheet(sheet).size());
            EXPECT_EQ(current->Texts(sheet), QStringList(n, QString::number(sheet + 1))) << label;
            EXPECT_EQ(total->Texts(sheet), QStringList(n, QString::number(c.sheets))) << label;
        }
    }
}

TEST(PrintPipelineTest, StartSeatOutsideTheSheetIsRefused) {
    for (auto [mode, row, col] : {std::tuple{2, 5, 0}, {2, 0, 3}, {3, -1, 0}, {3, 0, 7}}) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", Records(3));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = mode;
        m.Doc.FStartSeatRow = row;
        m.Doc.FStartSeatCol = col;
        TPrintPipeline pipeline(m.Doc, Metrics254());
        EXPECT_FALSE(pipeline.BuildPrintPages()) << mode << " " << row << "," << col;
        EXPECT_FALSE(pipeline.Error().isEmpty());
    }
}

TEST(PrintPipelineTest, RecordPerSeatWithDetailsFillsEachSeatsPortal) {
    TMergeDoc m;
    m.CardSheet(2, 1, 1000, 1400);
    m.AddFile("main.CSV", "A,Alice\r\nB,Bob\r\nC,Carol\r\n");
    m.AddFile("detail.CSV", Details("A", 2) + Details("C", 7));
    m.Doc.RecordMainFile = "main.CSV";
    m.Doc.RecordMeisaiFile = "detail.CSV";
    m.Doc.PrintMode = 4;
    m.Doc.FStartSeatCol = 1; // not used in this mode
    TFieldProbe* name = m.AddField({100, 100, 500, 50}, 1);
    TFieldProbe* current = m.AddField({100, 200, 200, 50}, 9, TPriField::kCurrentRecordName);
    m.AddPortal({100, 500, 800, 250}, 5);
    TFieldProbe* item = m.AddField({150, 510, 300, 30}, 1);
    for (auto& obj : m.Doc.Objects())
        obj->Tag = 3;
    TPrintPipeline pipeline(m.Doc, Metrics254());
    m.Attach(pipeline);
    ASSERT_TRUE(pipeline.BuildPrintPages()) << pipeline.Error().toStdString();
    ASSERT_EQ(pipeline.SheetCount(), 2);
    EXPECT_EQ(name->Texts(0), QStringList({"Alice", "Bob"}));
    EXPECT_EQ(name->Texts(1), QStringList({"Carol"}));
    EXPECT_EQ(current->Texts(0), QStringList({"1", "2"}));
    EXPECT_EQ(current->Texts(1), QStringList({"3"}));
    EXPECT_EQ(item->Texts(0), QStringList({"item1", "item2", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(item->Texts(1), QStringList({"item1", "item2", "item3", "item4", "item5"}));
    // Rows one portal row apart, in the second seat as well; the height is the row's.
    const auto rows = item->OnSheet(0);
    const int h = (250 + 10) / 5;
    EXPECT_EQ(rows[1].Rect, QRect(150, 510 + h, 310, h));
    EXPECT_EQ(rows[5].Rect, QRect(1000 + 150, 510, 310, h));
    for (auto& obj : m.Doc.Objects())
        EXPECT_EQ(obj->Tag, 3);
}

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
            m.Doc.SetPageLayout(QPoint(0, 0), QSize(600, 200));
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
    m.Doc.SetPageLayout(QPoint(0, 0), QSize(1000, 600));
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
    EXPECT_EQ(ReadBarcodes(sheet), QStringList({"4500000000018"}));
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
        QString error;
        ASSERT_TRUE(TPrintJob::WritePdf(m.Doc, out, 150, choice, nullptr, &error)) << error.toStdString();
        EXPECT_EQ(out.data().count("/Type /Page\n"), c.pages) << c.mode << " " << c.records;
        // The card sheet's own size, not the printer's.
        EXPECT_TRUE(out.data().contains("/MediaBox [0 0 595")) << c.mode;
    }
    TMergeDoc missing;
    missing.Doc.PrintMode = 4;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_FALSE(TPrintJob::WritePdf(missing.Doc, out, 150, TPrintChoice(), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
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
        m.Doc.SetPageLayout(QPoint(0, 0), QSize(600, 500));
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
            const QStringList codes = ReadBarcodes(direct.Pages[k]);
            EXPECT_FALSE(codes.isEmpty()) << "page " << k + 1;
            EXPECT_EQ(codes, ReadBarcodes(fromStore.Pages[k])) << "page " << k + 1;
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
