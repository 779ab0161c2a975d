#pragma once

#include <QStringList>

// The faces the font-name box offers: the same as the dialogs' face boxes (TFontMap::Faces).
class TTrueTypeList {
public:
    // The template faces and the Japanese-capable families first, then the others. With vertical
    // set, each of the first group is also offered once more as its "@" vertical face, after the
    // horizontal names.
    static QStringList Families(bool vertical);
    // mode 0 replaces the list's items; any other mode appends the names it lacks.
    // horizontalOnly true leaves the "@" vertical faces out.
    static void Fill(QStringList& items, int mode, bool horizontalOnly);
};
