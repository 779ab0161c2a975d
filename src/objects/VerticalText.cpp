#include "objects/VerticalText.h"

#include "platform/HbFace.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <cmath>
#include <hb-ot.h>
#include <hb.h>

namespace {

hb_font_t* MakeHbFont(const QRawFont& raw) {
    if (!raw.isValid()) return nullptr;
    hb_font_t* font = hb_font_create(THbFace::Shared(raw));
    const int scale = int(std::lround(raw.pixelSize() * 64));
    hb_font_set_scale(font, scale, scale);
    return font;
}

// A PDF maps glyphs back to characters through the font's character map, which has no entry for the
// vertical forms: their characters go into the file as invisible glyphs of the horizontal forms.
bool KeepsText(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

QRawFont FallbackRaw(const QFont& font) {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() : 12);
    return QRawFont::fromFont(f);
}

} // namespace

TVerticalText::TVerticalText(const QFont& font) {
    QFont f = font;
    if (f.pixelSize() <= 0) f.setPixelSize(12);
    fRaw = QRawFont::fromFont(f);
    fHbFont = MakeHbFont(fRaw);
    const QFontMetrics fm(f);
    fAscent = fm.ascent();
    fDescent = fm.descent();
}

TVerticalText::~TVerticalText() {
    if (fHbFont) hb_font_destroy(fHbFont);
    if (fHbFallback) hb_font_destroy(fHbFallback);
}

std::shared_ptr<TVerticalText> TVerticalText::For(const QFont& font) {
    static QHash<QString, std::shared_ptr<TVerticalText>> cache;
    const QString key = font.key();
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    // Zooming through many sizes must not grow the cache without end.
    if (cache.size() >= 48) cache.clear();
    auto made = std::make_shared<TVerticalText>(font);
    cache.insert(key, made);
    return made;
}

int TVerticalText::SharedFaceCount() {
    return THbFace::SharedCount();
}

bool TVerticalText::IsSideways(char32_t c) {
    // ASCII and the half-width katakana are the single-byte characters of CP932.
    if (c < 0x80) return true;
    if (c >= 0xFF61 && c <= 0xFF9F) return true;
    // Latin and other alphabetic scripts outside the code page's double-byte set lie sideways too.
    if (c < 0x0370)
        return !(c == 0xA7 || c == 0xA8 || c == 0xB0 || c == 0xB1 || c == 0xB4 || c == 0xB6 || c == 0xD7 || c == 0xF7);
    return false;
}

bool TVerticalText::ShapeWith(hb_font_t* font, const QRawFont& raw, char32_t c, bool sideways, TShaped& out) const {
    if (!font) return false;
    hb_buffer_t* buf = hb_buffer_create();
    const uint32_t cp = c;
    hb_buffer_add_utf32(buf, &cp, 1, 0, 1);
    hb_buffer_set_direction(buf, sideways ? HB_DIRECTION_LTR : HB_DIRECTION_TTB);
    hb_buffer_set_language(buf, hb_language_from_string("ja", 2));
    hb_buffer_guess_segment_properties(buf);
    hb_shape(font, buf, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buf, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buf, &count);
    bool ok = count >= 1 && info[0].codepoint != 0;
    if (ok) {
        out.Glyph = info[0].codepoint;
        out.Sideways = sideways;
        if (sideways) {
            out.OffsetX = pos[0].x_offset / 64.0;
            out.OffsetY = -pos[0].y_offset / 64.0;
            out.Advance = pos[0].x_advance / 64.0;
        } else {
            // Vertical pen: x on the column's centre line, y from the cell's top, moving down.
            out.OffsetX = pos[0].x_offset / 64.0;
            out.OffsetY = -pos[0].y_offset / 64.0;
            out.Advance = -pos[0].y_advance / 64.0;
            hb_codepoint_t base = 0;
            if (hb_font_get_nominal_glyph(font, c, &base) && base != out.Glyph) out.Base = base;
        }
    }
    hb_buffer_destroy(buf);
    (void)raw;
    return ok;
}

const TVerticalText::TShaped& TVerticalText::Shape(char32_t c) {
    auto it = fShaped.find(c);
    if (it != fShaped.end()) return it->second;
    TShaped s;
    const bool sideways = IsSideways(c);
    if (!ShapeWith(fHbFont, fRaw, c, sideways, s)) {
        // No glyph in this face: IPA Gothic covers the whole code page.
        if (!fFallbackRaw.isValid()) {
            QFont f;
            f.setPixelSize(int(std::lround(fRaw.isValid() ? fRaw.pixelSize() : 12)));
            fFallbackRaw = FallbackRaw(f);
            fHbFallback = MakeHbFont(fFallbackRaw);
        }
        if (ShapeWith(fHbFallback, fFallbackRaw, c, sideways, s)) {
            s.Fallback = true;
        } else {
            s = TShaped{};
            s.Sideways = sideways;
            s.Advance = sideways ? 0 : ColumnWidth();
        }
    }
    MakeRun(s);
    return fShaped.emplace(c, s).first->second;
}

int TVerticalText::Advance(char32_t c) {
    if (c < 0x20) return 0;
    return int(std::lround(Shape(c).Advance));
}

void TVerticalText::MakeRun(TShaped& s) const {
    if (s.Glyph == 0) return;
    s.Run.setRawFont(s.Fallback ? fFallbackRaw : fRaw);
    s.Run.setGlyphIndexes({s.Glyph});
    s.Run.setPositions({QPointF(0, 0)});
}

