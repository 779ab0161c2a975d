#include "platform/SystemPrinter.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

TSystemPrinter::TSystemPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (!info.isNull()) fPrinter = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

TSystemPrinter::TSystemPrinter(std::function<QPrinter*()> device) : fDevice(std::move(device)) {}

TSystemPrinter::~TSystemPrinter() = default;

TPrinterMetrics TSystemPrinter::GetPrinterMetrics() {
    TPrinterMetrics m;
    QPrinter* printer = Device();
    if (!printer) return m;
    const int dpiX = printer->logicalDpiX();
    const int dpiY = printer->logicalDpiY();
    const QRect paper = printer->pageLayout().fullRectPixels(dpiX);
    const QRect printable = printer->pageLayout().paintRectPixels(dpiX);
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

std::vector<TPrinterPaper> TSystemPrinter::NumberPapers(const QList<QPageSize>& sizes) {
    std::vector<TPrinterPaper> papers;
    papers.reserve(size_t(sizes.size()) + 1);
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QPageSize& size = sizes[i];
        const QSizeF mm = size.size(QPageSize::Millimeter);
        const int number = size.id() == QPageSize::Custom ? kOwnPaperBase + int(i) : int(size.id()) + 1;
        papers.push_back({number, int(std::lround(mm.width() * 10)), int(std::lround(mm.height() * 10)), size.name()});
    }
    // Qt accepts any custom size, as a driver listing the user-defined paper does.
    papers.push_back({kUserPaper, 0, 0, QStringLiteral("User")});
    return papers;
}

QPageSize TSystemPrinter::SizeForNumber(const QList<QPageSize>& sizes, int number) {
    if (number >= kOwnPaperBase) {
        const qsizetype i = number - kOwnPaperBase;
        return i < sizes.size() ? sizes[i] : QPageSize();
    }
    if (number <= 0 || number > int(QPageSize::LastPageSize) + 1 || number - 1 == int(QPageSize::Custom))
        return QPageSize();
    return QPageSize(QPageSize::PageSizeId(number - 1));
}

std::vector<TPrinterPaper> TSystemPrinter::PaperList() {
    QPrinter* printer = Device();
    if (!printer) return {};
    return NumberPapers(QPrinterInfo(*printer).supportedPageSizes());
}

bool TSystemPrinter::SelectPaper(int number, bool portrait) {
    QPrinter* printer = Device();
    if (!printer) return false;
    const QPageSize size = SizeForNumber(QPrinterInfo(*printer).supportedPageSizes(), number);
    if (!size.isValid()) return false;
    const bool ok = printer->setPageSize(size);
    printer->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return ok;
}

bool TSystemPrinter::SelectCustomPaper(int width, int height, bool portrait) {
    QPrinter* printer = Device();
    if (!printer || width <= 0 || height <= 0) return false;
    const bool ok = printer->setPageSize(
        QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    printer->setPageOrientation(portrait ? QPageLayout::Portrait : QPageLayout::Landscape);
    return ok;
}
