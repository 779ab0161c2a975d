#pragma once

#include "print/CardSheet.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The card sheets file settings/carddata.cdd: the sheets the print-paper dialog offers.
// Little-endian: "KCDD", int32 version 1, int32 sheet count, then per sheet an int32 length of
// the rest of its record, the name (int32 byte count, CP932 bytes), int32 flags (bit 0: added
// by the user) and ten int32 lengths and counts in the order of TCardSheet. A record longer than
// that is read up to what this version knows. Any fault rejects the whole file.
class TCardData {
public:
    static constexpr char kMagic[4] = {'K', 'C', 'D', 'D'};
    static constexpr int32_t kVersion = 1;
    static constexpr int32_t kMaxSheets = 4096;

    // The sheets, or false with a Japanese message in error; sheets is left empty then.
    static bool Read(const QByteArray& bytes, QList<TCardSheet>& sheets, QString* error = nullptr);
    static QByteArray Write(const QList<TCardSheet>& sheets);

    // The sheets the program ships: the label and card sheets sold in Japanese shops and the single
    // sheets the templates are made for. A damaged list starts again from these.
    static QList<TCardSheet> ShippedSheets();

    static bool LoadFromFile(const QString& fileName, QList<TCardSheet>& sheets, QString* error = nullptr);
    // Through a temporary file renamed over the old one: a failed save leaves the old file as it was.
    static bool SaveToFile(const QString& fileName, const QList<TCardSheet>& sheets, QString* error = nullptr);
};
