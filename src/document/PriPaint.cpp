#include "document/PriPaint.h"

#include "calendar/PriCarendar.h"
#include "platform/DocumentLimits.h"
#include "document/MouseTracker.h"
#include "document/OutMessage.h"
#include "document/TemplateFile.h"
#include "document/EditHistory.h"
#include "document/EditStep.h"
#include "merge/PriField.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/TextOverflow.h"
#include "platform/Rounding.h"
#include "platform/SystemPrinter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <exception>

TPriPaint::TPriPaint(QWidget* owner, QString appPath, int screenInch, std::unique_ptr<TPrinterMetricsProvider> printer)
    : QWidget(owner), fDocument(std::make_unique<TPriDocument>(std::move(appPath), screenInch)),
      fPrinter(std::move(printer)), fMouse(std::make_unique<TMouseTracker>(*this)) {
    if (!fPrinter) fPrinter = std::make_unique<TSystemPrinter>();
    connect(fDocument.get(), &TPriDocument::ContentReplaced, this, &TPriPaint::ForgetEditState);
    // The document's edit history tells the surface what to show and what to let go of.
    connect(fDocument.get(), &TPriDocument::ObjectForgotten, this,
            [this](TPriBase* object) { fMouse->Forget(object); });
    connect(fDocument.get(), &TPriDocument::EditStepApplied, this, [this] {
        RedrawPage(nullptr, true, true);
        if (!FSelectList.isEmpty()) SelectCheck = mnSearchOn;
    });
    connect(fDocument.get(), &TPriDocument::ModifiedChanged, this, &TPriPaint::ModifiedChanged);
    DefaultFont.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    DefaultFont.setPointSize(10);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

TPriPaint::~TPriPaint() {}

void TPriPaint::SetPageLayout(QPoint o, QSize a) {
    fDocument->UpdatePaperPixels();
    const int ox = o.x(), oy = o.y(), aw = a.width(), ah = a.height();
    const int W = PrintPaper.PageWidth(), H = PrintPaper.PageHeight();
    int width = 0, height = 0, left = ox, top = oy;

    auto centre = [](int size, int avail, int origin) {
        if (size > avail) return origin;
        const int half = (avail - size) / 2;
        return half > origin ? origin + half : origin;
    };

    int k = 0;
    switch (BltSizeCheck) {
    case bsNormal: k = 1; break;
    case bs200: k = 2; break;
    case bs300: k = 3; break;
    case bs400: k = 4; break;
    case bsStretch: k = 0; break;
    }
    if (k > 0) {
        width = int(std::min<qint64>(qint64(k) * PaperPixels().width(), kMaxViewSide + 1));
        height = int(std::min<qint64>(qint64(k) * PaperPixels().height(), kMaxViewSide + 1));
        left = centre(width, aw, ox);
        top = centre(height, ah, oy);
    } else if (W <= 0 || H <= 0) {
        // A paper without size has nothing to fit.
        width = height = 0;
    } else if (W > H) {
        width = aw - 5;
        height = int(qint64(H) * aw / W);
        if (height <= ah) {
            top = oy + (ah - height) / 2;
        } else {
            height = ah;
            width = int(qint64(W) * ah / H);
            left = ox + (aw - width) / 2;
        }
    } else {
        height = ah - 5;
        width = int(qint64(W) * ah / H);
        if (width <= aw) {
            left = ox + (aw - width) / 2;
        } else {
            width = aw;
            height = int(qint64(H) * aw / W);
            top = oy + (ah - height) / 2;
        }
    }

    const QSize view = ViewSize();
    fDocument->SetViewSize(QSize(width > 0 ? width : view.width(), height > 0 ? height : view.height()), fDeviceRatio);
    setGeometry(left, top, ViewSize().width(), ViewSize().height());
    RecomputeMargins();
}

void TPriPaint::SetDevicePixelRatio(qreal ratio) {
    if (!(ratio > 0) || ratio == fDeviceRatio) return;
    fDeviceRatio = ratio;
    if (ViewSize().isEmpty()) return;
    fDocument->SetViewSize(ViewSize(), fDeviceRatio);
    RedrawPage(nullptr, true, true);
}

void TPriPaint::SetBltGridCheck(bool shown) {
    if (shown == fGridShown) return;
    fGridShown = shown;
    RedrawPage(nullptr, true, true);
}

void TPriPaint::SetBltMarginCheck(bool shown) {
    if (shown == fMarginShown) return;
    fMarginShown = shown;
    RedrawPage(nullptr, true, true);
}

void TPriPaint::RecomputeMargins() {
    const TPrinterMetrics m = fPrinter->GetPrinterMetrics();
    FMarginPixels = TRect();
    if (m.PhysicalWidth <= 0 || m.PhysicalHeight <= 0) return;
    const double vw = ViewSize().width(), vh = ViewSize().height();
    FMarginPixels.Left = Trunc(double(m.OffsetX) / m.PhysicalWidth * vw);
    FMarginPixels.Top = Trunc(double(m.OffsetY) / m.PhysicalHeight * vh);
    FMarginPixels.Right = Trunc(double(m.PhysicalWidth - m.HorzRes - m.OffsetX) / m.PhysicalWidth * vw);
    FMarginPixels.Bottom = Trunc(double(m.PhysicalHeight - m.VertRes - m.OffsetY) / m.PhysicalHeight * vh);
}

void TPriPaint::ApplyPaperToPrinter() {
    const std::vector<TPrinterPaper> papers = fPrinter->PaperList();
    const bool portrait = PrintPaper.FPortrait == 1;
    bool done = false;
    for (const TPrinterPaper& p : papers) {
        if (p.Number == TPrinterMetricsProvider::kUserPaper) continue;
        if (std::abs(p.Width - PrintPaper.FSheetWidth) <= 1 && std::abs(p.Height - PrintPaper.FSheetHeight) <= 1) {
            fPrinter->SelectPaper(p.Number, portrait);
            done = true;
            break;
        }
    }
    if (!done) {
        for (const TPrinterPaper& p : papers) {
            if (p.Number != TPrinterMetricsProvider::kUserPaper) continue;
            if (!fPrinter->SelectCustomPaper(PrintPaper.FSheetWidth, PrintPaper.FSheetHeight, portrait))
                Host().ShowMessage(QStringLiteral("ユーザー定義サイズセット失敗"));
            break;
        }
    }
    RecomputeMargins();
}

void TPriPaint::SetVisibleRect(int left, int top, int width, int height) {
    FVisibleRect =
        TRect{left, top, std::min(left + width, ViewSize().width()), std::min(top + height, ViewSize().height())};
    BackObject.MakeViewPart(FVisibleRect, ViewSize().width(), ViewSize().height());
}

void TPriPaint::RedrawPage(TPriBase* extra, bool repaint, bool wholePage) {
    if (FPageBitmap.isNull()) {
        if (repaint) update();
        return;
    }
    const TRect d = wholePage ? TRect{0, 0, ViewSize().width(), ViewSize().height()} : FVisibleRect;
    DrawArea(d, extra, wholePage);
    if (repaint) {
        if (FVisibleRect.IsEmpty()) FVisibleRect = TRect{0, 0, ViewSize().width(), ViewSize().height()};
        update(FVisibleRect.ToQRect());
    }
    ShowSelectionPos();
}

void TPriPaint::DrawArea(const TRect& d, TPriBase* extra, bool wholePage) {
    QPainter canvas(&FPageBitmap);
    // Drawing outside D would cover objects above that are not redrawn this time.
    canvas.setClipRect(d.ToQRect());
    const bool hasBack = !BackObject.IsEmpty() && BackObject.FVisible;
    if (!hasBack) {
        canvas.setPen(QPen(Qt::black, 1));
        canvas.fillRect(d.ToQRect(), Qt::white);
    } else if (wholePage || !(d.Left >= FVisibleRect.Left && d.Top >= FVisibleRect.Top &&
                              d.Right <= FVisibleRect.Right && d.Bottom <= FVisibleRect.Bottom)) {
        // The whole picture stretched over the page, of which the clip keeps only D.
        BackObject.DrawWhole(canvas, TRect{0, 0, ViewSize().width(), ViewSize().height()});
    } else {
        BackObject.DrawViewPart(canvas, FVisibleRect);
    }
    if (fMarginShown && PrintPaper.IsSingleSeat()) {
        canvas.setPen(QPen(ColorToQColor(MarginColor), 1, Qt::DotLine));
        canvas.setBrush(Qt::NoBrush);
        const TRect m{FMarginPixels.Left, FMarginPixels.Top, ViewSize().width() - FMarginPixels.Right,
                      ViewSize().height() - FMarginPixels.Bottom};
        canvas.drawRect(QRect(m.Left, m.Top, m.Width() - 1, m.Height() - 1));
    }
    for (auto& obj : *FObjectList) {
        if (obj->UndoCheck || !obj->IntersectsRect(d)) continue;
        canvas.save();
        obj->DrawObject(bmLayout, canvas);
        canvas.restore();
    }
    if (extra) {
        canvas.save();
        extra->DrawObject(bmLayout, canvas);
        canvas.restore();
    }
    if (fGridShown) DrawGrid(canvas, d);
    // A text that lost characters is marked here, on screen only: print leaves them out silently.
    for (auto& obj : *FObjectList) {
        const auto* label = dynamic_cast<const TPriLabel*>(obj.get());
        if (label && !obj->UndoCheck && obj->IntersectsRect(d) && TTextOverflow::LostCharacters(*label))
            TTextOverflow::DrawMark(canvas, obj->BoundsRect());
    }
}

void TPriPaint::RedrawArea(const TRect& area) {
    if (FPageBitmap.isNull()) return;
    const QRect r = area.ToQRect().intersected(QRect(QPoint(0, 0), ViewSize()));
    if (r.isEmpty()) return;
    DrawArea(TRect::FromQRect(r), nullptr, false);
    update(r);
}

void TPriPaint::RedrawObjects(const QList<TPriBase*>& objects, const QRegion& also) {
    // Handles reach a few pixels beyond the bounds, and so do thick pens.
    constexpr int kPad = 8;
    QRegion area = also;
    for (const TPriBase* obj : objects)
        area += obj->BoundsRect().ToQRect();
    if (area.isEmpty()) return;
    QRegion padded;
    for (const QRect& r : area)
        padded += r.adjusted(-kPad, -kPad, kPad + 1, kPad + 1);
    // Many small pieces cost more than their box.
    if (padded.rectCount() > 8) padded = padded.boundingRect();
    for (const QRect& r : padded)
        RedrawArea(TRect::FromQRect(r));
    ShowSelectionPos();
}

namespace {

// Lines every 5 mm at Trunc(scale × (i × 50 / 254 × inch)) for i = 0 .. pageUnits / 50, those from
// `from` to `to`. Only the lines that can fall in the range are visited, and where several share a
// pixel (a huge paper fitted to the window) the run is jumped over, keeping the style of the last
// one as drawing them all would: a damaged paper size cannot make the grid take millions of lines.
std::vector<TPriPaint::TGridLine> GridLinesWithin(int32_t pageUnits, double scale, int inch, int from, int to) {
    std::vector<TPriPaint::TGridLine> lines;
    const int last = pageUnits / 50;
    const double step = scale * (50 / 254.0 * inch);
    if (last < 0 || !(step > 0)) return lines;
    auto pos = [&](int i) { return Trunc(scale * (i * 50 / 254.0 * inch)); };
    int i = int(std::clamp(std::floor(from / step) - 1, 0.0, double(last) + 1));
    for (; i <= last; ++i) {
        const int x = pos(i);
        if (x > to) break;
        if (x < from) continue;
        if (!lines.empty() && lines.back().Pos == x) {
            lines.back().Solid = i % 2 == 0;
            const double next = std::floor((x + 1) / step) - 2;
            if (next > i + 1) i = int(std::min(next, double(last))) - 1;
            continue;
        }
        lines.push_back({x, i % 2 == 0});
    }
    return lines;
}

} // namespace

std::vector<TPriPaint::TGridLine> TPriPaint::GridColumns(const TRect& d) const {
    if (PaperPixels().width() <= 0) return {};
    return GridLinesWithin(PrintPaper.PageWidth(), double(ViewSize().width()) / PaperPixels().width(), fScreenInch,
                           d.Left, d.Right);
}

std::vector<TPriPaint::TGridLine> TPriPaint::GridRows(const TRect& d) const {
    if (PaperPixels().height() <= 0) return {};
    return GridLinesWithin(PrintPaper.PageHeight(), double(ViewSize().height()) / PaperPixels().height(), fScreenInch,
                           d.Top, d.Bottom);
}

void TPriPaint::DrawGrid(QPainter& canvas, const TRect& d) {
    canvas.save();
    canvas.setBrush(Qt::NoBrush);
    const QColor color = ColorToQColor(GridColor);
    const QPen solid(color, 1, Qt::SolidLine), dotted(color, 1, Qt::DotLine);
    const int bw = FPageBitmap.width(), bh = FPageBitmap.height();
    for (const TGridLine& l : GridColumns(d)) {
        canvas.setPen(l.Solid ? solid : dotted);
        canvas.drawLine(l.Pos, 0, l.Pos, bh);
    }
    for (const TGridLine& l : GridRows(d)) {
        canvas.setPen(l.Solid ? solid : dotted);
        canvas.drawLine(0, l.Pos, bw, l.Pos);
    }
    canvas.restore();
}

void TPriPaint::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    if (FPageBitmap.isNull()) {
        p.fillRect(event->rect(), palette().window());
        return;
    }
    if (FVisibleRect.IsEmpty()) FVisibleRect = TRect{0, 0, ViewSize().width(), ViewSize().height()};
    PaintView(p, event->rect());
}

