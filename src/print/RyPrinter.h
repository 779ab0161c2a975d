#pragma once

#include "platform/PrinterMetrics.h"
#include "print/RyPrinterSystem.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class QPrinter;

// Failures of the printer information; each carries its message.
class ERyPrinter : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class ERyPrinterNoPrinter : public ERyPrinter {
public:
    using ERyPrinter::ERyPrinter;
};
class ERyPrinterIllegalIndex : public ERyPrinter {
public:
    using ERyPrinter::ERyPrinter;
};
class ERyPrinterNotSupported : public ERyPrinter {
public:
    using ERyPrinter::ERyPrinter;
};
class ERyPrinterNoInfo : public ERyPrinter {
public:
    using ERyPrinter::ERyPrinter;
};
class ERYPrinterPaperSizeError : public ERyPrinter {
public:
    using ERyPrinter::ERyPrinter;
};

// The current printer for the rest of the program: its place among the visible printers, the
// names, its device, its papers and capabilities, and the notice when printers come or go.
class TRyPrinter {
public:
    // Without a system the installed printers are asked through Qt and CUPS.
    explicit TRyPrinter(std::unique_ptr<TRyPrinterSystem> system = nullptr);
    ~TRyPrinter();

    // Capability bits: the device settings the current printer lets the program choose.
    enum TCapability {
        dcOrientation = 1 << 0,
        dcPaperSize = 1 << 1,
        dcPaperLength = 1 << 2,
        dcPaperWidth = 1 << 3,
        dcScale = 1 << 4,
        dcCopies = 1 << 5,
        dcDefaultSource = 1 << 6,
        dcPrintQuality = 1 << 7,
        dcColor = 1 << 8,
        dcDuplex = 1 << 9,
        dcYResolution = 1 << 10,
        dcTTOption = 1 << 11,
        dcCollate = 1 << 12,
        dcFormName = 1 << 13,
        dcLogPixels = 1 << 14,
        dcPanningWidth = 1 << 15,
        dcPanningHeight = 1 << 16,
    };
    // Information flags: which driver data were read.
    enum TInfoFlag { ifPapers = 1, ifBins = 2, ifResolutions = 4, ifCopies = 8 };

    void CheckNoPrinter();
    // Place of the current printer among the visible printers; -1 when there is no current one.
    int GetIndex();
    QStringList GetPrinterNames();
    QString GetPort();
    QStringList GetPorts();
    int GetPaperSizeNumber();
    QStringList GetPaperSizeNames();
    int GetPaperSizeIndex();
    int GetCapabilities();
    // Re-reads the driver data when the current printer is another than the one last read.
    void Refresh();
    // Forgets everything read, for after the settings of the same printer changed.
    void Reset();
    // Chooses a visible printer by name; false when there is none of that name. The chosen
    // printer stays current while it is there, whatever the system's default becomes.
    bool SetCurrent(const QString& name);

    // Looks the printers up again: printers added, removed or moved to another device since the
    // last look, and the system's default while no printer was chosen, which then becomes the
    // current one. A current printer that went away gives way to the default or the first
    // visible one. True, and OnChange told, when anything changed.
    bool CheckChanged();
    std::function<void()> OnChange;

    int MaxCopies() { return (Refresh(), fMaxCopies); }
    int InfoFlags() const { return fFlags; }
    int ResolutionCount() const { return fResolutions; }

    // The print job goes to this printer, set to the current printer and paper. Always the same
    // object: the page measures it and the jobs print on it.
    QPrinter& Printer();

    TRyPrinterSystem& System() { return *fSystem; }

private:
    QString CurrentVisibleName();
    // The printer that should be current among these: the chosen one while it is listed, else
    // the system's default, else the first visible one.
    QString CurrentAmong(const QList<TRyPrinterEntry>& printers) const;

    std::unique_ptr<TRyPrinterSystem> fSystem;
    QList<TRyPrinterEntry> fSnapshot;
    QStringList fPorts;
    int fCachedIndex = -1;
    bool fChosen = false;
    std::vector<TPrinterPaper> fPapers;
    int fResolutions = 0;
    int fMaxCopies = 0;
    int fFlags = 0;
    std::unique_ptr<QPrinter> fPrinter;
    QString fPrinterName;
};

// Measurements of a printer from its page layout, in its device pixels.
TPrinterMetrics GetPrinterMetrics(QPrinter& printer);

// The print dialog's quality: "きれい" or "ふつう".
enum class TPrintQuality { Fine = 0, Normal = 1 };
// Sets the quality on a CUPS printer's next job: IPP print-quality 5 or 4, and for "きれい" the
// driver's finest Resolution up to 1200 dpi. The picture grid the pages are built on stays: the
// job is sent as vectors and the driver rasterises it.
void SetPrintQuality(QPrinter& printer, TPrintQuality quality);
// A CUPS option the printer's next job carries; empty when it carries none of that name.
QString CupsJobOption(QPrinter& printer, const QString& name);
