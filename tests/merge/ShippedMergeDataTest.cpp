#include "document/PriDocument.h"
#include "merge/FieldUnit.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "merge/RecordFile.h"
#include "merge/RecordText.h"
#include "platform/Cp932.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"
#include "print/PageExport.h"
#include "support/BarcodeReader.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <gtest/gtest.h>
#include <set>

// The record files, field definitions and templates shipped for data merge: what a new user
// opens first to see merging work, so their data must parse and their designs must print.

namespace {

const QString kDataDir = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<TRecordFile> LoadRecords(const QString& name) {
    auto file = std::make_unique<TRecordFile>();
    EXPECT_TRUE(file->LoadFromFile(kDataDir + "recordfile/" + name)) << qPrintable(file->LastError());
    return file;
}

std::unique_ptr<TPriDocument> LoadTemplate(const QString& relative) {
    auto doc = std::make_unique<TPriDocument>(kDataDir);
    const TDocumentResult loaded = doc->Load(kDataDir + "Template/" + relative, 0);
    EXPECT_TRUE(loaded) << qPrintable(loaded.Reason);
    doc->ScaleToPaper();
    return doc;
}

// The JAN check digit computed here on its own: weights 3 and 1 from the right.
bool JanIsValid(const QString& jan) {
    if (jan.size() != 13) return false;
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        if (!jan[i].isDigit()) return false;
        sum += jan[i].digitValue() * (i % 2 == 0 ? 1 : 3);
    }
    return jan[12].digitValue() == (10 - sum % 10) % 10;
}

std::vector<TPriField*> Fields(TPriDocument& doc) {
    std::vector<TPriField*> out;
    for (const auto& obj : doc.Objects())
        if (auto* f = dynamic_cast<TPriField*>(obj.get())) out.push_back(f);
    return out;
}

bool IsCounter(const TPriField& f) {
    return f.CategoryName() == TPriField::kCurrentRecordName || f.CategoryName() == TPriField::kTotalRecordName;
}

TPriPortal* PortalOf(TPriDocument& doc) {
    for (const auto& obj : doc.Objects())
        if (auto* p = dynamic_cast<TPriPortal*>(obj.get())) return p;
    return nullptr;
}

constexpr int kDpi = 300;

QRect PrintRect(TPriDocument& doc, const TPriBase& obj) {
    const TPrinterMetrics m = TPageExport::DeviceMetrics(QSize(2480, 3508), kDpi);
    QRect r;
    obj.GetPrintRect(doc.PrintPaper.IsSingleSeat(), QPoint(kDpi, kDpi), r, m.OffsetYMM, m.OffsetXMM);
    return r;
}

// Whether x lies in the first row of the portal, as the pipeline decides which objects repeat.
bool InFirstRow(TPriDocument& doc, const TPriPortal& portal, const TPriBase& x) {
    QRect p = PrintRect(doc, portal);
    p.setHeight(p.height() / portal.Rows);
    const QRect r = PrintRect(doc, x);
    return r.left() >= p.left() && r.left() + r.width() < p.left() + p.width() && r.top() >= p.top() &&
           r.top() + r.height() < p.top() + p.height();
}

// Gives every field its value: detail fields row `row` of the key's detail record, the others
// the main record, page 1 of 1.
void Merge(TPriDocument& doc, const TRecordFile& main, int index, const TRecordFile* detail, int row) {
    TPriPortal* portal = PortalOf(doc);
    const int detailIndex = detail ? detail->IndexOfKey(main.KeyAt(index)) : -1;
    for (TPriField* f : Fields(doc)) {
        const bool inRow = portal && InFirstRow(doc, *portal, *f);
        f->SetRecordText(
            inRow ? detail->ValueAt(detailIndex, row, f->CategoryNum) : main.ValueAt(index, 0, f->CategoryNum), 1, 1);
    }
}

int InkIn(const QImage& image, const QRect& r) {
    int n = 0;
    const QRect clipped = r.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            n += qGray(image.pixel(x, y)) < 160;
    return n;
}

struct TTemplateCase {
    QString Path;
    int Mode;
    QString Main;
    QString Detail;
    int Columns, Rows, SeatWidth, SeatHeight, FirstLeft, FirstTop;
    QString BarcodeColumnJan; // what the barcode field must read back as, by main column
    int JanColumn;
    int QrColumn = -1; // a QR Code reading this main column
};

