#pragma once

#include "platform/Rect.h"

#include <QRect>
#include <QSize>
#include <QStringList>
#include <functional>

class QPainter;
class TPriLabel;

// Characters a text box has no room for. Printing leaves them out without a word; the screen marks
// the box, and a size chosen in the tool bar's size box grows the box so the larger text fits.
class TTextOverflow {
public:
    // Whether the layout at 100 % found no place for a character of the text: what print leaves out.
    static bool LostCharacters(const TPriLabel& label);
    // The mark at the lower right inside the bounds, clear of the corner handle. Screen only.
    static void DrawMark(QPainter& canvas, const TRect& bounds);
    // The stored rectangle (0.1 mm) that holds these lines at the label's stored size: the current one,
    // grown away from the sides its alignment holds, and kept on a page of pageSize (0.1 mm) when
    // it was on it.
    static QRect GrownStoreRect(TPriLabel& label, const QStringList& lines, QSize pageSize);
    // Grows the label's box until no character is lost, laying it out with relayout after each step;
    // false when nothing was lost or the box could not grow.
    static bool GrowToFit(TPriLabel& label, const QStringList& lines, QSize pageSize,
                          const std::function<void()>& relayout);

private:
    // One more line and one more full-width character of room, for what the measure missed.
    static QRect StepLarger(TPriLabel& label, const QRect& rect, QSize pageSize);
};
