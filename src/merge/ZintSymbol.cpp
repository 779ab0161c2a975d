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

using TZintPtr = std::unique_ptr<zint_symbol, TZintDeleter>;

// A symbol set up for the kind; null when out of memory.
TZintPtr Prepared(TZintSymbol::TKind kind, bool withText) {
    TZintPtr s(ZBarcode_Create());
    if (!s) return s;
    s->symbology = Symbology(kind);
    s->input_mode = kind == TZintSymbol::TKind::Gs1_128 ? GS1_MODE : UNICODE_MODE;
    s->show_hrt = withText && !TwoDimensional(kind) && kind != TZintSymbol::TKind::JapanPost ? 1 : 0;
    s->scale = 0.5f; // a unit of the vector output, a pixel of the bitmap, is one module
    if (kind == TZintSymbol::TKind::Qr) s->option_1 = 2; // error correction M
    // Quiet zones: four modules round a QR or Data Matrix, ten beside linear codes.
    if (TwoDimensional(kind)) {
        s->whitespace_width = 4;
        s->whitespace_height = 4;
    } else if (kind != TZintSymbol::TKind::JapanPost) {
        s->whitespace_width = 10;
    }
    return s;
}

TZintSymbol::TFailure FailureOf(int result) {
    return result == ZINT_ERROR_TOO_LONG       ? TZintSymbol::TFailure::TooLong
           : result == ZINT_ERROR_INVALID_DATA ? TZintSymbol::TFailure::BadData
                                               : TZintSymbol::TFailure::Other;
}

} // namespace

TZintSymbol::TFailure TZintSymbol::Check(TKind kind, const QByteArray& utf8, QString* error) {
    TZintPtr s = Prepared(kind, false);
    if (!s) {
        if (error) *error = QStringLiteral("out of memory");
        return TFailure::Other;
    }
    // Whether the data fit does not depend on the mask: a fixed one spares the choice of the best,
    // most of a QR Code's encoding time.
    if (kind == TKind::Qr) s->option_3 = 1 << 8;
    const int result =
        ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(utf8.constData()), int(utf8.size()));
    if (result < ZINT_ERROR) return TFailure::None;
    if (error) *error = QString::fromUtf8(s->errtxt);
    return FailureOf(result);
}

TZintSymbol TZintSymbol::Encode(TKind kind, const QByteArray& utf8, QString* error, bool withText) {
    TZintSymbol out;
    TZintPtr s = Prepared(kind, withText);
    if (!s) {
        if (error) *error = QStringLiteral("out of memory");
        out.fFailure = TFailure::Other;
        return out;
    }
    // A matrix symbol is read from libzint's bitmap of one pixel a module: the same modules, made
    // faster than the vector output.
    const bool matrix = TwoDimensional(kind);
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.constData());
    const int result = matrix ? ZBarcode_Encode_and_Buffer(s.get(), bytes, int(utf8.size()), 0)
                              : ZBarcode_Encode_and_Buffer_Vector(s.get(), bytes, int(utf8.size()), 0);
    if (result >= ZINT_ERROR || (matrix ? !s->bitmap || s->bitmap_width <= 0 || s->bitmap_height <= 0 : !s->vector)) {
        if (error) *error = QString::fromUtf8(s->errtxt);
        out.fFailure = FailureOf(result);
        return out;
    }
    if (matrix) {
        out.fSize = QSizeF(s->bitmap_width, s->bitmap_height);
        // Each row's runs of dark modules as one rectangle, grown downwards while the next row
        // has the same run; three bytes a pixel.
        std::vector<size_t> open, next; // the rectangles ending on the row above, left to right
        for (int y = 0; y < s->bitmap_height; ++y) {
            const unsigned char* row = s->bitmap + qsizetype(y) * s->bitmap_width * 3;
            size_t above = 0;
            next.clear();
            for (int x = 0; x < s->bitmap_width;) {
                if (row[x * 3] >= 128) {
                    ++x;
                    continue;
                }
                const int start = x;
                while (x < s->bitmap_width && row[x * 3] < 128)
                    ++x;
                while (above < open.size() && out.fBars[open[above]].x() < start)
                    ++above;
                if (above < open.size() && out.fBars[open[above]].x() == start &&
                    out.fBars[open[above]].width() == x - start) {
                    out.fBars[open[above]].setHeight(out.fBars[open[above]].height() + 1);
                    next.push_back(open[above]);
                } else {
                    next.push_back(out.fBars.size());
                    out.fBars.emplace_back(start, y, x - start, 1);
                }
            }
            open.swap(next);
        }
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
    // In module units under a transform, in one call: a PDF then holds one matrix and small whole
    // numbers per symbol instead of long fractions per rectangle.
    painter.save();
    painter.translate(origin);
    painter.scale(module, module);
    painter.drawRects(fBars.data(), int(fBars.size()));
    painter.restore();
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
