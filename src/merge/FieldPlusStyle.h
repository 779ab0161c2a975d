#pragma once

#include <QString>
#include <cstdint>

class TStreamReader;
class TStreamWriter;

// Number formatting of a field's text: fixed decimals, thousands separators, a currency
// prefix, a suffix, a triangle for minus, and masking on pages that must not show a total.
class TFieldPlusStyle {
public:
    bool GroupDigits = false;
    bool TriangleMinus = false;
    bool FixedDecimals = false;
    int32_t Decimals = 1;
    bool UsePrefix = false;
    bool UseSuffix = false;
    // One backslash: the yen sign of Japanese fonts.
    QString Prefix = QStringLiteral("\\");
    QString Suffix = QStringLiteral("-");
    // 0 always shown, 1 only on the first (or only) page, 2 only on the last (or only) page.
    uint8_t MaskMode = 0;
    QString MaskText = QStringLiteral("*****");
    bool DropPoint = false;
    bool ZeroPad = false;

    void Assign(const TFieldPlusStyle& source) { *this = source; }
    // The value as printed on page current of total.
    QString Format(const QString& value, int current, int total) const;

    // DropPoint and ZeroPad are stored from version 7 on.
    bool LoadFromStream(TStreamReader& stream, int version);
    void SaveToStream(TStreamWriter& stream, int version) const;

    bool operator==(const TFieldPlusStyle&) const = default;

    static constexpr int kMaxPadZeros = 9;
};
