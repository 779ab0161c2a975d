// A real print job: the shipped merged card sheet printed through a scheduler of the test's own
// onto a CUPS-PDF queue, from the main window's Print and from "komorebi print", and the PDFs
// CUPS wrote read back: pages, paper, and every card's EAN-13 through ZBar.
#include "MainFormFixture.h"
#include "support/PrivateCups.h"

#include "app/mainwindow/PrintCommands.h"
#include "app/dialogs/PrintDlgSX.h"
#include "platform/SystemPrinter.h"
#include "print/RyPrinter.h"

#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString kShipped = QStringLiteral(KOMOREBI_APP_DIR "/");
const QString kCards = QStringLiteral("Template/Meishi/差し込み名刺.tda");

QString RunTool(const QString& program, const QStringList& args, bool* ok = nullptr) {
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (ok) *ok = done;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// The EAN-13 of every card: the 12th column of the shipped address list.
QStringList ExpectedCodes() {
    QFile f(kShipped + QStringLiteral("recordfile/住所録.CSV"));
    QStringList codes;
    if (!f.open(QIODevice::ReadOnly)) return codes;
    while (!f.atEnd()) {
        const QList<QByteArray> columns = f.readLine().trimmed().split(',');
        if (columns.size() > 11 && !columns[11].isEmpty()) codes << QString::fromLatin1(columns[11]);
    }
    std::sort(codes.begin(), codes.end());
    return codes;
}

// What came out of the queue: pages, page sizes in points and the barcodes read at 300 dpi.
struct TPrinted {
    int Files = 0;
    int Pages = 0;
    QStringList Sizes;
    QStringList Codes;
    QString Trouble;
};

TPrinted ReadBack(const QStringList& pdfs) {
    TPrinted r;
    r.Files = int(pdfs.size());
    QTemporaryDir pictures;
    int n = 0;
    for (const QString& pdf : pdfs) {
        bool ok = false;
        const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}, &ok);
        if (!ok) r.Trouble += QStringLiteral("pdfinfo %1: %2\n").arg(pdf, info);
        const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
        r.Pages += pages.hasMatch() ? pages.captured(1).toInt() : 0;
        const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
        if (size.hasMatch())
            r.Sizes << QStringLiteral("%1x%2")
                           .arg(qRound(size.captured(1).toDouble()))
                           .arg(qRound(size.captured(2).toDouble()));
        const QString prefix = pictures.filePath(QStringLiteral("p%1").arg(++n));
        const QString raster =
            RunTool(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"), pdf, prefix}, &ok);
        if (!ok) r.Trouble += QStringLiteral("pdftoppm %1: %2\n").arg(pdf, raster);
    }
    QStringList images;
    for (const QString& name : QDir(pictures.path()).entryList({QStringLiteral("*.pgm")}, QDir::Files))
        images << pictures.filePath(name);
    if (images.isEmpty()) return r;
    // zbarimg ends non-zero when some picture holds no code; the codes it did read still count.
    const QString read = RunTool(QStringLiteral("zbarimg"), QStringList{QStringLiteral("-q")} + images);
    for (const QString& line : read.split(u'\n', Qt::SkipEmptyParts))
        if (line.startsWith(QStringLiteral("EAN-13:"))) r.Codes << line.mid(7).trimmed();
    std::sort(r.Codes.begin(), r.Codes.end());
    return r;
}

// An application folder of the test's own with the shipped card sheet and its merge examples.
struct TCardFolder {
    QTemporaryDir Dir;
    QString App = Dir.path() + QLatin1Char('/');
    TCardFolder() {
        for (const char* rel : {"settings/outmessage.txt", "settings/stImage.ims", "HolidayList/holiday.dat",
                                "Template/Meishi/差し込み名刺.tda", "recordfile/住所録.CSV", "fieldfile/住所録.CSV"}) {
            const QString file = QString::fromUtf8(rel);
            QDir().mkpath(QFileInfo(App + file).absolutePath());
            QFile::copy(kShipped + file, App + file);
        }
        QDir().mkpath(App + QStringLiteral("UserData"));
    }
};

} // namespace

