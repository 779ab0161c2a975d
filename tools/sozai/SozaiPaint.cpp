#include "SozaiPaint.h"

#include "imaging/ImageCodec.h"
#include "imaging/JpegCodec.h"

#include <QFile>
#include <QLinearGradient>
#include <QRadialGradient>
#include <QSaveFile>
#include <cmath>

namespace sozai {

namespace {
double Rad(double deg) {
    return deg * kPi / 180.0;
}
} // namespace

QPointF Polar(QPointF c, double r, double deg) {
    return c + QPointF(r * std::cos(Rad(deg)), r * std::sin(Rad(deg)));
}

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor WithAlpha(QColor c, double alpha) {
    c.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

double Rand(QRandomGenerator& rng, double lo, double hi) {
    return lo + rng.bounded(1.0) * (hi - lo);
}

QImage NewPicture(QSize size, bool transparent) {
    QImage img(size, transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    img.fill(transparent ? Qt::transparent : Qt::white);
    return img;
}

void Begin(QPainter& p, QImage& img) {
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

void Ground(QPainter& p, QSizeF s, std::initializer_list<std::pair<double, QColor>> stops) {
    QLinearGradient g(QPointF(0, 0), QPointF(0, s.height()));
    for (const auto& [at, color] : stops)
        g.setColorAt(at, color);
    p.fillRect(QRectF(QPointF(0, 0), s), g);
}

void Washi(QPainter& p, QSizeF s, QRandomGenerator& rng, int count, QColor fibre) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const QPointF a(Rand(rng, 0, s.width()), Rand(rng, 0, s.height()));
        const double len = Rand(rng, 8, 40), angle = Rand(rng, 0, 360);
        QPainterPath fib(a);
        fib.quadTo(Polar(a, len * 0.5, angle + Rand(rng, -40, 40)), Polar(a, len, angle));
        p.setPen(QPen(WithAlpha(fibre, Rand(rng, 0.05, 0.16)), Rand(rng, 0.6, 1.4), Qt::SolidLine, Qt::RoundCap));
        p.drawPath(fib);
    }
    p.restore();
}

void SoftSpot(QPainter& p, QPointF c, double r, QColor color, double alpha) {
    QRadialGradient g(c, r);
    g.setColorAt(0, WithAlpha(color, alpha));
    g.setColorAt(0.55, WithAlpha(color, alpha * 0.5));
    g.setColorAt(1, WithAlpha(color, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void Bokeh(QPainter& p, QRandomGenerator& rng, QRectF area, int count, const QList<QColor>& colors, double rMin,
           double rMax) {
    for (int i = 0; i < count; ++i) {
        const QPointF c(Rand(rng, area.left(), area.right()), Rand(rng, area.top(), area.bottom()));
        const QColor color = colors[int(rng.bounded(int(colors.size())))];
        const double r = Rand(rng, rMin, rMax);
        p.setPen(QPen(WithAlpha(color, 0.35), std::max(1.0, r * 0.05)));
        p.setBrush(WithAlpha(color, Rand(rng, 0.10, 0.25)));
        p.drawEllipse(c, r, r);
    }
}

QPainterPath Blob(QPointF c, double rx, double ry, QRandomGenerator& rng, double wobble, int points) {
    QList<QPointF> pts;
    const double phase = Rand(rng, 0, 360);
    for (int i = 0; i < points; ++i) {
        const double a = phase + 360.0 * i / points;
        const double k = 1.0 + Rand(rng, -wobble, wobble);
        pts.append(c + QPointF(rx * k * std::cos(Rad(a)), ry * k * std::sin(Rad(a))));
    }
    QPainterPath path((pts[0] + pts[1]) / 2);
    for (int i = 1; i <= points; ++i) {
        const QPointF cur = pts[i % points], next = pts[(i + 1) % points];
        path.quadTo(cur, (cur + next) / 2);
    }
    path.closeSubpath();
    return path;
}

void Wash(QPainter& p, QPointF c, double rx, double ry, QColor color, QRandomGenerator& rng, double alpha) {
    p.save();
    for (int layer = 0; layer < 4; ++layer) {
        const QPointF shift(Rand(rng, -0.08, 0.08) * rx, Rand(rng, -0.08, 0.08) * ry);
        const QPainterPath blob = Blob(c + shift, rx * (1 - layer * 0.12), ry * (1 - layer * 0.12), rng, 0.12);
        QRadialGradient g(c + shift, std::max(rx, ry));
        // Each layer fades before its edge, so the stacked layers give a soft, uneven border.
        g.setColorAt(0, WithAlpha(color, alpha * 0.5));
        g.setColorAt(0.7, WithAlpha(color, alpha * 0.45));
        g.setColorAt(1, WithAlpha(color.darker(106), alpha * 0.15));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(blob);
    }
    p.restore();
}

void Kasumi(QPainter& p, QRectF band, QColor color, double alpha) {
    QLinearGradient g(band.topLeft(), band.bottomLeft());
    g.setColorAt(0, WithAlpha(color, alpha * 0.6));
    g.setColorAt(1, WithAlpha(color, alpha));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(band, band.height() / 2, band.height() / 2);
}

QPainterPath Tapered(const QPainterPath& spine, double w0, double w1) {
    constexpr int kSteps = 48;
    QList<QPointF> left, right;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = double(i) / kSteps;
        const QPointF at = spine.pointAtPercent(t);
        const double angle = -spine.angleAtPercent(t); // Qt counts counter-clockwise
        const double w = (w0 + (w1 - w0) * t) / 2;
        left.append(Polar(at, w, angle - 90));
        right.append(Polar(at, w, angle + 90));
    }
    QPainterPath path(left[0]);
    for (int i = 1; i < left.size(); ++i)
        path.lineTo(left[i]);
    path.quadTo(Polar(spine.pointAtPercent(1), w1 * 0.7, -spine.angleAtPercent(1)), right.last());
    for (int i = right.size() - 2; i >= 0; --i)
        path.lineTo(right[i]);
    path.closeSubpath();
    return path;
}

QPainterPath Spine(QPointF from, double angle, double length, double bend) {
    const QPointF end = Polar(from, length, angle);
    const QPointF ctrl = Polar(Polar(from, length / 2, angle), length * bend, angle + 90);
    QPainterPath spine(from);
    spine.quadTo(ctrl, end);
    return spine;
}

void Branch(QPainter& p, QRandomGenerator& rng, QPointF from, double angle, double length, double width, int depth,
            QColor bark, double zigzag, const std::function<void(QPointF, double, double)>& tip) {
    // The limb is drawn in a few kinks, so plum wood looks angular and cherry wood smooth.
    const int segments = 3;
    QPointF at = from;
    double heading = angle;
    QList<std::pair<QPointF, double>> forks;
    for (int i = 0; i < segments; ++i) {
        const double seg = length / segments;
        const double w0 = width * (1 - 0.6 * i / segments), w1 = width * (1 - 0.6 * (i + 1) / segments);
        const QPainterPath spine = Spine(at, heading, seg * 1.04, Rand(rng, -0.08, 0.08));
        QLinearGradient g(Polar(at, w0, heading - 90), Polar(at, w0, heading + 90));
        g.setColorAt(0, bark.lighter(135));
        g.setColorAt(0.5, bark);
        g.setColorAt(1, bark.darker(125));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(Tapered(spine, w0, w1));
        at = Polar(at, seg, heading);
        forks.append({at, heading});
        heading += Rand(rng, -zigzag, zigzag);
    }
    for (const auto& [point, dir] : forks) {
        if (depth > 0 && rng.bounded(1.0) < 0.8) {
            const double side = rng.bounded(2) ? 1 : -1;
            Branch(p, rng, point, dir + side * Rand(rng, 25, 50), length * Rand(rng, 0.35, 0.55), width * 0.45,
                   depth - 1, bark, zigzag, tip);
        }
        tip(point, dir, width);
    }
    tip(at, heading, width);
}

void Flower(QPainter& p, QPointF c, double r, double turn, QColor petal, TPetal kind, QColor heart) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    for (int i = 0; i < 5; ++i) {
        p.save();
        p.rotate(72 * i);
        QPainterPath shape;
        const double len = r, half = r * (kind == TPetal::Momo ? 0.34 : 0.42);
        shape.moveTo(0, 0);
        shape.cubicTo(-half * 1.3, -len * 0.35, -half * 1.1, -len * 0.95, -half * 0.2, -len);
        if (kind == TPetal::Sakura) {
            shape.lineTo(0, -len * 0.86); // the notch at the tip
            shape.lineTo(half * 0.2, -len);
        } else if (kind == TPetal::Momo) {
            shape.quadTo(0, -len * 1.12, half * 0.2, -len);
        } else {
            shape.quadTo(0, -len * 1.06, half * 0.2, -len);
        }
        shape.cubicTo(half * 1.1, -len * 0.95, half * 1.3, -len * 0.35, 0, 0);
        QRadialGradient g(QPointF(0, 0), len);
        g.setColorAt(0, petal.darker(kind == TPetal::Ume ? 104 : 112));
        g.setColorAt(0.45, petal);
        g.setColorAt(1, Mix(petal, Qt::white, 0.35));
        p.setPen(QPen(WithAlpha(petal.darker(130), 0.35), std::max(0.6, r * 0.02)));
        p.setBrush(g);
        p.drawPath(shape);
        p.restore();
    }
    // Stamens: fine lines with pollen heads.
    p.setPen(QPen(WithAlpha(heart.darker(120), 0.8), std::max(0.6, r * 0.025), Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = i * 30 + 7;
        const QPointF end = Polar(QPointF(0, 0), r * (0.34 + 0.06 * (i % 3)), a);
        p.drawLine(QPointF(0, 0), end);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(heart);
        p.drawEllipse(end, r * 0.045, r * 0.045);
        p.restore();
    }
    SoftSpot(p, QPointF(0, 0), r * 0.22, heart.darker(110), 0.55);
    p.restore();
}

void FallingPetal(QPainter& p, QPointF c, double r, double turn, QColor petal) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    QPainterPath s(QPointF(0, r));
    s.cubicTo(-r * 0.9, r * 0.4, -r * 0.6, -r * 0.8, -r * 0.12, -r);
    s.lineTo(0, -r * 0.8);
    s.lineTo(r * 0.12, -r);
    s.cubicTo(r * 0.6, -r * 0.8, r * 0.9, r * 0.4, 0, r);
    QLinearGradient g(QPointF(0, r), QPointF(0, -r));
    g.setColorAt(0, petal.darker(110));
    g.setColorAt(1, Mix(petal, Qt::white, 0.4));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(s);
    p.restore();
}

void Bud(QPainter& p, QPointF c, double r, double turn, QColor petal) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    p.setPen(Qt::NoPen);
    QRadialGradient g(QPointF(-r * 0.2, -r * 0.3), r * 1.1);
    g.setColorAt(0, Mix(petal, Qt::white, 0.3));
    g.setColorAt(1, petal.darker(115));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, -r * 0.2), r * 0.62, r * 0.8);
    p.setBrush(QColor(120, 70, 60));
    QPainterPath calyx(QPointF(-r * 0.5, r * 0.25));
    calyx.quadTo(0, r * 1.0, r * 0.5, r * 0.25);
    calyx.quadTo(0, r * 0.5, -r * 0.5, r * 0.25);
    p.drawPath(calyx);
    p.restore();
}