const TTemplateCase kTemplates[] = {
    {"Meishi/差し込み名刺.tda", 3, "住所録.CSV", "", 2, 5, 910, 550, 140, 110, "EAN-13", 11, 13},
    {"A4/宛名ラベル.tda", 3, "宛名.CSV", "", 2, 6, 864, 423, 186, 216, "", -1},
    {"A4/価格ラベル.tda", 3, "商品一覧.CSV", "", 2, 6, 864, 423, 186, 216, "EAN-13", 5},
    {"A4/明細書.tda", 1, "明細書.CSV", "明細行.TAB", 1, 1, 2100, 2970, 0, 0, "", -1},
    {"Hagaki/宛名面.tda", 3, "宛名.CSV", "", 1, 1, 1000, 1480, 0, 0, "", -1},
};

} // namespace

TEST(ShippedMergeDataTest, RecordFilesParseAsCp932WithTheirEscapes) {
    const struct {
        QString Name;
        int Records;
        int Values;
    } files[] = {{"住所録.CSV", 30, 14},
                 {"商品一覧.CSV", 20, 8},
                 {"明細書.CSV", 6, 14},
                 {"明細行.TAB", 6, 8},
                 {"宛名.CSV", 20, 9}};
    for (const auto& c : files) {
        SCOPED_TRACE(c.Name.toStdString());
        const QByteArray bytes = ReadAll(kDataDir + "recordfile/" + c.Name);
        // Shift-JIS on disk, not UTF-8, and every character survives the round trip.
        EXPECT_EQ(TRecordText::Detect(bytes), TRecordText::TEncoding::Cp932);
        EXPECT_EQ(TCp932::Encode(TCp932::Decode(bytes)), bytes);
        EXPECT_FALSE(TCp932::Decode(bytes).contains(QChar(0xFFFD)));
        auto file = LoadRecords(c.Name);
        ASSERT_EQ(file->Count(), c.Records);
        for (int i = 0; i < file->Count(); ++i) {
            EXPECT_EQ(file->IndexOfKey(file->KeyAt(i)), i) << "key " << file->KeyAt(i).toStdString() << " repeats";
            const TKeyUnit* record = file->Record(i);
            for (int k = 0; k < record->RowCount(); ++k)
                EXPECT_EQ(record->ValueCount(k), c.Values) << file->KeyAt(i).toStdString() << " row " << k;
        }
    }
    auto people = LoadRecords("住所録.CSV");
    // Trail bytes 0x5C (ソ, 表) are neither escapes nor lost.
    EXPECT_EQ(people->ValueAt(1, 0, 3), QStringLiteral("青葉ソフトウェア株式会社"));
    EXPECT_EQ(people->ValueAt(2, 0, 3), QStringLiteral("表参道デザイン室"));
    EXPECT_EQ(people->ValueAt(0, 0, 1), QStringLiteral("佐藤　美咲"));
    // A comma in a .CSV value is escaped with a backslash; in a .TAB file it is plain.
    auto products = LoadRecords("商品一覧.CSV");
    EXPECT_EQ(products->ValueAt(0, 0, 1), QStringLiteral("ボールペン 0.5mm, 黒"));
    EXPECT_TRUE(ReadAll(kDataDir + "recordfile/商品一覧.CSV").contains(TCp932::Encode("0.5mm\\, ")));
    auto lines = LoadRecords("明細行.TAB");
    EXPECT_EQ(lines->ValueAt(0, 4, 3), QStringLiteral("封筒 長形3号, 白"));
}

TEST(ShippedMergeDataTest, CodesCheckDigitsAndStatementSumsAreRight) {
    for (const auto& [name, janColumn, barcodeColumn] :
         {std::tuple{QStringLiteral("住所録.CSV"), 11, 12}, std::tuple{QStringLiteral("商品一覧.CSV"), 5, 6}}) {
        SCOPED_TRACE(name.toStdString());
        auto file = LoadRecords(name);
        for (int i = 0; i < file->Count(); ++i) {
            const QString jan = file->ValueAt(i, 0, janColumn);
            EXPECT_TRUE(JanIsValid(jan)) << jan.toStdString();
            // In-store prefixes only: no real maker's code.
            EXPECT_TRUE(jan.startsWith('2')) << jan.toStdString();
            // The barcode field's value: the data, EAN-13, no check digit added, text shown.
            EXPECT_EQ(file->ValueAt(i, 0, barcodeColumn), jan + " 1 0 1");
        }
    }
    auto heads = LoadRecords("明細書.CSV");
    auto lines = LoadRecords("明細行.TAB");
    auto products = LoadRecords("商品一覧.CSV");
    int longest = 0;
    for (int i = 0; i < heads->Count(); ++i) {
        SCOPED_TRACE(heads->KeyAt(i).toStdString());
        const int d = lines->IndexOfKey(heads->KeyAt(i));
        ASSERT_GE(d, 0);
        EXPECT_EQ(lines->KeyAt(i), heads->KeyAt(i)) << "detail records in the order of the statements";
        long long subtotal = 0;
        for (int k = 0; k < lines->Record(d)->RowCount(); ++k) {
            const int product = products->IndexOfKey(lines->ValueAt(d, k, 2));
            ASSERT_GE(product, 0);
            EXPECT_EQ(lines->ValueAt(d, k, 6), products->ValueAt(product, 0, 3)) << "row " << k;
            EXPECT_EQ(lines->ValueAt(d, k, 7).toLongLong(),
                      lines->ValueAt(d, k, 4).toLongLong() * lines->ValueAt(d, k, 6).toLongLong());
            subtotal += lines->ValueAt(d, k, 7).toLongLong();
        }
        longest = std::max(longest, lines->Record(d)->RowCount());
        EXPECT_EQ(heads->ValueAt(i, 0, 10).toLongLong(), subtotal);
        EXPECT_EQ(heads->ValueAt(i, 0, 11).toLongLong(), subtotal / 10);
        EXPECT_EQ(heads->ValueAt(i, 0, 12).toLongLong(), subtotal + subtotal / 10);
    }
    // One statement runs over two pages of fifteen rows.
    EXPECT_GT(longest, 15);
    // Tax-included prices are the price plus 10 %, cut to the yen.
    for (int i = 0; i < products->Count(); ++i)
        EXPECT_EQ(products->ValueAt(i, 0, 4).toInt(), products->ValueAt(i, 0, 3).toInt() * 110 / 100);
}

