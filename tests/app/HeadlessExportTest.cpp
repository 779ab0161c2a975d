#include "app/ExportCommand.h"
#include "platform/Cp932.h"
#include "print/PageExport.h"

#include "support/BarcodeReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <set>

namespace {

const QString kApp = QStringLiteral(KOMOREBI_APP_DIR "/");
const QString kCards = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/Meishi/差し込み名刺.tda");
const QString kStatement = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/明細書.tda");

// Pages of a PDF counted from its page objects, so the check needs no outside tool.
int PdfPages(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

TExportOptions Parsed(const QStringList& args, bool toPrinter = false) {
    TExportOptions o;
    QString error;
    EXPECT_TRUE(TExportCommand::ParseArguments(args, o, &error, toPrinter)) << error.toStdString();
    return o;
}

// Dark pixels inside a rectangle of the picture.
int DarkIn(const QImage& image, const QRect& r) {
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 160) ++dark;
    return dark;
}

} // namespace

TEST(HeadlessExportTest, MergeAndPrintOptionsAreParsedAndCheckedUpFront) {
    struct TCase {
        QStringList Args;
        bool ToPrinter;
        bool Ok;
    } cases[] = {
        {{"a.tda", "--out", "x.pdf", "--records", "r", "--fields", "f", "--main", "m.CSV", "--detail", "d.TAB"},
         false,
         true},
        {{"a.tda", "--out", "x.pdf", "--mode", "0"}, false, true},
        {{"a.tda", "--out", "x.pdf", "--mode", "5"}, false, true},
        {{"a.tda", "--out", "x.pdf", "--mode", "6"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--mode", "-1"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--mode", "three"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--start-seat", "2,1"}, false, true},
        {{"a.tda", "--out", "x.pdf", "--start-seat", "0,1"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--start-seat", "2"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--start-seat", "2,1,1"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--start-seat"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--pages", "2-4"}, false, true},
        {{"a.tda", "--out", "x.pdf", "--pages", "3"}, false, true},
        {{"a.tda", "--out", "x.pdf", "--pages", "4-2"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--pages", "0-2"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--pages", "-2"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--main"}, false, false},
        {{"a.tda", "--out", "x.pdf", "--main", "../recordfile/住所録.CSV"}, false, false},
        {{"a.tda", "--detail", "/tmp/d.TAB"}, true, false},
        {{"a.tda", "--out", "x.pdf", "--records", ""}, false, false},
        {{"a.tda", "--out", "x.pdf", "--printer", "PDF"}, false, false},
        {{"a.tda"}, true, true},
        {{"a.tda", "--printer", "PDF", "--copies", "3", "--mode", "3", "--pages", "1-1"}, true, true},
        {{"a.tda", "--copies", "0"}, true, false},
        {{"a.tda", "--out", "x.pdf"}, true, false},
        {{"a.tda", "--dpi", "300"}, true, false},
        {{"--printer", "PDF"}, true, false},
    };
    for (const TCase& c : cases) {
        TExportOptions o;
        QString error;
        EXPECT_EQ(TExportCommand::ParseArguments(c.Args, o, &error, c.ToPrinter), c.Ok)
            << c.Args.join(' ').toStdString();
        EXPECT_EQ(error.isEmpty(), c.Ok) << c.Args.join(' ').toStdString();
    }
    const TExportOptions o = Parsed({"a.tda", "--out", "x.pdf", "--start-seat", "3,2", "--pages", "2-4"});
    EXPECT_EQ(o.StartRow, 3);
    EXPECT_EQ(o.StartCol, 2);
    EXPECT_EQ(o.FirstPage, 2);
    EXPECT_EQ(o.LastPage, 4);
    EXPECT_EQ(Parsed({"a.tda", "--out", "x.pdf", "--pages", "3"}).LastPage, 3);
    EXPECT_EQ(Parsed({"a.tda", "--copies", "2"}, true).Copies, 2);
}

TEST(HeadlessExportTest, ShippedMergeTemplatesGiveTheSheetsTheirRecordsNeed) {
    QTemporaryDir dir;
    struct TCase {
        QString Template;
        QStringList Extra;
        int Pages;
    } cases[] = {
        // 30 addresses over 10 seats: three sheets, no empty fourth.
        {kCards, {}, 3},
        // Starting at the second row's second seat skips 3 seats: 33 seats need four sheets.
        {kCards, {"--start-seat", "2,2"}, 4},
        {kCards, {"--pages", "2-3"}, 2},
        {kCards, {"--pages", "3-9"}, 1},
        // Six statements; the one with 18 detail rows runs over two pages.
        {kStatement, {}, 7},
        {kStatement, {"--pages", "4-4"}, 1},
    };
    int n = 0;
    for (const TCase& c : cases) {
        TExportOptions o = Parsed(
            QStringList{c.Template, "--out", dir.filePath(QStringLiteral("%1.pdf").arg(++n)), "--dpi", "72"} + c.Extra);
        QString error;
        int pages = 0;
        ASSERT_TRUE(TExportCommand::Run(kApp, o, &error, &pages))
            << c.Extra.join(' ').toStdString() << error.toStdString();
        EXPECT_EQ(pages, c.Pages) << c.Extra.join(' ').toStdString();
        EXPECT_EQ(PdfPages(o.OutFile), c.Pages) << c.Extra.join(' ').toStdString();
    }
}

TEST(HeadlessExportTest, PngSheetsAreNumberedAndTheStartSeatLeavesSeatsEmpty) {
    QTemporaryDir dir;
    const QString out = dir.filePath("card.png");
    QString error;
    int pages = 0;
    // A link at a derived name (another user's, in a shared folder) is replaced, not followed.
    const QString victim = dir.filePath("victim.txt");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    ASSERT_TRUE(QFile::link(victim, dir.filePath("card-002.png")));
    QStringList written;
    ASSERT_TRUE(TExportCommand::Run(kApp, Parsed({kCards, "--out", out, "--dpi", "40", "--pages", "1-2"}), &error,
                                    &pages, &written))
        << error.toStdString();
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(written, QStringList({dir.filePath("card-001.png"), dir.filePath("card-002.png")}));
    EXPECT_TRUE(QFile::exists(dir.filePath("card-001.png")));
    EXPECT_FALSE(QFileInfo(dir.filePath("card-002.png")).isSymLink());
    EXPECT_FALSE(QImage(dir.filePath("card-002.png")).isNull());
    EXPECT_EQ(QFileInfo(victim).size(), 4);
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(TExportCommand::PngName(QStringLiteral("/a/b.c/x.png"), 12, 30), QStringLiteral("/a/b.c/x-012.png"));

    // One sheet keeps the name as given.
    const QString one = dir.filePath("one.png");
    ASSERT_TRUE(
        TExportCommand::Run(kApp, Parsed({kCards, "--out", one, "--dpi", "40", "--pages", "1"}), &error, &pages));
    EXPECT_EQ(pages, 1);
    const QImage first(one);
    ASSERT_FALSE(first.isNull());
    const QString shifted = dir.filePath("shifted.png");
    ASSERT_TRUE(TExportCommand::Run(kApp, Parsed({kCards, "--out", shifted, "--dpi", "40", "--start-seat", "1,2"}),
                                    &error, &pages));
    EXPECT_EQ(pages, 4); // 31 seats
    const QImage second(dir.filePath("shifted-001.png"));
    ASSERT_EQ(second.size(), first.size());
    // The top left seat of five rows by two columns: printed normally, left blank with the start seat.
    const QRect seat(0, 0, first.width() / 2 - 1, first.height() / 5 - 1);
    EXPECT_GT(DarkIn(first, seat), 20);
    EXPECT_EQ(DarkIn(second, seat), 0);
    EXPECT_GT(DarkIn(second, seat.translated(first.width() / 2, 0)), 20);
}

TEST(HeadlessExportTest, BadMergeInputFailsWithOneLineAndWritesNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath("x.pdf");
    const QString records = dir.filePath("records");
    QDir().mkpath(records);
    QFile(records + "/empty.CSV").open(QIODevice::WriteOnly);
    struct TCase {
        QStringList Extra;
        QString Says;
    } cases[] = {
        {{"--main", "nope.CSV"}, QStringLiteral("nope.CSV not found")},
        // The reader's own reason, not just "cannot be read".
        {{"--records", records, "--main", "empty.CSV"}, QStringLiteral("「empty.CSV」にはレコードの行がありません")},
        {{"--records", dir.filePath("none")}, QStringLiteral("record folder")},
        {{"--fields", dir.filePath("none")}, QStringLiteral("field folder")},
        {{"--start-seat", "6,1"}, QStringLiteral("outside the sheet of 5 rows and 2 columns")},
        {{"--start-seat", "1,3"}, QStringLiteral("outside the sheet")},
        {{"--pages", "4-5"}, QStringLiteral("beyond the 3 sheets")},
        // The statement mode needs its detail file too.
        {{"--mode", "1", "--detail", "none.TAB"}, QStringLiteral("none.TAB not found")},
    };
    for (const TCase& c : cases) {
        QString error;
        EXPECT_FALSE(
            TExportCommand::Run(kApp, Parsed(QStringList{kCards, "--out", out, "--dpi", "40"} + c.Extra), &error))
            << c.Extra.join(' ').toStdString();
        EXPECT_TRUE(error.contains(c.Says)) << error.toStdString();
        EXPECT_FALSE(error.contains(QLatin1Char('\n')));
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QString error;
    EXPECT_FALSE(TExportCommand::Print(kApp, Parsed({kCards, "--printer", "komorebi-no-such-queue"}, true), &error));
    EXPECT_EQ(error, QStringLiteral("unknown printer komorebi-no-such-queue"));
}

TEST(HeadlessExportTest, AProgressLineGoesToATerminalOnly) {
    const QString program = QStringLiteral(KOMOREBI_APP_DIR "/komorebi");
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty()) GTEST_SKIP() << "script (util-linux) is needed to give the export a terminal";
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("cards.pdf"));
    // Under script, stderr is a terminal: the line counts the seats and ends at all of them.
    QProcess terminal;
    terminal.setProcessChannelMode(QProcess::MergedChannels);
    terminal.start(script,
                   {QStringLiteral("-qec"), QStringLiteral("'%1' export '%2' --out '%3'").arg(program, kCards, out),
                    QStringLiteral("/dev/null")});
    ASSERT_TRUE(terminal.waitForFinished(120000));
    const QString shown = QString::fromUtf8(terminal.readAll());
    EXPECT_EQ(terminal.exitCode(), 0) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("\rkomorebi export: 30/30 seats (100%)"))) << shown.toStdString();
    EXPECT_EQ(PdfPages(out), 3);
    // Piped, as from a script: no progress, only the file's name on stdout.
    QFile::remove(out);
    QProcess piped;
    piped.start(program, {QStringLiteral("export"), kCards, QStringLiteral("--out"), out});
    ASSERT_TRUE(piped.waitForFinished(120000));
    EXPECT_EQ(piped.exitCode(), 0);
    EXPECT_FALSE(QString::fromUtf8(piped.readAllStandardError()).contains(QStringLiteral("seats")));
    EXPECT_EQ(PdfPages(out), 3);
}

// Calendars used to print without a single holiday, silently, when the holiday file was missing.
TEST(HeadlessExportTest, CalendarsWithoutTheHolidayFileAreWarnedAbout) {
    QTemporaryDir app;
    const QString yearCalendar = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/年間カレンダー.tda");
    for (const auto& [appDir, warned] : {std::pair{kApp, false}, std::pair{app.path() + QLatin1Char('/'), true}}) {
        QStringList warnings;
        TExportOptions o = Parsed({yearCalendar, "--out", app.filePath(QStringLiteral("year.pdf")), "--dpi", "40"});
        o.Warnings = &warnings;
        QString error;
        ASSERT_TRUE(TExportCommand::Run(appDir, o, &error)) << error.toStdString();
        EXPECT_EQ(warnings.size(), warned ? 1 : 0) << qPrintable(appDir);
        if (warned) EXPECT_TRUE(warnings.value(0).contains(QStringLiteral("holiday.dat")));
    }
}

// The almanac calendar for January 2027: every day's rokuyō (31 of them, as the month's old-calendar
// dates give them: 仏滅 six times, the others five), the two solar terms, the era and zodiac years.
TEST(HeadlessExportTest, TheAlmanacCalendarPrintsItsNotesAsText) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("jan.pdf"));
    const TExportOptions o = Parsed({QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/暦入りカレンダー.tda"),
                                     "--year", "2027", "--month", "1", "--out", pdf});
    QString error;
    ASSERT_TRUE(TExportCommand::Run(kApp, o, &error)) << error.toStdString();
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QStringList words =
        QString::fromUtf8(p.readAllStandardOutput()).split(QRegularExpression(QStringLiteral("\\s+")));
    const std::pair<const char16_t*, int> expected[] = {
        {u"大安", 5}, {u"赤口", 5}, {u"先勝", 5}, {u"友引", 5},    {u"先負", 5},
        {u"仏滅", 6}, {u"小寒", 1}, {u"大寒", 1}, {u"令和9年", 1}, {u"丁未（ひつじ）", 1}};
    for (const auto& [word, count] : expected)
        EXPECT_EQ(words.count(QString::fromUtf16(word)), count) << QString::fromUtf16(word).toStdString();
}

