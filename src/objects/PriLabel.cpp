#include "objects/PriLabel.h"

#include "objects/AddressNumerals.h"
#include "objects/PriHandles.h"

#include "platform/Cp932.h"
#include "platform/Rounding.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>

namespace {

// Characters that may not begin a line.
constexpr std::u32string_view kLineStart =
    U"!%):.;?]}\uFF61\uFF63\uFF64\uFF65\uFF70\uFF9E\uFF9F\u3001\u3002\uFF0C\uFF0E\u30FB\uFF1A\uFF1B\uFF1F\uFF01"
    U"\u309B\u309C\u30FD\u30FE\u309D\u309E\u3005\u30FC\u2019\u201D\uFF09\u3015\uFF3D\uFF5D\u3009\u300B\u300D"
    U"\u300F\u3011\u00B0\u2032\u2033\u3041\u3043\u3045\u3047\u3049\u3063\u3083\u3085\u3087\u308E\u30A1\u30A3"
    U"\u30A5\u30A7\u30A9\u30C3\u30E3\u30E5\u30E7\u30EE\u30F5\u30F6";
// Characters that may not end a line.
constexpr std::u32string_view kLineEnd = U"([{\uFF62\u2018\u201C\uFF08\u3014\uFF3B\uFF5B\u3008\u300A\u300C\u300E\u3010";
constexpr std::u32string_view kKanjiDigits = U"\u3007\u4E00\u4E8C\u4E09\u56DB\u4E94\u516D\u4E03\u516B\u4E5D";

constexpr char32_t kA = U'\u3042'; // あ, the measure of one full-width character

bool Inside(const TRect& r, long long left, long long top, long long right, long long bottom) {
    return left >= r.Left && top >= r.Top && right <= r.Right && bottom <= r.Bottom;
}

int SmallSize(int size) {
    return Trunc(size * 0.6);
}

} // namespace

TPriLabel::TPriLabel() {
    TransParent = true;
    ObjectNum = okLabel;
    FGlyphs.resize(1);
}

TPriLabel::~TPriLabel() = default;

bool TPriLabel::IsLineStartChar(char32_t c) {
    return kLineStart.find(c) != std::u32string_view::npos;
}

bool TPriLabel::IsLineEndChar(char32_t c) {
    return kLineEnd.find(c) != std::u32string_view::npos;
}

char32_t TPriLabel::KanjiDigit(char32_t c) {
    if (c >= U'0' && c <= U'9') return kKanjiDigits[c - U'0'];
    if (c >= U'\uFF10' && c <= U'\uFF19') return kKanjiDigits[c - U'\uFF10'];
    return c;
}

std::u32string TPriLabel::PreparedText(const QString& text) const {
    if (!Vertical() || !LongKanaCheck) return text.toStdU32String();
    return TAddressNumerals::Convert(text.toStdU32String(), Extras.HyphenRule);
}

void TPriLabel::SetFontAngle(TFontAngle value) {
    fFontAngle = value;
    BltAngle = value == faLong ? 2700 : 0;
}

void TPriLabel::SetDataString(const QString& value) {
    fDataString = value;
    MakeLines();
}

int TPriLabel::LayoutDpi() const {
    return iScreenInch() > 0 ? iScreenInch() : 96;
}

TTextCanvas& TPriLabel::LayoutCanvas() {
    if (!fLayoutCanvas || fLayoutCanvas->Dpi() != LayoutDpi())
        fLayoutCanvas = std::make_unique<TTextCanvas>(nullptr, LayoutDpi());
    return *fLayoutCanvas;
}

// ---- drawing state

void TPriLabel::FillBack(QPainter& canvas, const TRect& rect, TBltMode) {
    if (!TransParent) canvas.fillRect(rect.ToQRect(), ColorToQColor(Color));
}

void TPriLabel::SetDrawFont(TTextCanvas& canvas, int size, bool upright, TBltMode mode) {
    canvas.SetFont(Font, size, Vertical(), upright && Vertical());
    canvas.SetColor(ColorToQColor(FontColor));
    if (SidePos != psKintou && LongPos != tlKintou) {
        const bool device = mode == bmPreview || mode == bmPrint || mode == bmImageOut || mode == bmAngle;
        canvas.SetCharExtra(device ? FDeviceExtra : FScreenExtra);
    } else {
        // Spread text takes no character extra; a value left by another object must not leak in.
        canvas.SetCharExtra(0);
    }
}

