#pragma once

#include "objects/ObjectExtras.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSize>
#include <QString>
#include <array>

class QPainter;

// The postal code of the address side: the seven boxes printed on postcards (Japan Post's
// measures) and the sender's seven digits at equal pitch. Everything is placed in millimetres
// from the field's stored size, so the boxes stay where the card has them at any zoom or device.
class TPostalCode {
public:
    static constexpr int kDigits = 7;
    // Box size and the gaps after boxes 1 to 6, in 0.1 mm.
    static constexpr int kBoxWidth = 57;
    static constexpr int kBoxHeight = 80;
    static constexpr std::array<int, kDigits - 1> kGaps{13, 13, 19, 11, 11, 11};
    // Height of a digit's ink in a box, and where the hyphen lies below the box tops (0.1 mm).
    static constexpr int kDigitHeight = 50;
    static constexpr int kHyphenDrop = 40;

    // The seven digits of "123-4567", "１２３－４５６７" or "1234567"; empty for anything else.
    static QString Digits(const QString& value);
    // The boxes of a field of storeSize (0.1 mm) drawn into target: nominal edges, the inside of the frame.
    static std::array<QRectF, kDigits> Boxes(const QRectF& target, QSize storeSize);
    // The value in its layout: a digit per box, at equal pitch, or as given (one line, shrunk to fit)
    // when it is not seven digits. pointSize is the field's, used at equal pitch.
    static void DrawValue(QPainter& canvas, const QRectF& target, QSize storeSize, const QString& value,
                          TObjectExtras::TPostalLayout layout, const QFont& face, const QColor& color, int pointSize);
    // The boxes: a thin guide while editing, or the red frames and hyphen a card has printed.
    static void DrawBoxes(QPainter& canvas, const QRectF& target, QSize storeSize, bool printed);
    // The warning for a record whose postal code cannot go into the boxes.
    static QString Warning(const QString& key, const QString& value);
};
