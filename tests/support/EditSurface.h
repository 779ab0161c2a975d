#pragma once

#include "document/PriPaint.h"
#include "objects/PriLabel.h"
#include "objects/PriShape.h"
#include "platform/DialogLibrary.h"
#include "platform/PackEntries.h"
#include "support/FixedPrinter.h"

#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <memory>

// Dialogs that answer as a test tells them; an entry not set up behaves as a missing pack.
class TFakePackDialogs : public TDialogLibrary {
public:
    bool HasText = false, HasCategory = false, HasPenBrush = false, HasCalendar = false, HasPosition = false;
    QString Text = QStringLiteral("こもれび");
    int Calls = 0;
    QPoint PositionMove{10, 0};

    TDlgAnswer StartCheckDlg(int32_t&, const QString&, const QString&) override { return {}; }
    TDlgAnswer RecordSettingDlg(QString&, QString&, int32_t&) override { return {}; }
    TDlgAnswer SaveTWAINImageDlg(int32_t&) override { return {}; }
    TDlgAnswer PositionEditDlg(TPackObjectList& objects) override {
        ++Calls;
        if (!HasPosition) return {};
        for (TPriBase* o : objects)
            o->MoveBy(PositionMove);
        return {true, 1};
    }
    TDlgAnswer EditCategory(const QString&, int32_t, int32_t& category, QString& name) override {
        ++Calls;
        if (!HasCategory) return {};
        category = 3;
        name = QStringLiteral("氏名");
        return {true, 1};
    }
    TDlgAnswer StringEditDlg(const QString&, QString& result) override {
        ++Calls;
        if (!HasText) return {};
        result = Text;
        return {true, 1};
    }
    // The font dialog: what it was given, and its answer when HasFont (it also turns the text upright
    // and sets the options beyond the record).
    bool HasFont = false;
    int FontMode = 0, FontKind = -1, FontSizeIn = 0, FontStyleIn = -1;
    QString FontFaceIn;
    TDlgAnswer FontEditDlg(int32_t mode, TPriLabel* object, const QString& face, QString& outFace, int32_t& size,
                           int32_t& style, int32_t& color) override {
        ++Calls;
        FontMode = mode, FontKind = object ? object->ObjectNum : -1, FontFaceIn = face;
        FontSizeIn = size, FontStyleIn = style;
        if (!HasFont || !object) return {};
        outFace = QStringLiteral("IPAex明朝");
        size = 24, style = fsBoldBit | fsUnderlineBit, color = 0x0000FF;
        object->SetFontAngle(faLong);
        object->SidePos = psCenter;
        object->CharSpace = 3;
        object->Extras.HyphenRule = TObjectExtras::THyphenRule::Dash;
        object->Extras.ShrinkToFit = true;
        return {true, 1};
    }
    TDlgAnswer CarendarSetDlg(TPriCarendar*) override {
        ++Calls;
        return HasCalendar ? TDlgAnswer{true, 1} : TDlgAnswer{};
    }
    TDlgAnswer PenBrushSetDlg(int32_t, int32_t&, int32_t& width, int32_t& color, int32_t&, int32_t&, int32_t&,
                              int32_t) override {
        ++Calls;
        if (!HasPenBrush) return {};
        width = 4;
        color = 0x0000FF;
        return {true, 1};
    }
    TDlgAnswer PortalSettingDlg(int32_t&, const QString&, QString&, const QStringList&) override { return {}; }
    TDlgAnswer PaperNewSettingDlg(TPriPaper*, int32_t) override { return {}; }
    TDlgAnswer PrintPaperSettingDlg(const QString&, TPriPaper*, int32_t&, int32_t&, int32_t) override { return {}; }
    TDlgAnswer PrintPreviewDlg(TPrintPreview*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, QStringList&,
                               int32_t, int32_t, bool, int32_t) override {
        return {};
    }
    TDlgAnswer GetTrueType(QStringList&, int32_t, bool) override { return {}; }
};

// What the surface told its window.
class TEditHost : public TPaintHost {
public:
    QString Position;
    QStringList Messages;
    int Created = 0, Menus = 0;
    TPriBase* MenuObject = nullptr;
    QList<QPoint> Scrolls;
    void ShowPositionText(const QString& text) override { Position = text; }
    void ShowMessage(const QString& text) override { Messages << text; }
    void CreationFinished() override { ++Created; }
    void ShowContextMenu(TPriBase* object, QPoint) override {
        ++Menus;
        MenuObject = object;
    }
    void AutoScroll(QPoint p) override { Scrolls << p; }
};