// QR data from a CP932 record file: an escaped comma, spaces and kanji reach the symbol; a value
// no QR holds leaves its code out, and the warning names its record.
TEST(HeadlessExportTest, QrCodesFromRecordsReadBackAndRefusalsNameTheirRecord) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("recordfile"));
    const QStringList urls = {QStringLiteral("https://example.jp/?q=a\\,b c"),
                              QStringLiteral("木漏れ日印刷　〒150-0042"), QString(3000, QChar(u'x'))};
    QStringList lines;
    for (int i = 0; i < urls.size(); ++i)
        lines << QStringLiteral("K%1,氏名,,会社,,,100-0005,住所,,,,2900000000018,2900000000018 1 0 1,%2")
                     .arg(i + 1)
                     .arg(urls[i]);
    QFile csv(dir.filePath(QStringLiteral("recordfile/住所録.CSV")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(TCp932::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    csv.close();
    QStringList warnings;
    TExportOptions o =
        Parsed({kCards, "--out", dir.filePath("cards.png"), "--dpi", "300", "--records", dir.filePath("recordfile")});
    o.Warnings = &warnings;
    QString error;
    ASSERT_TRUE(TExportCommand::Run(kApp, o, &error)) << error.toStdString();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("「K3」"))) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("長すぎます"))) << warnings[0].toStdString();
#ifdef KOMOREBI_HAVE_ZBAR
    std::multiset<std::string> qr;
    for (const TReadBarcode& r : ReadBarcodes(QImage(dir.filePath("cards.png"))))
        if (r.Type == "QR-Code") qr.insert(r.Data);
    EXPECT_EQ(qr, (std::multiset<std::string>{"https://example.jp/?q=a,b c", "木漏れ日印刷　〒150-0042"}));
#endif
}
