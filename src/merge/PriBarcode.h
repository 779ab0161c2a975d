#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

// One-dimensional barcodes for field values: EAN-8, EAN-13 (JAN), Interleaved 2 of 5 and
// Codabar (NW-7). Encoding is plain C++ on module strings, one character per module:
// '0' space, '1' bar, '2' EAN guard bar, '3' space and '4' bar that carry the next
// human-readable character (in ITF and Codabar everything but '1' is a space).
class TPriBarcode {
public:
    enum class TKind : uint8_t { Ean8 = 0, Ean13 = 1, Itf = 2, Codabar = 3 };

    // Pixel sizes of a symbol of moduleCount modules at a resolution.
    struct TMetrics {
        int Module = 0;    // 0.3 mm
        int Margin = 0;    // 2 mm left and right
        int VMargin = 0;   // 4 mm above and below
        int BarHeight = 0; // about 228/373 of the symbol width
        int Width = 0;
        int Height = 0;
    };

    void SetData(const QString& value) { FData = value; }
    // Kinds outside 0..3 make every render fail.
    void SetKind(int value) { FKind = value; }
    void SetAddCheck(bool value) { FAddCheck = value; }
    void SetShowText(bool value) { FShowText = value; }
    void SetResolution(int value) { FResolution = value; }

    const QString& Data() const { return FData; }
    int Kind() const { return FKind; }
    bool AddCheck() const { return FAddCheck; }
    bool ShowText() const { return FShowText; }
    int Resolution() const { return FResolution; }

    // Length and start rules of the kind, before any character is looked at.
    bool IsValidData() const;
    // The characters drawn under the bars: the data with its check character when asked for.
    // False when the data does not suit the kind.
    bool MakeText(std::string& text) const;
    // White bitmap with black bars at the resolution; a null image when the data does not
    // suit the kind or the symbol would be unreasonably large. ErrorString() says which.
    QImage Render();
    // The same symbol painted as vector bars on white, in the pixels of the resolution from the
    // painter's origin; returns the symbol's size, empty (nothing painted) where Render fails.
    // Printed pages take this: every module exact at any scale, a few bytes in a PDF.
    QSize Paint(QPainter& canvas);
    // The size Paint and Render give, without painting; empty where they fail.
    QSize SymbolSize();
    const QString& ErrorString() const { return FError; }

    // Modulo 10 with weights 3 and 1 from the right; -1 for anything but digits.
    static int Mod10CheckDigit(std::string_view digits);
    // Modulo 16 over the positions in "0123456789-$:/.+ABCD"; -1 for other characters.
    static int CodabarCheckIndex(std::string_view text);
    static bool Encode(TKind kind, std::string_view text, std::string& modules);
    static bool EncodeEan8(std::string_view text, std::string& modules);
    static bool EncodeEan13(std::string_view text, std::string& modules);
    static bool EncodeItf(std::string_view text, std::string& modules);
    static bool EncodeCodabar(std::string_view text, std::string& modules);
    static TMetrics Metrics(int resolution, int moduleCount);

    static constexpr std::string_view kCodabarChars = "0123456789-$:/.+ABCD";

private:
    // Text, modules and sizes of the symbol; false with the error set when there is none.
    bool Prepare(std::string& text, std::string& modules, TMetrics& m);
    void PaintSymbol(QPainter& canvas, const TMetrics& m, const std::string& modules, const std::string& text) const;
    void DrawEan(QPainter& canvas, const TMetrics& m, const std::string& modules, const std::string& text) const;
    void DrawLinear(QPainter& canvas, const TMetrics& m, const std::string& modules, const std::string& text) const;
    static void FillBars(QPainter& canvas, const std::vector<QRect>& bars);

    QString FData;
    int FKind = 0;
    bool FAddCheck = false;
    bool FShowText = true;
    int FResolution = 300;
    QString FError;
};
