#include "platform/FontMap.h"

#include <QFont>
#include <QFontDatabase>
#include <QSet>
#include <array>

namespace {

struct TFaceAlias {
    const char16_t* Windows;
    const char* Ipa;
};

constexpr std::array<TFaceAlias, 12> kAliases{{
    {u"ＭＳ Ｐゴシック", "IPAPGothic"},
    {u"ＭＳ ゴシック", "IPAGothic"},
    {u"ＭＳ Ｐ明朝", "IPAPMincho"},
    {u"ＭＳ 明朝", "IPAMincho"},
    {u"MS PGothic", "IPAPGothic"},
    {u"MS Gothic", "IPAGothic"},
    {u"MS PMincho", "IPAPMincho"},
    {u"MS Mincho", "IPAMincho"},
    {u"ＭＳ ＵＩ ゴシック", "IPAPGothic"},
    {u"MS UI Gothic", "IPAPGothic"},
    {u"ＭＳゴシック", "IPAGothic"},
    {u"ＭＳ明朝", "IPAMincho"},
}};

} // namespace

void TFontMap::Install() {
    static const bool installed = [] {
        for (const TFaceAlias& a : kAliases) {
            const QString win = QString::fromUtf16(a.Windows);
            QFont::insertSubstitution(win, QString::fromLatin1(a.Ipa));
            QFont::insertSubstitution(QLatin1Char('@') + win, QString::fromLatin1(a.Ipa));
        }
        return true;
    }();
    (void)installed;
}

QString TFontMap::ResolveFace(const QString& faceName) {
    const QString face = IsVerticalFace(faceName) ? faceName.mid(1) : faceName;
    for (const TFaceAlias& a : kAliases)
        if (face.compare(QString::fromUtf16(a.Windows), Qt::CaseInsensitive) == 0) return QString::fromLatin1(a.Ipa);
    return face;
}

QStringList TFontMap::Faces(int* japaneseCount) {
    // The faces the shipped templates name; the IPA faces stand in for them.
    QStringList faces{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ 明朝"),
                      QStringLiteral("ＭＳ Ｐ明朝")};
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    const QSet<QString> japaneseSet(japanese.begin(), japanese.end());
    QSet<QString> seen(faces.begin(), faces.end());
    QStringList rest;
    for (const QString& listed : QFontDatabase::families()) {
        if (listed.isEmpty() || IsVerticalFace(listed)) continue;
        if (QFontDatabase::isPrivateFamily(listed) || !QFontDatabase::isScalable(listed)) continue;
        // A family several foundries provide is listed once per foundry as "Family [Foundry]".
        const qsizetype bracket = listed.indexOf(QLatin1String(" ["));
        const QString family = bracket > 0 && listed.endsWith(QLatin1Char(']')) ? listed.left(bracket) : listed;
        if (seen.contains(family)) continue;
        seen.insert(family);
        (japaneseSet.contains(listed) ? faces : rest) << family;
    }
    if (japaneseCount) *japaneseCount = int(faces.size());
    return faces + rest;
}
