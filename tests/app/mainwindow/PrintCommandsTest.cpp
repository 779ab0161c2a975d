// The main window's print commands, driven with fake dialogs and packs, a PDF printer in place of
// a real one.
#include "MainFormFixture.h"

#include "app/mainwindow/PrintCommands.h"
#include "app/dialogs/PrintDlgSX.h"
#include "merge/RecordUnit.h"
#include "print/RyPrinter.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <stdexcept>

namespace {

// An A4 sheet of 2 × 5 business cards.
TPriPaper CardSheet() {
    TPriPaper p;
    p.FPortrait = 1;
    p.FSheetWidth = 2100;
    p.FSheetHeight = 2970;
    p.FSeatColumns = 2;
    p.FSeatRows = 5;
    p.FSeatWidth = 910;
    p.FSeatHeight = 550;
    p.FFirstSeatLeft = 140;
    p.FFirstSeatTop = 110;
    return p;
}

// The system's printers as the test changes them while the program runs; queues start on Letter.
class TChangingPrinters : public TRyPrinterSystem {
public:
    QList<TRyPrinterEntry> List;
    QString Current, Default;
    QList<TRyPrinterEntry> Printers() const override { return List; }
    QString CurrentName() const override { return Current; }
    void SetCurrentName(const QString& name) override { Current = name; }
    QString DefaultName() const override { return Default; }
    QString Port(const QString& name) const override { return "usb://" + name; }
    QStringList Ports() const override { return {}; }
    QList<QPageSize> PaperSizes(const QString&) const override { return {QPageSize(QPageSize::Letter)}; }
    QPageSize CurrentPaper() const override { return QPageSize(QPageSize::Letter); }
    int Capabilities(const QString&) const override { return TRyPrinter::dcPaperSize; }
    int ResolutionCount(const QString&) const override { return 1; }
    int MaxCopies(const QString&) const override { return 999; }
};

int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray data = f.readAll();
    if (!data.startsWith("%PDF") || !data.trimmed().endsWith("%%EOF")) return -1;
    return int(data.count("/Type /Page\n") + data.count("/Type /Page ") + data.count("/Type /Page/"));
}

struct TPrintFixture : TMainFormFixture {
    QTemporaryDir Out;
    QPrinter Printer{QPrinter::HighResolution};
    QString PrintFile;
    QStringList DialogsRun;
    // Answers each modal dialog: the print dialog with OK unless told otherwise.
    bool PrintDialogOk = true;
    std::function<void(TPrintDlgSX&)> FillPrintDialog;

    TTestMainForm& Ready(const char* rel = "A4/年間カレンダー.tda") {
        TTestMainForm& form = Started(rel);
        PrintFile = Out.path() + QStringLiteral("/printed.pdf");
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(PrintFile);
        Printer.setResolution(150);
        TPrintCommands& commands = form.PrintCommands();
        commands.PrinterDevice = [this] { return &Printer; };
        commands.ExecDialog = [this](QDialog& dialog) {
            DialogsRun << QString::fromLatin1(dialog.metaObject()->className());
            auto* print = qobject_cast<TPrintDlgSX*>(&dialog);
            if (!print || !PrintDialogOk) return int(QDialog::Rejected);
            if (FillPrintDialog) FillPrintDialog(*print);
            print->accept();
            return print->result();
        };
        return form;
    }
};

} // namespace

