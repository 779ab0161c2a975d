// Builds the shipped templates of every paper kind through the object model, saves them below
// the given Template folder and renders a JPEG thumbnail beside each one from the saved file.
//
//   make_templates [TEMPLATE_FOLDER]      (default: data/Template)
//
// The holiday list for the thumbnails is read from the folder above TEMPLATE_FOLDER.

#include "calendar/PriCarendar.h"
#include "design/Artwork.h"
#include "design/TemplateDesign.h"
#include "document/ObjectKinds.h"
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "merge/PriField.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/FontMap.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "print/PageBuilder.h"
#include "print/PageExport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

// Calendars store the year they were designed for; opening a template re-dates them.
constexpr int kDesignYear = 2027;

const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");
const QString kPMincho = QStringLiteral("ＭＳ Ｐ明朝");

const QStringList kWeekSun = {"日", "月", "火", "水", "木", "金", "土"};
const QStringList kWeekMon = {"月", "火", "水", "木", "金", "土", "日"};
const QStringList kWeekSunEn = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

// Colours of the designs.
constexpr TColor kInk = RGBColor(51, 51, 51);
constexpr TColor kSoftInk = RGBColor(110, 110, 110);
constexpr TColor kSunRed = RGBColor(214, 64, 64);
constexpr TColor kSatBlue = RGBColor(50, 110, 190);
constexpr TColor kTeal = RGBColor(32, 118, 120);
constexpr TColor kForest = RGBColor(56, 102, 65);
constexpr TColor kRose = RGBColor(196, 84, 116);
constexpr TColor kNavy = RGBColor(36, 52, 92);
constexpr TColor kGold = RGBColor(176, 134, 48);
constexpr TColor kRule = RGBColor(200, 200, 200);

// ---------------------------------------------------------------------------------------------
// Papers (0.1 mm)

TPriPaper A4(bool portrait = true) {
    return TTemplateDesign::SinglePaper(2100, 2970, portrait);
}
TPriPaper A5(bool portrait = true) {
    return TTemplateDesign::SinglePaper(1480, 2100, portrait);
}
TPriPaper Hagaki(bool portrait = true) {
    return TTemplateDesign::SinglePaper(1000, 1480, portrait);
}
TPriPaper LSize(bool portrait = true) {
    return TTemplateDesign::SinglePaper(890, 1270, portrait);
}

// Business cards on an A4 card sheet: the seats centred on the sheet without gaps.
TPriPaper CardSheet(int seatWidth, int seatHeight, int columns, int rows) {
    return TTemplateDesign::SeatSheet(seatWidth, seatHeight, columns, rows, (2100 - columns * seatWidth) / 2,
                                      (2970 - rows * seatHeight) / 2);
}

// ---------------------------------------------------------------------------------------------
// The document being designed and one small helper per object kind

using TTextStyle = TBasicTextStyle<TTextDefaults{.Size = 10, .Color = kInk, .Long = tlTop}>;

struct TCalendarStyle {
    QString Face = kGothic;
    int Size = 12;
    TColor Day = kInk;
    TColor Sun = kSunRed;
    TColor Sat = kSatBlue;
    TColor Holiday = kSunRed;
    bool Filled = false;
    TColor DayBack1 = clWhite, SunBack1 = clWhite, SatBack1 = clWhite;
    TColor DayBack2 = clWhite, SunBack2 = clWhite, SatBack2 = clWhite;
    TColor HoliBack = clWhite;
    TPriCarendar::TSidePos Side = TPriCarendar::TSidePos::psCenter;
    TPriCarendar::TLongPos Long = TPriCarendar::TLongPos::tlCenter;
    TStartYoubi Start = TStartYoubi::sySun;
    TStepCount Rows = TStepCount::sc6;
    TCarenType Type = TCarenType::caNormal;
};

class TDesign : public TTemplateDesign {
public:
    using TTemplateDesign::TTemplateDesign;

    // Not deduced, so that a design can pass its style as a braced list.
    TPriLabel& Text(QRect r, const QString& text, const TTextStyle& st) { return TTemplateDesign::Text(r, text, st); }

    // A title that follows the start month: kMonthTitleCategory shows the month number of the
    // relative month, kMonthTitleYearCategory its year, kYearCategory the start year.
    TPriField& Field(QRect r, int category, int relativeMonth, const TTextStyle& st) {
        auto field = std::make_unique<TPriField>();
        Style(*field, st);
        field->CategoryNum = category;
        field->FieldMode = fmJetPrint;
        field->SetCategoryName(category == TPriField::kYearCategory ? QString::number(kDesignYear)
                                                                    : QString::number(relativeMonth));
        return Append(std::move(field), r);
    }

