#include "objects/PriLabel.h"
#include "objects/PriShape.h"
#include "platform/Cp932.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <QPainter>
#include <climits>
#include <gtest/gtest.h>

namespace {

QString Q(const char16_t* s) {
    return QString::fromUtf16(s);
}

// A label on the monospaced gothic face at 10 pt: every full-width character is 13 pixels at 96 dpi.
struct TLabelRig {
    TPriLabel label;
    TTextCanvas canvas{nullptr, 96};
    explicit TLabelRig(TFontAngle angle = faSide) {
        label.Font.setFamily(Q(u"ＭＳ ゴシック"));
        label.SameFSize = 10;
        label.SetFontAngle(angle);
    }
    TTextCanvas& Canvas(int size = 10) {
        label.SetDrawFont(canvas, size, false, bmLayout);
        return canvas;
    }
    QStringList Break(const QString& text, int limit = 65) {
        QStringList lines;
        label.BreakLines(text, limit, lines, Canvas());
        return lines;
    }
    std::vector<TGlyphRec> Layout(const QStringList& lines, TRect r) {
        label.LayoutGlyphs(Canvas(), r, bmLayout, 10, lines);
        return label.Glyphs();
    }
};

QStringList Lines(std::initializer_list<const char16_t*> items) {
    QStringList out;
    for (const char16_t* s : items)
        out << Q(s);
    return out;
}

} // namespace

