#pragma once

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <functional>
#include <vector>

// The pixel sizes of the image objects in a PDF drawn at 300 dpi on one A4 page.
inline std::vector<QSize> PdfImages(const std::function<void(QPainter&)>& draw) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&pdf);
        draw(painter);
    }
    std::vector<QSize> sizes;
    static const QRegularExpression image(QStringLiteral("/Subtype /Image\\s*/Width (\\d+)\\s*/Height (\\d+)"));
    for (auto m = image.globalMatch(QString::fromLatin1(buffer.data())); m.hasNext();) {
        const auto found = m.next();
        sizes.emplace_back(found.captured(1).toInt(), found.captured(2).toInt());
    }
    return sizes;
}
