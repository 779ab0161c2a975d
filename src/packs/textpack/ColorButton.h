#pragma once

#include "platform/Color.h"

#include <QPushButton>

// A button showing a colour swatch; clicking it asks for a new colour in the colour chooser.
// A colour the user never changes comes back exactly as it was given (palette flag included).
class TColorButton : public QPushButton {
    Q_OBJECT
public:
    TColorButton(const QString& text, const QString& chooserTitle, QWidget* parent = nullptr);

    TColor Color() const { return fColor; }
    void SetColor(TColor color);

signals:
    void ColorChanged(TColor color);

private:
    void Choose();
    void UpdateSwatch();

    TColor fColor = clBlack;
    QString fChooserTitle;
};