TEST(PriLabelTest, CharacterTablesHoldTheirExactMembers) {
    const std::u32string start = U"!%):.;?]}｡｣､･ｰﾞﾟ、。，．・：；？！゛゜ヽヾゝゞ々ー’”）〕］｝〉》」』】°′″"
                                 U"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ";
    const std::u32string end = U"([{｢‘“（〔［｛〈《「『【";
    ASSERT_EQ(start.size(), 69u);
    ASSERT_EQ(end.size(), 15u);
    for (char32_t c : start)
        EXPECT_TRUE(TPriLabel::IsLineStartChar(c)) << std::hex << uint32_t(c);
    for (char32_t c : end)
        EXPECT_TRUE(TPriLabel::IsLineEndChar(c)) << std::hex << uint32_t(c);
    for (char32_t c : std::u32string(U"あ亜A1「"))
        EXPECT_FALSE(TPriLabel::IsLineStartChar(c));
    for (char32_t c : std::u32string(U"あ」)A"))
        EXPECT_FALSE(TPriLabel::IsLineEndChar(c));
    const std::u32string digits = U"0123456789０１２３４５６７８９", kanji = U"〇一二三四五六七八九";
    for (size_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(TPriLabel::KanjiDigit(digits[i]), kanji[i % 10]);
    EXPECT_EQ(TPriLabel::KanjiDigit(U'A'), U'A');
}

TEST(PriLabelTest, BreakLinesWithAndWithoutKinsoku) {
    struct TCase {
        const char16_t* name;
        const char16_t* text;
        QStringList plain;
        QStringList kinsoku;
    } cases[] = {
        {u"。 pulls one character", u"あいうえお。かき", Lines({u"あいうえお", u"。かき"}),
         Lines({u"あいうえ", u"お。かき"})},
        {u"、 pulls one more", u"あいうえ、。かき", Lines({u"あいうえ、", u"。かき"}),
         Lines({u"あいう", u"え、。かき"})},
        {u"never more than two move", u"あいう、、、かき", Lines({u"あいう、、", u"、かき"}),
         Lines({u"あいう", u"、、、かき"})},
        {u"「 is pushed", u"あいうえ「かきく", Lines({u"あいうえ「", u"かきく"}), Lines({u"あいうえ", u"「かきく"})},
        {u"「 at the end makes a new line", u"あいう「", Lines({u"あいう「"}), Lines({u"あいう", u"「"})},
        {u"hard breaks stay", u"あいうえ\r\n。かき", Lines({u"あいうえ", u"。かき"}), Lines({u"あいうえ", u"。かき"})},
        {u"hard break after 「 stays", u"あいう「\r\nかき", Lines({u"あいう「", u"かき"}),
         Lines({u"あいう「", u"かき"})},
        {u"a pulled line too wide is broken again", u"あいうえお。かきくけこ",
         Lines({u"あいうえお", u"。かきくけ", u"こ"}), Lines({u"あいうえ", u"お。かきく", u"けこ"})},
        {u"empty paragraphs", u"あ\r\n\r\nい", Lines({u"あ", u"", u"い"}), Lines({u"あ", u"", u"い"})},
    };
    for (const TCase& c : cases) {
        TLabelRig rig;
        EXPECT_EQ(rig.Break(Q(c.text)), c.plain) << QString::fromUtf16(c.name).toStdString();
        rig.label.KinsokuCheck = true;
        EXPECT_EQ(rig.Break(Q(c.text)), c.kinsoku) << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(PriLabelTest, HardAndSoftMarksFollowTheBreaks) {
    TLabelRig rig;
    rig.Break(Q(u"あいうえおか\r\nき"));
    EXPECT_EQ(rig.label.HardBreaks(), (QList<bool>{false, true, false}));
}

TEST(PriLabelTest, CharacterAfterAZeroWidthCharacterIsNotLost) {
    TLabelRig rig;
    // A lone CR takes no room; the line is full when it comes, and nothing after it may vanish.
    EXPECT_EQ(rig.Break(Q(u"あいうえお\rかき")).join(QString()), Q(u"あいうえお\rかき"));
    EXPECT_EQ(rig.Break(Q(u"あいう"), 0), Lines({u"あ", u"い", u"う"}));
}

TEST(PriLabelTest, DigitsBecomeKanjiOnlyInVerticalWritingWithLongKanaCheck) {
    struct TCase {
        TFontAngle angle;
        bool kana;
        const char16_t* expected;
    } cases[] = {{faLong, true, u"二〇二六"}, {faLong, false, u"2026"}, {faSide, true, u"2026"}};
    for (const TCase& c : cases) {
        TLabelRig rig(c.angle);
        rig.label.LongKanaCheck = c.kana;
        EXPECT_EQ(rig.Break(Q(u"2026"), 200), Lines({c.expected}));
    }
    TLabelRig rig(faLong);
    rig.label.LongKanaCheck = true;
    EXPECT_EQ(rig.Break(Q(u"２０２６年"), 200), Lines({u"二〇二六年"}));
}

TEST(PriLabelTest, SplitSmallCutsAtParenthesisedRuns) {
    struct TCase {
        const char32_t* line;
        std::vector<TTextSegment> segments;
    } cases[] = {
        {U"(月)", {{U"", false}, {U"(月)", true}}},
        {U"(a)(b)", {{U"", false}, {U"(a)", true}, {U"", false}, {U"(b)", true}}},
        {U"火(水", {{U"火", false}, {U"(水", true}}},
        {U"a)b", {{U"a)b", false}}},
        {U"x(y)z", {{U"x", false}, {U"(y)", true}, {U"z", false}}},
    };
    TPriLabel label;
    label.SmallCheck = true;
    for (const TCase& c : cases)
        EXPECT_EQ(label.SplitSmall(c.line), c.segments);
    label.SmallCheck = false;
    EXPECT_EQ(label.SplitSmall(U"(a)(b)"), (std::vector<TTextSegment>{{U"(a)(b)", false}}));
}

TEST(PriLabelTest, SideAlignmentsPlaceTheFirstCharacter) {
    struct TCase {
        TSidePos pos;
        const char16_t* line;
        std::vector<int> xs;
    } cases[] = {
        {psLeft, u"あいう", {0, 13, 26}},
        {psRight, u"あいう", {61, 74, 87}},
        {psCenter, u"あいう", {31, 44, 57}},
        // Short line: left-aligned; spread: 61 pixels over two gaps, the first one pixel wider.
        {psRyoutan, u"あいう", {0, 13, 26}},
        {psKintou, u"あいう", {0, 44, 87}},
        {psKintou, u"あ", {44}},
        // A full line spreads in psRyoutan too: 9 pixels over 6 gaps.
        {psRyoutan, u"あいうえおかき", {0, 15, 30, 45, 59, 73, 87}},
    };
    for (const TCase& c : cases) {
        TLabelRig rig;
        rig.label.SidePos = c.pos;
        const auto glyphs = rig.Layout({Q(c.line)}, TRect{0, 0, 100, 40});
        std::vector<int> xs;
        for (const TGlyphRec& g : glyphs)
            xs.push_back(g.X);
        EXPECT_EQ(xs, c.xs) << int(c.pos);
    }
}

TEST(PriLabelTest, LongKintouSpreadsLineExtraAndRemainder) {
    for (int slack : {10, 11}) {
        TLabelRig rig;
        rig.label.LongPos = tlKintou;
        const int h = rig.Canvas().TextHeight();
        const auto glyphs = rig.Layout(Lines({u"あ", u"い", u"う"}), TRect{0, 0, 100, 3 * h + slack});
        ASSERT_EQ(glyphs.size(), 3u);
        EXPECT_EQ(glyphs[0].Y, 0);
        EXPECT_EQ(glyphs[1].Y, h + 5 + (slack == 11 ? 1 : 0)) << slack;
        EXPECT_EQ(glyphs[2].Y, 2 * h + slack) << slack;
    }
}

TEST(PriLabelTest, VerticalKintouTwoColumnsTouchBothEdges) {
    TLabelRig rig(faLong);
    rig.label.SidePos = psKintou;
    const int h = rig.Canvas().TextHeight();
    const TRect r{20, 10, 120, 110};
    const auto glyphs = rig.Layout(Lines({u"あい", u"うえ"}), r);
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_EQ(glyphs[0].X, r.Right);
    EXPECT_EQ(glyphs[2].X - h, r.Left);
    EXPECT_EQ(glyphs[0].Y, r.Top);
    EXPECT_EQ(glyphs[1].Y, r.Top + 13);
}

TEST(PriLabelTest, SmallRunsSitOnTheBaselineOrInTheColumnMiddle) {
    for (TFontAngle angle : {faSide, faLong}) {
        TLabelRig rig(angle);
        rig.label.SmallCheck = true;
        TTextCanvas& c = rig.Canvas(6);
        const int smallHeight = c.TextHeight();
        const int full = rig.Canvas().TextHeight();
        const auto glyphs = rig.Layout({Q(u"日(月)")}, TRect{0, 0, 200, 200});
        ASSERT_EQ(glyphs.size(), 4u);
        EXPECT_FALSE(glyphs[0].Small);
        for (size_t i = 1; i < 4; ++i)
            EXPECT_TRUE(glyphs[i].Small);
        const int d = full - smallHeight;
        if (angle == faSide) {
            EXPECT_EQ(glyphs[1].Y, glyphs[0].Y + d); // bottoms line up
        } else {
            EXPECT_EQ(glyphs[1].X, glyphs[0].X - d / 2); // centred across the column
        }
    }
}

TEST(PriLabelTest, UprightHyphenAdvancesByItsHeightInVerticalWriting) {
    TLabelRig rig(faLong);
    const int h = rig.Canvas().TextHeight();
    const int w = rig.Canvas().CharWidth(TPriLabel::kUprightChar);
    const auto glyphs = rig.Layout({Q(u"あ－い")}, TRect{0, 0, 100, 200});
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[1].X, glyphs[0].X + (w + h) / 2);
    EXPECT_EQ(glyphs[2].Y, glyphs[1].Y + h);
}

TEST(PriLabelTest, LinesBeyondTheBoxAreNotPlaced) {
    TLabelRig rig;
    const int h = rig.Canvas().TextHeight();
    const auto glyphs = rig.Layout(Lines({u"あ", u"い", u"う"}), TRect{0, 0, 100, 2 * h + 3});
    ASSERT_EQ(glyphs.size(), 3u);
    EXPECT_EQ(glyphs[1].Text, U'い');
    EXPECT_EQ(glyphs[2].Text, 0u);
}

namespace {

struct TPageRig {
    QImage page{400, 400, QImage::Format_RGB32};
    TPriLabel label;
    TPageRig() {
        page.fill(Qt::white);
        label.Font.setFamily(Q(u"ＭＳ 明朝"));
        label.SameFSize = 12;
        label.BackImage = &page;
        label.SetStoreRect(QRect(100, 100, 600, 400));
    }
    QImage Draw() {
        page.fill(Qt::white);
        QPainter p(&page);
        label.DrawObject(bmLayout, p);
        return page;
    }
};

int InkPixels(const QImage& image, QRgb background) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != background;
    return n;
}

} // namespace

TEST(PriLabelTest, FitFontSizeKeepsTheStoredSizeAt100AndPicksANeighbourElsewhere) {
    TPageRig rig;
    rig.label.FitFontSize({400, 400}, {400, 400});
    EXPECT_EQ(rig.label.DisplayFontSize(), 12);
    TTextCanvas m(nullptr, 96);
    m.SetFont(rig.label.Font, 12, false, false);
    const int base = m.TextWidth(std::u32string_view(U"あいうえお"));
    for (double zoom : {0.5, 1.5, 2.0, 3.0, 4.0}) {
        const QSize view(int(400 * zoom), int(400 * zoom));
        rig.label.FitFontSize(view, {400, 400});
        const int e = TruncUnlessAbove07(zoom * 12);
        const int chosen = rig.label.DisplayFontSize();
        EXPECT_GE(chosen, e - 1);
        EXPECT_LE(chosen, e + 1);
        const int target = Trunc(base * zoom);
        const auto distance = [&](int s) {
            m.SetPointSize(s);
            return std::abs(m.TextWidth(std::u32string_view(U"あいうえお")) - target);
        };
        for (int s = e - 1; s <= e + 1; ++s)
            EXPECT_LE(distance(chosen), distance(s)) << zoom;
    }
}

TEST(PriLabelTest, OnlyTheBackgroundIsDrawnWhileLayoutIsPendingOrTextEmpty) {
    TPageRig rig;
    rig.label.TransParent = false;
    rig.label.Color = RGBColor(0, 0, 255);
    rig.label.SetDataString(Q(u"文字"));
    rig.label.SetBounds(40, 40, 200, 100);
    EXPECT_TRUE(rig.label.LayoutPending());
    QImage drawn = rig.Draw();
    EXPECT_EQ(InkPixels(drawn.copy(40, 40, 200, 100), qRgb(0, 0, 255)), 0);
    EXPECT_EQ(InkPixels(drawn, qRgb(255, 255, 255)), 200 * 100);

    // ScaleToStore alone does not lay out a pending text.
    rig.label.ScaleToStore({400, 400}, {400, 400}, 96);
    EXPECT_TRUE(rig.label.LayoutPending());
    rig.label.ScaleToView({400, 400}, {400, 400}, 96);
    EXPECT_FALSE(rig.label.LayoutPending());
    EXPECT_GT(InkPixels(rig.Draw().copy(40, 40, 200, 100), qRgb(0, 0, 255)), 50);

    rig.label.SetDataString(QString());
    rig.label.ScaleToView({400, 400}, {400, 400}, 96);
    EXPECT_EQ(InkPixels(rig.Draw().copy(40, 40, 200, 100), qRgb(0, 0, 255)), 0);
}

TEST(PriLabelTest, ZoomKeepsLineBreaksAndScalesPositions) {
    TPageRig rig;
    rig.label.SetDataString(Q(u"吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。"));
    rig.label.ScaleToView({400, 400}, {400, 400}, 96);
    const QStringList at100 = rig.label.BltStrings();
    const std::vector<TGlyphRec> glyphs100 = rig.label.Glyphs();
    rig.label.ScaleToView({800, 800}, {400, 400}, 96);
    EXPECT_EQ(rig.label.BltStrings(), at100);
    ASSERT_EQ(rig.label.Glyphs().size(), glyphs100.size());
    for (size_t i = 0; i < glyphs100.size(); ++i) {
        EXPECT_EQ(rig.label.Glyphs()[i].X, glyphs100[i].X);
        EXPECT_EQ(rig.label.Glyphs()[i].ViewX, glyphs100[i].X * 2);
        EXPECT_EQ(rig.label.Glyphs()[i].ViewY, glyphs100[i].Y * 2);
    }
}

TEST(PriLabelTest, KintouAtZoomReachesTheZoomedEdges) {
    TPageRig rig;
    rig.label.SidePos = psKintou;
    rig.label.SetDataString(Q(u"あいう"));
    rig.label.ScaleToView({600, 600}, {400, 400}, 96);
    const auto& g = rig.label.Glyphs();
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].ViewX, rig.label.Left);
    TTextCanvas m(nullptr, 96);
    m.SetFont(rig.label.Font, rig.label.DisplayFontSize(), false, false);
    EXPECT_EQ(g[2].ViewX + m.CharWidth(U'う'), rig.label.Left + rig.label.Width);
}

