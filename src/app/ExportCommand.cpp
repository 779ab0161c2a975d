#include "app/ExportCommand.h"

#include "calendar/FamilyDays.h"
#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "merge/FieldUnit.h"
#include "merge/RecordUnit.h"
#include "platform/DocumentLimits.h"
#include "merge/SenderInfo.h"
#include "print/OutputJob.h"
#include "print/PrintProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// A line on stderr that rewrites itself, for runs from a terminal.
class TTerminalProgress : public TPrintProgress {
public:
    explicit TTerminalProgress(const char* verb) : fVerb(verb) {}
    ~TTerminalProgress() override {
        if (fMax > 0) std::fputc('\n', stderr);
    }
    void Start(int maximum) override {
        fMax = std::max(1, maximum);
        fDone = 0;
    }
    bool Step() override {
        ++fDone;
        const int percent = int(qint64(fDone) * 100 / fMax);
        if (percent != fShown) {
            fShown = percent;
            std::fprintf(stderr, "\rkomorebi %s: %d/%d seats (%d%%)", fVerb, fDone, fMax, percent);
            std::fflush(stderr);
        }
        return true;
    }

private:
    const char* fVerb;
    int fMax = 0;
    int fDone = 0;
    int fShown = -1;
};

bool Fail(QString* error, const QString& text) {
    if (error) *error = text;
    return false;
}

// A record file the template needs: it must be there and readable, or the job would print placeholders.
bool AddRecordFile(TRecordUnit& unit, const QString& dir, const QString& name, const char* option, QString* error) {
    if (name.isEmpty())
        return Fail(error, QStringLiteral("the template names no record file: give %1 NAME").arg(option));
    const QString path = QDir(dir).filePath(name);
    const QFileInfo info(path);
    if (!info.isFile()) return Fail(error, QStringLiteral("record file %1 not found").arg(path));
    if (!info.isReadable()) return Fail(error, QStringLiteral("record file %1 cannot be read").arg(path));
    QString cause;
    if (!unit.AddFile(path, &cause) && !unit.FindFile(name))
        return Fail(error, cause.isEmpty() ? QStringLiteral("record file %1 cannot be read").arg(path)
                                           : QStringLiteral("record file %1 cannot be read: %2").arg(path, cause));
    return true;
}

void Warn(const TExportOptions& o, const QString& warning) {
    if (o.Warnings)
        o.Warnings->append(warning);
    else
        std::fprintf(stderr, "komorebi: %s\n", qPrintable(warning));
}

void WarnOfJob(const TOutputJob& job, const TExportOptions& o) {
    for (const QString& w : job.Warnings())
        Warn(o, QStringLiteral("warning: ") + w);
}

// Calendars mark holidays from the holiday file: without it they print none, which must be said.
void WarnWithoutHolidays(TPriDocument& doc, const QString& appPath, const TExportOptions& o) {
    if (!doc.CalendarsLackHolidays()) return;
    const QString file = TPriCarendar::HolidayFile(appPath);
    const QString warning =
        QStringLiteral("warning: the holiday file %1 cannot be read: calendars print without holidays")
            .arg(QDir::toNativeSeparators(file));
    Warn(o, warning);
}

// The family's days for the calendars; a damaged line is skipped with a warning, never fatal.
void LoadFamilyDays(const TExportOptions& o) {
    if (o.FamilyDaysFile.isEmpty()) return;
    auto days = std::make_shared<TFamilyDays>();
    QStringList problems;
    days->Load(o.FamilyDaysFile, &problems);
    for (const QString& p : problems)
        Warn(o, QStringLiteral("warning: %1: %2").arg(QDir::toNativeSeparators(o.FamilyDaysFile), p));
    TFamilyDays::SetCurrent(std::move(days));
}