    TPriCarendar& Calendar(QRect r, int relativeMonth, const TCalendarStyle& st) {
        auto cal = std::make_unique<TPriCarendar>();
        cal->SetYear(kDesignYear);
        cal->SetMonth(relativeMonth);
        cal->SetStartYoubi(st.Start);
        cal->SetCarenType(st.Type);
        cal->StepCount = st.Rows;
        cal->FontName = st.Face;
        cal->SameFSize = st.Size;
        cal->DayColor = st.Day;
        cal->SunColor = st.Sun;
        cal->SatColor = st.Sat;
        cal->HoliColor = st.Holiday;
        cal->TransParent = !st.Filled;
        cal->GridCheck = false;
        cal->DaybackColor1 = st.DayBack1;
        cal->SunbackColor1 = st.SunBack1;
        cal->SatbackColor1 = st.SatBack1;
        cal->HolibackColor1 = st.HoliBack;
        cal->DaybackColor2 = st.DayBack2;
        cal->SunbackColor2 = st.SunBack2;
        cal->SatbackColor2 = st.SatBack2;
        cal->HolibackColor2 = st.HoliBack;
        cal->SidePos = st.Side;
        cal->LongPos = st.Long;
        cal->SetBaseSize(QPoint(fDoc->PaperPixels().width(), fDoc->PaperPixels().height()));
        return Append(std::move(cal), r);
    }

    // A picture stored as JPEG; the object keeps the encoded bytes, so saving writes them unchanged.
    TPriImage& Picture(QRect r, TArt art, quint32 seed) {
        auto image = std::make_unique<TPriImage>();
        image->ImageType = 1;
        TStreamWriter w;
        w.WriteBlock64(TJpegCodec::Encode(Artwork(art, ArtPixels(r.size()), seed)));
        TStreamReader reader(w.Bytes());
        image->ReadImageData(reader, TTemplateFile::kVersion);
        return Append(std::move(image), r);
    }

    void Background(TArt art, quint32 seed) {
        fDoc->BackObject.FMainBack = Artwork(art, ArtPixels(QSize(PageWidth(), PageHeight())), seed);
        fDoc->BackObject.FVisible = true;
    }

    // Names of the weekdays over the columns of a month grid.
    void WeekHeader(QRect r, const QStringList& names, bool mondayFirst, const TTextStyle& st) {
        const int w = r.width() / 7;
        for (int i = 0; i < 7; ++i) {
            const int weekday = mondayFirst ? (i + 1) % 7 : i; // 0 = Sunday
            const TColor color = weekday == 0 ? kSunRed : weekday == 6 ? kSatBlue : st.Color;
            Text(QRect(r.left() + i * w, r.top(), w, r.height()), names[i], st.Colored(color).Aligned(psCenter));
        }
    }

    // Thin rules between the rows (and columns) of a month grid.
    void GridRules(QRect r, int columns, int rows, TColor color, bool outer) {
        for (int i = outer ? 0 : 1; i <= (outer ? rows : rows - 1); ++i) {
            const int y = r.top() + r.height() * i / rows;
            Line(QPoint(r.left(), y), QPoint(r.right() + 1, y), color);
        }
        for (int i = outer ? 0 : 1; i <= (outer ? columns : columns - 1); ++i) {
            const int x = r.left() + r.width() * i / columns;
            Line(QPoint(x, r.top()), QPoint(x, r.bottom() + 1), color);
        }
    }

    // "4月" with the month number following the start month, the year beside it when asked.
    void MonthTitle(QRect number, int relativeMonth, const TTextStyle& st, bool withYear) {
        Field(number, TPriField::kMonthTitleCategory, relativeMonth, st.Aligned(psRight, tlBottom));
        const int unit = number.height() / 2;
        Text(QRect(number.right() + 10, number.bottom() - unit, unit * 2, unit), "月",
             st.Sized(std::max(6, st.Size / 2)).Aligned(psLeft, tlBottom));
        if (withYear)
            Field(QRect(number.right() + 10 + unit, number.bottom() - unit, unit * 3, unit),
                  TPriField::kMonthTitleYearCategory, relativeMonth,
                  st.Sized(std::max(6, st.Size / 3)).Colored(kSoftInk).Aligned(psRight, tlBottom));
    }
};

// ---------------------------------------------------------------------------------------------
// A4

