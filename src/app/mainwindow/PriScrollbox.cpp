#include "app/mainwindow/PriScrollbox.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace {

constexpr int kNotch = 120; // angle units of one wheel notch

// Whole notches out of the running total; a turn the other way drops what was left over.
int TakeNotches(int& rest, int delta) {
    if ((rest > 0 && delta < 0) || (rest < 0 && delta > 0)) rest = 0;
    rest += delta;
    const int notches = rest / kNotch;
    rest -= notches * kNotch;
    return notches;
}

} // namespace

TPriScrollbox::TPriScrollbox(QWidget* parent) : QScrollArea(parent) {
    setWidgetResizable(false);
    auto content = std::make_unique<QWidget>();
    content->setAutoFillBackground(true);
    fContent = content.get();
    setWidget(content.release()); // the scroll area owns it from here
    viewport()->setAutoFillBackground(true);
    SetColor(FColor);

    // QScrollArea moved the content before these run, so a handler sees the new view.
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit HorzScroll(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit VertScroll(); });

    fContent->installEventFilter(this);
    viewport()->installEventFilter(this);
    horizontalScrollBar()->installEventFilter(this);
    verticalScrollBar()->installEventFilter(this);
}

QSize TPriScrollbox::ContentSize() const {
    return fContent->size();
}

void TPriScrollbox::SetContentSize(QSize size) {
    fContent->resize(size.expandedTo(QSize(0, 0)));
}

void TPriScrollbox::FitContentToChildren() {
    const QRect r = fContent->childrenRect();
    SetContentSize(r.isValid() ? QSize(r.right() + 1, r.bottom() + 1) : QSize(0, 0));
}

void TPriScrollbox::SetColor(TColor value) {
    FColor = value;
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, ColorToQColor(value));
    viewport()->setPalette(pal);
    fContent->setPalette(pal);
}

int TPriScrollbox::HorzPosition() const {
    return horizontalScrollBar()->value();
}

void TPriScrollbox::SetHorzPosition(int value) {
    horizontalScrollBar()->setValue(value);
}

int TPriScrollbox::VertPosition() const {
    return verticalScrollBar()->value();
}

void TPriScrollbox::SetVertPosition(int value) {
    verticalScrollBar()->setValue(value);
}

int TPriScrollbox::ScrollBarExtent() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
}

QPoint TPriScrollbox::ViewPos(const QWidget* child) const {
    return child->mapTo(viewport(), QPoint(0, 0));
}

void TPriScrollbox::SetViewPos(QWidget* child, QPoint pos) {
    QWidget* parent = child->parentWidget();
    child->move(parent == viewport() ? pos : parent->mapFrom(viewport(), pos));
}

void TPriScrollbox::SetViewLeft(QWidget* child, int left) {
    SetViewPos(child, QPoint(left, ViewPos(child).y()));
}

void TPriScrollbox::SetViewTop(QWidget* child, int top) {
    SetViewPos(child, QPoint(ViewPos(child).x(), top));
}

void TPriScrollbox::PinRulers(QWidget* horzRuler, QWidget* vertRuler) {
    // A surface made after the rulers (a new document) would otherwise cover them; the
    // horizontal ruler lies over the vertical one where they cross.
    if (vertRuler) {
        SetViewLeft(vertRuler, 0);
        vertRuler->raise();
    }
    if (horzRuler) {
        SetViewTop(horzRuler, 0);
        horzRuler->raise();
    }
}

void TPriScrollbox::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        // A sideways wheel or swipe scrolls sideways as usual.
        QScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        // The event may come from a scroll bar: the pointer is told in the viewport's coordinates.
        if (const int notches = TakeNotches(fZoomRest, delta))
            emit ZoomStep(notches, viewport()->mapFromGlobal(event->globalPosition()).toPoint());
        return;
    }
    // Wheel up moves the page down into view: the position goes back 10 pixels per notch.
    if (const int notches = TakeNotches(fWheelRest, delta)) SetVertPosition(VertPosition() - notches * kWheelStep);
}

bool TPriScrollbox::IsEmptyAt(QObject* watched, QPoint pos) const {
    return static_cast<QWidget*>(watched)->childAt(pos) == nullptr;
}

bool TPriScrollbox::eventFilter(QObject* watched, QEvent* event) {
    const bool bar = watched == horizontalScrollBar() || watched == verticalScrollBar();
    if (bar && event->type() == QEvent::Wheel && static_cast<QWheelEvent*>(event)->angleDelta().y() != 0) {
        // The wheel over a scroll bar steps the page like anywhere else in the box.
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched != fContent && watched != viewport()) return QScrollArea::eventFilter(watched, event);
    // A press that a child ignored reaches here too; only a spot with no child counts as empty.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && IsEmptyAt(watched, me->position().toPoint())) fEmptyPressed = true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton && fEmptyPressed) {
            fEmptyPressed = false;
            if (IsEmptyAt(watched, me->position().toPoint())) emit EmptyAreaClicked();
        }
    }
    return QScrollArea::eventFilter(watched, event);
}
