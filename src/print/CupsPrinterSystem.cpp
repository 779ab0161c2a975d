#include "print/CupsPrinterSystem.h"

#include "print/RyPrinter.h"

#include <QPrinter>
#include <QPrinterInfo>

#ifdef KOMOREBI_HAVE_CUPS
#include <cups/cups.h>
#endif

TCupsPrinterSystem::TCupsPrinterSystem() {
    SetCurrentName(DefaultName());
}

QList<TRyPrinterEntry> TCupsPrinterSystem::Printers() const {
    QList<TRyPrinterEntry> list;
    // CUPS has no hidden queues: every queue it lists can be printed on.
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        list.append({name, false});
    return list;
}

QString TCupsPrinterSystem::DefaultName() const {
    return QPrinterInfo::defaultPrinterName();
}

void TCupsPrinterSystem::SetCurrentName(const QString& name) {
    fCurrent = name;
    fPaper = name.isEmpty() ? QPageSize() : QPrinterInfo::printerInfo(name).defaultPageSize();
}

QString TCupsPrinterSystem::Port(const QString& name) const {
#ifdef KOMOREBI_HAVE_CUPS
    QString port;
    if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.toUtf8().constData(), nullptr)) {
        const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options);
        if (!uri) uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
        if (uri) port = QString::fromUtf8(uri);
        cupsFreeDests(1, dest);
    }
    if (!port.isEmpty()) return port;
#endif
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    return info.isNull() ? QString() : info.location();
}

QStringList TCupsPrinterSystem::Ports() const {
    QStringList ports;
    for (const TRyPrinterEntry& e : Printers()) {
        const QString p = Port(e.Name);
        if (!p.isEmpty() && !ports.contains(p)) ports << p;
    }
    return ports;
}

QList<QPageSize> TCupsPrinterSystem::PaperSizes(const QString& name) const {
    return QPrinterInfo::printerInfo(name).supportedPageSizes();
}

int TCupsPrinterSystem::Capabilities(const QString& name) const {
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return 0;
    int bits = TRyPrinter::dcOrientation | TRyPrinter::dcCopies | TRyPrinter::dcCollate;
    if (!info.supportedPageSizes().isEmpty()) bits |= TRyPrinter::dcPaperSize | TRyPrinter::dcFormName;
    if (info.supportsCustomPageSizes()) bits |= TRyPrinter::dcPaperLength | TRyPrinter::dcPaperWidth;
    if (!info.supportedResolutions().isEmpty()) bits |= TRyPrinter::dcPrintQuality | TRyPrinter::dcYResolution;
    if (info.supportedColorModes().contains(QPrinter::Color)) bits |= TRyPrinter::dcColor;
    if (info.supportedDuplexModes().size() > 1) bits |= TRyPrinter::dcDuplex;
    return bits;
}

int TCupsPrinterSystem::ResolutionCount(const QString& name) const {
    return int(QPrinterInfo::printerInfo(name).supportedResolutions().size());
}

// CUPS takes any copy count a job asks for; the print dialog offers up to 999.
int TCupsPrinterSystem::MaxCopies(const QString& name) const {
    return QPrinterInfo::printerInfo(name).isNull() ? 0 : 999;
}
