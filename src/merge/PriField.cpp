#include "merge/PriField.h"

#include "platform/DocumentLimits.h"

#include "calendar/JapaneseEra.h"
#include "merge/PostalCode.h"
#include "merge/PriBarcode.h"
#include "objects/PriImage.h"
#include "platform/Cp932.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <memory>
#include <vector>

const QString TPriField::kCurrentRecordName = QStringLiteral("現在レコード数");
const QString TPriField::kTotalRecordName = QStringLiteral("対象レコード数");

struct TPriField::TBody {
    int32_t CategoryNum = 0;
    QString CategoryName;
    QString FileName;
    TFieldPlusStyle Style;
    uint8_t State = fsText;
    uint8_t Mode = fmSubMode;
};

TPriField::TPriField() {
    ObjectNum = okField;
    SmallCheck = false;
}

void TPriField::SetCategoryName(const QString& value) {
    fCategoryName = value;
    fNameFromRecord = false;
    SetDataString(value);
    Relayout();
}

// Lines were broken again for the new text; the glyphs follow at the last scale.
void TPriField::Relayout() {
    if (!BackImage || !FLastPaperPixels.isValid() || FLastPaperPixels.isEmpty()) return;
    UpdateGlyphs(PageSize(), FLastPaperPixels, true, LayoutDpi());
}

void TPriField::SetRecordText(const QString& value, int current, int total) {
    if (Extras.SenderItem != TObjectExtras::TSenderItem::None) {
        // The sender's own text, never a record's, and never the item's name shown while editing.
        if (DataString() != fSenderText) {
            SetDataString(fSenderText);
            Relayout();
        }
        return;
    }
    QString text = value;
    if (FieldState == fsText || FieldState == fsTotal || FieldState == fsRengeTotal) {
        if (fCategoryName == kCurrentRecordName)
            text = QString::number(current);
        else if (fCategoryName == kTotalRecordName)
            text = QString::number(total);
        else
            text = fStyle.Format(value, current, total);
    }
    SetDataString(text);
    Relayout();
}

void TPriField::SetRecordValues(const std::function<QString(int)>& value, int current, int total) {
    if (Extras.NameBlock) {
        const auto part = [&value](int32_t category) { return category >= 0 ? value(category) : QString(); };
        fNameParts = {QString(), part(Extras.GivenCategory), part(Extras.Joint1Category), part(Extras.Joint2Category),
                      part(Extras.HonorificCategory)};
        fNameFromRecord = true;
    }
    if (Extras.BarcodeKind == TBarcodeValue::bkCustomer) fBarcodeAddress = BarcodeAddress(Extras, value);
    SetRecordText(value(CategoryNum), current, total);
}

QString TPriField::BarcodeAddress(const TObjectExtras& extras, const std::function<QString(int)>& value) {
    QString out;
    for (int32_t c : {extras.BarcodeAddress1Category, extras.BarcodeAddress2Category})
        if (c >= 0) out += QChar(u' ') + value(c);
    return out;
}

bool TPriField::BarcodeFor(const TObjectExtras& extras, const QString& value, const QString& address,
                           TBarcodeValue& out) {
    if (extras.BarcodeKind < 0) return TBarcodeValue::Parse(value, out);
    out.Kind = extras.BarcodeKind;
    out.Check = extras.BarcodeCheck;
    out.ShowText = extras.BarcodeText;
    out.Data = extras.BarcodeKind == TBarcodeValue::bkCustomer ? value + address : value;
    return true;
}

QString TPriField::BarcodeTip() const {
    const QRect store = StoreRect();
    if (FieldState != fsBarcode || store.isEmpty()) return {};
    // While editing the value is the category's name: the kind's sample stands in for the data.
    TBarcodeValue value;
    if (Extras.BarcodeKind >= 0) {
        value.Kind = Extras.BarcodeKind;
        value.Data = TBarcodeValue::SampleData(value.Kind);
    } else if (!TBarcodeValue::Parse(DataString(), value)) {
        return {};
    }
    if (!value.ByLibzint()) return {};
    const TZintSymbol symbol = value.Symbol();
    // Stored sizes are in 0.1 mm.
    const double module = symbol.ModuleFor(QRectF(0, 0, store.width() / 10.0, store.height() / 10.0));
    const double least = TBarcodeValue::MinModuleMm(value.Kind);
    if (symbol.IsEmpty() || module >= least) return {};
    return QStringLiteral("枠が小さすぎて%1を印刷できません。1モジュールが%2 mmになり、%3 mm以上が要ります。")
        .arg(TBarcodeValue::KindName(value.Kind), QString::number(module, 'f', 2), QString::number(least, 'f', 2));
}

