#include "merge/ZintSymbol.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
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

// libzint draws the customer barcode in rows of 3, 2 and 3 modules; Japan Post's bars are 6 bar
// widths long with a timing bar of 2, so the outer rows shrink to 2.
double JapanPostRow(double y) {
    if (y <= 3) return y * 2 / 3;
    if (y <= 5) return 2 + (y - 3);
    return 4 + (y - 5) * 2 / 3;
}

} // namespace

TZintSymbol TZintSymbol::Encode(TKind kind, const QByteArray& utf8, QString* error, bool withText) {
    TZintSymbol out;
    std::unique_ptr<zint_symbol, TZintDeleter> s(ZBarcode_Create());
    if (!s) {
        if (error) *error = QStringLiteral("out of memory");
        out.fFailure = TFailure::Other;
        return out;
    }
    s->symbology = Symbology(kind);
    s->input_mode = kind == TKind::Gs1_128 ? GS1_MODE : UNICODE_MODE;
    s->show_hrt = withText && !TwoDimensional(kind) && kind != TKind::JapanPost ? 1 : 0;
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
        out.fFailure = result == ZINT_ERROR_TOO_LONG       ? TFailure::TooLong
                       : result == ZINT_ERROR_INVALID_DATA ? TFailure::BadData
                                                           : TFailure::Other;
        return out;
    }
    const bool post = kind == TKind::JapanPost;
    out.fSize = QSizeF(s->vector->width, post ? JapanPostRow(s->vector->height) : s->vector->height);
    for (const zint_vector_rect* r = s->vector->rectangles; r; r = r->next) {
        if (r->colour != -1) continue;
        if (post) {
            const double top = JapanPostRow(r->y);
            out.fBars.emplace_back(r->x, top, r->width, JapanPostRow(r->y + r->height) - top);
        } else {
            out.fBars.emplace_back(r->x, r->y, r->width, r->height);
        }
    }
    for (const zint_vector_string* t = s->vector->strings; t && withText; t = t->next)
        out.fTexts.push_back(
            {QString::fromUtf8(reinterpret_cast<const char*>(t->text)), QPointF(t->x, t->y), t->fsize});
    return out;
}

double TZintSymbol::ModuleFor(const QRectF& box) const {
    if (IsEmpty() || box.width() <= 0 || box.height() <= 0) return 0;
    return std::min(box.width() / fSize.width(), box.height() / fSize.height());
}

double TZintSymbol::Draw(QPainter& painter, const QRectF& box) const {
    const double module = ModuleFor(box);
    if (module > 0) DrawAt(painter, box, module);
    return module;
}

void TZintSymbol::DrawAt(QPainter& painter, const QRectF& box, double module) const {
    if (IsEmpty() || module <= 0) return;
    const QPointF origin(box.center().x() - fSize.width() * module / 2, box.center().y() - fSize.height() * module / 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRectF& r : fBars)
        painter.drawRect(
            QRectF(origin.x() + r.x() * module, origin.y() + r.y() * module, r.width() * module, r.height() * module));
    if (!fTexts.empty()) {
        painter.setPen(Qt::black);
        for (const TText& t : fTexts) {
            QFont font(QStringLiteral("ＭＳ ゴシック"));
            font.setPixelSize(std::max(1, int(t.Height * module * 0.8)));
            painter.setFont(font);
            const QFontMetricsF m(font);
            const double width = m.horizontalAdvance(t.Text);
            painter.drawText(QPointF(origin.x() + t.Base.x() * module - width / 2, origin.y() + t.Base.y() * module),
                             t.Text);
        }
    }
    painter.restore();
}
