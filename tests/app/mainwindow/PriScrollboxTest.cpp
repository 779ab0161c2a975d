#include "app/mainwindow/PriRuler.h"
#include "app/mainwindow/PriScrollbox.h"
#include "document/PriPaint.h"
#include "support/FixedPrinter.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

const QColor kPageColor(255, 255, 255);
const QColor kVertRulerColor(10, 200, 10);
const QColor kHorzRulerColor(10, 10, 200);

// The main window's arrangement: the horizontal ruler on top, the vertical one below it on the
// left, the page 10 pixels in from both, each scroll putting the rulers back at the edges.
struct TBoxFixture {
    TPriScrollbox box;
    QWidget* page;
    TPriRuler* horz;
    TPriRuler* vert;

    explicit TBoxFixture(QSize pageSize, QSize boxSize = QSize(300, 200)) {
        horz = new TPriRuler(box.Content());
        horz->SetBltVec(bvHorz);
        horz->SetColor(QColorToColor(kHorzRulerColor));
        horz->setGeometry(0, 0, 35 + pageSize.width(), 25);
        vert = new TPriRuler(box.Content());
        vert->SetColor(QColorToColor(kVertRulerColor));
        vert->setGeometry(0, 25, 25, pageSize.height() + 10);
        // The page made last, as a new document's surface is: it must still lie under the rulers.
        page = new QWidget(box.Content());
        page->setAutoFillBackground(true);
        QPalette pal = page->palette();
        pal.setColor(QPalette::Window, kPageColor);
        page->setPalette(pal);
        page->setGeometry(QRect(QPoint(35, 35), pageSize));
        box.SetContentSize(pageSize + QSize(45, 45));
        QObject::connect(&box, &TPriScrollbox::HorzScroll, [this] { box.PinRulers(horz, vert); });
        QObject::connect(&box, &TPriScrollbox::VertScroll, [this] { box.PinRulers(horz, vert); });
        box.resize(boxSize);
        box.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    QColor ViewPixel(QPoint p) { return box.viewport()->grab().toImage().pixelColor(p); }
};

// Delivers a wheel event the way Qt hands a real one on: to the widget under the pointer, then
// to each parent while it is ignored. (Synthesized wheel events are not handed on by Qt itself.)
void Wheel(QWidget* target, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool sideways = false) {
    QPointF pos(target->width() / 2.0, target->height() / 2.0);
    for (QWidget* w = target; w; w = w->parentWidget()) {
        QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), sideways ? QPoint(delta, 0) : QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
        if (event.isAccepted() || w->isWindow()) return;
        pos = w->mapToParent(pos);
    }
}

} // namespace

// Real scroll bar moves: the page goes under the rulers, which stay at the visible edges.
TEST(PriScrollboxTest, RulersStayAtTheVisibleEdges) {
    TBoxFixture f(QSize(900, 700));
    QSignalSpy horzSpy(&f.box, &TPriScrollbox::HorzScroll), vertSpy(&f.box, &TPriScrollbox::VertScroll);

    f.box.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    const int h = f.box.HorzPosition();
    ASSERT_GT(h, 0);
    EXPECT_EQ(horzSpy.count(), 1);
    EXPECT_EQ(vertSpy.count(), 0);
    EXPECT_EQ(f.box.ViewPos(f.page), QPoint(35 - h, 35));
    EXPECT_EQ(f.box.ViewPos(f.vert), QPoint(0, 25));
    EXPECT_EQ(f.box.ViewPos(f.horz), QPoint(-h, 0)); // moves along with the page

    f.box.setFocus();
    QTest::keyClick(&f.box, Qt::Key_PageDown);
    const int v = f.box.VertPosition();
    ASSERT_GT(v, 0);
    EXPECT_EQ(vertSpy.count(), 1);
    EXPECT_EQ(f.box.ViewPos(f.page), QPoint(35 - h, 35 - v));
    EXPECT_EQ(f.box.ViewPos(f.horz), QPoint(-h, 0));
    EXPECT_EQ(f.box.ViewPos(f.vert), QPoint(0, 25 - v));

    // What the user sees: ruler colour along both edges, the page elsewhere.
    EXPECT_EQ(f.ViewPixel(QPoint(3, 150)), kVertRulerColor);
    EXPECT_EQ(f.ViewPixel(QPoint(150, 3)), kHorzRulerColor);
    EXPECT_EQ(f.ViewPixel(QPoint(150, 100)), kPageColor);

    // Dragging back to the start puts everything where it was laid out.
    f.box.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    f.box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(f.box.ViewPos(f.horz), QPoint(0, 0));
    EXPECT_EQ(f.box.ViewPos(f.vert), QPoint(0, 25));
    EXPECT_EQ(f.box.ViewPos(f.page), QPoint(35, 35));
}