void TPriPaint::PaintView(QPainter& p, const QRect& area) {
    const QRect r = FVisibleRect.ToQRect().intersected(area);
    p.save();
    p.setClipRect(r);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = FPageBitmap.devicePixelRatio();
    if (ratio == 1) {
        p.drawImage(r.topLeft(), FPageBitmap, r);
    } else {
        const QRectF source(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio);
        p.drawImage(QRectF(r), FPageBitmap, source);
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    fMouse->PaintOverlay(p);
    p.restore();
}

void TPriPaint::mousePressEvent(QMouseEvent* e) {
    fMouse->Press(e->button(), e->modifiers() & Qt::ShiftModifier, e->position().toPoint(), false,
                  e->globalPosition().toPoint());
}

void TPriPaint::mouseDoubleClickEvent(QMouseEvent* e) {
    fMouse->Press(e->button(), e->modifiers() & Qt::ShiftModifier, e->position().toPoint(), true,
                  e->globalPosition().toPoint());
}

bool TPriPaint::event(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QWidget::event(e);
    const auto* help = static_cast<QHelpEvent*>(e);
    for (auto it = FObjectList->rbegin(); it != FObjectList->rend(); ++it) {
        if ((*it)->UndoCheck || !(*it)->PtInObject(help->pos())) continue;
        const auto* field = (*it)->ObjectNum == okField ? static_cast<const TPriField*>(it->get()) : nullptr;
        const QString tip = field ? field->BarcodeTip() : QString();
        if (tip.isEmpty()) break;
        QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    QToolTip::hideText();
    e->ignore();
    return true;
}

void TPriPaint::mouseMoveEvent(QMouseEvent* e) {
    fMouse->Move(e->position().toPoint(), e->modifiers() & Qt::ShiftModifier);
}

void TPriPaint::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton && e->button() != Qt::RightButton) return;
    fMouse->Release(e->position().toPoint(), e->modifiers() & Qt::ShiftModifier);
}

