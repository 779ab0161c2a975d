#pragma once

#include <QString>
#include <vector>

// Measurements of the current printer, in its device pixels.
struct TPrinterMetrics {
    int HorzRes = 0;
    int VertRes = 0;
    double PrintableWidthMM = 0;
    double PrintableHeightMM = 0;
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int LogPixelsX = 0;
    int LogPixelsY = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    double OffsetXMM = 0;
    double OffsetYMM = 0;

    // Fills the derived fields from the measured ones.
    void Complete();
};

// One paper the printer driver offers, sizes in 0.1 mm.
struct TPrinterPaper {
    int Number = 0;
    int Width = 0;
    int Height = 0;
    QString Name;
};

// What the document needs to know of, and set on, the current printer. The default asks the
// system printer; tests hand in fixed values.
class TPrinterMetricsProvider {
public:
    virtual ~TPrinterMetricsProvider() = default;

    virtual TPrinterMetrics GetPrinterMetrics() = 0;
    virtual std::vector<TPrinterPaper> PaperList() = 0;
    // The paper number drivers use for a user-defined size.
    static constexpr int kUserPaper = 256;
    // Selects a listed paper and the orientation; false when the driver refused.
    virtual bool SelectPaper(int number, bool portrait) = 0;
    // Sets a user-defined size in 0.1 mm; false when it cannot be filled in.
    virtual bool SelectCustomPaper(int width, int height, bool portrait) = 0;
};

// A printer that is not there: every measurement 0, no papers.
class TNoPrinter : public TPrinterMetricsProvider {
public:
    TPrinterMetrics GetPrinterMetrics() override { return {}; }
    std::vector<TPrinterPaper> PaperList() override { return {}; }
    bool SelectPaper(int, bool) override { return false; }
    bool SelectCustomPaper(int, int, bool) override { return false; }
};
