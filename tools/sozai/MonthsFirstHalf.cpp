// Monthly backgrounds, January to June: pale grounds with the season's motif near the edges, so
// a calendar or a greeting stays readable on top.

#include "Sozai.h"
#include "SozaiPaint.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace sozai {

// ---------------------------------------------------------------------------------------------

void January(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(255, 251, 242)}, {0.6, QColor(252, 245, 230)}, {1, QColor(245, 232, 206)}});
    Washi(p, s, rng, 900, QColor(180, 150, 100));
    // The first sunrise behind bands of golden mist.
    SoftSpot(p, At(s, 0.22, 0.15), W * 0.3, QColor(255, 190, 140), 0.5);
    QRadialGradient sun(At(s, 0.2, 0.13), W * 0.1);
    sun.setColorAt(0, QColor(240, 96, 70));
    sun.setColorAt(1, QColor(214, 52, 48));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(At(s, 0.22, 0.15), W * 0.095, W * 0.095);
    const QColor gold(214, 176, 92);
    Kasumi(p, QRectF(At(s, -0.1, 0.17), QSizeF(W * 0.5, H * 0.035)), gold, 0.55);
    Kasumi(p, QRectF(At(s, 0.25, 0.215), QSizeF(W * 0.6, H * 0.03)), gold, 0.4);
    Kasumi(p, QRectF(At(s, 0.55, 0.09), QSizeF(W * 0.55, H * 0.028)), gold, 0.35);
    Kasumi(p, QRectF(At(s, -0.05, 0.9), QSizeF(W * 0.55, H * 0.03)), gold, 0.4);
    // Seigaiha waves along the foot, faint gold.
    p.save();
    p.setClipRect(QRectF(0, H * 0.93, W, H * 0.07));
    p.setBrush(Qt::NoBrush);
    const double wave = W * 0.05;
    for (int row = 0; row < 5; ++row)
        for (int col = -1; col < int(W / wave) + 2; ++col) {
            const QPointF c(col * wave + (row % 2) * wave / 2, H * 0.93 + row * wave * 0.25);
            for (int k = 3; k >= 1; --k) {
                p.setPen(QPen(WithAlpha(gold, 0.45), 1.6));
                p.setBrush(QColor(250, 240, 220));
                p.drawEllipse(c, wave * 0.55 * k / 3, wave * 0.55 * k / 3);
            }
        }
    p.restore();

    // Kadomatsu at the lower right: pine, three cut bamboos, a straw sleeve tied with rope.
    const double cx = W * 0.76, base = H * 0.975, sleeveTop = H * 0.8;
    auto pine = [&](QPointF c, double r) {
        // Tufts of needles in dark and light greens, each on a short brown twig.
        for (int tuft = 0; tuft < 12; ++tuft) {
            const QPointF t = Polar(c, r * Rand(rng, 0, 0.9), Rand(rng, 180, 360));
            p.setPen(QPen(QColor(110, 80, 56), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(c, t);
            for (int n = 0; n < 34; ++n) {
                const double a = -90 + Rand(rng, -80, 80), len = r * Rand(rng, 0.3, 0.55);
                p.setPen(QPen(Mix(QColor(34, 90, 52), QColor(70, 130, 70), rng.bounded(1.0)), 2.2, Qt::SolidLine,
                              Qt::RoundCap));
                p.drawLine(t, Polar(t, len, a));
            }
        }
    };
    pine(QPointF(cx - W * 0.14, sleeveTop - H * 0.005), W * 0.15);
    pine(QPointF(cx + W * 0.14, sleeveTop), W * 0.14);
    struct TTube {
        double Dx, Top;
    };
    for (const TTube& t : {TTube{-0.065, 0.52}, TTube{0.065, 0.56}, TTube{0.0, 0.47}}) {
        const double x = cx + W * t.Dx, w = W * 0.06, top = H * t.Top, cut = w * 0.9;
        QPainterPath tube;
        tube.moveTo(x - w / 2, sleeveTop + H * 0.02);
        tube.lineTo(x - w / 2, top + cut);
        tube.lineTo(x + w / 2, top);
        tube.lineTo(x + w / 2, sleeveTop + H * 0.02);
        tube.closeSubpath();
        QLinearGradient g(QPointF(x - w / 2, 0), QPointF(x + w / 2, 0));
        g.setColorAt(0, QColor(46, 110, 60));
        g.setColorAt(0.35, QColor(120, 178, 96));
        g.setColorAt(0.6, QColor(84, 148, 78));
        g.setColorAt(1, QColor(38, 92, 52));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(tube);
        // A node ring and the pale cut face.
        p.setPen(QPen(QColor(40, 86, 50), 2.5));
        const double node = top + cut + H * 0.07;
        p.drawLine(QPointF(x - w / 2, node), QPointF(x + w / 2, node - w * 0.08));
        p.save();
        p.translate(x, top + cut / 2);
        p.rotate(-std::atan2(cut, w) * 180 / kPi);
        const double face = std::hypot(w, cut) / 2;
        p.setPen(QPen(QColor(70, 130, 70), 3));
        p.setBrush(QColor(238, 232, 180));
        p.drawEllipse(QPointF(0, 0), face, w * 0.28);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 204, 140));
        p.drawEllipse(QPointF(0, 0), face * 0.75, w * 0.18);
        p.restore();
    }
    pine(QPointF(cx, sleeveTop + H * 0.005), W * 0.1);
    const QRectF sleeve(cx - W * 0.15, sleeveTop, W * 0.3, base - sleeveTop);
    QLinearGradient straw(sleeve.topLeft(), sleeve.topRight());
    straw.setColorAt(0, QColor(176, 140, 84));
    straw.setColorAt(0.4, QColor(226, 196, 134));
    straw.setColorAt(1, QColor(168, 132, 78));
    p.setPen(Qt::NoPen);
    p.setBrush(straw);
    QPainterPath sleevePath;
    sleevePath.moveTo(sleeve.left() + W * 0.01, sleeve.top());
    sleevePath.lineTo(sleeve.right() - W * 0.01, sleeve.top());
    sleevePath.lineTo(sleeve.right(), sleeve.bottom());
    sleevePath.lineTo(sleeve.left(), sleeve.bottom());
    sleevePath.closeSubpath();
    p.drawPath(sleevePath);
    p.save();
    p.setClipPath(sleevePath);
    for (double x = sleeve.left(); x < sleeve.right(); x += 5) {
        p.setPen(QPen(WithAlpha(QColor(130, 96, 50), Rand(rng, 0.15, 0.45)), 1.2));
        p.drawLine(QPointF(x + Rand(rng, -1, 1), sleeve.top()), QPointF(x + Rand(rng, -3, 3), sleeve.bottom()));
    }
    for (double y : {0.22, 0.5, 0.78}) {
        const double yy = sleeve.top() + sleeve.height() * y;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 44, 34));
        p.drawRect(QRectF(sleeve.left(), yy - 6, sleeve.width(), 12));
        p.setPen(QPen(QColor(110, 84, 60), 1.5));
        for (double x = sleeve.left(); x < sleeve.right(); x += 10)
            p.drawLine(QPointF(x, yy + 6), QPointF(x + 8, yy - 6));
    }
    p.restore();
    // Plum blossoms among the pine.
    for (int i = 0; i < 7; ++i) {
        const QPointF c(cx + Rand(rng, -0.2, 0.2) * W, sleeveTop + Rand(rng, -0.06, 0.015) * H);
        Flower(p, c, W * Rand(rng, 0.018, 0.026), Rand(rng, 0, 72), i % 2 ? QColor(214, 58, 82) : QColor(252, 248, 244),
               TPetal::Ume, QColor(236, 190, 80));
    }
}

