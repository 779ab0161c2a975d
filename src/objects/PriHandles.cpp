#include "objects/PriHandles.h"

#include <QPainter>

void TPriHandles::Draw(QPainter& canvas, const std::array<TRect, 8>& handles, bool locked) {
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    for (const TRect& h : handles) {
        if (h.IsEmpty()) continue;
        if (locked) {
            canvas.setPen(QPen(Qt::black, 1));
            canvas.setBrush(Qt::white);
            canvas.drawRect(QRect(h.Left, h.Top, h.Width() - 1, h.Height() - 1));
        } else {
            canvas.fillRect(h.ToQRect(), Qt::black);
        }
    }
    canvas.restore();
}
