#include "objects/TextCanvas.h"

#include "objects/VerticalText.h"
#include "platform/FontMap.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

// Advances of one font in one writing direction, filled on first use in pages of 256 characters.
struct TTextCanvas::TAdvances {
    QFont Font;
    bool Vertical = false;
    QFontMetrics Metrics;
    std::shared_ptr<TVerticalText> Column;
    std::vector<std::unique_ptr<std::array<int, 256>>> Pages = std::vector<std::unique_ptr<std::array<int, 256>>>(256);
    std::unordered_map<char32_t, int> Astral;

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

TTextCanvas::TTextCanvas(QPainter* painter, int dpi) : fPainter(painter), fDpi(dpi > 0 ? dpi : 96) {}

TTextCanvas::~TTextCanvas() = default;

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
    QFont f(TFontMap::ResolveFace(fFace.family()));
    f.setBold(fFace.bold());
    f.setItalic(fFace.italic());
    f.setUnderline(fFace.underline());
    f.setStrikeOut(fFace.strikeOut());
    f.setKerning(false);
    f.setPixelSize(PointsToPixels(fPointSize, fDpi));
    fFont = f;
    // Upright characters of a vertical line are measured and drawn as horizontal text is.
    const bool column = fVertical && !fUpright;
    fAdvances = TAdvances::For(fFont, column);
    fVerticalText = fVertical ? (fAdvances->Column ? fAdvances->Column : TVerticalText::For(fFont)) : nullptr;
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

void TTextCanvas::TextOut(int x, int y, std::u32string_view text) {
    if (!fPainter || text.empty()) return;
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