void A4YearCalendar(TDesign& d) {
    const TTextStyle title{.Face = kPMincho, .Size = 40, .Color = kTeal};
    d.Field(QRect(500, 110, 1100, 220), TPriField::kYearCategory, 1, title.Aligned(psCenter, tlCenter));
    d.Text(QRect(500, 320, 1100, 70), "C A L E N D A R", title.Sized(11).Colored(kSoftInk).Aligned(psCenter));
    d.Line(QPoint(150, 420), QPoint(1950, 420), kTeal, 2);

    TCalendarStyle cal{.Face = kGothic, .Size = 10};
    const TTextStyle month{.Face = kPGothic, .Size = 18, .Color = kTeal, .Bold = true};
    const TTextStyle week{.Face = kPGothic, .Size = 7, .Color = kSoftInk};
    const int left = 130, top = 480, cellW = 84, blockW = cellW * 7, gapX = 55, blockH = 615;
    for (int k = 0; k < 12; ++k) {
        const int x = left + (k % 3) * (blockW + gapX), y = top + (k / 3) * blockH;
        d.MonthTitle(QRect(x, y, 110, 90), k + 1, month, true);
        d.Line(QPoint(x, y + 100), QPoint(x + blockW, y + 100), kRule);
        d.WeekHeader(QRect(x, y + 110, blockW, 50), kWeekSun, false, week);
        d.Calendar(QRect(x, y + 165, blockW, 396), k + 1, cal);
    }
}

void A4PhotoMonthly(TDesign& d) {
    d.Picture(QRect(0, 0, 2100, 1480), TArt::Komorebi, 11);
    const TTextStyle big{.Face = kPMincho, .Size = 80, .Color = kForest};
    d.Field(QRect(110, 1560, 380, 330), TPriField::kMonthTitleCategory, 1, big.Aligned(psCenter, tlCenter));
    d.Field(QRect(110, 1880, 380, 80), TPriField::kMonthTitleYearCategory, 1,
            big.Sized(14).Colored(kSoftInk).Aligned(psCenter));
    d.Line(QPoint(180, 1990), QPoint(420, 1990), kForest, 2);
    const TTextStyle memo{.Face = kPGothic, .Size = 9, .Color = kSoftInk};
    d.Text(QRect(110, 2060, 380, 60), "MEMO", memo);
    for (int i = 0; i < 7; ++i)
        d.Line(QPoint(110, 2220 + i * 100), QPoint(490, 2220 + i * 100), kRule);

    const int x = 600, w = 1400, cell = w / 7;
    d.WeekHeader(QRect(x, 1560, cell * 7, 80), kWeekSunEn, false,
                 {.Face = kPGothic, .Size = 10, .Color = kSoftInk, .Bold = true});
    const QRect grid(x, 1650, cell * 7, 1200);
    d.GridRules(grid, 7, 6, kRule, true);
    d.Calendar(
        grid, 1,
        {.Face = kGothic, .Size = 16, .Side = TPriCarendar::TSidePos::psLeft, .Long = TPriCarendar::TLongPos::tlTop});
}

// One month a page with the almanac in large day cells: the heading gives the era and zodiac years.
void A4AlmanacMonthly(TDesign& d) {
    const TColor vermilion = RGBColor(178, 54, 44);
    const TTextStyle big{.Face = kPMincho, .Size = 72, .Color = kInk};
    d.Field(QRect(110, 100, 420, 330), TPriField::kMonthTitleCategory, 1, big.Aligned(psRight, tlBottom));
    d.Text(QRect(545, 300, 130, 120), "月", big.Sized(26).Aligned(psLeft, tlBottom));
    const TTextStyle year{.Face = kPMincho, .Size = 20, .Color = kInk};
    d.Field(QRect(1250, 130, 740, 110), TPriField::kMonthTitleYearCategory, 1, year.Aligned(psRight, tlCenter));
    d.Field(QRect(1250, 250, 740, 80), TPriField::kEraYearCategory, 1,
            year.Sized(14).Colored(kSoftInk).Aligned(psRight, tlCenter));
    d.Field(QRect(1250, 335, 740, 80), TPriField::kKanshiAnimalCategory, 1,
            year.Sized(14).Colored(vermilion).Aligned(psRight, tlCenter));
    d.Line(QPoint(105, 460), QPoint(1995, 460), vermilion, 3);

    const int x = 105, cell = 270;
    d.WeekHeader(QRect(x, 490, cell * 7, 80), kWeekSun, false,
                 {.Face = kPGothic, .Size = 12, .Color = kInk, .Bold = true});
    const QRect grid(x, 580, cell * 7, 2280);
    d.GridRules(grid, 7, 6, kRule, true);
    TPriCarendar& cal = d.Calendar(
        grid, 1,
        {.Face = kGothic, .Size = 22, .Side = TPriCarendar::TSidePos::psLeft, .Long = TPriCarendar::TLongPos::tlTop});
    TObjectExtras& notes = cal.Extras;
    notes.AlmanacItems = TObjectExtras::aiRokuyou | TObjectExtras::aiSolarTerms | TObjectExtras::aiZassetsu |
                         TObjectExtras::aiMoonPhases | TObjectExtras::aiFamilyDays | TObjectExtras::aiFamilyYears;
    notes.AlmanacSize = 8;
    notes.AlmanacColors[1] = vermilion; // the solar terms stand out, as on printed almanacs
    notes.AlmanacColors[2] = vermilion;
}

