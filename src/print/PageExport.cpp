#include "print/PageExport.h"

#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "platform/DocumentLimits.h"
#include "merge/FieldUnit.h"
#include "merge/RecordUnit.h"
#include "print/PageBuilder.h"
#include "print/PageDeviceTarget.h"
#include "print/PrintJob.h"
#include "print/PrintPipeline.h"
#include "print/PrintProgress.h"
#include "platform/Rounding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// Every write to the output is checked as it happens: neither the PDF writer nor a file's close
// reports a write that failed, so the first failure is kept here with the system's reason.
class TCheckedDevice : public QIODevice {
public:
    explicit TCheckedDevice(QIODevice* inner) : fInner(inner) { QIODevice::open(QIODevice::WriteOnly); }
    const QString& Failure() const { return fFailure; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!fFailure.isEmpty()) return -1;
        errno = 0;
        const qint64 written = fInner->write(data, size);
        if (written == size) return written;
        const int code = errno;
        fFailure = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : fInner->errorString();
        if (fFailure.isEmpty()) fFailure = QStringLiteral("the write was refused");
        return -1;
    }

private:
    QIODevice* fInner;
    QString fFailure;
};

// The output file. A plain file (or a new one) is written beside the target and renamed over its
// name only once everything was written, so a failure never leaves half a page where the last good
// one was, and a link at the name is replaced, never followed (in a shared folder another user's
// link could point anywhere); a device or a pipe (/dev/stdout) is written directly.
class TOutput {
public:
    explicit TOutput(const QString& path) : fPath(path) {
        const QFileInfo info(path);
        // Unbuffered: a write that fails says so at once instead of at a close nobody checks.
        QString writeTo = path;
        if (!info.exists() || info.isFile() || info.isSymLink()) {
            // A new name made exclusively beside the target; removed again unless it takes the target's place.
            fTemp = std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX"));
            if (!fTemp->open()) {
                fDirect = std::make_unique<QFile>(path);
                fCreateError = fTemp->errorString();
                fChecked = std::make_unique<TCheckedDevice>(fDirect.get());
                return;
            }
            fTemp->close();
            fTemp->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ReadOther);
            writeTo = fTemp->fileName();
        }
        fDirect = std::make_unique<QFile>(writeTo);
        fOpen = fDirect->open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::Truncate);
        fChecked = std::make_unique<TCheckedDevice>(fDirect.get());
    }

    bool IsOpen() const { return fOpen; }
    QIODevice* Device() const { return fChecked.get(); }
    QString ErrorString() const {
        if (!fRenameError.isEmpty()) return fRenameError;
        if (!fCreateError.isEmpty()) return fCreateError;
        return fChecked->Failure().isEmpty() ? File()->errorString() : fChecked->Failure();
    }
    // True only when every byte reached the file and, for a plain file, it took the target's place.
    bool Finish() {
        if (!fChecked->Failure().isEmpty()) return false;
        fDirect->close();
        if (fDirect->error() != QFileDevice::NoError) return false;
        if (!fTemp) return true;
        // rename(2) replaces the name itself, a link included.
        if (::rename(QFile::encodeName(fTemp->fileName()).constData(), QFile::encodeName(fPath).constData()) != 0) {
            fRenameError = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        fTemp->setAutoRemove(false);
        return true;
    }

private:
    QFileDevice* File() const { return fDirect.get(); }

    QString fPath;
    QString fRenameError;
    QString fCreateError;
    std::unique_ptr<QTemporaryFile> fTemp;
    std::unique_ptr<QFile> fDirect;
    std::unique_ptr<TCheckedDevice> fChecked;
    bool fOpen = false;
};

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

// Calendars mark holidays from the holiday file: without it they print none, which must be said.
void WarnWithoutHolidays(TPriDocument& doc, const QString& appPath, const TExportOptions& o) {
    if (!doc.CalendarsLackHolidays()) return;
    const QString file = TPriCarendar::HolidayFile(appPath);
    const QString warning =
        QStringLiteral("warning: the holiday file %1 cannot be read: calendars print without holidays")
            .arg(QDir::toNativeSeparators(file));
    if (o.Warnings)
        o.Warnings->append(warning);
    else
        std::fprintf(stderr, "komorebi: %s\n", qPrintable(warning));
}

