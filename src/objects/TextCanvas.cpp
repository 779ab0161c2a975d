#include "objects/TextCanvas.h"

#include "objects/VerticalText.h"
#include "platform/FontMap.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

// Advances of one font in one writing direction, filled on first use in pages of 256 characters, and the
// glyphs each character draws, so that text is shaped once per character and drawn as glyph runs.
struct TTextCanvas::TAdvances {
    // One glyph of a character: the face it comes from (the font or a fallback) and its place from the pen.
    struct TGlyph {
        int Face = 0;
        quint32 Index = 0;
        QPointF Offset;
    };

    QFont Font;
    bool Vertical = false;
    QFontMetrics Metrics;
    std::shared_ptr<TVerticalText> Column;
    std::vector<std::unique_ptr<std::array<int, 256>>> Pages = std::vector<std::unique_ptr<std::array<int, 256>>>(256);
    std::unordered_map<char32_t, int> Astral;
    std::vector<QRawFont> Faces;
    std::unordered_map<char32_t, std::vector<TGlyph>> Glyphs;
    // Runs of recent strings (field texts and digits repeat on every seat), keyed by the extra and the text.
    std::unordered_map<std::u32string, std::vector<QGlyphRun>> Runs;
    size_t RunChars = 0;

    TAdvances(const QFont& font, bool vertical) : Font(font), Vertical(vertical), Metrics(font) {
        if (vertical) Column = TVerticalText::For(font);
    }

    int Measure(char32_t c) {
        if (Vertical) return Column->Advance(c);
        if (c <= 0xFFFF) return Metrics.horizontalAdvance(QChar(char16_t(c)));
        const char32_t one[1] = {c};
        return Metrics.horizontalAdvance(QString::fromUcs4(one, 1));
    }

    int Get(char32_t c) {
        if (c > 0xFFFF) {
            auto it = Astral.find(c);
            if (it != Astral.end()) return it->second;
            return Astral[c] = Measure(c);
        }
        auto& page = Pages[c >> 8];
        if (!page) {
            page = std::make_unique<std::array<int, 256>>();
            page->fill(-1);
        }
        int& slot = (*page)[c & 0xFF];
        if (slot < 0) slot = std::max(0, Measure(c));
        return slot;
    }

    // The glyphs drawing the character alone would give, fallback faces included.
    const std::vector<TGlyph>& GlyphsOf(char32_t c) {
        auto it = Glyphs.find(c);
        if (it != Glyphs.end()) return it->second;
        std::vector<TGlyph> glyphs;
        const char32_t one[1] = {c};
        QTextLayout layout(QString::fromUcs4(one, 1), Font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        if (line.isValid()) {
            for (const QGlyphRun& run : line.glyphRuns()) {
                const QRawFont raw = run.rawFont();
                int face = int(std::find(Faces.begin(), Faces.end(), raw) - Faces.begin());
                if (face == int(Faces.size())) Faces.push_back(raw);
                const QList<quint32> indexes = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i)
                    glyphs.push_back({face, indexes[i], positions[i] - QPointF(0, line.ascent())});
            }
        }
        return Glyphs.emplace(c, std::move(glyphs)).first->second;
    }

    // One glyph run per face for a whole string, its pen starting at the origin on the baseline.
    std::vector<QGlyphRun> RunsOf(std::u32string_view text, int extra) {
        std::u32string key(1, char32_t(extra));
        key.append(text);
        auto it = Runs.find(key);
        if (it != Runs.end()) return it->second;
        std::vector<QList<quint32>> indexes(Faces.size());
        std::vector<QList<QPointF>> positions(Faces.size());
        int left = 0;
        for (char32_t c : text) {
            if (c < 0x20) continue;
            for (const TGlyph& g : GlyphsOf(c)) {
                if (size_t(g.Face) >= indexes.size()) {
                    indexes.resize(Faces.size());
                    positions.resize(Faces.size());
                }
                indexes[g.Face].append(g.Index);
                positions[g.Face].append(g.Offset + QPointF(left, 0));
            }
            left += Get(c) + extra;
        }
        std::vector<QGlyphRun> runs;
        for (size_t face = 0; face < indexes.size(); ++face) {
            if (indexes[face].isEmpty()) continue;
            QGlyphRun run;
            run.setRawFont(Faces[face]);
            run.setGlyphIndexes(indexes[face]);
            run.setPositions(positions[face]);
            runs.push_back(std::move(run));
        }
        // Long texts are drawn once; short ones repeat. The store stays small either way.
        if (text.size() > 64) return runs;
        if (Runs.size() >= 512 || RunChars >= 16384) {
            Runs.clear();
            RunChars = 0;
        }
        RunChars += key.size();
        return Runs.emplace(std::move(key), std::move(runs)).first->second;
    }

