#include "ColorButton.h"

#include <QColorDialog>
#include <algorithm>
#include <QPainter>
#include <QPixmap>

TColorButton::TColorButton(const QString& text, const QString& chooserTitle, QWidget* parent)
    : QPushButton(text, parent), fChooserTitle(chooserTitle) {
    setAccessibleName(chooserTitle);
    setToolTip(chooserTitle);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, &TColorButton::Choose);
    UpdateSwatch();
}

void TColorButton::SetColor(TColor color) {
    fColor = color;
    UpdateSwatch();
}

void TColorButton::Choose() {
    // On the stack: nothing of the chooser outlives the pack's call.
    QColorDialog chooser(ColorToQColor(fColor), this);
    chooser.setWindowTitle(fChooserTitle);
    if (chooser.exec() != QDialog::Accepted || !chooser.selectedColor().isValid()) return;
    const TColor chosen = QColorToColor(chooser.selectedColor());
    if (ColorToQColor(chosen) == ColorToQColor(fColor)) return;
    SetColor(chosen);
    emit ColorChanged(chosen);
}

void TColorButton::UpdateSwatch() {
    const int h = std::max(12, fontMetrics().height() - 2);
    QPixmap swatch(h * 2, h);
    swatch.fill(ColorToQColor(fColor));
    QPainter p(&swatch);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(swatch.rect().adjusted(0, 0, -1, -1));
    p.end();
    setIcon(QIcon(swatch));
    setIconSize(swatch.size());
}
