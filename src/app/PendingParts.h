#pragma once

// Stand-ins for the parts of the program shell that are being written on other branches. Each
// block gives way to the real header as soon as it is present; the file goes once all have come.

#include "platform/Color.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <functional>
#include <vector>

class QAction;

// Base of the stand-in scroll box: moc cannot see the guards below, so the signals live here.
class TPendingScrollSignals : public QScrollArea {
    Q_OBJECT
public:
    using QScrollArea::QScrollArea;
signals:
    void HorzScroll();
    void VertScroll();
    void ZoomStep(int notches);
    void EmptyAreaClicked();
};

#if __has_include("app/PriScrollbox.h")
#include "app/PriScrollbox.h"
#else
class TPriScrollbox : public TPendingScrollSignals {
public:
    explicit TPriScrollbox(QWidget* parent = nullptr) : TPendingScrollSignals(parent), fContent(new QWidget) {
        setWidget(fContent);
        setWidgetResizable(false);
        fContent->setAutoFillBackground(true);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit HorzScroll(); });
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { emit VertScroll(); });
    }
    QWidget* Content() const { return fContent; }
    void SetContentSize(QSize size) { fContent->resize(size); }

protected:
    void wheelEvent(QWheelEvent* event) override {
        const int notches = event->angleDelta().y() / 120;
        if (event->modifiers() & Qt::ControlModifier) {
            if (notches) emit ZoomStep(notches);
        } else {
            verticalScrollBar()->setValue(verticalScrollBar()->value() - 10 * notches);
        }
        event->accept();
    }

private:
    QWidget* fContent;
};
#endif

#if __has_include("app/PriRuler.h")
#include "app/PriRuler.h"
#else
enum TBltVec { bvHorz, bvVert };
enum TBltUnit { bu10mm, bu20mm, bu25mm, bu50mm, bu100mm };
class TPriRuler : public QWidget {
public:
    using QWidget::QWidget;
    void SetBltVec(TBltVec v) { fVec = v; }
    TBltVec BltVec() const { return fVec; }
    void SetBltStart(int v) { fStart = v; }
    int BltStart() const { return fStart; }
    void SetBackSize(int v) { fBack = v; }
    int BackSize() const { return fBack; }
    void SetBltSameSize(int v) { fSame = v; }
    int BltSameSize() const { return fSame; }
    void SetBltmmSize(int v) { fMm = v; }
    int BltmmSize() const { return fMm; }
    void SetBltStrCheck(bool v) { fStr = v; }
    bool BltStrCheck() const { return fStr; }
    void SetBltUnit(TBltUnit v) { fUnit = v; }
    TBltUnit BltUnit() const { return fUnit; }
    void SetTextColor(TColor v) { fText = v; }
    TColor TextColor() const { return fText; }
    void SetColor(TColor v) { fColor = v; }
    TColor Color() const { return fColor; }
    void SetPointerMark(QPoint p) { fMark = p; }
    QPoint PointerMark() const { return fMark; }

private:
    TBltVec fVec = bvVert;
    int fStart = 0, fBack = 0, fSame = 0, fMm = 0;
    bool fStr = true;
    TBltUnit fUnit = bu25mm;
    TColor fText = 0, fColor = 13160660;
    QPoint fMark{-1, -1};
};
#endif