void Leaf(QPainter& p, QPointF base, double length, double angle, QColor fill, double width) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    const double w = length * width;
    QPainterPath s(QPointF(0, 0));
    s.cubicTo(length * 0.25, -w * 0.9, length * 0.7, -w * 0.6, length, 0);
    s.cubicTo(length * 0.7, w * 0.6, length * 0.25, w * 0.9, 0, 0);
    QLinearGradient g(QPointF(0, -w / 2), QPointF(0, w / 2));
    g.setColorAt(0, fill.lighter(118));
    g.setColorAt(1, fill.darker(112));
    p.setPen(QPen(WithAlpha(fill.darker(140), 0.5), std::max(0.6, length * 0.012)));
    p.setBrush(g);
    p.drawPath(s);
    p.setPen(QPen(WithAlpha(Mix(fill, Qt::white, 0.5), 0.8), std::max(0.6, length * 0.014)));
    p.drawLine(QPointF(length * 0.03, 0), QPointF(length * 0.92, 0));
    for (int i = 1; i < 5; ++i) {
        const double x = length * 0.16 * i;
        p.drawLine(QPointF(x, 0), QPointF(x + length * 0.12, -w * 0.28 * (1 - i * 0.12)));
        p.drawLine(QPointF(x, 0), QPointF(x + length * 0.12, w * 0.28 * (1 - i * 0.12)));
    }
    p.restore();
}

