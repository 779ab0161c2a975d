// Creating objects with the tools, and the edit dialogs a double click or a menu opens.
#include "calendar/PriCarendar.h"
#include "document/EditStep.h"
#include "document/MouseTracker.h"
#include "document/OutMessage.h"
#include "document/PriPaint.h"
#include "imaging/ImageCodec.h"
#include "merge/FieldUnit.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/DialogLibrary.h"
#include "platform/DocumentLimits.h"
#include "platform/PackEntries.h"

#include <algorithm>
#include <exception>

void TPriPaint::PrepareCreated(TPriBase& obj, const TRect& r) {
    obj.SetBounds(r.Left, r.Top, r.Width(), r.Height());
    obj.SetForcusCheck(true);
    obj.BackImage = &FPageBitmap;
    obj.ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
}

bool TPriPaint::AcceptCreated(std::unique_ptr<TPriBase> object) {
    TEditStep step(*this, ukAdd);
    TPriBase* added = AppendObject(std::move(object));
    step.Record(added);
    DeselectAll();
    SelectObject(added);
    SelectCheck = mnSearchOn;
    return true;
}

bool TPriPaint::AddLabel(const TRect& r) {
    if (!DialogLibrary) return false;
    auto label = std::make_unique<TPriLabel>();
    label->Color = clWhite;
    label->SmallCheck = true;
    label->SameFSize = std::max(1, DefaultFont.pointSize());
    label->Font.setFamily(DefaultFont.family());
    label->FontColor = DefaultFontColor;
    PrepareCreated(*label, r);
    label->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
    QString text;
    if (!DialogLibrary->StringEditDlg(QString(), text)) return false;
    label->SetDataString(text);
    label->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
    return AcceptCreated(std::move(label));
}

bool TPriPaint::AddImage(const TRect& r) {
    const QString file = Host().AskPictureFile(fAppPath);
    if (file.isEmpty()) return false;
    auto image = std::make_unique<TPriImage>();
    PrepareCreated(*image, r);
    auto show = [this](int n) { Host().ShowMessage(OutMess ? OutMess->GetMessage(n) : TOutMessage::ErrorText()); };
    try {
        if (!image->LoadImageFile(file)) {
            show(3);
            return false;
        }
    } catch (const std::exception&) {
        show(4);
        return false;
    }
    image->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    return AcceptCreated(std::move(image));
}

bool TPriPaint::AddField(const TRect& r) {
    if (!DialogLibrary) return false;
    auto field = std::make_unique<TPriField>();
    field->Color = clWhite;
    field->SameFSize = std::max(1, DefaultFont.pointSize());
    field->Font.setFamily(DefaultFont.family());
    field->FontColor = DefaultFontColor;
    field->AppPath = fAppPath;
    PrepareCreated(*field, r);
    int32_t category = -1;
    QString name;
    if (!DialogLibrary->EditCategory(QStringLiteral("フィールド追加"), 8, category, name)) return false;
    field->SetCategoryName(name);
    field->CategoryNum = category;
    field->FieldState = fsText;
    field->FieldMode = fmStandAlone;
    field->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
    return AcceptCreated(std::move(field));
}

bool TPriPaint::AddShape(const TRect& r, TBltShape kind) {
    auto shape = std::make_unique<TPriShape>();
    shape->Shape = kind;
    shape->Pen = TPriPen{clBlack, 1, psSolid};
    shape->SamePSize = 1;
    shape->Brush = TPriBrush{clBlack, bsClear};
    PrepareCreated(*shape, r);
    shape->ScalePenWidth(ViewSize(), PaperPixels());
    return AcceptCreated(std::move(shape));
}

bool TPriPaint::AddLine(const TRect& r, QPoint start, QPoint end) {
    auto line = std::make_unique<TPriLine>();
    line->Pen = TPriPen{clBlack, 1, psSolid};
    line->SamePSize = 1;
    PrepareCreated(*line, r);
    line->SetStartPoint(start);
    line->SetEndPoint(end);
    line->ScalePenWidth(ViewSize(), PaperPixels());
    line->MakeHandles();
    return AcceptCreated(std::move(line));
}