// The template loaded and set up as the options say, with its record files; the units outlive it.
bool PrepareDocument(TPriDocument& doc, TRecordUnit& records, TFieldUnit& fields, const QString& appPath,
                     const TExportOptions& o, QString* error) {
    const TDocumentResult loaded = doc.Load(o.TemplateFile, 0);
    if (!loaded) return Fail(error, QStringLiteral("cannot open %1: %2").arg(o.TemplateFile, loaded.Reason));
    doc.ApplyStartMonth(o.Year, o.Month);
    doc.ScaleToPaper();
    WarnWithoutHolidays(doc, appPath, o);

    // The reader keeps papers within the limits; the export checks again before it sizes a page.
    const QSize sheet = TPrintJob::SheetSize(doc);
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

} // namespace

TPrinterMetrics TPageExport::DeviceMetrics(QSize pixels, int dpi) {
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = dpi;
    m.PhysicalWidth = m.HorzRes = pixels.width();
    m.PhysicalHeight = m.VertRes = pixels.height();
    m.Complete();
    return m;
}

QImage TPageExport::RenderSeat(TPriDocument& doc, int dpi, bool smooth) {
    const TPriPaper& p = doc.PrintPaper;
    const QSize pixels(Trunc(p.PageWidth() / 254.0 * dpi), Trunc(p.PageHeight() / 254.0 * dpi));
    if (pixels.isEmpty() || pixels.width() > TPriDocument::kMaxViewSide || pixels.height() > TPriDocument::kMaxViewSide)
        return QImage();
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    if (smooth)
        canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    TPageBuilder(doc, DeviceMetrics(pixels, dpi)).DrawSeat(canvas, QPoint(0, 0));
    return image;
}