TEST(PrintCommandsTest, PrintSingleAndCardSheets) {
    // Single seat: straight to the print dialog; card sheet: the sheet first, and its cancel stops.
    struct TCase {
        const char* Name;
        bool CardSheet;
        bool SheetChosen;
        bool DialogOk;
        bool Printed;
    } cases[] = {{"single seat", false, false, true, true},
                 {"single seat, dialog cancelled", false, false, false, false},
                 {"card sheet chosen", true, true, true, true},
                 {"card sheet dialog cancelled", true, false, true, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrintFixture f;
        TTestMainForm& form = f.Ready();
        if (c.CardSheet) form.Document()->PrintPaper = CardSheet();
        if (c.SheetChosen) f.Library.PaperAnswer = CardSheet();
        f.PrintDialogOk = c.DialogOk;
        form.Actions().Action_Print->trigger();
        EXPECT_EQ(f.Library.PrintPaperCalls.size(), c.CardSheet ? 1 : 0);
        if (c.CardSheet) EXPECT_EQ(f.Library.PrintPaperCalls[0].Path, TAppPaths::ForFolder(f.App).CardDataFile());
        const bool dialogShown = !c.CardSheet || c.SheetChosen;
        EXPECT_EQ(f.DialogsRun, dialogShown ? QStringList{QStringLiteral("TPrintDlgSX")} : QStringList());
        EXPECT_EQ(QFileInfo::exists(f.PrintFile), c.Printed);
        if (c.Printed) EXPECT_EQ(PdfPages(f.PrintFile), 1);
        EXPECT_TRUE(f.Dialogs.Messages.isEmpty()) << f.Dialogs.Messages.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(form.PrintCommands().Pipeline(), nullptr);
    }
}

TEST(PrintCommandsTest, PrintPaperValuesKeptBetweenCalls) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    form.Document()->PrintPaper = CardSheet();
    f.Library.PaperAnswer = CardSheet();
    f.PrintDialogOk = false;
    form.PrintFile();
    form.PrintFile();
    ASSERT_EQ(f.Library.PrintPaperCalls.size(), 2);
    EXPECT_EQ(f.Library.PrintPaperCalls[0].A, 0);
    EXPECT_EQ(f.Library.PrintPaperCalls[0].B, 0);
    EXPECT_EQ(f.Library.PrintPaperCalls[1].A, 1);
    EXPECT_EQ(f.Library.PrintPaperCalls[1].B, 77);
    EXPECT_EQ(form.Document()->PrintPaper.FSeatRows, 5);
}

TEST(PrintCommandsTest, FailuresAreShownNotThrown) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    // No printer at all.
    form.PrintCommands().PrinterDevice = [] { return static_cast<QPrinter*>(nullptr); };
    EXPECT_NO_THROW(form.Actions().Action_Print->trigger());
    ASSERT_EQ(f.Dialogs.Messages.size(), 1);
    EXPECT_TRUE(f.Dialogs.Messages[0].contains(QStringLiteral("プリンタがありません")));
    // A failure deep inside the command reaches the user as a message, not as a crash.
    form.PrintCommands().PrinterDevice = []() -> QPrinter* { throw std::runtime_error("device gone"); };
    EXPECT_NO_THROW(form.Actions().Action_Print->trigger());
    EXPECT_NO_THROW(form.Actions().Action_Preview->trigger());
    ASSERT_EQ(f.Dialogs.Messages.size(), 3);
    EXPECT_TRUE(f.Dialogs.Messages[1].contains(QStringLiteral("device gone")));
    // Data merge with a record file that is not there: the build says why and nothing prints.
    form.PrintCommands().PrinterDevice = [&f] { return &f.Printer; };
    form.Document()->PrintMode = 4;
    form.Document()->RecordMainFile = QStringLiteral("ない.csv");
    form.Document()->RecordMeisaiFile = QStringLiteral("ない2.csv");
    EXPECT_FALSE(form.PrintFile());
    EXPECT_EQ(f.Dialogs.Messages.size(), 4);
    EXPECT_FALSE(QFileInfo::exists(f.PrintFile));
}

TEST(PrintCommandsTest, PreviewShowsBuiltPagesAndPrintsOnRequest) {
    for (bool prints : {false, true}) {
        SCOPED_TRACE(prints);
        TPrintFixture f;
        TTestMainForm& form = f.Ready();
        f.Library.PreviewPrints = prints;
        form.Actions().Action_Preview->trigger();
        EXPECT_EQ(f.Library.PreviewPages, 1);
        EXPECT_EQ(f.Library.PreviewFiles, 0);
        EXPECT_TRUE(f.Library.PreviewSingleSeat);
        // A4 at 96 pixels per inch.
        EXPECT_EQ(f.Library.PreviewSheet, QSize(793, 1122));
        EXPECT_EQ(QFileInfo::exists(f.PrintFile), prints);
        EXPECT_EQ(f.DialogsRun.size(), prints ? 1 : 0);
        EXPECT_EQ(form.PrintCommands().Pipeline(), nullptr);
    }
}

