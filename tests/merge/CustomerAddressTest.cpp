#include "merge/CustomerAddress.h"

#include "merge/ZintSymbol.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace {

// The bar table of 「郵便番号・バーコードマニュアル」 (https://www.post.japanpost.jp/zipcode/zipmanual/index.html):
// bars 1 long, 2 upper half, 3 lower half, 4 timing; a to h stand for the control codes CC1 to CC8.
const std::string kChars = "1234567890-abcdefgh";
const std::string kBars = "114 132 312 123 141 321 213 231 411 144 414 324 342 234 432 243 423 441 111";

// The bars left to right, each by the ends of the symbol's height it reaches.
std::string BarKinds(const TZintSymbol& symbol) {
    std::vector<QRectF> bars = symbol.Bars();
    std::sort(bars.begin(), bars.end(), [](const QRectF& a, const QRectF& b) { return a.x() < b.x(); });
    const QRectF all = std::accumulate(bars.begin(), bars.end(), QRectF(), std::bit_or<QRectF>());
    std::string out;
    for (const QRectF& r : bars)
        out += "4321"[(r.top() < all.top() + 0.01) * 2 + (r.bottom() > all.bottom() - 0.01)];
    return out;
}

} // namespace

TEST(CustomerAddressTest, JapanPostExamplesAndTheirBars) {
    // Address, display number, and where shown the barcode's places between start and stop codes.
    const char* const cases[][3] = {
        // 「郵便番号・バーコードマニュアル」 付番事例, https://www.post.japanpost.jp/zipcode/zipmanual/p25.html
        {"千葉市稲毛区緑町3丁目30-8　郵便ビル403号", "3-30-8-403", "26300233-30-8-403ddd5"},
        {"秋田県大仙市堀見内　南田茂木　添60-1", "60-1", "014011360-1dddddddddh"},
        {"東京都台東区台東5-6-3　ABCビル10F", "5-6-3-10", "11000165-6-3-10ddddd9"},
        {"北海道札幌市東区北六条東4丁目　郵便センター6号館", "4-6", "06009064-6dddddddddd9"},
        {"北海道札幌市東区北六条東8丁目　郵便センター10号館", "8-10", "06500068-10ddddddddd9"},
        {"山梨県韮崎市龍岡町下條南割　韮崎400", "400", "4070033400dddddddddd-"},
        {"千葉県鎌ケ谷市右京塚　東3丁目-20-5　郵便・A&bコーポB604号", "3-20-5B604", "27301023-20-5a1604dd0"},
        {"東京都青梅市河辺町十一丁目六番地一号　郵便タワー601", "11-6-1-601", "198003611-6-1-601dddh"},
        {"岩手県宮古市大字津軽石第二十一地割大淵川480", "21-480", "027020321-480ddddddde"},
        {"大阪府堺市堺区中田出井町四丁六番十九号", "4-6-19", "59000164-6-19dddddddb"},
        {"北海道帯広市稲田町南七線　西28", "7-28", "08008317-28dddddddddg"},
        {"茨城県日立市宮田町6丁目7-14　ABCビル2F", "6-7-14-2", "31700556-7-14-2ddddda"},
        {"神戸市中央区港島中町9丁目7-6　郵便シティA棟1F1号", "9-7-6A1-1", "65000469-7-6a01-1ddd5"},
        {"京都府綾部市青野町綾部6-7　LプラザB106", "6-7LB106", "62300116-7b1a1106ddd4"},
        {"札幌市中央区南四条西29丁目1524-23　第2郵便ハウス501", "29-1524-23-2-501", "064080429-1524-23-2-3"},
        {"福井県福井市新田塚3丁目80-25　J1ビル2-B", "3-80-25J1-2B", ""},
        // Names with numbers in them, and numbers as people write them.
        {"東京都千代田区一番町4-5", "4-5", ""},
        {"東京都中央区八丁堀三丁目4番1号", "3-4-1", ""},
        {"札幌市中央区北1条西2丁目1番地\n北八条西ハイツ", "2-1", ""},
        {"〒160-0004 新宿区四谷１－２－３　こもれびハイツ２０１", "1-2-3-201", ""},
        {"千代田区霞が関一丁目3ー2‐1　郵便プラザ4階", "1-3-2-1-4", ""},
        {"仙台市青葉区一ノ瀬百一番地の1", "101-1", ""},
    };
    for (const auto& c : cases) {
        const QString number = TCustomerAddress::DisplayNumber(QString::fromUtf8(c[0]));
        EXPECT_EQ(number.toStdString(), c[1]) << c[0];
        EXPECT_EQ(TCustomerAddress::DisplayNumber(number), number) << c[0];
        if (!*c[2]) continue;
        const QString data = TCustomerAddress::BarcodeData(QString(c[2]).left(7), QString::fromUtf8(c[0]));
        std::string expected = "13";
        for (const char ch : std::string(c[2]))
            expected += kBars.substr(kChars.find(ch) * 4, 3);
        EXPECT_EQ(BarKinds(TZintSymbol::Encode(TZintSymbol::TKind::JapanPost, data.toUtf8())), expected + "31") << c[0];
    }
    // Japan Post keeps a letter's control code alone on the last place (p20.html: 「…1-2 CC1」); libzint 2.11 refuses.
    EXPECT_EQ(TCustomerAddress::BarcodeData("910-0067", "新田塚3丁目80-25　J1ビル2-B"), "91000673-80-25J1-2B");
    EXPECT_TRUE(TZintSymbol::Encode(TZintSymbol::TKind::JapanPost, "91000673-80-25J1-2B").IsEmpty());
    // The overview's example, https://www.post.japanpost.jp/zipcode/zipmanual/p17.html
    EXPECT_EQ(TCustomerAddress::BarcodeData("１００－００１３", "霞が関1丁目3番2号 郵便プラザ503室"),
              "10000131-3-2-503");
    EXPECT_TRUE(TCustomerAddress::BarcodeData("100-001", "1-3-2").isEmpty());
}
