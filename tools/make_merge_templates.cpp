// Builds the shipped data-merge examples: the record files of the record folder, the
// field-definition files naming their columns, and three templates that print merged with them
// (a business card sheet, a sheet of price labels and a statement with detail rows). Each
// template gets a JPEG thumbnail drawn with the first record merged.
//
//   make_merge_templates [DATA_FOLDER] [--preview FOLDER]      (default: data)
//
// Every name, company, address and number here is made up: telephone numbers use the 555
// exchange, mail addresses the example domains, JAN codes the in-store prefixes 20 to 29.

#include "design/TemplateDesign.h"
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "merge/BarcodeValue.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "merge/RecordFile.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"
#include "print/PageBuilder.h"
#include "print/PageExport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>
#include <cstdio>
#include <functional>
#include <set>

namespace {

const QString kGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kMincho = QStringLiteral("ＭＳ Ｐ明朝");

constexpr TColor kInk = RGBColor(40, 40, 40);
constexpr TColor kSoftInk = RGBColor(105, 105, 105);
constexpr TColor kTeal = RGBColor(22, 104, 110);
constexpr TColor kPale = RGBColor(233, 243, 243);
constexpr TColor kStripe = RGBColor(246, 246, 244);
constexpr TColor kRule = RGBColor(190, 190, 190);
constexpr TColor kRed = RGBColor(200, 40, 40);

// ---------------------------------------------------------------------------------------------
// Record data

struct TPerson {
    const char* Name;
    const char* Kana;
    const char* Company;
    const char* Section;
    const char* Title;
    const char* Postcode;
    const char* Address;
    const char* Building;
    const char* Phone;
    const char* Mail;
};

const TPerson kPeople[] = {
    {"佐藤　美咲", "さとう みさき", "株式会社こもれび商事", "営業部", "課長", "100-0005", "東京都千代田区丸の内9-2-1",
     "こもれびビル 12F", "03-5550-0101", "m.sato@example.co.jp"},
    {"鈴木　健太", "すずき けんた", "青葉ソフトウェア株式会社", "開発本部", "主任", "980-0021",
     "宮城県仙台市青葉区中央8-4-10", "青葉スクエア 7F", "022-555-0102", "k.suzuki@example.com"},
    {"高橋　陽菜", "たかはし ひな", "表参道デザイン室", "デザイン部", "アートディレクター", "150-0001",
     "東京都渋谷区神宮前7-3-2", "", "03-5550-0103", "hina@example.jp"},
    {"田中　大輔", "たなか だいすけ", "有限会社みなと印刷", "製版課", "課長", "231-0023", "神奈川県横浜市中区山下町9-1",
     "みなと第二ビル 3F", "045-555-0104", "d.tanaka@example.net"},
    {"伊藤　さくら", "いとう さくら", "さくら造園株式会社", "設計室", "", "604-8005", "京都府京都市中京区恵比須町8-12",
     "", "075-555-0105", "sakura.ito@example.org"},
    {"渡辺　翔", "わたなべ しょう", "株式会社北斗精機", "品質保証部", "部長", "060-0042", "北海道札幌市中央区大通西9-8",
     "北斗ビル 5F", "011-555-0106", "s.watanabe@example.co.jp"},
    {"山本　結衣", "やまもと ゆい", "株式会社あおぞら旅行", "法人営業課", "", "530-0001", "大阪府大阪市北区梅田9-1-3",
     "あおぞらタワー 21F", "06-5550-0107", "y.yamamoto@example.com"},
    {"中村　拓海", "なかむら たくみ", "合同会社ひだまり食堂", "", "代表", "810-0001", "福岡県福岡市中央区天神8-5-7", "",
     "092-555-0108", "takumi@example.jp"},
    {"小林　美月", "こばやし みづき", "株式会社つばさ物流", "東日本センター", "センター長", "330-0854",
     "埼玉県さいたま市大宮区桜木町9-7", "", "048-555-0109", "m.kobayashi@example.net"},
    {"加藤　亮", "かとう りょう", "若葉税理士事務所", "", "税理士", "460-0008", "愛知県名古屋市中区栄9-3-15",
     "若葉ビル 4F", "052-555-0110", "r.kato@example.org"},
    {"吉田　彩花", "よしだ あやか", "株式会社こもれび商事", "総務部", "", "100-0005", "東京都千代田区丸の内9-2-1",
     "こもれびビル 12F", "03-5550-0111", "a.yoshida@example.co.jp"},
    {"山田　蓮", "やまだ れん", "青葉ソフトウェア株式会社", "営業部", "マネージャー", "980-0021",
     "宮城県仙台市青葉区中央8-4-10", "青葉スクエア 7F", "022-555-0112", "r.yamada@example.com"},
    {"佐々木　葵", "ささき あおい", "表参道デザイン室", "広報", "", "150-0001", "東京都渋谷区神宮前7-3-2", "",
     "03-5550-0113", "aoi@example.jp"},
    {"山口　悠斗", "やまぐち ゆうと", "株式会社北斗精機", "技術開発部", "主任研究員", "060-0042",
     "北海道札幌市中央区大通西9-8", "北斗ビル 5F", "011-555-0114", "y.yamaguchi@example.co.jp"},
    {"松本　真央", "まつもと まお", "株式会社あおぞら旅行", "企画部", "課長代理", "530-0001",
     "大阪府大阪市北区梅田9-1-3", "あおぞらタワー 21F", "06-5550-0115", "m.matsumoto@example.com"},
    {"井上　大和", "いのうえ やまと", "有限会社みなと印刷", "営業課", "", "231-0023", "神奈川県横浜市中区山下町9-1",
     "みなと第二ビル 3F", "045-555-0116", "y.inoue@example.net"},
    {"木村　心春", "きむら こはる", "さくら造園株式会社", "施工管理部", "係長", "604-8005",
     "京都府京都市中京区恵比須町8-12", "", "075-555-0117", "k.kimura@example.org"},
    {"林　颯太", "はやし そうた", "株式会社つばさ物流", "配送企画課", "", "330-0854", "埼玉県さいたま市大宮区桜木町9-7",
     "", "048-555-0118", "s.hayashi@example.net"},
    {"斎藤　芽依", "さいとう めい", "能登まちづくり協議会", "事務局", "事務局長", "927-0433",
     "石川県鳳珠郡能登町宇出津9-1", "", "0768-55-5119", "mei@example.jp"},
    {"清水　湊", "しみず みなと", "株式会社しおかぜ水産", "販売部", "部長", "850-0862", "長崎県長崎市出島町9-11", "",
     "095-555-0120", "m.shimizu@example.co.jp"},
    {"山崎　凛", "やまざき りん", "合同会社ひだまり食堂", "", "店長", "810-0001", "福岡県福岡市中央区天神8-5-7", "",
     "092-555-0121", "rin@example.jp"},
    {"森　一輝", "もり かずき", "森林ソリューション株式会社", "環境事業部", "課長", "380-0823",
     "長野県長野市南千歳9-6-2", "千歳センタービル 2F", "026-555-0122", "k.mori@example.com"},
    {"池田　琴音", "いけだ ことね", "株式会社こもれび商事", "経理部", "主任", "100-0005", "東京都千代田区丸の内9-2-1",
     "こもれびビル 12F", "03-5550-0123", "k.ikeda@example.co.jp"},
    {"橋本　陸", "はしもと りく", "株式会社北斗精機", "営業部", "", "060-0042", "北海道札幌市中央区大通西9-8",
     "北斗ビル 5F", "011-555-0124", "r.hashimoto@example.co.jp"},
    {"阿部　千尋", "あべ ちひろ", "若葉税理士事務所", "", "所長", "460-0008", "愛知県名古屋市中区栄9-3-15",
     "若葉ビル 4F", "052-555-0125", "c.abe@example.org"},
    {"石川　湊斗", "いしかわ みなと", "青葉ソフトウェア株式会社", "サポート部", "", "980-0021",
     "宮城県仙台市青葉区中央8-4-10", "青葉スクエア 7F", "022-555-0126", "m.ishikawa@example.com"},
    {"山下　紬", "やました つむぎ", "株式会社しおかぜ水産", "品質管理課", "", "850-0862", "長崎県長崎市出島町9-11", "",
     "095-555-0127", "t.yamashita@example.co.jp"},
    {"中島　悠真", "なかじま ゆうま", "表参道デザイン室", "デザイン部", "デザイナー", "150-0001",
     "東京都渋谷区神宮前7-3-2", "", "03-5550-0128", "yuma@example.jp"},
    {"石井　美桜", "いしい みお", "森林ソリューション株式会社", "総務課", "", "380-0823", "長野県長野市南千歳9-6-2",
     "千歳センタービル 2F", "026-555-0129", "m.ishii@example.com"},
    {"小川　蒼", "おがわ あお", "株式会社あおぞら旅行", "カスタマーサービス", "", "530-0001",
     "大阪府大阪市北区梅田9-1-3", "あおぞらタワー 21F", "06-5550-0130", "a.ogawa@example.com"},
};

struct TProduct {
    const char* Name;
    const char* Variant;
    int Price; // without tax
    const char* Unit;
};

// Names may hold commas: the record file escapes them with a backslash.
const TProduct kProducts[] = {
    {"ボールペン 0.5mm, 黒", "油性 / ノック式", 120, "本"},
    {"ボールペン 0.5mm, 赤", "油性 / ノック式", 120, "本"},
    {"シャープペンシル", "0.5mm / 木軸", 880, "本"},
    {"ノート A5", "6mm罫 / 40枚", 180, "冊"},
    {"ノート B5", "7mm罫 / 30枚", 150, "冊"},
    {"方眼ノート A4", "5mm方眼 / 80枚", 420, "冊"},
    {"付箋 75×75mm", "パステル4色 / 各90枚", 360, "個"},
    {"クリアファイル A4", "10枚入り", 280, "パック"},
    {"封筒 長形3号, 白", "100枚入り", 650, "箱"},
    {"ホッチキス針 10号", "1000本入り", 110, "箱"},
    {"消しゴム", "プラスチック / 大", 100, "個"},
    {"修正テープ", "5mm×6m", 330, "個"},
    {"ダブルクリップ 中", "10個入り", 240, "箱"},
    {"蛍光ペン 5色セット", "水性 / 細字・太字", 550, "セット"},
    {"万年筆", "細字 / 木漏れ日色", 3800, "本"},
    {"一筆箋", "和紙 / 30枚", 330, "冊"},
    {"レターセット", "便箋10枚・封筒5枚", 480, "セット"},
    {"卓上カレンダー", "2028年版", 900, "個"},
    {"手帳 A6", "2028年版 / 週間", 1500, "冊"},
    {"デスクトレー", "A4 / 2段", 1280, "個"},
};

struct TStatementDef {
    int Customer; // index into kPeople
    const char* Subject;
    std::vector<std::pair<int, int>> Lines; // product, quantity
};

const TStatementDef kStatements[] = {
    {0, "4月分 事務用品", {{0, 50}, {1, 20}, {3, 30}, {6, 12}, {8, 4}, {9, 10}, {12, 6}, {19, 2}}},
    {1, "4月分 事務用品", {{5, 24}, {2, 10}, {11, 15}, {13, 8}}},
    {2, "4月分 デザイン室備品", {{14, 2}, {15, 10}, {16, 5}, {6, 6}, {5, 12}}},
    {5,
     "4月分 事務用品（2事業所分）",
     {{0, 100},
      {1, 40},
      {2, 20},
      {3, 60},
      {4, 60},
      {5, 20},
      {6, 24},
      {7, 30},
      {8, 10},
      {9, 20},
      {10, 30},
      {11, 20},
      {12, 15},
      {13, 10},
      {17, 25},
      {18, 12},
      {19, 6},
      {16, 4}}},
    {6, "4月分 販促用品", {{17, 100}, {16, 20}, {8, 6}}},
    {9, "4月分 事務所用品", {{18, 3}, {7, 5}, {10, 10}, {0, 12}, {4, 6}, {12, 2}}},
};

constexpr int kTaxPercent = 10;

// The modulo 10 check digit of JAN codes, weights 3 and 1 from the right.
int JanCheckDigit(const QString& twelve) {
    int sum = 0;
    for (int i = 0; i < twelve.size(); ++i)
        sum += (twelve.at(twelve.size() - 1 - i).digitValue()) * (i % 2 == 0 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

QString Jan(const QString& twelve) {
    return twelve + QString::number(JanCheckDigit(twelve));
}

// A barcode field's value: data, symbology 1 (EAN-13), no check digit added, text shown.
QString Ean13Value(const QString& jan) {
    return jan + QStringLiteral(" 1 0 1");
}

QString MemberJan(int i) {
    return Jan(QStringLiteral("2900000%1").arg(i + 1, 5, 10, QChar('0')));
}
QString ProductJan(int i) {
    return Jan(QStringLiteral("2031000%1").arg(101 + i, 5, 10, QChar('0')));
}
QString ProductCode(int i) {
    return QStringLiteral("S%1").arg(i + 1, 3, 10, QChar('0'));
}
int TaxIncluded(int price) {
    return price * (100 + kTaxPercent) / 100;
}

// One line of a record file: separators inside a value are escaped with a backslash.
QString RecordLine(const QStringList& values, QChar separator) {
    QStringList escaped;
    for (QString v : values)
        escaped << v.replace(separator, QString(QChar(u'\\')) + separator);
    return escaped.join(separator);
}

struct TTextFile {
    QString Name;
    QStringList Lines;
};

std::vector<TTextFile> RecordFiles() {
    TTextFile people{QStringLiteral("住所録.CSV"), {}};
    for (int i = 0; i < int(std::size(kPeople)); ++i) {
        const TPerson& p = kPeople[i];
        people.Lines << RecordLine({QStringLiteral("K%1").arg(i + 1, 3, 10, QChar('0')), p.Name, p.Kana, p.Company,
                                    p.Section, p.Title, p.Postcode, p.Address, p.Building, p.Phone, p.Mail,
                                    MemberJan(i), Ean13Value(MemberJan(i)),
                                    QStringLiteral("https://example.jp/meishi/K%1").arg(i + 1, 3, 10, QChar('0'))},
                                   u',');
    }
    TTextFile products{QStringLiteral("商品一覧.CSV"), {}};
    for (int i = 0; i < int(std::size(kProducts)); ++i) {
        const TProduct& p = kProducts[i];
        products.Lines << RecordLine({ProductCode(i), p.Name, p.Variant, QString::number(p.Price),
                                      QString::number(TaxIncluded(p.Price)), ProductJan(i), Ean13Value(ProductJan(i)),
                                      p.Unit},
                                     u',');
    }
    TTextFile heads{QStringLiteral("明細書.CSV"), {}};
    TTextFile lines{QStringLiteral("明細行.TAB"), {}};
    for (int s = 0; s < int(std::size(kStatements)); ++s) {
        const TStatementDef& def = kStatements[s];
        const TPerson& p = kPeople[def.Customer];
        const QString number = QStringLiteral("2027-04%1").arg(s + 1, 2, 10, QChar('0'));
        int subtotal = 0;
        for (int k = 0; k < int(def.Lines.size()); ++k) {
            const auto [product, quantity] = def.Lines[size_t(k)];
            const TProduct& item = kProducts[product];
            const int amount = item.Price * quantity;
            subtotal += amount;
            // Delivery days rise through the month.
            const int day = 1 + s + k * (28 - s) / int(def.Lines.size());
            lines.Lines << RecordLine({number, QStringLiteral("4/%1").arg(day), ProductCode(product), item.Name,
                                       QString::number(quantity), item.Unit, QString::number(item.Price),
                                       QString::number(amount)},
                                      u'\t');
        }
        const int tax = subtotal * kTaxPercent / 100;
        heads.Lines << RecordLine(
            {number, QStringLiteral("2027年4月30日"), QStringLiteral("K%1").arg(def.Customer + 1, 3, 10, QChar('0')),
             p.Postcode, p.Address, p.Building, p.Company, p.Section, p.Name, def.Subject, QString::number(subtotal),
             QString::number(tax), QString::number(subtotal + tax), QStringLiteral("2027年5月31日")},
            u',');
    }
    return {people, products, heads, lines};
}

// Column names, one "number,name" line each, for the category chooser.
std::vector<TTextFile> FieldFiles() {
    auto numbered = [](const QString& name, const QStringList& columns) {
        TTextFile f{name, {}};
        for (int i = 0; i < columns.size(); ++i)
            f.Lines << QStringLiteral("%1,%2").arg(i).arg(columns[i]);
        return f;
    };
    return {
        numbered("住所録.CSV", {"顧客コード", "氏名", "ふりがな", "会社名", "部署", "役職", "郵便番号", "住所", "建物",
                                "電話番号", "メール", "社員コード", "社員コード（バーコード）", "URL"}),
        numbered("商品一覧.CSV", {"商品コード", "品名", "規格", "本体価格", "税込価格", "JANコード",
                                  "JANコード（バーコード）", "単位"}),
        numbered("明細書.CSV", {"伝票番号", "発行日", "顧客コード", "郵便番号", "住所", "建物", "会社名", "部署",
                                "氏名", "件名", "小計", "消費税", "合計", "お支払期限"}),
        numbered("明細行.CSV", {"伝票番号", "日付", "商品コード", "品名", "数量", "単位", "単価", "金額"}),
    };
}

// ---------------------------------------------------------------------------------------------
// Designs

using TTextStyle = TBasicTextStyle<TTextDefaults{.Size = 9, .Color = kInk, .Long = tlCenter}>;

class TDesign : public TTemplateDesign {
public:
    using TTemplateDesign::TTemplateDesign;

    // Not deduced, so that a design can pass its style as a braced list.
    TPriLabel& Text(QRect r, const QString& text, const TTextStyle& st) { return TTemplateDesign::Text(r, text, st); }

    // Plain boxes are what these designs draw.
    TPriShape& Box(QRect r, TColor fill, TColor pen = clNone, int penWidth = 1) {
        return TTemplateDesign::Box(r, TBltShape::RectAngle, fill, pen, penWidth);
    }

    // Not deduced, so that a design can pass its style as a braced list.
    TPriField& Field(QRect r, int column, const QString& name, const TTextStyle& st) {
        return TTemplateDesign::Field(r, column, name, st);
    }

    // An EAN-13 from a column that holds "digits 1 0 1"; the rectangle keeps the symbol's
    // proportions (391 × 304 at 300 dpi) so that the bars are not distorted.
    TPriField& Barcode(QRect r, int column, const QString& name) {
        TPriField& field = Field(r, column, name, TTextStyle{}.Sized(6));
        field.FieldState = fsBarcode;
        return field;
    }

    // "現在レコード数" or "対象レコード数": the page counters of a record.
    TPriField& Counter(QRect r, const QString& name, const TTextStyle& st) { return Field(r, 9999, name, st); }

    // Rows of height rowHeight from the top of r; the objects placed in its first row after
    // it repeat once per detail row.
    TPriPortal& Portal(QRect r, int rows, const QString& dataname, TColor pen) {
        auto portal = std::make_unique<TPriPortal>();
        portal->SetRows(rows);
        portal->Dataname = dataname;
        portal->Pen.Color = pen;
        portal->Pen.Style = psSolid;
        portal->SamePSize = 1;
        portal->Brush.Style = bsClear;
        return Append(std::move(portal), r);
    }
};

TPriPaper A4() {
    return TTemplateDesign::SinglePaper(2100, 2970);
}

// Business cards 91 × 55 mm: one card per address, the employee code as a barcode.
void MeishiCards(TDesign& d) {
    TPriDocument& doc = d.Doc();
    doc.PrintMode = 3;
    doc.RecordMainFile = QStringLiteral("住所録.CSV");
    d.Box(QRect(0, 0, 30, 550), kTeal);
    const TTextStyle small{.Face = kGothic, .Size = 6, .Color = kSoftInk};
    d.Field(QRect(80, 50, 760, 60), 3, "会社名", {.Face = kGothic, .Size = 8, .Color = kTeal, .Bold = true});
    d.Field(QRect(80, 120, 215, 40), 4, "部署", small);
    d.Field(QRect(300, 120, 300, 40), 5, "役職", small);
    d.Field(QRect(80, 190, 560, 100), 1, "氏名", {.Face = kMincho, .Size = 18, .Color = kInk, .Long = tlBottom});
    d.Field(QRect(80, 295, 560, 40), 2, "ふりがな", small.Sized(5));
    d.Line(QPoint(80, 365), QPoint(590, 365), kRule);
    const TTextStyle contact = small.Colored(kInk);
    TPriField& postcode = d.Field(QRect(80, 390, 140, 32), 6, "郵便番号", contact);
    postcode.FieldPStyle().UsePrefix = true;
    postcode.FieldPStyle().Prefix = QStringLiteral("〒");
    d.Field(QRect(225, 390, 375, 32), 7, "住所", contact);
    d.Field(QRect(225, 422, 375, 32), 8, "建物", contact);
    TPriField& phone = d.Field(QRect(80, 460, 515, 32), 9, "電話番号", contact);
    phone.FieldPStyle().UsePrefix = true;
    phone.FieldPStyle().Prefix = QStringLiteral("TEL ");
    d.Field(QRect(80, 492, 515, 32), 10, "メール", contact);
    d.Barcode(QRect(605, 300, 290, 225), 12, "社員コード");
    // The card's web page as a QR Code: the column holds the address alone.
    TPriField& qr = d.Field(QRect(690, 115, 190, 180), 13, "URL", small);
    qr.FieldState = fsBarcode;
    qr.Extras.BarcodeKind = TBarcodeValue::bkQr;
}

// Price labels 86.4 × 42.3 mm, twelve to an A4 sheet: one label per product.
void PriceLabels(TDesign& d) {
    TPriDocument& doc = d.Doc();
    doc.PrintMode = 3;
    doc.RecordMainFile = QStringLiteral("商品一覧.CSV");
    d.Field(QRect(50, 45, 495, 70), 1, "品名", {.Face = kGothic, .Size = 10, .Color = kInk, .Bold = true});
    d.Field(QRect(50, 120, 495, 40), 2, "規格", {.Face = kGothic, .Size = 6, .Color = kSoftInk});
    TPriField& price =
        d.Field(QRect(50, 215, 380, 120), 4, "税込価格",
                {.Face = kGothic, .Size = 26, .Color = kRed, .Bold = true, .Side = psRight, .Long = tlBottom});
    price.FieldPStyle().GroupDigits = true;
    d.Text(QRect(435, 292, 100, 50), "円",
           {.Face = kGothic, .Size = 11, .Color = kRed, .Bold = true, .Long = tlBottom});
    d.Text(QRect(435, 240, 100, 40), "税込", {.Face = kGothic, .Size = 6, .Color = kRed, .Long = tlBottom});
    TPriField& net = d.Field(QRect(50, 345, 485, 36), 3, "本体価格",
                             {.Face = kGothic, .Size = 6, .Color = kSoftInk, .Side = psRight});
    net.FieldPStyle().GroupDigits = true;
    net.FieldPStyle().UsePrefix = true;
    net.FieldPStyle().Prefix = QStringLiteral("本体価格 ");
    net.FieldPStyle().UseSuffix = true;
    net.FieldPStyle().Suffix = QStringLiteral("円");
    d.Line(QPoint(555, 55), QPoint(555, 370), kRule);
    d.Barcode(QRect(570, 70, 280, 218), 6, "JANコード");
    TPriField& code = d.Field(QRect(570, 300, 280, 36), 0, "商品コード",
                              {.Face = kGothic, .Size = 6, .Color = kSoftInk, .Side = psCenter});
    code.FieldPStyle().UsePrefix = true;
    code.FieldPStyle().Prefix = QStringLiteral("品番 ");
}

// An A4 statement: the head from the main file, fifteen detail rows per page from the detail
// file, the totals only on a record's last page.
constexpr int kStatementRows = 15;
constexpr int kStatementRowHeight = 80;
constexpr int kTableTop = 1150;

void Statement(TDesign& d) {
    TPriDocument& doc = d.Doc();
    doc.PrintMode = 1;
    doc.RecordMainFile = QStringLiteral("明細書.CSV");
    doc.RecordMeisaiFile = QStringLiteral("明細行.TAB");
    const TTextStyle body{.Face = kGothic, .Size = 9, .Color = kInk};
    const TTextStyle label = body.Sized(8).Colored(kSoftInk);

    d.Text(QRect(150, 130, 1800, 130), "明　細　書",
           {.Face = kMincho, .Size = 24, .Color = kInk, .Side = psCenter, .CharSpace = 2});
    d.Line(QPoint(760, 270), QPoint(1340, 270), kTeal, 2);

    d.Text(QRect(1400, 320, 200, 45), "伝票番号", label);
    d.Field(QRect(1600, 320, 350, 45), 0, "伝票番号", body.Aligned(psRight));
    d.Text(QRect(1400, 370, 200, 45), "発行日", label);
    d.Field(QRect(1600, 370, 350, 45), 1, "発行日", body.Aligned(psRight));

    TPriField& postcode = d.Field(QRect(150, 330, 600, 45), 3, "郵便番号", body);
    postcode.FieldPStyle().UsePrefix = true;
    postcode.FieldPStyle().Prefix = QStringLiteral("〒");
    d.Field(QRect(150, 380, 950, 45), 4, "住所", body);
    d.Field(QRect(150, 425, 950, 45), 5, "建物", body);
    d.Field(QRect(150, 500, 950, 65), 6, "会社名", body.Sized(12));
    d.Field(QRect(150, 565, 950, 45), 7, "部署", body);
    TPriField& name = d.Field(QRect(150, 615, 900, 75), 8, "氏名", body.Sized(14).Aligned(psLeft, tlBottom));
    name.FieldPStyle().UseSuffix = true;
    name.FieldPStyle().Suffix = QStringLiteral("　様");
    d.Line(QPoint(150, 700), QPoint(1050, 700), kInk);

    // The issuer, with a square seal.
    d.Text(QRect(1400, 470, 550, 60), "こもれび文具株式会社", body.Sized(11).Colored(kTeal));
    d.Text(QRect(1400, 535, 550, 170), "〒150-0001\r\n東京都渋谷区神宮前9-8-7\r\nTEL 03-5550-0100\r\n担当　営業部 木村",
           body.Sized(7));
    d.Box(QRect(1790, 545, 150, 150), clNone, kRed, 2);
    d.Text(QRect(1795, 550, 140, 140), "こもれび\r\n文具之印",
           {.Face = kMincho, .Size = 9, .Color = kRed, .Side = psCenter, .Long = tlCenter});

    d.Text(QRect(150, 760, 1800, 45),
           "毎度格別のお引き立てを賜り、厚く御礼申し上げます。下記のとおりお取引の明細をお知らせいたします。", body);
    d.Text(QRect(150, 830, 130, 45), "件名", label);
    d.Field(QRect(280, 830, 1100, 45), 9, "件名", body);

    // The amount due, shown on the last page of a statement.
    d.Box(QRect(150, 900, 1100, 130), kPale);
    d.Text(QRect(190, 935, 420, 60), "ご請求金額（税込）", body.Sized(11).Colored(kTeal));
    TPriField& due = d.Field(QRect(620, 915, 600, 100), 12, "合計", body.Sized(20).Aligned(psRight, tlCenter));
    due.Font.setBold(true);
    due.FieldPStyle().GroupDigits = true;
    due.FieldPStyle().UsePrefix = true;
    due.FieldPStyle().Prefix = QStringLiteral("￥");
    due.FieldPStyle().UseSuffix = true;
    due.FieldPStyle().Suffix = QStringLiteral("-");
    due.FieldPStyle().MaskMode = 2;
    due.FieldPStyle().MaskText = QStringLiteral("次頁に記載");
    d.Text(QRect(1300, 925, 300, 45), "お支払期限", label);
    d.Field(QRect(1300, 970, 650, 45), 13, "お支払期限", body);

    // The table: a header row, stripes on every other row, the portal and its first row.
    struct TColumn {
        int Left, Width, Category;
        const char* Title;
        TSidePos Side;
        bool Money;
    };
    const TColumn columns[] = {{150, 170, 1, "日付", psCenter, false}, {320, 830, 3, "品名", psLeft, false},
                               {1150, 170, 4, "数量", psRight, false}, {1320, 130, 5, "単位", psCenter, false},
                               {1450, 230, 6, "単価", psRight, true},  {1680, 270, 7, "金額", psRight, true}};
    d.Box(QRect(150, kTableTop - 70, 1800, 70), kTeal);
    for (const TColumn& c : columns)
        d.Text(QRect(c.Left, kTableTop - 70, c.Width, 70), c.Title, body.Colored(clWhite).Aligned(psCenter));
    for (int k = 1; k < kStatementRows; k += 2)
        d.Box(QRect(150, kTableTop + k * kStatementRowHeight, 1800, kStatementRowHeight), kStripe);
    for (int i = 1; i < int(std::size(columns)); ++i)
        d.Line(QPoint(columns[i].Left, kTableTop),
               QPoint(columns[i].Left, kTableTop + kStatementRows * kStatementRowHeight), kRule);
    d.Portal(QRect(150, kTableTop, 1800, kStatementRows * kStatementRowHeight), kStatementRows, "明細行.CSV",
             RGBColor(214, 214, 214));
    for (const TColumn& c : columns) {
        TPriField& f = d.Field(QRect(c.Left + 20, kTableTop + 12, c.Width - 40, kStatementRowHeight - 24), c.Category,
                               c.Title, body.Aligned(c.Side));
        f.FieldPStyle().GroupDigits = c.Money;
    }

    // Totals under the table, on the last page only.
    const int totalsTop = kTableTop + kStatementRows * kStatementRowHeight + 30;
    const char* totalNames[] = {"小計", "消費税（10%）", "合計"};
    for (int i = 0; i < 3; ++i) {
        const int y = totalsTop + i * 75;
        if (i == 2) d.Box(QRect(1320, y, 630, 75), kPale);
        d.Text(QRect(1340, y, 330, 75), totalNames[i], i == 2 ? body.Colored(kTeal) : body);
        TPriField& v = d.Field(QRect(1680, y + 12, 250, 51), 10 + i, totalNames[i], body.Aligned(psRight));
        v.FieldPStyle().GroupDigits = true;
        v.FieldPStyle().MaskMode = 2;
        v.FieldPStyle().MaskText = QStringLiteral("次頁に記載");
        d.Line(QPoint(1320, y + 75), QPoint(1950, y + 75), kRule);
    }
    d.Box(QRect(150, totalsTop, 1100, 225), clNone, kRule);
    d.Text(QRect(180, totalsTop + 15, 300, 45), "備考", label);
    d.Text(QRect(180, totalsTop + 65, 1050, 150),
           "お振込手数料は貴社にてご負担くださいますようお願い申し上げます。\r\n"
           "お振込先　こもれび銀行 本店営業部 普通 0000000 コモレビブング（カ",
           body.Sized(8));

    // Page counters of the record: "1 / 2".
    d.Counter(QRect(880, 2800, 150, 45), TPriField::kCurrentRecordName, label.Aligned(psRight));
    d.Text(QRect(1030, 2800, 40, 45), "/", label.Aligned(psCenter));
    d.Counter(QRect(1070, 2800, 150, 45), TPriField::kTotalRecordName, label.Aligned(psLeft));
}

// ---------------------------------------------------------------------------------------------
// Thumbnails with the first record merged

// The value a field shows for record i (row k of it).
QString ValueFor(const TRecordFile* file, int index, int row, const TPriField& field) {
    return file ? file->ValueAt(index, row, field.CategoryNum) : QString();
}

// Draws one seat with main record index merged, the detail rows of its key in the portal's rows.
QImage MergedSeat(TPriDocument& doc, int dpi, const TRecordFile* main, const TRecordFile* detail, int index) {
    const TPriPaper& p = doc.PrintPaper;
    const QSize pixels(Trunc(p.PageWidth() / 254.0 * dpi), Trunc(p.PageHeight() / 254.0 * dpi));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    canvas.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    const TPrinterMetrics m = TPageExport::DeviceMetrics(pixels, dpi);
    TPageBuilder builder(doc, m);
    builder.DrawBackground(canvas, QPoint(0, 0));
    const int detailIndex = detail && main ? detail->IndexOfKey(main->KeyAt(index)) : -1;
    std::set<const TPriBase*> drawn;
    auto draw = [&](TPriBase& obj, QRect r) {
        canvas.save();
        obj.PrintDraw(canvas, r, p.IsSingleSeat(), QPoint(0, 0), TRect(), QRect(QPoint(0, 0), pixels));
        canvas.restore();
    };
    auto rectOf = [&](const TPriBase& obj) {
        QRect r;
        obj.GetPrintRect(p.IsSingleSeat(), QPoint(dpi, dpi), r, m.OffsetYMM, m.OffsetXMM);
        return r;
    };
    const auto& objects = doc.Objects();
    for (size_t i = 0; i < objects.size(); ++i) {
        TPriBase& obj = *objects[i];
        if (!obj.PrintCheck || obj.UndoCheck || drawn.count(&obj)) continue;
        if (auto* field = dynamic_cast<TPriField*>(&obj)) field->SetRecordText(ValueFor(main, index, 0, *field), 1, 1);
        draw(obj, rectOf(obj));
        auto* portal = dynamic_cast<TPriPortal*>(&obj);
        if (!portal) continue;
        QRect band = rectOf(*portal);
        const int h = band.height() / portal->Rows;
        band.setHeight(h);
        for (size_t j = i + 1; j < objects.size(); ++j) {
            TPriBase& x = *objects[j];
            const QRect r = rectOf(x);
            if (!x.PrintCheck || x.UndoCheck || r.left() < band.left() || r.right() >= band.right() ||
                r.top() < band.top() || r.bottom() >= band.bottom())
                continue;
            for (int k = 0; k < portal->Rows; ++k) {
                if (auto* field = dynamic_cast<TPriField*>(&x))
                    field->SetRecordText(ValueFor(detail, detailIndex, k, *field), 1, 1);
                draw(x, r.translated(0, k * h));
            }
            drawn.insert(&x);
        }
    }
    return image;
}

// With a preview folder, also the first and last record as PNG pictures at 200 dpi to look at.
QString gPreviewFolder;

bool MakeThumbnail(const QString& tda, const QString& appPath, QString& error) {
    TPriDocument doc(appPath);
    if (!TTemplateDesign::Done(doc.Load(tda, 0), error)) return false;
    doc.ScaleToPaper();
    TRecordFile main, detail;
    if (!main.LoadFromFile(appPath + "recordfile/" + doc.RecordMainFile)) {
        error = main.LastError();
        return false;
    }
    const bool withDetail = !doc.RecordMeisaiFile.isEmpty();
    if (withDetail && !detail.LoadFromFile(appPath + "recordfile/" + doc.RecordMeisaiFile)) {
        error = detail.LastError();
        return false;
    }
    const QImage page =
        MergedSeat(doc, TTemplateDesign::ThumbnailDpi(doc.PrintPaper), &main, withDetail ? &detail : nullptr, 0);
    if (!gPreviewFolder.isEmpty())
        for (int index : {0, main.Count() - 1})
            MergedSeat(doc, 200, &main, withDetail ? &detail : nullptr, index)
                .save(gPreviewFolder + "/" + QFileInfo(tda).completeBaseName() + "-" + QString::number(index) + ".png");
    return TTemplateDesign::WriteThumbnail(page, tda, error);
}

struct TTemplateDef {
    QString Folder;
    QString Name;
    std::function<TPriPaper()> Paper;
    std::function<void(TDesign&)> Build;
};

const std::vector<TTemplateDef>& Templates() {
    static const std::vector<TTemplateDef> defs = {
        {"Meishi", "差し込み名刺", [] { return TTemplateDesign::SeatSheet(910, 550, 2, 5, 140, 110); }, MeishiCards},
        {"A4", "価格ラベル", [] { return TTemplateDesign::SeatSheet(864, 423, 2, 6, 186, 216); }, PriceLabels},
        {"A4", "明細書", [] { return A4(); }, Statement},
    };
    return defs;
}

bool MakeTemplate(const TTemplateDef& def, const QString& root, QString& error) {
    TDesign design(def.Paper(), root);
    def.Build(design);
    TPriDocument& doc = design.Doc();
    doc.ScaleToPaper();
    const QString path = root + "Template/" + def.Folder + "/" + def.Name + ".tda";
    if (!TTemplateDesign::Done(doc.Save(path, 0), error)) return false;
    // Loading and saving again must give the same bytes, as for every shipped template.
    if (!TTemplateDesign::RoundTrips(path, root, error)) return false;
    return MakeThumbnail(path, root, error);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    QStringList args = app.arguments().mid(1);
    if (const qsizetype at = args.indexOf(QStringLiteral("--preview")); at >= 0 && at + 1 < args.size()) {
        gPreviewFolder = args[at + 1];
        args.remove(at, 2);
    }
    const QString root = QDir(args.isEmpty() ? QStringLiteral("data") : args[0]).absolutePath() + "/";
    int failures = 0;
    auto report = [&](bool ok, const QString& name, const QString& error) {
        if (ok) {
            std::printf("%s\n", qPrintable(name));
        } else {
            std::fprintf(stderr, "make_merge_templates: %s: %s\n", qPrintable(name), qPrintable(error));
            ++failures;
        }
    };
    for (const char* folder : {"recordfile", "fieldfile", "Template/A4", "Template/Meishi"})
        if (!QDir().mkpath(root + folder)) report(false, root + folder, "cannot create the folder");
    for (const TTextFile& f : RecordFiles()) {
        QString error;
        report(TTemplateDesign::WriteCp932(root + "recordfile/" + f.Name, f.Lines, error), "recordfile/" + f.Name,
               error);
    }
    for (const TTextFile& f : FieldFiles()) {
        QString error;
        report(TTemplateDesign::WriteCp932(root + "fieldfile/" + f.Name, f.Lines, error), "fieldfile/" + f.Name, error);
    }
    for (const TTemplateDef& def : Templates()) {
        QString error;
        report(MakeTemplate(def, root, error), def.Folder + "/" + def.Name + ".tda", error);
    }
    return failures == 0 ? 0 : 1;
}