TEST(PriLabelTest, PrintDrawPutsTheTextInsideTheDeviceTarget) {
    for (TFontAngle angle : {faSide, faLong}) {
        TPageRig rig;
        rig.label.SetFontAngle(angle);
        rig.label.SetDataString(Q(u"印刷の文字「ABC」、2026年"));
        rig.label.ScaleToView({400, 400}, {400, 400}, 96);
        QRect target;
        rig.label.GetPrintRect(false, {300, 300}, target, 0, 0);
        QImage device(1250, 1250, QImage::Format_RGB32);
        device.fill(Qt::white);
        QPainter p(&device);
        rig.label.PrintDraw(p, target, false, {0, 0}, TRect{}, QRect(0, 0, 1250, 1250));
        p.end();
        const int inside = InkPixels(device.copy(target), qRgb(255, 255, 255));
        EXPECT_GT(inside, 2000) << angle;
        EXPECT_EQ(InkPixels(device, qRgb(255, 255, 255)), inside) << angle;
        if (angle == faLong) device.copy(target).save(QStringLiteral(KOMOREBI_BINARY_DIR "/label-print-vertical.png"));
    }
}

TEST(PriLabelTest, DeviceExtraFollowsTheDeviceResolutionAlongTheText) {
    for (TFontAngle angle : {faSide, faLong}) {
        TPriLabel label;
        label.SetFontAngle(angle);
        label.CharSpace = 1;
        label.SetCharExtra(96);
        EXPECT_EQ(label.ScreenExtra(), 3);
        QRect r;
        label.ScaleToView({0, 0}, {0, 0}, 96);
        label.GetPrintRect(false, {600, 1200}, r, 0, 0);
        EXPECT_EQ(label.DeviceExtra(), angle == faSide ? 18 : 37);
    }
}

