#include "merge/PostalCode.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Outlines are drawn at this size and scaled: exact ink bounds at any device resolution.
constexpr int kPathPixels = 100;

QPainterPath TextPath(const QFont& face, const QString& text) {
    QFont f = face;
    f.setPixelSize(kPathPixels);
    f.setStretch(QFont::Unstretched);
    QPainterPath path;
    path.addText(0, 0, f, text);
    return path;
}

// The ink of path scaled by s with its centre at centre.
void FillAt(QPainter& canvas, const QPainterPath& path, double s, QPointF centre, const QColor& color) {
    const QRectF b = path.boundingRect();
    QTransform t;
    t.translate(centre.x() - b.center().x() * s, centre.y() - b.center().y() * s);
    t.scale(s, s);
    canvas.fillPath(t.map(path), color);
}

} // namespace

QString TPostalCode::Digits(const QString& value) {
    QString out;
    for (const QChar c : value.trimmed()) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            out += c;
        else if (u >= u'０' && u <= u'９')
            out += QChar(u'0' + (u - u'０'));
        else if (u == u'-' || u == u'－' || u == u'‐' || u == u'−' || u == u'ー')
            continue;
        else
            return {};
    }
    return out.size() == kDigits ? out : QString();
}

std::array<QRectF, TPostalCode::kDigits> TPostalCode::Boxes(const QRectF& target, QSize storeSize) {
    std::array<QRectF, kDigits> boxes{};
    if (storeSize.width() <= 0 || storeSize.height() <= 0) return boxes;
    const double sx = target.width() / storeSize.width(), sy = target.height() / storeSize.height();
    int left = 0;
    for (int i = 0; i < kDigits; ++i) {
        boxes[size_t(i)] = QRectF(target.left() + left * sx, target.top(), kBoxWidth * sx, kBoxHeight * sy);
        if (i < kDigits - 1) left += kBoxWidth + kGaps[size_t(i)];
    }
    return boxes;
}

void TPostalCode::DrawValue(QPainter& canvas, const QRectF& target, QSize storeSize, const QString& value,
                            TObjectExtras::TPostalLayout layout, const QFont& face, const QColor& color,
                            int pointSize) {
    if (storeSize.width() <= 0 || storeSize.height() <= 0 || target.isEmpty() || value.trimmed().isEmpty()) return;
    const double sy = target.height() / storeSize.height();
    // Every digit is scaled alike, by the ink of a zero, so the row keeps one baseline and height.
    const QPainterPath zero = TextPath(face, QStringLiteral("0"));
    const double zeroHeight = zero.boundingRect().height();
    if (zeroHeight <= 0) return;
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, true);
    const QString digits = Digits(value);
    if (digits.isEmpty() || layout == TObjectExtras::TPostalLayout::None) {
        const QPainterPath path = TextPath(face, value.trimmed());
        const QRectF b = path.boundingRect();
        double s = kDigitHeight * sy / zeroHeight;
        if (b.width() > 0) s = std::min(s, target.width() * 0.95 / b.width());
        if (b.height() > 0) s = std::min(s, target.height() * 0.9 / b.height());
        FillAt(canvas, path, s, target.center(), color);
    } else if (layout == TObjectExtras::TPostalLayout::Boxes) {
        const auto boxes = Boxes(target, storeSize);
        const double s = kDigitHeight * sy / zeroHeight;
        for (int i = 0; i < kDigits; ++i) {
            const QPainterPath path = TextPath(face, digits.mid(i, 1));
            // The digit is centred on its own ink, the zero's height keeping the row even.
            const QRectF b = path.boundingRect();
            const QPointF centre = boxes[size_t(i)].center();
            QTransform t;
            t.translate(centre.x() - b.center().x() * s, centre.y() - zero.boundingRect().center().y() * s);
            t.scale(s, s);
            canvas.fillPath(t.map(path), color);
        }
    } else {
        const double pitch = target.width() / kDigits;
        // The field's size in points, as millimetres on this target, then kept inside the cells.
        const double em = std::max(1, pointSize) * 254.0 / 72.0 * sy;
        double s = em / kPathPixels;
        s = std::min(s, target.height() * 0.9 / zeroHeight);
        const double zeroWidth = zero.boundingRect().width();
        if (zeroWidth > 0) s = std::min(s, pitch * 0.9 / zeroWidth);
        for (int i = 0; i < kDigits; ++i) {
            const QPainterPath path = TextPath(face, digits.mid(i, 1));
            const QRectF b = path.boundingRect();
            const QPointF centre(target.left() + pitch * (i + 0.5), target.center().y());
            QTransform t;
            t.translate(centre.x() - b.center().x() * s, centre.y() - zero.boundingRect().center().y() * s);
            t.scale(s, s);
            canvas.fillPath(t.map(path), color);
        }
    }
    canvas.restore();
}

void TPostalCode::DrawBoxes(QPainter& canvas, const QRectF& target, QSize storeSize, bool printed) {
    if (storeSize.width() <= 0 || storeSize.height() <= 0) return;
    const auto boxes = Boxes(target, storeSize);
    canvas.save();
    canvas.setBrush(Qt::NoBrush);
    if (!printed) {
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(QPen(Qt::red, 0));
        for (const QRectF& b : boxes)
            canvas.drawRect(b);
        canvas.restore();
        return;
    }
    canvas.setRenderHint(QPainter::Antialiasing, true);
    const double sx = target.width() / storeSize.width(), sy = target.height() / storeSize.height();
    // The nominal box is its inside: each frame line lies wholly outside the box edge.
    const auto line = [&](int i) { return (i < 3 ? 5 : 3) * std::min(sx, sy); };
    for (int i = 0; i < kDigits; ++i) {
        const double w = line(i);
        canvas.setPen(QPen(Qt::red, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        canvas.drawRect(boxes[size_t(i)].adjusted(-w / 2, -w / 2, w / 2, w / 2));
    }
    // The hyphen joins the frames of boxes 3 and 4.
    const double w = line(0);
    const double y = boxes[2].top() + kHyphenDrop * sy;
    const double x1 = boxes[2].right() + w, x2 = boxes[3].left() - line(3);
    if (x2 > x1) canvas.fillRect(QRectF(x1, y - w / 2, x2 - x1, w), Qt::red);
    canvas.restore();
}

QString TPostalCode::Warning(const QString& key, const QString& value) {
    if (value.trimmed().isEmpty()) return QStringLiteral("レコード「%1」の郵便番号が空です").arg(key);
    return QStringLiteral("レコード「%1」の郵便番号「%2」は7桁ではありません").arg(key, value);
}