TEST(ShippedMergeDataTest, FieldDefinitionsNameEveryColumnOfTheirRecordFile) {
    TFieldUnit fields;
    fields.LoadFolder(kDataDir + "fieldfile");
    ASSERT_EQ(fields.Count(), 5);
    for (int i = 0; i < fields.Count(); ++i) {
        const QString name = fields.Names().at(i);
        SCOPED_TRACE(name.toStdString());
        const QString recordName = name == QStringLiteral("明細行.CSV") ? QStringLiteral("明細行.TAB") : name;
        auto records = LoadRecords(recordName);
        const QStringList& lines = fields.Son(i)->Lines();
        ASSERT_EQ(lines.size(), records->Record(0)->ValueCount(0));
        for (int k = 0; k < lines.size(); ++k)
            EXPECT_TRUE(lines[k].startsWith(QString::number(k) + ",")) << lines[k].toStdString();
    }
}

TEST(ShippedMergeDataTest, TemplatesNameTheirFilesAndColumns) {
    for (const TTemplateCase& c : kTemplates) {
        SCOPED_TRACE(c.Path.toStdString());
        auto doc = LoadTemplate(c.Path);
        EXPECT_EQ(doc->PrintMode, c.Mode);
        EXPECT_EQ(doc->RecordMainFile, c.Main);
        EXPECT_EQ(doc->RecordMeisaiFile, c.Detail);
        const TPriPaper& p = doc->PrintPaper;
        EXPECT_EQ(
            std::tuple(p.FSeatColumns, p.FSeatRows, p.FSeatWidth, p.FSeatHeight, p.FFirstSeatLeft, p.FFirstSeatTop),
            std::tuple(c.Columns, c.Rows, c.SeatWidth, c.SeatHeight, c.FirstLeft, c.FirstTop));
        auto main = LoadRecords(c.Main);
        std::unique_ptr<TRecordFile> detail = c.Detail.isEmpty() ? nullptr : LoadRecords(c.Detail);
        TPriPortal* portal = PortalOf(*doc);
        EXPECT_EQ(portal != nullptr, detail != nullptr);
        int inRow = 0;
        for (TPriField* f : Fields(*doc)) {
            // The sender's fields take their text from the settings.
            if (IsCounter(*f) || f->Extras.SenderItem != TObjectExtras::TSenderItem::None) continue;
            const bool isDetail = portal && InFirstRow(*doc, *portal, *f);
            inRow += isDetail;
            const TRecordFile& file = isDetail ? *detail : *main;
            EXPECT_LT(f->CategoryNum, file.Record(0)->ValueCount(0)) << f->CategoryName().toStdString();
            EXPECT_GE(f->CategoryNum, 0);
        }
        for (TPriField* f : Fields(*doc)) {
            // EAN-13 values; the kinds of a field's own keep their proportions when drawn.
            if (f->FieldState != fsBarcode || f->Extras.BarcodeKind >= 0) continue;
            // The symbol (391 x 304 pixels at 300 dpi, 33.1 mm wide) keeps its proportions and
            // at least 80 % of its nominal size, or scanners at the till fail.
            const QRect r = f->StoreRect();
            EXPECT_NEAR(double(r.width()) / r.height(), 391.0 / 304.0, 0.02);
            EXPECT_GE(r.width() / 10.0, 0.8 * 391 / 300.0 * 25.4);
        }
        if (portal) {
            // Six columns repeat per detail row, and no field of the head strays into the rows.
            EXPECT_EQ(inRow, 6);
            EXPECT_GE(portal->Rows, 10);
        }
    }
}