TEST(PriLabelTest, FontAngleKeepsBltAngleInStep) {
    TPriLabel label;
    label.SetFontAngle(faLong);
    EXPECT_EQ(label.BltAngle, 2700);
    label.SetFontAngle(faSide);
    EXPECT_EQ(label.BltAngle, 0);
}

namespace {

void Fill(TPriLabel& l) {
    l.SetStoreRect(QRect(10, 20, 300, 400));
    l.CharSpace = 2;
    l.SidePos = psRyoutan;
    l.LongPos = tlBottom;
    l.Font.setFamily(Q(u"ＭＳ Ｐ明朝"));
    l.Font.setBold(true);
    l.SameFSize = 14;
    l.FontColor = RGBColor(200, 10, 20);
    l.Color = int32_t(0x80000005); // a system colour: negative, sign-extended on disk
    l.SetDataString(Q(u"春の\r\n小川"));
    l.SmallCheck = true;
    l.SetFontAngle(faLong);
    l.LongSpace = lsWide;
    l.KinsokuCheck = true;
    l.LongKanaCheck = true;
}

QByteArray Save(TPriLabel& l, int version) {
    TStreamWriter w;
    EXPECT_TRUE(l.SaveToStream(w, version));
    return w.Bytes();
}

} // namespace

TEST(PriLabelTest, RecordRoundTripsReadToTheLastByte) {
    struct TCase {
        int version;
        int bytes;
        bool longSpaceKept;
        bool kanaKept;
    } cases[] = {
        {6, 0, false, false}, {7, 0, false, false}, {8, 4, false, false}, {9, 12, true, false}, {10, 16, true, true}};
    TPriLabel source;
    Fill(source);
    const int base20 = int(Save(source, 6).size());
    for (const TCase& c : cases) {
        const QByteArray bytes = Save(source, c.version);
        EXPECT_EQ(bytes.size(), base20 + c.bytes) << c.version;
        // Records follow one another on the clipboard: a second one must start where the first ended.
        TStreamReader r(bytes + bytes);
        TPriLabel a, b;
        ASSERT_TRUE(a.LoadFromStream(r, c.version)) << c.version;
        EXPECT_EQ(r.Position(), bytes.size()) << c.version;
        ASSERT_TRUE(b.LoadFromStream(r, c.version));
        EXPECT_TRUE(r.AtEnd());
        EXPECT_EQ(Save(a, c.version), bytes) << c.version;
        EXPECT_EQ(a.FontAngle(), faLong) << c.version;
        EXPECT_EQ(a.LongSpace, c.longSpaceKept ? lsWide : lsNormal) << c.version;
        EXPECT_EQ(a.KinsokuCheck, c.longSpaceKept) << c.version;
        EXPECT_EQ(a.LongKanaCheck, c.kanaKept) << c.version;
        EXPECT_EQ(a.DataString(), source.DataString());
        EXPECT_EQ(a.Font.family(), Q(u"ＭＳ Ｐ明朝"));
        EXPECT_TRUE(a.Font.bold());
        EXPECT_EQ(a.Color, source.Color);
        EXPECT_EQ(a.FontColor, source.FontColor);
        EXPECT_EQ(a.SidePos, psRyoutan);
        EXPECT_EQ(a.LongPos, tlBottom);
        EXPECT_EQ(a.StoreRect(), source.StoreRect());
    }
}