bool TPriPaint::AddPortal(const TRect& r) {
    if (!DialogLibrary) return false;
    auto portal = std::make_unique<TPriPortal>();
    portal->ObjHeight = r.Height() + 1;
    portal->Pen = TPriPen{clBlack, 1, psSolid};
    portal->Brush = TPriBrush{clWhite, bsClear};
    PrepareCreated(*portal, TRect::FromBounds(r.Left, r.Top, r.Width(), r.Height()));
    int32_t rows = 10;
    QString name;
    const QStringList files = FieldUnit ? FieldUnit->Names() : QStringList();
    if (!DialogLibrary->PortalSettingDlg(rows, QString(), name, files)) return false;
    portal->SetRows(rows);
    portal->Height = int(std::min<qint64>(qint64(portal->ObjHeight) * portal->Rows, kMaxViewSide));
    portal->Dataname = name;
    portal->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    portal->ScalePenWidth(ViewSize(), PaperPixels());
    portal->MakeHandles();
    return AcceptCreated(std::move(portal));
}

bool TPriPaint::AddCarendar(const TRect& r) {
    if (!DialogLibrary) return false;
    try {
        auto cal = std::make_unique<TPriCarendar>();
        cal->SetBaseSize(QPoint(PaperPixels().width(), PaperPixels().height()));
        cal->LoadHoliday(TPriCarendar::HolidayFile(fAppPath));
        PrepareCreated(*cal, r);
        if (!DialogLibrary->CarendarSetDlg(cal.get())) return false;
        cal->MakeDayTable();
        cal->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
        return AcceptCreated(std::move(cal));
    } catch (const std::exception&) {
        Host().ShowMessage(OutMess ? OutMess->GetMessage(7) : TOutMessage::ErrorText());
        return false;
    }
}

// ---- editing the current object

void TPriPaint::EditObject(TPriBase* obj) {
    if (!obj || obj->LockCheck || !DialogLibrary) return;
    switch (obj->ObjectNum) {
    case okLabel: EditText(obj); break;
    case okField: EditFieldCategory(obj); break;
    case okShape: EditPenBrush(obj, 0); break;
    case okPortal: EditPortal(obj); break;
    case okLine: EditPenBrush(obj, 1); break;
    case okCarendar: EditCarendar(obj); break;
    default: break; // a picture opens nothing
    }
}