// The template loaded and set up as the options say, with its record files; the units outlive it.
bool PrepareDocument(TPriDocument& doc, TRecordUnit& records, TFieldUnit& fields, const QString& appPath,
                     const TExportOptions& o, QString* error) {
    const TDocumentResult loaded = doc.Load(o.TemplateFile, 0);
    if (!loaded) return Fail(error, QStringLiteral("cannot open %1: %2").arg(o.TemplateFile, loaded.Reason));
    if (!loaded.Reason.isEmpty()) Warn(o, QStringLiteral("warning: %1: %2").arg(o.TemplateFile, loaded.Reason));
    doc.ApplyStartMonth(o.Year, o.Month);
    if (!o.SenderFile.isEmpty()) doc.ApplySender(TSenderInfo::Load(o.SenderFile));
    LoadFamilyDays(o);
    doc.ScaleToPaper();
    WarnWithoutHolidays(doc, appPath, o);

    // The reader keeps papers within the limits; the export checks again before it sizes a page.
    const QSize sheet = doc.PrintPaper.SheetSize();
    if (sheet.width() <= 0 || sheet.height() <= 0)
        return Fail(error, QStringLiteral("the template's paper has no size"));
    if (sheet.width() > TDocumentLimits::kMaxPaperSide || sheet.height() > TDocumentLimits::kMaxPaperSide)
        return Fail(error, QStringLiteral("the template's sheet of %1 x %2 mm is larger than %3 mm")
                               .arg(sheet.width() / 10.0, 0, 'f', 1)
                               .arg(sheet.height() / 10.0, 0, 'f', 1)
                               .arg(TDocumentLimits::kMaxPaperSide / 10));

    if (o.Mode >= 0) doc.PrintMode = o.Mode;
    if (!o.MainName.isEmpty()) doc.RecordMainFile = o.MainName;
    if (!o.DetailName.isEmpty()) doc.RecordMeisaiFile = o.DetailName;
    const TPriPaper& p = doc.PrintPaper;
    const int rows = p.IsSingleSeat() ? 1 : std::max(1, p.FSeatRows);
    const int cols = p.IsSingleSeat() ? 1 : std::max(1, p.FSeatColumns);
    if (o.StartRow > 0 || o.StartCol > 0) {
        if (o.StartRow > rows || o.StartCol > cols)
            return Fail(error, QStringLiteral("start seat %1,%2 is outside the sheet of %3 rows and %4 columns")
                                   .arg(o.StartRow)
                                   .arg(o.StartCol)
                                   .arg(rows)
                                   .arg(cols));
        doc.FStartSeatRow = o.StartRow - 1;
        doc.FStartSeatCol = o.StartCol - 1;
    }

    const int mode = doc.PrintMode;
    if (mode < 0 || mode > 5)
        return Fail(error, QStringLiteral("the template's print mode %1 is not 0 to 5").arg(mode));
    if (mode > 0) {
        const QString dir = o.RecordDir.isEmpty() ? appPath + QStringLiteral("recordfile/") : o.RecordDir;
        if (!QFileInfo(dir).isDir()) return Fail(error, QStringLiteral("record folder %1 not found").arg(dir));
        if (!AddRecordFile(records, dir, doc.RecordMainFile, "--main", error)) return false;
        if ((mode == 1 || mode == 4) && !AddRecordFile(records, dir, doc.RecordMeisaiFile, "--detail", error))
            return false;
        doc.RecordUnit = &records;
        const QString fieldDir = o.FieldDir.isEmpty() ? appPath + QStringLiteral("fieldfile/") : o.FieldDir;
        if (!o.FieldDir.isEmpty() && !QFileInfo(fieldDir).isDir())
            return Fail(error, QStringLiteral("field folder %1 not found").arg(fieldDir));
        fields.LoadFolder(fieldDir);
        doc.FieldUnit = &fields;
    }
    return true;
}

TPrintChoice ChoiceOf(const TExportOptions& o) {
    TPrintChoice choice;
    choice.JobTitle = QFileInfo(o.TemplateFile).completeBaseName();
    if (o.FirstPage > 0) {
        choice.AllPages = false;
        choice.FirstPage = o.FirstPage;
        choice.LastPage = o.LastPage;
    }
    return choice;
}

// Whole number option values; false when the text is not one.
bool ToInt(const QString& text, int& out) {
    bool ok = false;
    out = text.toInt(&ok);
    return ok;
}

