#include "print/PrintPipeline.h"

#include "document/PriDocument.h"
#include "merge/PostalCode.h"
#include "merge/PriField.h"
#include "merge/RecordFile.h"
#include "merge/RecordUnit.h"
#include "platform/Rounding.h"
#include "print/PageBuilder.h"
#include "print/PrintProgress.h"
#include "print/PrintTarget.h"

#include <QFile>
#include <QPainter>
#include <new>
#include <utility>

const QString TPrintPipeline::kPlaceholder1 = QStringLiteral("00000000");
const QString TPrintPipeline::kPlaceholder2 = QStringLiteral("0000000");
const QString TPrintPipeline::kPlaceholder3 = QStringLiteral("000000");
const QString TPrintPipeline::kBuildFailedMessage = QStringLiteral("記憶領域が足りません\r\n印刷に失敗しました");
const QString TPrintPipeline::kPagesFailedMessage = QStringLiteral("印刷するページを作成できませんでした。");

namespace {

QSize PagePixels(const TPrinterMetrics& m) {
    if (m.PhysicalWidth > 0 && m.PhysicalHeight > 0) return {m.PhysicalWidth, m.PhysicalHeight};
    return {m.HorzRes, m.VertRes};
}

} // namespace

int TPrintPipeline::TRecords::Count() const {
    return File ? File->Count() : 1;
}

QString TPrintPipeline::TRecords::Value(int index, int row, int column) const {
    return File ? File->ValueAt(index, row, column) : Placeholder;
}

TPrintPipeline::TPrintPipeline(TPriDocument& doc, const TPrinterMetrics& metrics, TPrintProgress* progress)
    : fDoc(doc), fMetrics(metrics), fProgress(progress), fBuilder(std::make_unique<TPageBuilder>(doc, metrics)),
      fPages(PagePixels(metrics), metrics.LogPixelsX, metrics.LogPixelsY), fStartCol(doc.FStartSeatCol),
      fStartRow(doc.FStartSeatRow) {}

TPrintPipeline::~TPrintPipeline() {
    if (fPages.Printing()) fPages.EndDoc();
}

void TPrintPipeline::SetStartSeat(int column, int row) {
    fStartCol = column;
    fStartRow = row;
}

const TRecordFile* TPrintPipeline::FindRecordFile(const QString& name) const {
    if (!fDoc.RecordUnit || name.isEmpty()) return nullptr;
    return fDoc.RecordUnit->FindFile(name);
}

void TPrintPipeline::CollectWarnings() {
    if (fWarningsCollected) return;
    fWarningsCollected = true;
    const TRecordFile* file = fDoc.PrintMode > 0 ? FindRecordFile(fDoc.RecordMainFile) : nullptr;
    if (!file) return;
    for (const auto& obj : fDoc.Objects()) {
        if (obj->ObjectNum != okField || !obj->PrintCheck || obj->UndoCheck) continue;
        const auto& field = static_cast<const TPriField&>(*obj);
        if (field.FieldState == fsBarcode) {
            CollectBarcodeWarnings(field, *file);
            continue;
        }
        if (field.Extras.PostalLayout != TObjectExtras::TPostalLayout::Boxes || field.FieldState != fsText ||
            field.Extras.SenderItem != TObjectExtras::TSenderItem::None)
            continue;
        for (int i = 0; i < file->Count() && fWarnings.size() < kMaxWarnings; ++i) {
            const QString value = file->ValueAt(i, 0, field.CategoryNum);
            if (TPostalCode::Digits(value).isEmpty()) fWarnings << TPostalCode::Warning(file->KeyAt(i), value);
        }
    }
    fWarnings.removeDuplicates();
}

// A record whose barcode cannot be made leaves its seat empty there; the user learns which. An
// empty value asks for no code and is not reported.
void TPrintPipeline::CollectBarcodeWarnings(const TPriField& field, const TRecordFile& file) {
    for (int i = 0; i < file.Count() && fWarnings.size() < kMaxWarnings; ++i) {
        const auto value = [&](int c) { return file.ValueAt(i, 0, c); };
        const QString own = value(field.CategoryNum);
        if (own.trimmed().isEmpty()) continue;
        TBarcodeValue barcode;
        QString refusal;
        if (!TPriField::BarcodeFor(field.Extras, own, TPriField::BarcodeAddress(field.Extras, value), barcode))
            refusal = QStringLiteral("バーコードの値は「データ 種類 チェック 数字」の形ではありません");
        else
            refusal = barcode.Refusal();
        if (!refusal.isEmpty()) fWarnings << QStringLiteral("レコード「%1」: %2").arg(file.KeyAt(i), refusal);
    }
}