TEST(PriLabelTest, TemplateRecordsCarryAllFieldsWhateverTheFileVersion) {
    TPriLabel source;
    Fill(source);
    // A template record is handed over holding exactly its own bytes.
    TStreamReader r(Save(source, TPriLabel::kLongRecordVersion));
    TPriLabel a;
    ASSERT_TRUE(a.LoadFromStream(r, 6));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(a.LongSpace, lsWide);
    EXPECT_TRUE(a.KinsokuCheck);
    EXPECT_TRUE(a.LongKanaCheck);
    EXPECT_EQ(a.FontAngle(), faLong);

    // On the clipboard the trailer or the next record follows: never taken for the later fields.
    TStreamWriter clip;
    clip.WriteBytes(Save(source, 6));
    clip.WriteInt32(65534);
    TStreamReader c(clip.Bytes());
    TPriLabel b;
    ASSERT_TRUE(b.LoadFromStream(c, 6));
    EXPECT_EQ(c.Remaining(), 4);
    EXPECT_EQ(b.LongSpace, lsNormal);
}

TEST(PriLabelTest, LaterFieldCountLetsASubclassTellTheTwoForms) {
    // A subclass body of one int32 then a string follows the text fields.
    const auto tail = [](TStreamReader& r) {
        int32_t n;
        QString s;
        return r.ReadInt32(n) && r.ReadString(s);
    };
    TStreamWriter shortForm, longForm;
    shortForm.WriteInt32(7);
    shortForm.WriteString(QStringLiteral("abc"));
    for (int v : {1, 0, 1, 1})
        longForm.WriteInt32(v);
    longForm.WriteBytes(shortForm.Bytes());
    EXPECT_EQ(TPriLabel::LaterTextFieldCount(6, TStreamReader(shortForm.Bytes()), tail), 0);
    EXPECT_EQ(TPriLabel::LaterTextFieldCount(6, TStreamReader(longForm.Bytes()), tail), 4);
    EXPECT_EQ(TPriLabel::LaterTextFieldCount(9, TStreamReader(shortForm.Bytes()), tail), 3);
}