// What a failed job says on the command line.
bool JobFailed(const TOutputJob& job, const TExportOptions& o, QString* error) {
    switch (job.Failure()) {
    case TOutputJob::TFailure::Beyond:
        return Fail(error, QStringLiteral("--pages %1-%2 is beyond the %3 sheets of the job")
                               .arg(o.FirstPage)
                               .arg(o.LastPage)
                               .arg(job.TotalSheets()));
    case TOutputJob::TFailure::Create:
    case TOutputJob::TFailure::Write:
        return Fail(error, QStringLiteral("cannot write %1: %2").arg(job.FailedFile(), job.Error()));
    default: return Fail(error, job.Error());
    }
}

} // namespace

bool TExportCommand::ParseArguments(const QStringList& args, TExportOptions& o, QString* error, bool toPrinter) {
    auto fail = [error](const QString& text) { return Fail(error, text); };
    o.ToPrinter = toPrinter;
    bool yearGiven = false, monthGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](int& out) { return i + 1 < args.size() && ToInt(args[++i], out); };
        auto text = [&](QString& out) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) return false;
            out = args[++i];
            return true;
        };
        if (a == QLatin1String("--out") && !toPrinter) {
            if (!text(o.OutFile)) return fail(QStringLiteral("--out needs a file name"));
        } else if (a == QLatin1String("--year")) {
            if (!value(o.Year) || o.Year < TDocumentLimits::kMinYear || o.Year > TDocumentLimits::kMaxYear)
                return fail(QStringLiteral("--year needs %1 to %2")
                                .arg(TDocumentLimits::kMinYear)
                                .arg(TDocumentLimits::kMaxYear));
            yearGiven = true;
        } else if (a == QLatin1String("--month")) {
            if (!value(o.Month) || o.Month < 1 || o.Month > 12) return fail(QStringLiteral("--month needs 1 to 12"));
            monthGiven = true;
        } else if (a == QLatin1String("--dpi") && !toPrinter) {
            if (!value(o.Dpi) || o.Dpi < 10 || o.Dpi > 2400) return fail(QStringLiteral("--dpi needs 10 to 2400"));
        } else if (a == QLatin1String("--records")) {
            if (!text(o.RecordDir)) return fail(QStringLiteral("--records needs a folder"));
        } else if (a == QLatin1String("--fields")) {
            if (!text(o.FieldDir)) return fail(QStringLiteral("--fields needs a folder"));
        } else if (a == QLatin1String("--main")) {
            if (!text(o.MainName)) return fail(QStringLiteral("--main needs a record file name"));
            // Records are looked up by name in the record folder: a folder part would pass the
            // checks and then merge placeholders.
            if (o.MainName.contains(QLatin1Char('/')))
                return fail(
                    QStringLiteral("--main takes a file name in the record folder, not a path (use --records)"));
        } else if (a == QLatin1String("--detail")) {
            if (!text(o.DetailName)) return fail(QStringLiteral("--detail needs a record file name"));
            if (o.DetailName.contains(QLatin1Char('/')))
                return fail(
                    QStringLiteral("--detail takes a file name in the record folder, not a path (use --records)"));
        } else if (a == QLatin1String("--mode")) {
            if (!value(o.Mode) || o.Mode < 0 || o.Mode > 5) return fail(QStringLiteral("--mode needs 0 to 5"));
        } else if (a == QLatin1String("--start-seat")) {
            const QStringList parts = i + 1 < args.size() ? args[++i].split(QLatin1Char(',')) : QStringList();
            if (parts.size() != 2 || !ToInt(parts[0], o.StartRow) || !ToInt(parts[1], o.StartCol) || o.StartRow < 1 ||
                o.StartCol < 1)
                return fail(QStringLiteral("--start-seat needs ROW,COL counted from 1,1"));
        } else if (a == QLatin1String("--pages")) {
            const QStringList parts = i + 1 < args.size() ? args[++i].split(QLatin1Char('-')) : QStringList();
            bool ok = parts.size() == 1 || parts.size() == 2;
            ok = ok && ToInt(parts[0], o.FirstPage);
            o.LastPage = o.FirstPage;
            if (ok && parts.size() == 2) ok = ToInt(parts[1], o.LastPage);
            if (!ok || o.FirstPage < 1 || o.LastPage < o.FirstPage)
                return fail(QStringLiteral("--pages needs FROM-TO with 1 <= FROM <= TO"));
        } else if (a == QLatin1String("--printer") && toPrinter) {
            if (!text(o.Printer)) return fail(QStringLiteral("--printer needs a printer name"));
        } else if (a == QLatin1String("--copies") && toPrinter) {
            if (!value(o.Copies) || o.Copies < 1 || o.Copies > 999)
                return fail(QStringLiteral("--copies needs 1 to 999"));
        } else if (a.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("unknown option %1").arg(a));
        } else if (o.TemplateFile.isEmpty()) {
            o.TemplateFile = a;
        } else {
            return fail(QStringLiteral("more than one template given"));
        }
    }
    if (o.TemplateFile.isEmpty()) return fail(QStringLiteral("no template given"));
    if (yearGiven != monthGiven) return fail(QStringLiteral("--year and --month go together"));
    if (toPrinter) return true;
    if (o.OutFile.isEmpty()) return fail(QStringLiteral("no --out file given"));
    const QString ext = QFileInfo(o.OutFile).suffix().toLower();
    if (ext != QLatin1String("pdf") && ext != QLatin1String("png"))
        return fail(QStringLiteral("the output must be a .pdf or .png file"));
    return true;
}

