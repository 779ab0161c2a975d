#include "calendar/PriCarendar.h"
#include "calendar/HolidayRules.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

using TSide = TPriCarendar::TSidePos;
using TLong = TPriCarendar::TLongPos;

struct TCellCall {
    QString Text;
    QRect Cell;
    int Size;
    TColor TextColor;
    TSide Side;
    TLong Long;
    TColor Back;
    bool Transparent;
};

// Records every cell it is asked to draw, then draws it.
class TRecordingCalendar : public TPriCarendar {
public:
    std::vector<TCellCall> Calls;

    bool DrawCell(QPainter& canvas, const QString& text, int x, int y, int w, int h, int size, TColor textColor,
                  TSide side, TLong longPos, TColor back, bool transparent) override {
        Calls.push_back({text, QRect(x, y, w, h), size, textColor, side, longPos, back, transparent});
        return TPriCarendar::DrawCell(canvas, text, x, y, w, h, size, textColor, side, longPos, back, transparent);
    }
    const TCellCall* Find(const QString& text) const {
        for (const TCellCall& c : Calls)
            if (c.Text == text) return &c;
        return nullptr;
    }
    int CountText() const {
        int n = 0;
        for (const TCellCall& c : Calls)
            n += !c.Text.isEmpty();
        return n;
    }
};

// A page bitmap at 100 % for a 352 x 250 calendar at (10, 20).
struct TPage {
    QImage Image{400, 300, QImage::Format_RGB32};
    TPage() { Image.fill(Qt::white); }
};

void Place(TPriCarendar& c, TPage& page, QRect bounds = QRect(10, 20, 352, 250)) {
    c.BackImage = &page.Image;
    c.SetBaseSize(QPoint(page.Image.width(), page.Image.height()));
    c.SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
}

void Draw(TPriCarendar& c, TPage& page) {
    page.Image.fill(Qt::white);
    QPainter p(&page.Image);
    c.DrawObject(bmLayout, p);
}

void SetDate(TPriCarendar& c, int year, int month, TStartYoubi start, TStepCount steps) {
    c.SetStartYoubi(start);
    c.StepCount = steps;
    c.SetYear(year);
    c.SetMonth(month);
}

bool ColumnAllBlack(const QImage& img, int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
        if (img.pixel(x, y) != qRgb(0, 0, 0)) return false;
    return true;
}

bool RowAllBlack(const QImage& img, int y, int x0, int x1) {
    for (int x = x0; x <= x1; ++x)
        if (img.pixel(x, y) != qRgb(0, 0, 0)) return false;
    return true;
}

// Leftmost and rightmost non-white columns inside a rectangle, or -1.
std::pair<int, int> InkSpan(const QImage& img, const QRect& r) {
    int left = -1, right = -1;
    for (int x = r.left(); x <= r.right(); ++x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) {
                if (left < 0) left = x;
                right = x;
                break;
            }
    return {left, right};
}

QString HolidayPath() {
    return QStringLiteral(KOMOREBI_SOURCE_DIR "/data/HolidayList/holiday.dat");
}

} // namespace