void TPriPaint::StoreMoved(TPriBase& obj, const QRect& before, QPoint pixelsBefore) {
    obj.ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    // An axis the move left alone keeps its stored place: from pixels it would come back rounded.
    const QPoint pos(obj.Left == pixelsBefore.x() ? before.x() : obj.GetStorePos().x(),
                     obj.Top == pixelsBefore.y() ? before.y() : obj.GetStorePos().y());
    const bool sized = obj.GetStoreSize() != before.size();
    obj.SetStoreRect(QRect(pos, before.size()));
    if (!sized) return;
    if (auto* label = dynamic_cast<TPriLabel*>(&obj)) {
        label->MakeLines();
        label->UpdateGlyphs(ViewSize(), PaperPixels(), true, fScreenInch);
    }
}

TPriBase* TPriPaint::CurrentObject() const {
    return fMouse->Current();
}

bool TPriPaint::LoadFromFile(const QString& fileName, int formatKind, QString* error) {
    const TDocumentResult result = fDocument->Load(fileName, formatKind);
    if (error) *error = result.Reason;
    if (!result) return false;
    MarkSaved();
    return true;
}

bool TPriPaint::SaveToFile(const QString& fileName, int formatKind, QString* error) {
    const TDocumentResult result = fDocument->Save(fileName, formatKind);
    if (error) *error = result.Reason;
    if (!result) return false;
    DeselectAll();
    History().Clear();
    MarkSaved();
    RedrawPage(nullptr, true, false);
    return true;
}

