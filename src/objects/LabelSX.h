#pragma once

#include "objects/PriLabel.h"

#include <QColor>
#include <QWidget>

class TTextCanvas;

// A label for dialogs that can also write its caption in vertical columns. Captions are broken into lines
// as the text object breaks them (without the line-break rules) and aligned and spread by SidePos and
// LongPos; BltAngle 900 or 2700 turns the writing vertical.
class TLabelSX : public QWidget {
    Q_OBJECT

public:
    explicit TLabelSX(QWidget* parent = nullptr);

    const QString& Caption() const { return fCaption; }
    void SetCaption(const QString& value);
    QColor Color() const { return fColor; }
    void SetColor(const QColor& value);
    bool Transparent() const { return fTransparent; }
    void SetTransparent(bool value);
    bool AutoSize() const { return fAutoSize; }
    void SetAutoSize(bool value);
    Qt::Alignment Alignment() const { return fAlignment; }
    void SetAlignment(Qt::Alignment value);
    TSidePos SidePos() const { return fSidePos; }
    void SetSidePos(TSidePos value);
    TLongPos LongPos() const { return fLongPos; }
    void SetLongPos(TLongPos value);
    int BltAngle() const { return fBltAngle; }
    // 90 and 900 give 900, 180 and 1800 give 1800, 270 and 2700 give 2700, anything else 0.
    void SetBltAngle(int value);
    bool Vertical() const { return fBltAngle != 0 && fBltAngle != 1800; }

    // The caption's lines as painting breaks them for the current size.
    QStringList Lines();

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetUpCanvas(TTextCanvas& canvas) const;
    void PaintHorizontal(TTextCanvas& canvas, const QStringList& lines);
    void PaintVertical(TTextCanvas& canvas, const QStringList& lines);
    // Draws character by character, spreading extra and a remainder of single pixels.
    static void DrawSpread(TTextCanvas& canvas, int x, int y, const std::u32string& text, int extra, int remainder,
                           bool down);
    void Fit();

    QString fCaption;
    QColor fColor = Qt::white;
    bool fTransparent = false;
    bool fAutoSize = false;
    Qt::Alignment fAlignment = Qt::AlignLeft | Qt::AlignTop;
    TSidePos fSidePos = psLeft;
    TLongPos fLongPos = tlTop;
    int fBltAngle = 0;
};
