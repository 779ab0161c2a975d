#include "objects/PriPen.h"

#include <algorithm>

namespace {

// A corrupt record must not make the painter stroke a pen as wide as the universe.
constexpr int kMaxPenWidth = 4096;

} // namespace

QPen TPriPen::MakeGeometric(TColor color, int width, uint8_t style) {
    Qt::PenStyle qs = Qt::SolidLine;
    switch (style) {
    case psDash: qs = Qt::DashLine; break;
    case psDot: qs = Qt::DotLine; break;
    case psDashDot: qs = Qt::DashDotLine; break;
    case psDashDotDot: qs = Qt::DashDotDotLine; break;
    case psClear: qs = Qt::NoPen; break;
    default: break;
    }
    QPen pen(QBrush(ColorToQColor(color)), std::clamp(width, 0, kMaxPenWidth), qs, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}
