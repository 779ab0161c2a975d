#pragma once

#include <QStringList>

// The installed scalable font families, as the font-name box offers them.
class TTrueTypeList {
public:
    // Japanese-capable families first, then the others, each group in the font database's order.
    // Private and bitmap-only families are left out; with vertical set, every Japanese-capable
    // family is also offered once more as its "@" vertical face, after the horizontal names.
    static QStringList Families(bool vertical);
    // mode 0 replaces the list's items; any other mode appends the names it lacks.
    // horizontalOnly true leaves the "@" vertical faces out.
    static void Fill(QStringList& items, int mode, bool horizontalOnly);
};
