#include "app/mainwindow/MainFormFixture.h"
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PriRuler.h"
#include "app/mainwindow/PriScrollbox.h"

#include <QAction>
#include <functional>

// Whatever moves the page, the rulers, the scroll range, the margins and the surface's visible part
// follow it, from a scrolled view as from the top left.
TEST(PageViewTest, EveryWayOfMovingThePageKeepsTheViewInStep) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    TPageView& view = *form.PageView();
    const TMainActions& a = form.Actions();
    const auto run = [](QAction* action) { action->trigger(); };
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"rulers shown", [&] { run(a.MenuItem_rooler); }},
        {"300 %", [&] { run(a.MenuItem_300); }},
        {"scrolled, then fitted",
         [&] {
             view.SetScrollPositions(200, 300);
             run(a.MenuItem_BltStretch);
         }},
        {"200 %, scrolled, side bar hidden",
         [&] {
             run(a.MenuItem_200);
             view.SetScrollPositions(60, 90);
             run(a.menuItem_ToolBar);
         }},
        {"a wheel step out", [&] { view.StepZoom(-1, QPoint(150, 120)); }},
        {"another file read at that zoom",
         [&] {
             view.SetScrollPositions(30, 40);
             f.Dialogs.OpenAnswer = f.Template("Meishi/名刺カレンダー.tda");
             ASSERT_TRUE(form.OpenFile());
         }},
        {"rulers hidden", [&] { run(a.MenuItem_rooler); }},
    };
    for (const auto& [what, step] : steps) {
        SCOPED_TRACE(what);
        step();
        const TPriPaint& doc = *form.Document();
        const QRect page = doc.geometry();
        ASSERT_FALSE(page.isEmpty());
        EXPECT_GE(page.left(), view.PageOrigin().x());
        EXPECT_GE(page.top(), view.PageOrigin().y());
        for (TPriRuler* ruler : {view.HorzRuler(), view.VertRuler()}) {
            const bool horz = ruler == view.HorzRuler();
            EXPECT_EQ(ruler->isVisibleTo(&form), view.RulersShown());
            EXPECT_EQ(ruler->BltStart(), horz ? page.left() - ruler->x() : page.top() - ruler->y());
            EXPECT_EQ(ruler->BackSize(), horz ? page.width() : page.height());
            EXPECT_EQ(ruler->BltSameSize(), horz ? doc.PaperPixels().width() : doc.PaperPixels().height());
            // Pinned to the view's edge, wherever the view is scrolled.
            const QPoint at = view.ScrollBox()->ViewPos(ruler);
            EXPECT_EQ(horz ? at.y() : at.x(), 0);
        }
        const QSize content = view.Content()->size();
        EXPECT_GE(content.width(), page.right() + 1 + 10);
        EXPECT_GE(content.height(), page.bottom() + 1 + 10);
        EXPECT_EQ(doc.VisibleRect().ToQRect(), view.VisibleRect());
    }
}
