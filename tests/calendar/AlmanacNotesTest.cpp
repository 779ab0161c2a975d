#include "calendar/AlmanacNotes.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TAlmanacNotes::TDayNotes SampleNotes() {
    return {{QStringLiteral("大安"), 1, false, true}, {QStringLiteral("おばあちゃんの誕生日（88）"), 2, true},
            {QStringLiteral("立春"), 3, false},       {QStringLiteral("八十八夜"), 4, true},
            {QStringLiteral("満月"), 5, false},       {QStringLiteral("旧12/3"), 6, false}};
}

} // namespace

// Whatever the cell and wherever its number stands, a note never touches the number or another
// note and never leaves the cell; a cell with room keeps every note.
TEST(AlmanacNotesTest, NotesStayClearOfTheNumberAtEveryCellSize) {
    QFont numberFont(QStringLiteral("IPAGothic"));
    numberFont.setPixelSize(22);
    QFont noteFont(QStringLiteral("IPAGothic"));
    noteFont.setPixelSize(9);
    const QFontMetrics numberMetrics(numberFont), fm(noteFont);
    struct TCell {
        QSize Size;
        bool Roomy;
    };
    const TCell cells[] = {{{12, 10}, false},  {{30, 24}, false}, {{45, 300}, false},
                           {{600, 28}, false}, {{900, 40}, true}, {{220, 160}, true}};
    const TAlmanacNotes::TDayNotes notes = SampleNotes();
    for (const TCell& c : cells)
        for (int side = 0; side < 3; ++side)
            for (int longPos = 0; longPos < 3; ++longPos) {
                const QRect cell(QPoint(40, 70), c.Size);
                const int tw = numberMetrics.horizontalAdvance(QStringLiteral("28")), th = numberMetrics.height();
                const int x = side == 0   ? cell.left() + 2
                              : side == 2 ? cell.right() - tw - 2
                                          : cell.center().x() - tw / 2;
                const int y = longPos == 0   ? cell.top() + 2
                              : longPos == 2 ? cell.bottom() - th - 2
                                             : cell.center().y() - th / 2;
                const TAlmanacNotes::TNumberPlace number{QRect(x, y, tw, th), side, longPos};
                const auto placed = TAlmanacNotes::Place(cell, number, notes, fm);
                const QString where = QStringLiteral("%1x%2 side %3 long %4")
                                          .arg(c.Size.width())
                                          .arg(c.Size.height())
                                          .arg(side)
                                          .arg(longPos);
                for (size_t i = 0; i < placed.size(); ++i) {
                    EXPECT_TRUE(cell.contains(placed[i].Rect)) << qPrintable(where);
                    EXPECT_FALSE(placed[i].Rect.intersects(number.Box)) << qPrintable(where);
                    for (size_t j = 0; j < i; ++j)
                        EXPECT_FALSE(placed[i].Rect.intersects(placed[j].Rect)) << qPrintable(where);
                }
                // The middle of a roomy cell leaves room above and below a centred number.
                if (c.Roomy && longPos != 1) {
                    EXPECT_EQ(placed.size(), notes.size()) << qPrintable(where);
                }
            }
}