QString TExportCommand::PngName(const QString& out, int n, int count) {
    return TOutputJob::PngName(out, n, count);
}

bool TExportCommand::Run(const QString& appPath, const TExportOptions& o, QString* error, int* pages,
                         QStringList* written) {
    if (pages) *pages = 0;
    if (written) written->clear();
    TPriDocument doc(appPath);
    TRecordUnit records;
    TFieldUnit fields;
    if (!PrepareDocument(doc, records, fields, appPath, o, error)) return false;
    const TPrinterMetrics m = TOutputJob::SheetMetrics(doc, o.Dpi);
    const bool png = QFileInfo(o.OutFile).suffix().toLower() == QLatin1String("png");
    if (png && qint64(m.PhysicalWidth) * m.PhysicalHeight > TDocumentLimits::kMaxRasterPixels)
        return Fail(error,
                    QStringLiteral("the page at %1 dpi would be %2 x %3 pixels, more than %4 million: use a lower "
                                   "--dpi")
                        .arg(o.Dpi)
                        .arg(m.PhysicalWidth)
                        .arg(m.PhysicalHeight)
                        .arg(TDocumentLimits::kMaxRasterPixels / 1000000));
    std::unique_ptr<TTerminalProgress> progress;
    if (o.Progress) progress = std::make_unique<TTerminalProgress>("export");
    TOutputJob job(doc, progress.get());
    const TPrintChoice choice = ChoiceOf(o);
    const bool ok = png ? job.ToPng(o.OutFile, o.Dpi, choice) : job.ToPdf(o.OutFile, o.Dpi, choice);
    progress.reset();
    WarnOfJob(job, o);
    if (!ok) return JobFailed(job, o, error);
    if (pages) *pages = job.Sheets();
    if (written) *written = job.Written();
    return true;
}

bool TExportCommand::Print(const QString& appPath, const TExportOptions& o, QString* error, int* pages) {
    if (pages) *pages = 0;
    QPrinterInfo info;
    if (o.Printer.isEmpty()) {
        info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) return Fail(error, QStringLiteral("there is no default printer: give --printer NAME"));
    } else {
        info = QPrinterInfo::printerInfo(o.Printer);
        if (info.isNull() || info.printerName() != o.Printer)
            return Fail(error, QStringLiteral("unknown printer %1").arg(o.Printer));
    }
    TPriDocument doc(appPath);
    TRecordUnit records;
    TFieldUnit fields;
    if (!PrepareDocument(doc, records, fields, appPath, o, error)) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setCopyCount(o.Copies);
    std::unique_ptr<TTerminalProgress> progress;
    if (o.Progress) progress = std::make_unique<TTerminalProgress>("print");
    TOutputJob job(doc, progress.get());
    const bool printed = job.ToPrinter(printer, ChoiceOf(o));
    progress.reset();
    WarnOfJob(job, o);
    if (!printed) return JobFailed(job, o, error);
    if (pages) *pages = job.Sheets();
    return true;
}
