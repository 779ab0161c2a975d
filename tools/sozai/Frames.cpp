// Frames: a border drawn on a transparent picture whose middle stays clear for a photo or text.

#include "Sozai.h"
#include "SozaiPaint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

namespace sozai {

namespace {

// Runs f at each corner with the painter turned so the corner's inside lies towards +x, +y.
template <class F> void EachCorner(QPainter& p, QSizeF s, double inset, F f) {
    const QPointF corners[4] = {{inset, inset},
                                {s.width() - inset, inset},
                                {s.width() - inset, s.height() - inset},
                                {inset, s.height() - inset}};
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(corners[i]);
        p.rotate(90 * i);
        f();
        p.restore();
    }
}

} // namespace

void GoldFrame(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double m = s.width() * 0.05, gap = s.width() * 0.022;
    const QRectF outer(m, m, s.width() - 2 * m, s.height() - 2 * m);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(GoldGradient(outer.topLeft(), outer.bottomRight())), s.width() * 0.012));
    p.drawRect(outer);
    p.setPen(QPen(QBrush(GoldGradient(outer.topLeft(), outer.bottomRight())), s.width() * 0.004));
    p.drawRect(outer.adjusted(gap, gap, -gap, -gap));
    p.drawRect(outer.adjusted(-gap * 0.45, -gap * 0.45, gap * 0.45, gap * 0.45));
    EachCorner(p, s, m - gap * 0.45, [&] { Flourish(p, s.width() * 0.3); });
    // A small jewel at the middle of each side.
    for (QPointF c : {QPointF(s.width() / 2, m), QPointF(s.width() / 2, s.height() - m), QPointF(m, s.height() / 2),
                      QPointF(s.width() - m, s.height() / 2)}) {
        p.setPen(Qt::NoPen);
        p.setBrush(GoldGradient(c - QPointF(20, 20), c + QPointF(20, 20)));
        p.drawPath(Star(c, s.width() * 0.03, s.width() * 0.012, 4, 0));
    }
}

void SakuraFrame(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    // A thin pink ribbon line, then blossoms crowding the corners and thinning along the sides.
    const double m = W * 0.06;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(236, 170, 190), W * 0.008));
    p.drawRoundedRect(QRectF(m, m, W - 2 * m, H - 2 * m), W * 0.03, W * 0.03);
    p.setPen(QPen(QColor(244, 200, 214), W * 0.003));
    p.drawRoundedRect(QRectF(m * 1.35, m * 1.35, W - 2.7 * m, H - 2.7 * m), W * 0.024, W * 0.024);
    const QList<QColor> pinks = {QColor(252, 206, 218), QColor(248, 184, 204), QColor(255, 226, 234)};
    const QPointF corners[2] = {QPointF(m, m), QPointF(W - m, H - m)};
    for (const QPointF& c : corners) {
        const double dir = c.x() < W / 2 ? 1 : -1;
        for (int i = 0; i < 6; ++i)
            Leaf(p, c, W * Rand(rng, 0.1, 0.15), (dir > 0 ? 0 : 180) + Rand(rng, -10, 100), QColor(120, 170, 90), 0.35);
        for (int i = 0; i < 16; ++i) {
            const QPointF at = c + QPointF(dir * W * Rand(rng, -0.05, 0.28) * (i % 2 ? 1 : 0.3),
                                           dir * W * Rand(rng, -0.05, 0.28) * (i % 2 ? 0.3 : 1));
            Flower(p, at, W * Rand(rng, 0.03, 0.045), Rand(rng, 0, 72), pinks[i % pinks.size()], TPetal::Sakura,
                   QColor(226, 120, 140));
        }
    }
    // Along the other two corners and the sides, single blossoms and petals.
    for (QPointF c : {QPointF(W - m, m), QPointF(m, H - m)})
        for (int i = 0; i < 4; ++i)
            Flower(p, c + QPointF(Rand(rng, -0.04, 0.04) * W, Rand(rng, -0.04, 0.04) * W), W * Rand(rng, 0.025, 0.035),
                   Rand(rng, 0, 72), pinks[i % pinks.size()], TPetal::Sakura, QColor(226, 120, 140));
    for (int i = 0; i < 30; ++i) {
        const int side = i % 4;
        const double t = Rand(rng, 0.2, 0.8);
        const QPointF at = side == 0   ? QPointF(W * t, m)
                           : side == 1 ? QPointF(W - m, H * t)
                           : side == 2 ? QPointF(W * t, H - m)
                                       : QPointF(m, H * t);
        FallingPetal(p, at + QPointF(Rand(rng, -1, 1) * m * 0.6, Rand(rng, -1, 1) * m * 0.6), W * 0.012,
                     Rand(rng, 0, 360), pinks[1]);
    }
}

