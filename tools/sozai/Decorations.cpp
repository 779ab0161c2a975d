// Small decorations on transparent ground, each filling most of its square with a margin for
// its shadow.

#include "Sozai.h"
#include "SozaiPaint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace sozai {

namespace {

QPointF Centre(QSizeF s) {
    return QPointF(s.width() / 2, s.height() / 2);
}

// A faint drop shadow of a shape, so the decoration lifts off light paper.
void Shadow(QPainter& p, const QPainterPath& shape, QPointF offset) {
    p.save();
    p.translate(offset);
    p.setPen(Qt::NoPen);
    for (int i = 3; i >= 1; --i) {
        p.setBrush(QColor(60, 40, 20, 10));
        p.drawPath(shape);
        p.translate(-offset / 6);
    }
    p.restore();
}

} // namespace

void MapleDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double size = s.width() * 0.8;
    p.save();
    p.translate(Centre(s) - QPointF(0, size * 0.05));
    p.rotate(-12);
    Shadow(p, MapleLeaf(size), QPointF(size * 0.025, size * 0.03));
    p.restore();
    DrawMaple(p, Centre(s) - QPointF(0, size * 0.05), size, -12, QColor(214, 52, 40));
}

void GinkgoDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    // The fan reaches further above its centre than the stalk below it.
    const double size = s.width() * 0.72;
    const QPointF c = Centre(s) + QPointF(0, size * 0.16);
    p.save();
    p.translate(c);
    p.rotate(15);
    Shadow(p, GinkgoLeaf(size), QPointF(size * 0.025, size * 0.03));
    p.restore();
    DrawGinkgo(p, c, size, 15, QColor(242, 196, 44));
}

void SprigDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width();
    QPainterPath stem(QPointF(W * 0.2, W * 0.85));
    stem.quadTo(QPointF(W * 0.45, W * 0.55), QPointF(W * 0.8, W * 0.18));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(96, 130, 64), W * 0.018, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(stem);
    const QColor greens[3] = {QColor(110, 170, 80), QColor(140, 190, 90), QColor(90, 150, 76)};
    for (int i = 0; i < 7; ++i) {
        const double t = 0.12 + i * 0.13;
        const QPointF at = stem.pointAtPercent(std::min(t, 0.98));
        const double along = -stem.angleAtPercent(std::min(t, 0.98));
        Leaf(p, at, W * (0.3 - i * 0.02), along + (i % 2 ? 55 : -55), greens[i % 3], 0.42);
    }
    Leaf(p, stem.pointAtPercent(1), W * 0.2, -stem.angleAtPercent(1), greens[1], 0.42);
}

void SakuraDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width();
    Leaf(p, QPointF(W * 0.5, W * 0.55), W * 0.42, 35, QColor(120, 170, 90), 0.38);
    Bud(p, QPointF(W * 0.8, W * 0.25), W * 0.09, 40, QColor(240, 150, 176));
    Flower(p, QPointF(W * 0.45, W * 0.45), W * 0.34, 8, QColor(252, 204, 218), TPetal::Sakura, QColor(226, 120, 140));
}

void UmeDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width();
    QPainterPath twig(QPointF(W * 0.05, W * 0.9));
    twig.lineTo(QPointF(W * 0.4, W * 0.6));
    twig.lineTo(QPointF(W * 0.55, W * 0.62));
    twig.lineTo(QPointF(W * 0.95, W * 0.2));
    p.setPen(QPen(QColor(84, 60, 50), W * 0.03, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(twig);
    Bud(p, QPointF(W * 0.82, W * 0.3), W * 0.07, 30, QColor(208, 52, 86));
    Flower(p, QPointF(W * 0.62, W * 0.5), W * 0.22, 20, QColor(214, 60, 92), TPetal::Ume, QColor(240, 200, 80));
    Flower(p, QPointF(W * 0.3, W * 0.62), W * 0.17, 50, QColor(250, 246, 242), TPetal::Ume, QColor(240, 200, 80));
}

void StarsDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width();
    const struct {
        double X, Y, R, Turn;
    } stars[] = {{0.4, 0.42, 0.3, -8}, {0.75, 0.72, 0.16, 12}, {0.78, 0.22, 0.1, 20}, {0.2, 0.8, 0.08, -15}};
    for (const auto& st : stars) {
        const QPointF c(W * st.X, W * st.Y);
        const QPainterPath star = Star(c, W * st.R, W * st.R * 0.46, 5, st.Turn);
        Shadow(p, star, QPointF(W * 0.012, W * 0.016));
        p.setPen(QPen(QColor(176, 126, 40), W * 0.006, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(GoldGradient(c - QPointF(W * st.R, W * st.R), c + QPointF(W * st.R, W * st.R)));
        p.drawPath(star);
        // Facets: lines from the centre to each point.
        p.setPen(QPen(QColor(255, 246, 200, 150), W * 0.004));
        for (int i = 0; i < 5; ++i)
            p.drawLine(c, Polar(c, W * st.R * 0.9, st.Turn - 90 + 72 * i));
    }
    for (int i = 0; i < 5; ++i)
        SoftSpot(p, QPointF(W * (0.1 + i * 0.2), W * (0.1 + (i % 3) * 0.3)), W * 0.03, QColor(255, 240, 180), 0.9);
}

void RibbonDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width();
    const QPointF c(W * 0.5, W * 0.4);
    const QColor red(206, 40, 60), dark(150, 20, 40);
    // Tails first, then the loops, then the knot.
    for (double dir : {-1.0, 1.0}) {
        QPainterPath tail(c);
        tail.cubicTo(c + QPointF(dir * W * 0.05, W * 0.2), c + QPointF(dir * W * 0.18, W * 0.3),
                     c + QPointF(dir * W * 0.3, W * 0.5));
        tail.lineTo(c + QPointF(dir * W * 0.22, W * 0.47));
        tail.lineTo(c + QPointF(dir * W * 0.2, W * 0.54));
        tail.cubicTo(c + QPointF(dir * W * 0.1, W * 0.35), c + QPointF(-dir * W * 0.02, W * 0.2), c);
        QLinearGradient g(c, c + QPointF(dir * W * 0.3, W * 0.5));
        g.setColorAt(0, dark);
        g.setColorAt(0.5, red);
        g.setColorAt(1, red.darker(115));
        Shadow(p, tail, QPointF(W * 0.01, W * 0.015));
        p.setPen(QPen(dark, W * 0.004));
        p.setBrush(g);
        p.drawPath(tail);
    }
    for (double dir : {-1.0, 1.0}) {
        QPainterPath loop(c);
        loop.cubicTo(c + QPointF(dir * W * 0.2, -W * 0.32), c + QPointF(dir * W * 0.5, -W * 0.18),
                     c + QPointF(dir * W * 0.38, W * 0.02));
        loop.cubicTo(c + QPointF(dir * W * 0.3, W * 0.12), c + QPointF(dir * W * 0.12, W * 0.08), c);
        QLinearGradient g(c + QPointF(0, -W * 0.2), c + QPointF(0, W * 0.1));
        g.setColorAt(0, red.lighter(125));
        g.setColorAt(0.6, red);
        g.setColorAt(1, dark);
        Shadow(p, loop, QPointF(W * 0.01, W * 0.015));
        p.setPen(QPen(dark, W * 0.004));
        p.setBrush(g);
        p.drawPath(loop);
        // The fold inside each loop.
        QPainterPath fold(c + QPointF(dir * W * 0.05, -W * 0.02));
        fold.quadTo(c + QPointF(dir * W * 0.22, -W * 0.12), c + QPointF(dir * W * 0.32, -W * 0.02));
        p.setPen(QPen(QColor(255, 200, 200, 120), W * 0.01, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(fold);
    }
    QRadialGradient knot(c - QPointF(W * 0.02, W * 0.02), W * 0.08);
    knot.setColorAt(0, red.lighter(130));
    knot.setColorAt(1, dark);
    p.setPen(QPen(dark, W * 0.004));
    p.setBrush(knot);
    p.drawRoundedRect(QRectF(c - QPointF(W * 0.06, W * 0.055), QSizeF(W * 0.12, W * 0.11)), W * 0.03, W * 0.03);
}

void CornerDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    // An ornament for the upper left corner of a card; turn or mirror it for the others.
    const double W = s.width(), m = W * 0.05;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(GoldGradient(QPointF(0, 0), QPointF(W, W))), W * 0.014, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(m, m), QPointF(W * 0.96, m));
    p.drawLine(QPointF(m, m), QPointF(m, W * 0.96));
    p.setPen(QPen(QBrush(GoldGradient(QPointF(0, 0), QPointF(W, W))), W * 0.006, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(m * 1.8, m * 1.8), QPointF(W * 0.8, m * 1.8));
    p.drawLine(QPointF(m * 1.8, m * 1.8), QPointF(m * 1.8, W * 0.8));
    p.save();
    p.translate(m * 0.6, m * 0.6);
    Flourish(p, W * 0.88);
    p.restore();
    Flower(p, QPointF(W * 0.27, W * 0.27), W * 0.06, 10, QColor(240, 150, 170), TPetal::Ume, QColor(240, 200, 90));
}

void SnowDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width(), r = W * 0.44;
    const QPointF c = Centre(s);
    Snowflake(p, c + QPointF(W * 0.01, W * 0.014), r, 0, QColor(40, 80, 140, 70), W * 0.035, 0);
    Snowflake(p, c, r, 0, QColor(120, 170, 220), W * 0.035, 0);
    Snowflake(p, c, r, 0, QColor(236, 246, 255), W * 0.018, 0);
}

void BannerDeco(QPainter& p, QSizeF s, QRandomGenerator&) {
    // A heading ribbon with folded ends, blank for a title.
    const double W = s.width(), H = s.height();
    const QColor face(58, 120, 120), back(32, 82, 86);
    for (double dir : {-1.0, 1.0}) {
        const double x = dir < 0 ? W * 0.02 : W * 0.98;
        QPolygonF end;
        end << QPointF(x, H * 0.3) << QPointF(x - dir * W * 0.16, H * 0.3) << QPointF(x - dir * W * 0.16, H * 0.85)
            << QPointF(x, H * 0.85) << QPointF(x - dir * W * 0.05, H * 0.575);
        p.setPen(Qt::NoPen);
        p.setBrush(back);
        p.drawPolygon(end);
        QPolygonF fold;
        fold << QPointF(x - dir * W * 0.16, H * 0.85) << QPointF(x - dir * W * 0.12, H * 0.72)
             << QPointF(x - dir * W * 0.16, H * 0.72);
        p.setBrush(back.darker(140));
        p.drawPolygon(fold);
    }
    const QRectF main(W * 0.12, H * 0.12, W * 0.76, H * 0.6);
    QLinearGradient g(main.topLeft(), main.bottomLeft());
    g.setColorAt(0, face.lighter(125));
    g.setColorAt(0.5, face);
    g.setColorAt(1, face.darker(115));
    p.setBrush(g);
    p.drawRect(main);
    p.setPen(QPen(QColor(255, 255, 255, 160), H * 0.012, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(main.adjusted(H * 0.05, H * 0.05, -H * 0.05, -H * 0.05));
}

} // namespace sozai
