#include "objects/PriBrush.h"

QBrush TPriBrush::ToQBrush() const {
    Qt::BrushStyle qs = Qt::SolidPattern;
    switch (Style) {
    case bsClear: qs = Qt::NoBrush; break;
    case bsHorizontal: qs = Qt::HorPattern; break;
    case bsVertical: qs = Qt::VerPattern; break;
    case bsFDiagonal: qs = Qt::FDiagPattern; break;
    case bsBDiagonal: qs = Qt::BDiagPattern; break;
    case bsCross: qs = Qt::CrossPattern; break;
    case bsDiagCross: qs = Qt::DiagCrossPattern; break;
    default: break;
    }
    return QBrush(ColorToQColor(Color), qs);
}