void A4VerticalSchedule(TDesign& d) {
    // One column of 31 day rows with writing space; the titles run vertically on the right.
    const QRect rows(120, 140, 1560, 2700);
    d.Box(QRect(1720, 140, 260, 2700), TBltShape::RectAngle, RGBColor(244, 240, 230));
    const TTextStyle head{
        .Face = kMincho, .Size = 30, .Color = kNavy, .Side = psCenter, .Long = tlTop, .Vertical = true, .CharSpace = 2};
    d.Text(QRect(1740, 220, 220, 1100), "月間予定表", head);
    d.Field(QRect(1740, 1420, 220, 220), TPriField::kMonthTitleCategory, 1,
            {.Face = kMincho, .Size = 40, .Color = kNavy, .Side = psCenter, .Long = tlCenter});
    d.Text(QRect(1740, 1640, 220, 130), "月", {.Face = kMincho, .Size = 22, .Color = kNavy, .Side = psCenter});
    d.Field(QRect(1740, 1800, 220, 240), TPriField::kMonthTitleYearCategory, 1,
            {.Face = kMincho,
             .Size = 14,
             .Color = kSoftInk,
             .Side = psCenter,
             .Long = tlTop,
             .Vertical = true,
             .KanjiDigits = true});
    d.Text(QRect(1740, 2050, 220, 160), "年",
           {.Face = kMincho, .Size = 14, .Color = kSoftInk, .Side = psCenter, .Vertical = true});
    // Unfilled rows: the calendar spreads its pixel remainder over the first rows, which the
    // rules drawn beside it cannot follow.
    d.Calendar(rows, 1,
               {.Face = kGothic,
                .Size = 13,
                .Side = TPriCarendar::TSidePos::psLeft,
                .Long = TPriCarendar::TLongPos::tlCenter,
                .Type = TCarenType::caLong});
    d.GridRules(rows, 1, 31, kRule, true);
    d.Line(QPoint(rows.left() + 150, rows.top()), QPoint(rows.left() + 150, rows.bottom() + 1), kRule);
}

// ---------------------------------------------------------------------------------------------
// A5

void A5DeskPhoto(TDesign& d) {
    // Landscape: the picture on the left, the month on the right.
    d.Picture(QRect(80, 80, 1000, 1320), TArt::Sea, 21);
    const TTextStyle title{.Face = kPGothic, .Size = 36, .Color = kNavy};
    d.MonthTitle(QRect(1160, 90, 220, 170), 1, title, true);
    d.Line(QPoint(1160, 290), QPoint(2020, 290), kNavy, 2);
    const int x = 1160, cell = 122;
    d.WeekHeader(QRect(x, 320, cell * 7, 70), kWeekSun, false, {.Face = kPGothic, .Size = 9, .Color = kSoftInk});
    const QRect grid(x, 400, cell * 7, 1000);
    d.GridRules(grid, 7, 6, kRule, false);
    d.Calendar(grid, 1, {.Face = kGothic, .Size = 13});
}