void February(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(250, 244, 242)}, {0.5, QColor(252, 249, 246)}, {1, QColor(244, 234, 236)}});
    Washi(p, s, rng, 800, QColor(170, 130, 140));
    Wash(p, At(s, 0.12, 0.1), W * 0.35, H * 0.14, QColor(236, 200, 210), rng, 0.18);
    Wash(p, At(s, 0.9, 0.9), W * 0.35, H * 0.14, QColor(236, 200, 210), rng, 0.18);
    Kasumi(p, QRectF(At(s, 0.45, 0.06), QSizeF(W * 0.7, H * 0.025)), QColor(214, 180, 110), 0.35);
    Kasumi(p, QRectF(At(s, -0.2, 0.93), QSizeF(W * 0.7, H * 0.025)), QColor(214, 180, 110), 0.35);
    const QList<QColor> plums = {QColor(208, 52, 86), QColor(226, 92, 120), QColor(253, 250, 246),
                                 QColor(250, 236, 240)};
    const QColor heart(230, 184, 70), bark(78, 56, 48);
    BlossomBranch(p, rng, At(s, -0.03, 0.05), 18, W * 0.8, W * 0.04, 38, bark, plums, W * 0.028, TPetal::Ume, heart);
    BlossomBranch(p, rng, At(s, 1.03, 0.97), 205, W * 0.7, W * 0.036, 38, bark, plums, W * 0.026, TPetal::Ume, heart);
    for (int i = 0; i < 10; ++i)
        FallingPetal(p, At(s, Rand(rng, 0.05, 0.95), Rand(rng, 0.25, 0.8)), W * 0.01, Rand(rng, 0, 360),
                     plums[i % 2 ? 0 : 3]);
}

