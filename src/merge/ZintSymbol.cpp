#include "merge/ZintSymbol.h"

#include <QPainter>
#include <memory>
#include <zint.h>

namespace {

struct TZintDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};

int Symbology(TZintSymbol::TKind kind) {
    switch (kind) {
    case TZintSymbol::TKind::Code128: return BARCODE_CODE128;
    case TZintSymbol::TKind::Gs1_128: return BARCODE_GS1_128;
    case TZintSymbol::TKind::Qr: return BARCODE_QRCODE;
    case TZintSymbol::TKind::JapanPost: return BARCODE_JAPANPOST;
    case TZintSymbol::TKind::DataMatrix: return BARCODE_DATAMATRIX;
    }
    return BARCODE_CODE128;
}

bool TwoDimensional(TZintSymbol::TKind kind) {
    return kind == TZintSymbol::TKind::Qr || kind == TZintSymbol::TKind::DataMatrix;
}

} // namespace

TZintSymbol TZintSymbol::Encode(TKind kind, const QByteArray& utf8, QString* error) {
    TZintSymbol out;
    std::unique_ptr<zint_symbol, TZintDeleter> s(ZBarcode_Create());
    if (!s) {
        if (error) *error = QStringLiteral("out of memory");
        return out;
    }
    s->symbology = Symbology(kind);
    s->input_mode = kind == TKind::Gs1_128 ? GS1_MODE : UNICODE_MODE;
    s->show_hrt = 0;
    s->scale = 0.5f;                        // one unit of the vector output is one module
    if (kind == TKind::Qr) s->option_1 = 2; // error correction M
    // Quiet zones: four modules round a QR or Data Matrix, ten beside linear codes.
    if (TwoDimensional(kind)) {
        s->whitespace_width = 4;
        s->whitespace_height = 4;
    } else if (kind != TKind::JapanPost) {
        s->whitespace_width = 10;
    }
    const int result = ZBarcode_Encode_and_Buffer_Vector(
        s.get(), reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()), 0);
    if (result >= ZINT_ERROR || !s->vector) {
        if (error) *error = QString::fromUtf8(s->errtxt);
        return out;
    }
    out.fSize = QSizeF(s->vector->width, s->vector->height);
    for (const zint_vector_rect* r = s->vector->rectangles; r; r = r->next)
        if (r->colour == -1) out.fBars.emplace_back(r->x, r->y, r->width, r->height);
    return out;
}

double TZintSymbol::Draw(QPainter& painter, const QRectF& box) const {
    if (IsEmpty() || box.width() <= 0 || box.height() <= 0) return 0;
    const double module = std::min(box.width() / fSize.width(), box.height() / fSize.height());
    const QPointF origin(box.center().x() - fSize.width() * module / 2, box.center().y() - fSize.height() * module / 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRectF& r : fBars)
        painter.drawRect(
            QRectF(origin.x() + r.x() * module, origin.y() + r.y() * module, r.width() * module, r.height() * module));
    painter.restore();
    return module;
}