void A5Simple(TDesign& d) {
    const TTextStyle big{.Face = kPGothic, .Size = 96, .Color = kRose};
    d.Field(QRect(150, 120, 1180, 100), TPriField::kMonthTitleYearCategory, 1,
            big.Sized(14).Colored(kSoftInk).Aligned(psCenter));
    d.Field(QRect(140, 230, 600, 430), TPriField::kMonthTitleCategory, 1, big.Aligned(psRight, tlCenter));
    d.Text(QRect(760, 360, 400, 260), "月", big.Sized(40).Aligned(psLeft, tlCenter));
    const int x = 110, cell = 180;
    d.WeekHeader(QRect(x, 760, cell * 7, 90), kWeekMon, true,
                 {.Face = kPGothic, .Size = 11, .Color = kInk, .Bold = true});
    d.Calendar(QRect(x, 860, cell * 7, 1140), 1,
               {.Face = kGothic,
                .Size = 18,
                .Filled = true,
                .DayBack1 = RGBColor(253, 246, 240),
                .SunBack1 = RGBColor(252, 228, 228),
                .SatBack1 = RGBColor(232, 240, 252),
                .DayBack2 = RGBColor(255, 255, 255),
                .SunBack2 = RGBColor(254, 240, 240),
                .SatBack2 = RGBColor(242, 247, 254),
                .HoliBack = RGBColor(252, 228, 228),
                .Start = TStartYoubi::syMon});
    d.GridRules(QRect(x, 860, cell * 7, 1140), 7, 6, clWhite, false);
}

void A5TwoMonths(TDesign& d) {
    d.Picture(QRect(0, 0, 1480, 520), TArt::Sakura, 31);
    const TTextStyle title{.Face = kPGothic, .Size = 22, .Color = kRose, .Bold = true};
    const TTextStyle week{.Face = kPGothic, .Size = 8, .Color = kSoftInk};
    const int x = 130, cell = 174;
    for (int k = 0; k < 2; ++k) {
        const int y = 580 + k * 770;
        d.MonthTitle(QRect(x, y, 140, 110), k + 1, title, true);
        d.WeekHeader(QRect(x, y + 130, cell * 7, 60), kWeekSun, false, week);
        const QRect grid(x, y + 195, cell * 7, 510);
        d.GridRules(grid, 7, 6, kRule, false);
        d.Calendar(grid, k + 1, {.Face = kGothic, .Size = 12});
    }
}

// ---------------------------------------------------------------------------------------------
// Hagaki (100 x 148 mm)

void HagakiPhotoFrame(TDesign& d) {
    d.Box(QRect(0, 0, 1000, 1480), TBltShape::RectAngle, RGBColor(250, 246, 236));
    d.Box(QRect(70, 70, 860, 700), TBltShape::RoundRect, clWhite, RGBColor(170, 140, 100), 2, 24);
    d.Picture(QRect(110, 110, 780, 620), TArt::Mountains, 41);
    const TTextStyle title{.Face = kPMincho, .Size = 26, .Color = RGBColor(120, 84, 50)};
    d.MonthTitle(QRect(80, 800, 150, 120), 1, title, true);
    const int x = 80, cell = 120;
    d.WeekHeader(QRect(x, 940, cell * 7, 55), kWeekSun, false, {.Face = kPGothic, .Size = 7, .Color = kSoftInk});
    const QRect grid(x, 1000, cell * 7, 420);
    d.GridRules(grid, 7, 6, RGBColor(220, 208, 190), false);
    d.Calendar(grid, 1, {.Face = kGothic, .Size = 10});
}

void HagakiNewYear(TDesign& d) {
    d.Picture(QRect(0, 0, 1000, 700), TArt::Sunrise, 51);
    const TTextStyle v{.Face = kMincho,
                       .Size = 40,
                       .Color = RGBColor(170, 30, 40),
                       .Side = psCenter,
                       .Long = tlTop,
                       .Vertical = true,
                       .CharSpace = 3};
    d.Text(QRect(760, 740, 200, 700), "謹賀新年", v);
    d.Text(QRect(420, 760, 320, 660), "旧年中は大変お世話になりました\r\n本年もどうぞよろしく\r\nお願い申し上げます",
           [&] {
               TTextStyle body = v.Sized(10).Colored(kInk).Aligned(psRight, tlTop);
               body.CharSpace = 0;
               return body;
           }());
    // The year of the chosen start in kanji numerals, written vertically.
    d.Field(QRect(330, 760, 90, 175), TPriField::kYearCategory, 1,
            {.Face = kMincho,
             .Size = 11,
             .Color = kInk,
             .Side = psCenter,
             .Long = tlTop,
             .Vertical = true,
             .KanjiDigits = true});
    d.Text(QRect(330, 940, 90, 250), "年　元旦",
           {.Face = kMincho, .Size = 11, .Color = kInk, .Side = psCenter, .Vertical = true});
    const int x = 50, cell = 38;
    d.MonthTitle(QRect(x, 1090, 60, 60), 1, {.Face = kPMincho, .Size = 12, .Color = RGBColor(170, 30, 40)}, false);
    d.WeekHeader(QRect(x, 1160, cell * 7, 30), kWeekSun, false, {.Face = kPGothic, .Size = 5, .Color = kSoftInk});
    d.Calendar(QRect(x, 1195, cell * 7, 220), 1, {.Face = kGothic, .Size = 6});
}

