#include "app/mainwindow/PriRuler.h"

#include "objects/VerticalText.h"
#include "platform/FontMap.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

using Int128 = __int128;

// System colours of a raised edge: button highlight and button shadow.
constexpr TColor kBtnHighlight = static_cast<TColor>(0x80000014);
constexpr TColor kBtnShadow = static_cast<TColor>(0x80000010);

// A damaged paper size must not make one repaint walk millions of ticks.
constexpr int64_t kMaxTicks = 100000;

// Long/medium/short and the centimetre number of tick n for each spacing.
void Classify(TBltUnit unit, int64_t n, int& level, int64_t& number) {
    number = -1;
    switch (unit) {
    case bu10mm:
        level = n % 10 == 0 ? 1 : (n % 5 == 0 ? 2 : 3);
        if (n % 10 == 0) number = n / 10;
        break;
    case bu20mm:
        level = n % 5 == 0 ? 1 : 3;
        if (n % 5 == 0) number = n / 5;
        break;
    case bu25mm:
        level = n % 4 == 0 ? 1 : (n % 4 == 2 ? 2 : 3);
        if (n % 4 == 0) number = n / 4;
        break;
    case bu50mm:
        level = n % 2 == 0 ? 1 : 2;
        if (n % 2 == 0) number = n / 2;
        break;
    case bu100mm:
        level = 1;
        number = n;
        break;
    }
}

} // namespace

TPriRuler::TPriRuler(QWidget* parent, int screenInch) : QWidget(parent), fScreenInch(screenInch > 0 ? screenInch : 96) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPriRuler::SetBltVec(TBltVec value) {
    FBltVec = value;
    update();
}

void TPriRuler::SetBltStart(int value) {
    FBltStart = value;
    update();
}

void TPriRuler::SetBackSize(int value) {
    FBackSize = value;
    update();
}

void TPriRuler::SetBltSameSize(int value) {
    FBltSameSize = value;
    update();
}

void TPriRuler::SetBltmmSize(int value) {
    FBltmmSize = value;
    update();
}

void TPriRuler::SetBltStrCheck(bool value) {
    FBltStrCheck = value;
    update();
}

void TPriRuler::SetBltUnit(TBltUnit value) {
    FBltUnit = value;
    update();
}

void TPriRuler::SetTextColor(TColor value) {
    FTextColor = value;
    update();
}

void TPriRuler::SetColor(TColor value) {
    FColor = value;
    update();
}

void TPriRuler::SetScreenInch(int value) {
    if (value > 0) fScreenInch = value;
    update();
}

void TPriRuler::SetPointerMark(QPoint point) {
    FPointerMark = point;
    update();
}

int TPriRuler::UnitSpacing(TBltUnit unit) {
    switch (unit) {
    case bu10mm: return 10;
    case bu20mm: return 20;
    case bu25mm: return 25;
    case bu50mm: return 50;
    case bu100mm: return 100;
    }
    return 25;
}

TRulerScale TPriRuler::Scale() const {
    return TRulerScale{FBltUnit, FBltStart, FBackSize, FBltSameSize, FBltmmSize, fScreenInch};
}

