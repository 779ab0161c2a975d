#include "objects/TextOverflow.h"

#include "objects/PriLabel.h"
#include "objects/TextCanvas.h"
#include "platform/Rounding.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMarkSize = 9;
// Steps after the measured size, for what kinsoku or rounding moved.
constexpr int kMaxSteps = 8;

// Which side of an axis stays put while the box grows.
enum class THold { Start, Middle, End };

THold HoldAcross(const TPriLabel& l) {
    if (!l.Vertical()) {
        return l.LongPos == tlCenter ? THold::Middle : l.LongPos == tlBottom ? THold::End : THold::Start;
    }
    // Columns run from the right edge leftwards unless they are set against the left edge.
    return l.SidePos == psLeft ? THold::Start : l.SidePos == psCenter ? THold::Middle : THold::End;
}

THold HoldAlong(const TPriLabel& l) {
    if (l.Vertical()) return l.LongPos == tlCenter ? THold::Middle : l.LongPos == tlBottom ? THold::End : THold::Start;
    return l.SidePos == psCenter ? THold::Middle : l.SidePos == psRight ? THold::End : THold::Start;
}

// A span grown to size, holding the given side; on the page when it was on it before.
void GrowSpan(int& start, int& size, int grown, THold hold, int page) {
    if (grown <= size) return;
    const int oldStart = start, oldSize = size;
    const int more = grown - size;
    start -= hold == THold::Start ? 0 : hold == THold::Middle ? more / 2 : more;
    size = grown;
    if (page <= 0) return;
    const int lo = std::min(0, oldStart), hi = std::max(page, oldStart + oldSize);
    size = std::min(size, hi - lo);
    start = std::clamp(start, lo, hi - size);
}

// Pixels at the layout resolution as stored 0.1 mm, with a little to spare for rounding.
int StoredFor(long long pixels, int dpi) {
    return ClampToInt((long long)std::ceil(double(pixels) * 254.0 / dpi) + 1);
}

int LayoutDpi() {
    return TPriBase::iScreenInch() > 0 ? TPriBase::iScreenInch() : 96;
}

QRect Grown(const TPriLabel& label, const QRect& rect, long long along, long long across, QSize page) {
    const int dpi = LayoutDpi();
    const bool vertical = label.Vertical();
    int x = rect.x(), y = rect.y(), w = rect.width(), h = rect.height();
    GrowSpan(x, w, StoredFor(vertical ? across : along, dpi), vertical ? HoldAcross(label) : HoldAlong(label),
             page.width());
    GrowSpan(y, h, StoredFor(vertical ? along : across, dpi), vertical ? HoldAlong(label) : HoldAcross(label),
             page.height());
    return QRect(x, y, w, h);
}

} // namespace

bool TTextOverflow::LostCharacters(const TPriLabel& label) {
    if (label.LayoutPending()) return false;
    const auto& glyphs = label.Glyphs();
    return std::any_of(glyphs.begin(), glyphs.end(), [](const TGlyphRec& g) { return g.Text == 0; });
}

void TTextOverflow::DrawMark(QPainter& canvas, const TRect& b) {
    // Left of the lower right handle, which reaches three pixels into the box.
    const int x = std::max(b.Left, b.Right - kMarkSize - 5);
    const int y = std::max(b.Top, b.Bottom - kMarkSize - 1);
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(QPen(Qt::red, 1));
    canvas.setBrush(Qt::white);
    canvas.drawRect(x, y, kMarkSize - 1, kMarkSize - 1);
    const int c = kMarkSize / 2;
    canvas.drawLine(x + 2, y + c, x + kMarkSize - 3, y + c);
    canvas.drawLine(x + c, y + 2, x + c, y + kMarkSize - 3);
    canvas.restore();
}

QRect TTextOverflow::GrownStoreRect(TPriLabel& label, const QStringList& lines, QSize page) {
    TTextCanvas canvas(nullptr, LayoutDpi());
    const int size = std::max(1, label.SameFSize);
    label.SetDrawFont(canvas, size, false, bmLayout);
    const long long h = canvas.TextHeight();
    const long long gap = label.LongSpace == lsSmallWide ? Trunc(h * 0.4)
                          : label.LongSpace == lsWide    ? Trunc(h * 0.8)
                                                         : 0;
    long long along = h;
    for (const QString& line : lines) {
        long long length = 0;
        for (const TTextSegment& s : label.SplitSmall(line.toStdU32String())) {
            canvas.SetPointSize(s.Small ? std::max(1, Trunc(size * 0.6)) : size);
            length += canvas.TextWidth(s.Text);
        }
        canvas.SetPointSize(size);
        along = std::max(along, length);
    }
    const long long n = std::max<qsizetype>(1, lines.size());
    return Grown(label, label.StoreRect(), along, n * h + (n - 1) * gap, page);
}

QRect TTextOverflow::StepLarger(TPriLabel& label, const QRect& rect, QSize page) {
    TTextCanvas canvas(nullptr, LayoutDpi());
    label.SetDrawFont(canvas, std::max(1, label.SameFSize), false, bmLayout);
    const int dpi = LayoutDpi();
    const auto pixels = [dpi](int stored) { return (long long)std::floor(stored / 254.0 * dpi); };
    const bool vertical = label.Vertical();
    const long long along = pixels(vertical ? rect.height() : rect.width()) + canvas.CharWidth(U'\u3042');
    const long long across = pixels(vertical ? rect.width() : rect.height()) + canvas.TextHeight();
    return Grown(label, rect, along, across, page);
}

bool TTextOverflow::GrowToFit(TPriLabel& label, const QStringList& lines, QSize page,
                              const std::function<void()>& relayout) {
    if (!LostCharacters(label)) return false;
    const QRect before = label.StoreRect();
    QRect next = GrownStoreRect(label, lines, page);
    for (int step = 0; step <= kMaxSteps && next != label.StoreRect(); ++step) {
        label.SetStoreRect(next);
        relayout();
        if (!LostCharacters(label)) break;
        next = StepLarger(label, next, page);
    }
    return label.StoreRect() != before;
}