QPainterPath MapleLeaf(double size) {
    // Seven lobes on a palm; each lobe a toothed spear.
    const double r = size / 2;
    const double lobes[7][2] = {{-90, 1.0}, {-45, 0.92}, {-135, 0.92}, {0, 0.72}, {180, 0.72}, {40, 0.42}, {140, 0.42}};
    QPainterPath leaf;
    leaf.setFillRule(Qt::WindingFill);
    for (const auto& lobe : lobes) {
        const double a = lobe[0], len = r * lobe[1];
        QPainterPath s(QPointF(0, 0));
        const int teeth = 4;
        QList<QPointF> side1, side2;
        for (int i = 1; i <= teeth; ++i) {
            const double t = double(i) / (teeth + 1);
            const double w = len * 0.24 * std::sin(t * 3.14159) * (1.05 - t * 0.3);
            side1.append(Polar(Polar(QPointF(0, 0), len * t, a), w * (i % 2 ? 1.15 : 0.85), a - 90));
            side2.append(Polar(Polar(QPointF(0, 0), len * t, a), w * (i % 2 ? 1.15 : 0.85), a + 90));
        }
        for (const QPointF& q : side1)
            s.lineTo(q);
        s.lineTo(Polar(QPointF(0, 0), len, a));
        for (int i = int(side2.size()) - 1; i >= 0; --i)
            s.lineTo(side2[i]);
        s.closeSubpath();
        leaf.addPath(s);
    }
    leaf.addEllipse(QPointF(0, 0), r * 0.2, r * 0.2);
    return leaf.simplified();
}