TEST(PriLabelTest, Version7BltAngleDecidesTheWritingDirection) {
    struct TCase {
        int angle;
        TFontAngle expected;
    } cases[] = {{2700, faLong}, {900, faLong}, {1800, faSide}, {0, faSide}, {1, faLong}};
    for (const TCase& c : cases) {
        TPriLabel source;
        Fill(source);
        source.BltAngle = c.angle;
        TStreamReader r(Save(source, 7));
        TPriLabel a;
        ASSERT_TRUE(a.LoadFromStream(r, 7));
        EXPECT_EQ(a.FontAngle(), c.expected) << c.angle;
        EXPECT_EQ(a.BltAngle, c.angle);
    }
}

TEST(PriLabelTest, StyleCodesAndDamagedEnumerations) {
    struct TCase {
        bool bold, italic, underline;
        int code;
    } cases[] = {{false, false, false, 0}, {true, false, false, 1}, {false, true, false, 2},
                 {true, true, false, 3},   {true, false, true, 3},  {false, false, true, 3}};
    for (const TCase& c : cases) {
        TPriLabel l;
        l.Font.setBold(c.bold);
        l.Font.setItalic(c.italic);
        l.Font.setUnderline(c.underline);
        const QByteArray bytes = Save(l, 6);
        int32_t code;
        // common header 28, CharSpace, BltAngle, LongPos, SidePos, face name (length + bytes)
        const int at = 28 + 16 + 4 + int(TCp932::Encode(l.Font.family()).size());
        memcpy(&code, bytes.constData() + at, 4);
        EXPECT_EQ(code, c.code);
    }
    TPriLabel l;
    QByteArray bytes = Save(l, 6);
    bytes[28 + 8] = char(9);  // LongPos
    bytes[28 + 12] = char(7); // SidePos
    TStreamReader r(bytes);
    TPriLabel a;
    ASSERT_TRUE(a.LoadFromStream(r, 6));
    EXPECT_EQ(a.LongPos, tlTop);
    EXPECT_EQ(a.SidePos, psLeft);
}