void HagakiLandscape(TDesign& d) {
    d.Background(TArt::Night, 61);
    d.Box(QRect(60, 700, 1360, 200), TBltShape::RoundRect, clWhite, clNone, 1, 30);
    const TTextStyle title{.Face = kPGothic, .Size = 40, .Color = clWhite, .Bold = true};
    d.MonthTitle(QRect(80, 380, 220, 200), 1, title, false);
    d.Field(QRect(80, 560, 400, 70), TPriField::kMonthTitleYearCategory, 1,
            title.Sized(12).Colored(RGBColor(220, 225, 245)).Aligned(psLeft, tlTop));
    d.Text(QRect(700, 460, 700, 120), "星降る夜に",
           {.Face = kPMincho,
            .Size = 20,
            .Color = RGBColor(240, 236, 210),
            .Side = psRight,
            .Long = tlCenter,
            .CharSpace = 2});
    // One row of 31 days across the panel.
    const QRect row(100, 720, 31 * 41, 160);
    d.Calendar(row, 1,
               {.Face = kGothic,
                .Size = 11,
                .Day = kNavy,
                .Side = TPriCarendar::TSidePos::psCenter,
                .Long = TPriCarendar::TLongPos::tlCenter,
                .Type = TCarenType::caSide});
}

// ---------------------------------------------------------------------------------------------
// L (89 x 127 mm)

void LPhoto(TDesign& d) {
    d.Picture(QRect(50, 50, 790, 620), TArt::Sakura, 71);
    const TTextStyle title{.Face = kPGothic, .Size = 24, .Color = kRose, .Bold = true};
    d.MonthTitle(QRect(60, 700, 130, 110), 1, title, true);
    const int x = 60, cell = 110;
    d.WeekHeader(QRect(x, 830, cell * 7, 50), kWeekSun, false, {.Face = kPGothic, .Size = 7, .Color = kSoftInk});
    const QRect grid(x, 885, cell * 7, 340);
    d.GridRules(grid, 7, 6, kRule, false);
    d.Calendar(grid, 1, {.Face = kGothic, .Size = 9});
}

void LLandscape(TDesign& d) {
    d.Picture(QRect(0, 0, 620, 890), TArt::Komorebi, 81);
    const TTextStyle title{.Face = kPMincho, .Size = 28, .Color = kForest};
    d.MonthTitle(QRect(660, 60, 150, 130), 1, title, true);
    d.Line(QPoint(660, 210), QPoint(1230, 210), kForest);
    const int x = 660, cell = 81;
    d.WeekHeader(QRect(x, 240, cell * 7, 50), kWeekSun, false, {.Face = kPGothic, .Size = 6, .Color = kSoftInk});
    const QRect grid(x, 300, cell * 7, 540);
    d.GridRules(grid, 7, 6, kRule, false);
    d.Calendar(grid, 1, {.Face = kGothic, .Size = 9});
}

void LNight(TDesign& d) {
    d.Background(TArt::Sea, 91);
    d.Box(QRect(60, 560, 770, 650), TBltShape::RoundRect, clWhite, clNone, 1, 24);
    const TTextStyle title{.Face = kPGothic, .Size = 30, .Color = kNavy, .Bold = true};
    d.MonthTitle(QRect(70, 360, 160, 160), 1, title, false);
    d.Field(QRect(500, 440, 300, 80), TPriField::kMonthTitleYearCategory, 1,
            title.Sized(12).Aligned(psRight, tlBottom));
    const int x = 100, cell = 98;
    d.WeekHeader(QRect(x, 600, cell * 7, 50), kWeekSunEn, false, {.Face = kPGothic, .Size = 5, .Color = kSoftInk});
    d.Calendar(QRect(x, 660, cell * 7, 520), 1, {.Face = kGothic, .Size = 9, .Day = kNavy});
}

// ---------------------------------------------------------------------------------------------
// Meishi (91 x 55 mm seats on an A4 card sheet)

