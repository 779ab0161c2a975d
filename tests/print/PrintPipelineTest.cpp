#include "print/PipelineFixtures.h"
#include "print/PageFiles.h"

#include <QSysInfo>
#include <QTemporaryDir>

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
    // The build marks what it drew in a set of its own, never in the objects.
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
    m.AddPortal({100, 1000, 1000, 250}, 5)->UndoCheck = true; // deleted, kept for undo: not there
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

// Fails at the first seat or record, as a build that runs out of memory or meets a fault does.
class TFailingProgress : public TPrintProgress {
public:
    bool OutOfMemory = false;
    void Start(int) override {}
    bool Step() override {
        if (OutOfMemory) throw std::bad_alloc();
        throw std::runtime_error("no page");
    }
};

TEST(PrintPipelineTest, FailedBuildsSayWhyInJapaneseWithTheProgramsReasonAfter) {
    for (int mode : {0, 1, 4})
        for (bool memory : {false, true}) {
            TMergeDoc m;
            m.AddFile("main.CSV", Records(3));
            m.Doc.RecordMainFile = m.Doc.RecordMeisaiFile = "main.CSV";
            m.Doc.PrintMode = mode;
            TFailingProgress progress;
            progress.OutOfMemory = memory;
            TPrintPipeline pipeline(m.Doc, Metrics254(), &progress);
            EXPECT_FALSE(pipeline.BuildPrintPages());
            const QString& e = pipeline.Error();
            EXPECT_TRUE(memory ? e == TPrintPipeline::kBuildFailedMessage
                               : e.startsWith(TPrintPipeline::kPagesFailedMessage) && e.contains("no page"))
                << mode << e.toStdString();
        }
}

// A page range used to build the whole job first: modes 2, 3 and 5 build only the chosen sheets
// (numbered from 1) and count the others; a range beyond the job builds none.
TEST(PrintPipelineTest, ASheetRangeBuildsOnlyItsSheets) {
    struct Case {
        int mode, records, first, last;
        int built, total;
        QString firstName;
    } cases[] = {
        {3, 30, 2, 2, 1, 2, QStringLiteral("Name15")},
        {3, 30, 1, 9, 2, 2, QStringLiteral("Name0")},
        {2, 4, 2, 3, 2, 4, QStringLiteral("Name1")},
        {5, 4, 4, 4, 1, 4, QStringLiteral("Name3")},
        {2, 4, 5, 6, 0, 4, QString()},
    };
    for (const Case& c : cases) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", Records(c.records));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = c.mode;
        TFieldProbe* name = m.AddField({0, 200, 300, 50}, 1);
        TPrintPipeline pipeline(m.Doc, Metrics254());
        m.Attach(pipeline);
        pipeline.SetSheetRange(c.first, c.last);
        const std::string label =
            std::to_string(c.mode) + ": " + std::to_string(c.first) + "-" + std::to_string(c.last);
        EXPECT_EQ(pipeline.BuildPrintPages(), c.built > 0) << label;
        if (c.built == 0) EXPECT_TRUE(pipeline.Error().contains(QStringLiteral("範囲外"))) << label;
        EXPECT_EQ(pipeline.SheetCount(), c.built) << label;
        EXPECT_EQ(pipeline.TotalSheets(), c.total) << label;
        EXPECT_EQ(name->Hits.empty() ? QString() : name->Hits.front().Text, c.firstName) << label;
    }
}

// Mode 0 drew every seat of the paper, also those off the sheet (1 x 256 seats drew 256 designs
// into one page); only a paper of which nothing lies on the sheet is refused.
TEST(PrintPipelineTest, APlainSheetDrawsOnlyTheSeatsOnTheSheet) {
    for (auto [cols, rows, drawn] : {std::tuple{3, 5, 15}, {1, 256, 6}, {256, 1, 4}}) {
        TMergeDoc m;
        m.CardSheet(cols, rows);
        m.Doc.PrintMode = 0;
        TBoxProbe* box = m.AddBox({0, 0, 100, 100});
        TPrintPipeline pipeline(m.Doc, Metrics254());
        m.Attach(pipeline);
        ASSERT_TRUE(pipeline.BuildPrintPages()) << cols << "x" << rows;
        EXPECT_EQ(int(box->Hits.size()), drawn) << cols << "x" << rows;
    }
    TMergeDoc off;
    off.Doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 2200, 100, 0, 0, 0, 0, 2, 2, 600, 500});
    off.Doc.PrintMode = 0;
    TPrintPipeline pipeline(off.Doc, Metrics254());
    EXPECT_FALSE(pipeline.BuildPrintPages());
    EXPECT_FALSE(pipeline.Error().isEmpty());
}

