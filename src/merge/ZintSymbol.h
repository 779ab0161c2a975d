#pragma once

#include <QByteArray>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

// A symbol of one of the codes libzint draws for us, kept as its modules' rectangles in module
// units, so it draws sharp at any size on any device.
class TZintSymbol {
public:
    enum class TKind { Code128, Gs1_128, Qr, JapanPost, DataMatrix };
    // Why a symbol could not be made.
    enum class TFailure { None, TooLong, BadData, Other };

    // The human-readable line under a linear code: centred on X with its baseline at Y, in modules.
    struct TText {
        QString Text;
        QPointF Base;
        double Height = 0;
    };

    // Encodes UTF-8 data; on failure the symbol is empty, Failure() says why and error gives
    // libzint's words. withText keeps the human-readable line of the linear codes.
    static TZintSymbol Encode(TKind kind, const QByteArray& utf8, QString* error = nullptr, bool withText = false);
    // Whether Encode would make the symbol, found faster.
    static TFailure Check(TKind kind, const QByteArray& utf8, QString* error = nullptr);

    bool IsEmpty() const { return fSize.isEmpty(); }
    TFailure Failure() const { return fFailure; }
    // The whole symbol with its quiet zone, in modules.
    QSizeF Size() const { return fSize; }
    const std::vector<QRectF>& Bars() const { return fBars; }
    const std::vector<TText>& Texts() const { return fTexts; }

    // The module size at which the symbol fills the box, keeping its proportions.
    double ModuleFor(const QRectF& box) const;
    // Draws the symbol at that module size, centred in the box, black on the painter's background.
    // Returns the module size in the painter's units, 0 when nothing was drawn.
    double Draw(QPainter& painter, const QRectF& box) const;
    // Draws it with the given module size, centred in the box.
    void DrawAt(QPainter& painter, const QRectF& box, double module) const;

private:
    QSizeF fSize;
    std::vector<QRectF> fBars;
    std::vector<TText> fTexts;
    TFailure fFailure = TFailure::None;
};