// One notch is 10 pixels at every zoom; half notches add up; Ctrl+wheel is a zoom step instead.
TEST(PriScrollboxTest, WheelStepsTenPixelsPerNotch) {
    for (int zoom : {1, 2, 3}) {
        SCOPED_TRACE(zoom);
        TBoxFixture f(QSize(793, 1122) * zoom);
        QSignalSpy vertSpy(&f.box, &TPriScrollbox::VertScroll), zoomSpy(&f.box, &TPriScrollbox::ZoomStep);
        Wheel(f.page, -120); // down, over the page
        EXPECT_EQ(f.box.VertPosition(), 10);
        EXPECT_EQ(vertSpy.count(), 1);
        EXPECT_EQ(f.box.ViewPos(f.horz).y(), 0);
        Wheel(f.vert, -360); // three notches at once, over a ruler
        EXPECT_EQ(f.box.VertPosition(), 40);
        Wheel(f.page, -60); // a high-resolution wheel: nothing until a whole notch
        EXPECT_EQ(f.box.VertPosition(), 40);
        Wheel(f.page, -60);
        EXPECT_EQ(f.box.VertPosition(), 50);
        Wheel(f.box.horizontalScrollBar(), 120); // up, over a scroll bar
        EXPECT_EQ(f.box.VertPosition(), 40);
        Wheel(f.box.verticalScrollBar(), 120);
        EXPECT_EQ(f.box.VertPosition(), 30);
        EXPECT_EQ(f.box.HorzPosition(), 0);
        Wheel(f.page, -120, Qt::NoModifier, true); // a sideways wheel scrolls sideways, the Qt way
        EXPECT_GT(f.box.HorzPosition(), 0);
        EXPECT_EQ(f.box.VertPosition(), 30);
        EXPECT_EQ(f.box.ViewPos(f.vert).x(), 0);

        Wheel(f.page, 120, Qt::ControlModifier);
        Wheel(f.page, -60, Qt::ControlModifier);
        Wheel(f.page, -60, Qt::ControlModifier);
        EXPECT_EQ(f.box.VertPosition(), 30);
        ASSERT_EQ(zoomSpy.count(), 2);
        EXPECT_EQ(zoomSpy[0][0].toInt(), 1);
        EXPECT_EQ(zoomSpy[1][0].toInt(), -1);
    }
}

TEST(PriScrollboxTest, OnlyClicksOnTheEmptyAreaReportThemselves) {
    TBoxFixture f(QSize(300, 200), QSize(500, 400));
    QSignalSpy spy(&f.box, &TPriScrollbox::EmptyAreaClicked);
    QTest::mouseClick(f.page, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(f.horz, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseClick(f.vert, Qt::LeftButton, {}, QPoint(10, 50));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(f.box.Content(), Qt::RightButton, {}, QPoint(340, 240));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseClick(f.box.Content(), Qt::LeftButton, {}, QPoint(340, 240)); // beside the page
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(f.box.viewport(), Qt::LeftButton, {}, QPoint(450, 350)); // beyond the content
    EXPECT_EQ(spy.count(), 2);
}

// A picture to look at: xvfb-run -a env QT_QPA_PLATFORM=xcb build/tests/komorebi_tests
// --gtest_also_run_disabled_tests --gtest_filter='*BoxPicture*' writes /tmp/komorebi-box-*.png: an A4
// page at 200 % with both rulers, at the start and scrolled.
TEST(PriScrollboxTest, DISABLED_BoxPicture) {
    TPriScrollbox box;
    box.setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    box.resize(700, 500);
    auto* surface = new TPriPaint(box.Content(), QString(), 96, std::make_unique<TFixedPrinter>());
    TPriPaper& paper = surface->PrintPaper;
    paper.FPortrait = 1;
    paper.FSeatColumns = paper.FSeatRows = 1;
    paper.FSheetWidth = paper.FSeatWidth = 2100;
    paper.FSheetHeight = paper.FSeatHeight = 2970;
    surface->BltSizeCheck = bs200;
    surface->SetPageLayout(QPoint(35, 35), QSize(700 - 45, 500 - 50));
    surface->RedrawPage(nullptr, false, true);
    surface->SetVisibleRect(0, 0, surface->width(), surface->height());
    auto* horz = new TPriRuler(box.Content());
    auto* vert = new TPriRuler(box.Content());
    horz->SetBltVec(bvHorz);
    for (TPriRuler* r : {horz, vert}) {
        const bool h = r == horz;
        r->SetBltUnit(bu20mm);
        r->SetBltmmSize(h ? paper.PageWidth() : paper.PageHeight());
        r->SetBltSameSize(h ? surface->PaperPixels().width() : surface->PaperPixels().height());
        r->SetBackSize(h ? surface->width() : surface->height());
    }
    horz->setGeometry(0, 0, surface->x() + surface->width(), 25);
    vert->setGeometry(0, 25, 25, surface->y() + surface->height() - 25);
    horz->SetBltStart(surface->x());
    vert->SetBltStart(surface->y() - 25);
    box.PinRulers(horz, vert);
    box.SetContentSize(QSize(surface->x() + surface->width() + 10, surface->y() + surface->height() + 10));
    QObject::connect(&box, &TPriScrollbox::HorzScroll, [&] { box.PinRulers(horz, vert); });
    QObject::connect(&box, &TPriScrollbox::VertScroll, [&] { box.PinRulers(horz, vert); });
    horz->SetPointerMark(QPoint(120, 200));
    vert->SetPointerMark(QPoint(120, 200));
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.grab().save(QStringLiteral("/tmp/komorebi-box-start.png"));
    box.SetHorzPosition(300);
    box.SetVertPosition(500);
    box.grab().save(QStringLiteral("/tmp/komorebi-box-scrolled.png"));
}