void March(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(254, 240, 238)}, {0.5, QColor(255, 249, 244)}, {1, QColor(250, 234, 228)}});
    Washi(p, s, rng, 800, QColor(200, 130, 130));
    Wash(p, At(s, 0.85, 0.1), W * 0.4, H * 0.15, QColor(250, 196, 206), rng, 0.1);
    const QList<QColor> peach = {QColor(240, 112, 150), QColor(248, 150, 178), QColor(252, 196, 212)};
    BlossomBranch(p, rng, At(s, 1.03, 0.03), 155, W * 0.8, W * 0.032, 20, QColor(96, 60, 52), peach, W * 0.03,
                  TPetal::Momo, QColor(240, 200, 90), 0.25);
    // Hishimochi on a red stand at the lower left: green, white and pink diamonds.
    const QPointF c = At(s, 0.24, 0.86);
    const double hw = W * 0.17, hh = W * 0.05, thick = W * 0.026;
    QPolygonF stand;
    stand << c + QPointF(-hw * 0.8, hh * 0.9) << c + QPointF(hw * 0.8, hh * 0.9) << c + QPointF(hw * 0.6, H * 0.11)
          << c + QPointF(-hw * 0.6, H * 0.11);
    QLinearGradient lacquer(stand[0], stand[1]);
    lacquer.setColorAt(0, QColor(160, 30, 36));
    lacquer.setColorAt(0.5, QColor(210, 56, 52));
    lacquer.setColorAt(1, QColor(150, 28, 34));
    p.setPen(Qt::NoPen);
    p.setBrush(lacquer);
    p.drawPolygon(stand);
    p.setBrush(QColor(120, 20, 26));
    p.drawRect(QRectF(c + QPointF(-hw * 0.85, hh * 0.8), QSizeF(hw * 1.7, H * 0.012)));
    const QColor layers[3] = {QColor(140, 186, 110), QColor(250, 248, 240), QColor(242, 150, 172)};
    for (int i = 0; i < 3; ++i) {
        const QPointF m = c - QPointF(0, i * thick);
        QPolygonF top;
        top << m + QPointF(-hw, 0) << m + QPointF(0, -hh) << m + QPointF(hw, 0) << m + QPointF(0, hh);
        QPolygonF left;
        left << top[0] << top[3] << top[3] + QPointF(0, thick) << top[0] + QPointF(0, thick);
        QPolygonF right;
        right << top[3] << top[2] << top[2] + QPointF(0, thick) << top[3] + QPointF(0, thick);
        p.setBrush(layers[i].darker(112));
        p.drawPolygon(left);
        p.setBrush(layers[i].darker(124));
        p.drawPolygon(right);
        QLinearGradient g(top[1], top[3]);
        g.setColorAt(0, layers[i].lighter(106));
        g.setColorAt(1, layers[i]);
        p.setBrush(g);
        p.drawPolygon(top);
    }
    // Hina-arare scattered at the foot.
    const QList<QColor> arare = {QColor(246, 170, 190), QColor(170, 210, 150), QColor(250, 226, 140),
                                 QColor(255, 255, 255)};
    for (int i = 0; i < 70; ++i) {
        const QPointF d(Rand(rng, 0.45, 0.95) * W, Rand(rng, 0.93, 0.985) * H);
        const double r = W * Rand(rng, 0.006, 0.011);
        QRadialGradient g(d - QPointF(r * 0.3, r * 0.3), r * 1.2);
        const QColor col = arare[i % arare.size()];
        g.setColorAt(0, Mix(col, Qt::white, 0.5));
        g.setColorAt(1, col.darker(108));
        p.setPen(QPen(WithAlpha(col.darker(130), 0.5), 1));
        p.setBrush(g);
        p.drawEllipse(d, r, r * 0.85);
    }
}