bool TPrintPipeline::StartSeatInside() const {
    const TPriPaper& p = fDoc.PrintPaper;
    return fStartCol >= 0 && fStartRow >= 0 && fStartCol < std::max(1, p.FSeatColumns) &&
           fStartRow < std::max(1, p.FSeatRows);
}

bool TPrintPipeline::BuildPrintPages() {
    if (!fStream) fStreamedSheets = -1;
    if (fPages.Printing()) fPages.EndDoc();
    fPages.Clear();
    fFiles.Clear();
    fError.clear();
    fCancelled = false;
    CollectWarnings();
    if (!fBuilder->IsPrintable() || PagePixels(fMetrics).isEmpty()) {
        fError = QStringLiteral("用紙またはプリンタの寸法が正しくありません");
        return false;
    }
    const int mode = fDoc.PrintMode;
    const bool viaFiles = mode == 2 || mode == 3 || mode == 5;
    fViaFiles = viaFiles;
    fTargetFailed = false;
    fTotalSheets = 0;
    bool ok = false;
    try {
        switch (mode) {
        case 1: ok = BuildRecordPages(); break;
        case 2: ok = BuildSheetPerRecord(true); break;
        case 5: ok = BuildSheetPerRecord(false); break;
        case 3: ok = BuildRecordPerSeat(); break;
        case 4: ok = BuildRecordPerSeatWithDetails(); break;
        default: ok = BuildPlainSheet(); break;
        }
    } catch (const TCancel&) {
        fCancelled = true;
        ok = false;
    } catch (const std::bad_alloc&) {
        if (fError.isEmpty()) fError = kBuildFailedMessage;
        ok = false;
    } catch (const std::exception& e) {
        // The reason is the program's own, in English: it follows the message, never stands for it.
        if (fError.isEmpty())
            fError = viaFiles
                         ? kBuildFailedMessage
                         : QStringLiteral("%1\n\n（詳細：%2）").arg(kPagesFailedMessage, QString::fromUtf8(e.what()));
        ok = false;
    }
    // Whatever happened, the store stops recording: a later build or print must find it idle.
    if (fPages.Printing()) fPages.EndDoc();
    if (ok && !fCountOnly && SheetCount() == 0) {
        fError = fRangeFirst > 0 && fTotalSheets > 0 ? RangeBeyondMessage(fRangeFirst, fRangeLast, fTotalSheets)
                                                     : QStringLiteral("印刷するレコードがありません");
        ok = false;
    }
    if (!ok) fFiles.Clear();
    return ok;
}

void TPrintPipeline::Step() {
    if (fProgress && !fProgress->Step()) throw TCancel();
}

QPainter& TPrintPipeline::Canvas() {
    return fStream && fStream->InSheet ? fStream->Target->Canvas() : fPages.GetCanvas();
}

void TPrintPipeline::DrawBackground(QPoint origin) {
    fBuilder->DrawBackground(Canvas(), origin);
}

void TPrintPipeline::DrawObject(TPriBase& object, const QRect& rect, QPoint origin) {
    fBuilder->DrawObject(Canvas(), object, rect, origin);
}

void TPrintPipeline::DrawAllObjects(QPoint origin, const TRecords& main, int record, int current, int total) {
    for (auto& obj : fDoc.Objects())
        if (obj->ObjectNum == okField && obj->PrintCheck && !obj->UndoCheck) {
            auto* field = static_cast<TPriField*>(obj.get());
            field->SetRecordValues([&](int c) { return main.Value(record, 0, c); }, current, total);
        }
    fBuilder->DrawObjects(Canvas(), origin);
}

void TPrintPipeline::TargetFailed() {
    fTargetFailed = true;
    fError = fStream->Target->Error();
    if (fError.isEmpty()) fError = QStringLiteral("印刷に失敗しました");
    throw std::runtime_error("the print target failed");
}

