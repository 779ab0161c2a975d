#include "design/Artwork.h"

#include "platform/Rounding.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

namespace {
QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void SoftSpot(QPainter& p, QPointF c, double r, QColor color, double alpha) {
    QRadialGradient g(c, r);
    color.setAlphaF(alpha);
    g.setColorAt(0, color);
    QColor mid = color;
    mid.setAlphaF(alpha * 0.55);
    g.setColorAt(0.6, mid);
    color.setAlphaF(0);
    g.setColorAt(1, color);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

void Bokeh(QPainter& p, QRandomGenerator& rng, QSizeF s, int count, const QList<QColor>& colors, double scale) {
    for (int i = 0; i < count; ++i) {
        const QPointF c(rng.bounded(1.0) * s.width(), rng.bounded(1.0) * s.height());
        const double r = (0.02 + rng.bounded(0.07)) * scale;
        SoftSpot(p, c, r, colors[int(rng.bounded(colors.size()))], 0.25 + rng.bounded(0.45));
    }
}

// A ridge line across the picture: a sum of a few sines.
QPainterPath Ridge(QSizeF s, double base, double amp, double phase, int seedTerms) {
    QPainterPath path(QPointF(0, s.height()));
    for (int x = 0; x <= 200; ++x) {
        const double t = x / 200.0;
        double y = base;
        for (int k = 1; k <= seedTerms; ++k)
            y -= amp / k * std::sin(t * 3.1 * k + phase * k);
        path.lineTo(t * s.width(), y * s.height());
    }
    path.lineTo(s.width(), s.height());
    path.closeSubpath();
    return path;
}

void Blossom(QPainter& p, QPointF c, double r, QColor petal, double turn) {
    p.save();
    p.translate(c);
    p.rotate(turn);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        p.rotate(72);
        QRadialGradient g(QPointF(0, -r * 0.55), r * 0.6);
        g.setColorAt(0, petal.lighter(112));
        g.setColorAt(1, petal);
        p.setBrush(g);
        p.drawEllipse(QPointF(0, -r * 0.55), r * 0.36, r * 0.55);
    }
    p.setBrush(QColor(236, 170, 70));
    p.drawEllipse(QPointF(0, 0), r * 0.14, r * 0.14);
    p.restore();
}

} // namespace

