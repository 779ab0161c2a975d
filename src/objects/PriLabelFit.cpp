// Shrinking a text to its box.
#include "objects/PriLabel.h"

#include "platform/Rounding.h"

#include <algorithm>

TRect TPriLabel::LayoutRect(int s) const {
    const QRect& st = FStoreRect;
    return TRect::FromBounds(Nearest(st.x() / 254.0 * s), Nearest(st.y() / 254.0 * s), Nearest(st.width() / 254.0 * s),
                             Nearest(st.height() / 254.0 * s));
}

bool TPriLabel::LinesFit(TTextCanvas& canvas, const QStringList& lines, int size, int along, int across) {
    const long long n = lines.size();
    if (n == 0) return true;
    const long long h = canvas.TextHeight();
    if (n * h + (n - 1) * LineGap(canvas) > across) return false;
    for (const QString& line : lines)
        if (LineLength(canvas, SplitSmall(line.toStdU32String()), size) > along) return false;
    return true;
}

int TPriLabel::LargestFittingSize(int top, const std::function<bool(int)>& fits) {
    top = std::max(1, top);
    if (fits(top)) return top;
    int best = 1, lo = 1, hi = top - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        if (fits(mid)) {
            best = mid;
            lo = mid + 1;
        } else {
            hi = mid - 1;
        }
    }
    return best;
}

int TPriLabel::ShrunkSize(TTextCanvas& canvas, int limit) {
    const TRect r = LayoutRect(LayoutDpi());
    const int along = std::min(limit, Vertical() ? r.Height() : r.Width());
    const int across = Vertical() ? r.Width() : r.Height();
    const int top = std::max(1, SameFSize);
    QStringList lines;
    const auto fits = [&](int size) {
        SetDrawFont(canvas, size, false, bmLayout);
        BreakLines(fDataString, limit, lines, canvas);
        return LinesFit(canvas, lines, size, along, across);
    };
    // The common case, a text that fits as set, costs one breaking; otherwise a binary search for
    // the largest size that fits, as the lines break anew at every size.
    const int best = LargestFittingSize(top, fits);
    SetDrawFont(canvas, best, false, bmLayout);
    BreakLines(fDataString, limit, FBltStrings, canvas);
    return best;
}

void TPriLabel::FollowLayoutSize(int before) {
    if (LayoutSize() != before && FLastPaperPixels.isValid() && !FLastPaperPixels.isEmpty())
        FitFontSize(PageSize(), FLastPaperPixels);
}