void April(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(224, 236, 250)}, {0.45, QColor(250, 238, 244)}, {1, QColor(255, 248, 250)}});
    Bokeh(p, rng, QRectF(0, 0, W, H * 0.35), 40, {QColor(255, 214, 226), QColor(255, 255, 255)}, W * 0.02, W * 0.06);
    const QList<QColor> sakura = {QColor(252, 214, 224), QColor(248, 196, 210), QColor(255, 232, 238)};
    const QColor heart(226, 120, 140), bark(92, 66, 66);
    BlossomBranch(p, rng, At(s, -0.03, 0.02), 25, W * 0.75, W * 0.04, 14, bark, sakura, W * 0.032, TPetal::Sakura,
                  heart, 0.1);
    BlossomBranch(p, rng, At(s, 1.03, 0.14), 160, W * 0.55, W * 0.032, 14, bark, sakura, W * 0.03, TPetal::Sakura,
                  heart, 0.1);
    Petals(p, rng, QRectF(0, H * 0.25, W, H * 0.75), 55, QColor(248, 190, 206), W * 0.008, W * 0.016);
    Wash(p, At(s, 0.5, 1.03), W * 0.7, H * 0.08, QColor(246, 200, 214), rng, 0.2);
}

namespace {
void Koi(QPainter& p, QPointF mouth, double len, double wave, QColor body, QColor belly) {
    const double h = len * 0.15;
    p.save();
    p.translate(mouth);
    p.rotate(wave);
    QPainterPath fish(QPointF(0, -h));
    fish.cubicTo(len * 0.3, -h * 1.15, len * 0.55, -h * 0.6, len * 0.8, -h * 0.75);
    fish.lineTo(len, -h * 1.25);
    fish.quadTo(len * 0.9, 0, len, h * 1.25);
    fish.lineTo(len * 0.8, h * 0.75);
    fish.cubicTo(len * 0.55, h * 0.6, len * 0.3, h * 1.15, 0, h);
    fish.closeSubpath();
    QLinearGradient g(QPointF(0, -h), QPointF(0, h));
    g.setColorAt(0, body.darker(115));
    g.setColorAt(0.5, body);
    g.setColorAt(1, belly);
    p.setPen(QPen(body.darker(150), 1.5));
    p.setBrush(g);
    p.drawPath(fish);
    // Scales as rows of arcs.
    p.save();
    p.setClipPath(fish);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(Mix(body, Qt::white, 0.6), 0.7), 2));
    const double sc = h * 0.4;
    for (double x = len * 0.28; x < len * 0.8; x += sc * 0.9)
        for (double y = -h * 1.2; y < h * 1.2; y += sc)
            p.drawArc(QRectF(x, y + (int(x / sc) % 2) * sc / 2, sc, sc), 90 * 16, 180 * 16);
    p.restore();
    // Gills, mouth ring and eye.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(Qt::white, 0.85), 3));
    p.drawArc(QRectF(len * 0.12, -h * 0.95, len * 0.14, h * 1.9), -90 * 16, 180 * 16);
    p.setPen(QPen(QColor(230, 200, 90), 3));
    p.setBrush(QColor(250, 244, 230));
    p.drawEllipse(QPointF(0, 0), h * 0.22, h);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(len * 0.11, -h * 0.35), h * 0.3, h * 0.3);
    p.setBrush(QColor(30, 30, 40));
    p.drawEllipse(QPointF(len * 0.11, -h * 0.35), h * 0.16, h * 0.16);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(len * 0.105, -h * 0.42), h * 0.05, h * 0.05);
    p.restore();
}

} // namespace

