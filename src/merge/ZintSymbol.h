#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// A symbol of one of the codes libzint draws for us, kept as its modules' rectangles and dots in
// module units, so it draws sharp at any size on any device.
class TZintSymbol {
public:
    enum class TKind { Code128, Gs1_128, Qr, JapanPost, DataMatrix };

    // Encodes UTF-8 data; on failure the symbol is empty and error says why (libzint's words).
    static TZintSymbol Encode(TKind kind, const QByteArray& utf8, QString* error = nullptr);

    bool IsEmpty() const { return fSize.isEmpty(); }
    // The whole symbol with its quiet zone, in modules.
    QSizeF Size() const { return fSize; }
    const std::vector<QRectF>& Bars() const { return fBars; }

    // Draws the symbol as large as fits the box, keeping its proportions, centred; black on the
    // painter's background. Returns the module size in the painter's units, 0 when nothing was drawn.
    double Draw(QPainter& painter, const QRectF& box) const;

private:
    QSizeF fSize;
    std::vector<QRectF> fBars;
};
