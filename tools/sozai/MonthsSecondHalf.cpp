// Monthly backgrounds, July to December.

#include "Sozai.h"
#include "SozaiPaint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace sozai {

namespace {

void Stars(QPainter& p, QRandomGenerator& rng, QRectF area, int count, double rMax) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(Rand(rng, area.left(), area.right()), Rand(rng, area.top(), area.bottom()));
        const double r = rMax * std::pow(rng.bounded(1.0), 3) + 0.8;
        p.setBrush(WithAlpha(QColor(255, 252, 236), Rand(rng, 0.5, 1.0)));
        p.drawEllipse(c, r, r);
        if (r > rMax * 0.6) SoftSpot(p, c, r * 4, QColor(255, 250, 220), 0.35);
    }
}

void GoldStar(QPainter& p, QPointF c, double r, double turn) {
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(255, 240, 170));
    g.setColorAt(1, QColor(226, 174, 60));
    p.setPen(QPen(QColor(190, 140, 40), 1.2));
    p.setBrush(g);
    p.drawPath(Star(c, r, r * 0.45, 5, turn));
}

void Sunflower(QPainter& p, QRandomGenerator& rng, QPointF c, double r, double tilt) {
    // Stem and two heart-shaped leaves, then the head.
    QPainterPath stem(c);
    stem.quadTo(c + QPointF(r * 0.3, r * 2.5), c + QPointF(r * 0.1, r * 6));
    p.setPen(QPen(QColor(78, 130, 60), r * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    Leaf(p, stem.pointAtPercent(0.35), r * 1.5, -20 + Rand(rng, -10, 10), QColor(86, 144, 66), 0.62);
    Leaf(p, stem.pointAtPercent(0.55), r * 1.4, 200 + Rand(rng, -10, 10), QColor(80, 136, 62), 0.62);
    p.save();
    p.translate(c);
    p.rotate(tilt);
    for (int ring = 0; ring < 2; ++ring) {
        const int n = 22;
        for (int i = 0; i < n; ++i) {
            p.save();
            p.rotate(360.0 * i / n + ring * (180.0 / n));
            const double len = r * (ring ? 0.95 : 1.05), w = r * 0.15;
            QPainterPath petal(QPointF(0, -r * 0.4));
            petal.cubicTo(-w, -r * 0.55, -w * 0.8, -len * 0.9, 0, -len);
            petal.cubicTo(w * 0.8, -len * 0.9, w, -r * 0.55, 0, -r * 0.4);
            QLinearGradient g(QPointF(0, -r * 0.4), QPointF(0, -len));
            const QColor base = ring ? QColor(250, 200, 40) : QColor(236, 168, 30);
            g.setColorAt(0, base.darker(112));
            g.setColorAt(1, base.lighter(112));
            p.setPen(QPen(WithAlpha(base.darker(140), 0.5), 1));
            p.setBrush(g);
            p.drawPath(petal);
            p.restore();
        }
    }
    QRadialGradient disk(QPointF(0, 0), r * 0.48);
    disk.setColorAt(0, QColor(80, 50, 24));
    disk.setColorAt(0.8, QColor(120, 74, 30));
    disk.setColorAt(1, QColor(150, 100, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(disk);
    p.drawEllipse(QPointF(0, 0), r * 0.48, r * 0.48);
    // Seeds on the golden-angle spiral.
    for (int i = 1; i < 160; ++i) {
        const double rr = r * 0.45 * std::sqrt(i / 160.0), a = i * 137.508;
        p.setBrush(WithAlpha(i % 3 ? QColor(60, 36, 18) : QColor(170, 120, 50), 0.8));
        p.drawEllipse(Polar(QPointF(0, 0), rr, a), r * 0.022, r * 0.022);
    }
    p.restore();
}

void Susuki(QPainter& p, QRandomGenerator& rng, QPointF root, double height, double lean) {
    const double len = height * Rand(rng, 0.7, 1.0);
    QPainterPath stalk(root);
    const QPointF top = root + QPointF(len * lean, -len);
    stalk.quadTo(root + QPointF(0, -len * 0.6), top);
    p.setPen(QPen(QColor(150, 140, 96), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stalk);
    // The plume: fine silky strands hanging from the top.
    for (int i = 0; i < 36; ++i) {
        const QPointF from = top + QPointF(Rand(rng, -4, 4), Rand(rng, 0, len * 0.08));
        const double a = 60 + lean * 60 + Rand(rng, -25, 25), l = len * Rand(rng, 0.08, 0.16);
        QPainterPath strand(from);
        strand.quadTo(Polar(from, l * 0.5, a - 15), Polar(from, l, a));
        p.setPen(QPen(WithAlpha(Mix(QColor(236, 222, 190), QColor(200, 170, 130), rng.bounded(1.0)), 0.8), 1.6,
                      Qt::SolidLine, Qt::RoundCap));
        p.drawPath(strand);
    }
}

} // namespace

void July(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s,
           {{0, QColor(58, 70, 128)},
            {0.3, QColor(110, 116, 170)},
            {0.62, QColor(222, 216, 238)},
            {1, QColor(252, 248, 242)}});
    // The Milky Way across the upper sky.
    p.save();
    p.translate(At(s, 0.5, 0.2));
    p.rotate(-25);
    for (int i = 0; i < 30; ++i)
        SoftSpot(p, QPointF(Rand(rng, -0.7, 0.7) * W, Rand(rng, -0.05, 0.05) * H), W * Rand(rng, 0.06, 0.12),
                 QColor(230, 226, 255), 0.18);
    Stars(p, rng, QRectF(-0.7 * W, -0.06 * H, 1.4 * W, 0.12 * H), 500, 2.6);
    p.restore();
    Stars(p, rng, QRectF(0, 0, W, H * 0.45), 220, 3.2);
    // Bamboo grass hanging in from the right, with wishes on paper strips.
    const QColor bamboo(70, 130, 70);
    QPainterPath culm(At(s, 1.05, 0.02));
    culm.quadTo(At(s, 0.8, 0.2), At(s, 0.55, 0.55));
    p.setPen(QPen(bamboo, W * 0.012, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(culm);
    const QList<QColor> papers = {QColor(230, 80, 90),   QColor(250, 210, 80),  QColor(90, 150, 220),
                                  QColor(130, 200, 120), QColor(200, 140, 220), QColor(255, 255, 255)};
    for (int i = 1; i < 14; ++i) {
        const QPointF at = culm.pointAtPercent(i / 14.0);
        for (int k = 0; k < 3; ++k)
            Leaf(p, at, W * Rand(rng, 0.08, 0.13), Rand(rng, 60, 200), Mix(bamboo, QColor(140, 190, 100), k / 3.0),
                 0.2);
        if (i % 2 == 0) {
            const double drop = H * Rand(rng, 0.05, 0.1);
            p.setPen(QPen(QColor(220, 220, 220), 1.2));
            p.drawLine(at, at + QPointF(0, drop));
            p.save();
            p.translate(at + QPointF(0, drop));
            p.rotate(Rand(rng, -8, 8));
            const QRectF strip(-W * 0.022, 0, W * 0.044, H * 0.11);
            QLinearGradient g(strip.topLeft(), strip.bottomRight());
            const QColor col = papers[(i / 2) % papers.size()];
            g.setColorAt(0, col.lighter(110));
            g.setColorAt(1, col.darker(106));
            p.setPen(QPen(WithAlpha(col.darker(140), 0.6), 1));
            p.setBrush(g);
            p.drawRect(strip);
            p.restore();
        }
    }
    for (int i = 0; i < 6; ++i)
        GoldStar(p, culm.pointAtPercent(0.1 + i * 0.15) + QPointF(0, H * 0.03), W * 0.025, i * 12);
    GoldStar(p, At(s, 0.12, 0.08), W * 0.03, 10);
    GoldStar(p, At(s, 0.3, 0.4), W * 0.02, -8);
}

void August(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(112, 180, 236)}, {0.5, QColor(188, 224, 246)}, {1, QColor(250, 250, 236)}});
    SoftSpot(p, At(s, 0.85, 0.06), W * 0.35, QColor(255, 255, 230), 0.8);
    Cloud(p, rng, At(s, 0.25, 0.62), W * 0.55, H * 0.1, 0.95);
    Cloud(p, rng, At(s, 0.8, 0.56), W * 0.45, H * 0.08, 0.9);
    Cloud(p, rng, At(s, 0.3, 0.1), W * 0.3, H * 0.035, 0.6);
    Sunflower(p, rng, At(s, 0.12, 0.78), W * 0.1, -12);
    Sunflower(p, rng, At(s, 0.88, 0.72), W * 0.12, 10);
    Sunflower(p, rng, At(s, 0.38, 0.88), W * 0.13, -4);
    Sunflower(p, rng, At(s, 0.68, 0.92), W * 0.11, 6);
}

void September(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s,
           {{0, QColor(52, 64, 116)},
            {0.45, QColor(112, 116, 168)},
            {0.8, QColor(214, 202, 222)},
            {1, QColor(240, 230, 222)}});
    Stars(p, rng, QRectF(0, 0, W, H * 0.5), 160, 2.4);
    const QPointF moon = At(s, 0.68, 0.2);
    const double mr = W * 0.15;
    SoftSpot(p, moon, mr * 2.6, QColor(255, 240, 200), 0.35);
    QRadialGradient disk(moon - QPointF(mr * 0.3, mr * 0.3), mr * 1.4);
    disk.setColorAt(0, QColor(255, 250, 228));
    disk.setColorAt(1, QColor(244, 218, 150));
    p.setPen(Qt::NoPen);
    p.setBrush(disk);
    p.drawEllipse(moon, mr, mr);
    // Maria as faint, uneven patches: many small ones, so no face appears.
    for (int i = 0; i < 18; ++i)
        SoftSpot(p, Polar(moon - QPointF(mr * 0.15, mr * 0.1), mr * Rand(rng, 0.05, 0.55), Rand(rng, 150, 330)),
                 mr * Rand(rng, 0.06, 0.16), QColor(214, 186, 128), 0.16);
    // Thin night clouds drifting past the foot of the moon.
    for (int i = 0; i < 3; ++i) {
        const QPointF at = moon + QPointF(-mr * (2.2 - i * 0.9), mr * (0.6 + i * 0.35));
        QPainterPath wisp = Blob(at + QPointF(mr * 1.2, 0), mr * 1.3, mr * 0.09, rng, 0.25, 12);
        QLinearGradient g(at, at + QPointF(mr * 2.4, 0));
        g.setColorAt(0, WithAlpha(QColor(150, 146, 190), 0));
        g.setColorAt(0.5, WithAlpha(QColor(150, 146, 190), 0.75));
        g.setColorAt(1, WithAlpha(QColor(150, 146, 190), 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(wisp);
    }
    // Pampas grass from the lower left.
    for (int i = 0; i < 16; ++i) {
        const QPointF root(W * Rand(rng, -0.05, 0.35), H * 1.02);
        QPainterPath blade(root);
        const double lean = Rand(rng, 0.1, 0.45);
        blade.quadTo(root + QPointF(W * lean * 0.3, -H * 0.25), root + QPointF(W * lean, -H * Rand(rng, 0.2, 0.35)));
        p.setPen(Qt::NoPen);
        p.setBrush(WithAlpha(QColor(96, 120, 70), 0.85));
        p.drawPath(Tapered(blade, W * 0.012, 1));
    }
    for (int i = 0; i < 9; ++i)
        Susuki(p, rng, QPointF(W * Rand(rng, 0.0, 0.3), H * 1.02), H * 0.42, Rand(rng, 0.1, 0.4));
    // Moon-viewing dumplings on a wooden stand.
    const QPointF stand = At(s, 0.75, 0.9);
    const double sw = W * 0.3;
    QPolygonF foot;
    foot << stand + QPointF(-sw * 0.38, 0) << stand + QPointF(sw * 0.38, 0) << stand + QPointF(sw * 0.3, H * 0.09)
         << stand + QPointF(-sw * 0.3, H * 0.09);
    QLinearGradient wood(foot[0], foot[1]);
    wood.setColorAt(0, QColor(196, 160, 110));
    wood.setColorAt(0.5, QColor(232, 206, 160));
    wood.setColorAt(1, QColor(186, 150, 100));
    p.setPen(QPen(QColor(150, 116, 70), 1.5));
    p.setBrush(wood);
    p.drawPolygon(foot);
    p.setBrush(QColor(150, 116, 70));
    p.drawEllipse(stand + QPointF(0, H * 0.045), sw * 0.07, H * 0.025);
    p.setBrush(wood);
    p.drawRect(QRectF(stand + QPointF(-sw / 2, -H * 0.015), QSizeF(sw, H * 0.02)));
    const double dr = sw * 0.085;
    for (int row = 0; row < 4; ++row) {
        const int n = 4 - row;
        for (int i = 0; i < n; ++i) {
            const QPointF d = stand + QPointF((i - (n - 1) / 2.0) * dr * 2.02, -H * 0.015 - dr - row * dr * 1.72);
            QRadialGradient g(d - QPointF(dr * 0.35, dr * 0.4), dr * 1.3);
            g.setColorAt(0, Qt::white);
            g.setColorAt(0.7, QColor(246, 242, 232));
            g.setColorAt(1, QColor(214, 206, 192));
            p.setPen(QPen(QColor(200, 190, 176), 1));
            p.setBrush(g);
            p.drawEllipse(d, dr, dr);
        }
    }
}

void October(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(253, 246, 234)}, {0.5, QColor(254, 250, 242)}, {1, QColor(250, 236, 218)}});
    Washi(p, s, rng, 800, QColor(190, 130, 80));
    Wash(p, At(s, 0.2, 0.05), W * 0.5, H * 0.12, QColor(246, 190, 140), rng, 0.16);
    Wash(p, At(s, 0.8, 0.97), W * 0.5, H * 0.12, QColor(246, 180, 130), rng, 0.16);
    const QList<QColor> autumn = {QColor(206, 48, 40), QColor(232, 110, 40), QColor(240, 176, 56), QColor(178, 36, 52),
                                  QColor(220, 80, 44)};
    auto scatter = [&](QRectF area, int n, double sMin, double sMax) {
        for (int i = 0; i < n; ++i) {
            const QPointF c(Rand(rng, area.left(), area.right()), Rand(rng, area.top(), area.bottom()));
            const double size = W * Rand(rng, sMin, sMax), turn = Rand(rng, -60, 60);
            p.save();
            p.translate(c + QPointF(size * 0.04, size * 0.05));
            p.rotate(turn);
            p.setPen(Qt::NoPen);
            p.setBrush(WithAlpha(QColor(120, 70, 40), 0.12));
            p.drawPath(MapleLeaf(size));
            p.restore();
            DrawMaple(p, c, size, turn, autumn[int(rng.bounded(int(autumn.size())))]);
        }
    };
    scatter(QRectF(-0.05 * W, -0.03 * H, 1.1 * W, 0.14 * H), 22, 0.08, 0.17);
    scatter(QRectF(-0.05 * W, 0.88 * H, 1.1 * W, 0.14 * H), 22, 0.08, 0.17);
    scatter(QRectF(0, 0.15 * H, 0.1 * W, 0.7 * H), 4, 0.05, 0.08);
    scatter(QRectF(0.9 * W, 0.15 * H, 0.1 * W, 0.7 * H), 4, 0.05, 0.08);
}