TEST(PriLabelTest, TruncatedOrOverlongRecordsFailCleanly) {
    TPriLabel source;
    Fill(source);
    const QByteArray bytes = Save(source, 10);
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        TStreamReader r(bytes.left(n));
        TPriLabel a;
        EXPECT_FALSE(a.LoadFromStream(r, 10)) << n;
    }
    QByteArray huge = bytes;
    const int32_t claim = 0x7FFFFFF0;
    memcpy(huge.data() + 28 + 16, &claim, 4); // face name length
    TStreamReader r(huge);
    TPriLabel a;
    EXPECT_FALSE(a.LoadFromStream(r, 10));
}

TEST(PriLabelTest, AssignObjectCopiesWithinItsLimits) {
    TPageRig rig;
    Fill(rig.label);
    rig.label.BackImage = &rig.page;
    rig.label.ScaleToView({400, 400}, {400, 400}, 96);

    TPriLabel full;
    full.AssignObject(&rig.label, false);
    EXPECT_EQ(full.DataString(), rig.label.DataString());
    EXPECT_EQ(full.FontAngle(), faLong);
    EXPECT_EQ(full.SameFSize, 14);
    EXPECT_EQ(full.Glyphs(), rig.label.Glyphs());
    EXPECT_EQ(full.BltStrings(), rig.label.BltStrings());

    TPriLabel layout;
    layout.AssignObject(&rig.label, true);
    EXPECT_TRUE(layout.DataString().isEmpty());
    EXPECT_EQ(layout.SameFSize, 10);
    EXPECT_EQ(layout.StoreRect(), rig.label.StoreRect());
    EXPECT_EQ(layout.Glyphs(), rig.label.Glyphs());

    TPriLabel big;
    big.SetDataString(QString(TPriLabel::kMaxTextBytes / 2, QChar(0x3042))); // exactly 30720 bytes
    big.Font.setFamily(QString(1024, QLatin1Char('f')));
    TPriLabel target;
    target.SetDataString(QStringLiteral("keep"));
    target.Font.setFamily(QStringLiteral("keep"));
    target.AssignObject(&big, false);
    EXPECT_EQ(target.DataString(), QStringLiteral("keep"));
    EXPECT_EQ(target.Font.family(), QStringLiteral("keep"));
}

TEST(PriLabelTest, FitBoundsToTextCoversTheLongestLine) {
    TPageRig rig;
    rig.label.Font.setFamily(Q(u"ＭＳ ゴシック"));
    rig.label.SameFSize = 10;
    rig.label.SetStoreRect(QRect(0, 0, 2540, 2540));
    rig.label.SetDataString(Q(u"あい\r\nあいうえ\r\nう"));
    rig.label.FitBoundsToText();
    TTextCanvas m(nullptr, 96);
    m.SetFont(rig.label.Font, 10, false, false);
    EXPECT_EQ(rig.label.Height, 3 * m.TextHeight());
    EXPECT_EQ(rig.label.Width, 4 * 13 + m.TextWidth(QStringLiteral("**")));
}

TEST(PriLabelTest, DamagedSpacingAndSizesStayWithinRange) {
    struct TCase {
        int charSpace;
        int expected;
    } cases[] = {{1, 3}, {-1, -3}, {INT_MAX, TPriLabel::kMaxCharExtra}, {INT_MIN, -TPriLabel::kMaxCharExtra}};
    for (const TCase& c : cases) {
        TLabelRig rig;
        rig.label.CharSpace = c.charSpace;
        rig.label.SetCharExtra(96);
        EXPECT_EQ(rig.label.ScreenExtra(), c.expected) << c.charSpace;
        // A whole text of the widest spacing still breaks one character a line without overflowing.
        if (c.expected > 0) {
            const QStringList lines = rig.Break(Q(u"あいう"), 200);
            EXPECT_EQ(lines.size(), c.expected > 200 ? 3 : 1) << c.charSpace;
        }
    }
    TPageRig rig;
    rig.label.SameFSize = INT_MAX;
    rig.label.FitFontSize({800, 800}, {400, 400});
    EXPECT_GE(rig.label.DisplayFontSize(), 1);
    rig.label.SameFSize = -5;
    rig.label.FitFontSize({800, 800}, {400, 400});
    EXPECT_GE(rig.label.DisplayFontSize(), 1);
}