QPainterPath GinkgoLeaf(double size) {
    const double r = size * 0.62;
    // A thin stalk widening only where it meets the fan.
    QPainterPath leaf(QPointF(-size * 0.006, size * 0.38));
    leaf.quadTo(QPointF(-size * 0.012, size * 0.2), QPointF(-size * 0.025, size * 0.1));
    leaf.cubicTo(-r * 0.35, -r * 0.1, -r * 0.95, -r * 0.35, -r * 0.85, -r * 0.62);
    leaf.cubicTo(-r * 0.55, -r * 0.92, -r * 0.2, -r * 0.9, -r * 0.04, -r * 0.8);
    leaf.lineTo(0, -r * 0.62); // the cleft in the middle of the fan
    leaf.lineTo(r * 0.04, -r * 0.8);
    leaf.cubicTo(r * 0.2, -r * 0.9, r * 0.55, -r * 0.92, r * 0.85, -r * 0.62);
    leaf.cubicTo(r * 0.95, -r * 0.35, r * 0.35, -r * 0.1, size * 0.025, size * 0.1);
    leaf.quadTo(QPointF(size * 0.012, size * 0.2), QPointF(size * 0.006, size * 0.38));
    leaf.closeSubpath();
    return leaf;
}

void DrawMaple(QPainter& p, QPointF c, double size, double turn, QColor fill) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    const QPainterPath leaf = MapleLeaf(size);
    QRadialGradient g(QPointF(0, 0), size * 0.55);
    g.setColorAt(0, fill.lighter(120));
    g.setColorAt(1, fill.darker(118));
    p.setPen(QPen(WithAlpha(fill.darker(150), 0.55), std::max(0.7, size * 0.006)));
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(WithAlpha(fill.darker(145), 0.6), std::max(0.7, size * 0.008), Qt::SolidLine, Qt::RoundCap));
    for (double a : {-90.0, -45.0, -135.0, 0.0, 180.0, 40.0, 140.0})
        p.drawLine(QPointF(0, 0), Polar(QPointF(0, 0),
                                        size * (a == -90                ? 0.44
                                                : (a == 40 || a == 140) ? 0.17
                                                                        : 0.34),
                                        a));
    p.setPen(QPen(fill.darker(150), std::max(1.0, size * 0.018), Qt::SolidLine, Qt::RoundCap));
    QPainterPath stem(QPointF(0, 0));
    stem.quadTo(QPointF(size * 0.03, size * 0.2), QPointF(size * 0.08, size * 0.34));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stem);
    p.restore();
}