void May(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(150, 200, 240)}, {0.45, QColor(204, 230, 248)}, {1, QColor(244, 250, 238)}});
    Cloud(p, rng, At(s, 0.75, 0.1), W * 0.4, H * 0.06, 0.9);
    Cloud(p, rng, At(s, 0.3, 0.58), W * 0.35, H * 0.05, 0.7);
    Cloud(p, rng, At(s, 0.85, 0.5), W * 0.3, H * 0.045, 0.7);
    // Pole with its wheel and five-coloured streamer.
    const double px = W * 0.1;
    QLinearGradient pole(QPointF(px - 8, 0), QPointF(px + 8, 0));
    pole.setColorAt(0, QColor(180, 160, 120));
    pole.setColorAt(0.5, QColor(240, 228, 200));
    pole.setColorAt(1, QColor(170, 150, 110));
    p.setPen(Qt::NoPen);
    p.setBrush(pole);
    p.drawRect(QRectF(px - 8, H * 0.06, 16, H));
    const QPointF hub(px, H * 0.06);
    p.setPen(QPen(QColor(200, 160, 60), 4));
    for (int i = 0; i < 8; ++i)
        p.drawLine(hub, Polar(hub, W * 0.045, i * 45 + 10));
    p.setPen(QPen(QColor(200, 160, 60), 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(hub, W * 0.045, W * 0.02);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 196, 80));
    p.drawEllipse(hub - QPointF(0, W * 0.015), W * 0.016, W * 0.016);
    const QColor stripes[5] = {QColor(60, 100, 190), QColor(240, 200, 60), QColor(220, 70, 60), QColor(250, 250, 250),
                               QColor(80, 160, 90)};
    const double top = H * 0.09, band = H * 0.012, length = W * 0.62;
    for (int i = 0; i < 5; ++i) {
        QPainterPath streamer;
        const double y0 = top + i * band;
        streamer.moveTo(px, y0);
        for (int k = 0; k <= 40; ++k) {
            const double t = k / 40.0;
            streamer.lineTo(px + t * length, y0 + std::sin(t * 7) * H * 0.01 * t + t * H * 0.015);
        }
        for (int k = 40; k >= 0; --k) {
            const double t = k / 40.0;
            streamer.lineTo(px + t * length, y0 + band + std::sin(t * 7) * H * 0.01 * t + t * H * 0.015);
        }
        streamer.closeSubpath();
        p.setBrush(stripes[i]);
        p.drawPath(streamer);
    }
    Koi(p, QPointF(px + 6, H * 0.22), W * 0.6, 4, QColor(44, 56, 92), QColor(230, 230, 236));
    Koi(p, QPointF(px + 6, H * 0.34), W * 0.5, 6, QColor(222, 74, 64), QColor(252, 226, 200));
    Koi(p, QPointF(px + 6, H * 0.455), W * 0.42, 8, QColor(64, 126, 210), QColor(226, 240, 252));
    // Fresh green along the foot.
    Bokeh(p, rng, QRectF(0, H * 0.78, W, H * 0.22), 30, {QColor(200, 236, 150), QColor(255, 255, 220)}, W * 0.02,
          W * 0.05);
    const QList<QColor> greens = {QColor(120, 180, 80), QColor(150, 200, 90), QColor(96, 160, 80),
                                  QColor(178, 214, 110)};
    for (int i = 0; i < 60; ++i) {
        const QPointF base(Rand(rng, -0.05, 1.05) * W, H * Rand(rng, 0.92, 1.04));
        Leaf(p, base, W * Rand(rng, 0.06, 0.12), Rand(rng, -150, -30), greens[i % greens.size()], 0.42);
    }
}