bool TPriPaint::SetBackgroundFromFile(const QString& name, bool* unreadable) {
    if (unreadable) *unreadable = false;
    if (name.isEmpty()) return false;
    // Kept whole, with the bytes its picture came from, in case the new one is refused.
    const TPriBackImage before = BackObject;
    if (!BackObject.LoadBackFile(name)) {
        if (unreadable) *unreadable = true;
        return false;
    }
    // The new picture replaces the old one within what the document may hold.
    const QImage loaded = BackObject.ActiveBack();
    const QImage& previous = before.ActiveBack();
    BackObject.ActiveBack() = previous;
    const QImage fitted =
        FitPictureToDocument(loaded, previous.isNull() ? 0 : qint64(previous.width()) * previous.height());
    if (fitted.isNull()) {
        BackObject = before;
        return false;
    }
    BackObject.ActiveBack() = fitted.size() == loaded.size() ? loaded : fitted;
    NoteChange();
    BackObject.MakeViewPart(FVisibleRect, ViewSize().width(), ViewSize().height());
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::AddImageFromFile(const QString& name) {
    if (name.isEmpty()) {
        Host().ShowMessage(QStringLiteral("失敗しました"));
        return false;
    }
    auto showMessage = [this](int number) {
        Host().ShowMessage(OutMess ? OutMess->GetMessage(number) : TOutMessage::ErrorText());
    };
    auto image = std::make_unique<TPriImage>();
    image->SetBounds(0, 0, ViewSize().width() / 3, ViewSize().height() / 3);
    image->SetForcusCheck(true);
    image->BackImage = &FPageBitmap;
    image->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    bool loaded = false;
    try {
        loaded = image->LoadImageFile(name);
    } catch (const std::exception&) {
        showMessage(4);
        RedrawPage(nullptr, true, true);
        return false;
    }
    if (!loaded) {
        showMessage(3);
        RedrawPage(nullptr, true, true);
        return false;
    }
    // Within what a saved file may hold, so that the document opens again as it is.
    const QImage fitted = FitPictureToDocument(image->BaseBmp);
    if (fitted.isNull()) {
        RedrawPage(nullptr, true, true);
        return false;
    }
    if (fitted.size() != image->BaseBmp.size()) image->SetPicture(fitted);
    TEditStep step(*this, ukAdd);
    TPriBase* added = AppendObject(std::move(image));
    step.Record(added);
    FSelectList.append(added);
    SelectCheck = mnSearchOn;
    fDocument->NotifySelectionChanged();
    RedrawPage(nullptr, true, true);
    return true;
}

void TPriPaint::Undo() {
    if (SelectCheck != mnNone && SelectCheck != mnSearchOn) return;
    History().Undo();
}

void TPriPaint::Redo() {
    if (SelectCheck != mnNone && SelectCheck != mnSearchOn) return;
    History().Redo();
}

bool TPriPaint::CanUndo() const {
    return fDocument->History().CanUndo();
}

bool TPriPaint::CanRedo() const {
    return fDocument->History().CanRedo();
}

bool TPriPaint::IsModified() const {
    return fDocument->IsModified();
}

void TPriPaint::NoteChange() {
    // The history tells the document's listeners.
    History().NoteChange();
}

void TPriPaint::MarkSaved() {
    History().MarkSaved();
}

void TPriPaint::ClearDocument() {
    SelectCheck = mnNone;
    fMouse->Reset();
    fDocument->ClearObjects();
}

void TPriPaint::ForgetEditState() {
    fMouse->Reset();
}

void TPriPaint::SetObjectMode(TObjectMode mode) {
    fObjectMode = mode;
    if (parentWidget()) parentWidget()->setCursor(CursorForHandle(fMouse->DragHandle()));
}

Qt::CursorShape TPriPaint::CursorForHandle(int handle) {
    switch (handle) {
    case 0:
    case 7: return Qt::SizeFDiagCursor;
    case 1:
    case 6: return Qt::SizeVerCursor;
    case 2:
    case 5: return Qt::SizeBDiagCursor;
    case 3:
    case 4: return Qt::SizeHorCursor;
    default: return Qt::ForbiddenCursor;
    }
}

QString TPriPaint::SelectionPosText() const {
    if (FSelectList.isEmpty()) return QString();
    const TPriBase* obj = FSelectList.first();
    int x, y, w, h;
    if ((SelectCheck == mnMove || SelectCheck == mnSize) && ViewSize().width() > 0 && ViewSize().height() > 0 &&
        fScreenInch > 0) {
        const double fx = double(PaperPixels().width()) / ViewSize().width();
        const double fy = double(PaperPixels().height()) / ViewSize().height();
        const TRect& t = obj->TrackRect();
        x = Trunc(fx * t.Left / fScreenInch * 254);
        y = Trunc(fy * t.Top / fScreenInch * 254);
        w = Trunc(fx * t.Width() / fScreenInch * 254);
        h = Trunc(fy * t.Height() / fScreenInch * 254);
    } else {
        const QRect& s = obj->StoreRect();
        x = s.x();
        y = s.y();
        w = s.width();
        h = s.height();
    }
    return QStringLiteral("X : %1mm   Y : %2mm   W : %3mm   H : %4mm").arg(x / 10).arg(y / 10).arg(w / 10).arg(h / 10);
}

void TPriPaint::ShowSelectionPos() {
    Host().ShowPositionText(SelectionPosText());
}