TEST(PrintCommandsTest, RecordSettingsReadANewFile) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    // A record file copied in while the program runs.
    const QString folder = TAppPaths::ForFolder(f.App).RecordFolder();
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("new.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("name,company\r\nA,B\r\nC,D\r\n");
    file.close();
    TRecordUnit& records = *form.Document()->RecordUnit;
    ASSERT_EQ(records.LoadedFile(QStringLiteral("new.csv")), nullptr);

    // Cancel changes nothing.
    EXPECT_FALSE(form.RecordSetting());
    EXPECT_EQ(records.LoadedFile(QStringLiteral("new.csv")), nullptr);

    f.Library.RecordAnswer = std::make_tuple(QStringLiteral("new.csv"), QString(), 3);
    EXPECT_TRUE(form.RecordSetting());
    EXPECT_EQ(form.Document()->RecordMainFile, QStringLiteral("new.csv"));
    EXPECT_EQ(form.Document()->PrintMode, 3);
    ASSERT_NE(records.FindFile(QStringLiteral("new.csv")), nullptr);
    const int count = records.Count();
    // Chosen again, it is not read twice.
    EXPECT_TRUE(form.RecordSetting());
    EXPECT_EQ(records.Count(), count);
    EXPECT_TRUE(f.Dialogs.Messages.isEmpty());
}

