#include "document/EditHistory.h"
#include "document/MouseTracker.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "support/EditSurface.h"

#include <gtest/gtest.h>

// At 100 % on a 96 dpi screen one view pixel is 254 / 96 = 2.65 units of 0.1 mm.

TEST(MouseTrackerTest, ClickingSelectsShiftAddsAndAPlainClickReplaces) {
    TEditSurface s;
    TPriShape* a = s.AddRect(QRect(100, 100, 300, 300));  // 38 .. 151 px
    TPriShape* b = s.AddRect(QRect(1000, 100, 300, 300)); // 378 .. 491 px
    TPriShape* c = s.AddRect(QRect(100, 1000, 300, 300));
    s.Click({90, 90});
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{a});
    EXPECT_EQ(s->SelectCheck, mnSearchOn);
    s.Click({430, 90}, Qt::ShiftModifier);
    EXPECT_EQ(s->SelectList(), (QList<TPriBase*>{a, b}));
    s.Click({90, 430});
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{c});
    EXPECT_FALSE(a->ForcusCheck());
    s.Click({700, 1000}); // empty page
    EXPECT_FALSE(s->HasSelection());
    EXPECT_EQ(s->SelectCheck, mnNone);
}

TEST(MouseTrackerTest, RubberBandTakesWhollyEnclosedUnlockedObjectsWithoutTouchingThePage) {
    TEditSurface s;
    TPriShape* inside = s.AddRect(QRect(100, 100, 200, 200));
    TPriShape* partly = s.AddRect(QRect(500, 100, 400, 200));
    TPriShape* locked = s.AddRect(QRect(100, 400, 100, 100));
    locked->LockCheck = true;
    s->RedrawPage(nullptr, false, true);
    const QImage page = s->PageBitmap().copy();

    s.Press({10, 10});
    EXPECT_EQ(s->SelectCheck, mnSearch);
    s.MoveTo({200, 120});
    s.MoveTo({250, 230});
    EXPECT_EQ(s->Mouse().RubberRect(), (TRect{10, 10, 250, 230}));
    EXPECT_EQ(s->PageBitmap(), page); // the band is an overlay only
    EXPECT_FALSE(s->Mouse().OverlayRegion().isEmpty());
    s.Release({250, 230});
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{inside});
    EXPECT_FALSE(partly->ForcusCheck());
    EXPECT_FALSE(locked->ForcusCheck());
    EXPECT_TRUE(s->Mouse().OverlayRegion().isEmpty());
}

TEST(MouseTrackerTest, DraggingMovesByThePointerAndAClickAloneRecordsNothing) {
    TEditSurface s;
    TPriShape* a = s.AddRect(QRect(100, 100, 300, 300));
    TPriShape* gone = s.AddRect(QRect(1000, 1000, 100, 100));
    s->SelectObject(gone);
    s->DeleteSelection();

    s.Click({90, 90}); // no movement: no step, and the deletion is still the one to take back
    EXPECT_EQ(s->History().UndoKind(), ukDelete);
    EXPECT_EQ(s->History().UndoCount(), 1);
    EXPECT_EQ(s->Objects().size(), 2u);
    EXPECT_EQ(a->StoreRect(), QRect(100, 100, 300, 300));

    const QImage page = s->PageBitmap().copy();
    s.Press({90, 90});
    s.MoveTo({110, 100});
    s.MoveTo({128, 109});
    EXPECT_EQ(s->PageBitmap(), page); // only the frames move while dragging
    EXPECT_EQ(a->TrackRect(), a->BoundsRect().Offset(38, 19));
    EXPECT_TRUE(s.Host.Position.startsWith(QStringLiteral("X : 20mm")));
    s.Release({128, 109});
    EXPECT_EQ(a->StoreRect().topLeft(), QPoint(201, 151)); // 38 and 19 px
    EXPECT_NE(s->PageBitmap(), page);
    s->Undo();
    EXPECT_EQ(a->StoreRect().topLeft(), QPoint(100, 100));
}

TEST(MouseTrackerTest, AnAxisAMoveLeavesAloneKeepsItsStoredPlace) {
    // 300 units lie between pixels (113.4): converting the pixel back would give 299.
    TEditSurface s;
    TPriShape* a = s.AddRect(QRect(300, 300, 400, 200));
    const QPoint inside = a->BoundsRect().ToQRect().center();
    s.Drag(inside, inside + QPoint(38, 0));
    EXPECT_EQ(a->StoreRect().y(), 300);
    EXPECT_NE(a->StoreRect().x(), 300);
    const int x = a->StoreRect().x();
    EXPECT_TRUE(s->HandleKey(Qt::Key_Down, false, false));
    EXPECT_EQ(a->StoreRect().x(), x);
    EXPECT_NE(a->StoreRect().y(), 300);
    EXPECT_EQ(a->StoreRect().size(), QSize(400, 200));
}

