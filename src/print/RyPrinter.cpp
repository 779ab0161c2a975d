#include "print/RyPrinter.h"

#include "platform/SystemPrinter.h"
#include "print/CupsPrinterSystem.h"

#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace {

// Qt's CUPS engine takes the job's options as a list of names and values under this key.
const auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Sets, or with an empty value drops, one option of the printer's next CUPS job.
void SetCupsJobOption(QPrinter& printer, const QString& name, const QString& value) {
    const QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
    QStringList kept;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (options[i] != name) kept << options[i] << options[i + 1];
    if (!value.isEmpty()) kept << name << value;
    printer.printEngine()->setProperty(kCupsOptions, kept);
}

} // namespace

TRyPrinter::TRyPrinter(std::unique_ptr<TRyPrinterSystem> system) : fSystem(std::move(system)) {
    if (!fSystem) fSystem = std::make_unique<TCupsPrinterSystem>();
    fSnapshot = fSystem->Printers();
    fPorts = fSystem->Ports();
}

TRyPrinter::~TRyPrinter() = default;

void TRyPrinter::CheckNoPrinter() {
    for (const TRyPrinterEntry& e : fSystem->Printers())
        if (!e.Hidden) return;
    fCachedIndex = -1;
    throw ERyPrinterNoPrinter("TRyPrinter.CheckNoPrinter: No Printer");
}

int TRyPrinter::GetIndex() {
    CheckNoPrinter();
    const QString current = fSystem->CurrentName();
    if (current.isEmpty()) return -1;
    const QList<TRyPrinterEntry> all = fSystem->Printers();
    int hiddenBefore = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].Name == current) {
            if (all[i].Hidden) throw ERyPrinterIllegalIndex("TRyPrinter.GetIndex: Printers.PrinterIndex is Illegal");
            return int(i) - hiddenBefore;
        }
        hiddenBefore += all[i].Hidden;
    }
    return -1;
}

QStringList TRyPrinter::GetPrinterNames() {
    CheckNoPrinter();
    QStringList names;
    for (const TRyPrinterEntry& e : fSystem->Printers())
        if (!e.Hidden) names << e.Name;
    return names;
}

QString TRyPrinter::CurrentVisibleName() {
    const int index = GetIndex();
    return index < 0 ? QString() : GetPrinterNames().value(index);
}

QString TRyPrinter::GetPort() {
    const QString name = CurrentVisibleName();
    return name.isEmpty() ? QString() : fSystem->Port(name);
}

QStringList TRyPrinter::GetPorts() {
    CheckNoPrinter();
    QStringList ports;
    for (const QString& p : fSystem->Ports())
        if (!ports.contains(p)) ports << p;
    return ports;
}

int TRyPrinter::GetCapabilities() {
    const QString name = CurrentVisibleName();
    return name.isEmpty() ? 0 : fSystem->Capabilities(name);
}

void TRyPrinter::Refresh() {
    const int index = GetIndex();
    if (index == fCachedIndex) return;
    fCachedIndex = index;
    fFlags = 0;
    fPapers.clear();
    fResolutions = 0;
    fMaxCopies = 0;
    if (index < 0) return;
    const QString name = GetPrinterNames().value(index);
    const QList<QPageSize> sizes = fSystem->PaperSizes(name);
    if (!sizes.isEmpty()) {
        fPapers = TSystemPrinter::NumberPapers(sizes);
        fFlags |= ifPapers;
    }
    fResolutions = fSystem->ResolutionCount(name);
    if (fResolutions > 0) fFlags |= ifResolutions;
    fMaxCopies = fSystem->MaxCopies(name);
    if (fMaxCopies > 0) fFlags |= ifCopies;
}

void TRyPrinter::Reset() {
    fCachedIndex = -1;
    Refresh();
}

bool TRyPrinter::SetCurrent(const QString& name) {
    if (!GetPrinterNames().contains(name)) return false;
    fSystem->SetCurrentName(name);
    fChosen = true;
    Reset();
    return true;
}

int TRyPrinter::GetPaperSizeNumber() {
    if (!(GetCapabilities() & dcPaperSize))
        throw ERyPrinterNotSupported("TRyPrinter.GetPaperSizeNumber: PaperSize is not Supported");
    Refresh();
    const QPageSize current = fSystem->CurrentPaper();
    for (const TPrinterPaper& p : fPapers)
        if (TSystemPrinter::SizeForNumber(fSystem->PaperSizes(CurrentVisibleName()), p.Number).isEquivalentTo(current))
            return p.Number;
    if (current.isValid() && current.id() != QPageSize::Custom) return int(current.id()) + 1;
    return TPrinterMetricsProvider::kUserPaper;
}

