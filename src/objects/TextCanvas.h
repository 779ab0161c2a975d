#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <memory>
#include <span>
#include <string>
#include <string_view>

class QPainter;
class TVerticalText;

// The text state of a drawing surface as the layout code sees it: a face at a point size resolved for the
// device's resolution, horizontal or vertical writing, and a character extra added after every character.
// The width of a string is the sum of its characters' advances plus the extra after each one, without
// kerning; advances are cached per font so that breaking lines costs one table look-up per character.
// In vertical writing widths are lengths down the column and a position is the top-right corner of a
// character's cell.
class TTextCanvas {
public:
    // painter may be null for measuring only; dpi is the device's pixels per inch.
    explicit TTextCanvas(QPainter* painter = nullptr, int dpi = 96);
    ~TTextCanvas();

    QPainter* Painter() const { return fPainter; }
    int Dpi() const { return fDpi; }

    // face carries family and style (a leading "@" in the family is ignored); size is in points.
    void SetFont(const QFont& face, int pointSize, bool vertical, bool upright);
    void SetPointSize(int pointSize);
    int PointSize() const { return fPointSize; }
    int PixelSize() const { return fFont.pixelSize(); }
    const QFont& Font() const { return fFont; }
    bool Vertical() const { return fVertical; }
    bool Upright() const { return fUpright; }
    void SetColor(const QColor& color) { fColor = color; }
    const QColor& Color() const { return fColor; }
    void SetCharExtra(int extra) { fExtra = extra; }
    int CharExtra() const { return fExtra; }

    // Advance of one character plus the extra; control characters take no room.
    int CharWidth(char32_t c);
    int TextWidth(std::u32string_view text);
    int TextWidth(const QString& text);
    // The cell height of the current font (the column width in vertical writing), whatever the text.
    int TextHeight() const { return fAscent + fDescent; }
    int Ascent() const { return fAscent; }

    // Draws text at a cell's top-left corner (horizontal) or top-right corner (vertical).
    void TextOut(int x, int y, std::u32string_view text);
    // Draws one character as TextOut does. On output devices the characters wait to go out together, as one
    // glyph run per face, at Flush, at the next TextOut or when the font or colour changes: a PDF then gets
    // a text object per line instead of one per character.
    void CharOut(int x, int y, char32_t c);
    void Flush();

    // Draws one character of a font carrying a pixel size with its pen at baseline, as QPainter::drawText
    // does, from glyphs shaped once per font and character.
    static void DrawChar(QPainter& painter, const QFont& font, QPointF baseline, char32_t c);
    // Characters of one font each at its own baseline point, drawn together.
    struct TPlaced {
        QPointF Baseline;
        char32_t Char = 0;
    };
    static void DrawChars(QPainter& painter, const QFont& font, std::span<const TPlaced> chars);

    // Device pixels for a point size, rounded as the system's font mapper does.
    static int PointsToPixels(int pointSize, int dpi);

private:
    struct TAdvances;
    struct TBatch;
    void Resolve();
    int Advance(char32_t c);

    QPainter* fPainter;
    int fDpi;
    QFont fFace;
    QFont fFont;
    int fPointSize = 0;
    bool fVertical = false;
    bool fUpright = false;
    int fExtra = 0;
    QColor fColor = Qt::black;
    int fAscent = 0;
    int fDescent = 0;
    std::shared_ptr<TAdvances> fAdvances;
    std::shared_ptr<TVerticalText> fVerticalText;
    std::unique_ptr<TBatch> fBatch;
};