TNameParts TPriField::NameParts() const {
    TNameParts parts = fNameParts;
    if (!fNameFromRecord) {
        const auto sample = [](int32_t category, const char16_t* name) {
            return category >= 0 ? QString::fromUtf16(name) : QString();
        };
        parts = {QString(), sample(Extras.GivenCategory, u"名"), sample(Extras.Joint1Category, u"連名１"),
                 sample(Extras.Joint2Category, u"連名２"), sample(Extras.HonorificCategory, u"敬称")};
    }
    parts.Family = DataString();
    return parts;
}

void TPriField::MakeLines() {
    if (!NameBlockShown()) {
        TPriLabel::MakeLines();
        return;
    }
    const int before = LayoutSize();
    FBltStrings.clear();
    FHardBreaks.clear();
    fFitSize = 0;
    if (!BackImage) return;
    const TNameBlock block(NameParts());
    TTextCanvas& canvas = LayoutCanvas();
    SetDrawFont(canvas, SameFSize, false, bmLayout);
    const TRect r = LayoutRect(LayoutDpi());
    // The whole block shrinks to its box, whatever ShrinkToFit says: a name is never cut.
    fFitSize = block.FitSize(canvas, Vertical(), QSize(r.Width(), r.Height()), SameFSize);
    FBltStrings = block.Lines();
    for (qsizetype i = 0; i < FBltStrings.size(); ++i)
        FHardBreaks.append(true);
    FollowLayoutSize(before);
}

void TPriField::LayoutGlyphs(TTextCanvas& canvas, const TRect& r, TBltMode mode, int size, const QStringList& lines) {
    if (!NameBlockShown()) {
        TPriLabel::LayoutGlyphs(canvas, r, mode, size, lines);
        return;
    }
    const int align = Vertical() ? (LongPos == tlTop      ? 0
                                    : LongPos == tlBottom ? 2
                                                          : 1)
                                 : (SidePos == psLeft    ? 0
                                    : SidePos == psRight ? 2
                                                         : 1);
    FGlyphs.clear();
    for (const TNameBlock::TPlaced& p : TNameBlock(NameParts()).Place(canvas, Vertical(), r, align))
        FGlyphs.push_back(TGlyphRec{p.Char, p.X, p.Y, false, 0, 0});
}

void TPriField::ApplyStartMonth(int year, int startMonth) {
    // Only four-digit years: the year of a later month must not overflow.
    if (year < TDocumentLimits::kMinYear || year > TDocumentLimits::kMaxYear || startMonth < 1 || startMonth > 12)
        return;
    if (CategoryNum == kYearCategory) {
        SetCategoryName(QString::number(year));
        return;
    }
    if (CategoryNum < kMonthTitleCategory || CategoryNum > kKanshiAnimalCategory) return;
    bool ok = false;
    const int relative = fCategoryName.trimmed().toInt(&ok);
    if (!ok || relative < 1 || relative > 1200) return;
    const int m = relative + startMonth - 1;
    const QString text = MonthTitleText(CategoryNum, year + (m - 1) / 12, (m - 1) % 12 + 1);
    // Before 明治 there is no era year to print: the relative month stays for a later start.
    if (!text.isEmpty()) SetCategoryName(text);
}

QString TPriField::MonthTitleText(int category, int year, int month) {
    switch (category) {
    case kMonthTitleCategory: return QString::number(month);
    case kMonthTitleYearCategory: return QString::number(year);
    case kEraYearCategory: return TJapaneseEra::YearText(year, month, 1);
    case kKanshiCategory: return TJapaneseEra::Kanshi(year);
    case kKanshiAnimalCategory:
        return TJapaneseEra::Kanshi(year) + QStringLiteral("（") + TJapaneseEra::ZodiacAnimal(year) +
               QStringLiteral("）");
    default: return {};
    }
}