void DrawGinkgo(QPainter& p, QPointF c, double size, double turn, QColor fill) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    const QPainterPath leaf = GinkgoLeaf(size);
    QRadialGradient g(QPointF(0, size * 0.1), size * 0.7);
    g.setColorAt(0, fill.darker(108));
    g.setColorAt(0.7, fill);
    g.setColorAt(1, Mix(fill, QColor(255, 250, 200), 0.35));
    p.setPen(QPen(WithAlpha(fill.darker(140), 0.5), std::max(0.7, size * 0.006)));
    p.setBrush(g);
    p.drawPath(leaf);
    // Fine radiating veins.
    p.setPen(QPen(WithAlpha(fill.darker(125), 0.35), std::max(0.5, size * 0.004)));
    p.setClipPath(leaf);
    for (int i = 0; i <= 16; ++i) {
        const double a = -90 - 60 + i * 7.5;
        p.drawLine(QPointF(0, size * 0.1), Polar(QPointF(0, size * 0.1), size, a));
    }
    p.restore();
}

void Snowflake(QPainter& p, QPointF c, double r, double turn, QColor line, double width, int style) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int arm = 0; arm < 6; ++arm) {
        p.save();
        p.rotate(60 * arm);
        p.drawLine(QPointF(0, 0), QPointF(0, -r));
        switch (style % 3) {
        case 0: // fern-like: pairs of side twigs shrinking to the tip
            for (int k = 1; k <= 3; ++k) {
                const double y = -r * (0.25 + 0.22 * k), len = r * (0.36 - 0.08 * k);
                p.drawLine(QPointF(0, y), QPointF(-len * 0.8, y - len * 0.6));
                p.drawLine(QPointF(0, y), QPointF(len * 0.8, y - len * 0.6));
            }
            break;
        case 1: // plate: a small hexagon knot and a chevron
            p.drawLine(QPointF(0, -r * 0.55), QPointF(-r * 0.2, -r * 0.72));
            p.drawLine(QPointF(0, -r * 0.55), QPointF(r * 0.2, -r * 0.72));
            p.drawLine(QPointF(-r * 0.14, -r * 0.3), QPointF(r * 0.14, -r * 0.3));
            p.drawEllipse(QPointF(0, -r * 0.9), r * 0.07, r * 0.07);
            break;
        default: // star with long side plumes
            p.drawLine(QPointF(0, -r * 0.4), QPointF(-r * 0.3, -r * 0.62));
            p.drawLine(QPointF(0, -r * 0.4), QPointF(r * 0.3, -r * 0.62));
            p.drawLine(QPointF(0, -r * 0.7), QPointF(-r * 0.16, -r * 0.84));
            p.drawLine(QPointF(0, -r * 0.7), QPointF(r * 0.16, -r * 0.84));
            break;
        }
        p.restore();
    }
    if (style % 3 == 1) {
        QPolygonF hex;
        for (int i = 0; i < 6; ++i)
            hex << Polar(QPointF(0, 0), r * 0.18, 60 * i - 90);
        p.drawPolygon(hex);
    }
    p.restore();
}

