// The page builders of the six print modes.
#include "print/PrintPipeline.h"

#include "document/PriDocument.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "merge/RecordFile.h"
#include "print/PageBuilder.h"
#include "print/PrintProgress.h"

#include <QPainter>
#include <algorithm>
#include <climits>

namespace {

bool Printable(const TPriBase& obj) {
    return obj.PrintCheck && !obj.UndoCheck;
}

QString MissingFileMessage(const QString& name) {
    return QStringLiteral("差し込みファイル「%1」が見つかりません").arg(name);
}

} // namespace

// Mode 0: every seat of one sheet shows the design.
bool TPrintPipeline::BuildPlainSheet() {
    const TPriPaper& p = fDoc.PrintPaper;
    const int rows = std::max(1, p.FSeatRows), cols = std::max(1, p.FSeatColumns);
    // Only the seats that lie on the sheet: a paper of 1 x 256 seats on a sheet that holds one
    // drew 256 designs into one page.
    int onSheet = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            onSheet += p.SeatOnSheet(r, c) ? 1 : 0;
    if (onSheet == 0) {
        fError = QStringLiteral("用紙に収まる面がないため印刷できません");
        return false;
    }
    if (fProgress) fProgress->Start(onSheet * ChosenOf(1));
    if (!SheetChosen(1)) return true;
    BeginSheet();
    fBuilder->DrawPlainSheet(Canvas(), [this] { Step(); });
    StoreSheet();
    return true;
}

void TPrintPipeline::DrawWithPortals(QPoint origin, const TRecords& main, int record, const TRecords& detail,
                                     int detailIndex, int page, int current, int total, bool bandFromSeat) {
    // Objects drawn as portal rows are marked here, never in the objects themselves.
    fDrawn.clear();
    auto& list = fDoc.Objects();
    for (size_t a = 0; a < list.size(); ++a) {
        TPriBase& obj = *list[a];
        if (!Printable(obj)) continue;
        if (obj.ObjectNum == okField) {
            auto& field = static_cast<TPriField&>(obj);
            field.SetRecordValues([&](int c) { return main.Value(record, 0, c); }, current, total);
        }
        if (!fDrawn.count(&obj)) {
            DrawObject(obj, fBuilder->PrintRect(obj, origin), origin);
            fDrawn.insert(&obj);
        }
        if (obj.ObjectNum != okPortal) continue;
        const int rows = std::max(1, static_cast<TPriPortal&>(obj).Rows);
        QRect band = fBuilder->PrintRect(obj, origin);
        const int h = band.height() / rows;
        // Mode 1 tests against the first row only; mode 4 against the whole portal.
        if (!bandFromSeat) band.setHeight(h);
        for (size_t b = a + 1; b < list.size(); ++b) {
            TPriBase& x = *list[b];
            if (!Printable(x)) continue;
            QRect rect = fBuilder->PrintRect(x, origin);
            if (bandFromSeat) rect.setHeight(h);
            if (!InPortalBand(band, rect)) continue;
            for (int k = 0; k < rows; ++k) {
                if (x.ObjectNum == okField) {
                    auto& field = static_cast<TPriField&>(x);
                    const int row = rows * page + k;
                    field.SetRecordValues([&](int c) { return detail.Value(detailIndex, row, c); }, current, total);
                }
                DrawObject(x, rect.translated(0, k * h), origin);
            }
            fDrawn.insert(&x);
        }
    }
    fDrawn.clear();
}

// Mode 1: a page or more per main record, its detail rows flowing over the portals' rows.
bool TPrintPipeline::BuildRecordPages() {
    const TRecordFile* mainFile = FindRecordFile(fDoc.RecordMainFile);
    const TRecordFile* detailFile = FindRecordFile(fDoc.RecordMeisaiFile);
    if (!mainFile != !detailFile) {
        fError = MissingFileMessage(mainFile ? fDoc.RecordMeisaiFile : fDoc.RecordMainFile);
        return false;
    }
    // Neither file: one record of placeholders, portal rows included.
    const TRecords main{mainFile, kPlaceholder1};
    const TRecords detail{detailFile, kPlaceholder1};

    int d = 1000000;
    for (auto& obj : fDoc.Objects())
        if (obj->ObjectNum == okPortal && !obj->UndoCheck)
            d = std::min(d, std::max(1, static_cast<TPriPortal&>(*obj).Rows));

    const int count = main.Count();
    const auto lastPageOf = [&](const QString& key) {
        const int n = detailFile ? detailFile->RowCountOfKey(key) : d;
        const int q = n / d;
        return (n % d == 0 && q != 0) ? q - 1 : q;
    };
    // The progress goes by pages, counted first from the detail rows: one long statement moves
    // it and can be cancelled.
    if (fProgress) {
        qint64 pages = 0;
        for (int i = 0; i < count; ++i)
            pages += lastPageOf(mainFile ? mainFile->KeyAt(i) : QString()) + 1;
        fProgress->Start(ChosenOf(int(std::min<qint64>(pages, INT_MAX))));
    }
    // Pages outside a range are only counted: the detail rows of a key say how many it needs.
    int sheet = 0;
    for (int i = 0; i < count; ++i) {
        const QString key = mainFile ? mainFile->KeyAt(i) : QString();
        const int lastPage = lastPageOf(key);
        int detailIndex = -1;
        for (int j = 0; j <= lastPage; ++j) {
            if (!SheetChosen(++sheet)) continue;
            if (detailIndex < 0) detailIndex = detailFile ? detailFile->IndexOfKey(key) : 0;
            BeginSheet();
            // The background goes under the record's first page only.
            if (j == 0) DrawBackground(QPoint(0, 0));
            DrawWithPortals(QPoint(0, 0), main, i, detail, detailIndex, j, j + 1, lastPage + 1, false);
            StoreSheet();
            Step();
        }
    }
    return true;
}

