#pragma once

#include "objects/ObjectExtras.h"
#include "platform/Color.h"

#include <QHash>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

class QFontMetrics;

// The small notes of a calendar's day cells (rokuyō, solar terms, moon, the family's days …) and
// where they go in a cell: around the day number, never over it, the least wanted dropped first.
class TAlmanacNotes {
public:
    struct TNote {
        QString Text;
        TColor Color = 0;
        // A name may be cut short with "…"; a fixed word such as 大安 is shown whole or not at all.
        bool Elidable = false;
        // Wants the number's own row, beside it, when there is room.
        bool Beside = false;
    };
    using TDayNotes = std::vector<TNote>;
    struct TPlaced {
        QString Text;
        TColor Color = 0;
        QRect Rect;
    };
    // Where the number stands in its cell: 0 left / top, 1 centre, 2 right / bottom.
    struct TNumberPlace {
        QRect Box;
        int Side = 0;
        int Long = 0;
    };

    // The notes of each day of a month (index = day, 1..31; 0 unused), most wanted first; empty
    // when the options show none or the almanac does not know the year.
    static std::array<TDayNotes, 32> OfMonth(int year, int month, const TObjectExtras& extras);

    // Lays the notes of one day into the cell. Wide, low cells (one column of a month) take them
    // in a row after the number; others stack them from the edge away from the number, and a note
    // marked Beside may share the number's row. A note that would touch the number or leave the
    // cell is dropped; the rest go on.
    // widths, when given, keeps the measured width of each text for the next cell.
    static std::vector<TPlaced> Place(const QRect& cell, const TNumberPlace& number, const TDayNotes& notes,
                                      const QFontMetrics& metrics, QHash<QString, int>* widths = nullptr);
};
