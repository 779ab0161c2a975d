#include "objects/LabelSX.h"

#include "objects/TextCanvas.h"

#include <QMouseEvent>
#include <QPainter>

TLabelSX::TLabelSX(QWidget* parent) : QWidget(parent) {}

void TLabelSX::SetCaption(const QString& value) {
    fCaption = value;
    Fit();
    update();
}

void TLabelSX::SetColor(const QColor& value) {
    fColor = value;
    update();
}

void TLabelSX::SetTransparent(bool value) {
    fTransparent = value;
    update();
}

void TLabelSX::SetAutoSize(bool value) {
    fAutoSize = value;
    Fit();
    update();
}

void TLabelSX::SetAlignment(Qt::Alignment value) {
    fAlignment = value;
    update();
}

void TLabelSX::SetSidePos(TSidePos value) {
    fSidePos = value;
    update();
}

void TLabelSX::SetLongPos(TLongPos value) {
    fLongPos = value;
    update();
}

void TLabelSX::SetBltAngle(int value) {
    switch (value) {
    case 90:
    case 900: fBltAngle = 900; break;
    case 180:
    case 1800: fBltAngle = 1800; break;
    case 270:
    case 2700: fBltAngle = 2700; break;
    default: fBltAngle = 0; break;
    }
    update();
}

QSize TLabelSX::sizeHint() const {
    const QFontMetrics fm(font());
    return fm.size(0, fCaption) + QSize(2, 2);
}

void TLabelSX::Fit() {
    if (fAutoSize) resize(sizeHint());
}

void TLabelSX::SetUpCanvas(TTextCanvas& canvas) const {
    const QFont f = font();
    const int points = f.pointSize() > 0 ? f.pointSize() : qMax(1, f.pixelSize() * 72 / qMax(1, logicalDpiY()));
    canvas.SetFont(f, points, Vertical(), false);
    canvas.SetColor(palette().color(QPalette::WindowText));
    canvas.SetCharExtra(0);
}

QStringList TLabelSX::Lines() {
    TTextCanvas canvas(nullptr, logicalDpiY());
    SetUpCanvas(canvas);
    // The text object's breaking without its line-break rules or numerals.
    TPriLabel breaker;
    QStringList lines;
    breaker.BreakLines(fCaption, Vertical() ? height() : width(), lines, canvas);
    return lines;
}

void TLabelSX::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (fAutoSize) {
        if (!fTransparent) p.fillRect(rect(), fColor);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), int(fAlignment), fCaption);
        return;
    }
    if (!fTransparent) p.fillRect(rect(), fColor);
    if (fCaption.isEmpty()) return;
    const QStringList lines = Lines();
    TTextCanvas canvas(&p, logicalDpiY());
    SetUpCanvas(canvas);
    if (Vertical())
        PaintVertical(canvas, lines);
    else
        PaintHorizontal(canvas, lines);
}

void TLabelSX::DrawSpread(TTextCanvas& canvas, int x, int y, const std::u32string& text, int extra, int remainder,
                          bool down) {
    for (char32_t c : text) {
        canvas.TextOut(x, y, std::u32string_view(&c, 1));
        int step = canvas.CharWidth(c) + extra;
        if (remainder > 0) {
            ++step;
            --remainder;
        } else if (remainder < 0) {
            --step;
            ++remainder;
        }
        (down ? y : x) += step;
    }
}

void TLabelSX::PaintHorizontal(TTextCanvas& canvas, const QStringList& lines) {
    const int n = int(lines.size());
    const int h = canvas.TextHeight();
    const int slack = height() - n * h;
    int y = 0, lineExtra = 0, lineRemainder = 0;
    switch (fLongPos) {
    case tlTop: y = 0; break;
    case tlBottom: y = slack; break;
    case tlCenter: y = slack / 2; break;
    default:
        if (slack < 0)
            y = slack;
        else if (n == 1)
            y = height() / 2 - (n * h) / 2;
        else {
            lineExtra = slack / (n - 1);
            lineRemainder = slack % (n - 1);
        }
        break;
    }
    for (const QString& line : lines) {
        const std::u32string text = line.toStdU32String();
        const int w = canvas.TextWidth(std::u32string_view(text));
        const int count = int(text.size());
        int x = 0, extra = 0, remainder = 0;
        switch (fSidePos) {
        case psLeft: x = 0; break;
        case psRight: x = width() - w; break;
        case psCenter: x = width() / 2 - w / 2; break;
        default:
            if (count <= 1)
                x = width() / 2 - w / 2;
            else {
                extra = (width() - w) / (count - 1);
                remainder = (width() - w) % (count - 1);
            }
            break;
        }
        if (fSidePos == psKintou)
            DrawSpread(canvas, x, y, text, extra, remainder, false);
        else
            canvas.TextOut(x, y, text);
        y += h + lineExtra;
        if (lineRemainder > 0) {
            ++y;
            --lineRemainder;
        }
        if (y > height()) break;
    }
}

void TLabelSX::PaintVertical(TTextCanvas& canvas, const QStringList& lines) {
    const int n = int(lines.size());
    const int h = canvas.TextHeight();
    const int slack = width() - n * h;
    int x = 0, columnExtra = 0, columnRemainder = 0;
    switch (fSidePos) {
    case psLeft: x = n * h; break;
    case psRight: x = width(); break;
    case psCenter: x = (n * h) / 2 + width() / 2; break;
    default:
        if (slack < 0)
            x = n * h;
        else if (n == 1)
            x = width() / 2 + (n * h) / 2;
        else {
            columnExtra = slack / (n - 1);
            columnRemainder = slack % (n - 1);
            x = width();
        }
        break;
    }
    for (const QString& line : lines) {
        if (x + h < 0) break;
        const std::u32string text = line.toStdU32String();
        const int length = canvas.TextWidth(std::u32string_view(text));
        const int count = int(text.size());
        int y = 0, extra = 0, remainder = 0;
        switch (fLongPos) {
        case tlTop: y = 0; break;
        case tlBottom: y = height() - length; break;
        case tlCenter: y = height() / 2 - length / 2; break;
        default:
            if (count <= 1)
                y = height() / 2 - length / 2;
            else {
                extra = (height() - length) / (count - 1);
                remainder = (height() - length) % (count - 1);
            }
            break;
        }
        if (fLongPos == tlKintou)
            DrawSpread(canvas, x, y, text, extra, remainder, true);
        else
            canvas.TextOut(x, y, text);
        x -= h + columnExtra;
        if (columnRemainder > 0) {
            --x;
            --columnRemainder;
        }
    }
}

void TLabelSX::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    QWidget::mouseReleaseEvent(event);
}
