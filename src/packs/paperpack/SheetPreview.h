#pragma once

#include "print/CardSheet.h"

#include <QWidget>

// The sheet drawn to scale with its seats, so a wrong offset or gap shows before printing.
class TSheetPreview : public QWidget {
public:
    explicit TSheetPreview(QWidget* parent = nullptr);
    // Landscape turns a single sheet on its side, as the page will lie.
    void SetSheet(const TCardSheet& sheet, bool landscape = false);
    void Clear();
    QSize sizeHint() const override { return {220, 280}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    TCardSheet fSheet;
    bool fLandscape = false;
    bool fEmpty = true;
};