QPainterPath Star(QPointF c, double outer, double inner, int points, double turn) {
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i)
        poly << Polar(c, i % 2 ? inner : outer, turn - 90 + 180.0 * i / points);
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

QPointF At(QSizeF s, double x, double y) {
    return QPointF(s.width() * x, s.height() * y);
}

void Petals(QPainter& p, QRandomGenerator& rng, QRectF area, int count, QColor color, double rMin, double rMax) {
    for (int i = 0; i < count; ++i)
        FallingPetal(p, QPointF(Rand(rng, area.left(), area.right()), Rand(rng, area.top(), area.bottom())),
                     Rand(rng, rMin, rMax), Rand(rng, 0, 360), Mix(color, Qt::white, Rand(rng, 0, 0.3)));
}

// A white cloud built from overlapping puffs, shaded at the bottom.
void Cloud(QPainter& p, QRandomGenerator& rng, QPointF c, double w, double h, double alpha) {
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    for (int i = 0; i < 9; ++i) {
        const double x = c.x() + Rand(rng, -0.42, 0.42) * w, r = h * Rand(rng, 0.35, 0.6);
        const double y = c.y() - r * 0.3 + Rand(rng, -0.15, 0.1) * h;
        cloud.addEllipse(QPointF(x, y), r * Rand(rng, 1.0, 1.5), r);
    }
    cloud.addRoundedRect(QRectF(c.x() - w * 0.5, c.y() - h * 0.2, w, h * 0.4), h * 0.2, h * 0.2);
    cloud = cloud.simplified();
    QLinearGradient g(QPointF(0, c.y() - h), QPointF(0, c.y() + h * 0.25));
    g.setColorAt(0, WithAlpha(Qt::white, alpha));
    g.setColorAt(0.7, WithAlpha(QColor(246, 248, 252), alpha));
    g.setColorAt(1, WithAlpha(QColor(214, 224, 238), alpha));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(cloud);
}

namespace {

// Blossoms are gathered while the branches grow and drawn last, so no twig crosses a flower.
struct TBloom {
    QPointF At;
    double R, Turn;
    QColor Color;
    int Kind; // 0 flower, 1 bud, 2 leaf
};

void DrawBlooms(QPainter& p, QList<TBloom>& blooms, TPetal petal, QColor heart, QColor leaf) {
    std::stable_sort(blooms.begin(), blooms.end(), [](const TBloom& a, const TBloom& b) { return a.Kind > b.Kind; });
    for (const TBloom& b : blooms) {
        if (b.Kind == 2)
            Leaf(p, b.At, b.R * 2.6, b.Turn, leaf, 0.3);
        else if (b.Kind == 1)
            Bud(p, b.At, b.R * 0.45, b.Turn + 90, b.Color);
        else
            Flower(p, b.At, b.R, b.Turn, b.Color, petal, heart);
    }
}

} // namespace