    static std::shared_ptr<TAdvances> For(const QFont& font, bool vertical) {
        static QHash<QString, std::shared_ptr<TAdvances>> cache;
        const QString key = font.key() + (vertical ? QStringLiteral("|v") : QStringLiteral("|h"));
        auto it = cache.constFind(key);
        if (it != cache.constEnd()) return *it;
        if (cache.size() >= 64) cache.clear();
        auto made = std::make_shared<TAdvances>(font, vertical);
        cache.insert(key, made);
        return made;
    }
};

namespace {

// What a face at a size on a device resolves to; resolving names and building fonts costs more than drawing.
struct TFontKey {
    QString Family;
    int Style = 0;
    int PointSize = 0;
    int Dpi = 0;
    bool Vertical = false;
    bool Upright = false;
    bool operator==(const TFontKey&) const = default;
};

size_t qHash(const TFontKey& k, size_t seed = 0) {
    return qHashMulti(seed, k.Family, k.Style, k.PointSize, k.Dpi, k.Vertical, k.Upright);
}

int StyleBits(const QFont& f) {
    return (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) | (f.strikeOut() ? 8 : 0);
}

} // namespace

TTextCanvas::TTextCanvas(QPainter* painter, int dpi) : fPainter(painter), fDpi(dpi > 0 ? dpi : 96) {}

// Characters waiting to be drawn together: their glyphs per face of one font in one colour.
struct TTextCanvas::TBatch {
    std::shared_ptr<TAdvances> Advances;
    std::shared_ptr<TVerticalText> Column;
    QColor Color;
    std::vector<QList<quint32>> Indexes;
    std::vector<QList<QPointF>> Positions;
    TVerticalText::TRuns Lines;
};

TTextCanvas::~TTextCanvas() {
    Flush();
}

int TTextCanvas::PointsToPixels(int pointSize, int dpi) {
    // MulDiv rounding; a corrupt size must not ask the rasteriser for a glyph of a million pixels.
    const long long px = (static_cast<long long>(pointSize) * dpi + 36) / 72;
    return static_cast<int>(std::clamp<long long>(px, 1, 16000));
}

void TTextCanvas::SetFont(const QFont& face, int pointSize, bool vertical, bool upright) {
    fFace = face;
    fVertical = vertical;
    fUpright = upright;
    fPointSize = pointSize;
    Resolve();
}

void TTextCanvas::SetPointSize(int pointSize) {
    if (pointSize == fPointSize && fAdvances) return;
    fPointSize = pointSize;
    Resolve();
}

void TTextCanvas::Resolve() {
    struct TResolved {
        QFont Font;
        std::shared_ptr<TAdvances> Advances;
        std::shared_ptr<TVerticalText> Column;
    };
    static QHash<TFontKey, TResolved> resolved;
    const TFontKey key{fFace.family(), StyleBits(fFace), fPointSize, fDpi, fVertical, fUpright};
    auto it = resolved.constFind(key);
    if (it == resolved.constEnd()) {
        QFont f(TFontMap::ResolveFace(fFace.family()));
        f.setBold(fFace.bold());
        f.setItalic(fFace.italic());
        f.setUnderline(fFace.underline());
        f.setStrikeOut(fFace.strikeOut());
        f.setKerning(false);
        f.setPixelSize(PointsToPixels(fPointSize, fDpi));
        // Upright characters of a vertical line are measured and drawn as horizontal text is.
        const bool column = fVertical && !fUpright;
        auto advances = TAdvances::For(f, column);
        auto vertical = fVertical ? (advances->Column ? advances->Column : TVerticalText::For(f)) : nullptr;
        if (resolved.size() >= 256) resolved.clear();
        it = resolved.insert(key, TResolved{f, std::move(advances), std::move(vertical)});
    }
    fFont = it->Font;
    fAdvances = it->Advances;
    fVerticalText = it->Column;
    fAscent = fAdvances->Metrics.ascent();
    fDescent = fAdvances->Metrics.descent();
}

int TTextCanvas::Advance(char32_t c) {
    if (c < 0x20) return 0;
    if (!fAdvances) Resolve();
    return fAdvances->Get(c);
}

int TTextCanvas::CharWidth(char32_t c) {
    return c < 0x20 ? 0 : Advance(c) + fExtra;
}

int TTextCanvas::TextWidth(std::u32string_view text) {
    int w = 0;
    for (char32_t c : text)
        w += CharWidth(c);
    return w;
}

int TTextCanvas::TextWidth(const QString& text) {
    const std::u32string u = text.toStdU32String();
    return TextWidth(std::u32string_view(u));
}

namespace {

// A picture records glyph runs as outlines, and decorations must stay one per character.
bool DrawsRuns(const QPainter& painter, const QFont& font) {
    const QPaintDevice* device = painter.device();
    return !(device && device->devType() == QInternal::Picture) && !font.underline() && !font.strikeOut();
}

} // namespace

