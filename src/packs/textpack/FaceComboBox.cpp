#include "FaceComboBox.h"

#include "platform/FontMap.h"

#include <QLineEdit>

TFaceComboBox::TFaceComboBox(const QString& current, QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(14);
    // The faces the main window's font box offers too.
    QStringList faces = TFontMap::Faces();
    // A vertical "@" face stands for its horizontal face here; the writing direction is set apart.
    const QString shown = current.startsWith(QLatin1Char('@')) ? current.mid(1) : current;
    if (!shown.isEmpty() && !faces.contains(shown)) faces.prepend(shown);
    addItems(faces);
    setCurrentText(shown);
}