// Modes 2 and 5: a sheet per main record, every seat from the start seat on showing it.
bool TPrintPipeline::BuildSheetPerRecord(bool useStartSeat) {
    const TPriPaper& p = fDoc.PrintPaper;
    const int rows = std::max(1, p.FSeatRows), cols = std::max(1, p.FSeatColumns);
    if (useStartSeat && !StartSeatInside()) {
        fError = QStringLiteral("印刷開始シート位置が用紙の範囲外です");
        return false;
    }
    const int startCol = useStartSeat ? fStartCol : 0, startRow = useStartSeat ? fStartRow : 0;
    const TRecords main{FindRecordFile(fDoc.RecordMainFile), kPlaceholder2};
    const int count = main.Count();
    const int seats = rows * cols - (startRow * cols + startCol);
    if (fProgress) fProgress->Start(int(std::min<qint64>(INT_MAX, qint64(seats) * ChosenOf(count))));
    for (int i = 0; i < count; ++i) {
        if (!SheetChosen(i + 1)) continue;
        BeginSheet();
        for (int r = startRow; r < rows; ++r)
            for (int c = (r == startRow ? startCol : 0); c < cols; ++c) {
                const QPoint origin = fBuilder->SeatOrigin(r, c);
                DrawBackground(origin);
                DrawAllObjects(origin, main, i, i, count - 1);
                Step();
            }
        StoreSheet();
    }
    return true;
}

// Mode 3: the main records flow over the seats, from the start seat of the first sheet on.
bool TPrintPipeline::BuildRecordPerSeat() {
    const TPriPaper& p = fDoc.PrintPaper;
    const int rows = std::max(1, p.FSeatRows), cols = std::max(1, p.FSeatColumns);
    if (!StartSeatInside()) {
        fError = QStringLiteral("印刷開始シート位置が用紙の範囲外です");
        return false;
    }
    const TRecords main{FindRecordFile(fDoc.RecordMainFile), kPlaceholder3};
    const int count = main.Count();
    const int perSheet = rows * cols;
    const int skipped = fStartRow * cols + fStartCol;
    // As many sheets as the records need from the start seat: none left over, none missing.
    const int sheets = count == 0 ? 0 : int((qint64(skipped) + count + perSheet - 1) / perSheet);
    const qint64 chosenSeats = fRangeFirst <= 0
                                   ? qint64(sheets) * perSheet - skipped
                                   : qint64(ChosenOf(sheets)) * perSheet - (fRangeFirst <= 1 ? skipped : 0);
    if (fProgress) fProgress->Start(int(std::clamp<qint64>(chosenSeats, 0, INT_MAX)));
    int i = 0;
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (!SheetChosen(sheet + 1)) {
            i += sheet == 0 ? perSheet - skipped : perSheet;
            continue;
        }
        BeginSheet();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                if (sheet == 0 && r * cols + c < skipped) continue;
                const QPoint origin = fBuilder->SeatOrigin(r, c);
                DrawBackground(origin);
                if (i < count) DrawAllObjects(origin, main, i, sheet + 1, sheets);
                ++i;
                Step();
            }
        StoreSheet();
    }
    return true;
}

// Mode 4: a main record per seat, its detail rows in the portals of the seat.
bool TPrintPipeline::BuildRecordPerSeatWithDetails() {
    const TRecordFile* mainFile = FindRecordFile(fDoc.RecordMainFile);
    const TRecordFile* detailFile = FindRecordFile(fDoc.RecordMeisaiFile);
    // Either file missing fails: there is no placeholder record in this mode.
    if (!mainFile || !detailFile) {
        fError = MissingFileMessage(mainFile ? fDoc.RecordMeisaiFile : fDoc.RecordMainFile);
        return false;
    }
    const TPriPaper& p = fDoc.PrintPaper;
    const int rows = std::max(1, p.FSeatRows), cols = std::max(1, p.FSeatColumns);
    const TRecords main{mainFile, QString()};
    const TRecords detail{detailFile, QString()};
    const int count = mainFile->Count();
    const qint64 perSheet = qint64(rows) * cols;
    // No records still give one empty sheet.
    const int sheets = int(std::clamp<qint64>((count + perSheet - 1) / perSheet, 1, INT_MAX));
    if (fProgress) fProgress->Start(count);
    for (int sheet = 0; sheet < sheets; ++sheet) {
        if (!SheetChosen(sheet + 1)) continue;
        int i = int(sheet * perSheet + 1);
        BeginSheet();
        for (int r = 0; r < rows && i <= count; ++r)
            for (int c = 0; c < cols && i <= count; ++c) {
                const QPoint origin = fBuilder->SeatOrigin(r, c);
                const int detailIndex = detailFile->IndexOfKey(mainFile->KeyAt(i - 1));
                DrawBackground(origin);
                DrawWithPortals(origin, main, i - 1, detail, detailIndex, 0, i, count, true);
                ++i;
                Step();
            }
        StoreSheet();
    }
    return true;
}