std::vector<TRulerTick> TPriRuler::ComputeTicks(const TRulerScale& scale, int lowPos, int highPos) {
    std::vector<TRulerTick> ticks;
    if (scale.BltSameSize <= 0 || scale.BltmmSize <= 0 || scale.BackSize <= 0 || scale.ScreenInch <= 0) return ticks;
    if (lowPos > highPos) return ticks;
    const int u = UnitSpacing(scale.Unit);
    const int64_t last = scale.BltmmSize / u;
    // Trunc(BackSize / BltSameSize × (n·u / 254 × ppi)) computed exactly, so a tick that falls on a
    // whole pixel never slips one pixel back through rounding.
    const Int128 num = Int128(scale.BackSize) * u * scale.ScreenInch;
    const Int128 den = Int128(scale.BltSameSize) * 254;
    auto pos = [&](int64_t n) { return num * n / den + scale.BltStart; };

    // Positions never decrease with n: find the first tick at or after lowPos and the last at or before highPos.
    int64_t lo = 0, hi = last + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (pos(mid) < lowPos)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int64_t first = lo;
    lo = first;
    hi = last + 1;
    while (lo < hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (pos(mid) <= highPos)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int64_t end = std::min(lo, first + kMaxTicks);
    ticks.reserve(static_cast<size_t>(std::max<int64_t>(0, end - first)));
    for (int64_t n = first; n < end; ++n) {
        TRulerTick t;
        t.N = static_cast<int>(n);
        t.Pos = static_cast<int>(pos(n));
        int64_t number = -1;
        Classify(scale.Unit, n, t.Level, number);
        if (number >= 0) t.Text = QString::number(number);
        ticks.push_back(std::move(t));
    }
    return ticks;
}

QString TPriRuler::NumberFaceName() const {
    const QString face = font().family();
    if (FBltVec == bvHorz) return face;
    // One at sign only, however often the ruler repaints.
    return TFontMap::IsVerticalFace(face) ? face : QLatin1Char('@') + face;
}

void TPriRuler::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width(), h = height();
    painter.fillRect(rect(), ColorToQColor(FColor));
    const QColor light = ColorToQColor(kBtnHighlight), dark = ColorToQColor(kBtnShadow);
    painter.fillRect(0, 0, w, 1, light);
    painter.fillRect(0, 0, 1, h, light);
    painter.fillRect(0, h - 1, w, 1, dark);
    painter.fillRect(w - 1, 0, 1, h, dark);

    const bool horz = FBltVec == bvHorz;
    const QColor ink = ColorToQColor(FTextColor);
    const int thickness = horz ? h : w;
    const int length = horz ? w : h;
    const int q = thickness / 4;

    const QString face = NumberFaceName();
    QFont numberFont(TFontMap::ResolveFace(face));
    numberFont.setPixelSize((9 * fScreenInch + 36) / 72);
    // A number starts 5 pixels after its tick; one whose tick lies just before the edge still shows its tail.
    const int reach = QFontMetrics(numberFont).horizontalAdvance(QStringLiteral("0000")) + 5;
    const std::vector<TRulerTick> ticks = ComputeTicks(Scale(), -reach, length);
    if (!ticks.empty() && FBltStrCheck) fLastNumberFace = face;
    for (const TRulerTick& t : ticks) {
        const int s = t.Level * q;
        if (horz)
            painter.fillRect(t.Pos, s, 1, h - s, ink);
        else
            painter.fillRect(s, t.Pos, w - s, 1, ink);
        if (FBltStrCheck && !t.Text.isEmpty()) {
            painter.setPen(ink);
            DrawNumber(painter, numberFont, t.Pos, q, t.Text);
        }
    }

    if (horz && FPointerMark.x() >= 0) painter.fillRect(FPointerMark.x() + FBltStart, 0, 1, h, ink);
    if (!horz && FPointerMark.y() >= 0) painter.fillRect(0, FPointerMark.y() + FBltStart, w, 1, ink);
}

// (p + 5, q) is the top-left corner of the number: on the vertical ruler the digits run down the
// ruler turned a quarter clockwise, as the vertical face writes half-width characters.
void TPriRuler::DrawNumber(QPainter& painter, const QFont& font, int p, int q, const QString& text) {
    if (FBltVec == bvHorz) {
        painter.setFont(font);
        painter.drawText(p + 5, q + QFontMetrics(font).ascent(), text);
        return;
    }
    const std::shared_ptr<TVerticalText> vertical = TVerticalText::For(font);
    vertical->DrawColumn(painter, q + vertical->ColumnWidth(), p + 5, text.toStdU32String());
}

void TPriRuler::mousePressEvent(QMouseEvent* event) {
    // A press on the ruler is the ruler's own, not a click on the empty scroll box around it.
    fPressed = event->button() == Qt::LeftButton;
    event->accept();
}

void TPriRuler::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = fPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    fPressed = false;
    event->accept();
    if (click) emit Clicked();
}
