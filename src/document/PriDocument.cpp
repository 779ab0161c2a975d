#include "document/PriDocument.h"

#include "calendar/PriCarendar.h"
#include "document/EditHistory.h"
#include "document/ObjectKinds.h"
#include "document/OutMessage.h"
#include "document/TemplateFile.h"
#include "merge/PriField.h"
#include "objects/PriImage.h"
#include "platform/Rounding.h"

#include <QPainter>
#include <algorithm>

TPriDocument::TPriDocument(QString appPath, int screenInch, QObject* parent)
    : QObject(parent), fAppPath(std::move(appPath)), fScreenInch(screenInch > 0 ? screenInch : 96),
      fHistory(std::make_unique<TEditHistory>(*this)) {}

TPriDocument::~TPriDocument() {
    // The steps go before the objects they refer to.
    fHistory->Reset();
    FSelectList.clear();
    FSideObjects[0].clear();
    FSideObjects[1].clear();
}

void TPriDocument::UpdatePaperPixels() {
    FPaperPixels = QSize(Trunc(PrintPaper.PageWidth() / 254.0 * fScreenInch),
                         Trunc(PrintPaper.PageHeight() / 254.0 * fScreenInch));
}

void TPriDocument::SetViewSize(QSize size, qreal ratio) {
    int w = size.width(), h = size.height();
    // A paper larger than any painter can draw (a corrupt file) gets no page rather than an
    // allocation of gigabytes.
    if (qint64(w) > kMaxViewSide || qint64(h) > kMaxViewSide || qint64(w) * h > TDocumentLimits::kMaxRasterPixels)
        w = h = 0;
    fViewSize = QSize(std::max(w, 0), std::max(h, 0));
    // A page too large for the device resolution is kept at one pixel per view pixel.
    if (!(ratio > 0) || fViewSize.width() * ratio > kMaxViewSide || fViewSize.height() * ratio > kMaxViewSide)
        ratio = 1;
    const QSize pixels = (QSizeF(fViewSize) * ratio).toSize();
    if (FPageBitmap.size() != pixels || FPageBitmap.devicePixelRatio() != ratio || FPageBitmap.isNull()) {
        FPageBitmap = fViewSize.isEmpty() ? QImage() : QImage(pixels, QImage::Format_RGB32);
        if (!FPageBitmap.isNull()) {
            FPageBitmap.setDevicePixelRatio(ratio);
            FPageBitmap.fill(Qt::white);
        }
    }
    for (auto& obj : FSideObjects[0]) {
        obj->BackImage = &FPageBitmap;
        obj->ScaleToView(fViewSize, FPaperPixels, fScreenInch);
        obj->MakeHandles();
    }
}

void TPriDocument::ScaleToPaper() {
    UpdatePaperPixels();
    SetViewSize(
        QSize(std::min(FPaperPixels.width(), kMaxViewSide + 1), std::min(FPaperPixels.height(), kMaxViewSide + 1)));
}

bool TPriDocument::HasVisibleObjects() const {
    for (const auto& obj : FSideObjects[0])
        if (!obj->UndoCheck) return true;
    return false;
}

TPriBase* TPriDocument::AppendObject(std::unique_ptr<TPriBase> object) {
    object->ListNum = int(FSideObjects[0].size());
    object->BackImage = &FPageBitmap;
    FSideObjects[0].push_back(std::move(object));
    emit Changed();
    return FSideObjects[0].back().get();
}

void TPriDocument::RenumberObjects() {
    int i = 0;
    for (auto& obj : FSideObjects[0])
        obj->ListNum = i++;
}

void TPriDocument::ClearObjects() {
    fHistory->Reset();
    FSelectList.clear();
    FSideObjects[0].clear();
    emit SelectionChanged();
    emit Changed();
}

void TPriDocument::ReplaceContent(TObjectOwnerList side1, TObjectOwnerList side2, const TPriPaper& paper,
                                  const TPriBackImage& back) {
    fHistory->Reset();
    FSelectList.clear();
    FSideObjects[0] = std::move(side1);
    FSideObjects[1] = std::move(side2);
    for (auto& side : FSideObjects) {
        int i = 0;
        for (auto& obj : side) {
            obj->ListNum = i++;
            obj->BackImage = &FPageBitmap;
        }
    }
    PrintPaper.Assign(paper);
    UpdatePaperPixels();
    BackObject.AssignBack(back);
    emit ContentReplaced();
    emit SelectionChanged();
    emit Changed();
}

void TPriDocument::ShiftMonth(int year, int storedMonth, int startMonth, int& outYear, int& outMonth) {
    const int m = storedMonth + startMonth - 1;
    if (m < 13) {
        outYear = year;
        outMonth = m;
    } else {
        outYear = year + 1;
        outMonth = m - 12;
    }
}