namespace {
void Hydrangea(QPainter& p, QRandomGenerator& rng, QPointF c, double r, QColor a, QColor b) {
    for (int i = 0; i < 4; ++i)
        Leaf(p, c + QPointF(0, r * 0.4), r * Rand(rng, 1.3, 1.7), 180 + i * 50 - 40 + Rand(rng, -15, 15),
             QColor(70, 126, 86), 0.5);
    struct TFloret {
        QPointF At;
        double R, Turn, Mix;
    };
    QList<TFloret> florets;
    for (int i = 0; i < 90; ++i) {
        const double rr = r * std::sqrt(rng.bounded(1.0)), ang = Rand(rng, 0, 360);
        florets.append({Polar(c, rr, ang), r * Rand(rng, 0.14, 0.2), Rand(rng, 0, 90), rng.bounded(1.0)});
    }
    std::sort(florets.begin(), florets.end(), [](const TFloret& x, const TFloret& y) { return x.At.y() < y.At.y(); });
    for (const TFloret& f : florets) {
        const QColor col = Mix(a, b, f.Mix);
        p.save();
        p.translate(f.At);
        p.rotate(f.Turn);
        for (int k = 0; k < 4; ++k) {
            p.rotate(90);
            QRadialGradient g(QPointF(0, -f.R * 0.5), f.R * 0.6);
            g.setColorAt(0, Mix(col, Qt::white, 0.45));
            g.setColorAt(1, col);
            p.setPen(QPen(WithAlpha(col.darker(130), 0.5), 1));
            p.setBrush(g);
            QPainterPath petal(QPointF(0, 0));
            petal.cubicTo(-f.R * 0.55, -f.R * 0.3, -f.R * 0.45, -f.R, 0, -f.R);
            petal.cubicTo(f.R * 0.45, -f.R, f.R * 0.55, -f.R * 0.3, 0, 0);
            p.drawPath(petal);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 240));
        p.drawEllipse(QPointF(0, 0), f.R * 0.1, f.R * 0.1);
        p.restore();
    }
}

} // namespace

void June(QPainter& p, QSizeF s, QRandomGenerator& rng) {
    const double W = s.width(), H = s.height();
    Ground(p, s, {{0, QColor(226, 232, 246)}, {0.5, QColor(240, 242, 250)}, {1, QColor(232, 240, 236)}});
    Wash(p, At(s, 0.2, 0.9), W * 0.45, H * 0.15, QColor(170, 180, 230), rng, 0.15);
    Wash(p, At(s, 0.85, 0.12), W * 0.35, H * 0.12, QColor(200, 180, 230), rng, 0.15);
    // Rain.
    for (int i = 0; i < 260; ++i) {
        const QPointF a(Rand(rng, 0, W), Rand(rng, 0, H));
        const double len = Rand(rng, 18, 46);
        p.setPen(QPen(WithAlpha(QColor(130, 150, 200), Rand(rng, 0.15, 0.35)), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(a, a + QPointF(-len * 0.25, len));
    }
    Hydrangea(p, rng, At(s, 0.86, 0.1), W * 0.13, QColor(150, 120, 210), QColor(230, 160, 200));
    Hydrangea(p, rng, At(s, 0.2, 0.86), W * 0.17, QColor(80, 120, 210), QColor(140, 170, 236));
    Hydrangea(p, rng, At(s, 0.55, 0.95), W * 0.13, QColor(170, 110, 190), QColor(120, 130, 220));
    Hydrangea(p, rng, At(s, 0.92, 0.88), W * 0.14, QColor(226, 140, 180), QColor(180, 140, 220));
    // A few drops resting on the leaves and petals.
    for (int i = 0; i < 24; ++i) {
        const QPointF d(Rand(rng, 0.05, 0.98) * W, Rand(rng, 0.78, 0.98) * H);
        SoftSpot(p, d, W * 0.012, Qt::white, 0.8);
    }
}

} // namespace sozai