QStringList TRyPrinter::GetPaperSizeNames() {
    if (!(GetCapabilities() & dcPaperSize))
        throw ERyPrinterNotSupported("TRyPrinter.GetPaperSizeNames: PaperSize is not Supported");
    Refresh();
    if (!(fFlags & ifPapers)) throw ERyPrinterNoInfo("TRyPrinter.GetPaperSizeNames: No Papersize Info Available");
    QStringList names;
    for (const TPrinterPaper& p : fPapers)
        names << p.Name;
    return names;
}

int TRyPrinter::GetPaperSizeIndex() {
    if (!(GetCapabilities() & dcPaperSize))
        throw ERyPrinterNotSupported("TRyPrinter.GetPaperSizeIndex: PaperSize is not Supported");
    Refresh();
    if (!(fFlags & ifPapers)) throw ERyPrinterNoInfo("TRyPrinter.GetPaperSizeIndex: No Papersize Info Available");
    const int number = GetPaperSizeNumber();
    for (size_t i = 0; i < fPapers.size(); ++i)
        if (fPapers[i].Number == number) return int(i);
    throw ERYPrinterPaperSizeError("TRyPrinter.GetPaperSizeIndex: Cannot Get Paper Index");
}

QString TRyPrinter::CurrentAmong(const QList<TRyPrinterEntry>& printers) const {
    const auto visible = [&printers](const QString& name) {
        return !name.isEmpty() && std::any_of(printers.begin(), printers.end(),
                                              [&](const TRyPrinterEntry& e) { return e.Name == name && !e.Hidden; });
    };
    const QString current = fSystem->CurrentName();
    if (fChosen && visible(current)) return current;
    const QString standard = fSystem->DefaultName();
    if (visible(standard)) return standard;
    if (visible(current)) return current;
    for (const TRyPrinterEntry& e : printers)
        if (!e.Hidden) return e.Name;
    return QString();
}

bool TRyPrinter::CheckChanged() {
    const QList<TRyPrinterEntry> now = fSystem->Printers();
    const QStringList ports = fSystem->Ports();
    const QString current = CurrentAmong(now);
    if (now == fSnapshot && ports == fPorts && current == fSystem->CurrentName()) return false;
    fSnapshot = now;
    fPorts = ports;
    fCachedIndex = -1;
    if (current != fSystem->CurrentName()) fSystem->SetCurrentName(current);
    if (OnChange) OnChange();
    return true;
}

QPrinter& TRyPrinter::Printer() {
    const QString name = fSystem->CurrentName();
    // One printer for the page and the jobs, for the program's life: it follows the current
    // printer, and what the system's printer dialog set on it stays.
    const bool fresh = !fPrinter;
    if (fresh) fPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (fresh || fPrinterName != name) {
        fPrinterName = name;
        if (fresh || fPrinter->printerName() != name) {
            if (!name.isEmpty()) fPrinter->setPrinterName(name);
            const QPageSize paper = fSystem->CurrentPaper();
            if (paper.isValid()) fPrinter->setPageSize(paper);
        }
    }
    return *fPrinter;
}

TPrinterMetrics GetPrinterMetrics(QPrinter& printer) {
    TPrinterMetrics m;
    const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0) return m;
    const QPageLayout layout = printer.pageLayout();
    // Millimetres to pixels per axis: printers may differ in resolution across and down.
    const QRectF full = layout.fullRect(QPageLayout::Inch);
    const QRectF paint = layout.paintRect(QPageLayout::Inch);
    m.LogPixelsX = dpiX;
    m.LogPixelsY = dpiY;
    m.PhysicalWidth = qRound(full.width() * dpiX);
    m.PhysicalHeight = qRound(full.height() * dpiY);
    m.OffsetX = qRound(paint.left() * dpiX);
    m.OffsetY = qRound(paint.top() * dpiY);
    m.HorzRes = qRound(paint.width() * dpiX);
    m.VertRes = qRound(paint.height() * dpiY);
    m.Complete();
    return m;
}

QString CupsJobOption(QPrinter& printer, const QString& name) {
    const QStringList options = printer.printEngine()->property(kCupsOptions).toStringList();
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        if (options[i] == name) return options[i + 1];
    return QString();
}

void SetPrintQuality(QPrinter& printer, TPrintQuality quality) {
    // A PDF file has no printer behind it.
    if (printer.outputFormat() != QPrinter::NativeFormat) return;
    // IPP: 5 high, 4 normal; drivers with presets map it.
    SetCupsJobOption(printer, QStringLiteral("print-quality"),
                     quality == TPrintQuality::Fine ? QStringLiteral("5") : QStringLiteral("4"));
    // Drivers without presets rasterise at their Resolution: the finest one up to 1200 dpi, or
    // the driver's own default.
    int finest = 0;
    if (quality == TPrintQuality::Fine)
        for (int dpi : QPrinterInfo(printer).supportedResolutions())
            if (dpi <= 1200) finest = std::max(finest, dpi);
    SetCupsJobOption(printer, QStringLiteral("Resolution"),
                     finest > 0 ? QStringLiteral("%1dpi").arg(finest) : QString());
}