void November(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width();
    Ground(p, s, {{0, QColor(212, 230, 246)}, {0.55, QColor(252, 249, 236)}, {1, QColor(250, 236, 196)}});
    const QList<QColor> golds = {QColor(246, 204, 52), QColor(238, 182, 40), QColor(250, 220, 90),
                                 QColor(210, 196, 80)};
    // A twig of ginkgo reaching in from the upper right.
    QPainterPath twig(At(s, 1.05, 0.05));
    twig.quadTo(At(s, 0.85, 0.1), At(s, 0.6, 0.08));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 84, 60));
    p.drawPath(Tapered(twig, W * 0.02, W * 0.006));
    for (int i = 1; i <= 9; ++i) {
        const QPointF at = twig.pointAtPercent(i / 10.0);
        for (int k = 0; k < 2; ++k) {
            const double turn = Rand(rng, 130, 230);
            const QPointF leafAt = Polar(at, W * 0.07, turn - 90);
            p.setPen(QPen(QColor(150, 130, 60), 2));
            p.drawLine(at, leafAt);
            DrawGinkgo(p, leafAt, W * Rand(rng, 0.08, 0.11), turn, golds[int(rng.bounded(int(golds.size())))]);
        }
    }
    // Falling leaves, and a carpet of them at the foot.
    // Falling leaves stay near upright, so each reads as a fan and not as a moth.
    for (int i = 0; i < 11; ++i)
        DrawGinkgo(p, At(s, Rand(rng, 0.03, 0.97), Rand(rng, 0.2, 0.8)), W * Rand(rng, 0.06, 0.09), Rand(rng, -70, 70),
                   golds[i % golds.size()]);
    for (int i = 0; i < 150; ++i)
        DrawGinkgo(p, At(s, Rand(rng, -0.05, 1.05), 0.9 + 0.12 * std::sqrt(rng.bounded(1.0))),
                   W * Rand(rng, 0.05, 0.09), Rand(rng, 0, 360), golds[int(rng.bounded(int(golds.size())))]);
}

