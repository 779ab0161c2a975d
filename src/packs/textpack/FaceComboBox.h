#pragma once

#include <QComboBox>

// An editable list of the faces of TFontMap::Faces, the object's own face added when missing.
class TFaceComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFaceComboBox(const QString& current, QWidget* parent = nullptr);

    // The face as typed or chosen, without surrounding spaces.
    QString Face() const { return currentText().trimmed(); }
};