// A page range beyond the job sent nothing and said nothing ("komorebi print --pages 9" of three
// sheets ended as a success): every mode now refuses it with the job's sheet count.
TEST(PrintPipelineTest, APrintedRangeBeyondTheJobIsRefused) {
    for (int mode : {0, 3}) {
        TMergeDoc m;
        m.CardSheet();
        m.AddFile("main.CSV", Records(30));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.PrintMode = mode;
        m.AddBox({0, 0, 100, 100});
        TPrintPipeline pipeline(m.Doc, Metrics254());
        TImageTarget target(QSize(2100, 2970));
        TPrintChoice choice;
        choice.AllPages = false;
        choice.FirstPage = choice.LastPage = 9;
        EXPECT_FALSE(pipeline.BuildAndPrint(target, choice)) << mode;
        EXPECT_TRUE(pipeline.Error().contains(QStringLiteral("範囲外"))) << mode << pipeline.Error().toStdString();
        EXPECT_EQ(target.Pages.size(), 0u) << mode;
    }
}

// A killed job left its page folder in the temporary folder for good: the next start removes
// this user's folders whose lock is stale, never one a running job holds.
TEST(PrintPipelineTest, PageFoldersOfKilledJobsAreRemovedAtTheNextStart) {
    TPageFiles live;
    ASSERT_FALSE(live.NextName().isEmpty());
    QTemporaryDir killed(QDir::tempPath() + QStringLiteral("/komorebi-print-XXXXXX"));
    killed.setAutoRemove(false);
    {
        QFile lock(killed.filePath(QStringLiteral("job.lock")));
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        // A process that is gone.
        lock.write("999999\nkomorebi\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    }
    EXPECT_GE(TPageFiles::RemoveStaleFolders(), 1);
    EXPECT_FALSE(QFileInfo::exists(killed.path()));
    EXPECT_TRUE(QFileInfo::exists(live.Folder()));
}

// Postal codes that fit no boxes are printed and named in the warnings; sender fields keep the
// sender in every mode that merges records.
TEST(PrintPipelineTest, PostalWarningsAndSenderFieldsAcrossTheMergeModes) {
    for (const int mode : {1, 2, 3, 5}) {
        TMergeDoc m;
        m.CardSheet(2, 1);
        m.AddFile("main.CSV", "K001,123-4567\r\nK012,12-345\r\nK013,\r\nK014,１２３４５６７\r\n");
        if (mode == 1) m.AddFile("detail.CSV", Details("K001", 1));
        m.Doc.RecordMainFile = "main.CSV";
        m.Doc.RecordMeisaiFile = "detail.CSV";
        m.Doc.PrintMode = mode;
        TFieldProbe* postal = m.AddField({443, 120, 477, 80}, 1);
        postal->Extras.PostalLayout = TObjectExtras::TPostalLayout::Boxes;
        TFieldProbe* sender = m.AddField({100, 300, 300, 50}, 1);
        sender->Extras.SenderItem = TObjectExtras::TSenderItem::Name;
        TSenderInfo info;
        info.Name = QStringLiteral("𠮷田 花子");
        m.Doc.ApplySender(info);
        TPrintPipeline pipeline(m.Doc, Metrics254());
        m.Attach(pipeline);
        ASSERT_TRUE(pipeline.BuildPrintPages()) << mode << pipeline.Error().toStdString();
        EXPECT_EQ(pipeline.Warnings(),
                  QStringList({QStringLiteral("レコード「K012」の郵便番号「12-345」は7桁ではありません"),
                               QStringLiteral("レコード「K013」の郵便番号が空です")}))
            << mode;
        QStringList printed;
        for (const THit& h : postal->Hits)
            printed << h.Text;
        EXPECT_TRUE(printed.contains(QStringLiteral("12-345"))) << mode;
        ASSERT_FALSE(sender->Hits.empty());
        for (const THit& h : sender->Hits)
            EXPECT_EQ(h.Text, info.Name) << mode;
    }
}
