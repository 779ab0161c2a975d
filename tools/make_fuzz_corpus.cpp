// Writes the seed corpus of the fuzz targets through the program's own writers: templates of
// every file version with every object kind and record form, bitmap and RLE backgrounds,
// transparent pictures, fields of every form, portals, record files in CP932 and UTF-8, clipboard
// blocks, card sheet lists, start-panel pictures, scanned bitmaps and instance messages.
//
//   make_fuzz_corpus [CORPUS_FOLDER]      (default: tests/fuzz/corpus)
//
// Pictures are kept tiny so that the whole corpus stays small.

#include "app/SingleInstance.h"
#include "app/StartImages.h"
#include "calendar/KoyomiTable.h"
#include "calendar/PriCarendar.h"
#include "document/ClipboardBlock.h"
#include "document/PriDocument.h"
#include "document/ObjectKinds.h"
#include "document/TemplateFile.h"
#include "imaging/ImageCodec.h"
#include "imaging/PackedDib.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"
#include "platform/SaneDevice.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "print/CardData.h"
#include "support/ClaimingJpeg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <cstdio>
#include <functional>

namespace {

using TFields = std::array<int32_t, TPriPaper::kFieldCount>;
using TEntries = std::vector<std::pair<int, QByteArray>>;

constexpr TFields kPostcard{0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480};
constexpr TFields kLandscape{0, 0, 0, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480};
constexpr TFields kCardSheet{0, 0, 1, 0, 2100, 2970, 140, 110, 0, 0, 100, 0, 2, 5, 910, 550};

// Every option of the extension area set, varied by n.
TObjectExtras AllOptions(int n) {
    TObjectExtras e;
    e.HyphenRule = TObjectExtras::THyphenRule(n % 3);
    e.ShrinkToFit = true;
    e.PostalLayout = TObjectExtras::TPostalLayout(1 + n % 2);
    e.PrintPostalBoxes = true;
    e.SenderItem = TObjectExtras::TSenderItem(n % 5);
    e.NameBlock = true;
    e.GivenCategory = 5;
    e.Joint1Category = 6;
    e.Joint2Category = 7;
    e.HonorificCategory = 8;
    e.BarcodeKind = n % 8;
    e.BarcodeCheck = true;
    e.BarcodeAddress1Category = 2;
    e.BarcodeAddress2Category = 3;
    return e;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_fuzz_corpus: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QImage Picture(int w, int h, bool alpha) {
    QImage image(w, h, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.fill(alpha ? Qt::transparent : Qt::white);
    QPainter p(&image);
    p.setBrush(QColor(200, 60, 60, alpha ? 160 : 255));
    p.drawEllipse(1, 1, w - 2, h - 2);
    p.fillRect(0, 0, w / 2, 1, Qt::blue);
    return image;
}

// A bottom-up 8-bit or 4-bit run-length bitmap of 4 x 2 pixels with two palette colours, as older
// scanners and paint programs saved them.
QByteArray RleBmp(bool fourBit) {
    const QByteArray pixels = fourBit ? QByteArray("\x04\x01\x00\x00\x02\x10\x02\x01\x00\x01", 10)
                                      : QByteArray("\x04\x01\x00\x00\x02\x00\x02\x01\x00\x01", 10);
    TStreamWriter w;
    const int32_t offset = 14 + 40 + 8;
    w.WriteBytes("BM");
    w.WriteInt32(offset + int32_t(pixels.size()));
    w.WriteInt32(0);
    w.WriteInt32(offset);
    w.WriteInt32(40);
    w.WriteInt32(4);
    w.WriteInt32(2);
    w.WriteBytes(QByteArray(fourBit ? "\x01\x00\x04\x00" : "\x01\x00\x08\x00", 4));
    w.WriteInt32(fourBit ? 2 : 1); // BI_RLE4 or BI_RLE8
    w.WriteInt32(int32_t(pixels.size()));
    w.WriteInt32(2835);
    w.WriteInt32(2835);
    w.WriteInt32(2);
    w.WriteInt32(0);
    w.WriteBytes(QByteArray("\xFF\xFF\xFF\x00\x20\x40\xC0\x00", 8));
    w.WriteBytes(pixels);
    return w.Bytes();
}

QByteArray Record(TPriBase& obj, int version) {
    TStreamWriter w;
    obj.SaveToStream(w, version);
    return w.Bytes();
}

// One of every kind in the record form of the given file version.
TEntries AllKinds(int version, bool transparent) {
    TEntries entries;
    const int textVersion = version == TTemplateFile::kVersion ? TPriLabel::kLongRecordVersion : version;
    TPriLabel label;
    label.SetStoreRect({50, 50, 600, 200});
    label.SameFSize = 14;
    label.SmallCheck = true;
    label.SetDataString(QStringLiteral("こもれび(小)\n2行目"));
    entries.push_back({okLabel, Record(label, textVersion)});
    TPriLabel vertical;
    vertical.SetStoreRect({700, 50, 200, 800});
    vertical.SetFontAngle(faLong);
    vertical.SidePos = psKintou;
    vertical.LongPos = tlKintou;
    vertical.SetDataString(QStringLiteral("縦書き１２３ー"));
    entries.push_back({okLabel, Record(vertical, textVersion)});

    TPriImage image;
    image.SetStoreRect({50, 300, 300, 200});
    image.TransParent = transparent;
    image.Color = RGBColor(255, 255, 255);
    image.ImageType = version >= 6 ? (transparent ? 3 : 1) : 0;
    image.SetPicture(Picture(12, 8, transparent && version >= 6));
    entries.push_back({okImage, Record(image, version)});

    TPriField field;
    field.SetStoreRect({400, 300, 400, 100});
    field.CategoryNum = TPriField::kYearCategory;
    field.FieldMode = fmJetPrint;
    field.SetCategoryName(QStringLiteral("2027"));
    entries.push_back({okField, Record(field, textVersion)});

    TPriShape shape;
    shape.SetStoreRect({50, 600, 300, 200});
    shape.Shape = version > 4 ? TBltShape::RoundRect : TBltShape::Ellipse;
    entries.push_back({okShape, Record(shape, version)});

    TPriLine line;
    line.SetStoreRect({50, 850, 600, 10});
    entries.push_back({okLine, Record(line, version)});

    TPriPortal portal;
    portal.SetStoreRect({400, 600, 500, 60});
    portal.ObjHeight = 60;
    portal.SetRows(4);
    portal.Dataname = QStringLiteral("明細.CSV");
    entries.push_back({okPortal, Record(portal, version)});

    TPriCarendar calendar;
    calendar.SetStoreRect({100, 900, 800, 500});
    calendar.SetMonth(1);
    entries.push_back({okCarendar, Record(calendar, version)});
    return entries;
}

// The fields in each state and mode, with every number style the record holds.
TEntries AllFieldForms(int version) {
    TEntries entries;
    const int states[] = {fsText, fsImage, fsBarcode, fsTotal, fsRengeTotal};
    const int categories[] = {9999, TPriField::kMonthTitleCategory, TPriField::kMonthTitleYearCategory, 3};
    int i = 0;
    for (int state : states) {
        TPriField field;
        field.SetStoreRect({50, 50 + 120 * i, 700, 100});
        field.FieldState = TFieldState(state);
        field.FieldMode = TFieldMode(i % 3);
        field.CategoryNum = categories[i % 4];
        field.SetCategoryName(state == fsBarcode ? QStringLiteral("4901234567894") : QStringLiteral("1"));
        TFieldPlusStyle& style = field.FieldPStyle();
        style.GroupDigits = i % 2 == 0;
        style.TriangleMinus = i % 2 == 1;
        style.FixedDecimals = true;
        style.Decimals = i;
        style.UsePrefix = style.UseSuffix = true;
        style.DropPoint = i == 3;
        style.ZeroPad = i == 4;
        entries.push_back({okField, Record(field, version)});
        ++i;
    }
    return entries;
}

// A background block: present, shown (side 1 only) and the picture bytes.
QByteArray BackBlock(const QByteArray& picture, bool shown = true) {
    TStreamWriter w;
    if (picture.isEmpty()) {
        w.WriteInt32(0);
        return w.Bytes();
    }
    w.WriteInt32(1);
    w.WriteBool(shown);
    w.WriteBlock64(picture);
    return w.Bytes();
}

QByteArray Template(int version, const TFields& paper, const QByteArray& back, const TEntries& side1,
                    const TEntries& side2 = {}, bool reservedSkip = false) {
    TStreamWriter w;
    w.WriteInt32(TTemplateFile::kMagic);
    w.WriteInt32(version);
    w.WriteInt32(0);
    for (int32_t v : paper)
        w.WriteInt32(v);
    if (version >= 3) {
        w.WriteInt32(reservedSkip ? 1 : 0);
        if (reservedSkip) {
            w.WriteBytes(QByteArray(8, '\0'));
            w.WriteBlock64("reserved");
        }
    }
    w.WriteInt32(2);
    w.WriteString(QStringLiteral("住所録.CSV"));
    w.WriteString(QStringLiteral("明細.TAB"));
    w.WriteBytes(back);
    const auto side = [&w](const TEntries& entries) {
        w.WriteInt32(int32_t(entries.size()));
        for (const auto& [kind, record] : entries) {
            w.WriteInt32(kind);
            w.WriteBlock64(record);
        }
    };
    side(side1);
    w.WriteInt32(TTemplateFile::kSeparator);
    w.WriteInt32(0); // side 2 has no background
    side(side2);
    w.WriteInt32(TTemplateFile::kEndMarker);
    return w.Bytes();
}

bool MakeTemplates(const QString& dir) {
    const QByteArray jpeg = TImageCodec::Encode(Picture(16, 12, false), TImageFormat::Jpeg);
    const QByteArray bmp = TImageCodec::Encode(Picture(8, 6, false), TImageFormat::Bmp);
    bool ok = true;
    for (int version = 1; version <= TTemplateFile::kVersion; ++version) {
        const QByteArray back = BackBlock(version == 1 ? bmp : jpeg);
        ok &= WriteFile(dir + QStringLiteral("/v%1-all-kinds.tda").arg(version),
                        Template(version, kPostcard, back, AllKinds(version, false)));
        ok &= WriteFile(dir + QStringLiteral("/v%1-transparent.tda").arg(version),
                        Template(version, kLandscape, BackBlock({}), {}, AllKinds(version, true)));
        ok &= WriteFile(dir + QStringLiteral("/v%1-field-forms.tda").arg(version),
                        Template(version, kCardSheet, BackBlock({}), AllFieldForms(version)));
    }
    // Text records in a version 6 file come in the short and the long form.
    for (int textVersion : {7, 10})
        ok &= WriteFile(dir + QStringLiteral("/v6-text-record-%1.tda").arg(textVersion),
                        Template(6, kPostcard, BackBlock({}), AllFieldForms(textVersion)));
    ok &= WriteFile(dir + QStringLiteral("/v1-rle8-background.tda"),
                    Template(1, kPostcard, BackBlock(RleBmp(false)), {}));
    ok &= WriteFile(dir + QStringLiteral("/v1-rle4-background-hidden.tda"),
                    Template(1, kPostcard, BackBlock(RleBmp(true), false), {}));
    ok &= WriteFile(dir + QStringLiteral("/v5-rle-picture.tda"), [&] {
        TStreamWriter record;
        TPriImage image;
        image.SetStoreRect({0, 0, 400, 200});
        image.TPriBase::SaveToStream(record, 5); // the common header, then the picture fields by hand
        record.WriteBool(true);
        record.WriteBool(true);
        record.WriteBool(true);
        record.WriteBlock64(RleBmp(false)); // no picture type before version 6: a BMP file
        record.WriteColor(RGBColor(255, 255, 255));
        for (int i = 0; i < 4; ++i)
            record.WriteInt32(0);
        record.WriteBool(false);
        record.WriteBool(true);
        for (int i = 0; i < 4; ++i)
            record.WriteInt32(0);
        return Template(5, kPostcard, BackBlock({}), {{okImage, record.Bytes()}});
    }());
    // Pictures and a background whose JPEG headers claim 2048 x 2048 over a 16 x 16 scan: a few
    // hundred bytes that ask for thousands of times their size (the fuzzer takes the claims higher).
    {
        TEntries claims;
        for (int i = 0; i < 4; ++i) {
            TPriImage image;
            image.SetStoreRect({i * 200, 0, 200, 200});
            image.ImageType = 1;
            image.SetPicture(Picture(16, 16, false));
            QByteArray record = Record(image, 6);
            ClaimInPlace(record, 2048, 2048);
            claims.push_back({okImage, record});
        }
        ok &= WriteFile(dir + QStringLiteral("/v6-jpeg-claims.tda"),
                        Template(6, kPostcard, BackBlock(ClaimingJpeg(2048, 2048)), claims));
    }
    ok &= WriteFile(dir + QStringLiteral("/v6-reserved-block.tda"),
                    Template(6, kCardSheet, BackBlock(jpeg), AllKinds(6, false), {}, true));

    // A complete document through the surface's own save, as the user's files are written. The
    // kinds of the merge and calendar layers come from the document's factory.
    TObjectKinds::RegisterAll();
    TPriDocument doc{QString()};
    doc.PrintPaper.SetFields(kCardSheet);
    for (auto& [kind, record] : AllKinds(6, true)) {
        std::unique_ptr<TPriBase> obj = TObjectFactory::Create(kind);
        TStreamReader in(record);
        if (obj && obj->LoadFromStream(in, kind == okLabel || kind == okField ? 10 : 6))
            doc.AppendObject(std::move(obj));
    }
    QByteArray saved;
    ok &= TTemplateFile::Build(doc, 0, saved) == TTemplateFile::TResult::Ok;
    ok &= WriteFile(dir + QStringLiteral("/v6-saved-document.tda"), saved);

    // Options in the extension area after the end marker, whole and damaged.
    int n = 0;
    for (auto& obj : doc.Objects()) {
        obj->Extras = AllOptions(n++);
        if (n == 3) break;
    }
    QByteArray extended;
    ok &= TTemplateFile::Build(doc, 0, extended) == TTemplateFile::TResult::Ok;
    ok &= WriteFile(dir + QStringLiteral("/v6-extension-area.tda"), extended);
    ok &= WriteFile(dir + QStringLiteral("/v6-extension-area-cut.tda"), extended.left(extended.size() - 6));
    QByteArray wrongEntry = extended;
    wrongEntry.replace(saved.size() + 24, 4, QByteArray("\x10\x27\x00\x00", 4)); // object 10000
    ok &= WriteFile(dir + QStringLiteral("/v6-extension-area-wrong-object.tda"), wrongEntry);
    // A barcode kind no program has made.
    QByteArray wrongKind = extended;
    const qsizetype barcode = wrongKind.indexOf(QByteArray("\x08\x00\x00\x00\x14\x00\x00\x00", 8), saved.size());
    if (barcode >= 0) wrongKind.replace(barcode + 8, 4, QByteArray("\x09\x00\x00\x00", 4));
    ok &= barcode >= 0 && WriteFile(dir + QStringLiteral("/v6-extension-area-wrong-barcode.tda"), wrongKind);
    return ok;
}

bool MakeRecordFiles(const QString& dir) {
    const QString table = QStringLiteral("顧客番号,氏名,住所,金額\r\n"
                                         "1,山田 太郎,\"東京都千代田区1-1\",12000\r\n"
                                         "1,,明細の続き,300\r\n"
                                         "\r\n"
                                         "2,佐藤 花子,大阪市北区\\,梅田,-4500.5\r\n"
                                         "3,ソフト表,能力\\\\,\"\"\r\n");
    QString tab = table;
    tab.replace(',', '\t');
    bool ok = true;
    ok &= WriteFile(dir + QStringLiteral("/cp932.CSV"), TCp932::Encode(table));
    ok &= WriteFile(dir + QStringLiteral("/cp932.TAB"), TCp932::Encode(tab));
    ok &= WriteFile(dir + QStringLiteral("/utf8-bom.CSV"), QByteArray("\xEF\xBB\xBF") + table.toUtf8());
    ok &= WriteFile(dir + QStringLiteral("/utf8.TAB"), tab.toUtf8());
    ok &= WriteFile(dir + QStringLiteral("/ascii-lf.CSV"), QByteArray("key,a,b\n1,x,y\n1,z\n2,\"q,r\",s\n"));
    return ok;
}

// MergeObjectFuzz reads a version byte, then a field or portal record.
bool MakeMergeRecords(const QString& dir) {
    bool ok = true;
    for (int version : {1, 2, 3, 5, 6, 7, 10}) {
        const TEntries fields = AllFieldForms(version);
        for (size_t i = 0; i < fields.size(); i += 2)
            ok &=
                WriteFile(dir + QStringLiteral("/field-v%1-%2").arg(version).arg(i), char(version) + fields[i].second);
        TPriPortal portal;
        portal.SetStoreRect({0, 0, 500, 60});
        portal.SetRows(3);
        portal.Dataname = QStringLiteral("明細.TAB");
        ok &= WriteFile(dir + QStringLiteral("/portal-v%1").arg(version), char(version) + Record(portal, version));
    }
    return ok;
}

// ClipboardBlockFuzz: blocks as Copy writes them, of one object and of every kind at once.
bool MakeClipboardBlocks(const QString& dir) {
    TPriLabel label;
    label.SetStoreRect({200, 50, 600, 200});
    label.SetDataString(QStringLiteral("コピー\n2行目"));
    TPriImage image;
    image.SetStoreRect({50, 300, 300, 200});
    image.TransParent = true;
    image.ImageType = 3;
    image.SetPicture(Picture(12, 8, true));
    TPriField field;
    field.SetStoreRect({400, 300, 400, 100});
    field.SetCategoryName(QStringLiteral("氏名"));
    TPriShape shape;
    shape.SetStoreRect({50, 600, 300, 200});
    TPriLine line;
    line.SetStoreRect({50, 850, 600, 10});
    TPriPortal portal;
    portal.SetStoreRect({400, 600, 500, 60});
    portal.SetRows(2);
    TPriCarendar calendar;
    calendar.SetStoreRect({100, 900, 700, 500});
    field.Extras = AllOptions(1);
    label.Extras = AllOptions(2);
    const QList<TPriBase*> all = {&label, &image, &field, &shape, &line, &portal, &calendar};
    bool ok = WriteFile(dir + QStringLiteral("/all-kinds"), TClipboardBlock::Write(all));
    ok &= WriteFile(dir + QStringLiteral("/one-text"), TClipboardBlock::Write({&label}));
    ok &= WriteFile(dir + QStringLiteral("/one-image"), TClipboardBlock::Write({&image}));
    // Four JPEG pictures whose headers claim 2048 x 2048 (at 8192 a kilobyte asked for 1.4 GB).
    QByteArray block;
    {
        TPriImage claim;
        claim.SetStoreRect({0, 0, 200, 200});
        claim.ImageType = 1;
        claim.SetPicture(Picture(16, 16, false));
        block = TClipboardBlock::Write({&claim, &claim, &claim, &claim});
        for (qsizetype at = 0; (at = block.indexOf(QByteArray("\xFF\xD8\xFF", 3), at)) >= 0; ++at) {
            QByteArray rest = block.mid(at);
            ClaimInPlace(rest, 2048, 2048);
            block.replace(at, rest.size(), rest);
        }
    }
    ok &= WriteFile(dir + QStringLiteral("/jpeg-claims"), block);
    return ok;
}

// CardDataFuzz: a list with a shipped-style sheet and one a user added.
bool MakeCardData(const QString& dir) {
    TCardSheet shipped{.Name = QStringLiteral("A4 名刺 10面"),
                       .SheetWidth = 2100,
                       .SheetHeight = 2970,
                       .Columns = 2,
                       .Rows = 5,
                       .SeatWidth = 910,
                       .SeatHeight = 550,
                       .PitchX = 910,
                       .PitchY = 550,
                       .FirstLeft = 140,
                       .FirstTop = 110};
    TCardSheet user = shipped;
    user.Name = QStringLiteral("自分のラベル");
    user.UserAdded = true;
    user.Columns = 3;
    user.Rows = 7;
    user.SeatWidth = 600;
    user.SeatHeight = 380;
    user.PitchX = 620;
    user.PitchY = 390;
    user.FirstLeft = 120;
    user.FirstTop = 100;
    bool ok = WriteFile(dir + QStringLiteral("/two-sheets.cdd"), TCardData::Write({shipped, user}));
    ok &= WriteFile(dir + QStringLiteral("/empty.cdd"), TCardData::Write({}));
    return ok;
}

// StartImagesFuzz: a picture file of two tiny JPEGs.
bool MakeStartImages(const QString& dir) {
    const std::vector<QByteArray> jpegs = {TImageCodec::Encode(Picture(16, 12, false), TImageFormat::Jpeg),
                                           TImageCodec::Encode(Picture(8, 8, false), TImageFormat::Jpeg)};
    return WriteFile(dir + QStringLiteral("/two.ims"), BuildStartImages(jpegs)) &&
           // Twelve pictures that claim 8192 x 8192 each: a kilobyte used to take 1.9 GB at start.
           WriteFile(dir + QStringLiteral("/jpeg-claims-8192.ims"),
                     BuildStartImages(std::vector<QByteArray>(12, ClaimingJpeg(8192, 8192))));
}

// PackedDibFuzz: what a scanner hands over, in colour and in grey.
bool MakePackedDibs(const QString& dir) {
    bool ok = true;
    for (const bool color : {true, false}) {
        TSaneFrame frame;
        frame.Color = color;
        frame.Width = 5;
        frame.Height = 3;
        frame.BytesPerLine = frame.Width * (color ? 3 : 1);
        frame.Resolution = 300;
        frame.Data = QByteArray(frame.BytesPerLine * frame.Height, '\x80');
        QString error;
        const QByteArray dib = TPackedDib::FromFrame(frame, &error);
        ok &= !dib.isEmpty() &&
              WriteFile(dir + (color ? QStringLiteral("/color.dib") : QStringLiteral("/gray.dib")), dib);
    }
    return ok;
}

// InstanceMessageFuzz: the files a second start hands over.
bool MakeInstanceMessages(const QString& dir) {
    bool ok =
        WriteFile(dir + QStringLiteral("/one"), TSingleInstance::EncodeMessage({QStringLiteral("/home/u/年賀状.tda")}));
    ok &= WriteFile(dir + QStringLiteral("/two"),
                    TSingleInstance::EncodeMessage({QStringLiteral("/home/u/a.tda"), QStringLiteral("/tmp/b c.tda")}));
    ok &= WriteFile(dir + QStringLiteral("/none"), TSingleInstance::EncodeMessage({}));
    return ok;
}

// KoyomiTableFuzz: a table of two years, whole, cut inside the second year and with a count
// claiming more months than there are bytes.
bool MakeKoyomiTables(const QString& dir) {
    const QByteArray whole = TKoyomiTable::Write({TKoyomiYear::Compute(2027), TKoyomiYear::Compute(2028)});
    QByteArray cut = whole.left(whole.size() / 2 + 10);
    QByteArray claim = whole;
    claim[12] = char(0x7f);
    for (QByteArray* b : {&cut, &claim}) {
        const uint32_t sum = TKoyomiTable::Checksum(b->constData(), b->size() - 4);
        for (int i = 0; i < 4; ++i)
            (*b)[b->size() - 4 + i] = char(sum >> (8 * i));
    }
    return WriteFile(dir + QStringLiteral("/two-years"), whole) && WriteFile(dir + QStringLiteral("/cut"), cut) &&
           WriteFile(dir + QStringLiteral("/claims-months"), claim);
}

// FamilyDaysFuzz: a good list in UTF-8 with a BOM, one in CP932 with full-width digits, and one
// of damaged lines (dates that do not exist, no name, a cut double-byte character).
bool MakeFamilyDays(const QString& dir) {
    const QString good =
        QStringLiteral("# 記念日\n05/03 母の誕生日\n1992/2/29\t𠮷田の結婚記念日\n\n12/25 クリスマス\n");
    bool ok = WriteFile(dir + QStringLiteral("/utf8-bom.txt"), QByteArray("\xEF\xBB\xBF") + good.toUtf8());
    ok &= WriteFile(dir + QStringLiteral("/cp932.txt"),
                    TCp932::Encode(QStringLiteral("２０１０／０４／０１　入学\r\n1/1 元日\r\n")));
    ok &= WriteFile(dir + QStringLiteral("/damaged.txt"),
                    QByteArray("02/30 x\n13/01 y\n2023/02/29 z\n05/05\n/ a\n99999/1/1 b\n1/1 \x82"));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tests/fuzz/corpus");
    bool ok = true;
    for (const auto& [name, make] : std::vector<std::pair<QString, std::function<bool(const QString&)>>>{
             {QStringLiteral("TemplateFuzz"), MakeTemplates},
             {QStringLiteral("RecordFileFuzz"), MakeRecordFiles},
             {QStringLiteral("MergeObjectFuzz"), MakeMergeRecords},
             {QStringLiteral("ClipboardBlockFuzz"), MakeClipboardBlocks},
             {QStringLiteral("CardDataFuzz"), MakeCardData},
             {QStringLiteral("StartImagesFuzz"), MakeStartImages},
             {QStringLiteral("PackedDibFuzz"), MakePackedDibs},
             {QStringLiteral("InstanceMessageFuzz"), MakeInstanceMessages},
             {QStringLiteral("KoyomiTableFuzz"), MakeKoyomiTables},
             {QStringLiteral("FamilyDaysFuzz"), MakeFamilyDays}}) {
        const QString dir = root + '/' + name;
        ok &= QDir().mkpath(dir) && make(dir);
    }
    return ok ? 0 : 1;
}
