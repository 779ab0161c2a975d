#include "platform/PrinterMetrics.h"

void TPrinterMetrics::Complete() {
    PrintableWidthMM = LogPixelsX > 0 ? HorzRes / double(LogPixelsX) * 25.4 : 0;
    PrintableHeightMM = LogPixelsY > 0 ? VertRes / double(LogPixelsY) * 25.4 : 0;
    RightMargin = PhysicalWidth - HorzRes - OffsetX;
    BottomMargin = PhysicalHeight - VertRes - OffsetY;
    OffsetXMM = LogPixelsX > 0 ? OffsetX / double(LogPixelsX) * 25.4 : 0;
    OffsetYMM = LogPixelsY > 0 ? OffsetY / double(LogPixelsY) * 25.4 : 0;
}
