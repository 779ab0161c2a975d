#pragma once

// Brushes of the picture generator: washes, paper, petals, leaves and flakes drawn with
// antialiasing and a seeded random source, so every run paints the same pixels.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <functional>

namespace sozai {

constexpr double kPi = 3.14159265358979323846;

// A point at a fraction of the picture's width and height.
QPointF At(QSizeF s, double x, double y);
// The point r away from c in direction deg (0 = right, 90 = down).
QPointF Polar(QPointF c, double r, double deg);

QColor Mix(const QColor& a, const QColor& b, double t);
QColor WithAlpha(QColor c, double alpha);

// A random number in [lo, hi).
double Rand(QRandomGenerator& rng, double lo, double hi);

// A blank picture: opaque for backgrounds, fully transparent for frames and decorations.
QImage NewPicture(QSize size, bool transparent);
// Antialiased painter on a picture.
void Begin(QPainter& p, QImage& img);

// Vertical gradient over the whole picture through the given stops.
void Ground(QPainter& p, QSizeF s, std::initializer_list<std::pair<double, QColor>> stops);
// Faint fibres of hand-made paper.
void Washi(QPainter& p, QSizeF s, QRandomGenerator& rng, int count, QColor fibre);
// A round glow fading to nothing.
void SoftSpot(QPainter& p, QPointF c, double r, QColor color, double alpha);
// Out-of-focus dots of light.
void Bokeh(QPainter& p, QRandomGenerator& rng, QRectF area, int count, const QList<QColor>& colors, double rMin,
           double rMax);
// A closed smooth outline around c whose radius wanders by up to wobble × r.
QPainterPath Blob(QPointF c, double rx, double ry, QRandomGenerator& rng, double wobble, int points = 18);
// Watercolour: several translucent, slightly shifted blobs with a darker rim.
void Wash(QPainter& p, QPointF c, double rx, double ry, QColor color, QRandomGenerator& rng, double alpha = 0.22);
// Long soft horizontal bands of mist (kasumi), rounded at the ends.
void Kasumi(QPainter& p, QRectF band, QColor color, double alpha);

// A filled stroke along a spine that narrows from w0 to w1.
QPainterPath Tapered(const QPainterPath& spine, double w0, double w1);
// A gently bending spine from `from` in direction `angle` (degrees, 0 = right, 90 = down).
QPainterPath Spine(QPointF from, double angle, double length, double bend);
// A woody branch with twigs; calls tip(point, angleDegrees, size) where blossoms or leaves go.
void Branch(QPainter& p, QRandomGenerator& rng, QPointF from, double angle, double length, double width, int depth,
            QColor bark, double zigzag, const std::function<void(QPointF, double, double)>& tip);

enum class TPetal { Sakura, Ume, Momo };
// A five-petalled flower of radius r.
void Flower(QPainter& p, QPointF c, double r, double turn, QColor petal, TPetal kind, QColor heart);
// A single loose petal, as falls from a cherry tree.
void FallingPetal(QPainter& p, QPointF c, double r, double turn, QColor petal);
// A closed bud on its calyx.
void Bud(QPainter& p, QPointF c, double r, double turn, QColor petal);

// A plain leaf with a midrib, from its base along angle.
void Leaf(QPainter& p, QPointF base, double length, double angle, QColor fill, double width = 0.38);
// Maple and ginkgo leaves centred on the origin, pointing up, of the given height.
QPainterPath MapleLeaf(double size);
QPainterPath GinkgoLeaf(double size);
void DrawMaple(QPainter& p, QPointF c, double size, double turn, QColor fill);
void DrawGinkgo(QPainter& p, QPointF c, double size, double turn, QColor fill);
// A six-armed snow crystal.
void Snowflake(QPainter& p, QPointF c, double r, double turn, QColor line, double width, int style);
QPainterPath Star(QPointF c, double outer, double inner, int points, double turn);

// Loose cherry petals scattered over an area.
void Petals(QPainter& p, QRandomGenerator& rng, QRectF area, int count, QColor color, double rMin, double rMax);
// A white cloud built from overlapping puffs, shaded at the bottom.
void Cloud(QPainter& p, QRandomGenerator& rng, QPointF c, double w, double h, double alpha);
// A blossoming branch; each flower takes one of colors, leafShare of the tips carry a leaf instead.
void BlossomBranch(QPainter& p, QRandomGenerator& rng, QPointF from, double angle, double length, double width,
                   double zigzag, QColor bark, const QList<QColor>& colors, double r, TPetal petal, QColor heart,
                   double leafShare = 0);

// Polished gold running from a to b.
QLinearGradient GoldGradient(QPointF a, QPointF b);
// A stem from `from` that sweeps to `centre` and winds in around it by `turn` degrees.
QPainterPath Scroll(QPointF from, QPointF control, QPointF centre, double radius, double startDeg, double turn);
// Gold scrolls along both edges of an upper left corner at the origin, reaching `size` along each.
void Flourish(QPainter& p, double size);

// Saves a picture as JPEG (opaque) or PNG (with its alpha channel); false on failure.
bool SavePicture(const QImage& img, const QString& path);

} // namespace sozai