bool TPriPaint::EditText(TPriBase* obj) {
    auto* label = dynamic_cast<TPriLabel*>(obj);
    // A field's text is its category name.
    auto* field = obj && obj->ObjectNum == okField ? dynamic_cast<TPriField*>(obj) : nullptr;
    if (!label || (obj->ObjectNum != okLabel && !field) || !DialogLibrary) return false;
    QString text;
    if (!DialogLibrary->StringEditDlg(field ? field->CategoryName() : label->DataString(), text)) return false;
    TEditStep step(*this, ukProperty);
    step.Record(label);
    if (field)
        field->SetCategoryName(text);
    else
        label->SetDataString(text);
    label->MakeLines();
    label->UpdateGlyphs(ViewSize(), PaperPixels(), true, fScreenInch);
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::EditFont(TPriBase* current) {
    auto* label = dynamic_cast<TPriLabel*>(current);
    if (!label || (current->ObjectNum != okLabel && current->ObjectNum != okField) || !DialogLibrary) return false;
    // The dialog edits a scratch text that took the whole object, its kind too; the object is
    // touched only once the dialog is confirmed.
    TPriLabel scratch;
    scratch.AssignObject(label, false);
    scratch.ObjectNum = label->ObjectNum;
    QString face;
    int32_t size = label->SameFSize, color = label->FontColor;
    int32_t style = (label->Font.bold() ? fsBoldBit : 0) | (label->Font.italic() ? fsItalicBit : 0) |
                    (label->Font.underline() ? fsUnderlineBit : 0) | (label->Font.strikeOut() ? fsStrikeOutBit : 0);
    if (!DialogLibrary->FontEditDlg(1, &scratch, label->Font.family(), face, size, style, color)) return false;
    TEditStep step(*this, ukProperty);
    for (TPriBase* obj : FSelectList) {
        auto* text = dynamic_cast<TPriLabel*>(obj);
        if (!text || obj->LockCheck || obj->UndoCheck || (obj->ObjectNum != okLabel && obj->ObjectNum != okField))
            continue;
        step.Record(obj);
        if (!face.isEmpty()) text->Font.setFamily(face);
        text->Font.setBold(style & fsBoldBit);
        text->Font.setItalic(style & fsItalicBit);
        text->Font.setUnderline(style & fsUnderlineBit);
        text->Font.setStrikeOut(style & fsStrikeOutBit);
        text->FontColor = color;
        text->SameFSize = std::max(1, size);
        text->FitFontSize(ViewSize(), PaperPixels());
        text->TransParent = scratch.TransParent;
        text->Color = scratch.Color;
        text->SetFontAngle(scratch.FontAngle() == faLong ? faLong : faSide);
        text->SidePos = scratch.SidePos;
        text->LongPos = scratch.LongPos;
        text->CharSpace = scratch.CharSpace;
        text->LongSpace = scratch.LongSpace;
        text->KinsokuCheck = scratch.KinsokuCheck;
        text->LongKanaCheck = scratch.LongKanaCheck;
        text->Extras.HyphenRule = scratch.Extras.HyphenRule;
        text->Extras.ShrinkToFit = scratch.Extras.ShrinkToFit;
        text->SetCharExtra(fScreenInch);
        text->MakeLines();
        text->UpdateGlyphs(ViewSize(), PaperPixels(), true, fScreenInch);
    }
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::EditFieldCategory(TPriBase* obj) {
    auto* field = dynamic_cast<TPriField*>(obj);
    if (!field || !DialogLibrary) return false;
    int32_t category = field->CategoryNum;
    // The dialog starts from the field's own item, which the name tells among equal numbers.
    QString name = field->CategoryName();
    TObjectExtras extras = field->Extras;
    int32_t state = field->FieldState;
    if (!DialogLibrary->EditFieldCategory(QStringLiteral("フィールド追加"), category, name, extras, &state))
        return false;
    TEditStep step(*this, ukProperty);
    step.Record(field);
    field->CategoryNum = category;
    field->Extras = extras;
    if (state >= fsText && state <= fsRengeTotal) field->FieldState = TFieldState(state);
    field->SetCategoryName(name);
    // A sender field shows the sender at once, as it will after the next open.
    field->ApplySender(fDocument->Sender().Item(extras.SenderItem));
    field->MakeLines();
    field->UpdateGlyphs(ViewSize(), PaperPixels(), true, fScreenInch);
    RedrawPage(nullptr, true, false);
    return true;
}

bool TPriPaint::EditPenBrush(TPriBase* current, int mode) {
    if (!current || !DialogLibrary) return false;
    int32_t penStyle = 0, penWidth = 1, penColor = 0, brushStyle = 0, brushColor = 0, roundNum = -1;
    if (auto* s = dynamic_cast<TPriShape*>(current)) {
        penStyle = s->Pen.Style, penWidth = s->SamePSize, penColor = s->Pen.Color;
        brushStyle = s->Brush.Style, brushColor = s->Brush.Color;
        if (s->Shape == TBltShape::RoundRect) roundNum = s->RoundNum;
    } else if (auto* l = dynamic_cast<TPriLine*>(current)) {
        penStyle = l->Pen.Style, penWidth = l->SamePSize, penColor = l->Pen.Color;
    } else if (auto* p = dynamic_cast<TPriPortal*>(current)) {
        penStyle = p->Pen.Style, penWidth = p->SamePSize, penColor = p->Pen.Color;
        brushStyle = p->Brush.Style, brushColor = p->Brush.Color;
    } else {
        return false;
    }
    if (!DialogLibrary->PenBrushSetDlg(0, penStyle, penWidth, penColor, brushStyle, brushColor, roundNum, mode))
        return false;
    const bool pen = mode == 0 || mode == 1, fill = mode == 0 || mode == 2;
    TEditStep step(*this, ukProperty);
    for (TPriBase* obj : FSelectList) {
        step.Record(obj);
        if (auto* s = dynamic_cast<TPriShape*>(obj)) {
            if (fill) {
                s->Brush = TPriBrush{brushColor, uint8_t(brushStyle)};
                if (roundNum >= 0) s->RoundNum = roundNum;
            }
            if (pen) {
                s->Pen.Color = penColor, s->Pen.Style = uint8_t(penStyle), s->SamePSize = std::max(1, penWidth);
                s->ScalePenWidth(ViewSize(), PaperPixels());
            }
        } else if (auto* l = dynamic_cast<TPriLine*>(obj)) {
            if (pen) {
                l->Pen.Color = penColor, l->Pen.Style = uint8_t(penStyle), l->SamePSize = std::max(1, penWidth);
                l->ScalePenWidth(ViewSize(), PaperPixels());
            }
        } else if (auto* p = dynamic_cast<TPriPortal*>(obj)) {
            if (fill) p->Brush = TPriBrush{brushColor, uint8_t(brushStyle)};
            if (pen) {
                p->Pen.Color = penColor, p->Pen.Style = uint8_t(penStyle), p->SamePSize = std::max(1, penWidth);
                p->ScalePenWidth(ViewSize(), PaperPixels());
            }
        }
    }
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::EditPortal(TPriBase* obj) {
    auto* portal = dynamic_cast<TPriPortal*>(obj);
    if (!portal || !DialogLibrary) return false;
    int32_t rows = portal->Rows;
    QString name;
    const QStringList files = FieldUnit ? FieldUnit->Names() : QStringList();
    if (!DialogLibrary->PortalSettingDlg(rows, portal->Dataname, name, files)) return false;
    TEditStep step(*this, ukProperty);
    step.Record(portal);
    portal->SetRows(rows);
    portal->Height = int(std::min<qint64>(qint64(portal->ObjHeight) * portal->Rows, kMaxViewSide));
    portal->Dataname = name;
    portal->ScaleToStore(ViewSize(), PaperPixels(), fScreenInch);
    portal->MakeHandles();
    RedrawPage(nullptr, true, true);
    return true;
}

bool TPriPaint::EditCarendar(TPriBase* obj) {
    auto* cal = dynamic_cast<TPriCarendar*>(obj);
    if (!cal || !DialogLibrary) return false;
    TPriCarendar scratch;
    scratch.AssignObject(cal, false);
    if (!DialogLibrary->CarendarSetDlg(&scratch)) return false;
    TEditStep step(*this, ukProperty);
    step.Record(cal);
    cal->AssignObject(&scratch, false);
    cal->MakeDayTable();
    cal->ScaleToView(ViewSize(), PaperPixels(), fScreenInch);
    RedrawPage(nullptr, true, true);
    return true;
}

QImage TPriPaint::FitPictureToDocument(const QImage& picture, qint64 freed) {
    const qint64 left = std::min(TDocumentLimits::kMaxPicturePixels, PicturePixelsLeft() + freed);
    const QImage fitted = TImageCodec::FitPixels(picture, left);
    if (TImageCodec::IsEmpty(fitted)) {
        Host().ShowMessage(
            QStringLiteral("画像の画素数の合計が上限 %1 メガピクセルに達しているため、画像を追加できません")
                .arg(TDocumentLimits::kMaxDocumentPixels >> 20));
        return {};
    }
    if (fitted.size() != picture.size())
        Host().ShowMessage(QStringLiteral("画像が大きいため、%1 × %2 ピクセルに縮小しました")
                               .arg(fitted.width())
                               .arg(fitted.height()));
    return fitted;
}
