#pragma once

#include "calendar/AlmanacNotes.h"
#include "calendar/HolidayList.h"
#include "objects/PriBase.h"

#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QPoint>
#include <QStaticText>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class TFamilyDays;

// Layout of the day cells.
enum class TCarenType : uint8_t { caNormal = 0, caSide = 1, caLong = 2, caSchedule = 3 };
// Month-count setting kept for the settings dialog; the object always shows one month.
enum class TCarenMonth : uint8_t { cm1 = 0, cm2 = 1, cm3 = 2, cm6 = 3, cm12 = 4 };
enum class TStartYoubi : uint8_t { sySun = 0, syMon = 1 };
enum class TStepCount : uint8_t { sc5 = 0, sc6 = 1 };

// A month calendar on the page: day numbers only, in a 7-column grid, one row or one column,
// coloured by weekday, Saturday, Sunday and holiday, over two alternating background sets.
class TPriCarendar : public TPriBase {
public:
    // Placement of the number in its cell. The text object's spreading values may stand in a
    // record; a calendar cell centres its number for them.
    enum class TSidePos : uint8_t { psLeft = 0, psCenter = 1, psRight = 2, psKintou = 3, psRyoutan = 4 };
    enum class TLongPos : uint8_t { tlTop = 0, tlCenter = 1, tlBottom = 2, tlKintou = 3, tlRyoutan = 4 };

    // The message a failed cell shows.
    static inline const QString kDrawFailed = QStringLiteral("描画失敗");

    TPriCarendar();
    ~TPriCarendar() override;

    int Year() const { return FYear; }
    int Month() const { return FMonth; }
    TStartYoubi StartYoubi() const { return FStartYoubi; }
    TCarenType CarenType() const { return FCarenType; }
    // These recompute the day table. A month outside 1..12 is brought into it.
    void SetYear(int value);
    void SetMonth(int value);
    void SetStartYoubi(TStartYoubi value);
    // The grid's first cell depends on the layout too, so the table follows it.
    void SetCarenType(TCarenType value);
    // Re-dates a calendar of a template, whose Month holds its place in the run of months
    // (1 = the first), to a start year and month; months past December carry into the next year.
    void ShiftToStart(int year, int startMonth);

    TColor DayColor = 0x000000;
    TColor SunColor = 0x0000FF;
    TColor SatColor = 0x000000;
    TColor HoliColor = 0x0000FF;
    TColor DaybackColor1 = TColor(0x02FFFAE6);
    TColor SunbackColor1 = TColor(0x02F0E6FF);
    TColor SatbackColor1 = TColor(0x02FFFAE6);
    TColor HolibackColor1 = TColor(0x02F0E6FF);
    TColor DaybackColor2 = TColor(0x02FAF0DC);
    TColor SunbackColor2 = TColor(0x02EBDCFF);
    TColor SatbackColor2 = TColor(0x02FAF0DC);
    TColor HolibackColor2 = TColor(0x02EBDCFF);
    TCarenMonth CarenMonth = TCarenMonth::cm1;
    TStepCount StepCount = TStepCount::sc6;
    TSidePos SidePos = TSidePos::psLeft;
    TLongPos LongPos = TLongPos::tlTop;
    QString FontName = QStringLiteral("ＭＳ ゴシック");
    bool BeDayBltCheck = false;
    int SameFSize = 14;
    bool GridCheck = true;

    // Shows a message to the user (a failed cell); without it the message goes to the log.
    std::function<void(const QString&)> ShowMessage;

    // 0 Saturday, 1 Sunday, 2 Monday ... 6 Friday.
    static int GetYoubi(int year, int month, int day);
    static int DaysInMonth(int year, int month);
    void MakeDayTable();
    void SetBaseSize(QPoint paperPixels) { FBaseSize = paperPixels; }
    QPoint BaseSize() const { return FBaseSize; }
    // The shipped holiday file below the application folder (which ends with a separator).
    static QString HolidayFile(const QString& appPath) { return appPath + QStringLiteral("HolidayList/holiday.dat"); }
    // Loads the holiday file; a missing file leaves the calendar without holidays.
    virtual void LoadHoliday(const QString& path);
    // Shares a list already read: the calendars of one document read the file once.
    void SetHolidayList(std::shared_ptr<const THolidayList> list);
    bool IsHoliday(int year, int month, int day) const;
    // The almanac table the notes of the day cells come from (beside the holiday file); read only
    // when a calendar first shows notes.
    void SetAlmanacTable(const QString& path) { fAlmanacTable = path; }
    const QString& AlmanacTable() const { return fAlmanacTable; }
    bool HolidayCheck() const { return FHolidayCheck; }
    const THolidayList* HolidayList() const { return FHolidayList.get(); }
    // Day-number size in points for the page bitmap at its current zoom.
    int GetFontSize() const;

