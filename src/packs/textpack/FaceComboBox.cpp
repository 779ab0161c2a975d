#include "FaceComboBox.h"

#include <QFontDatabase>
#include <QLineEdit>

TFaceComboBox::TFaceComboBox(const QString& current, QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(14);
    // The faces templates name; the program maps them to the installed IPA faces.
    QStringList faces{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ 明朝"),
                      QStringLiteral("ＭＳ Ｐ明朝")};
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')) && !faces.contains(family)) faces << family;
    // A vertical "@" face stands for its horizontal face here; the writing direction is set apart.
    const QString shown = current.startsWith(QLatin1Char('@')) ? current.mid(1) : current;
    if (!shown.isEmpty() && !faces.contains(shown)) faces.prepend(shown);
    addItems(faces);
    setCurrentText(shown);
}