TEST(MouseTrackerTest, LineEndsWithAndWithoutShift) {
    TEditSurface s;
    ASSERT_TRUE(s->AddLine(TRect{100, 100, 300, 200}, {100, 100}, {300, 200}));
    auto* line = static_cast<TPriLine*>(s->Objects()[0].get());
    s->DeselectAll();
    s->SelectCheck = mnNone;
    s.Click({200, 150});
    ASSERT_EQ(s->SelectList(), QList<TPriBase*>{line});

    // More to the side than up or down with Shift: exactly horizontal.
    s.Press({300, 200}, Qt::ShiftModifier);
    EXPECT_EQ(s->SelectCheck, mnSize);
    s.MoveTo({400, 230}, Qt::ShiftModifier);
    s.Release({400, 230}, Qt::ShiftModifier);
    EXPECT_EQ(line->StartPoint(), QPoint(100, 100));
    EXPECT_EQ(line->EndPoint(), QPoint(400, 100));
    EXPECT_EQ(s->ObjectMode(), omNone);
    EXPECT_EQ(s->History().UndoKind(), ukResize);

    // A line drawn from lower right to upper left starts at its upper-left end.
    s->SetObjectMode(omLine);
    s->SelectCheck = mnNone;
    s.Drag({500, 600}, {450, 520});
    ASSERT_EQ(s->Objects().size(), 2u);
    auto* drawn = static_cast<TPriLine*>(s->Objects()[1].get());
    EXPECT_EQ(drawn->StartPoint(), QPoint(450, 520));
    EXPECT_EQ(drawn->EndPoint(), QPoint(500, 600));
    EXPECT_EQ(s.Host.Created, 1);
}

TEST(MouseTrackerTest, CreationGestures) {
    TEditSurface s;
    TPriShape* locked = s.AddRect(QRect(100, 100, 600, 600));
    locked->LockCheck = true;

    // A tool pressed on a locked object draws a new one.
    s->SetObjectMode(omEllipse);
    s.Drag({60, 60}, {160, 120});
    ASSERT_EQ(s->Objects().size(), 2u);
    auto* ellipse = static_cast<TPriShape*>(s->Objects()[1].get());
    EXPECT_EQ(ellipse->Shape, TBltShape::Ellipse);
    EXPECT_EQ(ellipse->BoundsRect(), (TRect{60, 60, 160, 120}));
    EXPECT_EQ(s->SelectList(), QList<TPriBase*>{ellipse});
    EXPECT_EQ(s->History().UndoKind(), ukAdd);
    EXPECT_EQ(s->ObjectMode(), omNone);

    // A click without movement makes an object of a useful size at the pointer.
    s->SetObjectMode(omSquare);
    s.Click({400, 500});
    ASSERT_EQ(s->Objects().size(), 3u);
    const QRect made = s->Objects()[2]->StoreRect();
    EXPECT_NEAR(made.width(), 300, 3);
    EXPECT_NEAR(made.height(), 200, 3);
    EXPECT_EQ(s->Objects()[2]->BoundsRect().Left, 400);

    // Without the text pack nothing is made and nothing is shown; with it the text goes in.
    s->SetObjectMode(omLabel);
    s.Drag({100, 700}, {300, 760});
    EXPECT_EQ(s->Objects().size(), 3u);
    EXPECT_TRUE(s.Host.Messages.isEmpty());
    EXPECT_EQ(s->SelectCheck, mnSearchOn);
    s.Dialogs.HasText = true;
    s->SetObjectMode(omLabel);
    s.Drag({100, 700}, {300, 760});
    ASSERT_EQ(s->Objects().size(), 4u);
    EXPECT_EQ(static_cast<TPriLabel&>(*s->Objects()[3]).DataString(), QStringLiteral("こもれび"));
    s->SetObjectMode(omCarendar); // and a calendar without its dialog: nothing
    s.Drag({100, 800}, {300, 900});
    EXPECT_EQ(s->Objects().size(), 4u);
    EXPECT_EQ(s.Host.Created, 5);
}

TEST(MouseTrackerTest, PositionTextDoubleClickAndMenus) {
    TEditSurface s;
    TPriShape* a = s.AddRect(QRect(155, 100, 300, 300));
    s.Click({90, 90});
    EXPECT_EQ(s.Host.Position, QStringLiteral("X : 15mm   Y : 10mm   W : 30mm   H : 30mm"));

    // A double click on a selected shape opens its pen and fill dialog.
    s.Dialogs.HasPenBrush = true;
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(90, 90), QPointF(90, 90), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QCoreApplication::sendEvent(s.Surface.get(), &dbl);
    s.Release({90, 90});
    EXPECT_EQ(a->SamePSize, 4);
    EXPECT_EQ(s->History().UndoKind(), ukProperty);

    // A right click on a locked object offers its menu and leaves the state alone.
    a->LockCheck = true;
    s.Press({90, 90}, {}, Qt::RightButton);
    s.Release({90, 90}, {}, Qt::RightButton);
    EXPECT_EQ(s.Host.MenuObject, a);
    EXPECT_EQ(s->CurrentObject(), a);
    EXPECT_EQ(s->SelectCheck, mnSearchOn);
    s.Press({700, 1000}, {}, Qt::RightButton);
    EXPECT_EQ(s.Host.MenuObject, nullptr);
    EXPECT_EQ(s.Host.Menus, 2);
}

TEST(MouseTrackerTest, DraggingToTheEdgeOfTheViewAsksToScroll) {
    TEditSurface s(bs200);
    s->SetVisibleRect(0, 0, 400, 300);
    s.AddRect(QRect(100, 100, 300, 300));
    s.Press({100, 100});
    s.MoveTo({200, 150});
    EXPECT_TRUE(s.Host.Scrolls.isEmpty());
    s.MoveTo({395, 150});
    ASSERT_FALSE(s.Host.Scrolls.isEmpty());
    EXPECT_EQ(s.Host.Scrolls.back(), QPoint(395, 150));
    s.Release({395, 150});
}
