#include "TrueTypeList.h"

#include <QFontDatabase>
#include <QSet>

QStringList TTrueTypeList::Families(bool vertical) {
    // Only the database's family lists and flags: nothing is rasterised, so this stays quick
    // with hundreds of installed fonts.
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const QSet<QString> japaneseSet(japanese.begin(), japanese.end());
    QStringList first, rest, verticals;
    for (const QString& family : QFontDatabase::families()) {
        if (family.isEmpty() || family.startsWith(QLatin1Char('@'))) continue;
        if (QFontDatabase::isPrivateFamily(family) || !QFontDatabase::isScalable(family)) continue;
        if (japaneseSet.contains(family)) {
            first << family;
            verticals << QLatin1Char('@') + family;
        } else {
            rest << family;
        }
    }
    QStringList all = first + rest;
    if (vertical) all += verticals;
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