TEST(PriCarendarTest, DefaultsOfANewCalendar) {
    TPriCarendar c;
    EXPECT_EQ(c.ObjectNum, okCarendar);
    EXPECT_TRUE(c.TransParent);
    EXPECT_TRUE(c.GridCheck);
    EXPECT_EQ(c.SameFSize, 14);
    EXPECT_EQ(c.StartYoubi(), TStartYoubi::syMon);
    EXPECT_EQ(c.StepCount, TStepCount::sc6);
    EXPECT_EQ(c.SunColor, 0x0000FF);
    EXPECT_EQ(c.DaybackColor1, TColor(0x02FFFAE6));
    EXPECT_EQ(c.HolibackColor2, TColor(0x02EBDCFF));
    EXPECT_EQ(c.FontName, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_FALSE(c.HolidayCheck());
    // The day table is current from the start.
    EXPECT_GE(c.DayCount(), 28);
}

// Zeller's congruence against an independent day count for every day of three centuries.
TEST(PriCarendarTest, GetYoubiAgreesWithTheCivilCalendar) {
    EXPECT_EQ(TPriCarendar::GetYoubi(2000, 1, 1), 0); // Saturday
    EXPECT_EQ(TPriCarendar::GetYoubi(2024, 9, 1), 1); // Sunday
    EXPECT_EQ(TPriCarendar::GetYoubi(2024, 3, 1), 6); // Friday
    for (int y = 1900; y <= 2100; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= THolidayRules::DaysInMonth(y, m); ++d)
                ASSERT_EQ(TPriCarendar::GetYoubi(y, m, d), (THolidayRules::DayOfWeek(y, m, d) + 1) % 7)
                    << y << "-" << m << "-" << d;
}

TEST(PriCarendarTest, DayTableStartCellsAndLengths) {
    struct TCase {
        int Year, Month;
        TStartYoubi Start;
        TCarenType Type;
        int StartCell, Days, SunPos, SatPos;
    } cases[] = {
        {2024, 6, TStartYoubi::sySun, TCarenType::caNormal, 6, 30, 0, 6}, // starts on a Saturday
        {2024, 3, TStartYoubi::sySun, TCarenType::caNormal, 5, 31, 0, 6}, // starts on a Friday
        {2024, 6, TStartYoubi::syMon, TCarenType::caNormal, 5, 30, 6, 5}, // Saturday, Monday first
        {2024, 9, TStartYoubi::syMon, TCarenType::caNormal, 6, 30, 6, 5}, // Sunday, Monday first
        {2024, 7, TStartYoubi::syMon, TCarenType::caNormal, 0, 31, 6, 5}, // Monday, Monday first
        {2024, 9, TStartYoubi::syMon, TCarenType::caSide, 0, 30, 0, 6},   // one-line layouts count from Sunday
        {2000, 1, TStartYoubi::sySun, TCarenType::caNormal, 6, 31, 0, 6}, // 1 January 2000 is a Saturday
        {2000, 2, TStartYoubi::sySun, TCarenType::caNormal, 2, 29, 0, 6}, // leap by 400
        {2100, 2, TStartYoubi::sySun, TCarenType::caNormal, 1, 28, 0, 6}, // not leap by 100
        {2023, 2, TStartYoubi::sySun, TCarenType::caNormal, 3, 28, 0, 6},
    };
    for (const TCase& k : cases) {
        TPriCarendar c;
        c.SetCarenType(k.Type);
        SetDate(c, k.Year, k.Month, k.Start, TStepCount::sc6);
        EXPECT_EQ(c.StartCell(), k.StartCell) << k.Year << "-" << k.Month;
        EXPECT_EQ(c.DayCount(), k.Days) << k.Year << "-" << k.Month;
        EXPECT_EQ(c.SunPos(), k.SunPos);
        EXPECT_EQ(c.SatPos(), k.SatPos);
        EXPECT_EQ(c.DayAt(k.StartCell), 1);
        EXPECT_EQ(c.DayAt(k.StartCell - 1), 0);
        EXPECT_EQ(c.DayAt(k.StartCell + k.Days - 1), k.Days);
        EXPECT_EQ(c.DayAt(k.StartCell + k.Days), 0);
    }
}

TEST(PriCarendarTest, FiveRowsShareTheLastCellsAt80Percent) {
    struct TCase {
        int Month;
        QString Upper, Lower, Ordinary;
    } cases[] = {
        {6, "23", "30", "24"}, // June 2024: 24 keeps its own cell, nothing below it
        {3, "24", "31", "25"}, // March 2024
    };
    for (const TCase& k : cases) {
        TPage page;
        TRecordingCalendar c;
        Place(c, page);
        SetDate(c, 2024, k.Month, TStartYoubi::sySun, TStepCount::sc5);
        Draw(c, page);
        const TCellCall* upper = c.Find(k.Upper);
        const TCellCall* lower = c.Find(k.Lower);
        const TCellCall* ordinary = c.Find(k.Ordinary);
        ASSERT_TRUE(upper && lower && ordinary);
        // Row 4, column 0 of a 352 x 250 grid: x 10, y 20 + 4 * 50, 51 x 50.
        EXPECT_EQ(upper->Cell, QRect(10, 220, 25, 25));
        EXPECT_EQ(lower->Cell, QRect(10 + 25, 220 + 25, 25, 25));
        EXPECT_EQ(upper->Size, 11); // Trunc(14 * 0.8)
        EXPECT_EQ(lower->Size, 11);
        EXPECT_EQ(upper->Side, TSide::psCenter);
        EXPECT_EQ(lower->Long, TLong::tlCenter);
        EXPECT_TRUE(upper->Transparent);
        EXPECT_EQ(upper->TextColor, c.SunColor); // column 0 is Sunday
        EXPECT_EQ(ordinary->Cell, QRect(61, 220, 51, 50));
        EXPECT_EQ(ordinary->Size, 14);
        EXPECT_EQ(c.CountText(), c.DayCount());
    }

    // Six rows: the 31st has its own cell in row 5.
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    SetDate(c, 2024, 3, TStartYoubi::sySun, TStepCount::sc6);
    Draw(c, page);
    ASSERT_TRUE(c.Find("31"));
    EXPECT_EQ(c.Find("31")->Cell, QRect(10, 20 + 5 * 42 - 1, 51, 41));
    EXPECT_EQ(c.Find("24")->Size, 14);
}

TEST(PriCarendarTest, GridOf352By250HasUnevenColumnsAndRows) {
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    SetDate(c, 2024, 6, TStartYoubi::sySun, TStepCount::sc6);
    c.SetForcusCheck(false);
    Draw(c, page);
    // Cell widths 51, 51, 50 ... and heights 42 x 4, 41 x 2, read from the cells drawn.
    const TCellCall* first = c.Find("1"); // row 0, column 6
    const TCellCall* d2 = c.Find("2");    // row 1, column 0
    const TCellCall* d3 = c.Find("3");    // row 1, column 1
    const TCellCall* d4 = c.Find("4");    // row 1, column 2
    const TCellCall* d30 = c.Find("30");  // row 5, column 0
    ASSERT_TRUE(first && d2 && d3 && d4 && d30);
    EXPECT_EQ(first->Cell, QRect(10 + 302, 20, 50, 42));
    EXPECT_EQ(d2->Cell, QRect(10, 62, 51, 42));
    EXPECT_EQ(d3->Cell, QRect(61, 62, 51, 42));
    EXPECT_EQ(d4->Cell, QRect(112, 62, 50, 42));
    EXPECT_EQ(d30->Cell, QRect(10, 20 + 209, 51, 41));

    for (int x : {0, 51, 102, 152, 202, 252, 302, 352})
        EXPECT_TRUE(ColumnAllBlack(page.Image, 10 + x, 20, 270)) << x;
    for (int y : {0, 42, 84, 126, 168, 209, 250})
        EXPECT_TRUE(RowAllBlack(page.Image, 20 + y, 10, 362)) << y;
    EXPECT_FALSE(ColumnAllBlack(page.Image, 10 + 50, 20, 270));
    EXPECT_FALSE(RowAllBlack(page.Image, 20 + 43, 10, 362));

    c.GridCheck = false;
    Draw(c, page);
    EXPECT_FALSE(ColumnAllBlack(page.Image, 10, 20, 270));
}

TEST(PriCarendarTest, SideLayoutNumbersTheMonthAndDraws32Lines) {
    TPage page;
    TRecordingCalendar c;
    c.SetCarenType(TCarenType::caSide);
    Place(c, page, QRect(5, 50, 372, 40)); // 31 columns of 12 pixels
    SetDate(c, 2023, 2, TStartYoubi::syMon, TStepCount::sc6);
    Draw(c, page);
    EXPECT_EQ(c.CountText(), 28);
    EXPECT_EQ(c.Find("28")->Cell, QRect(5 + 27 * 12, 50, 12, 40));
    // 1 February 2023 was a Wednesday: the 5th is the first Sunday, the 4th the first Saturday.
    EXPECT_EQ(c.Find("5")->TextColor, c.SunColor);
    EXPECT_EQ(c.Find("12")->TextColor, c.SunColor);
    EXPECT_EQ(c.Find("4")->TextColor, c.SatColor);
    EXPECT_EQ(c.Find("4")->Back, c.SatbackColor1);
    int lines = 0;
    for (int x = 0; x < page.Image.width(); ++x)
        lines += ColumnAllBlack(page.Image, x, 50, 90);
    EXPECT_EQ(lines, 32);
    EXPECT_TRUE(RowAllBlack(page.Image, 50, 5, 377));
    EXPECT_TRUE(RowAllBlack(page.Image, 90, 5, 377));
}

TEST(PriCarendarTest, LongLayoutStacksTheDays) {
    TPage page;
    TRecordingCalendar c;
    c.SetCarenType(TCarenType::caLong);
    Place(c, page, QRect(20, 5, 60, 280)); // 31 rows: 9 pixels, the first 1 row 10
    SetDate(c, 2024, 9, TStartYoubi::sySun, TStepCount::sc6);
    Draw(c, page);
    EXPECT_EQ(c.CountText(), 30);
    EXPECT_EQ(c.Find("1")->Cell, QRect(20, 5, 60, 10));
    EXPECT_EQ(c.Find("2")->Cell, QRect(20, 15, 60, 9));
    EXPECT_EQ(c.Find("1")->TextColor, c.SunColor); // 1 September 2024 was a Sunday
    int lines = 0;
    for (int y = 0; y < page.Image.height(); ++y)
        lines += RowAllBlack(page.Image, y, 20, 80);
    EXPECT_EQ(lines, 32);
}

TEST(PriCarendarTest, ColourClassesWithHolidaysAndAlternatingRows) {
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    c.LoadHoliday(HolidayPath());
    ASSERT_TRUE(c.HolidayCheck());
    c.TransParent = false;
    // November 2024, Sunday first: 3rd (Culture Day) is a Sunday, 4th its substitute.
    SetDate(c, 2024, 11, TStartYoubi::sySun, TStepCount::sc6);
    c.HoliColor = RGBColor(0, 128, 0);
    Draw(c, page);
    struct TCase {
        const char* Day;
        TColor Text, Back;
    } cases[] = {
        {"3", c.HoliColor, c.HolibackColor2},  // row 1: set 2, holiday beats Sunday
        {"4", c.HoliColor, c.HolibackColor2},  // substitute holiday
        {"10", c.SunColor, c.SunbackColor1},   // row 2: set 1
        {"9", c.SatColor, c.SatbackColor2},    // row 1 Saturday
        {"1", c.DayColor, c.DaybackColor1},    // row 0
        {"23", c.HoliColor, c.HolibackColor2}, // Labour Thanksgiving on a Saturday
        {"5", c.DayColor, c.DaybackColor2},
    };
    for (const TCase& k : cases) {
        const TCellCall* call = c.Find(k.Day);
        ASSERT_TRUE(call) << k.Day;
        EXPECT_EQ(call->TextColor, k.Text) << k.Day;
        EXPECT_EQ(call->Back, k.Back) << k.Day;
        EXPECT_FALSE(call->Transparent);
    }
    // The palette-relative marker is drawn as the plain colour.
    const QRect cell4 = c.Find("4")->Cell;
    EXPECT_EQ(QColor(page.Image.pixel(cell4.right() - 2, cell4.bottom() - 2)), QColor(0xFF, 0xDC, 0xEB));
}

TEST(PriCarendarTest, WithoutTheHolidayFileSundaysKeepTheirColours) {
    QTemporaryDir dir;
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    c.LoadHoliday(dir.filePath(QStringLiteral("HolidayList/holiday.dat")));
    EXPECT_FALSE(c.HolidayCheck());
    SetDate(c, 2024, 11, TStartYoubi::sySun, TStepCount::sc6);
    Draw(c, page);
    EXPECT_EQ(c.Find("3")->TextColor, c.SunColor);
    EXPECT_EQ(c.Find("4")->TextColor, c.DayColor);
}

TEST(PriCarendarTest, TransparencyDecidesWhichCellsAreFilled) {
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    SetDate(c, 2024, 6, TStartYoubi::syMon, TStepCount::sc6);
    c.GridCheck = false;
    Draw(c, page);
    for (const TCellCall& call : c.Calls)
        EXPECT_TRUE(call.Transparent) << call.Text.toStdString();
    EXPECT_EQ(int(c.Calls.size()), 30); // empty cells are not even visited for filling
    EXPECT_EQ(page.Image.pixel(12, 22), qRgb(255, 255, 255));

    c.Calls.clear();
    c.TransParent = false;
    Draw(c, page);
    EXPECT_EQ(int(c.Calls.size()), 42);
    // Row 0 of June 2024 with Monday first: five empty cells, then Saturday 1 and Sunday 2.
    EXPECT_TRUE(c.Calls[0].Text.isEmpty());
    EXPECT_FALSE(c.Calls[0].Transparent);
    EXPECT_EQ(c.Calls[0].Back, c.DaybackColor1);
    // Row 5: after the 30th (Sunday of row 4) the empty cells use set 2 and the column classes.
    const TCellCall& lastSat = c.Calls[41 - 1];
    EXPECT_TRUE(lastSat.Text.isEmpty());
    EXPECT_EQ(lastSat.Back, c.SatbackColor2);
    EXPECT_EQ(c.Calls[41].Back, c.SunbackColor2);
    EXPECT_EQ(QColor(page.Image.pixel(12, 22)), QColor(0xE6, 0xFA, 0xFF));
}

TEST(PriCarendarTest, OneDigitNumbersGetALeadingSpaceUnlessCentred) {
    TPage page;
    TPriCarendar c;
    Place(c, page);
    QPainter p(&page.Image);
    const QRect cell(0, 0, 120, 60);
    auto ink = [&](const char* text, TSide side) {
        page.Image.fill(Qt::white);
        c.DrawCell(p, QString::fromLatin1(text), cell.x(), cell.y(), cell.width(), cell.height(), 14, clBlack, side,
                   TLong::tlTop, clWhite, true);
        return InkSpan(page.Image, cell);
    };
    // "5" padded to " 5" ends where "15" ends and starts about one digit to the right.
    const auto left5 = ink("5", TSide::psLeft), left15 = ink("15", TSide::psLeft);
    EXPECT_GT(left5.first - left15.first, 6);
    EXPECT_NEAR(left5.second, left15.second, 1);
    const auto right5 = ink("5", TSide::psRight), right15 = ink("15", TSide::psRight);
    EXPECT_NEAR(right5.second, right15.second, 1);
    const auto centre5 = ink("5", TSide::psCenter), centre15 = ink("15", TSide::psCenter);
    EXPECT_NEAR((centre5.first + centre5.second) / 2, (centre15.first + centre15.second) / 2, 2);
    // An empty text fills the background only.
    page.Image.fill(Qt::white);
    EXPECT_TRUE(c.DrawCell(p, QString(), 0, 0, 10, 10, 14, clBlack, TSide::psLeft, TLong::tlTop, clRed, false));
    EXPECT_EQ(page.Image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(page.Image.pixel(10, 10), qRgb(255, 255, 255));
}

TEST(PriCarendarTest, FontSizeFollowsTheZoomWithThe07Rule) {
    struct TCase {
        int PageHeight, BaseHeight, Same, Expected;
    } cases[] = {
        {1683, 1122, 14, 21}, // 150 %
        {1122, 1122, 14, 14}, // 100 %
        {2244, 1122, 14, 28}, // 200 %
        {250, 1000, 59, 15},  // 14.75
        {200, 1000, 73, 14},  // 14.6
        {100, 0, 14, 14},     // no paper size yet
    };
    for (const TCase& k : cases) {
        QImage image(10, k.PageHeight, QImage::Format_RGB32);
        TPriCarendar c;
        c.BackImage = &image;
        c.SetBaseSize(QPoint(10, k.BaseHeight));
        c.SameFSize = k.Same;
        EXPECT_EQ(c.GetFontSize(), k.Expected) << k.PageHeight << "/" << k.BaseHeight;
    }
}

TEST(PriCarendarTest, ScalingKeepsThePaperPixelsAsBaseSize) {
    QImage image(1586, 2244, QImage::Format_RGB32);
    TPriCarendar c;
    c.BackImage = &image;
    c.SetStoreRect(QRect(100, 100, 600, 500));
    c.ScaleToView(QSize(1586, 2244), QSize(793, 1122), 96);
    EXPECT_EQ(c.BaseSize(), QPoint(793, 1122));
    EXPECT_EQ(c.GetFontSize(), 28);
    c.ScaleToStore(QSize(793, 1122), QSize(800, 1100), 96);
    EXPECT_EQ(c.BaseSize(), QPoint(800, 1100));
}

TEST(PriCarendarTest, ScheduleDrawsNothingButTheFrame) {
    TPage page;
    TRecordingCalendar c;
    Place(c, page);
    c.SetCarenType(TCarenType::caSchedule);
    c.TransParent = false;
    Draw(c, page);
    EXPECT_TRUE(c.Calls.empty());
    EXPECT_EQ(InkSpan(page.Image, page.Image.rect()).first, -1);

    c.MakeHandles();
    c.SetForcusCheck(true);
    Draw(c, page);
    // The selection frame is black, not the sky blue of other objects.
    EXPECT_EQ(page.Image.pixel(10, 20 + 100), qRgb(0, 0, 0));
    EXPECT_EQ(page.Image.pixel(10 + 100, 20), qRgb(0, 0, 0));
    EXPECT_EQ(page.Image.pixel(100, 100), qRgb(255, 255, 255));
}

// Printed day numbers take SameFSize on the device whatever the screen shows.
TEST(PriCarendarTest, PrintingIgnoresTheScreenZoom) {
    auto print = [](int pageHeight) {
        QImage screen(10, pageHeight, QImage::Format_RGB32);
        TRecordingCalendar c;
        c.BackImage = &screen;
        c.SetBaseSize(QPoint(10, 1122));
        c.SetStoreRect(QRect(0, 0, 600, 500)); // 60 x 50 mm
        SetDate(c, 2024, 6, TStartYoubi::sySun, TStepCount::sc6);
        QImage device(720, 600, QImage::Format_RGB32); // 300 dpi
        device.fill(Qt::white);
        QPainter p(&device);
        c.PrintDraw(p, QRect(4, 5, 709, 591), true, QPoint(), TRect(), device.rect());
        p.end();
        EXPECT_FALSE(c.ThinLine());
        EXPECT_EQ(c.Find("1")->Size, 14);
        return device;
    };
    const QImage at100 = print(1122), at200 = print(2244);
    EXPECT_EQ(at100, at200);
    // Lines are 4 device pixels wide.
    int dark = 0;
    for (int x = 0; x < 9; ++x)
        dark += at100.pixel(x, 390) == qRgb(0, 0, 0);
    EXPECT_EQ(dark, 4);
}

TEST(PriCarendarTest, RecordRoundTripsByteForByte) {
    TPriCarendar c;
    c.SetStoreRect(QRect(120, 340, 600, 450));
    c.SetYear(2025);
    c.SetMonth(11);
    c.SunColor = -16; // a system colour, stored sign-extended
    c.SetCarenType(TCarenType::caLong);
    c.CarenMonth = TCarenMonth::cm12;
    c.StepCount = TStepCount::sc5;
    c.SidePos = TSide::psRight;
    c.LongPos = TLong::tlBottom;
    c.BeDayBltCheck = true;
    c.GridCheck = false;
    c.SameFSize = 22;
    c.HolibackColor2 = RGBColor(1, 2, 3);
    TStreamWriter w;
    ASSERT_TRUE(c.SaveToStream(w, 6));
    const QByteArray bytes = w.Bytes();
    const int nameBytes = 13; // "ＭＳ ゴシック" in CP932
    ASSERT_EQ(bytes.size(), 28 + 144 + nameBytes);
    EXPECT_EQ(bytes.mid(28, 8), QByteArray::fromHex("e90700000b000000"));
    EXPECT_EQ(bytes.mid(44, 8), QByteArray::fromHex("f0ffffffffffffff"));

    TPriCarendar d;
    TStreamReader r(bytes);
    ASSERT_TRUE(d.LoadFromStream(r, 6));
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(d.Year(), 2025);
    EXPECT_EQ(d.Month(), 11);
    EXPECT_EQ(d.SunColor, -16);
    EXPECT_EQ(d.CarenType(), TCarenType::caLong);
    EXPECT_EQ(d.FontName, c.FontName);
    EXPECT_EQ(d.StoreRect(), c.StoreRect());
    TStreamWriter w2;
    d.SaveToStream(w2, 6);
    EXPECT_EQ(w2.Bytes(), bytes);
}

TEST(PriCarendarTest, CorruptRecordsAreRefusedOrBroughtIntoRange) {
    TPriCarendar c;
    c.SetYear(2025);
    c.SetMonth(5);
    TStreamWriter w;
    c.SaveToStream(w, 6);
    const QByteArray good = w.Bytes();

    auto withInt = [&](int offset, int32_t value) {
        QByteArray b = good;
        for (int i = 0; i < 4; ++i)
            b[offset + i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
        return b;
    };
    struct TCase {
        int32_t Month;
        int Expected;
    } months[] = {{13, 12}, {0, 1}, {-5, 1}, {1000000, 12}};
    for (const TCase& k : months) {
        TPriCarendar d;
        TStreamReader r(withInt(32, k.Month));
        ASSERT_TRUE(d.LoadFromStream(r, 6));
        EXPECT_EQ(d.Month(), k.Expected);
        EXPECT_GE(d.DayCount(), 28);
        EXPECT_LE(d.DayCount(), 31);
    }

    // Only the low byte of an enumeration counts.
    {
        const int typeOffset = 28 + 8 + 32 + 4 + 13 + 4 + 4;
        TPriCarendar d;
        TStreamReader r(withInt(typeOffset, 0x101));
        ASSERT_TRUE(d.LoadFromStream(r, 6));
        EXPECT_EQ(d.CarenType(), TCarenType::caSide);
    }

    // A truncated record or an impossible name length leaves the calendar as it was.
    for (const QByteArray& bad : {good.left(good.size() - 1), withInt(68, 0x7FFFFFF0), withInt(68, -1)}) {
        TPriCarendar d;
        d.SetStoreRect(QRect(1, 2, 3, 4));
        d.SetYear(1999);
        TStreamReader r(bad);
        EXPECT_FALSE(d.LoadFromStream(r, 6));
        EXPECT_EQ(d.Year(), 1999);
        EXPECT_EQ(d.StoreRect(), QRect(1, 2, 3, 4));
    }

    // Years far outside the calendar still give a day table.
    TPriCarendar e;
    e.SetYear(INT_MIN);
    e.SetMonth(1);
    EXPECT_GE(e.StartCell(), 0);
    EXPECT_LE(e.StartCell(), 6);
}

TEST(PriCarendarTest, AssignCopiesSettingsButNotHolidays) {
    TPriCarendar a;
    a.LoadHoliday(HolidayPath());
    a.SetStoreRect(QRect(10, 20, 30, 40));
    a.SetYear(2030);
    a.SetMonth(2);
    a.SetStartYoubi(TStartYoubi::sySun);
    a.StepCount = TStepCount::sc5;
    a.TransParent = false;
    a.FontName = QStringLiteral("ＭＳ 明朝");
    a.SameFSize = 30;
    a.SatbackColor2 = 0x123456;
    a.SidePos = TSide::psCenter;

    TPriCarendar b;
    b.AssignObject(&a);
    EXPECT_EQ(b.Year(), 2030);
    EXPECT_EQ(b.Month(), 2);
    EXPECT_EQ(b.StartYoubi(), TStartYoubi::sySun);
    EXPECT_EQ(b.StepCount, TStepCount::sc5);
    EXPECT_FALSE(b.TransParent);
    EXPECT_EQ(b.FontName, a.FontName);
    EXPECT_EQ(b.SameFSize, 30);
    EXPECT_EQ(b.SatbackColor2, 0x123456);
    EXPECT_EQ(b.SidePos, TSide::psCenter);
    EXPECT_EQ(b.StoreRect(), a.StoreRect());
    EXPECT_EQ(b.DayCount(), 28);
    EXPECT_FALSE(b.HolidayCheck());

    TPriCarendar base;
    base.AssignObject(&a, true);
    EXPECT_EQ(base.StoreRect(), a.StoreRect());
    EXPECT_FALSE(base.TransParent); // the base part carries transparency
    EXPECT_EQ(base.SameFSize, 14);
    EXPECT_NE(base.FontName, a.FontName);
}

TEST(PriCarendarTest, ReDatingATemplateRunsOnFromTheStartMonth) {
    struct TCase {
        int Year, Start, Stored, ExpectedYear, ExpectedMonth;
    } cases[] = {
        {2025, 11, 1, 2025, 11},
        {2025, 11, 2, 2025, 12},
        {2025, 11, 3, 2026, 1},
        {2024, 11, 3, 2025, 1},
        {2024, 1, 12, 2024, 12},
        {2024, 12, 12, 2025, 11},
        {9999, 12, 2, 10000, 1},
        // Years beyond four digits leave the year and month as they were instead of overflowing.
        {2147483647, 12, 2, -1, 2},
        {0, 5, 1, -1, 1},
    };
    for (const TCase& k : cases) {
        TPriCarendar c;
        c.SetMonth(k.Stored);
        const int before = c.Year();
        c.ShiftToStart(k.Year, k.Start);
        EXPECT_EQ(c.Year(), k.ExpectedYear == -1 ? before : k.ExpectedYear);
        EXPECT_EQ(c.Month(), k.ExpectedMonth);
        EXPECT_EQ(c.DayCount(), TPriCarendar::DaysInMonth(c.Year(), k.ExpectedMonth));
    }
}