void LaceFrame(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width(), H = s.height(), band = W * 0.075, scallop = band * 0.5;
    const QColor lace(255, 255, 255), rim(232, 178, 196), ground(250, 226, 234);
    QPainterPath outerBand;
    outerBand.addRect(QRectF(0, 0, W, H));
    // The inner edge: a row of half-circles pointing into the picture.
    const QRectF inner(band, band, W - 2 * band, H - 2 * band);
    QPainterPath hole;
    hole.addRect(inner);
    QPainterPath scallops;
    const int nx = int(inner.width() / (scallop * 2)), ny = int(inner.height() / (scallop * 2));
    const double sx = inner.width() / nx, sy = inner.height() / ny;
    for (int i = 0; i < nx; ++i) {
        scallops.addEllipse(QPointF(inner.left() + sx * (i + 0.5), inner.top()), sx / 2, scallop);
        scallops.addEllipse(QPointF(inner.left() + sx * (i + 0.5), inner.bottom()), sx / 2, scallop);
    }
    for (int i = 0; i < ny; ++i) {
        scallops.addEllipse(QPointF(inner.left(), inner.top() + sy * (i + 0.5)), scallop, sy / 2);
        scallops.addEllipse(QPointF(inner.right(), inner.top() + sy * (i + 0.5)), scallop, sy / 2);
    }
    const QPainterPath frame = outerBand.subtracted(hole).united(scallops.intersected(outerBand)).simplified();
    p.setPen(QPen(rim, 2.5));
    p.setBrush(ground);
    p.drawPath(frame);
    // Eyelets and a lace line along the middle of the band.
    p.setPen(QPen(lace, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(band * 0.35, band * 0.35, W - band * 0.7, H - band * 0.7));
    p.setPen(QPen(rim, 1.5));
    p.setBrush(lace);
    for (int i = 0; i < nx; ++i)
        for (double y : {inner.top() - band * 0.02, inner.bottom() + band * 0.02}) {
            const QPointF c(inner.left() + sx * (i + 0.5), y);
            p.drawEllipse(c, scallop * 0.28, scallop * 0.28);
        }
    for (int i = 0; i < ny; ++i)
        for (double x : {inner.left() - band * 0.02, inner.right() + band * 0.02})
            p.drawEllipse(QPointF(x, inner.top() + sy * (i + 0.5)), scallop * 0.28, scallop * 0.28);
    p.setPen(Qt::NoPen);
    for (double x = band * 0.6; x < W - band * 0.5; x += band * 0.32) {
        p.drawEllipse(QPointF(x, band * 0.18), 3, 3);
        p.drawEllipse(QPointF(x, H - band * 0.18), 3, 3);
    }
    for (double y = band * 0.6; y < H - band * 0.5; y += band * 0.32) {
        p.drawEllipse(QPointF(band * 0.18, y), 3, 3);
        p.drawEllipse(QPointF(W - band * 0.18, y), 3, 3);
    }
    // Little bows at the corners.
    for (QPointF c : {QPointF(band * 0.35, band * 0.35), QPointF(W - band * 0.35, band * 0.35),
                      QPointF(W - band * 0.35, H - band * 0.35), QPointF(band * 0.35, H - band * 0.35)}) {
        p.setPen(QPen(QColor(200, 110, 140), 1.5));
        p.setBrush(QColor(236, 140, 170));
        QPainterPath bow;
        bow.moveTo(c);
        bow.cubicTo(c + QPointF(-band * 0.5, -band * 0.35), c + QPointF(-band * 0.5, band * 0.35), c);
        bow.cubicTo(c + QPointF(band * 0.5, -band * 0.35), c + QPointF(band * 0.5, band * 0.35), c);
        p.drawPath(bow);
        p.drawEllipse(c, band * 0.08, band * 0.08);
    }
}

void IvyFrame(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height(), m = W * 0.06;
    // One vine winds round the whole border, leaves alternating on either side.
    QPainterPath vine(QPointF(m, m));
    const QPointF stops[5] = {QPointF(m, m), QPointF(W - m, m), QPointF(W - m, H - m), QPointF(m, H - m),
                              QPointF(m, m)};
    for (int side = 0; side < 4; ++side) {
        const QPointF a = stops[side], b = stops[side + 1];
        const int waves = side % 2 ? 7 : 5;
        const QPointF dir = (b - a) / waves, normal(-dir.y() * 0.25, dir.x() * 0.25);
        for (int k = 0; k < waves; ++k) {
            const QPointF from = a + dir * k;
            vine.quadTo(from + dir * 0.5 + normal * (k % 2 ? 1 : -1), from + dir);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 130, 70), W * 0.007, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(vine);
    const QList<QColor> greens = {QColor(96, 156, 80), QColor(130, 180, 90), QColor(76, 132, 70),
                                  QColor(160, 196, 100)};
    for (int i = 0; i < 90; ++i) {
        const double t = (i + Rand(rng, 0, 0.5)) / 90.0;
        const QPointF at = vine.pointAtPercent(t);
        const double angle = -vine.angleAtPercent(t) + (i % 2 ? 60 : -60) + Rand(rng, -15, 15);
        Leaf(p, at, W * Rand(rng, 0.045, 0.07), angle, greens[i % greens.size()], 0.45);
    }
    for (int i = 0; i < 14; ++i) {
        const QPointF at = vine.pointAtPercent((i + 0.5) / 14.0);
        Flower(p, at, W * 0.016, Rand(rng, 0, 72), QColor(255, 255, 250), TPetal::Ume, QColor(240, 200, 80));
    }
}

void WavesFrame(QPainter& p, QSizeF s, QRandomGenerator&) {
    const double W = s.width(), H = s.height(), band = W * 0.085;
    QPainterPath ring;
    ring.addRect(QRectF(0, 0, W, H));
    QPainterPath hole;
    hole.addRect(QRectF(band, band, W - 2 * band, H - 2 * band));
    ring = ring.subtracted(hole);
    const QColor indigo(40, 70, 128), pale(236, 242, 250);
    p.save();
    p.setClipPath(ring);
    p.fillRect(QRectF(0, 0, W, H), pale);
    // Seigaiha: overlapping fans of rings, row by row from the top.
    const double r = band * 0.42;
    for (int row = 0; row * r * 0.5 < H + r; ++row)
        for (int col = -1; col * r * 2 < W + r * 2; ++col) {
            const QPointF c(col * r * 2 + (row % 2) * r, row * r * 0.5);
            for (int k = 4; k >= 1; --k) {
                p.setPen(QPen(k % 2 ? indigo : pale, r * 0.1));
                p.setBrush(k % 2 ? pale : indigo.lighter(150));
                p.drawEllipse(c, r * k / 4, r * k / 4);
            }
        }
    p.restore();
    QLinearGradient gold(QPointF(0, 0), QPointF(W, H));
    gold.setColorAt(0, QColor(190, 150, 60));
    gold.setColorAt(0.5, QColor(240, 214, 140));
    gold.setColorAt(1, QColor(180, 140, 56));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(gold), W * 0.008));
    p.drawRect(QRectF(band, band, W - 2 * band, H - 2 * band));
    p.setPen(QPen(indigo, W * 0.006));
    p.drawRect(QRectF(2, 2, W - 4, H - 4));
}

