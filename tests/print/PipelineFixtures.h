#pragma once

// Documents, probes and targets shared by the print pipeline tests.
#include "document/PriDocument.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "merge/RecordUnit.h"
#include "print/PageDeviceTarget.h"
#include "print/OutputJob.h"
#include "print/PrintPipeline.h"
#include "print/PrintProgress.h"
#include "print/PrintTarget.h"
#include "support/BoxObject.h"
#include "support/BarcodeReader.h"
#include "support/FixedPrinter.h"
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace pipelinetest {

// Where a drawing happened: the sheet being recorded and the target rectangle.
struct THit {
    int Sheet;
    QRect Rect;
    QString Text;
};

inline int CurrentSheet(TPrintPipeline* p) {
    return p ? int(p->PageFileNames().size()) + p->Pages().PageCount() - 1 : -1;
}

class TFieldProbe : public TPriField {
public:
    TPrintPipeline* Pipeline = nullptr;
    std::vector<THit> Hits;
    void PrintDraw(QPainter& canvas, const QRect& target, bool single, QPoint origin, const TRect& margins,
                   const QRect& clip) override {
        Hits.push_back({CurrentSheet(Pipeline), target, DataString()});
        TPriField::PrintDraw(canvas, target, single, origin, margins, clip);
    }
    std::vector<THit> OnSheet(int sheet) const {
        std::vector<THit> out;
        for (const THit& h : Hits)
            if (h.Sheet == sheet) out.push_back(h);
        return out;
    }
    QStringList Texts(int sheet) const {
        QStringList out;
        for (const THit& h : OnSheet(sheet))
            out << h.Text;
        return out;
    }
};

class TBoxProbe : public TBoxObject {
public:
    TPrintPipeline* Pipeline = nullptr;
    std::vector<THit> Hits;
    void PrintDraw(QPainter&, const QRect& target, bool, QPoint, const TRect&, const QRect&) override {
        Hits.push_back({CurrentSheet(Pipeline), target, QString()});
    }
    std::vector<QPoint> Origins(int sheet) const {
        std::vector<QPoint> out;
        for (const THit& h : Hits)
            if (h.Sheet == sheet) out.push_back(h.Rect.topLeft());
        return out;
    }
};

// 254 dpi: one device pixel per 0.1 mm, no unprintable edges.
inline TPrinterMetrics Metrics254(QSize sheet = QSize(2100, 2970)) {
    TPrinterMetrics m;
    m.LogPixelsX = m.LogPixelsY = 254;
    m.PhysicalWidth = m.HorzRes = sheet.width();
    m.PhysicalHeight = m.VertRes = sheet.height();
    m.Complete();
    return m;
}

inline QByteArray Records(int count, const char* prefix = "R") {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(prefix) + QByteArray::number(i) + ",Name" + QByteArray::number(i) + "\r\n";
    return text;
}

inline QByteArray Details(const QByteArray& key, int rows) {
    QByteArray text;
    for (int k = 1; k <= rows; ++k)
        text += key + ",item" + QByteArray::number(k) + "\r\n";
    return text;
}

class TMergeDoc {
public:
    QTemporaryDir Dir;
    TRecordUnit RecordSet;
    TPriDocument Doc{QString()};
    std::vector<TFieldProbe*> Fields;
    std::vector<TBoxProbe*> Boxes;

    TMergeDoc() {
        Doc.RecordUnit = &RecordSet;
        SingleSeat();
    }
    void SingleSeat() { Doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970}); }
    // 3 columns by 5 rows of 60 x 50 mm seats, the first 15 mm from the left and 10 mm from the top.
    void CardSheet(int cols = 3, int rows = 5, int w = 600, int h = 500) {
        Doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 150, 100, 0, 0, 0, 0, cols, rows, w, h});
    }
    void AddFile(const QString& name, const QByteArray& text) {
        QFile f(Dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        ASSERT_TRUE(RecordSet.AddFile(Dir.filePath(name)));
    }
    TFieldProbe* AddField(QRect store, int category, const QString& name = QStringLiteral("名前")) {
        auto f = std::make_unique<TFieldProbe>();
        f->SetStoreRect(store);
        f->CategoryNum = category;
        f->SetCategoryName(name);
        f->SameFSize = 20;
        Fields.push_back(static_cast<TFieldProbe*>(Doc.AppendObject(std::move(f))));
        return Fields.back();
    }
    TBoxProbe* AddBox(QRect store) {
        auto b = std::make_unique<TBoxProbe>();
        b->SetStoreRect(store);
        Boxes.push_back(static_cast<TBoxProbe*>(Doc.AppendObject(std::move(b))));
        return Boxes.back();
    }
    TPriPortal* AddPortal(QRect store, int rows) {
        auto p = std::make_unique<TPriPortal>();
        p->SetStoreRect(store);
        p->SetRows(rows);
        return static_cast<TPriPortal*>(Doc.AppendObject(std::move(p)));
    }
    void Attach(TPrintPipeline& pipeline) {
        for (auto* f : Fields)
            f->Pipeline = &pipeline;
        for (auto* b : Boxes)
            b->Pipeline = &pipeline;
    }
};