QImage Artwork(TArt art, QSize size, quint32 seed) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRandomGenerator rng(seed);
    const QSizeF s(size);
    const double scale = std::max(s.width(), s.height());
    auto fill = [&](std::initializer_list<std::pair<double, QColor>> stops, QPointF from, QPointF to) {
        QLinearGradient g(from, to);
        for (const auto& [at, color] : stops)
            g.setColorAt(at, color);
        p.fillRect(img.rect(), g);
    };
    switch (art) {
    case TArt::Komorebi: {
        // Sunlight through leaves: green depths, slanting light and bright spots.
        fill({{0, QColor(222, 238, 196)}, {0.45, QColor(120, 176, 110)}, {1, QColor(36, 82, 58)}}, QPointF(0, 0),
             QPointF(s.width() * 0.3, s.height()));
        for (int i = 0; i < 5; ++i) {
            const double x = s.width() * (0.1 + 0.2 * i + rng.bounded(0.08));
            QPainterPath ray;
            ray.moveTo(x, 0);
            ray.lineTo(x + s.width() * 0.07, 0);
            ray.lineTo(x + s.width() * 0.45, s.height());
            ray.lineTo(x + s.width() * 0.25, s.height());
            ray.closeSubpath();
            QLinearGradient g(QPointF(x, 0), QPointF(x + s.width() * 0.3, s.height()));
            g.setColorAt(0, QColor(255, 252, 220, 90));
            g.setColorAt(1, QColor(255, 252, 220, 0));
            p.fillPath(ray, g);
        }
        Bokeh(p, rng, s, 70, {QColor(255, 250, 210), QColor(200, 230, 150), QColor(90, 150, 80)}, scale);
        for (int i = 0; i < 18; ++i)
            SoftSpot(p, QPointF(rng.bounded(1.0) * s.width(), rng.bounded(0.6) * s.height()),
                     scale * (0.01 + rng.bounded(0.015)), QColor(255, 255, 235), 0.9);
        break;
    }
    case TArt::Sakura: {
        fill({{0, QColor(250, 236, 240)}, {0.6, QColor(246, 210, 222)}, {1, QColor(214, 228, 246)}}, QPointF(0, 0),
             QPointF(s.width(), s.height()));
        Bokeh(p, rng, s, 60, {QColor(255, 255, 255), QColor(244, 170, 196), QColor(250, 200, 215)}, scale);
        for (int i = 0; i < 26; ++i) {
            const QColor petal = Mix(QColor(248, 190, 208), QColor(255, 240, 245), rng.bounded(1.0));
            Blossom(p, QPointF(rng.bounded(1.0) * s.width(), rng.bounded(1.0) * s.height()),
                    scale * (0.025 + rng.bounded(0.035)), petal, rng.bounded(72.0));
        }
        break;
    }
    case TArt::Sea: {
        fill({{0, QColor(120, 180, 230)},
              {0.5, QColor(226, 240, 250)},
              {0.52, QColor(70, 150, 200)},
              {1, QColor(20, 80, 140)}},
             QPointF(0, 0), QPointF(0, s.height()));
        SoftSpot(p, QPointF(s.width() * 0.72, s.height() * 0.36), scale * 0.18, QColor(255, 250, 230), 0.95);
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 26; ++i) {
            const double y = s.height() * (0.54 + 0.45 * i / 26.0);
            QPainterPath wave(QPointF(0, y));
            const double phase = rng.bounded(6.3), freq = 0.12 + rng.bounded(0.1);
            for (int x = 0; x <= 100; ++x)
                wave.lineTo(x / 100.0 * s.width(),
                            y + std::sin(x * freq + phase) * s.height() * 0.003 * (1 + i * 0.15));
            p.setPen(QPen(QColor(255, 255, 255, 14 + i), std::max(1.0, scale * 0.0015 * (1 + i * 0.1))));
            p.drawPath(wave);
        }
        for (int i = 0; i < 3; ++i)
            SoftSpot(p, QPointF(rng.bounded(1.0) * s.width(), s.height() * (0.12 + rng.bounded(0.2))),
                     scale * (0.08 + rng.bounded(0.06)), QColor(255, 255, 255), 0.6);
        break;
    }
    case TArt::Mountains: {
        fill({{0, QColor(92, 84, 150)}, {0.45, QColor(238, 150, 120)}, {0.7, QColor(252, 214, 150)}}, QPointF(0, 0),
             QPointF(0, s.height()));
        SoftSpot(p, QPointF(s.width() * 0.3, s.height() * 0.55), scale * 0.12, QColor(255, 240, 200), 1.0);
        const QColor far(170, 120, 150), near(40, 36, 70);
        for (int i = 0; i < 5; ++i) {
            const double t = i / 4.0;
            p.fillPath(Ridge(s, 0.5 + 0.12 * i, 0.06 - 0.006 * i, rng.bounded(6.0), 4), Mix(far, near, t));
        }
        break;
    }
    case TArt::Night: {
        fill({{0, QColor(12, 18, 48)}, {0.7, QColor(40, 56, 110)}, {1, QColor(90, 90, 150)}}, QPointF(0, 0),
             QPointF(0, s.height()));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 380; ++i) {
            const QPointF c(rng.bounded(1.0) * s.width(), rng.bounded(0.85) * s.height());
            const double r = scale * (0.0008 + rng.bounded(0.0018));
            p.setBrush(QColor(255, 255, 240, 120 + int(rng.bounded(135))));
            p.drawEllipse(c, r, r);
        }
        SoftSpot(p, QPointF(s.width() * 0.78, s.height() * 0.2), scale * 0.12, QColor(255, 250, 220), 0.5);
        p.setBrush(QColor(255, 250, 225));
        p.drawEllipse(QPointF(s.width() * 0.78, s.height() * 0.2), scale * 0.035, scale * 0.035);
        p.fillPath(Ridge(s, 0.93, 0.03, 1.3, 3), QColor(10, 14, 30));
        break;
    }
    case TArt::Sunrise: {
        // The first sunrise of the year over the sea, a snowy peak on the left.
        fill({{0, QColor(60, 90, 160)},
              {0.45, QColor(246, 170, 120)},
              {0.62, QColor(255, 226, 160)},
              {0.63, QColor(230, 140, 90)},
              {1, QColor(60, 60, 110)}},
             QPointF(0, 0), QPointF(0, s.height()));
        SoftSpot(p, QPointF(s.width() * 0.62, s.height() * 0.62), scale * 0.28, QColor(255, 236, 170), 0.9);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 120, 60));
        p.drawPie(QRectF(s.width() * 0.62 - scale * 0.07, s.height() * 0.62 - scale * 0.07, scale * 0.14, scale * 0.14),
                  0, 180 * 16);
        QPainterPath fuji(QPointF(-s.width() * 0.1, s.height() * 0.63));
        fuji.lineTo(s.width() * 0.16, s.height() * 0.3);
        fuji.lineTo(s.width() * 0.26, s.height() * 0.3);
        fuji.lineTo(s.width() * 0.52, s.height() * 0.63);
        fuji.closeSubpath();
        p.fillPath(fuji, QColor(70, 74, 120));
        QPainterPath snow(QPointF(s.width() * 0.1, s.height() * 0.38));
        snow.lineTo(s.width() * 0.16, s.height() * 0.3);
        snow.lineTo(s.width() * 0.26, s.height() * 0.3);
        snow.lineTo(s.width() * 0.32, s.height() * 0.38);
        snow.lineTo(s.width() * 0.27, s.height() * 0.36);
        snow.lineTo(s.width() * 0.22, s.height() * 0.39);
        snow.lineTo(s.width() * 0.17, s.height() * 0.36);
        snow.closeSubpath();
        p.fillPath(snow, QColor(250, 250, 255));
        for (int i = 0; i < 14; ++i) {
            const double y = s.height() * (0.66 + 0.33 * i / 14.0);
            const double half = s.width() * (0.05 + 0.02 * i);
            p.setPen(QPen(QColor(255, 220, 150, 150 - i * 8), std::max(1.0, scale * 0.004)));
            p.drawLine(QPointF(s.width() * 0.62 - half, y), QPointF(s.width() * 0.62 + half, y));
        }
        break;
    }
    }
    return img;
}

QSize ArtPixels(QSize stored) {
    const double dpi = std::min(150.0, 1600.0 * 254.0 / std::max(stored.width(), stored.height()));
    return {Nearest(stored.width() / 254.0 * dpi), Nearest(stored.height() / 254.0 * dpi)};
}
