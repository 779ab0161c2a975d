// The surface's clipboard commands: copy and cut as the program's own block, paste of that block,
// of plain text and of pictures from other programs.
#include "calendar/PriCarendar.h"
#include "document/ClipboardBlock.h"
#include "document/EditStep.h"
#include "document/MouseTracker.h"
#include "document/PriPaint.h"
#include "merge/PriField.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "platform/Cp932.h"
#include "platform/DocumentLimits.h"
#include "platform/Rounding.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

bool IsTextFormat(const QString& f) {
    return f.startsWith(QLatin1String("text/plain")) || f == QLatin1String("UTF8_STRING") ||
           f == QLatin1String("STRING") || f == QLatin1String("TEXT");
}

bool IsImageFormat(const QString& f) {
    return f.startsWith(QLatin1String("image/")) || f == QLatin1String("application/x-qt-image");
}

} // namespace

QString TPriPaint::ClipboardFormat() {
    return QStringLiteral("SOR_DATA");
}

bool TPriPaint::CopySelection() {
    if (FSelectList.isEmpty()) return false;
    const QByteArray block = TClipboardBlock::Write(FSelectList);
    QClipboard* clipboard = Clipboard();
    if (block.isEmpty() || !clipboard) return false;
    auto* data = new QMimeData;
    data->setData(ClipboardFormat(), block);
    clipboard->setMimeData(data);
    return true;
}

bool TPriPaint::CutSelection() {
    if (!CopySelection()) return false;
    TEditStep step(*this, ukCut);
    for (TPriBase* obj : FSelectList)
        if (!obj->LockCheck) step.Record(obj);
    DeselectAll();
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::CanPaste() const {
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data) return false;
    for (const QString& f : data->formats())
        if (f == ClipboardFormat() || IsTextFormat(f) || IsImageFormat(f)) return true;
    return false;
}

bool TPriPaint::PasteClipboard() {
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || data->formats().isEmpty()) return false;
    // One step, whatever number of the offered types are pasted.
    TEditStep step(*this, ukPaste);
    if (DeselectAll()) RedrawPage(nullptr, true, true);
    const QPoint at = fMouse->DownPoint();
    // Other programs offer one text or picture under several types at once: each is pasted once.
    bool block = false, text = false, image = false, result = false;
    for (const QString& f : data->formats()) {
        if (f == ClipboardFormat() && !block) {
            block = true;
            result = PasteBlock(data->data(f), at);
        } else if (IsTextFormat(f) && !text && data->hasText()) {
            text = true;
            result = PasteText(data->text(), at);
        } else if (IsImageFormat(f) && !image && data->hasImage()) {
            image = true;
            result = PasteImage(qvariant_cast<QImage>(data->imageData()), at);
        }
    }
    if (!step.IsEmpty()) RedrawPage(nullptr, true, true);
    return result;
}

bool TPriPaint::PasteBlock(const QByteArray& bytes, QPoint at) {
    std::vector<std::unique_ptr<TPriBase>> objects;
    const TClipboardBlock::TResult read = TClipboardBlock::Read(bytes, objects, PicturePixelsLeft());
    if (read == TClipboardBlock::TResult::OverBudget) {
        Host().ShowMessage(QStringLiteral("画像の画素数の合計が上限 %1 メガピクセルを超えるため、貼り付けできません")
                               .arg(TDocumentLimits::kMaxDocumentPixels >> 20));
        return false;
    }
    if (read != TClipboardBlock::TResult::Ok ||
        FObjectList->size() + objects.size() > size_t(TClipboardBlock::kMaxObjects)) {
        Host().ShowMessage(QStringLiteral("失敗"));
        return false;
    }
    if (objects.empty()) return false;
    TEditStep step(*this, ukPaste);
    QPoint offset;
    if (ViewSize().width() > 0 && ViewSize().height() > 0) {
        offset = QPoint(Trunc(double(PaperPixels().width()) / ViewSize().width() * at.x() / fScreenInch * 254),
                        Trunc(double(PaperPixels().height()) / ViewSize().height() * at.y() / fScreenInch * 254));
    }
    for (auto& obj : objects) {
        if (obj->ObjectNum == okField) {
            auto& field = static_cast<TPriField&>(*obj);
            field.AppPath = fAppPath;
            field.SetCharExtra(fScreenInch);
            field.MakeLines();
        }
        if (obj->ObjectNum == okCarendar) {
            auto& cal = static_cast<TPriCarendar&>(*obj);
            cal.SetBaseSize(QPoint(PaperPixels().width(), PaperPixels().height()));
            cal.LoadHoliday(TPriCarendar::HolidayFile(fAppPath));
        }
        obj->SetStorePos(obj->GetStorePos() + offset);
        TPriBase* placed = AppendObject(std::move(obj));
        if (placed->ObjectNum == okCarendar) static_cast<TPriCarendar&>(*placed).MakeDayTable();
        // The record's geometry stands as read: storing it back from pixels would round it off.
        placed->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
        placed->MakeHandles();
        SelectObject(placed);
        step.Record(placed);
    }
    SelectCheck = mnSearchOn;
    return true;
}

bool TPriPaint::PasteText(const QString& source, QPoint at) {
    QString text = source;
    // No longer than the text dialog could have made it.
    while (!text.isEmpty() && TCp932::Encode(text).size() >= TPriLabel::kMaxTextBytes)
        text.chop(text.size() / 4 + 1);
    if (text.isEmpty() || FObjectList->size() >= size_t(TClipboardBlock::kMaxObjects)) return false;
    auto label = std::make_unique<TPriLabel>();
    label->SetBounds(at.x(), at.y(), 700, 700);
    label->Font.setFamily(DefaultFont.family());
    label->FontColor = DefaultFontColor;
    label->SameFSize = std::max(1, DefaultFont.pointSize());
    label->Font.setPointSize(label->SameFSize);
    label->BackImage = &FPageBitmap;
    label->SetCharExtra(fScreenInch);
    label->SetDataString(text);
    label->MakeLines();
    label->FitBoundsToText();
    TEditStep step(*this, ukPaste);
    TPriBase* placed = AppendObject(std::move(label));
    placed->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    SelectObject(placed);
    step.Record(placed);
    SelectCheck = mnSearchOn;
    return true;
}

bool TPriPaint::PasteImage(const QImage& source, QPoint at) {
    if (source.isNull() || FObjectList->size() >= size_t(TClipboardBlock::kMaxObjects)) return false;
    const QImage picture = FitPictureToDocument(source);
    if (picture.isNull()) return false;
    auto image = std::make_unique<TPriImage>();
    image->SetBounds(at.x(), at.y(), 200, 200);
    image->BackImage = &FPageBitmap;
    // Kept as PNG, so a picture with transparency keeps it.
    image->ImageType = 3;
    image->SetPicture(picture);
    TEditStep step(*this, ukPaste);
    TPriBase* placed = AppendObject(std::move(image));
    placed->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    SelectObject(placed);
    step.Record(placed);
    SelectCheck = mnSearchOn;
    return true;
}