// A statement: a name field, the counters, a portal of 5 rows of 5 mm and an item field in its first row.
struct TStatement {
    TFieldProbe* Name;
    TFieldProbe* Current;
    TFieldProbe* Total;
    TFieldProbe* Item;
};

inline TStatement MakeStatement(TMergeDoc& m, bool withPortal = true) {
    TStatement s;
    s.Name = m.AddField({100, 100, 500, 50}, 1);
    s.Current = m.AddField({100, 200, 200, 50}, 9, TPriField::kCurrentRecordName);
    s.Total = m.AddField({400, 200, 200, 50}, 9, TPriField::kTotalRecordName);
    if (withPortal) m.AddPortal({100, 1000, 1000, 250}, 5);
    s.Item = m.AddField({150, 1010, 300, 30}, 1);
    return s;
}

class TCountingProgress : public TPrintProgress {
public:
    int Maximum = -1;
    int Steps = 0;
    int CancelAt = -1;
    void Start(int maximum) override { Maximum = maximum; }
    bool Step() override { return ++Steps != CancelAt; }
};

// Keeps every page as a picture and logs the job calls: B begin, N new page, E end, A abort.
class TImageTarget : public TPrintTarget {
public:
    explicit TImageTarget(QSize size) : fSize(size) {}
    QString Log;
    std::vector<QImage> Pages;
    bool BeginDoc(const QString& title) override {
        Title = title;
        Log += 'B';
        Open();
        return true;
    }
    bool NewPage() override {
        Log += 'N';
        fCanvas.end();
        Open();
        return true;
    }
    bool EndDoc() override {
        Log += 'E';
        fCanvas.end();
        return true;
    }
    void Abort() override {
        Log += 'A';
        fCanvas.end();
    }
    QPainter& Canvas() override { return fCanvas; }
    QString Error() const override { return QString(); }
    QString Title;

private:
    void Open() {
        Pages.emplace_back(fSize, QImage::Format_RGB32);
        Pages.back().fill(Qt::white);
        Pages.back().setDotsPerMeterX(10000);
        Pages.back().setDotsPerMeterY(10000);
        fCanvas.begin(&Pages.back());
    }
    QSize fSize;
    QPainter fCanvas;
};

#ifdef KOMOREBI_HAVE_ZBAR
// The data of every symbol ZBar finds in the picture.
inline QStringList BarcodeTexts(const QImage& image) {
    QStringList found;
    for (const TReadBarcode& code : ReadBarcodes(image))
        found << QString::fromStdString(code.Data);
    return found;
}
#endif

} // namespace pipelinetest

using namespace pipelinetest;