bool TPriField::ApplySender(const QString& text) {
    if (Extras.SenderItem == TObjectExtras::TSenderItem::None) return false;
    fSenderText = text;
    // Without a sender the layout names the item, so the block can be placed; none of it prints.
    static const QString kCaptions[] = {QString(), QStringLiteral("差出人郵便番号"), QStringLiteral("差出人住所1"),
                                        QStringLiteral("差出人住所2"), QStringLiteral("差出人氏名")};
    SetCategoryName(text.isEmpty() ? kCaptions[int(Extras.SenderItem)] : text);
    return true;
}

void TPriField::AssignObject(const TPriBase* source, bool layoutOnly) {
    TPriLabel::AssignObject(source, layoutOnly);
    const auto* s = dynamic_cast<const TPriField*>(source);
    if (layoutOnly || !s || s == this) return;
    CategoryNum = s->CategoryNum;
    if (TCp932::Encode(s->fCategoryName).size() < kMaxNameBytes) fCategoryName = s->fCategoryName;
    if (TCp932::Encode(s->FileName).size() < kMaxNameBytes) FileName = s->FileName;
    fStyle.Assign(s->fStyle);
    FieldState = s->FieldState;
    FieldMode = s->FieldMode;
    if (TCp932::Encode(s->DirectString).size() < kMaxTextBytes) DirectString = s->DirectString;
    fBltmode = s->fBltmode;
    AppPath = s->AppPath;
    fNameParts = s->fNameParts;
    fNameFromRecord = s->fNameFromRecord;
    fSenderText = s->fSenderText;
}

// The fill goes first so that an opaque field still shows its frame while editing.
void TPriField::FillBack(QPainter& canvas, const TRect& rect, TBltMode mode) {
    if (!TransParent) canvas.fillRect(rect.ToQRect(), ColorToQColor(Color));
    if (mode == bmLayout && FieldMode != fmJetPrint) {
        canvas.save();
        canvas.setRenderHint(QPainter::Antialiasing, false);
        canvas.setPen(QPen(Qt::black, 1, Qt::SolidLine));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(QRect(rect.Left, rect.Top, rect.Width() - 1, rect.Height() - 1));
        canvas.restore();
    }
}

// Postal codes draw in their own layout; while editing a value that is no postal code (the
// category name) is laid out as text, with the boxes over it.
void TPriField::DrawGlyphs(QPainter& canvas, const TRect& t, bool useMargins, QPoint o, const TRect& m, TBltMode mode,
                           int size, const TRect& c) {
    using TLayout = TObjectExtras::TPostalLayout;
    if (Extras.PostalLayout == TLayout::None || FieldState != fsText) {
        TPriLabel::DrawGlyphs(canvas, t, useMargins, o, m, mode, size, c);
        return;
    }
    const QRectF target(t.Left, t.Top, t.Width(), t.Height());
    const bool layout = mode == bmLayout;
    if (layout && TPostalCode::Digits(DataString()).isEmpty()) {
        TPriLabel::DrawGlyphs(canvas, t, useMargins, o, m, mode, size, c);
    } else {
        TRect k;
        ClipRect(t, c, k);
        canvas.save();
        if (!layout) canvas.setClipRect(k.ToQRect(), Qt::IntersectClip);
        FillBack(canvas, t, mode);
        TPostalCode::DrawValue(canvas, target, GetStoreSize(), DataString(), Extras.PostalLayout, Font,
                               ColorToQColor(FontColor), SameFSize);
        canvas.restore();
    }
    if (Extras.PostalLayout == TLayout::Boxes && (layout || Extras.PrintPostalBoxes))
        TPostalCode::DrawBoxes(canvas, target, GetStoreSize(), Extras.PrintPostalBoxes);
}

QString TPriField::ImageFileFor(const QString& value) const {
    if (value.isEmpty()) return {};
    const QString below = AppPath + value;
    if (!AppPath.isEmpty() && QFileInfo(below).isFile()) return below;
    if (QFileInfo(value).isFile()) return value;
    return {};
}