void TPriLabel::SetCharExtra(int screenInch) {
    // A damaged record's spacing must not overflow the widths summed over a whole text.
    FScreenExtra = std::clamp(Trunc(double(screenInch) * CharSpace / 25.4), -kMaxCharExtra, kMaxCharExtra);
}

void TPriLabel::FitFontSize(QSize v, QSize p) {
    const int base = std::max(1, LayoutSize());
    if (v == p || p.width() <= 0 || p.height() <= 0) {
        Font.setPointSize(base);
        return;
    }
    TTextCanvas m(nullptr, LayoutDpi());
    m.SetFont(Font, base, false, false);
    const auto width = [&m](int size) {
        m.SetPointSize(size);
        return m.TextWidth(std::u32string_view(U"\u3042\u3044\u3046\u3048\u304A"));
    };
    const int target = Trunc(width(base) * double(v.width()) / p.width());
    // Kept below INT_MAX so that its upper neighbour exists.
    const int e = std::clamp(TruncUnlessAbove07(double(v.height()) / p.height() * base), 1, INT_MAX - 1);
    const auto distance = [&](int size) { return size < 1 ? INT_MAX : std::abs(width(size) - target); };
    const int below = distance(e - 1), here = distance(e), above = distance(e + 1);
    int chosen = e;
    if (below < here && below < above)
        chosen = e - 1;
    else if (above < here && above < below)
        chosen = e + 1;
    Font.setPointSize(chosen);
}

// ---- line breaking

void TPriLabel::MakeLines() {
    const int before = LayoutSize();
    FBltStrings.clear();
    FHardBreaks.clear();
    fFitSize = 0;
    const int along = Vertical() ? FStoreRect.height() : FStoreRect.width();
    const int limit = Trunc(double(LayoutDpi()) * along / 254);
    if (!BackImage) return;
    TTextCanvas& canvas = LayoutCanvas();
    if (Extras.ShrinkToFit) {
        fFitSize = ShrunkSize(canvas, limit);
    } else {
        SetDrawFont(canvas, SameFSize, false, bmLayout);
        BreakLines(fDataString, limit, FBltStrings, canvas);
    }
    FollowLayoutSize(before);
}

void TPriLabel::BreakLines(const QString& text, int a, QStringList& lines, TTextCanvas& canvas) {
    const std::u32string s = PreparedText(text);
    const size_t n = s.size();
    const auto crlf = [&](size_t i) { return i + 1 < n && s[i] == U'\r' && s[i + 1] == U'\n'; };
    std::vector<std::u32string> out;
    std::vector<bool> hard;
    size_t i = 0;
    while (i < n) {
        std::u32string line;
        int width = 0;
        bool wider = false;
        // A line takes characters while the next one still fits; a character that is wider than the box
        // alone still makes a line of its own, so every pass consumes something.
        while (i < n && !crlf(i) && (line.empty() || width < a)) {
            const char32_t c = s[i];
            line += c;
            width += canvas.CharWidth(c);
            const int test = width + (i + 1 < n ? canvas.CharWidth(s[i + 1]) : 0);
            if (test > a) {
                wider = true;
                break;
            }
            ++i;
        }
        const bool atBreak = i < n && crlf(i);
        out.push_back(std::move(line));
        hard.push_back(atBreak && !wider);
        // After a CR LF skip the pair; after a character that did not fit start at the next one.
        if (wider)
            i += 1;
        else if (atBreak)
            i += 2;
    }

    if (KinsokuCheck) {
        const size_t counted = out.size();
        for (size_t j = 0; j < counted; ++j) {
            if (j > 0 && !hard[j - 1] && !out[j].empty()) PullLineStart(out, j);
            if (!hard[j] && !out[j].empty()) {
                PushLineEnd(out, j);
                hard.resize(out.size(), false);
                if (canvas.TextWidth(out[j]) > a) {
                    // Re-break: the longest prefix that leaves room for one more full-width character,
                    // plus the character at which that room runs out.
                    const int room = canvas.CharWidth(kA);
                    int w = 0;
                    size_t k = 0;
                    while (k < out[j].size()) {
                        w += canvas.CharWidth(out[j][k]);
                        ++k;
                        if (w + room > a) break;
                    }
                    if (k < out[j].size()) {
                        std::u32string rest = out[j].substr(k);
                        out[j].resize(k);
                        if (j + 1 == out.size()) {
                            out.emplace_back();
                            hard.push_back(false);
                        }
                        out[j + 1].insert(0, rest);
                    }
                }
            }
        }
    }

    lines.clear();
    FHardBreaks.clear();
    lines.reserve(qsizetype(out.size()));
    for (size_t k = 0; k < out.size(); ++k) {
        lines.append(QString::fromStdU32String(out[k]));
        FHardBreaks.append(k < hard.size() && hard[k]);
    }
}