// An A4 page at 100 % (793 x 1122 view pixels) with fake dialogs and a recording host.
struct TEditSurface {
    std::unique_ptr<TPriPaint> Surface;
    TFakePackDialogs Dialogs;
    TEditHost Host;

    explicit TEditSurface(TBltSize zoom = bsNormal) {
        Surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TFixedPrinter>());
        Surface->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        Surface->BltSizeCheck = zoom;
        Surface->DialogLibrary = &Dialogs;
        Surface->SetHost(&Host);
        Surface->SetPageLayout({0, 0}, {800, 600});
        Surface->SetVisibleRect(0, 0, Surface->ViewSize().width(), Surface->ViewSize().height());
        Surface->RedrawPage(nullptr, false, true);
    }
    TPriPaint& operator*() { return *Surface; }
    TPriPaint* operator->() { return Surface.get(); }

    // An object at a stored place (0.1 mm), laid out at the surface's zoom.
    template <typename T> T* Add(std::unique_ptr<T> object, QRect stored) {
        object->SetStoreRect(stored);
        auto* added = static_cast<T*>(Surface->AppendObject(std::move(object)));
        added->ScaleToView(Surface->ViewSize(), Surface->PaperPixels(), 96);
        added->MakeHandles();
        return added;
    }
    TPriLabel* AddText(QRect stored, const QString& text = QStringLiteral("春")) {
        auto label = std::make_unique<TPriLabel>();
        label->SetDataString(text);
        return Add(std::move(label), stored);
    }
    // A rectangle shape at a stored place, laid out at the surface's zoom.
    TPriShape* AddRect(QRect stored, TColor penColor = clBlack) {
        auto shape = std::make_unique<TPriShape>();
        shape->Shape = TBltShape::RectAngle;
        shape->Pen.Color = penColor;
        shape->SetStoreRect(stored);
        auto* added = static_cast<TPriShape*>(Surface->AppendObject(std::move(shape)));
        added->ScaleToView(Surface->ViewSize(), Surface->PaperPixels(), 96);
        added->MakeHandles();
        return added;
    }
    // Shapes of 1 x 1 cm in a row, one per name, for order tests; Tag-free.
    std::vector<TPriBase*> AddRow(int count) {
        std::vector<TPriBase*> out;
        for (int i = 0; i < count; ++i)
            out.push_back(AddRect(QRect(100 + 150 * i, 100, 100, 100)));
        return out;
    }

    // Real mouse events: press and release through QTest, moves with the buttons and keys held.
    // QTest takes the point (0, 0) for "the middle of the widget": the page origin goes as a plain event.
    void Press(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton) {
        if (p.isNull())
            Send(QEvent::MouseButtonPress, p, b, b, mods);
        else
            QTest::mousePress(Surface.get(), b, mods, p);
    }
    void Release(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButton b = Qt::LeftButton) {
        if (p.isNull())
            Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton, mods);
        else
            QTest::mouseRelease(Surface.get(), b, mods, p);
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons held, Qt::KeyboardModifiers mods) {
        QMouseEvent e(type, QPointF(p), QPointF(Surface->mapToGlobal(p)), b, held, mods);
        QCoreApplication::sendEvent(Surface.get(), &e);
    }
    void MoveTo(QPoint p, Qt::KeyboardModifiers mods = {}, Qt::MouseButtons held = Qt::LeftButton) {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), QPointF(Surface->mapToGlobal(p)), Qt::NoButton, held, mods);
        QCoreApplication::sendEvent(Surface.get(), &e);
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Press(from, mods);
        MoveTo((from + to) / 2, mods);
        MoveTo(to, mods);
        Release(to, mods);
    }
    void Click(QPoint p, Qt::KeyboardModifiers mods = {}) {
        Press(p, mods);
        Release(p, mods);
    }
};

// The order of the edited side as indexes into a list of known objects.
inline std::vector<int> OrderOf(TPriPaint& s, const std::vector<TPriBase*>& known) {
    std::vector<int> order;
    for (auto& obj : s.Objects())
        order.push_back(int(std::find(known.begin(), known.end(), obj.get()) - known.begin()));
    return order;
}
