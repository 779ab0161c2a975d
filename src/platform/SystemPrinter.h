#pragma once

#include "platform/PrinterMetrics.h"

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
    QPrinter* Printer() { return fPrinter.get(); }

private:
    std::unique_ptr<QPrinter> fPrinter;
    bool fHasPrinter = false;
};