// A blossoming branch; colours are picked per flower from `colors`.
void BlossomBranch(QPainter& p, QRandomGenerator& rng, QPointF from, double angle, double length, double width,
                   double zigzag, QColor bark, const QList<QColor>& colors, double r, TPetal petal, QColor heart,
                   double leafShare) {
    QList<TBloom> blooms;
    Branch(p, rng, from, angle, length, width, 2, bark, zigzag, [&](QPointF at, double dir, double w) {
        const int n = w > width * 0.5 ? 1 : 2 + int(rng.bounded(2));
        for (int i = 0; i < n; ++i) {
            const QPointF spot = Polar(at, r * Rand(rng, 0.2, 1.1), Rand(rng, 0, 360));
            const double pick = rng.bounded(1.0);
            const int kind = pick < leafShare ? 2 : pick < leafShare + 0.18 ? 1 : 0;
            blooms.append({spot, r * Rand(rng, 0.75, 1.1), kind == 2 ? dir + Rand(rng, -70, 70) : Rand(rng, 0, 360),
                           colors[int(rng.bounded(int(colors.size())))], kind});
        }
    });
    DrawBlooms(p, blooms, petal, heart, QColor(110, 160, 80));
}

QLinearGradient GoldGradient(QPointF a, QPointF b) {
    QLinearGradient g(a, b);
    g.setColorAt(0, QColor(176, 128, 44));
    g.setColorAt(0.3, QColor(244, 214, 130));
    g.setColorAt(0.55, QColor(198, 150, 60));
    g.setColorAt(0.8, QColor(250, 226, 150));
    g.setColorAt(1, QColor(168, 120, 40));
    return g;
}

// A stem from `from` that sweeps to `centre` and winds in one and a half turns around it.
QPainterPath Scroll(QPointF from, QPointF control, QPointF centre, double radius, double startDeg, double turn) {
    QPainterPath spine(from);
    const QPointF first = Polar(centre, radius, startDeg);
    spine.quadTo(control, first);
    for (int i = 1; i <= 60; ++i) {
        const double t = i / 60.0;
        spine.lineTo(Polar(centre, radius * (1 - 0.75 * t), startDeg + turn * t));
    }
    return spine;
}

// Scrolls curling along both edges from a corner, in gold, tapering like a pen stroke.
void Flourish(QPainter& p, double size) {
    p.setPen(Qt::NoPen);
    for (int mirror = 0; mirror < 2; ++mirror) {
        p.save();
        if (mirror) p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true); // swap x and y
        const QBrush gold(GoldGradient(QPointF(0, 0), QPointF(size, size * 0.4)));
        p.setBrush(gold);
        p.drawPath(Tapered(Scroll(QPointF(size * 0.06, size * 0.06), QPointF(size * 0.45, size * -0.02),
                                  QPointF(size * 0.68, size * 0.17), size * 0.1, -90, 540),
                           size * 0.035, size * 0.008));
        p.drawPath(Tapered(Scroll(QPointF(size * 0.12, size * 0.1), QPointF(size * 0.22, size * 0.26),
                                  QPointF(size * 0.38, size * 0.2), size * 0.065, 150, -520),
                           size * 0.025, size * 0.006));
        // Two leaves where the scrolls part.
        for (double a : {-25.0, 35.0}) {
            p.save();
            p.translate(size * 0.3, size * 0.06);
            p.rotate(a);
            QPainterPath leaf(QPointF(0, 0));
            leaf.quadTo(size * 0.06, -size * 0.04, size * 0.13, 0);
            leaf.quadTo(size * 0.06, size * 0.04, 0, 0);
            p.drawPath(leaf);
            p.restore();
        }
        p.restore();
    }
    p.setBrush(GoldGradient(QPointF(0, 0), QPointF(size * 0.3, size * 0.3)));
    p.drawPath(Star(QPointF(size * 0.07, size * 0.07), size * 0.1, size * 0.035, 4, 45));
    p.drawEllipse(QPointF(size * 0.2, size * 0.2), size * 0.025, size * 0.025);
}

bool SavePicture(const QImage& img, const QString& path) {
    QByteArray bytes;
    if (path.endsWith(QLatin1String(".jpg")))
        bytes = TJpegCodec::Encode(img.convertToFormat(QImage::Format_RGB32), 88);
    else
        bytes = TImageCodec::Encode(img.convertToFormat(QImage::Format_ARGB32), TImageFormat::Png);
    if (bytes.isEmpty()) return false;
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit();
}

} // namespace sozai