void TTextCanvas::DrawChar(QPainter& painter, const QFont& font, QPointF baseline, char32_t c) {
    const TPlaced one[1] = {{baseline, c}};
    DrawChars(painter, font, one);
}

void TTextCanvas::DrawChars(QPainter& painter, const QFont& font, std::span<const TPlaced> chars) {
    if (!DrawsRuns(painter, font)) {
        painter.setFont(font);
        for (const TPlaced& p : chars)
            if (p.Char >= 0x20) painter.drawText(p.Baseline, QString::fromUcs4(&p.Char, 1));
        return;
    }
    // Barcodes draw their digits in one font: spare building the font's key for each symbol.
    static QFont last;
    static std::shared_ptr<TAdvances> advances;
    if (!advances || !(font == last)) {
        last = font;
        advances = TAdvances::For(font, false);
    }
    std::vector<QList<quint32>> indexes;
    std::vector<QList<QPointF>> positions;
    for (const TPlaced& p : chars) {
        if (p.Char < 0x20) continue;
        for (const TAdvances::TGlyph& g : advances->GlyphsOf(p.Char)) {
            if (size_t(g.Face) >= indexes.size()) {
                indexes.resize(advances->Faces.size());
                positions.resize(advances->Faces.size());
            }
            indexes[g.Face].append(g.Index);
            positions[g.Face].append(p.Baseline + g.Offset);
        }
    }
    for (size_t face = 0; face < indexes.size(); ++face) {
        if (indexes[face].isEmpty()) continue;
        QGlyphRun run;
        run.setRawFont(advances->Faces[face]);
        run.setGlyphIndexes(indexes[face]);
        run.setPositions(positions[face]);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

void TTextCanvas::TextOut(int x, int y, std::u32string_view text) {
    if (!fPainter || text.empty()) return;
    Flush();
    if (!fAdvances) Resolve();
    fPainter->setPen(fColor);
    if (fVertical) {
        int top = y;
        for (char32_t c : text) {
            fVerticalText->DrawChar(*fPainter, x, top, c, fUpright);
            top += CharWidth(c);
        }
        return;
    }
    if (DrawsRuns(*fPainter, fFont)) {
        for (const QGlyphRun& run : fAdvances->RunsOf(text, fExtra))
            fPainter->drawGlyphRun(QPointF(x, y + fAscent), run);
        return;
    }
    fPainter->setFont(fFont);
    int left = x;
    for (char32_t c : text) {
        if (c >= 0x20) {
            const char32_t one[1] = {c};
            fPainter->drawText(QPointF(left, y + fAscent), QString::fromUcs4(one, 1));
        }
        left += CharWidth(c);
    }
}

void TTextCanvas::CharOut(int x, int y, char32_t c) {
    if (!fPainter || c < 0x20) return;
    if (!fAdvances) Resolve();
    if (!DrawsRuns(*fPainter, fFont)) {
        const char32_t one[1] = {c};
        TextOut(x, y, std::u32string_view(one, 1));
        return;
    }
    if (fBatch && (fBatch->Advances != fAdvances || fBatch->Column != fVerticalText || fBatch->Color != fColor))
        Flush();
    if (!fBatch) fBatch = std::make_unique<TBatch>();
    TBatch& b = *fBatch;
    b.Advances = fAdvances;
    b.Column = fVerticalText;
    b.Color = fColor;
    if (fVertical) {
        fVerticalText->Gather(b.Lines, x, y, c, fUpright);
        return;
    }
    // The same points TextOut gives the character's glyphs: the pen on the baseline plus each offset.
    for (const TAdvances::TGlyph& g : fAdvances->GlyphsOf(c)) {
        if (size_t(g.Face) >= b.Indexes.size()) {
            b.Indexes.resize(fAdvances->Faces.size());
            b.Positions.resize(fAdvances->Faces.size());
        }
        b.Indexes[g.Face].append(g.Index);
        b.Positions[g.Face].append(g.Offset + QPointF(x, y + fAscent));
    }
}

void TTextCanvas::Flush() {
    if (!fBatch || !fPainter) return;
    TBatch& b = *fBatch;
    fPainter->setPen(b.Color);
    if (b.Column && !b.Lines.IsEmpty()) b.Column->DrawRuns(*fPainter, b.Lines);
    for (size_t face = 0; face < b.Indexes.size(); ++face) {
        if (b.Indexes[face].isEmpty()) continue;
        QGlyphRun run;
        run.setRawFont(b.Advances->Faces[face]);
        run.setGlyphIndexes(b.Indexes[face]);
        run.setPositions(b.Positions[face]);
        fPainter->drawGlyphRun(QPointF(0, 0), run);
        b.Indexes[face].clear();
        b.Positions[face].clear();
    }
}