void TPrintPipeline::BeginSheet() {
    if (!fStream) {
        if (!fViaFiles && fPages.Printing())
            fPages.NewPage();
        else
            fPages.BeginDoc();
        return;
    }
    TStream& s = *fStream;
    if (!s.Begun) {
        if (!s.Target->BeginDoc(s.Title)) TargetFailed();
        s.Begun = true;
    } else if (!s.Target->NewPage()) {
        TargetFailed();
    }
    QPainter& canvas = s.Target->Canvas();
    canvas.save();
    // As a sheet replayed from the store: no clip of the target, shifted to its place, and the
    // font, pen and brush a fresh page starts with.
    canvas.setClipping(false);
    canvas.translate(s.At);
    QFont font;
    font.setPointSize(TPrintPreview::kStartPoints);
    canvas.setFont(font);
    canvas.setPen(QPen());
    canvas.setBrush(QBrush());
    s.InSheet = true;
}

void TPrintPipeline::StoreSheet() {
    if (fStream) {
        TStream& s = *fStream;
        s.Target->Canvas().restore();
        s.InSheet = false;
        ++s.Sheets;
        if (!s.OneJob) {
            s.Begun = false;
            if (!s.Target->EndDoc()) TargetFailed();
        }
        return;
    }
    if (!fViaFiles) return;
    fPages.EndDoc();
    const QString name = fFiles.NextName();
    if (name.isEmpty()) throw std::runtime_error("no private temporary folder");
    // Listed before writing, so a half-written file is deleted with the rest.
    fFiles.Add(name);
    if (!fPages.SavePage(0, name)) throw std::runtime_error("cannot write a page file");
}

int TPrintPipeline::SheetCount() const {
    if (fStream) return fStream->Sheets;
    if (fStreamedSheets >= 0) return fStreamedSheets;
    return fFiles.Count() > 0 ? fFiles.Count() : fPages.PageCount();
}

void TPrintPipeline::SetSheetRange(int first, int last) {
    fRangeFirst = first;
    fRangeLast = last;
}

bool TPrintPipeline::SheetChosen(int n) {
    ++fTotalSheets;
    if (fCountOnly) return false;
    return fRangeFirst <= 0 || (n >= fRangeFirst && n <= fRangeLast);
}

int TPrintPipeline::ChosenOf(int total) const {
    if (fRangeFirst <= 0) return total;
    return std::max(0, std::min(fRangeLast, total) - fRangeFirst + 1);
}

QString TPrintPipeline::RangeBeyondMessage(int first, int last, int sheets) {
    return QStringLiteral("指定したページ（%1～%2）は、この印刷の %3 ページの範囲外です")
        .arg(first)
        .arg(last)
        .arg(sheets);
}

namespace {

// A target that is one canvas: every sheet lands on it.
class TCanvasTarget : public TPrintTarget {
public:
    explicit TCanvasTarget(QPainter& canvas) : fCanvas(canvas) {}
    bool BeginDoc(const QString&) override { return true; }
    bool NewPage() override { return true; }
    bool EndDoc() override { return true; }
    void Abort() override {}
    QPainter& Canvas() override { return fCanvas; }
    QString Error() const override { return QString(); }

private:
    QPainter& fCanvas;
};

} // namespace

int TPrintPipeline::CountSheets() {
    TPrintProgress* progress = std::exchange(fProgress, nullptr);
    fCountOnly = true;
    const bool ok = BuildPrintPages();
    fCountOnly = false;
    fProgress = progress;
    if (!ok) return -1;
    if (fTotalSheets <= 0) {
        fError = QStringLiteral("印刷するレコードがありません");
        return -1;
    }
    return fTotalSheets;
}

bool TPrintPipeline::RenderSheet(int index, QPainter& canvas) {
    TCanvasTarget target(canvas);
    TPrintChoice choice;
    choice.AllPages = false;
    choice.FirstPage = choice.LastPage = index + 1;
    choice.JobPerSheet = false;
    TPrintProgress* progress = std::exchange(fProgress, nullptr);
    const bool ok = Stream(target, choice, QPoint(0, 0));
    fProgress = progress;
    return ok;
}

bool TPrintPipeline::BuildAndPrint(TPrintTarget& target, const TPrintChoice& choice) {
    return Stream(target, choice, PageOffset(choice));
}