const TVerticalText::TShaped& TVerticalText::ShapeTurned(char32_t c) {
    auto it = fTurned.find(c);
    if (it != fTurned.end()) return it->second;
    TShaped h;
    if (!ShapeWith(fHbFont, fRaw, c, true, h)) {
        Shape(c);
        h = TShaped{};
        if (ShapeWith(fHbFallback, fFallbackRaw, c, true, h))
            h.Fallback = true;
        else
            h = TShaped{};
    }
    MakeRun(h);
    return fTurned.emplace(c, h).first->second;
}

void TVerticalText::DrawGlyph(QPainter& painter, const QGlyphRun& run, QPointF origin, double angle,
                              QPointF pivot) const {
    if (angle == 0) {
        painter.drawGlyphRun(origin, run);
        return;
    }
    painter.save();
    painter.translate(pivot);
    painter.rotate(angle);
    painter.drawGlyphRun(origin, run);
    painter.restore();
}

void TVerticalText::DrawChar(QPainter& painter, double right, double top, char32_t c, bool turned) {
    if (c < 0x20) return;
    if (turned && !IsSideways(c)) {
        // The horizontal glyph, turned a quarter: a full-width hyphen becomes a bar down the column.
        const TShaped& h = ShapeTurned(c);
        if (h.Glyph == 0) return;
        const double along = (Shape(c).Advance - h.Advance) / 2;
        DrawGlyph(painter, h.Run, QPointF(along + h.OffsetX, fAscent + h.OffsetY), 90, QPointF(right, top));
        return;
    }
    const TShaped& s = Shape(c);
    if (s.Glyph == 0) return;
    if (s.Sideways) {
        // Rotated a quarter turn clockwise about the cell's top-right corner: the baseline runs down the
        // column at one ascent from its right edge.
        DrawGlyph(painter, s.Run, QPointF(s.OffsetX, fAscent + s.OffsetY), 90, QPointF(right, top));
    } else {
        const double centre = right - ColumnWidth() / 2.0;
        const QPointF origin(centre + s.OffsetX, top + s.OffsetY);
        DrawGlyph(painter, s.Run, origin, 0, {});
        if (s.Base && KeepsText(painter)) DrawWords(painter, s.Fallback ? fFallbackRaw : fRaw, {s.Base}, {origin});
    }
}

bool TVerticalText::TRuns::IsEmpty() const {
    return Indexes[0][0].isEmpty() && Indexes[0][1].isEmpty() && Indexes[1][0].isEmpty() && Indexes[1][1].isEmpty();
}

void TVerticalText::Gather(TRuns& runs, double right, double top, char32_t c, bool turned) {
    if (c < 0x20) return;
    const auto add = [&runs](const TShaped& s, bool lying, QPointF at) {
        runs.Indexes[s.Fallback][lying].append(s.Glyph);
        runs.Positions[s.Fallback][lying].append(at);
    };
    // A glyph at origin o turned about (right, top) lands where the frame turned about (0, 0) puts it at
    // (top + o.x, o.y - right).
    if (turned && !IsSideways(c)) {
        const TShaped& h = ShapeTurned(c);
        if (h.Glyph == 0) return;
        const double along = (Shape(c).Advance - h.Advance) / 2;
        add(h, true, QPointF(top + (along + h.OffsetX), (fAscent + h.OffsetY) - right));
        return;
    }
    const TShaped& s = Shape(c);
    if (s.Glyph == 0) return;
    if (s.Sideways) {
        add(s, true, QPointF(top + s.OffsetX, (fAscent + s.OffsetY) - right));
        return;
    }
    const QPointF origin(right - ColumnWidth() / 2.0 + s.OffsetX, top + s.OffsetY);
    add(s, false, origin);
    if (s.Base) {
        runs.Words[s.Fallback].append(s.Base);
        runs.WordPositions[s.Fallback].append(origin);
    }
}

void TVerticalText::DrawWords(QPainter& painter, const QRawFont& raw, const QList<quint32>& glyphs,
                              const QList<QPointF>& positions) const {
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.save();
    painter.setPen(QColor(0, 0, 0, 0));
    painter.drawGlyphRun(QPointF(0, 0), run);
    painter.restore();
}

void TVerticalText::DrawRuns(QPainter& painter, TRuns& runs) const {
    for (int fallback = 0; fallback < 2; ++fallback) {
        for (int lying = 0; lying < 2; ++lying) {
            QList<quint32>& indexes = runs.Indexes[fallback][lying];
            QList<QPointF>& positions = runs.Positions[fallback][lying];
            if (indexes.isEmpty()) continue;
            QGlyphRun run;
            run.setRawFont(fallback ? fFallbackRaw : fRaw);
            run.setGlyphIndexes(indexes);
            run.setPositions(positions);
            DrawGlyph(painter, run, QPointF(0, 0), lying ? 90 : 0, QPointF(0, 0));
            indexes.clear();
            positions.clear();
        }
        if (!runs.Words[fallback].isEmpty() && KeepsText(painter))
            DrawWords(painter, fallback ? fFallbackRaw : fRaw, runs.Words[fallback], runs.WordPositions[fallback]);
        runs.Words[fallback].clear();
        runs.WordPositions[fallback].clear();
    }
}

void TVerticalText::DrawColumn(QPainter& painter, double right, double top, const std::u32string& text, int extra) {
    double y = top;
    for (char32_t c : text) {
        DrawChar(painter, right, y, c);
        y += Advance(c) + (c < 0x20 ? 0 : extra);
    }
}
