#pragma once

#include "platform/PrinterMetrics.h"

#include <QList>
#include <QPageSize>
#include <functional>
#include <memory>

class QPrinter;

// The system's current printer through Qt Print Support (CUPS). With no printer installed
// every measurement is 0, so the page shows no margin frame offsets.
class TSystemPrinter : public TPrinterMetricsProvider {
public:
    TSystemPrinter();
    // Over a printer kept elsewhere, asked for each time (null when there is none): the page
    // measures, and sets the paper of, the very printer the print jobs go to.
    explicit TSystemPrinter(std::function<QPrinter*()> device);
    ~TSystemPrinter() override;

    TPrinterMetrics GetPrinterMetrics() override;
    std::vector<TPrinterPaper> PaperList() override;
    bool SelectPaper(int number, bool portrait) override;
    bool SelectCustomPaper(int width, int height, bool portrait) override;

    bool HasPrinter() const { return Device() != nullptr; }

    // Paper numbers for the sizes a printer offers: a standard size keeps its own number, a size
    // of the printer's own (a PPD entry Qt has no name for) is numbered by its place in the list
    // from kOwnPaperBase on, so each of them can be chosen again.
    static constexpr int kOwnPaperBase = 1000;
    static std::vector<TPrinterPaper> NumberPapers(const QList<QPageSize>& sizes);
    // The size a number stands for; invalid for a number that names none.
    static QPageSize SizeForNumber(const QList<QPageSize>& sizes, int number);
    QPrinter* Printer() { return Device(); }

private:
    QPrinter* Device() const { return fDevice ? fDevice() : fPrinter.get(); }

    std::unique_ptr<QPrinter> fPrinter;
    std::function<QPrinter*()> fDevice;
};
