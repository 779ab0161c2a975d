#include "ShapeSample.h"

#include "objects/PriBrush.h"
#include "objects/PriPen.h"

#include <QPainter>

TShapeSample::TShapeSample(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 100);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TShapeSample::SetLook(const TLook& look) {
    fLook = look;
    update();
}

void TShapeSample::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(palette().color(QPalette::Mid)));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setRenderHint(QPainter::Antialiasing);

    // With the pen hidden the fill is framed by nothing, as the object will draw it.
    const QPen pen = fLook.ShowPen ? TPriPen::MakeGeometric(fLook.PenColor, fLook.PenWidth, uint8_t(fLook.PenStyle))
                                   : QPen(Qt::NoPen);
    TPriBrush brush;
    brush.Color = fLook.BrushColor;
    brush.Style = uint8_t(fLook.BrushStyle);
    const QBrush fill = fLook.ShowBrush ? brush.ToQBrush() : QBrush(Qt::NoBrush);

    const int margin = 14 + fLook.PenWidth / 2;
    const QRect box = rect().adjusted(margin, margin, -margin, -margin);
    p.setPen(pen);
    p.setBrush(fill);
    if (!fLook.ShowBrush) {
        // Pens alone serve lines too: a rectangle outline and a line across it.
        p.drawRect(box);
        p.drawLine(box.bottomLeft() + QPoint(box.width() / 6, -box.height() / 4),
                   box.topRight() + QPoint(-box.width() / 6, box.height() / 4));
    } else if (fLook.RoundNum >= 0) {
        // The corner is the width and height of the rounding ellipse, in pixels at 100 %.
        p.drawRoundedRect(box, fLook.RoundNum / 2.0, fLook.RoundNum / 2.0);
    } else {
        p.drawRect(box);
    }
}