void TPriDocument::ApplyStartMonth(int year, int startMonth) {
    // Years outside the calendar's range would overflow in the move to the next year.
    if (year < TDocumentLimits::kMinYear || year > TDocumentLimits::kMaxYear || startMonth < 1 || startMonth > 12)
        return;
    for (auto& obj : FSideObjects[0]) {
        switch (obj->ObjectNum) {
        case okCarendar: static_cast<TPriCarendar&>(*obj).ShiftToStart(year, startMonth); break;
        case okField: static_cast<TPriField&>(*obj).ApplyStartMonth(year, startMonth); break;
        default: break;
        }
    }
    emit Changed();
}

void TPriDocument::ApplySender(const TSenderInfo& sender) {
    fSender = sender;
    bool changed = false;
    for (auto& side : FSideObjects)
        for (auto& obj : side)
            if (obj->ObjectNum == okField) {
                auto& field = static_cast<TPriField&>(*obj);
                changed |= field.ApplySender(sender.Item(field.Extras.SenderItem));
            }
    if (changed) emit Changed();
}

qint64 TPriDocument::PicturePixelsLeft() const {
    const auto pixels = [](const QImage& image) { return image.isNull() ? 0 : qint64(image.width()) * image.height(); };
    qint64 used = pixels(BackObject.FMainBack) + pixels(BackObject.FSubBack);
    for (const TObjectOwnerList& side : FSideObjects)
        for (const auto& obj : side)
            if (obj->ObjectNum == okImage && !obj->UndoCheck)
                used += pixels(static_cast<const TPriImage&>(*obj).BaseBmp);
    return std::max<qint64>(0, fPictureBudget - used);
}

bool TPriDocument::CalendarsLackHolidays() const {
    for (const TObjectOwnerList& side : FSideObjects)
        for (const auto& obj : side)
            if (obj->ObjectNum == okCarendar && !obj->UndoCheck &&
                !static_cast<const TPriCarendar&>(*obj).HolidayList())
                return true;
    return false;
}

TDocumentResult TPriDocument::Load(const QString& fileName, int formatKind) {
    using TResult = TTemplateFile::TResult;
    TDocumentResult out;
    const TResult result = TTemplateFile::Load(*this, fileName, formatKind, &out.Reason);
    switch (result) {
    case TResult::Ok:
        out.Ok = true;
        TempLatePath = fileName;
        emit Changed();
        break;
    case TResult::BadVersion: out.Reason = QStringLiteral("バージョンが異なります"); break;
    case TResult::BadKind: out.Reason = QStringLiteral("保存形式が異なります"); break;
    case TResult::Silent: out.Reason = QStringLiteral("テンプレートファイルとして読み込めません"); break;
    default: break;
    }
    return out;
}

TDocumentResult TPriDocument::Save(const QString& fileName, int formatKind) {
    using TResult = TTemplateFile::TResult;
    TDocumentResult out;
    const TResult result = TTemplateFile::Save(*this, fileName, formatKind, &out.Reason);
    if (result == TResult::ObjectWrite) out.Reason = OutMess ? OutMess->GetMessage(11) : TOutMessage::ErrorText();
    out.Ok = result == TResult::Ok;
    if (out.Ok) {
        TempLatePath = fileName;
        emit Changed();
    }
    return out;
}

bool TPriDocument::IsModified() const {
    return fHistory->IsModified();
}

void TPriDocument::ClearSelection() {
    DeselectAll();
}

bool TPriDocument::DeselectAll() {
    if (FSelectList.isEmpty()) return false;
    // The frames live in the surface's overlay, not on the page: ending the tracking draws nothing.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter canvas(&scratch);
    for (qsizetype i = FSelectList.size() - 1; i >= 0; --i) {
        FSelectList[i]->SetForcusCheck(false);
        FSelectList[i]->EndTrack(canvas);
    }
    FSelectList.clear();
    emit SelectionChanged();
    return true;
}

void TPriDocument::Reselect(TPriBase& object) {
    if (FSelectList.contains(&object)) return;
    FSelectList.append(&object);
    object.SetForcusCheck(true);
    object.BeginTrack();
    emit SelectionChanged();
}

void TPriDocument::Forget(TPriBase& object) {
    if (object.ForcusCheck()) object.SetForcusCheck(false);
    if (FSelectList.removeAll(&object) > 0) emit SelectionChanged();
    emit ObjectForgotten(&object);
}

void TPriDocument::Relayout(TPriBase& object) {
    object.ScaleToView(fViewSize, FPaperPixels, fScreenInch);
    object.MakeHandles();
}
