#pragma once

#include "platform/Rect.h"

#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

class TTextCanvas;

// The parts of an addressee's name.
struct TNameParts {
    QString Family;
    QString Given;
    QString Joint1;
    QString Joint2;
    QString Honorific; // empty means 様
};

// The name on the address side of a postcard. Vertical: one column reading family name, a gap,
// given name, a gap and the honorific; each joint given name gets a column to the left, starting
// level with the main given name and followed by the honorific level with the main one.
// Horizontal: the same in rows, joint names below. Sizes are those of the canvas as set.
class TNameBlock {
public:
    struct TPlaced {
        char32_t Char = 0;
        int X = 0; // vertical: the column's right edge; horizontal: the cell's left edge
        int Y = 0;
    };

    explicit TNameBlock(const TNameParts& parts);

    // The main name, then each joint given name with its honorific: one line per column or row.
    QStringList Lines() const;
    // The block's width and height in pixels.
    QSize Extent(TTextCanvas& canvas, bool vertical) const;
    // The largest point size up to maxSize at which the block fits box; 1 at least. Leaves the
    // canvas at that size.
    int FitSize(TTextCanvas& canvas, bool vertical, QSize box, int maxSize) const;
    // Every character of Lines() in order, placed in box: the main column centred across the box
    // (moved only as far as the joint names need), the block set along it by align (0 start,
    // 1 middle, 2 end).
    std::vector<TPlaced> Place(TTextCanvas& canvas, bool vertical, const TRect& box, int align) const;

private:
    struct TMeasure {
        int Gap = 0;
        int Pitch = 0;
        int Height = 0;
        int GivenAt = 0;
        int HonorificAt = 0;
        int Length = 0;
    };
    TMeasure Measure(TTextCanvas& canvas) const;

    std::u32string fFamily;
    std::u32string fGiven;
    std::u32string fHonorific;
    std::vector<std::u32string> fJoints; // only those not empty
};
