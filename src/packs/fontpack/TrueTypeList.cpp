#include "TrueTypeList.h"

#include "platform/FontMap.h"

#include <QSet>

QStringList TTrueTypeList::Families(bool vertical) {
    // Only the database's family lists and flags: nothing is rasterised, so this stays quick
    // with hundreds of installed fonts.
    int japanese = 0;
    QStringList all = TFontMap::Faces(&japanese);
    if (!vertical) return all;
    for (int i = 0; i < japanese; ++i)
        all << QLatin1Char('@') + all.at(i);
    return all;
}

void TTrueTypeList::Fill(QStringList& items, int mode, bool horizontalOnly) {
    const QStringList families = Families(!horizontalOnly);
    if (mode == 0) {
        items = families;
        return;
    }
    QSet<QString> present(items.begin(), items.end());
    for (const QString& family : families)
        if (!present.contains(family)) {
            items << family;
            present.insert(family);
        }
}
