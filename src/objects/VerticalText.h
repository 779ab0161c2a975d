#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <memory>
#include <unordered_map>

class QPainter;
struct hb_font_t;

// Vertical Japanese writing for one face at one pixel size. A column runs top to bottom: full-width
// characters stand upright in the font's own vertical forms (the OpenType `vert` glyphs of 「」。、ー and
// small kana), half-width letters, digits and kana lie turned 90° clockwise as a "@" face draws them.
// Positions name the top-right corner of a character's cell, as text drawn with a 270° escapement does;
// the cell is ColumnWidth() wide and Advance() long.
class TVerticalText {
public:
    // The font must carry a pixel size.
    explicit TVerticalText(const QFont& font);
    ~TVerticalText();
    TVerticalText(const TVerticalText&) = delete;
    TVerticalText& operator=(const TVerticalText&) = delete;

    // One shared instance per face, style and pixel size; building the shaper is not cheap.
    static std::shared_ptr<TVerticalText> For(const QFont& font);

    // HarfBuzz faces made so far: one per font file and style, whatever the sizes.
    static int SharedFaceCount();

    // Single-byte characters of the Japanese code page lie sideways, double-byte ones stand upright.
    static bool IsSideways(char32_t c);

    // Length of the character down the column in pixels.
    int Advance(char32_t c);
    int Ascent() const { return fAscent; }
    int Descent() const { return fDescent; }
    int ColumnWidth() const { return fAscent + fDescent; }

    // Draws one character with its cell's top-right corner at (right, top). Turned draws the character's
    // horizontal glyph rotated a quarter turn and centred in the column (the upright full-width hyphen).
    void DrawChar(QPainter& painter, double right, double top, char32_t c, bool turned = false);
    // Glyphs of many characters gathered to be drawn at once: per face, those standing upright and those
    // lying in a frame turned a quarter turn about the origin.
    struct TRuns {
        QList<quint32> Indexes[2][2];
        QList<QPointF> Positions[2][2];
        // The characters' own glyphs under the vertical forms, per face, for text that PDFs can give back.
        QList<quint32> Words[2];
        QList<QPointF> WordPositions[2];
        bool IsEmpty() const;
    };
    // Adds the glyph DrawChar would draw, at the same place.
    void Gather(TRuns& runs, double right, double top, char32_t c, bool turned = false);
    // Draws the gathered glyphs and empties runs.
    void DrawRuns(QPainter& painter, TRuns& runs) const;
    // A whole column, the characters spaced by their advances plus extra.
    void DrawColumn(QPainter& painter, double right, double top, const std::u32string& text, int extra = 0);

private:
    struct TShaped {
        quint32 Glyph = 0;
        quint32 Base = 0;   // the character's own glyph when Glyph is a vertical form in its place
        double OffsetX = 0; // from the column's centre line to the glyph origin
        double OffsetY = 0; // from the cell's top to the glyph origin (baseline)
        double Advance = 0;
        bool Sideways = false;
        bool Fallback = false;
        QGlyphRun Run; // the glyph alone at the origin, built once
    };
    const TShaped& Shape(char32_t c);
    // The horizontal glyph a turned character draws; Glyph stays 0 when no face has one.
    const TShaped& ShapeTurned(char32_t c);
    void MakeRun(TShaped& s) const;
    bool ShapeWith(hb_font_t* font, const QRawFont& raw, char32_t c, bool sideways, TShaped& out) const;
    void DrawGlyph(QPainter& painter, const QGlyphRun& run, QPointF origin, double angle, QPointF pivot) const;
    void DrawWords(QPainter& painter, const QRawFont& raw, const QList<quint32>& glyphs,
                   const QList<QPointF>& positions) const;

    QRawFont fRaw;
    QRawFont fFallbackRaw;
    hb_font_t* fHbFont = nullptr;
    hb_font_t* fHbFallback = nullptr;
    int fAscent = 0;
    int fDescent = 0;
    std::unordered_map<char32_t, TShaped> fShaped;
    std::unordered_map<char32_t, TShaped> fTurned;
};