TEST(RealPrintJobTest, MergedCardsReachACupsPdfQueueWithEveryBarcodeReadable) {
    const QString missing = TPrivateCups::Missing();
    if (!missing.isEmpty()) GTEST_SKIP() << "no real print job here: " << missing.toStdString();
    const QStringList expected = ExpectedCodes();
    ASSERT_EQ(expected.size(), 30);

    TPrivateCups cups;
    QString error;
    ASSERT_TRUE(cups.Start(&error)) << error.toStdString();
    ASSERT_EQ(QPrinterInfo::defaultPrinterName(), cups.Queue()) << cups.Log().toStdString();

    // The main window's Print: the printer the window knows is the private queue.
    {
        TCardFolder folder;
        TFakeDialogs dialogs;
        TFakeLibrary library;
        TMainFormOptions options;
        options.Paths = TAppPaths::ForFolder(folder.App);
        options.Dialogs = &dialogs;
        options.Library = &library;
        auto form = std::make_unique<TTestMainForm>(options);
        ASSERT_TRUE(form->FormCreate(folder.App + kCards));
        // The page measures the very printer the job goes to.
        auto* page = dynamic_cast<TSystemPrinter*>(&form->Document()->Printer());
        ASSERT_NE(page, nullptr);
        ASSERT_NE(page->Printer(), nullptr);
        EXPECT_EQ(page->Printer()->printerName(), cups.Queue());
        std::unique_ptr<TPrinterMetricsProvider> kept = form->PrintCommands().SurfacePrinter();
        EXPECT_EQ(static_cast<TSystemPrinter&>(*kept).Printer(), page->Printer());
        // "きれい" in the dialog: the IPP quality and the queue's finer resolution go with the job.
        form->PrintCommands().ExecDialog = [](QDialog& dialog) {
            auto* print = qobject_cast<TPrintDlgSX*>(&dialog);
            if (!print) return int(QDialog::Rejected);
            EXPECT_EQ(print->PrinterNameLabel()->text(), QStringLiteral("komorebi-pdf"));
            EXPECT_TRUE(print->PrinterPortLabel()->text().startsWith(QStringLiteral("cups-pdf:/")));
            print->FineButton()->setChecked(true);
            print->accept();
            return print->result();
        };
        ASSERT_TRUE(form->PrintCommands().PrintDocument(*form->Document(), true))
            << dialogs.Messages.join(u'\n').toStdString();
        // The queue offers 150 to 2400 dpi.
        QPrinter& job = *page->Printer();
        EXPECT_EQ(CupsJobOption(job, QStringLiteral("print-quality")), QStringLiteral("5"));
        EXPECT_EQ(CupsJobOption(job, QStringLiteral("Resolution")), QStringLiteral("1200dpi"));
        SetPrintQuality(job, TPrintQuality::Normal);
        EXPECT_EQ(CupsJobOption(job, QStringLiteral("print-quality")), QStringLiteral("4"));
        EXPECT_EQ(CupsJobOption(job, QStringLiteral("Resolution")), QString());
        // Asked after the window and its printer are gone, the page's printer is simply absent.
        form.reset();
        EXPECT_EQ(kept->GetPrinterMetrics().LogPixelsX, 0);
    }
    // One job per sheet in this mode: three sheets of ten cards.
    const TPrinted fromWindow = ReadBack(cups.WaitForPdfs(3));
    EXPECT_TRUE(fromWindow.Trouble.isEmpty()) << fromWindow.Trouble.toStdString();
    EXPECT_EQ(fromWindow.Files, 3) << cups.Log().toStdString();
    EXPECT_EQ(fromWindow.Pages, 3);
    EXPECT_EQ(fromWindow.Sizes, QStringList(3, QStringLiteral("595x842")));
    EXPECT_EQ(fromWindow.Codes, expected);

    // The same sheet from the command line, with the same records, to the named queue.
    for (const QString& f : QDir(cups.OutDir()).entryList({QStringLiteral("*.pdf")}, QDir::Files))
        QFile::remove(QDir(cups.OutDir()).filePath(f));
    QProcess komorebi;
    komorebi.setProcessEnvironment(cups.Environment());
    komorebi.setProcessChannelMode(QProcess::MergedChannels);
    komorebi.start(kShipped + QStringLiteral("komorebi"),
                   {QStringLiteral("print"), kShipped + kCards, QStringLiteral("--printer"), cups.Queue()});
    ASSERT_TRUE(komorebi.waitForFinished(300000));
    ASSERT_EQ(komorebi.exitCode(), 0) << komorebi.readAll().toStdString();
    const TPrinted fromCommand = ReadBack(cups.WaitForPdfs(3));
    EXPECT_TRUE(fromCommand.Trouble.isEmpty()) << fromCommand.Trouble.toStdString();
    EXPECT_EQ(fromCommand.Files, 3) << cups.Log().toStdString();
    EXPECT_EQ(fromCommand.Pages, 3);
    EXPECT_EQ(fromCommand.Sizes, QStringList(3, QStringLiteral("595x842")));
    EXPECT_EQ(fromCommand.Codes, expected);

    // An unknown queue is refused before anything is sent.
    bool ok = true;
    const QString refused = RunTool(
        kShipped + QStringLiteral("komorebi"),
        {QStringLiteral("print"), kShipped + kCards, QStringLiteral("--printer"), QStringLiteral("no-such-queue")},
        &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(refused.contains(QStringLiteral("unknown printer"))) << refused.toStdString();
}