TEST(PrintCommandsTest, RecordFilesAreReadWhenFirstNeededAndFailuresSaySo) {
    TPrintFixture f;
    const QString folder = TAppPaths::ForFolder(f.App).RecordFolder();
    QDir().mkpath(folder);
    for (const auto& [name, bytes] : {std::pair("good.CSV", QByteArray("K1,a\r\nK2,b\r\n")), {"bad.CSV", ""}}) {
        QFile file(folder + QString::fromLatin1(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    TTestMainForm& form = f.Ready();
    TRecordUnit& records = *form.Document()->RecordUnit;
    // Opening the window reads neither file, so the damaged one says nothing yet.
    EXPECT_EQ(records.Count(), 0);
    EXPECT_TRUE(records.Failures().isEmpty());
    EXPECT_TRUE(f.Dialogs.Messages.isEmpty());

    ASSERT_NE(records.FindFile(QStringLiteral("good.CSV")), nullptr);
    EXPECT_EQ(records.FindFile(QStringLiteral("good.CSV"))->Count(), 2);
    EXPECT_EQ(records.FindFile(QStringLiteral("bad.CSV")), nullptr);
    EXPECT_EQ(records.ErrorOf(QStringLiteral("bad.CSV")), QStringLiteral("「bad.CSV」にはレコードの行がありません"));
    EXPECT_EQ(records.FindFile(QStringLiteral("../good.CSV")), nullptr);
    EXPECT_EQ(records.Count(), 1);

    // Choosing the damaged file says why it cannot be used.
    f.Library.RecordAnswer = std::make_tuple(QStringLiteral("bad.CSV"), QString(), 2);
    EXPECT_TRUE(form.RecordSetting());
    ASSERT_EQ(f.Dialogs.Messages.size(), 1);
    EXPECT_TRUE(f.Dialogs.Messages.first().endsWith(QStringLiteral("「bad.CSV」にはレコードの行がありません")))
        << f.Dialogs.Messages.first().toStdString();
}

TEST(PrintCommandsTest, PaperSettingsApplyAndRelayout) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    const int before = form.Document()->PrintPaper.FSeatRows;
    EXPECT_FALSE(form.PaperSetting());
    EXPECT_EQ(form.Document()->PrintPaper.FSeatRows, before);
    f.Library.PaperAnswer = CardSheet();
    EXPECT_TRUE(form.PaperSetting());
    EXPECT_EQ(form.Document()->PrintPaper.FSeatRows, 5);
    EXPECT_EQ(f.Library.PaperNewCalls, 2);
}

TEST(PrintCommandsTest, ExportPdfWritesCompleteFileOrNothing) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    const QString target = f.Out.path() + QStringLiteral("/calendar");
    f.Dialogs.SaveFileAnswer = target;
    form.Actions().Action_ExportPdf->trigger();
    EXPECT_EQ(PdfPages(target + QStringLiteral(".pdf")), 1);
    EXPECT_TRUE(f.Dialogs.Messages.isEmpty()) << f.Dialogs.Messages.join(QLatin1Char('|')).toStdString();
    // The document's name was offered, and the status bar says where the file went.
    EXPECT_EQ(f.Dialogs.SaveFileProposed, f.UserData(QStringLiteral("年間カレンダー.pdf")));
    EXPECT_TRUE(form.statusBar()->currentMessage().endsWith(QDir::toNativeSeparators(target + QStringLiteral(".pdf"))));

    // A folder that is not there: told, and nothing written.
    f.Dialogs.SaveFileAnswer = f.Out.path() + QStringLiteral("/missing/out.pdf");
    EXPECT_FALSE(form.ExportPdf());
    EXPECT_EQ(f.Dialogs.Messages.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(f.Dialogs.SaveFileAnswer));

    // A build that fails leaves neither the file nor a half-written temporary one.
    form.Document()->PrintMode = 4;
    form.Document()->RecordMainFile = QStringLiteral("ない.csv");
    const QString failed = f.Out.path() + QStringLiteral("/failed.pdf");
    f.Dialogs.SaveFileAnswer = failed;
    EXPECT_FALSE(form.ExportPdf());
    EXPECT_FALSE(QFileInfo::exists(failed));
    EXPECT_EQ(QDir(f.Out.path()).entryList(QDir::Files), QStringList{QStringLiteral("calendar.pdf")});

    // Cancelling the save or the print dialog writes nothing.
    f.Dialogs.SaveFileAnswer.clear();
    EXPECT_FALSE(form.ExportPdf());
    f.Dialogs.SaveFileAnswer = f.Out.path() + QStringLiteral("/cancelled.pdf");
    f.PrintDialogOk = false;
    EXPECT_FALSE(form.ExportPdf());
    EXPECT_FALSE(QFileInfo::exists(f.Dialogs.SaveFileAnswer));
}

TEST(PrintCommandsTest, PrintCommandsEnabledWithADocument) {
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    const TMainActions& a = form.Actions();
    for (QAction* action : {a.Action_Print, a.Action_Preview, a.Action_ExportPdf, a.MenuItem_PrintSetting,
                            a.MenuItem_PrintRecordSet, a.MenuItem_PaperSetting}) {
        ASSERT_NE(action, nullptr);
        SCOPED_TRACE(action->objectName().toStdString());
        EXPECT_TRUE(action->isEnabled());
        EXPECT_TRUE(action->isVisible());
    }
}

TEST(PrintCommandsTest, PrintFromThePreviewBuildsAgainWhenTheStartSeatChanged) {
    // Ten records on a 2 × 5 sheet: one sheet from the first seat, two from the last one.
    struct TCase {
        const char* Name;
        QPoint BuiltSeat;  // column, row, 1-based, as the preview was built
        QPoint ChosenSeat; // 0, 0 keeps what the dialog shows
        int Pages;
    } cases[] = {
        {"unchanged from the first seat", {1, 1}, {0, 0}, 1},
        {"moved to the last seat", {1, 1}, {2, 5}, 2},
        {"built from the last seat, kept", {2, 5}, {0, 0}, 2},
        {"built from the last seat, moved back", {2, 5}, {1, 1}, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrintFixture f;
        const QString records = TAppPaths::ForFolder(f.App).RecordFolder();
        QDir().mkpath(records);
        QFile file(records + QStringLiteral("ten.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < 10; ++i)
            file.write(QByteArray("name") + QByteArray::number(i) + ",company\r\n");
        file.close();
        TTestMainForm& form = f.Ready("Meishi/名刺カレンダー.tda");
        TPriPaint& doc = *form.Document();
        doc.PrintPaper = CardSheet();
        doc.PrintMode = 3;
        doc.RecordMainFile = QStringLiteral("ten.csv");
        doc.FStartSeatCol = c.BuiltSeat.x() - 1;
        doc.FStartSeatRow = c.BuiltSeat.y() - 1;
        f.Library.PaperAnswer = CardSheet();
        f.Library.PreviewPrints = true;
        QPoint shown;
        f.FillPrintDialog = [&](TPrintDlgSX& dialog) {
            shown = QPoint(dialog.SeatXSpin()->value(), dialog.SeatYSpin()->value());
            if (c.ChosenSeat.isNull()) return;
            dialog.SeatXSpin()->setValue(c.ChosenSeat.x());
            dialog.SeatYSpin()->setValue(c.ChosenSeat.y());
        };
        form.Actions().Action_Preview->trigger();
        // The preview counts its pages and draws them when shown: no page files.
        EXPECT_EQ(f.Library.PreviewPages, c.BuiltSeat == QPoint(1, 1) ? 1 : 2);
        EXPECT_EQ(f.Library.PreviewFiles, 0);
        // The dialog offers the seat the preview showed.
        EXPECT_EQ(shown, c.BuiltSeat);
        // Every sheet of the job reaches the file, built from the seat chosen last.
        EXPECT_EQ(PdfPages(f.PrintFile), c.Pages);
        EXPECT_TRUE(f.Dialogs.Messages.isEmpty()) << f.Dialogs.Messages.join(QLatin1Char('|')).toStdString();
    }
}

TEST(PrintCommandsTest, PrintersAreLookedUpAgainAndTheJobKeepsTheDocumentsSheet) {
    auto system = std::make_unique<TChangingPrinters>();
    TChangingPrinters& printers = *system;
    TRyPrinter info(std::move(system));
    TPrintFixture f;
    TTestMainForm& form = f.Ready();
    form.PrintCommands().PrinterDevice = nullptr;
    form.PrintCommands().PrinterInfo = [&info] { return &info; };
    QStringList shown;
    form.PrintCommands().ExecDialog = [&shown](QDialog& dialog) {
        if (auto* setup = qobject_cast<QPrintDialog*>(&dialog)) {
            // As the system's printer dialog does: the queue's own paper and margins.
            setup->printer()->setPageSize(QPageSize(QPageSize::Letter));
            setup->printer()->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
            return int(QDialog::Accepted);
        }
        auto& print = static_cast<TPrintDlgSX&>(dialog);
        shown << print.PrinterNameLabel()->text() << print.PrinterPaperLabel()->text();
        print.PrinterSettingButton()->click();
        shown << print.PrinterPaperLabel()->text();
        print.accept();
        return print.result();
    };
    EXPECT_FALSE(form.PrintFile());
    EXPECT_TRUE(f.Dialogs.Messages.value(0).startsWith(QStringLiteral("プリンタがありません")));
    info.Printer().setOutputFileName(f.PrintFile);
    // Installed and made the default while the program runs, then another made the default.
    for (const QString name : {QStringLiteral("laser"), QStringLiteral("cards")}) {
        printers.List << TRyPrinterEntry{name, false};
        printers.Default = name;
        shown = QStringList();
        EXPECT_TRUE(form.PrintFile());
        EXPECT_EQ(shown,
                  QStringList({name, QStringLiteral("A4（210 × 297 mm）"), QStringLiteral("A4（210 × 297 mm）")}));
        // The job printed on A4, and a PDF has no unprintable edges.
        EXPECT_EQ(info.Printer().pageLayout().pageSize().id(), QPageSize::A4);
        EXPECT_EQ(info.Printer().pageLayout().margins(), QMarginsF());
    }
    EXPECT_EQ(f.Dialogs.Messages.size(), 1) << f.Dialogs.Messages.join(u'|').toStdString();
}