namespace {

// Pictures of picture fields as loaded, by file and its size and time on disk: a picture repeated over
// the seats is decoded once, and its one scaled copy reaches a PDF as one image object.
std::shared_ptr<TPriImage> LoadedPicture(const QString& path) {
    struct TEntry {
        QString Path;
        QDateTime Modified;
        qint64 Size = 0;
        std::shared_ptr<TPriImage> Image;
    };
    // Most recent last; a few pictures, and a few photographs' worth of pixels at most. Drawing changes the
    // cached object, so each thread that draws keeps its own.
    thread_local std::vector<TEntry> cache;
    constexpr size_t kEntries = 4;
    constexpr qint64 kPixels = qint64(48) * 1024 * 1024;
    const QFileInfo info(path);
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it->Path != path || it->Modified != modified || it->Size != size) continue;
        TEntry hit = std::move(*it);
        cache.erase(it);
        cache.push_back(std::move(hit));
        return cache.back().Image;
    }
    auto image = std::make_shared<TPriImage>();
    if (!image->LoadImageFile(path)) return nullptr;
    const auto pixels = [](const TEntry& e) { return qint64(e.Image->BltBmp.width()) * e.Image->BltBmp.height(); };
    cache.push_back({path, modified, size, image});
    qint64 total = 0;
    for (const TEntry& e : cache)
        total += pixels(e);
    while (cache.size() > 1 && (cache.size() > kEntries || total > kPixels)) {
        total -= pixels(cache.front());
        cache.erase(cache.begin());
    }
    return image;
}

} // namespace

void TPriField::DrawPicture(TPriImage& image, QPainter& canvas, const QRect& target, bool useMargins, QPoint origin,
                            const TRect& margins, const QRect& clip) {
    image.BackImage = BackImage;
    if (Width > 0 && Height > 0)
        image.SetBounds(Left, Top, Width, Height);
    else
        image.SetBounds(0, 0, std::max(1, target.width()), std::max(1, target.height()));
    // The display cache only has to exist; the print drawing uses the full picture.
    if (image.LightImage.isNull()) image.RebuildLightImage();
    image.PrintDraw(canvas, target, useMargins, origin, margins, clip);
}

