#include "platform/Color.h"

namespace {

// Fixed stand-ins for the classic system colours (index = the low byte of the stored value).
QRgb SystemColor(int index) {
    switch (index) {
    case 0: return qRgb(200, 200, 200);  // scroll bar
    case 1: return qRgb(0, 0, 0);        // desktop
    case 2: return qRgb(153, 180, 209);  // active caption
    case 5: return qRgb(255, 255, 255);  // window
    case 6: return qRgb(100, 100, 100);  // window frame
    case 8: return qRgb(0, 0, 0);        // window text
    case 12: return qRgb(171, 171, 171); // app workspace
    case 13: return qRgb(0, 120, 215);   // highlight
    case 14: return qRgb(255, 255, 255); // highlight text
    case 15: return qRgb(240, 240, 240); // button face
    case 16: return qRgb(160, 160, 160); // button shadow
    case 17: return qRgb(109, 109, 109); // gray text
    case 18: return qRgb(0, 0, 0);       // button text
    case 20: return qRgb(255, 255, 255); // button highlight
    default: return qRgb(240, 240, 240);
    }
}

} // namespace

QColor ColorToQColor(TColor color) {
    if (color < 0) return QColor(SystemColor(color & 0xFF));
    const uint32_t v = static_cast<uint32_t>(color);
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}