TEST(PriLabelTest, OutputExtraFollowsThePageAt100NotTheZoomedBitmap) {
    for (TFontAngle angle : {faSide, faLong}) {
        TPageRig rig;
        QImage zoomed(800, 800, QImage::Format_RGB32);
        rig.label.BackImage = &zoomed;
        rig.label.SetFontAngle(angle);
        rig.label.CharSpace = 1; // 3 screen pixels
        rig.label.SetDataString(Q(u"文字"));
        rig.label.ScaleToView({800, 800}, {400, 400}, 96);
        QRect r;
        rig.label.GetOutputRect({1200, 1200}, TRect{}, r);
        EXPECT_EQ(rig.label.DeviceExtra(), 9) << angle; // 1200 / 400 x 3
    }
}

TEST(PriLabelTest, ClipboardTextThenShapeComeBackIntact) {
    for (TFontAngle angle : {faSide, faLong}) {
        TPriLabel text;
        Fill(text);
        text.SetFontAngle(angle);
        TPriShape shape;
        shape.SetStoreRect(QRect(0, 0, 120, 80));
        TStreamWriter clip;
        clip.WriteBytes(Save(text, 6));
        clip.WriteInt32(okShape);
        ASSERT_TRUE(shape.SaveToStream(clip, 6));
        clip.WriteInt32(65534);

        TStreamReader r(clip.Bytes());
        TPriLabel a;
        ASSERT_TRUE(a.LoadFromStream(r, 6));
        int32_t kind = -1;
        ASSERT_TRUE(r.ReadInt32(kind));
        EXPECT_EQ(kind, okShape);
        TPriShape b;
        ASSERT_TRUE(b.LoadFromStream(r, 6));
        EXPECT_EQ(b.StoreRect(), shape.StoreRect());
        int32_t trailer = 0;
        ASSERT_TRUE(r.ReadInt32(trailer));
        EXPECT_EQ(trailer, 65534);
        EXPECT_TRUE(r.AtEnd());
        // Twenty fields only, yet the writing direction survives through BltAngle.
        EXPECT_EQ(a.FontAngle(), angle);
        EXPECT_EQ(a.DataString(), text.DataString());
    }
}

TEST(PriLabelTest, BlocksTallerThanIntStillPlaceTheirLines) {
    // 150000 lines of the tallest glyphs make a block beyond int: bottom aligned lines and columns
    // set from the left must be measured in 64 bits, not wrap round and place nothing.
    TLabelRig rig;
    const int size = 60000;
    TTextCanvas& canvas = rig.Canvas(size);
    const int h = canvas.TextHeight();
    const int lines = 150000;
    ASSERT_GT(qint64(h) * lines, qint64(INT_MAX));
    QStringList text;
    for (int i = 0; i < lines; ++i)
        text << Q(u"あ");
    const auto placed = [](const std::vector<TGlyphRec>& glyphs) {
        std::vector<TGlyphRec> out;
        for (const TGlyphRec& g : glyphs)
            if (g.Text) out.push_back(g);
        return out;
    };
    // A box two lines tall holds one line: the first from the top, the last from the bottom.
    const TRect box{0, 0, 4 * h, 2 * h - 1};
    for (const auto& [pos, y] : {std::pair{tlTop, 0}, std::pair{tlBottom, box.Bottom - h}}) {
        rig.label.LongPos = pos;
        rig.label.LayoutGlyphs(canvas, box, bmLayout, size, text);
        const std::vector<TGlyphRec> shown = placed(rig.label.Glyphs());
        ASSERT_EQ(shown.size(), 1u) << int(pos);
        EXPECT_EQ(shown[0].Y, y) << int(pos);
    }
    // Columns set from the left edge start a block's width to the right: only the last one
    // falls in a box two columns wide, with its right edge one line height in.
    TLabelRig vertical(faLong);
    vertical.label.SidePos = psLeft;
    TTextCanvas& vc = vertical.Canvas(size);
    vertical.label.LayoutGlyphs(vc, TRect{0, 0, 2 * h - 1, 4 * h}, bmLayout, size, text);
    const std::vector<TGlyphRec> columns = placed(vertical.label.Glyphs());
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(columns[0].X, h);
}