void TPriField::DrawBarcode(TPriBarcode& barcode, QPainter& canvas, const QRect& target, const QRect& clip) {
    // Sized as its picture would be, then painted as bars: exact modules, no picture per symbol.
    const QSize symbol = barcode.SymbolSize();
    if (symbol.isEmpty()) return;
    TPriImage fit;
    fit.BltBmp = QImage(symbol, QImage::Format_Mono);
    const QRect p = fit.FitImageRect(target);
    if (p.isEmpty()) return;
    canvas.save();
    canvas.setClipRect(clip, canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    canvas.translate(p.topLeft());
    canvas.scale(double(p.width()) / symbol.width(), double(p.height()) / symbol.height());
    barcode.Paint(canvas);
    canvas.restore();
}

void TPriField::DrawSymbol(const TBarcodeValue& value, QPainter& canvas, const QRect& target, const QRect& clip) {
    const TZintSymbol symbol = value.Symbol();
    double module = symbol.ModuleFor(target);
    if (module <= 0) return;
    // Millimetres per device pixel, from the stored width in 0.1 mm.
    const double mm = StoreRect().width() > 0 ? StoreRect().width() / 10.0 / target.width() : 0;
    if (mm > 0) {
        // Too fine a module would print as a symbol no reader takes: nothing is better.
        if (module * mm < TBarcodeValue::MinModuleMm(value.Kind) - 1e-9) return;
        // The customer barcode has its size: 10 point at most, however large the box.
        if (value.Kind == TBarcodeValue::bkCustomer) module = std::min(module, TBarcodeValue::kCustomerModuleMm / mm);
    }
    canvas.save();
    canvas.setClipRect(clip, canvas.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    symbol.DrawAt(canvas, target, module);
    canvas.restore();
}

void TPriField::PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint origin, const TRect& margins,
                          const QRect& clip) {
    switch (FieldState) {
    case fsText:
    case fsTotal:
    case fsRengeTotal: TPriLabel::PrintDraw(canvas, target, useMargins, origin, margins, clip); break;
    case fsImage: {
        const QString path = ImageFileFor(DataString());
        if (path.isEmpty()) return;
        const std::shared_ptr<TPriImage> image = LoadedPicture(path);
        if (!image) return;
        DrawPicture(*image, canvas, target, true, origin, margins, clip);
        break;
    }
    case fsBarcode: {
        TBarcodeValue value;
        if (!BarcodeFor(Extras, DataString(), fBarcodeAddress, value)) return;
        if (value.ByLibzint()) {
            DrawSymbol(value, canvas, target, clip);
            return;
        }
        TPriBarcode barcode = value.Linear(300);
        DrawBarcode(barcode, canvas, target, clip);
        break;
    }
    default: break;
    }
}

bool TPriField::ReadBody(TStreamReader& stream, int version, bool with38, TBody& body) {
    stream.ReadInt32(body.CategoryNum);
    stream.ReadString(body.CategoryName);
    stream.ReadString(body.FileName);
    if (!stream.Ok() || !body.Style.LoadFromStream(stream, with38 ? std::max(version, 7) : std::min(version, 6)))
        return false;
    stream.ReadEnum(body.State);
    if (version >= 3)
        stream.ReadEnum(body.Mode);
    else
        body.Mode = fmSubMode;
    return stream.Ok();
}

// Used only to tell the forms of older records apart: every flag must be 0 or 1 and every
// ordinal in range, and the body must end exactly with the record.
bool TPriField::BodyFitsExactly(const TStreamReader& stream, int version, bool with38) {
    TStreamReader probe = stream;
    auto flag = [&probe]() {
        int32_t v = -1;
        return probe.ReadInt32(v) && (v == 0 || v == 1);
    };
    auto ranged = [&probe](int32_t low, int32_t high) {
        int32_t v = -1;
        return probe.ReadInt32(v) && v >= low && v <= high;
    };
    auto text = [&probe]() {
        QByteArray raw;
        return probe.ReadRawString(raw);
    };
    int32_t number = 0;
    if (!probe.ReadInt32(number) || !text() || !text()) return false;
    if (!flag() || !flag() || !flag() || !probe.ReadInt32(number) || !flag() || !flag() || !text() || !text())
        return false;
    if (!ranged(0, 2) || !text()) return false;
    if (with38 && (!flag() || !flag())) return false;
    if (!ranged(fsText, fsRengeTotal)) return false;
    if (version >= 3 && !ranged(fmStandAlone, fmJetPrint)) return false;
    return probe.Ok() && probe.AtEnd();
}

bool TPriField::LoadFromStream(TStreamReader& stream, int version) {
    // A record is read into a scratch field first, so a refused one leaves this field as it was.
    TStreamReader probe = stream;
    TPriField scratch;
    if (!scratch.LoadRecord(probe, version)) return false;
    return LoadRecord(stream, version);
}

bool TPriField::LoadRecord(TStreamReader& stream, int version) {
    if (!TPriBase::LoadFromStream(stream, version)) return false;
    // Records of the older versions come with 20 or 24 text fields and with or without DropPoint
    // and ZeroPad; only the record's length tells, so each form is tried against it.
    const auto tail = [version](TStreamReader& r) {
        if (version >= 7) {
            TBody body;
            return ReadBody(r, version, true, body);
        }
        if (BodyFitsExactly(r, version, false) || BodyFitsExactly(r, version, true)) {
            r.Skip(r.Remaining());
            return true;
        }
        return false;
    };
    QString slot;
    if (!ReadTextFields(stream, version, tail, &slot)) return false;
    const bool with38 =
        version >= 7 || (!BodyFitsExactly(stream, version, false) && BodyFitsExactly(stream, version, true));
    TBody body;
    if (!ReadBody(stream, version, with38, body)) return false;
    // The name is laid out as the text while editing: no longer than the text dialog makes it.
    if (body.CategoryName.size() > TDocumentLimits::kMaxTextBytes || body.FileName.size() > kMaxNameBytes)
        return stream.Refuse(QStringLiteral("差し込み項目の名前が長すぎます（%1 文字）")
                                 .arg(std::max(body.CategoryName.size(), body.FileName.size())));
    CategoryNum = body.CategoryNum;
    FileName = body.FileName;
    fStyle = body.Style;
    FieldState = body.State <= fsRengeTotal ? TFieldState(body.State) : fsText;
    FieldMode = body.Mode <= fmJetPrint ? TFieldMode(body.Mode) : fmSubMode;
    DirectString = slot;
    SetCategoryName(body.CategoryName);
    return true;
}

bool TPriField::SaveToStream(TStreamWriter& stream, int version) {
    if (!TPriBase::SaveToStream(stream, version)) return false;
    // The slot carries DirectString; lines and glyphs of the shown text stay as they are.
    WriteTextFields(stream, version, fBltmode == bmLayout ? DirectString : DataString());
    stream.WriteInt32(CategoryNum);
    stream.WriteString(fCategoryName);
    stream.WriteString(FileName);
    fStyle.SaveToStream(stream, version);
    stream.WriteEnum(FieldState);
    if (version >= 3) stream.WriteEnum(FieldMode);
    return true;
}
