#pragma once

#include "platform/PrinterMetrics.h"

#include <QList>
#include <QPageSize>
#include <memory>

class QPrinter;

// The system's current printer through Qt Print Support (CUPS). With no printer installed
// every measurement is 0, so the page shows no margin frame offsets.
class TSystemPrinter : public TPrinterMetricsProvider {
public:
    TSystemPrinter();
    ~TSystemPrinter() override;

    TPrinterMetrics GetPrinterMetrics() override;
    std::vector<TPrinterPaper> PaperList() override;
    bool SelectPaper(int number, bool portrait) override;
    bool SelectCustomPaper(int width, int height, bool portrait) override;

    bool HasPrinter() const { return fHasPrinter; }

    // Paper numbers for the sizes a printer offers: a standard size keeps its own number, a size
    // of the printer's own (a PPD entry Qt has no name for) is numbered by its place in the list
    // from kOwnPaperBase on, so each of them can be chosen again.
    static constexpr int kOwnPaperBase = 1000;
    static std::vector<TPrinterPaper> NumberPapers(const QList<QPageSize>& sizes);
    // The size a number stands for; invalid for a number that names none.
    static QPageSize SizeForNumber(const QList<QPageSize>& sizes, int number);
    QPrinter* Printer() { return fPrinter.get(); }

private:
    std::unique_ptr<QPrinter> fPrinter;
    bool fHasPrinter = false;
};
