#include "platform/SystemPrinter.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

TSystemPrinter::TSystemPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    fHasPrinter = !info.isNull();
    if (fHasPrinter) fPrinter = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

TSystemPrinter::~TSystemPrinter() = default;

TPrinterMetrics TSystemPrinter::GetPrinterMetrics() {
    TPrinterMetrics m;
    if (!fPrinter) return m;
    const int dpiX = fPrinter->logicalDpiX();
    const int dpiY = fPrinter->logicalDpiY();
    const QRect paper = fPrinter->pageLayout().fullRectPixels(dpiX);
    const QRect printable = fPrinter->pageLayout().paintRectPixels(dpiX);
    m.LogPixelsX = dpiX;
    m.LogPixelsY = dpiY;
    m.PhysicalWidth = paper.width();
    m.PhysicalHeight = paper.height();
    m.HorzRes = printable.width();
    m.VertRes = printable.height();
    m.OffsetX = printable.left();
    m.OffsetY = printable.top();
    m.Complete();
    return m;
}

std::vector<TPrinterPaper> TSystemPrinter::PaperList() {
    std::vector<TPrinterPaper> papers;
    if (!fPrinter) return papers;
    const QList<QPageSize> sizes = QPrinterInfo(*fPrinter).supportedPageSizes();
    papers.reserve(sizes.size() + 1);
    for (const QPageSize& size : sizes) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        papers.push_back({int(size.id()) + 1, int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)),
                          size.name()});
    }
    // Qt accepts any custom size, as a driver listing the user-defined paper does.
    papers.push_back({kUserPaper, 0, 0, QStringLiteral("User")});
    return papers;
}

bool TSystemPrinter::SelectPaper(int number, bool portrait) {
    if (!fPrinter || number <= 0 || number > int(QPageSize::LastPageSize) + 1) return false;
    const bool ok = fPrinter->setPageSize(QPageSize(QPageSize::PageSizeId(number - 1)));
    fPrinter->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return ok;
}

bool TSystemPrinter::SelectCustomPaper(int width, int height, bool portrait) {
    if (!fPrinter || width <= 0 || height <= 0) return false;
    const bool ok =
        fPrinter->setPageSize(QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                                        QPageSize::ExactMatch));
    fPrinter->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return ok;
}
