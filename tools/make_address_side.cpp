// Writes the New Year card's address side: the address list recordfile/宛名.CSV, its field names
// fieldfile/宛名.CSV, Template/Hagaki/宛名面.tda with its thumbnail (the first household), and
// Template/A4/宛名ラベル.tda, twelve address labels a sheet from the same list with the customer
// barcode, with its thumbnail (the first sheet).
//   make_address_side [data folder] [--preview FOLDER]

#include "design/TemplateDesign.h"
#include "merge/BarcodeValue.h"
#include "merge/RecordUnit.h"
#include "merge/SenderInfo.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"
#include "print/PageExport.h"
#include "print/PrintPipeline.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>

namespace {

constexpr TColor kInk = RGBColor(20, 20, 20);
const QString kMincho = QStringLiteral("ＭＳ 明朝");

// Columns of the address list, in their order in every line.
const QStringList kColumns = {QStringLiteral("キー"),  QStringLiteral("郵便番号"), QStringLiteral("住所1"),
                              QStringLiteral("住所2"), QStringLiteral("姓"),       QStringLiteral("名"),
                              QStringLiteral("連名1"), QStringLiteral("連名2"),    QStringLiteral("敬称")};
// What a field that reads no column of the list holds.
constexpr int kNoColumn = 9999;
enum TColumn { cKey, cPostal, cAddress1, cAddress2, cFamily, cGiven, cJoint1, cJoint2, cHonorific };

// Fictitious households: every street number and building is made up.
struct THousehold {
    const char* Postal;
    const char* Address1;
    const char* Address2;
    const char* Family;
    const char* Given;
    const char* Joint1;
    const char* Joint2;
    const char* Honorific;
};

const THousehold kHouseholds[] = {
    {"150-0042", "東京都渋谷区宇田川町12-3", "こもれびハイツ201", "佐藤", "健一", "美咲", "", ""},
    {"0600808", "北海道札幌市北区北八条西3-28-5", "", "鈴木", "一郎", "", "", ""},
    {"980-0811", "宮城県仙台市青葉区一番町4-7-17", "青葉タワー1502", "高橋", "誠", "由美", "陽菜", ""},
    {"330-0063", "埼玉県さいたま市浦和区高砂2-14-8", "", "田中", "浩二", "", "", ""},
    {"260-0013", "千葉県千葉市中央区中央3-9-16", "SKビル4F", "伊藤", "正樹", "", "", "先生"},
    {"231-0023", "神奈川県横浜市中区山下町27-1", "ベイサイドレジデンス1402", "渡辺", "直人", "恵子", "", ""},
    {"420-0857", "静岡県静岡市葵区御幸町9-2", "", "山本", "和也", "", "", "様"},
    {"460-0008", "愛知県名古屋市中区栄3-18-1", "サンシャイン栄東館908", "中村", "大輔", "奈々", "蓮", ""},
    {"604-8171", "京都府京都市中京区烏丸通御池下る虎屋町566-1", "", "小林", "隆", "", "", ""},
    {"530-0001", "大阪府大阪市北区梅田1-2-2", "", "加藤", "智子", "", "", ""},
    {"650-0021", "兵庫県神戸市中央区三宮町1-10-1", "", "吉田", "拓海", "さくら", "", ""},
    {"700-0901", "岡山県岡山市北区本町6-36", "第一こもれびビル3階", "山田", "修", "", "", ""},
    {"730-0031", "広島県広島市中区紙屋町2-2-2", "", "佐々木", "俊介", "", "", ""},
    {"760-0019", "香川県高松市サンポート2-1", "", "山口", "亮", "千尋", "", ""},
    {"812-0011", "福岡県福岡市博多区博多駅前3-4-8", "グランコート博多B棟1203", "松本", "翔太", "", "", ""},
    {"860-0806", "熊本県熊本市中央区花畑町4-1", "", "井上", "光", "", "", ""},
    {"900-0015", "沖縄県那覇市久茂地1-12-12", "", "木村", "勇気", "結衣", "", ""},
    {"399-4511", "長野県上伊那郡南箕輪村大字南箕輪字北原八千五百四十三番地の一こもれび高原別荘地第三区画", "", "林",
     "清", "", "", ""},
    {"950-0088", "新潟県新潟市中央区万代1-6-1", "", "清水", "健太郎", "", "", ""},
    {"920-0853", "石川県金沢市本町2-15-1", "ポルテ金沢18F", "長谷川", "美和子", "", "", ""},
};

QStringList AddressLines() {
    QStringList lines;
    int n = 0;
    for (const THousehold& h : kHouseholds) {
        QStringList values{QStringLiteral("A%1").arg(++n, 3, 10, QChar('0'))};
        for (const char* v : {h.Postal, h.Address1, h.Address2, h.Family, h.Given, h.Joint1, h.Joint2, h.Honorific})
            values << QString::fromUtf8(v);
        lines << values.join(u',');
    }
    return lines;
}

QStringList FieldLines() {
    QStringList lines;
    for (int i = 0; i < kColumns.size(); ++i)
        lines << QStringLiteral("%1,%2").arg(i).arg(kColumns[i]);
    return lines;
}

// The addressee's name from the list's name columns, shrunk to its box.
void NameBlockOf(TPriField& names) {
    names.Extras.NameBlock = true;
    names.Extras.GivenCategory = cGiven;
    names.Extras.Joint1Category = cJoint1;
    names.Extras.Joint2Category = cJoint2;
    names.Extras.HonorificCategory = cHonorific;
    names.Extras.ShrinkToFit = true;
}

using TStyle = TBasicTextStyle<TTextDefaults{.Size = 14, .Color = kInk, .Long = tlTop}>;

// The address side of a postcard (0.1 mm): the recipient's postal code in the printed boxes,
// the address right of centre, the name block in the centre, the sender at the lower left.
void AddressSide(TTemplateDesign& d) {
    TStyle mincho{.Face = kMincho};
    TStyle vertical = mincho;
    vertical.Vertical = true;
    vertical.KanjiDigits = true;

    TPriField& postal = d.Field({443, 120, 477, 80}, cPostal, kColumns[cPostal], mincho.Sized(14));
    postal.Extras.PostalLayout = TObjectExtras::TPostalLayout::Boxes;

    TPriField& address1 = d.Field({790, 260, 110, 1000}, cAddress1, kColumns[cAddress1], vertical.Sized(16));
    TPriField& address2 = d.Field({680, 400, 110, 860}, cAddress2, kColumns[cAddress2], vertical.Sized(14));
    for (TPriField* a : {&address1, &address2}) {
        a->Extras.HyphenRule = TObjectExtras::THyphenRule::Dash;
        a->Extras.ShrinkToFit = true;
    }

    // The main name on the card's centre line, joint names to its left.
    TStyle name = vertical.Sized(30);
    TPriField& names = d.Field({260, 250, 480, 1030}, cFamily, kColumns[cFamily], name);
    NameBlockOf(names);

    // The sender's block: address and name from the program's settings.
    using TSender = TObjectExtras::TSenderItem;
    const struct {
        QRect Rect;
        TSender Item;
        QString Name;
        int Size;
    } sender[] = {
        {{190, 760, 80, 520}, TSender::Address1, QStringLiteral("差出人住所1"), 10},
        {{130, 820, 70, 460}, TSender::Address2, QStringLiteral("差出人住所2"), 9},
        {{50, 860, 90, 420}, TSender::Name, QStringLiteral("差出人氏名"), 13},
    };
    for (const auto& s : sender) {
        TPriField& f = d.Field(s.Rect, kNoColumn, s.Name, vertical.Sized(s.Size));
        f.Extras.SenderItem = s.Item;
        f.Extras.HyphenRule = TObjectExtras::THyphenRule::Dash;
        f.Extras.ShrinkToFit = true;
    }
    TPriField& senderPostal =
        d.Field({50, 1310, 260, 60}, kNoColumn, QStringLiteral("差出人郵便番号"), mincho.Sized(11));
    senderPostal.Extras.SenderItem = TSender::PostalCode;
    senderPostal.Extras.PostalLayout = TObjectExtras::TPostalLayout::EvenPitch;
    senderPostal.Extras.ShrinkToFit = true; // the item's name while no sender is set

    TPriDocument& doc = d.Doc();
    doc.PrintMode = 3;
    doc.RecordMainFile = QStringLiteral("宛名.CSV");
}

// Address labels of 86.4 × 42.3 mm (0.1 mm): postal code, address, the name with its honorific and
// Japan Post's customer barcode, which a mailing needs for its discount.
void AddressLabels(TTemplateDesign& d) {
    const TStyle gothic{.Face = QStringLiteral("ＭＳ ゴシック"), .Size = 9, .Color = kInk};
    TPriField& postal = d.Field({60, 40, 320, 45}, cPostal, kColumns[cPostal], gothic);
    postal.FieldPStyle().UsePrefix = true;
    postal.FieldPStyle().Prefix = QStringLiteral("〒");
    TPriField& address1 = d.Field({60, 90, 744, 50}, cAddress1, kColumns[cAddress1], gothic.Sized(10));
    TPriField& address2 = d.Field({60, 140, 744, 45}, cAddress2, kColumns[cAddress2], gothic.Sized(9));
    for (TPriField* a : {&address1, &address2})
        a->Extras.ShrinkToFit = true;
    TPriField& names = d.Field({60, 190, 744, 130}, cFamily, kColumns[cFamily],
                               TStyle{.Face = kMincho, .Size = 16}.Aligned(psCenter, tlCenter));
    NameBlockOf(names);
    // 78.4 mm leaves Japan Post's quiet zone at the label's edges and prints at about 10 point.
    TPriField& barcode =
        d.Field({40, 330, 784, 50}, cPostal, QStringLiteral("カスタマバーコード"), gothic.Sized(6), fsBarcode);
    barcode.Extras.BarcodeKind = TBarcodeValue::bkCustomer;
    barcode.Extras.BarcodeAddress1Category = cAddress1;
    barcode.Extras.BarcodeAddress2Category = cAddress2;

    TPriDocument& doc = d.Doc();
    doc.PrintMode = 3;
    doc.RecordMainFile = QStringLiteral("宛名.CSV");
}

// Every sheet of the list drawn as it prints, at the resolution; the first for the thumbnail.
bool DrawCards(const QString& tda, const QString& root, const QString& previewFolder, QString& error) {
    TPriDocument doc(root);
    if (!TTemplateDesign::Done(doc.Load(tda, 0), error)) return false;
    doc.ScaleToPaper();
    TRecordUnit records;
    records.SetFolder(root + "recordfile/");
    doc.RecordUnit = &records;
    // A made-up sender, so the pictures show the block as a user's settings fill it.
    TSenderInfo sender;
    sender.PostalCode = QStringLiteral("1500001");
    sender.Address1 = QStringLiteral("東京都渋谷区神宮前6-12-8");
    sender.Address2 = QStringLiteral("こもれび荘3号室");
    sender.Name = QStringLiteral("木下 陽介");
    doc.ApplySender(sender);
    const auto draw = [&](int dpi, int index) {
        const TPriPaper& p = doc.PrintPaper;
        const QSize pixels(qRound(p.PageWidth() / 254.0 * dpi), qRound(p.PageHeight() / 254.0 * dpi));
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter canvas(&image);
        canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        TPrintPipeline pipeline(doc, TPageExport::DeviceMetrics(pixels, dpi));
        if (!pipeline.RenderSheet(index, canvas)) error = pipeline.Error();
        return image;
    };
    const QImage first = draw(TTemplateDesign::ThumbnailDpi(doc.PrintPaper), 0);
    if (!error.isEmpty()) return false;
    const QString base = QFileInfo(tda).completeBaseName();
    const int seats = std::max(1, doc.PrintPaper.FSeatColumns * doc.PrintPaper.FSeatRows);
    const int sheets = (int(std::size(kHouseholds)) + seats - 1) / seats;
    if (!previewFolder.isEmpty())
        for (int i = 0; i < sheets; ++i)
            draw(150, i).save(previewFolder + QStringLiteral("/%1-%2.png").arg(base).arg(i + 1, 2, 10, QChar('0')));
    return TTemplateDesign::WriteThumbnail(first, tda, error);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    QStringList args = app.arguments().mid(1);
    QString previewFolder;
    if (const qsizetype at = args.indexOf(QStringLiteral("--preview")); at >= 0 && at + 1 < args.size()) {
        previewFolder = args[at + 1];
        args.remove(at, 2);
    }
    const QString root = QDir(args.isEmpty() ? QStringLiteral("data") : args[0]).absolutePath() + "/";
    QString error;
    const QString tda = root + "Template/Hagaki/宛名面.tda";
    const QString labels = root + "Template/A4/宛名ラベル.tda";
    bool ok = QDir().mkpath(root + "recordfile") && QDir().mkpath(root + "fieldfile") &&
              QDir().mkpath(root + "Template/Hagaki") && QDir().mkpath(root + "Template/A4");
    if (!ok) error = "cannot create the folders";
    ok = ok && TTemplateDesign::WriteCp932(root + "recordfile/宛名.CSV", AddressLines(), error) &&
         TTemplateDesign::WriteCp932(root + "fieldfile/宛名.CSV", FieldLines(), error);
    if (ok) {
        TTemplateDesign design(TTemplateDesign::SinglePaper(1000, 1480), root);
        AddressSide(design);
        design.Doc().ScaleToPaper();
        ok = TTemplateDesign::Done(design.Doc().Save(tda, 0), error) && TTemplateDesign::RoundTrips(tda, root, error) &&
             DrawCards(tda, root, previewFolder, error);
    }
    if (ok) {
        TTemplateDesign design(TTemplateDesign::SeatSheet(864, 423, 2, 6, 186, 216), root);
        AddressLabels(design);
        design.Doc().ScaleToPaper();
        ok = TTemplateDesign::Done(design.Doc().Save(labels, 0), error) &&
             TTemplateDesign::RoundTrips(labels, root, error) && DrawCards(labels, root, previewFolder, error);
    }
    if (!ok) {
        std::fprintf(stderr, "make_address_side: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n%s\n", qPrintable(tda), qPrintable(labels));
    return 0;
}