void MiniMonth(TDesign& d, QRect r, const TTextStyle& title, TColor rule) {
    const int cell = r.width() / 7;
    d.MonthTitle(QRect(r.left(), r.top(), 50, 50), 1, title, true);
    d.WeekHeader(QRect(r.left(), r.top() + 60, cell * 7, 24), kWeekSun, false,
                 {.Face = kPGothic, .Size = 4, .Color = kSoftInk});
    d.Line(QPoint(r.left(), r.top() + 86), QPoint(r.left() + cell * 7, r.top() + 86), rule);
    d.Calendar(QRect(r.left(), r.top() + 90, cell * 7, r.height() - 90), 1, {.Face = kGothic, .Size = 5});
}

void MeishiCalendar(TDesign& d) {
    d.Box(QRect(0, 0, 40, 550), TBltShape::RectAngle, kTeal);
    const TTextStyle t{.Face = kPGothic, .Size = 7, .Color = kSoftInk};
    d.Text(QRect(90, 50, 500, 50), "こもれび珈琲店", t.Sized(8).Colored(kTeal));
    d.Text(QRect(90, 110, 500, 40), "店長", t.Sized(6));
    d.Text(QRect(90, 150, 520, 110), "山田 花子", {.Face = kPMincho, .Size = 18, .Color = kInk, .CharSpace = 1});
    d.Line(QPoint(90, 290), QPoint(560, 290), kRule);
    d.Text(QRect(90, 320, 520, 200), "〒100-0001 東京都千代田区1-1-1\r\nTEL 03-1234-5678\r\nhanako@example.jp",
           t.Sized(6));
    MiniMonth(d, QRect(610, 60, 266, 420), {.Face = kPGothic, .Size = 8, .Color = kTeal, .Bold = true}, kRule);
}

void MeishiVertical(TDesign& d) {
    d.Box(QRect(0, 0, 550, 910), TBltShape::RectAngle, RGBColor(252, 250, 244));
    d.Box(QRect(30, 30, 490, 850), TBltShape::RectAngle, clNone, kGold, 1);
    const TTextStyle v{
        .Face = kMincho, .Size = 20, .Color = kInk, .Side = psCenter, .Long = tlTop, .Vertical = true, .CharSpace = 2};
    d.Text(QRect(230, 120, 110, 480), "山田 花子", v);
    TTextStyle small = v.Sized(7).Colored(kSoftInk);
    small.CharSpace = 0;
    d.Text(QRect(360, 120, 80, 400), "こもれび書房　編集部", small);
    d.Text(QRect(80, 120, 140, 440), "東京都千代田区一の一の一\r\n電話 〇三・一二三四・五六七八",
           small.Sized(6).Colored(kInk));
    MiniMonth(d, QRect(80, 620, 392, 240), {.Face = kPMincho, .Size = 8, .Color = kGold}, kGold);
}

void MeishiShop(TDesign& d) {
    d.Picture(QRect(0, 0, 910, 190), TArt::Sakura, 101);
    d.Text(QRect(40, 210, 560, 90), "花と雑貨 こもれび",
           {.Face = kPMincho, .Size = 13, .Color = kRose, .Long = tlCenter});
    d.Text(QRect(40, 300, 560, 70), "営業 10:00～19:00　TEL 03-1234-5678",
           {.Face = kPGothic, .Size = 6, .Color = kSoftInk, .Long = tlCenter});
    d.Field(QRect(620, 220, 120, 140), TPriField::kMonthTitleCategory, 1,
            {.Face = kPGothic, .Size = 22, .Color = kRose, .Bold = true, .Side = psRight, .Long = tlBottom});
    d.Text(QRect(745, 290, 140, 70), "月の営業日", {.Face = kPGothic, .Size = 6, .Color = kSoftInk, .Long = tlBottom});
    const QRect row(40, 440, 31 * 27, 60);
    d.Calendar(row, 1,
               {.Face = kGothic,
                .Size = 5,
                .Filled = true,
                .SunBack1 = RGBColor(252, 226, 232),
                .HoliBack = RGBColor(252, 226, 232),
                .Type = TCarenType::caSide});
}

// ---------------------------------------------------------------------------------------------

struct TTemplateDef {
    QString Folder;
    QString Name;
    std::function<TPriPaper()> Paper;
    std::function<void(TDesign&)> Build;
};

