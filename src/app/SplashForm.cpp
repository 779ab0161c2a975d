#include "app/SplashForm.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>
#include <QTimer>
#include <array>

namespace {

const QString kTitle = QStringLiteral("こもれびごよみ印刷");
const QString kVersion = QStringLiteral("Version 1.4.1");

// Light falling through leaves: slanted rays from the top left and soft round spots.
void DrawLight(QPainter& p, const QRectF& area) {
    p.save();
    p.setPen(Qt::NoPen);
    const std::array<std::pair<qreal, qreal>, 4> rays = {{{40, 70}, {120, 40}, {205, 85}, {300, 35}}};
    for (const auto& [x, w] : rays) {
        QLinearGradient fade(0, 0, area.width() * 0.6, area.height());
        fade.setColorAt(0, QColor(255, 252, 220, 70));
        fade.setColorAt(1, QColor(255, 252, 220, 0));
        QPainterPath ray;
        ray.moveTo(x, 0);
        ray.lineTo(x + w, 0);
        ray.lineTo(x + w + 160, area.height());
        ray.lineTo(x + 110, area.height());
        ray.closeSubpath();
        p.fillPath(ray, fade);
    }
    struct Spot {
        qreal x, y, r;
        int alpha;
    };
    const std::array<Spot, 9> spots = {{{62, 38, 26, 90},
                                        {128, 20, 14, 110},
                                        {352, 52, 34, 70},
                                        {410, 130, 18, 90},
                                        {300, 188, 22, 60},
                                        {22, 170, 30, 55},
                                        {238, 30, 10, 120},
                                        {180, 200, 12, 80},
                                        {395, 22, 12, 110}}};
    for (const Spot& s : spots) {
        QRadialGradient glow(QPointF(s.x, s.y), s.r);
        glow.setColorAt(0, QColor(255, 250, 205, s.alpha));
        glow.setColorAt(0.6, QColor(255, 250, 205, s.alpha / 3));
        glow.setColorAt(1, QColor(255, 250, 205, 0));
        p.setBrush(glow);
        p.drawEllipse(QPointF(s.x, s.y), s.r, s.r);
    }
    p.restore();
}

// A leaf shape pointing along the angle, its stem at the origin.
void DrawLeaf(QPainter& p, QPointF at, qreal length, qreal angle, const QColor& colour) {
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.32, length * 0.75, -length * 0.28, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.28, length * 0.3, length * 0.32, 0, 0);
    p.fillPath(leaf, colour);
    p.setPen(QPen(colour.darker(130), 1.2));
    p.drawLine(QPointF(0, 0), QPointF(length * 0.92, 0));
    p.restore();
}

// A small desk calendar page, as on the program's icon.
void DrawCalendar(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 20, 60));
    p.drawRoundedRect(r.translated(3, 4), 8, 8);
    p.setBrush(QColor(252, 253, 248));
    p.drawRoundedRect(r, 8, 8);
    QPainterPath page, band;
    page.addRoundedRect(r, 8, 8);
    band.addRect(QRectF(r.left(), r.top(), r.width(), r.height() * 0.3));
    p.fillPath(page.intersected(band), QColor(79, 164, 99));
    const qreal cellW = r.width() / 7, cellH = (r.height() * 0.7 - 6) / 4;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 7; ++col) {
            const QPointF c(r.left() + cellW * (col + 0.5), r.top() + r.height() * 0.3 + 3 + cellH * (row + 0.5));
            if (row == 2 && col == 4) {
                p.setBrush(QColor(224, 83, 61));
                p.drawEllipse(c, cellW * 0.42, cellW * 0.42);
                continue;
            }
            p.setBrush(col == 0 ? QColor(224, 83, 61, 200) : QColor(93, 107, 97, 170));
            p.drawRoundedRect(QRectF(c.x() - cellW * 0.22, c.y() - cellH * 0.2, cellW * 0.44, cellH * 0.4), 1.5, 1.5);
        }
    }
    p.setBrush(QColor(46, 74, 54));
    for (qreal x : {r.left() + r.width() * 0.3, r.left() + r.width() * 0.7})
        p.drawRoundedRect(QRectF(x - 3, r.top() - 6, 6, 13), 3, 3);
    p.restore();
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(kWidth, kHeight);
    setWindowTitle(kTitle);
    fPicture = RenderPicture(devicePixelRatioF());
}

void TSplashForm::ShowFor(int milliseconds) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
    raise();
    QTimer::singleShot(milliseconds, this, &QWidget::close);
    qApp->installEventFilter(this);
}

bool TSplashForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
            qApp->removeEventFilter(this);
            close();
        }
    }
    return false;
}

TSplashForm* TSplashForm::ShowSplash(int milliseconds) {
    auto* form = new TSplashForm;
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->ShowFor(milliseconds);
    return form;
}

QImage TSplashForm::RenderPicture(qreal devicePixelRatio) {
    const qreal dpr = std::clamp(devicePixelRatio, 1.0, 4.0);
    QImage image(QSize(qRound(kWidth * dpr), qRound(kHeight * dpr)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF area(0, 0, kWidth, kHeight);

    QLinearGradient sky(0, 0, kWidth, kHeight);
    sky.setColorAt(0, QColor(226, 242, 196));
    sky.setColorAt(0.45, QColor(128, 190, 120));
    sky.setColorAt(1, QColor(38, 104, 70));
    p.fillRect(area, sky);
    DrawLight(p, area);

    const QColor deep(30, 86, 52, 150), fresh(96, 160, 84, 140);
    DrawLeaf(p, QPointF(kWidth + 4, -6), 70, 150, deep);
    DrawLeaf(p, QPointF(kWidth - 30, -10), 54, 115, fresh);
    DrawLeaf(p, QPointF(kWidth + 6, 40), 58, 175, fresh);
    DrawLeaf(p, QPointF(-6, kHeight + 4), 64, -30, deep);
    DrawLeaf(p, QPointF(30, kHeight + 8), 46, -70, fresh);

    DrawCalendar(p, QRectF(34, 62, 92, 84));

    QFont title(QStringLiteral("IPAPGothic"));
    title.setPixelSize(32);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(title);
    const QRectF titleBox(148, 70, kWidth - 160, 48);
    p.setPen(QColor(0, 40, 20, 110));
    p.drawText(titleBox.translated(1.5, 2), Qt::AlignLeft | Qt::AlignVCenter, kTitle);
    p.setPen(Qt::white);
    p.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter, kTitle);

    p.setPen(QPen(QColor(255, 255, 255, 170), 1.2));
    p.drawLine(QPointF(150, 124), QPointF(kWidth - 24, 124));

    QFont small(QStringLiteral("IPAPGothic"));
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(255, 255, 255, 225));
    p.drawText(QRectF(150, 130, kWidth - 174, 20), Qt::AlignRight | Qt::AlignVCenter, kVersion);

    p.setPen(QPen(QColor(30, 80, 50), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    return image;
}

void TSplashForm::paintEvent(QPaintEvent*) {
    if (!qFuzzyCompare(fPicture.devicePixelRatio(), devicePixelRatioF())) fPicture = RenderPicture(devicePixelRatioF());
    QPainter p(this);
    p.drawImage(QPoint(0, 0), fPicture);
}

void TSplashForm::mousePressEvent(QMouseEvent*) {
    close();
}
