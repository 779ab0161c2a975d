#include "objects/PriLabel.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <QTextLayout>
#include <benchmark/benchmark.h>

namespace {

// About 30,000 bytes of mixed Japanese: kanji, kana, punctuation, Latin letters and digits in paragraphs.
QString MixedText() {
    const QString paragraph = QString::fromUtf16(
        u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で"
        u"ニャーニャー泣いていた事だけは記憶している。「カレンダー2026年版」は、A4・はがき・名刺(91×55mm)の"
        u"三種類に対応し、12か月分の祝日を自動で表示します（Version 3.1）。\r\n");
    QString text;
    while (TCp932::Encode(text).size() + TCp932::Encode(paragraph).size() <= 30000)
        text += paragraph;
    return text;
}

constexpr int kScreenInch = 96;
const QSize kPaper(567, 4000);

void BM_LabelMakeLinesAndUpdateGlyphs(benchmark::State& state) {
    QImage page(8, 8, QImage::Format_RGB32);
    TPriLabel label;
    label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
    label.SameFSize = 10;
    label.KinsokuCheck = true;
    label.SmallCheck = true;
    label.BackImage = &page;
    label.SetStoreRect(QRect(0, 0, 1500, 15000)); // 150 mm wide
    label.SetDataString(MixedText());
    label.ScaleToView(kPaper, kPaper, kScreenInch);
    for (auto _ : state) {
        label.MakeLines();
        label.UpdateGlyphs(kPaper, kPaper, true, kScreenInch);
        benchmark::DoNotOptimize(label.Glyphs().data());
    }
    state.counters["lines"] = double(label.BltStrings().size());
}
BENCHMARK(BM_LabelMakeLinesAndUpdateGlyphs)->Unit(benchmark::kMillisecond);

// One card's address laid out again, as a field does per record: state.range(0) shrinks it to the box.
void BM_AddressPerCard(benchmark::State& state) {
    QImage page(8, 8, QImage::Format_RGB32);
    TPriLabel label;
    label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
    label.SameFSize = 16;
    label.SetFontAngle(faLong);
    label.LongKanaCheck = true;
    label.Extras.HyphenRule = TObjectExtras::THyphenRule::Dash;
    label.Extras.ShrinkToFit = state.range(0) != 0;
    label.BackImage = &page;
    label.SetStoreRect(QRect(0, 0, 250, 900));
    label.ScaleToView(kPaper, kPaper, kScreenInch);
    const QString addresses[] = {QStringLiteral("東京都千代田区千代田1-2-3"),
                                 QStringLiteral("北海道札幌市中央区北一条西2丁目3-4 サンハイツ札幌駅前201号室")};
    int n = 0;
    for (auto _ : state) {
        label.SetDataString(addresses[n++ % 2]);
        label.UpdateGlyphs(kPaper, kPaper, true, kScreenInch);
        benchmark::DoNotOptimize(label.Glyphs().data());
    }
}
BENCHMARK(BM_AddressPerCard)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_QTextLayoutSameText(benchmark::State& state) {
    QString text = MixedText();
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    QFont font(TFontMap::ResolveFace(QStringLiteral("ＭＳ 明朝")));
    font.setPixelSize(13); // 10 pt at 96 dpi
    const double width = 1500 / 254.0 * kScreenInch;
    int lines = 0;
    for (auto _ : state) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        double y = 0;
        lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, y));
            y += line.height();
            ++lines;
        }
        layout.endLayout();
        benchmark::DoNotOptimize(y);
    }
    state.counters["lines"] = lines;
}
BENCHMARK(BM_QTextLayoutSameText)->Unit(benchmark::kMillisecond);

} // namespace