    bool DrawCarendar(QPainter& canvas, int x, int y, int width, int height, const QRect& clip);
    // Virtual so that a view can watch or restyle single cells.
    virtual bool DrawCell(QPainter& canvas, const QString& text, int x, int y, int w, int h, int size, TColor textColor,
                          TSidePos side, TLongPos longPos, TColor back, bool transparent);

    // Derived state, read by tests and the settings dialog.
    int StartCell() const { return FStartCell; }
    int DayCount() const { return FDayCount; }
    int SunPos() const { return FSunPos; }
    int SatPos() const { return FSatPos; }
    int DayAt(int index) const { return index >= 0 && index < 42 ? FDayTable[size_t(index)] : 0; }
    bool ThinLine() const { return FThinLine; }

    void DrawFocus(QPainter& canvas) override;
    using TPriBase::AssignObject;
    // With baseOnly the copy stops after the common part.
    void AssignObject(const TPriBase* source, bool baseOnly) override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void ScaleToStore(QSize view, QSize paperPixels, int screenInch) override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    // False on a truncated record; the calendar is then left as it was.
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;
    void DrawToImage(QPainter& canvas, const QRect& page, QSize sizes) override;

private:
    struct TCellClass {
        TColor Text;
        TColor Back1;
        TColor Back2;
    };
    TCellClass ClassOfDay(int day, bool sunday, bool saturday) const;
    TCellClass ClassOfColumn(bool sunday, bool saturday) const;

    void DrawNormal(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip);
    void DrawSide(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip);
    void DrawLong(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip);
    QPen GridPen() const;
    struct TCellFont;
    struct TShaped {
        QList<QGlyphRun> Runs;
        int Width = 0;
    };
    // True on the PDF engine, which takes shaped runs better than static text.
    static bool TakesRuns(QPainter& canvas);
    static const TShaped& Shaped(TCellFont& cell, const QString& t);
    int PixelSize(double points) const;
    static QString PaddedNumber(const QString& text, TSidePos side);
    // Where DrawCell puts the (padded) number t in cell c.
    static QRect NumberBox(const QFontMetrics& fm, const QString& t, const QRect& c, TSidePos side, TLongPos longPos);
    void DrawText(QPainter& canvas, TCellFont& cell, const QString& t, QPoint at, TColor color);
    // The almanac notes of a day of the shown month, or null; kept while month and options stay.
    const TAlmanacNotes::TDayNotes* NotesOf(int day);
    void DrawNotes(QPainter& canvas, int day, const QRect& cell, int size);
    // The size the current drawing uses and the resolution that turns its points into pixels.
    int DrawFontSize() const;
    int FontDpi() const;
    // Prints at SameFSize on a device whose resolution follows from the target rectangle.
    void DrawOnDevice(QPainter& canvas, const QRect& area, const QRect& clip, int deviceDpi);
    int DeviceDpiOf(const QRect& target, bool useMargins) const;

    int FYear;
    int FMonth;
    TStartYoubi FStartYoubi = TStartYoubi::syMon;
    TCarenType FCarenType = TCarenType::caNormal;

    int FStartCell = 0;
    int FDayCount = 31;
    int FSunPos = 6;
    int FSatPos = 5;
    std::array<int, 42> FDayTable{};
    std::shared_ptr<const THolidayList> FHolidayList;
    bool FHolidayCheck = false;
    QPoint FBaseSize;
    bool FThinLine = true;
    // Non-zero while printing: the device's pixels per inch.
    int fDeviceDpi = 0;
    // Fonts of the cells by pixel size (a month with shared cells draws with two), each with its
    // metrics and laid-out numbers; all dropped when the face changes.
    struct TCellFont {
        QFont Font;
        std::unique_ptr<QFontMetrics> Metrics;
        std::map<QString, QStaticText> Texts;
        QHash<QString, int> Widths;
        // Shaped once for engines that would shape at every call.
        std::map<QString, TShaped> Runs;
    };
    TCellFont& CellFont(int pixelSize);
    QString fCellFontName;
    std::map<int, TCellFont> fCellFonts;
    QString fAlmanacTable;
    std::array<TAlmanacNotes::TDayNotes, 32> fNotes;
    bool fNotesValid = false;
    int fNotesYear = 0;
    int fNotesMonth = 0;
    TObjectExtras fNotesExtras;
    std::shared_ptr<const TFamilyDays> fNotesFamily;
};
