// The picture and background commands of the context menus.
#include "document/EditStep.h"
#include "document/MouseTracker.h"
#include "document/OutMessage.h"
#include "document/PriPaint.h"
#include "objects/PriImage.h"

namespace {

template <typename F> bool ChangeImages(TPriPaint& doc, F change) {
    TEditStep step(doc, ukProperty);
    for (TPriBase* obj : doc.SelectList()) {
        auto* image = dynamic_cast<TPriImage*>(obj);
        if (!image || obj->LockCheck) continue;
        step.Record(image);
        change(*image);
        image->RebuildLightImage();
    }
    if (step.IsEmpty()) return false;
    doc.RedrawPage(nullptr, true, true);
    return true;
}

} // namespace

void TPriPaint::ChooseTool(TObjectMode mode) {
    SetObjectMode(mode);
    SelectCheck = mnNone;
    DeselectAll();
}

bool TPriPaint::ToggleProportional() {
    auto* current = dynamic_cast<TPriImage*>(CurrentObject());
    if (!current) return false;
    const bool value = !current->Proportional;
    return ChangeImages(*this, [&](TPriImage& i) { i.Proportional = value; });
}

bool TPriPaint::ToggleTransparent() {
    auto* current = dynamic_cast<TPriImage*>(CurrentObject());
    if (!current) return false;
    const bool value = !current->TransParent;
    return ChangeImages(*this, [&](TPriImage& i) { i.TransParent = value; });
}

bool TPriPaint::SetTransparentColor(TColor color) {
    return ChangeImages(*this, [&](TPriImage& i) { i.Color = color; });
}

bool TPriPaint::ChangeImage() {
    auto* current = dynamic_cast<TPriImage*>(CurrentObject());
    if (!current) return false;
    const QString file = Host().AskPictureFile(SozaiFolder());
    update();
    if (file.isEmpty()) return false;
    TPriImage scratch;
    if (!scratch.LoadImageFile(file)) {
        Host().ShowMessage(OutMess ? OutMess->GetMessage(3) : TOutMessage::ErrorText());
        return false;
    }
    TEditStep step(*this, ukProperty);
    step.Record(current);
    current->ImageType = scratch.ImageType;
    current->SetImagePath(scratch.ImagePath());
    current->ResetEffects();
    current->SetPicture(scratch.BltBmp);
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::ReplacePicture(TPriImage* image, QImage picture) {
    if (!image || image->LockCheck || picture.isNull()) return false;
    TEditStep step(*this, ukProperty);
    step.Record(image);
    image->BltBmp = std::move(picture);
    image->RebuildLightImage();
    RedrawPage(nullptr, true, true);
    return true;
}

QString TPriPaint::SozaiFolder() const {
    return fAppPath + QStringLiteral("sozai");
}

bool TPriPaint::ChangeBackground() {
    const QString file = Host().AskPictureFile(SozaiFolder());
    if (file.isEmpty()) return false;
    bool unreadable = false;
    if (SetBackgroundFromFile(file, &unreadable)) return true;
    // It used to report success whatever the file held; a budget refusal has said why already.
    if (unreadable) Host().ShowMessage(OutMess ? OutMess->GetMessage(3) : TOutMessage::ErrorText());
    return false;
}

bool TPriPaint::EraseBackground() {
    if (BackObject.IsEmpty()) return false;
    if (!Host().AskYesNo(OutMess ? OutMess->GetMessage(18) : TOutMessage::ErrorText())) return false;
    BackObject.EraseBack();
    NoteChange();
    RedrawPage(nullptr, true, true);
    return true;
}

void TPriPaint::ToggleBackground() {
    BackObject.SetBackVisible(!BackObject.FVisible);
    NoteChange();
    RedrawPage(nullptr, true, true);
}