void TPriLabel::PullLineStart(std::vector<std::u32string>& lines, size_t j) const {
    for (int depth = 2; depth > 0; --depth) {
        std::u32string& prev = lines[j - 1];
        std::u32string& line = lines[j];
        if (prev.empty() || line.empty() || !IsLineStartChar(line.front())) return;
        line.insert(line.begin(), prev.back());
        prev.pop_back();
    }
}

void TPriLabel::PushLineEnd(std::vector<std::u32string>& lines, size_t j) const {
    for (int depth = 2; depth > 0; --depth) {
        if (lines[j].empty() || !IsLineEndChar(lines[j].back())) return;
        const char32_t c = lines[j].back();
        lines[j].pop_back();
        if (j + 1 == lines.size()) lines.emplace_back();
        lines[j + 1].insert(lines[j + 1].begin(), c);
    }
}

std::vector<TTextSegment> TPriLabel::SplitSmall(const std::u32string& line) const {
    std::vector<TTextSegment> segments;
    if (!SmallCheck) {
        segments.push_back({line, false});
        return segments;
    }
    std::u32string current;
    bool group = false;
    for (char32_t c : line) {
        if (c == U'(' && !group) {
            segments.push_back({std::move(current), false});
            current.assign(1, U'(');
            group = true;
        } else if (c == U')' && group) {
            current += c;
            segments.push_back({std::move(current), true});
            current.clear();
            group = false;
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        const bool small = current.front() == U'(';
        segments.push_back({std::move(current), small});
    }
    return segments;
}

// ---- placement

int TPriLabel::LineGap(TTextCanvas& canvas) const {
    const int h = canvas.TextHeight();
    switch (LongSpace) {
    case lsSmallWide: return Trunc(h * 0.4);
    case lsWide: return Trunc(h * 0.8);
    default: return 0;
    }
}

// Many lines of a large font reach beyond int: the block and its start are measured in 64 bits.
long long TPriLabel::LineStartY(TTextCanvas&, const TRect& r, int n, int gap, int firstHeight, int& extra,
                                int& remainder) {
    extra = remainder = 0;
    const long long h = (long long)firstHeight * n + (long long)gap * (n - 1);
    const long long slack = (long long)r.Bottom - r.Top - h;
    switch (LongPos) {
    case tlTop: return r.Top;
    case tlBottom: return r.Bottom - h;
    case tlCenter: return slack >= 0 ? ClampToInt(((long long)r.Top + r.Bottom - h) / 2) : r.Top;
    default:
        if (slack < 0) return r.Top;
        if (n == 1) return ((long long)r.Top + r.Bottom) / 2 - h / 2;
        extra = int(slack / (n - 1));
        remainder = int(slack % (n - 1));
        return r.Top;
    }
}

long long TPriLabel::ColumnStartX(TTextCanvas& canvas, const TRect& r, int n, int gap, int& extra, int& remainder) {
    extra = remainder = 0;
    const long long h = (long long)canvas.TextHeight() * n + (long long)gap * (n - 1);
    const long long slack = (long long)r.Right - r.Left - h;
    switch (SidePos) {
    case psLeft: return r.Left + h;
    case psRight: return r.Right;
    case psCenter: return slack >= 0 ? ClampToInt(((long long)r.Left + r.Right) / 2 + h / 2) : r.Right;
    default:
        if (slack < 0) return r.Right;
        if (n == 1) return ((long long)r.Left + r.Right) / 2 + h / 2;
        extra = int(slack / (n - 1));
        remainder = int(slack % (n - 1));
        return r.Right;
    }
}

int TPriLabel::LineLength(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int size) {
    long long length = 0;
    for (const TTextSegment& s : segments) {
        if (s.Small) {
            canvas.SetPointSize(SmallSize(size));
            length += canvas.TextWidth(s.Text);
            canvas.SetPointSize(size);
        } else {
            length += canvas.TextWidth(s.Text);
        }
    }
    return ClampToInt(length);
}

int TPriLabel::SideStart(const std::vector<TTextSegment>& segments, int count, TBltMode, TTextCanvas& canvas,
                         const TRect& r, int& remainder, int& extra) {
    remainder = extra = 0;
    const long long length = LineLength(canvas, segments, fLayoutSize);
    const bool vertical = Vertical();
    const long long s = vertical ? r.Top : r.Left;
    const long long e = vertical ? r.Bottom : r.Right;
    // The vertical alignments map onto the horizontal ones position by position.
    const TSidePos pos = vertical ? TSidePos(LongPos == tlTop      ? psLeft
                                             : LongPos == tlCenter ? psCenter
                                             : LongPos == tlBottom ? psRight
                                             : LongPos == tlKintou ? psKintou
                                                                   : psRyoutan)
                                  : SidePos;
    switch (pos) {
    case psLeft: return int(s);
    case psRight: return ClampToInt(e - length);
    case psCenter: return ClampToInt((s + e) / 2 - length / 2);
    case psRyoutan:
        if (e - s >= length + Trunc(1.5 * canvas.CharWidth(kA))) return int(s);
        [[fallthrough]];
    case psKintou:
    default:
        if (count <= 1) return ClampToInt((s + e) / 2 - length / 2);
        extra = ClampToInt((e - s - length) / (count - 1));
        remainder = int((e - s - length) % (count - 1));
        return int(s);
    }
}

void TPriLabel::SetGlyph(int& index, char32_t c, int x, int y, bool small) {
    if (index < 0 || size_t(index) >= FGlyphs.size()) return;
    FGlyphs[size_t(index)] = TGlyphRec{c, x, y, small, 0, 0};
    ++index;
}

void TPriLabel::PlaceLine(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int& index, TBltMode,
                          int startY, int startX) {
    const int size = fLayoutSize;
    // A long line of large glyphs runs beyond int before its end is cut off by the box.
    long long x = startX, y = startY;
    for (const TTextSegment& seg : segments) {
        int d = 0;
        if (seg.Small) {
            const int full = canvas.TextHeight();
            canvas.SetPointSize(SmallSize(size));
            d = full - canvas.TextHeight();
        }
        for (char32_t c : seg.Text) {
            if (!Vertical()) {
                SetGlyph(index, c, ClampToInt(x), ClampToInt(y + d), seg.Small);
                x += canvas.CharWidth(c);
                continue;
            }
            if (seg.Small) {
                SetGlyph(index, c, ClampToInt(x - d / 2), ClampToInt(y), true);
            } else if (c == kUprightChar) {
                const int w = canvas.CharWidth(c), h = canvas.TextHeight();
                SetGlyph(index, c, ClampToInt(x + ((long long)w + h) / 2), ClampToInt(y), false);
                y += h;
                continue;
            } else {
                SetGlyph(index, c, ClampToInt(x), ClampToInt(y), false);
            }
            y += canvas.CharWidth(c);
        }
        if (seg.Small) canvas.SetPointSize(size);
    }
}

void TPriLabel::PlaceLineSpread(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int& index, TBltMode,
                                int remainder, int extra, int, int, int startY, int startX) {
    const int size = fLayoutSize;
    long long x = startX, y = startY;
    for (const TTextSegment& seg : segments) {
        int d = 0;
        if (seg.Small) {
            const int full = canvas.TextHeight();
            canvas.SetPointSize(SmallSize(size));
            d = full - canvas.TextHeight();
        }
        for (char32_t c : seg.Text) {
            long long step = (long long)canvas.CharWidth(c) + extra;
            if (remainder > 0) {
                ++step;
                --remainder;
            }
            if (Vertical()) {
                SetGlyph(index, c, ClampToInt(x - d / 2), ClampToInt(y), seg.Small);
                y += step;
            } else {
                SetGlyph(index, c, ClampToInt(x), ClampToInt(y + d), seg.Small);
                x += step;
            }
        }
        if (seg.Small) canvas.SetPointSize(size);
    }
}

void TPriLabel::LayoutGlyphs(TTextCanvas& canvas, const TRect& r, TBltMode mode, int size, const QStringList& lines) {
    std::vector<std::u32string> text;
    text.reserve(size_t(lines.size()));
    size_t total = 0;
    for (const QString& l : lines) {
        text.push_back(l.toStdU32String());
        total += text.back().size();
    }
    FGlyphs.assign(total, TGlyphRec{});
    fLayoutSize = size;
    if (text.empty()) return;
    int index = 0;
    const int n = int(text.size());
    const int gap = LineGap(canvas);
    const int h = canvas.TextHeight();

    if (!Vertical()) {
        int lineExtra = 0, lineRemainder = 0;
        long long y = LineStartY(canvas, r, n, gap, h, lineExtra, lineRemainder);
        for (const std::u32string& line : text) {
            if (!line.empty()) {
                const std::vector<TTextSegment> segments = SplitSmall(line);
                int remainder = 0, extra = 0;
                const int x = SideStart(segments, int(line.size()), mode, canvas, r, remainder, extra);
                if (Inside(r, x, y, (long long)x + canvas.CharWidth(line.front()), y + h)) {
                    if (SidePos == psKintou || extra != 0 || remainder != 0)
                        PlaceLineSpread(canvas, segments, index, mode, remainder, extra, 0, 0, int(y), x);
                    else
                        PlaceLine(canvas, segments, index, mode, int(y), x);
                }
            }
            y += (long long)h + gap + lineExtra;
            if (lineRemainder > 0) {
                ++y;
                --lineRemainder;
            }
            if (y + h > r.Bottom) break;
        }
        return;
    }

    int columnExtra = 0, columnRemainder = 0;
    long long x = ColumnStartX(canvas, r, n, gap, columnExtra, columnRemainder);
    for (const std::u32string& line : text) {
        if (!line.empty()) {
            const std::vector<TTextSegment> segments = SplitSmall(line);
            int remainder = 0, extra = 0;
            const int y = SideStart(segments, int(line.size()), mode, canvas, r, remainder, extra);
            if (Inside(r, x - canvas.CharWidth(line.front()), y, x, (long long)y + h)) {
                if (LongPos == tlKintou || extra != 0 || remainder != 0)
                    PlaceLineSpread(canvas, segments, index, mode, remainder, extra, 0, 0, y, int(x));
                else
                    PlaceLine(canvas, segments, index, mode, y, int(x));
            }
        }
        x -= (long long)h + gap + columnExtra;
        if (columnRemainder > 0) {
            --x;
            --columnRemainder;
        }
        if (x - h < r.Left) break;
    }
}

void TPriLabel::UpdateGlyphs(QSize v, QSize p, bool relayout, int s) {
    TTextCanvas& canvas = LayoutCanvas();
    if (relayout) {
        SetDrawFont(canvas, LayoutSize(), false, bmLayout);
        LayoutGlyphs(canvas, LayoutRect(s), bmLayout, LayoutSize(), FBltStrings);
    }
    if (!FBltStrings.isEmpty()) {
        if (v == p || p.width() <= 0 || p.height() <= 0) {
            for (TGlyphRec& g : FGlyphs) {
                g.ViewX = g.X;
                g.ViewY = g.Y;
            }
        } else {
            const double zx = double(v.width()) / p.width();
            const double zy = double(v.height()) / p.height();
            std::vector<TGlyphRec> second;
            if (SidePos == psKintou || LongPos == tlKintou) {
                // Spread text is laid out again in the zoomed box so that it reaches both edges there too.
                std::vector<TGlyphRec> kept = std::move(FGlyphs);
                const int size = DisplayFontSize();
                SetDrawFont(canvas, size, false, bmLayout);
                LayoutGlyphs(canvas, BoundsRect(), bmLayout, size, FBltStrings);
                second = std::move(FGlyphs);
                FGlyphs = std::move(kept);
                SetDrawFont(canvas, LayoutSize(), false, bmLayout);
                fLayoutSize = LayoutSize();
            }
            for (size_t i = 0; i < FGlyphs.size(); ++i) {
                TGlyphRec& g = FGlyphs[i];
                // A character the zoomed layout could not place keeps its scaled position.
                const bool placed = i < second.size() && second[i].Text != 0;
                g.ViewX = (SidePos == psKintou && placed) ? second[i].X
                          : v.width() == p.width()        ? g.X
                                                          : Nearest(g.X * zx);
                g.ViewY = (LongPos == tlKintou && placed) ? second[i].Y
                          : v.height() == p.height()      ? g.Y
                                                          : Nearest(g.Y * zy);
            }
        }
    }
    FLayoutPending = false;
}

void TPriLabel::FitBoundsToText() {
    if (FBltStrings.isEmpty()) return;
    TTextCanvas& canvas = LayoutCanvas();
    SetDrawFont(canvas, SameFSize, false, bmLayout);
    const int across = ClampToInt((long long)canvas.TextHeight() * FBltStrings.size());
    int along = 0;
    for (const QString& line : FBltStrings) {
        if (canvas.TextWidth(line) > along) along = canvas.TextWidth(line + QStringLiteral("**"));
    }
    if (Vertical()) {
        Width = across;
        Height = along;
    } else {
        Width = along;
        Height = across;
    }
}

// ---- drawing

void TPriLabel::ClipRect(const TRect& a, const TRect& b, TRect& out) const {
    out = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

int TPriLabel::DeviceDpiFor(QPainter& canvas, TBltMode mode) const {
    if (mode == bmPreview || mode == bmPrint) {
        if (FDeviceDpi > 0) return FDeviceDpi;
        if (canvas.device()) return canvas.device()->logicalDpiY();
    }
    return LayoutDpi();
}

void TPriLabel::DrawGlyphs(QPainter& canvas, const TRect& t, bool useMargins, QPoint o, const TRect& m, TBltMode mode,
                           int size, const TRect& c) {
    if (FLayoutPending || FBltStrings.isEmpty()) {
        FillBack(canvas, t, mode);
        return;
    }
    TRect k;
    ClipRect(t, c, k);
    canvas.save();
    if (mode == bmPreview || mode == bmPrint) canvas.setClipRect(k.ToQRect(), Qt::IntersectClip);
    FillBack(canvas, t, mode);
    TTextCanvas tc(&canvas, DeviceDpiFor(canvas, mode));
    SetDrawFont(tc, size, false, mode);

    const QSize page = PageSize();
    const double wp = page.width() > 0 ? page.width() : 1, hp = page.height() > 0 ? page.height() : 1;
    const double f = c.Width() / wp, g = c.Height() / hp;
    const double wm = std::max(1.0, wp - m.Left - m.Right), hm = std::max(1.0, hp - m.Top - m.Bottom);
    const double fm = c.Width() / wm, gm = c.Height() / hm;

    for (const TGlyphRec& glyph : FGlyphs) {
        if (glyph.Text == 0) continue;
        const bool upright = Vertical() && glyph.Text == kUprightChar && !glyph.Small;
        const int want = glyph.Small ? SmallSize(size) : size;
        if (want != tc.PointSize() || upright != tc.Upright()) SetDrawFont(tc, want, upright, mode);
        int x, y;
        switch (mode) {
        case bmPreview:
        case bmPrint:
            if (useMargins) {
                x = Nearest((glyph.ViewX - m.Left) * fm);
                y = Nearest((glyph.ViewY - m.Top) * gm);
            } else {
                x = o.x() + Nearest(glyph.ViewX * f);
                y = o.y() + Nearest(glyph.ViewY * g);
            }
            break;
        case bmImageOut:
            x = Nearest(glyph.ViewX * f);
            y = Nearest(glyph.ViewY * g);
            break;
        default:
            x = glyph.ViewX;
            y = glyph.ViewY;
            break;
        }
        x = std::max(x, k.Left);
        y = std::max(y, k.Top);
        // The upright character was placed past the column's right edge by half its cell; draw it
        // turned and centred in the column itself.
        if (upright) x -= (tc.CharWidth(glyph.Text) - tc.CharExtra() + tc.TextHeight()) / 2;
        tc.CharOut(x, y, glyph.Text);
    }
    tc.Flush();
    canvas.restore();
}

void TPriLabel::DrawFocus(QPainter& canvas) {
    if (ForcusCheck()) TPriHandles::Draw(canvas, FHandles, LockCheck);
}

void TPriLabel::DrawObject(TBltMode mode, QPainter& canvas) {
    const TRect bounds = BoundsRect();
    DrawGlyphs(canvas, bounds, false, QPoint(0, 0), TRect{}, mode, DisplayFontSize(), bounds);
    DrawFocus(canvas);
}

void TPriLabel::PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin,
                          const TRect& pageMargins, const QRect& pageClip) {
    DrawGlyphs(canvas, TRect::FromQRect(target), useMargins, pageOrigin, pageMargins, bmPrint, LayoutSize(),
               TRect::FromQRect(pageClip));
}

void TPriLabel::DrawToImage(QPainter& canvas, const QRect& page, QSize sizes) {
    const int shown = DisplayFontSize();
    FitFontSize(sizes, FLastPaperPixels.isValid() ? FLastPaperPixels : PageSize());
    const QSize bitmap = PageSize();
    const double f = bitmap.width() > 0 ? double(page.width()) / bitmap.width() : 1;
    const double g = bitmap.height() > 0 ? double(page.height()) / bitmap.height() : 1;
    const TRect target{Nearest(Left * f), Nearest(Top * g), Nearest((Left + Width) * f), Nearest((Top + Height) * g)};
    DrawGlyphs(canvas, target, false, QPoint(0, 0), TRect{}, bmImageOut, DisplayFontSize(), TRect::FromQRect(page));
    Font.setPointSize(std::max(1, shown));
}

// ---- geometry

void TPriLabel::ScaleToView(QSize v, QSize p, int s) {
    TPriBase::ScaleToView(v, p, s);
    FLastPaperPixels = p;
    SetCharExtra(s);
    MakeLines();
    FitFontSize(v, p);
    UpdateGlyphs(v, p, true, s);
}

void TPriLabel::ScaleToStore(QSize v, QSize p, int s) {
    TPriBase::ScaleToStore(v, p, s);
    if (FLayoutPending) return;
    MakeLines();
    UpdateGlyphs(v, p, true, s);
}

void TPriLabel::GetPrintRect(bool useMargins, QPoint d, QRect& rect, double topMarginMm, double leftMarginMm) const {
    TPriBase::GetPrintRect(useMargins, d, rect, topMarginMm, leftMarginMm);
    const double s = LayoutDpi();
    FDeviceExtra = Trunc((Vertical() ? d.y() : d.x()) / s * FScreenExtra);
    FDeviceDpi = d.y();
}

void TPriLabel::GetOutputRect(QSize output, const TRect& margins, QRect& rect) const {
    TPriBase::GetOutputRect(output, margins, rect);
    // The screen extra belongs to the page at 100 %, not to the zoomed page bitmap.
    const QSize page = FLastPaperPixels.isValid() && !FLastPaperPixels.isEmpty() ? FLastPaperPixels : PageSize();
    const int along = Vertical() ? page.height() : page.width();
    if (along > 0) FDeviceExtra = Trunc(double(Vertical() ? output.height() : output.width()) / along * FScreenExtra);
}

// ---- copying

void TPriLabel::AssignObject(const TPriBase* source, bool layoutOnly) {
    TPriBase::AssignObject(source, false);
    const auto* s = dynamic_cast<const TPriLabel*>(source);
    if (!s || s == this) return;
    if (!layoutOnly) {
        SmallCheck = s->SmallCheck;
        CharSpace = s->CharSpace;
        BltAngle = s->BltAngle;
        LongPos = s->LongPos;
        SidePos = s->SidePos;
        Color = s->Color;
        LongSpace = s->LongSpace;
        KinsokuCheck = s->KinsokuCheck;
        LongKanaCheck = s->LongKanaCheck;
        if (TCp932::Encode(s->fDataString).size() < kMaxTextBytes) fDataString = s->fDataString;
        FontColor = s->FontColor;
        Font.setPointSize(std::max(1, s->Font.pointSize()));
        if (TCp932::Encode(s->Font.family()).size() < kMaxFaceBytes) Font.setFamily(s->Font.family());
        Font.setBold(s->Font.bold());
        Font.setItalic(s->Font.italic());
        Font.setUnderline(s->Font.underline());
        Font.setStrikeOut(s->Font.strikeOut());
        SameFSize = s->SameFSize;
        fFontAngle = s->fFontAngle;
        MakeLines();
    }
    FGlyphs = s->FGlyphs;
    // The copy draws like its source until it is laid out itself.
    if (fDataString == s->fDataString) {
        FBltStrings = s->FBltStrings;
        FHardBreaks = s->FHardBreaks;
        FLayoutPending = s->FLayoutPending;
        FScreenExtra = s->FScreenExtra;
        fFitSize = s->fFitSize;
    }
}