// Every value of every record fits its field, so no name or price is cut off on any card.
TEST(ShippedMergeDataTest, EveryValueFitsItsField) {
    for (const TTemplateCase& c : kTemplates) {
        SCOPED_TRACE(c.Path.toStdString());
        auto doc = LoadTemplate(c.Path);
        auto main = LoadRecords(c.Main);
        std::unique_ptr<TRecordFile> detail = c.Detail.isEmpty() ? nullptr : LoadRecords(c.Detail);
        TPriPortal* portal = PortalOf(*doc);
        for (TPriField* f : Fields(*doc)) {
            if (IsCounter(*f) || f->FieldState != fsText) continue;
            // These fit by shrinking or by their own layout.
            if (f->Extras.ShrinkToFit || f->Extras.NameBlock ||
                f->Extras.PostalLayout != TObjectExtras::TPostalLayout::None)
                continue;
            const bool isDetail = portal && InFirstRow(*doc, *portal, *f);
            const TRecordFile& file = isDetail ? *detail : *main;
            QFont font = f->Font;
            font.setPixelSize(1000);
            const QFontMetricsF metrics(font);
            const double mmPerUnit = f->SameFSize * 25.4 / 72 / 1000; // font pixels to mm
            const QRect r = f->StoreRect();
            const int lines = std::max(1, int(r.height() / 10.0 / (metrics.height() * mmPerUnit)));
            for (int i = 0; i < file.Count(); ++i)
                for (int k = 0; k < file.Record(i)->RowCount(); ++k) {
                    const QString text = f->FieldPStyle().Format(file.ValueAt(i, k, f->CategoryNum), 1, 1);
                    const double widthMm = metrics.horizontalAdvance(text) * mmPerUnit;
                    EXPECT_LE(widthMm, lines * r.width() / 10.0 * 0.97)
                        << f->CategoryName().toStdString() << ": " << text.toStdString();
                }
        }
    }
}

// A seat drawn through the print drawing with records merged shows their values: ink in every
// filled field and the barcode reading back as the record's JAN code.
TEST(ShippedMergeDataTest, SeatsRenderWithMergedValues) {
    for (const TTemplateCase& c : kTemplates) {
        SCOPED_TRACE(c.Path.toStdString());
        auto doc = LoadTemplate(c.Path);
        auto main = LoadRecords(c.Main);
        std::unique_ptr<TRecordFile> detail = c.Detail.isEmpty() ? nullptr : LoadRecords(c.Detail);
        TPriPortal* portal = PortalOf(*doc);
        for (int index : {0, main->Count() - 1}) {
            SCOPED_TRACE(index);
            Merge(*doc, *main, index, detail.get(), 0);
            const QImage seat = TPageExport::RenderSeat(*doc, kDpi);
            ASSERT_FALSE(seat.isNull());
            for (TPriField* f : Fields(*doc)) {
                if (f->DataString().isEmpty() || f->DataString().trimmed().isEmpty()) continue;
                EXPECT_GT(InkIn(seat, PrintRect(*doc, *f)), 10)
                    << f->CategoryName().toStdString() << " = " << f->DataString().toStdString();
            }
            if (portal) {
                // The first detail row is filled, the second is not drawn by a single seat.
                QRect row = PrintRect(*doc, *portal);
                row.setHeight(row.height() / portal->Rows);
                EXPECT_GT(InkIn(seat, row.adjusted(10, 10, -10, -10)), 200);
            }
#ifdef KOMOREBI_HAVE_ZBAR
            std::set<std::pair<std::string, std::string>> expected, read;
            if (c.JanColumn >= 0)
                expected.insert({c.BarcodeColumnJan.toStdString(), main->ValueAt(index, 0, c.JanColumn).toStdString()});
            if (c.QrColumn >= 0) expected.insert({"QR-Code", main->ValueAt(index, 0, c.QrColumn).toStdString()});
            for (const TReadBarcode& r : ReadBarcodes(seat))
                read.insert({r.Type, r.Data});
            EXPECT_EQ(read, expected);
#endif
        }
        // Another record gives another seat.
        Merge(*doc, *main, 0, detail.get(), 0);
        const QImage first = TPageExport::RenderSeat(*doc, 100);
        Merge(*doc, *main, 1, detail.get(), 0);
        EXPECT_NE(first, TPageExport::RenderSeat(*doc, 100));
    }
}
