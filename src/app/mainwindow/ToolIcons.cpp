#include "app/mainwindow/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x33, 0x3c, 0x4a);
const QColor kPaper(0xfd, 0xfd, 0xfa);
const QColor kAccent(0x2f, 0x7d, 0x5b);
const QColor kWarm(0xd9, 0x6c, 0x2c);

void Sheet(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void Printer(QPainter& p) {
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 3.5, 10, 7));
    p.setBrush(QColor(0xc8, 0xcf, 0xd8));
    p.drawRoundedRect(QRectF(3.5, 9.5, 17, 8), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(7, 15.5, 10, 5));
}

// One picture on a 24 × 24 grid.
void Draw(QPainter& p, TToolIcon kind) {
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(kInk, 1.3);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (kind) {
    case tiNone: break;
    case tiNew:
        Sheet(p, QRectF(5.5, 3.5, 13, 17));
        p.setPen(QPen(kAccent, 2));
        p.drawLine(QPointF(16, 14), QPointF(16, 21));
        p.drawLine(QPointF(12.5, 17.5), QPointF(19.5, 17.5));
        break;
    case tiOpen:
        p.setBrush(QColor(0xf2, 0xc9, 0x6b));
        p.drawRect(QRectF(3.5, 6.5, 17, 13));
        p.setBrush(QColor(0xf7, 0xdc, 0x94));
        p.drawPolygon(QPolygonF({QPointF(3.5, 19.5), QPointF(7, 11), QPointF(22, 11), QPointF(20.5, 19.5)}));
        break;
    case tiSave:
        p.setBrush(QColor(0x4d, 0x79, 0xb5));
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.drawRect(QRectF(6.5, 13.5, 11, 7));
        break;
    case tiScan:
        p.setBrush(QColor(0xc8, 0xcf, 0xd8));
        p.drawRoundedRect(QRectF(3.5, 10.5, 17, 8), 2, 2);
        p.setPen(QPen(kAccent, 1.6));
        p.drawLine(QPointF(5, 14.5), QPointF(19, 14.5));
        p.setPen(pen);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 4.5, 9, 6));
        break;
    case tiPreview:
        Sheet(p, QRectF(4.5, 3.5, 12, 16));
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QPointF(13.5, 13.5), 4.5, 4.5);
        p.setPen(QPen(kInk, 2.2));
        p.drawLine(QPointF(16.8, 16.8), QPointF(20.5, 20.5));
        break;
    case tiPrint: Printer(p); break;
    case tiCopy:
        Sheet(p, QRectF(4.5, 3.5, 10, 13));
        Sheet(p, QRectF(9.5, 7.5, 10, 13));
        break;
    case tiCut:
        p.drawEllipse(QPointF(7.5, 17.5), 3, 3);
        p.drawEllipse(QPointF(16.5, 17.5), 3, 3);
        p.drawLine(QPointF(9.5, 15.3), QPointF(17, 4));
        p.drawLine(QPointF(14.5, 15.3), QPointF(7, 4));
        break;
    case tiPaste:
        p.setBrush(QColor(0xc9, 0x9a, 0x5b));
        p.drawRoundedRect(QRectF(4.5, 5.5, 13, 15), 1.5, 1.5);
        p.setBrush(QColor(0xc8, 0xcf, 0xd8));
        p.drawRect(QRectF(8, 3.5, 6, 4));
        Sheet(p, QRectF(10.5, 10.5, 9, 10));
        break;
    case tiDelete:
        p.setPen(QPen(QColor(0xc0, 0x39, 0x2b), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case tiUndo:
    case tiRedo: {
        // Redo is the undo arrow turned to the right.
        if (kind == tiRedo) p.setTransform(QTransform(-1, 0, 0, 1, 24, 0), true);
        QPainterPath path;
        path.moveTo(7, 10);
        path.cubicTo(11, 5, 20, 6, 19, 14);
        path.cubicTo(18.5, 18, 15, 19.5, 11, 19.5);
        p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(path);
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF({QPointF(4, 6), QPointF(11, 9.5), QPointF(5, 13.5)}));
        break;
    }
    case tiArrow:
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(7, 3.5), QPointF(7, 18), QPointF(10.5, 14.5), QPointF(13, 20.5),
                                 QPointF(15.5, 19.5), QPointF(13, 13.5), QPointF(18, 13.5)}));
        break;
    case tiText: {
        QFont f(QStringLiteral("ＭＳ Ｐ明朝"));
        f.setPixelSize(17);
        p.setFont(f);
        p.drawText(QRectF(2, 1, 20, 22), Qt::AlignCenter, QStringLiteral("あ"));
        break;
    }
    case tiImage:
        p.setBrush(QColor(0xd6, 0xea, 0xf8));
        p.drawRect(QRectF(3.5, 5.5, 17, 13));
        p.setBrush(kAccent);
        p.drawPolygon(QPolygonF({QPointF(4, 18), QPointF(10, 11), QPointF(14, 15), QPointF(16, 13), QPointF(20, 18)}));
        p.setBrush(kWarm);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(16, 9), 1.8, 1.8);
        break;
    case tiField:
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 7.5, 17, 9));
        p.setFont(QFont(QStringLiteral("DejaVu Sans"), 7, QFont::Bold));
        p.drawText(QRectF(3.5, 7.5, 17, 9), Qt::AlignCenter, QStringLiteral("{ }"));
        break;
    case tiRect:
        p.setBrush(QColor(0xd6, 0xea, 0xf8));
        p.drawRect(QRectF(4.5, 6.5, 15, 11));
        break;
    case tiRoundRect:
        p.setBrush(QColor(0xd6, 0xea, 0xf8));
        p.drawRoundedRect(QRectF(4.5, 6.5, 15, 11), 4, 4);
        break;
    case tiEllipse:
        p.setBrush(QColor(0xd6, 0xea, 0xf8));
        p.drawEllipse(QRectF(3.5, 6.5, 17, 11));
        break;
    case tiLine:
        p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 19), QPointF(19, 5));
        break;
    case tiPortal:
        p.drawRect(QRectF(4.5, 4.5, 15, 15));
        for (int y : {9, 14})
            p.drawLine(QPointF(4.5, y + 0.5), QPointF(19.5, y + 0.5));
        break;
    case tiCalendar:
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 5.5, 17, 15));
        p.setBrush(QColor(0xc0, 0x39, 0x2b));
        p.drawRect(QRectF(3.5, 5.5, 17, 4));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 4; ++c)
                p.drawRect(QRectF(5.5 + c * 3.7, 11.5 + r * 2.8, 2, 1.6));
        break;
    case tiSideBar:
        p.setBrush(kPaper);
        p.drawRect(QRectF(3.5, 4.5, 17, 15));
        p.setBrush(QColor(0xc8, 0xcf, 0xd8));
        p.drawRect(QRectF(3.5, 4.5, 6, 15));
        break;
    }
}

} // namespace

QIcon ToolIcon(TToolIcon kind) {
    QIcon icon;
    if (kind == tiNone) return icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(24 * scale, 24 * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter p(&pixmap);
            p.scale(scale, scale);
            Draw(p, kind);
        }
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap);
    }
    return icon;
}