bool TPageExport::ParseArguments(const QStringList& args, TExportOptions& o, QString* error, bool toPrinter) {
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

QString TPageExport::PngName(const QString& out, int n, int count) {
    if (count <= 1) return out;
    const QFileInfo info(out);
    const QString base = out.left(out.size() - info.suffix().size() - 1);
    return QStringLiteral("%1-%2.%3").arg(base).arg(n, 3, 10, QLatin1Char('0')).arg(info.suffix());
}

bool TPageExport::Run(const QString& appPath, const TExportOptions& o, QString* error, int* pages,
                      QStringList* written) {
    if (pages) *pages = 0;
    if (written) written->clear();
    TPriDocument doc(appPath);
    TRecordUnit records;
    TFieldUnit fields;
    if (!PrepareDocument(doc, records, fields, appPath, o, error)) return false;
    const QSize sheet = TPrintJob::SheetSize(doc);
    const TPrinterMetrics m = TPrintJob::SheetMetrics(doc, o.Dpi);
    const QSize pixels(m.PhysicalWidth, m.PhysicalHeight);
    const bool png = QFileInfo(o.OutFile).suffix().toLower() == QLatin1String("png");
    const auto failed = [&](const QString& file, const QString& what) {
        return Fail(error, QStringLiteral("cannot write %1: %2").arg(file, what));
    };
    if (png && qint64(pixels.width()) * pixels.height() > TDocumentLimits::kMaxRasterPixels)
        return Fail(error,
                    QStringLiteral("the page at %1 dpi would be %2 x %3 pixels, more than %4 million: use a lower "
                                   "--dpi")
                        .arg(o.Dpi)
                        .arg(pixels.width())
                        .arg(pixels.height())
                        .arg(TDocumentLimits::kMaxRasterPixels / 1000000));

    std::unique_ptr<TTerminalProgress> progress;
    if (o.Progress) progress = std::make_unique<TTerminalProgress>("export");
    TPrintPipeline pipeline(doc, m, progress.get());
    const TPrintChoice choice = ChoiceOf(o);
    // A file is one job: the sheets of every mode become its pages.
    TPrintChoice one = choice;
    one.JobPerSheet = false;
    // The PDF takes the place of the target only once every page reached it. A failing file says
    // why; otherwise the pipeline's reason stands, as a write failure when only writing was left.
    const auto writePdf = [&](const std::function<bool(TPageDeviceTarget&)>& draw, bool onlyWriting) {
        TOutput out(o.OutFile);
        if (!out.IsOpen()) return failed(o.OutFile, out.ErrorString());
        {
            QPdfWriter pdf(out.Device());
            pdf.setCreator(QStringLiteral("komorebi"));
            pdf.setTitle(choice.JobTitle);
            pdf.setResolution(o.Dpi);
            pdf.setPageSize(QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter,
                                      QString(), QPageSize::ExactMatch));
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            TPageDeviceTarget target(pdf);
            if (!draw(target)) {
                const QString cause = out.ErrorString();
                if (!cause.isEmpty() && cause != QLatin1String("Unknown error")) return failed(o.OutFile, cause);
                return onlyWriting ? failed(o.OutFile, pipeline.Error()) : Fail(error, pipeline.Error());
            }
        }
        progress.reset();
        return out.Finish() || failed(o.OutFile, out.ErrorString());
    };
    const bool sheetByRecord = doc.PrintMode == 2 || doc.PrintMode == 3 || doc.PrintMode == 5;
    const auto beyond = [&](int sheets) {
        return Fail(error, QStringLiteral("--pages %1-%2 is beyond the %3 sheets of the job")
                               .arg(o.FirstPage)
                               .arg(o.LastPage)
                               .arg(sheets));
    };
    if (!png && (choice.AllPages || sheetByRecord)) {
        // Every sheet goes straight into the PDF as it is built; of a range, only its sheets are built.
        if (!writePdf([&](TPageDeviceTarget& target) { return pipeline.BuildAndPrint(target, one); }, false))
            return pipeline.SheetCount() == 0 && !choice.AllPages && pipeline.TotalSheets() >= 0
                       ? beyond(pipeline.TotalSheets())
                       : false;
        if (pages) *pages = pipeline.SheetCount();
        if (written) *written = QStringList{o.OutFile};
        return true;
    }
    // Of a range, modes 2, 3 and 5 build only its sheets, numbered from 1.
    if (sheetByRecord && !choice.AllPages) pipeline.SetSheetRange(o.FirstPage, o.LastPage);
    if (!pipeline.BuildPrintPages())
        return sheetByRecord && !choice.AllPages && pipeline.SheetCount() == 0 && pipeline.TotalSheets() > 0
                   ? beyond(pipeline.TotalSheets())
                   : Fail(error, pipeline.Error());
    progress.reset();
    int first = 0, last = -1;
    TPrintChoice built = choice;
    if (sheetByRecord) built.AllPages = true;
    TPrintPipeline::PageRange(built, pipeline.SheetCount(), first, last);
    if (first > last) return beyond(sheetByRecord ? pipeline.TotalSheets() : pipeline.SheetCount());

    if (png) {
        const QPoint at = pipeline.PageOffset(choice);
        for (int n = first; n <= last; ++n) {
            const QString file = PngName(o.OutFile, n - first + 1, last - first + 1);
            QImage image(pixels, QImage::Format_RGB32);
            if (image.isNull())
                return failed(
                    file,
                    QStringLiteral("not enough memory for %1 x %2 pixels").arg(pixels.width()).arg(pixels.height()));
            image.setDotsPerMeterX(Nearest(o.Dpi / 0.0254));
            image.setDotsPerMeterY(Nearest(o.Dpi / 0.0254));
            image.fill(Qt::white);
            {
                QPainter canvas(&image);
                canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
                if (!pipeline.DrawSheet(n - 1, canvas, at))
                    return failed(file, QStringLiteral("the built sheet %1 could not be read back").arg(n));
            }
            TOutput out(file);
            if (!out.IsOpen()) return failed(file, out.ErrorString());
            QImageWriter writer(out.Device(), "PNG");
            if (!writer.write(image)) {
                const QString cause = out.ErrorString();
                return failed(file, cause.isEmpty() || cause == QLatin1String("Unknown error") ? writer.errorString()
                                                                                               : cause);
            }
            // Every write reached the file and the file took the target's place, or nothing changed.
            if (!out.Finish()) return failed(file, out.ErrorString());
            if (pages) ++*pages;
            if (written) written->append(file);
        }
        return true;
    }

    if (!writePdf([&](TPageDeviceTarget& target) { return pipeline.PrintPages(target, one); }, true)) return false;
    if (pages) *pages = last - first + 1;
    if (written) *written = QStringList{o.OutFile};
    return true;
}

bool TPageExport::Print(const QString& appPath, const TExportOptions& o, QString* error, int* pages) {
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
    const QSize sheet = TPrintJob::SheetSize(doc);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setCopyCount(o.Copies);
    printer.setPageSize(QPageSize(QSizeF(sheet.width() / 10.0, sheet.height() / 10.0), QPageSize::Millimeter, QString(),
                                  QPageSize::FuzzyMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    std::unique_ptr<TTerminalProgress> progress;
    if (o.Progress) progress = std::make_unique<TTerminalProgress>("print");
    return TPrintJob::Print(doc, printer, ChoiceOf(o), progress.get(), error);
}