bool TPrintPipeline::Stream(TPrintTarget& target, const TPrintChoice& choice, QPoint at) {
    // Only the chosen sheets are built and sent; the others are counted.
    if (choice.AllPages)
        SetSheetRange(0, 0);
    else
        SetSheetRange(choice.FirstPage, choice.LastPage);
    const int mode = fDoc.PrintMode;
    TStream stream;
    stream.Target = &target;
    stream.At = at;
    // A job per sheet is for the modes that print a sheet per record.
    stream.OneJob = !choice.JobPerSheet || (mode != 2 && mode != 3 && mode != 5);
    stream.Title = choice.JobTitle;
    fStream = &stream;
    bool ok = BuildPrintPages();
    fStream = nullptr;
    fStreamedSheets = stream.Sheets;
    if (stream.InSheet) target.Canvas().restore();
    if (ok && stream.Begun && !target.EndDoc()) {
        fTargetFailed = true;
        ok = false;
    }
    if (!ok) {
        if (stream.Begun) target.Abort();
        // A failing target says why; a failed build has said so already.
        if (fError.isEmpty() && !fCancelled) fError = target.Error();
    }
    return ok;
}

bool TPrintPipeline::DrawSheet(int index, QPainter& canvas, QPoint at) {
    // Streamed sheets went to their target as they were drawn; nothing is kept of them.
    if (fStreamedSheets >= 0 || fPages.Printing() || index < 0 || index >= SheetCount()) return false;
    if (fFiles.Count() > 0) {
        const QString& name = fFiles.Names()[index];
        if (!QFile::exists(name) || fPages.PageCount() == 0 || !fPages.LoadPage(0, name)) return false;
        fPages.GetPage(0).Draw(canvas, at);
        return true;
    }
    fPages.GetPage(index).Draw(canvas, at);
    return true;
}

void TPrintPipeline::PageRange(const TPrintChoice& choice, int count, int& first, int& last) {
    if (choice.AllPages) {
        first = 1;
        last = count;
    } else {
        first = std::max(1, choice.FirstPage);
        last = std::min(choice.LastPage, count);
    }
}

QPoint TPrintPipeline::PageOffset(const TPrintChoice& choice) const {
    const TPriPaper& p = fDoc.PrintPaper;
    QPoint at(Trunc(choice.ShiftRightMM * 10 / 254.0 * fMetrics.LogPixelsX),
              Trunc(choice.ShiftDownMM * 10 / 254.0 * fMetrics.LogPixelsY));
    if (!p.IsSingleSeat())
        at += QPoint(Trunc(p.FFirstSeatLeft / 254.0 * fMetrics.LogPixelsX) - fMetrics.OffsetX,
                     Trunc(p.FFirstSeatTop / 254.0 * fMetrics.LogPixelsY) - fMetrics.OffsetY);
    return at;
}

bool TPrintPipeline::PrintPages(TPrintTarget& target, const TPrintChoice& choice) {
    fError.clear();
    if (fPages.Printing()) {
        fError = QStringLiteral("ページを作成中です");
        return false;
    }
    if (fStreamedSheets >= 0) {
        fError = QStringLiteral("ページは印刷済みです");
        return false;
    }
    const QPoint at = PageOffset(choice);
    const bool files = fFiles.Count() > 0;
    int first = 0, last = -1;
    PageRange(choice, SheetCount(), first, last);
    if (first > last) return true;

    auto fail = [&](bool begun) {
        if (fError.isEmpty()) fError = target.Error();
        if (begun) target.Abort();
        return false;
    };
    const bool oneJob = !files || !choice.JobPerSheet;
    bool begun = false;
    for (int p = first; p <= last; ++p) {
        if (files) {
            const QString& name = fFiles.Names()[p - 1];
            if (!QFile::exists(name)) continue;
            if (fPages.PageCount() == 0 || !fPages.LoadPage(0, name)) {
                fError = QStringLiteral("一時ファイルを読めません");
                return fail(begun);
            }
        }
        if (!begun) {
            if (!target.BeginDoc(choice.JobTitle)) return fail(false);
            begun = true;
        } else if (oneJob && !target.NewPage()) {
            return fail(true);
        }
        fPages.GetPage(files ? 0 : p - 1).Draw(target.Canvas(), at);
        if (!oneJob) {
            begun = false;
            if (!target.EndDoc()) return fail(false);
        }
        if (files) TPageFiles::Remove(fFiles.Names()[p - 1]);
    }
    if (begun && !target.EndDoc()) return fail(false);
    return true;
}

bool TPrintPipeline::InPortalBand(const QRect& p, const QRect& x) {
    if (x.left() < p.left() || x.left() + x.width() >= p.left() + p.width()) return false;
    return x.top() >= p.top() && x.top() + x.height() < p.top() + p.height();
}
