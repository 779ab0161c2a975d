#pragma once

#include <QString>
#include <QStringList>

// Files name the Windows faces ("ＭＳ Ｐゴシック" ...). Here the metric-compatible IPA faces
// stand in for them; fontconfig alone would pick DejaVu Sans.
class TFontMap {
public:
    // Installs the face substitutions once per process; later calls do nothing.
    static void Install();
    // The face to draw with for a face name from a file; a leading "@" (vertical face) is dropped.
    static QString ResolveFace(const QString& faceName);
    // A face name beginning with "@" asks for vertical writing.
    static bool IsVerticalFace(const QString& faceName) { return faceName.startsWith(QLatin1Char('@')); }
    // The faces every font box offers: the Windows faces templates name, then the installed families that
    // can write Japanese, then the others; each family once, whatever foundries provide it. japaneseCount
    // takes the length of the leading part that writes Japanese.
    static QStringList Faces(int* japaneseCount = nullptr);
};