const std::vector<TTemplateDef>& Templates() {
    static const std::vector<TTemplateDef> defs = {
        {"A4", "年間カレンダー", [] { return A4(); }, A4YearCalendar},
        {"A4", "フォトカレンダー", [] { return A4(); }, A4PhotoMonthly},
        {"A4", "縦書き月間予定表", [] { return A4(); }, A4VerticalSchedule},
        {"A4", "暦入りカレンダー", [] { return A4(); }, A4AlmanacMonthly},
        {"A5", "卓上フォトカレンダー", [] { return A5(false); }, A5DeskPhoto},
        {"A5", "シンプル月めくり", [] { return A5(); }, A5Simple},
        {"A5", "2か月カレンダー", [] { return A5(); }, A5TwoMonths},
        {"Hagaki", "フォトフレーム", [] { return Hagaki(); }, HagakiPhotoFrame},
        {"Hagaki", "年賀状", [] { return Hagaki(); }, HagakiNewYear},
        {"Hagaki", "星空の横長カレンダー", [] { return Hagaki(false); }, HagakiLandscape},
        {"L", "桜のフォトカレンダー", [] { return LSize(); }, LPhoto},
        {"L", "木漏れ日の横長カレンダー", [] { return LSize(false); }, LLandscape},
        {"L", "海辺のカレンダー", [] { return LSize(); }, LNight},
        {"Meishi", "名刺カレンダー", [] { return CardSheet(910, 550, 2, 5); }, MeishiCalendar},
        {"Meishi", "縦書き名刺", [] { return CardSheet(550, 910, 3, 3); }, MeishiVertical},
        {"Meishi", "ショップカード", [] { return CardSheet(910, 550, 2, 5); }, MeishiShop},
    };
    return defs;
}

// ---------------------------------------------------------------------------------------------
// Thumbnails: the saved template loaded again and drawn through the print path

QImage RenderSeat(TPriDocument& doc, int dpi) {
    return TPageExport::RenderSeat(doc, dpi, true);
}

bool MakeThumbnail(const QString& tda, const QString& appPath, QString& error) {
    TPriDocument doc(appPath);
    if (!TTemplateDesign::Done(doc.Load(tda, 0), error)) return false;
    doc.ApplyStartMonth(kDesignYear, 1);
    doc.ScaleToPaper();
    const QImage page = RenderSeat(doc, TTemplateDesign::ThumbnailDpi(doc.PrintPaper));
    return TTemplateDesign::WriteThumbnail(page, tda, error);
}

bool MakeTemplate(const TTemplateDef& def, const QString& root, const QString& appPath, QString& error) {
    TDesign design(def.Paper(), appPath);
    def.Build(design);
    TPriDocument& doc = design.Doc();
    doc.ScaleToPaper();
    const QString path = root + "/" + def.Folder + "/" + def.Name + ".tda";
    if (!TTemplateDesign::Done(doc.Save(path, 0), error)) return false;
    return TTemplateDesign::RoundTrips(path, appPath, error) && MakeThumbnail(path, appPath, error);
}

// The data-merge examples come from make_merge_templates and stay: they print merged, these never do.
bool IsMergeTemplate(const QString& tda, const QString& appPath) {
    TPriDocument doc(appPath);
    return doc.Load(tda, 0).Ok && doc.PrintMode != 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    TObjectKinds::RegisterAll();
    const QString root =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data/Template")).absolutePath();
    const QString appPath = QFileInfo(root).path() + "/";
    if (!QFileInfo::exists(TPriCarendar::HolidayFile(appPath)))
        std::fprintf(stderr, "make_templates: no %s, the thumbnails show no holidays\n",
                     qPrintable(TPriCarendar::HolidayFile(appPath)));

    // Old designs that were renamed or dropped must not linger in the chooser.
    for (const char* kind : {"A4", "A5", "Hagaki", "L", "Meishi"}) {
        QDir folder(root + "/" + kind);
        if (!folder.exists() && !QDir().mkpath(folder.path())) {
            std::fprintf(stderr, "make_templates: cannot create %s\n", qPrintable(folder.path()));
            return 1;
        }
        for (const QString& name : folder.entryList({"*.tda"}, QDir::Files))
            if (!IsMergeTemplate(folder.filePath(name), appPath)) folder.remove(name);
        for (const QString& name : folder.entryList({"*.jpg"}, QDir::Files))
            if (!folder.exists(QFileInfo(name).completeBaseName() + ".tda")) folder.remove(name);
    }
    int failures = 0;
    for (const TTemplateDef& def : Templates()) {
        QString error;
        if (MakeTemplate(def, root, appPath, error)) {
            std::printf("%s/%s.tda\n", qPrintable(def.Folder), qPrintable(def.Name));
        } else {
            std::fprintf(stderr, "make_templates: %s/%s: %s\n", qPrintable(def.Folder), qPrintable(def.Name),
                         qPrintable(error));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
