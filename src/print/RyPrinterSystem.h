#pragma once

#include <QList>
#include <QPageSize>
#include <QString>
#include <QStringList>

// One installed printer as the system lists it.
struct TRyPrinterEntry {
    QString Name;
    // Hidden printers are left out everywhere in the program.
    bool Hidden = false;
    bool operator==(const TRyPrinterEntry&) const = default;
};

// What the printer information asks of the operating system. The default answers through Qt
// Print Support and CUPS; tests hand in fixed printers.
class TRyPrinterSystem {
public:
    virtual ~TRyPrinterSystem() = default;
    // Every installed printer, in the system's order.
    virtual QList<TRyPrinterEntry> Printers() const = 0;
    // The printer the program prints on; empty when there is none.
    virtual QString CurrentName() const = 0;
    virtual void SetCurrentName(const QString& name) = 0;
    // The printer the system prints on by default; empty when it names none.
    virtual QString DefaultName() const { return QString(); }
    // The printer's device (its CUPS device URI).
    virtual QString Port(const QString& name) const = 0;
    virtual QStringList Ports() const = 0;
    virtual QList<QPageSize> PaperSizes(const QString& name) const = 0;
    // The paper the printer is set to.
    virtual QPageSize CurrentPaper() const = 0;
    // Capability bits, in the order TRyPrinter::GetCapabilities lists them.
    virtual int Capabilities(const QString& name) const = 0;
    virtual int ResolutionCount(const QString& name) const = 0;
    virtual int MaxCopies(const QString& name) const = 0;
};