void December(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(196, 218, 242)}, {0.55, QColor(230, 240, 250)}, {1, QColor(248, 251, 255)}});
    Bokeh(p, rng, QRectF(0, 0, W, H), 50, {QColor(255, 255, 255), QColor(220, 236, 252)}, W * 0.01, W * 0.04);
    // Snowy hills.
    for (int i = 0; i < 3; ++i) {
        QPainterPath hill(At(s, -0.1, 1.0));
        hill.cubicTo(At(s, 0.2 + i * 0.2, 0.82 + i * 0.03), At(s, 0.6 + i * 0.1, 0.95 - i * 0.04), At(s, 1.1, 0.9));
        hill.lineTo(At(s, 1.1, 1.05));
        hill.lineTo(At(s, -0.1, 1.05));
        QLinearGradient g(At(s, 0, 0.82), At(s, 0, 1));
        g.setColorAt(0, QColor(236, 244, 252));
        g.setColorAt(1, QColor(255, 255, 255));
        p.setPen(QPen(WithAlpha(QColor(170, 196, 228), 0.6), 2));
        p.setBrush(g);
        p.drawPath(hill);
    }
    auto flake = [&](QPointF c, double r, int style) {
        const double turn = Rand(rng, 0, 60), w = std::max(1.5, r * 0.07);
        Snowflake(p, c + QPointF(2, 3), r, turn, WithAlpha(QColor(120, 160, 210), 0.5), w, style);
        Snowflake(p, c, r, turn, Qt::white, w, style);
    };
    for (int i = 0; i < 5; ++i)
        flake(At(s, i % 2 ? Rand(rng, 0.75, 0.95) : Rand(rng, 0.05, 0.25), Rand(rng, 0.05, 0.9)),
              W * Rand(rng, 0.05, 0.09), i);
    for (int i = 0; i < 40; ++i)
        flake(At(s, Rand(rng, 0, 1), Rand(rng, 0, 0.85)), W * Rand(rng, 0.012, 0.03), i);
    // Holly at the lower left.
    const QPointF holly = At(s, 0.16, 0.9);
    for (double a : {-160.0, -110.0, -60.0}) {
        p.save();
        p.translate(holly);
        p.rotate(a);
        const double len = W * 0.13, w = len * 0.22;
        QPainterPath leaf(QPointF(0, 0));
        for (int k = 1; k <= 5; ++k)
            leaf.lineTo(len * (k - 0.5) / 5, -w * (k % 2 ? 0.9 : 0.6) * std::sin(k / 5.5 * kPi));
        leaf.lineTo(len, 0);
        for (int k = 5; k >= 1; --k)
            leaf.lineTo(len * (k - 0.5) / 5, w * (k % 2 ? 0.9 : 0.6) * std::sin(k / 5.5 * kPi));
        leaf.closeSubpath();
        QLinearGradient g(QPointF(0, -w), QPointF(0, w));
        g.setColorAt(0, QColor(60, 130, 80));
        g.setColorAt(1, QColor(28, 86, 52));
        p.setPen(QPen(QColor(24, 70, 44), 1.5));
        p.setBrush(g);
        p.drawPath(leaf);
        p.setPen(QPen(QColor(140, 190, 140), 1.5));
        p.drawLine(QPointF(len * 0.05, 0), QPointF(len * 0.9, 0));
        p.restore();
    }
    for (QPointF d : {QPointF(0, 0), QPointF(W * 0.025, W * 0.012), QPointF(W * 0.006, W * 0.03)}) {
        QRadialGradient g(holly + d - QPointF(W * 0.006, W * 0.006), W * 0.022);
        g.setColorAt(0, QColor(255, 120, 110));
        g.setColorAt(1, QColor(190, 20, 30));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(holly + d, W * 0.017, W * 0.017);
    }
}

} // namespace sozai