void PhotoFrame(QPainter& p, QSizeF s, QRandomGenerator&) {
    // An instant print: a white card with a wider foot, a soft shadow and a clear window.
    const double W = s.width(), H = s.height(), pad = W * 0.04;
    const QRectF card(pad, pad, W - 2 * pad, H - 2 * pad * 1.3);
    const double side = card.width() * 0.06;
    const QRectF window(card.left() + side, card.top() + side, card.width() - 2 * side, card.width() - 2 * side);
    QPainterPath clear;
    clear.addRect(window);
    // The shadow falls outside the card only; the window must stay fully clear.
    p.save();
    QPainterPath outside;
    outside.addRect(QRectF(0, 0, W, H));
    p.setClipPath(outside.subtracted(clear));
    for (int i = 8; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 6));
        p.drawRoundedRect(card.translated(pad * 0.25, pad * 0.35).adjusted(-i * 2, -i * 2, i * 2, i * 2), 8 + i, 8 + i);
    }
    p.restore();
    QPainterPath paper;
    paper.addRoundedRect(card, 6, 6);
    QLinearGradient g(card.topLeft(), card.bottomRight());
    g.setColorAt(0, QColor(255, 255, 255));
    g.setColorAt(1, QColor(242, 240, 236));
    p.setPen(QPen(QColor(220, 216, 210), 1.5));
    p.setBrush(g);
    p.drawPath(paper.subtracted(clear));
    p.setPen(QPen(QColor(200, 196, 190), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(window);
    // A strip of washi tape across the top.
    p.save();
    p.translate(card.center().x(), card.top());
    p.rotate(-4);
    const QRectF tape(-W * 0.16, -W * 0.035, W * 0.32, W * 0.07);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 190, 120, 200));
    p.drawRect(tape);
    p.setBrush(QColor(255, 255, 255, 110));
    for (double x = tape.left() + 8; x < tape.right(); x += 22)
        p.drawEllipse(QPointF(x, 0), 5, 5);
    p.restore();
}

} // namespace sozai
