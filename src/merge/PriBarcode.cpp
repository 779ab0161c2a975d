#include "merge/PriBarcode.h"

#include "objects/TextCanvas.h"

#include "platform/Rounding.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <array>

namespace {

// EAN digit patterns (left-hand odd set A, left-hand even set B, right-hand set C); the
// first module of each is the marker of the digit printed under it.
constexpr std::array<const char*, 10> kSetA = {"3001101", "3011001", "3010011", "3111101", "3100011",
                                               "3110001", "3101111", "3111011", "3110111", "3001011"};
constexpr std::array<const char*, 10> kSetB = {"3100111", "3110011", "3011011", "3100001", "3011101",
                                               "3111001", "3000101", "3010001", "3001001", "3010111"};
constexpr std::array<const char*, 10> kSetC = {"4110010", "4100110", "4101100", "4000010", "4011100",
                                               "4001110", "4010000", "4000100", "4001000", "4110100"};
// Parity of the six left-hand digits of EAN-13 by the leading digit: '1' set A, '0' set B.
constexpr std::array<const char*, 10> kParity = {"111111", "110100", "110010", "110001", "101100",
                                                 "100110", "100011", "101010", "101001", "100101"};
// Interleaved 2 of 5: five elements per digit, '1' narrow and '3' wide.
constexpr std::array<const char*, 10> kItf = {"11331", "31113", "13113", "33111", "11313",
                                              "31311", "13311", "11133", "31131", "13131"};
// Codabar elements bar, space, bar, ... in the order of kCodabarChars, '1' marking the wide
// ones. Digits, '-' and '$' have two wide elements, the rest three.
constexpr std::array<const char*, 20> kCodabar = {
    "0000011", "0000110", "0001001", "1100000", "0010010", "1000010", "0100001", "0100100", "0110000", "1001000",
    "0001100", "0011000", "1000101", "1010001", "1010100", "0010101", "0011010", "0101001", "0001011", "0001110"};

constexpr int kMaxSide = 20000;
constexpr qint64 kMaxPixels = 40LL * 1000 * 1000;

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The face maps to a metric-compatible Gothic; 20 pt on a 96-dpi canvas.
QFont BarcodeFont(int points) {
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize((points * 96 + 36) / 72);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

int TPriBarcode::Mod10CheckDigit(std::string_view digits) {
    if (!AllDigits(digits)) return -1;
    int sum = 0;
    bool odd = true;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, odd = !odd)
        sum += (*it - '0') * (odd ? 3 : 1);
    return (10 - sum % 10) % 10;
}

int TPriBarcode::CodabarCheckIndex(std::string_view text) {
    int sum = 0;
    for (char c : text) {
        const size_t pos = kCodabarChars.find(c);
        if (c == '\0' || pos == std::string_view::npos) return -1;
        sum += int(pos);
    }
    return (16 - sum % 16) % 16;
}

bool TPriBarcode::EncodeEan8(std::string_view text, std::string& modules) {
    if (text.size() != 8 || !AllDigits(text)) return false;
    modules = "0000000202";
    for (size_t i = 0; i < 4; ++i)
        modules += kSetA[size_t(text[i] - '0')];
    modules += "02020";
    for (size_t i = 4; i < 8; ++i)
        modules += kSetC[size_t(text[i] - '0')];
    modules += "2020000000";
    return true;
}

bool TPriBarcode::EncodeEan13(std::string_view text, std::string& modules) {
    if (text.size() != 13 || !AllDigits(text)) return false;
    const char* parity = kParity[size_t(text[0] - '0')];
    modules = "0030000000202";
    for (size_t i = 1; i < 7; ++i)
        modules += (parity[i - 1] == '1' ? kSetA : kSetB)[size_t(text[i] - '0')];
    modules += "02020";
    for (size_t i = 7; i < 13; ++i)
        modules += kSetC[size_t(text[i] - '0')];
    modules += "2020030000000";
    return true;
}

bool TPriBarcode::EncodeItf(std::string_view text, std::string& modules) {
    if (text.empty() || text.size() % 2 != 0 || !AllDigits(text)) return false;
    modules = "1010";
    for (size_t i = 0; i < text.size(); i += 2) {
        const char* bars = kItf[size_t(text[i] - '0')];
        const char* spaces = kItf[size_t(text[i + 1] - '0')];
        for (int e = 0; e < 5; ++e) {
            modules.append(bars[e] == '3' ? 3 : 1, '1');
            modules.append(spaces[e] == '3' ? 3 : 1, '0');
        }
    }
    modules += "11101";
    return true;
}

bool TPriBarcode::EncodeCodabar(std::string_view text, std::string& modules) {
    if (text.empty()) return false;
    modules.clear();
    for (char c : text) {
        const size_t pos = kCodabarChars.find(c);
        if (c == '\0' || pos == std::string_view::npos) return false;
        const char* elements = kCodabar[pos];
        for (int e = 0; e < 7; ++e)
            modules.append(elements[e] == '1' ? 3 : 1, e % 2 == 0 ? '1' : '0');
        modules += "000";
    }
    return true;
}

bool TPriBarcode::Encode(TKind kind, std::string_view text, std::string& modules) {
    switch (kind) {
    case TKind::Ean8: return EncodeEan8(text, modules);
    case TKind::Ean13: return EncodeEan13(text, modules);
    case TKind::Itf: return EncodeItf(text, modules);
    case TKind::Codabar: return EncodeCodabar(text, modules);
    }
    return false;
}

TPriBarcode::TMetrics TPriBarcode::Metrics(int resolution, int moduleCount) {
    TMetrics m;
    m.Module = Trunc(resolution * 0.3 / 25.4);
    m.Margin = Trunc(resolution * 2.0 / 25.4);
    m.VMargin = Trunc(resolution * 4.0 / 25.4);
    m.BarHeight = Trunc(double(m.Module) * moduleCount * 228 / 373);
    m.Width = SaturateToInt(2.0 * m.Margin + double(m.Module) * moduleCount);
    m.Height = SaturateToInt(2.0 * m.VMargin + m.BarHeight);
    return m;
}

bool TPriBarcode::IsValidData() const {
    const qsizetype n = FData.size();
    switch (FKind) {
    case 0: return n == (FAddCheck ? 7 : 8);
    case 1: return n == (FAddCheck ? 12 : 13);
    case 2: return n > 0 && (FAddCheck ? n % 2 == 1 : n % 2 == 0);
    case 3: {
        if (n == 0) return false;
        const QChar c = FData.front();
        return c == u'A' || c == u'B' || c == u'C' || c == u'D';
    }
    default: return false;
    }
}

bool TPriBarcode::MakeText(std::string& text) const {
    if (!IsValidData()) return false;
    for (QChar c : FData)
        if (c.unicode() == 0 || c.unicode() >= 0x80) return false;
    text = FData.toStdString();
    if (!FAddCheck) return true;
    if (FKind == 3) {
        const int check = CodabarCheckIndex(text);
        if (check < 0) return false;
        text.insert(text.end() - 1, kCodabarChars[size_t(check)]);
    } else {
        const int check = Mod10CheckDigit(text);
        if (check < 0) return false;
        text += char('0' + check);
    }
    return true;
}

bool TPriBarcode::Prepare(std::string& text, std::string& modules, TMetrics& m) {
    FError.clear();
    if (!MakeText(text)) {
        FError = QStringLiteral("data does not suit the barcode kind");
        return false;
    }
    if (!Encode(TKind(FKind), text, modules)) {
        FError = QStringLiteral("data holds a character the barcode kind cannot encode");
        return false;
    }
    m = Metrics(FResolution, int(modules.size()));
    if (m.Module < 1 || m.Width > kMaxSide || m.Height > kMaxSide || qint64(m.Width) * m.Height > kMaxPixels) {
        FError = QStringLiteral("no barcode of this length at this resolution");
        return false;
    }
    return true;
}

void TPriBarcode::PaintSymbol(QPainter& canvas, const TMetrics& m, const std::string& modules,
                              const std::string& text) const {
    canvas.fillRect(0, 0, m.Width, m.Height, Qt::white);
    if (FKind <= 1)
        DrawEan(canvas, m, modules, text);
    else
        DrawLinear(canvas, m, modules, text);
}

QImage TPriBarcode::Render() {
    std::string text, modules;
    TMetrics m;
    if (!Prepare(text, modules, m)) return {};
    QImage image(m.Width, m.Height, QImage::Format_RGB32);
    if (image.isNull()) {
        FError = QStringLiteral("out of memory for the barcode");
        return {};
    }
    QPainter canvas(&image);
    PaintSymbol(canvas, m, modules, text);
    return image;
}

QSize TPriBarcode::SymbolSize() {
    std::string text, modules;
    TMetrics m;
    if (!Prepare(text, modules, m)) return {};
    return {m.Width, m.Height};
}

QSize TPriBarcode::Paint(QPainter& canvas) {
    std::string text, modules;
    TMetrics m;
    if (!Prepare(text, modules, m)) return {};
    canvas.save();
    PaintSymbol(canvas, m, modules, text);
    canvas.restore();
    return {m.Width, m.Height};
}

void TPriBarcode::DrawEan(QPainter& canvas, const TMetrics& m, const std::string& modules,
                          const std::string& text) const {
    canvas.setPen(Qt::black);
    const QFont font = BarcodeFont(20);
    canvas.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    // Neighbouring modules of one height make one bar: a PDF gets a rectangle per bar, not per
    // module, and a scaled picture no seams inside a bar.
    std::vector<QRect> bars;
    const auto height = [&](char c) {
        return c == '2' ? m.BarHeight + m.VMargin / 2 : (c == '1' || c == '4') ? m.BarHeight : 0;
    };
    int x = m.Margin;
    int last = 0;
    for (char c : modules) {
        const int h = height(c);
        if (h > 0 && h == last)
            bars.back().setRight(bars.back().right() + m.Module);
        else if (h > 0)
            bars.emplace_back(x, m.VMargin, m.Module, h);
        last = h;
        x += m.Module;
    }
    FillBars(canvas, bars);
    if (!FShowText) return;
    std::vector<TTextCanvas::TPlaced> digits;
    size_t next = 0;
    x = m.Margin;
    for (char c : modules) {
        if ((c == '3' || c == '4') && next < text.size())
            digits.push_back({QPointF(x + m.Module, m.VMargin + m.BarHeight + ascent), char32_t(uchar(text[next++]))});
        x += m.Module;
    }
    TTextCanvas::DrawChars(canvas, font, digits);
}

void TPriBarcode::FillBars(QPainter& canvas, const std::vector<QRect>& bars) {
    if (bars.empty()) return;
    const QPen pen = canvas.pen();
    const QBrush brush = canvas.brush();
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(Qt::black);
    canvas.drawRects(bars.data(), int(bars.size()));
    canvas.setPen(pen);
    canvas.setBrush(brush);
}

void TPriBarcode::DrawLinear(QPainter& canvas, const TMetrics& m, const std::string& modules,
                             const std::string& text) const {
    canvas.setPen(Qt::black);
    const QFont font = BarcodeFont(text.size() > 9 ? 20 : int(text.size()) + 10);
    canvas.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    const size_t perChar = modules.size() / text.size();
    std::vector<QRect> bars;
    for (size_t i = 0; i < modules.size(); ++i) {
        if (modules[i] != '1') continue;
        const int x = m.Margin + int(i) * m.Module;
        if (i > 0 && modules[i - 1] == '1')
            bars.back().setRight(bars.back().right() + m.Module);
        else
            bars.emplace_back(x, m.VMargin, m.Module, m.BarHeight);
    }
    FillBars(canvas, bars);
    std::vector<TTextCanvas::TPlaced> digits;
    size_t next = 0;
    int x = m.Margin;
    for (size_t i = 0; i < modules.size(); ++i) {
        if (FShowText && perChar > 0 && (i + 1) % perChar == 5 && next < text.size())
            digits.push_back({QPointF(x + m.Module, m.VMargin + m.BarHeight + ascent),
                              char32_t(QChar::toUpper(uchar(text[next++])))});
        x += m.Module;
    }
    TTextCanvas::DrawChars(canvas, font, digits);
}
