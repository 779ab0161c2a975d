#pragma once

#include "platform/PrinterMetrics.h"

// A printer with fixed measurements and papers, remembering what the surface selected.
class TFixedPrinter : public TPrinterMetricsProvider {
public:
    TPrinterMetrics Metrics;
    std::vector<TPrinterPaper> Papers;
    bool CustomSucceeds = true;
    int SelectedPaper = -1;
    bool SelectedPortrait = false;
    QSize CustomSize;

    // An A4 sheet at 600 dpi with 5 mm unprintable edges (118 device pixels).
    static TPrinterMetrics A4At600() {
        TPrinterMetrics m;
        m.LogPixelsX = m.LogPixelsY = 600;
        m.PhysicalWidth = 4961;
        m.PhysicalHeight = 7016;
        m.OffsetX = m.OffsetY = 118;
        m.HorzRes = 4961 - 2 * 118;
        m.VertRes = 7016 - 2 * 118;
        m.Complete();
        return m;
    }

    TPrinterMetrics GetPrinterMetrics() override { return Metrics; }
    std::vector<TPrinterPaper> PaperList() override { return Papers; }
    bool SelectPaper(int number, bool portrait) override {
        SelectedPaper = number;
        SelectedPortrait = portrait;
        return true;
    }
    bool SelectCustomPaper(int width, int height, bool portrait) override {
        if (!CustomSucceeds) return false;
        SelectedPaper = kUserPaper;
        SelectedPortrait = portrait;
        CustomSize = QSize(width, height);
        return true;
    }
};
