#pragma once

#include "print/RyPrinterSystem.h"

// The installed printers through Qt Print Support, their devices through CUPS.
class TCupsPrinterSystem : public TRyPrinterSystem {
public:
    TCupsPrinterSystem();

    QList<TRyPrinterEntry> Printers() const override;
    QString CurrentName() const override { return fCurrent; }
    void SetCurrentName(const QString& name) override;
    QString DefaultName() const override;
    QString Port(const QString& name) const override;
    QStringList Ports() const override;
    QList<QPageSize> PaperSizes(const QString& name) const override;
    QPageSize CurrentPaper() const override { return fPaper; }
    void SetCurrentPaper(const QPageSize& paper) { fPaper = paper; }
    int Capabilities(const QString& name) const override;
    int ResolutionCount(const QString& name) const override;
    int MaxCopies(const QString& name) const override;

private:
    QString fCurrent;
    QPageSize fPaper;
};
