#include "calendar/PriCarendar.h"

#include "platform/DocumentLimits.h"

#include "objects/PriHandles.h"

#include "platform/FontMap.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include "calendar/FamilyDays.h"
#include "calendar/Koyomi.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QStaticText>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

// Floor division and a non-negative remainder, so years before 1 still give a weekday.
long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}
long long FloorMod(long long a, long long b) {
    return a - FloorDiv(a, b) * b;
}

// Drawing larger than this is a corrupt record, not a calendar.
constexpr int kMaxExtent = 1000000;
// Pixel sizes beyond this only come from corrupt sizes and would rasterise for ages.
constexpr int kMaxPixelSize = 2000;

int ClampMonth(int month) {
    return std::clamp(month, 1, 12);
}

// Start of part `index` when `total` is cut into `parts`, the first `total % parts` one wider.
int PartStart(int origin, int total, int parts, int index) {
    const int base = total / parts, rest = total % parts;
    return origin + index * base + std::min(index, rest);
}
int PartSize(int total, int parts, int index) {
    return total / parts + (index < total % parts ? 1 : 0);
}

} // namespace

TPriCarendar::TPriCarendar() {
    ObjectNum = okCarendar;
    TransParent = true;
    const QDate today = QDate::currentDate();
    FYear = today.year();
    FMonth = today.month();
    MakeDayTable();
}

TPriCarendar::~TPriCarendar() = default;

void TPriCarendar::SetYear(int value) {
    FYear = value;
    MakeDayTable();
}

void TPriCarendar::SetMonth(int value) {
    FMonth = ClampMonth(value);
    MakeDayTable();
}

void TPriCarendar::SetStartYoubi(TStartYoubi value) {
    FStartYoubi = value;
    MakeDayTable();
}

void TPriCarendar::SetCarenType(TCarenType value) {
    FCarenType = value;
    MakeDayTable();
}

void TPriCarendar::ShiftToStart(int year, int startMonth) {
    // Beyond four-digit years the move to the next year would overflow.
    if (year < TDocumentLimits::kMinYear || year > TDocumentLimits::kMaxYear) return;
    const int m = FMonth + ClampMonth(startMonth) - 1;
    if (m < 13) {
        SetYear(year);
        SetMonth(m);
    } else {
        SetYear(year + 1);
        SetMonth(m - 12);
    }
}

int TPriCarendar::GetYoubi(int year, int month, int day) {
    // 64-bit so that any year a record can hold stays defined.
    long long m = month, y = year;
    if (m < 3) {
        m += 12;
        --y;
    }
    const long long j = FloorDiv(y, 100), k = FloorMod(y, 100);
    const long long h = day + FloorDiv(13 * (m + 1), 5) + k + FloorDiv(k, 4) + FloorDiv(j, 4) - 2 * j;
    return int(FloorMod(h, 7));
}

int TPriCarendar::DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int m = ClampMonth(month);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

void TPriCarendar::MakeDayTable() {
    FMonth = ClampMonth(FMonth);
    const int w = GetYoubi(FYear, FMonth, 1);
    FDayCount = DaysInMonth(FYear, FMonth);
    if (FStartYoubi == TStartYoubi::syMon && FCarenType == TCarenType::caNormal) {
        FStartCell = w == 0 ? 5 : w == 1 ? 6 : w - 2;
        FSunPos = 6;
        FSatPos = 5;
    } else {
        FStartCell = w == 0 ? 6 : w - 1;
        FSunPos = 0;
        FSatPos = 6;
    }
    FDayTable.fill(0);
    for (int d = 1; d <= FDayCount && FStartCell + d - 1 < 42; ++d)
        FDayTable[size_t(FStartCell + d - 1)] = d;
}

void TPriCarendar::LoadHoliday(const QString& path) {
    SetAlmanacTable(QFileInfo(path).dir().filePath(QStringLiteral("koyomi.dat")));
    auto list = std::make_shared<THolidayList>();
    if (!list->LoadFromFile(path)) return;
    SetHolidayList(std::move(list));
}

void TPriCarendar::SetHolidayList(std::shared_ptr<const THolidayList> list) {
    if (!list) return;
    FHolidayList = std::move(list);
    FHolidayCheck = true;
}

bool TPriCarendar::IsHoliday(int year, int month, int day) const {
    return FHolidayCheck && FHolidayList && FHolidayList->IsHoliday(year, month, day);
}

int TPriCarendar::GetFontSize() const {
    if (!BackImage || FBaseSize.y() <= 0) return SameFSize;
    const double v = double(PageSize().height()) / FBaseSize.y() * SameFSize;
    return TruncUnlessAbove07(v);
}

int TPriCarendar::DrawFontSize() const {
    return fDeviceDpi > 0 ? SameFSize : GetFontSize();
}

int TPriCarendar::FontDpi() const {
    if (fDeviceDpi > 0) return fDeviceDpi;
    return iScreenInch() > 0 ? iScreenInch() : 96;
}

TPriCarendar::TCellClass TPriCarendar::ClassOfColumn(bool sunday, bool saturday) const {
    if (sunday) return {SunColor, SunbackColor1, SunbackColor2};
    if (!saturday) return {DayColor, DaybackColor1, DaybackColor2};
    return {SatColor, SatbackColor1, SatbackColor2};
}

// A holiday outranks the Sunday and Saturday colours.
TPriCarendar::TCellClass TPriCarendar::ClassOfDay(int day, bool sunday, bool saturday) const {
    if (IsHoliday(FYear, FMonth, day)) return {HoliColor, HolibackColor1, HolibackColor2};
    return ClassOfColumn(sunday, saturday);
}

TPriCarendar::TCellFont& TPriCarendar::CellFont(int pixelSize) {
    // Screen, print and the shared cells' smaller size are few; a zoom change adds one more.
    constexpr size_t kMaxSizes = 8;
    if (fCellFontName != FontName || fCellFonts.size() > kMaxSizes) {
        fCellFonts.clear();
        fCellFontName = FontName;
    }
    TCellFont& cell = fCellFonts[pixelSize];
    if (!cell.Metrics) {
        cell.Font = QFont(TFontMap::ResolveFace(FontName));
        cell.Font.setPixelSize(pixelSize);
        cell.Metrics = std::make_unique<QFontMetrics>(cell.Font);
    }
    return cell;
}

bool TPriCarendar::TakesRuns(QPainter& canvas) {
    // A recorded page (the preview) must replay as the screen draws, so only PDF takes the runs.
    return canvas.paintEngine() && canvas.paintEngine()->type() == QPaintEngine::Pdf;
}

int TPriCarendar::PixelSize(double points) const {
    return int(std::clamp<long>(std::lround(points * FontDpi() / 72.0), 1, kMaxPixelSize));
}

QString TPriCarendar::PaddedNumber(const QString& text, TSidePos side) {
    bool numeric = false;
    const int value = text.toInt(&numeric);
    // One-digit numbers take the width of two so left and right alignment keep columns.
    if (!text.isEmpty() && numeric && value < 10 && side != TSidePos::psCenter) return QLatin1Char(' ') + text;
    return text;
}

QRect TPriCarendar::NumberBox(const QFontMetrics& fm, const QString& t, const QRect& c, TSidePos side,
                              TLongPos longPos) {
    const int x = c.x(), y = c.y(), w = c.width(), h = c.height();
    const int tw = t.isEmpty() ? 0 : fm.horizontalAdvance(t);
    const int th = fm.height();
    int px0 = x + tw / 10;
    if (side == TSidePos::psRight)
        px0 = x + w - tw - tw / 10;
    else if (side == TSidePos::psCenter)
        px0 = (x + (x + w)) / 2 - tw / 2;
    int py0 = y + th / 10;
    if (longPos == TLongPos::tlBottom)
        py0 = y + h - th - th / 10;
    else if (longPos == TLongPos::tlCenter)
        py0 = (y + (y + h)) / 2 - th / 2;
    return QRect(px0, py0, tw, th);
}

const TPriCarendar::TShaped& TPriCarendar::Shaped(TCellFont& cell, const QString& t) {
    auto it = cell.Runs.find(t);
    if (it == cell.Runs.end()) {
        QTextLayout layout(t, cell.Font);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        // The runs' positions put the baseline one ascent below the line's top.
        TShaped shaped;
        if (line.isValid()) {
            shaped.Runs = line.glyphRuns();
            shaped.Width = int(std::lround(line.horizontalAdvance()));
        }
        it = cell.Runs.emplace(t, std::move(shaped)).first;
    }
    return it->second;
}

void TPriCarendar::DrawText(QPainter& canvas, TCellFont& cell, const QString& t, QPoint at, TColor color) {
    if (canvas.font() != cell.Font) canvas.setFont(cell.Font);
    canvas.setPen(ColorToQColor(color));
    // The PDF engine (files and printers) lays static text out again at every call; shaped runs it
    // takes as they are.
    if (TakesRuns(canvas)) {
        for (const QGlyphRun& r : Shaped(cell, t).Runs)
            canvas.drawGlyphRun(QPointF(at), r);
        return;
    }
    // Laid-out texts are kept: a page redraw draws the same few dozen again and again.
    auto it = cell.Texts.find(t);
    if (it == cell.Texts.end()) {
        QStaticText st(t);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        st.prepare(canvas.transform(), cell.Font);
        it = cell.Texts.emplace(t, std::move(st)).first;
    }
    canvas.drawStaticText(at, it->second);
}

const TAlmanacNotes::TDayNotes* TPriCarendar::NotesOf(int day) {
    if (!Extras.AlmanacItems || day < 1 || day > 31) return nullptr;
    const auto family = TFamilyDays::Current();
    if (!fNotesValid || fNotesYear != FYear || fNotesMonth != FMonth || !(fNotesExtras == Extras) ||
        fNotesFamily != family) {
        if (!fAlmanacTable.isEmpty()) TKoyomi::UseTable(fAlmanacTable);
        fNotes = TAlmanacNotes::OfMonth(FYear, FMonth, Extras);
        fNotesYear = FYear;
        fNotesMonth = FMonth;
        fNotesExtras = Extras;
        fNotesFamily = family;
        fNotesValid = true;
    }
    const auto& notes = fNotes[size_t(day)];
    return notes.empty() ? nullptr : &notes;
}

void TPriCarendar::DrawNotes(QPainter& canvas, int day, const QRect& c, int size) {
    const TAlmanacNotes::TDayNotes* notes = NotesOf(day);
    if (!notes) return;
    TSidePos side = SidePos;
    TLongPos longPos = LongPos;
    if (side != TSidePos::psLeft && side != TSidePos::psRight) side = TSidePos::psCenter;
    if (longPos != TLongPos::tlTop && longPos != TLongPos::tlBottom) longPos = TLongPos::tlCenter;
    const QString t = PaddedNumber(QString::number(day), side);
    TAlmanacNotes::TNumberPlace number;
    number.Box = NumberBox(*CellFont(PixelSize(size)).Metrics, t, c, side, longPos);
    number.Side = int(side);
    number.Long = int(longPos);
    // The notes keep their size relative to the numbers', so they follow the zoom as the numbers do.
    const double scale = SameFSize > 0 ? double(size) / SameFSize : 1.0;
    TCellFont& small = CellFont(PixelSize(Extras.AlmanacSize * scale));
    // Off the screen each note is shaped once, for its width and its drawing alike.
    if (TakesRuns(canvas))
        for (const TAlmanacNotes::TNote& n : *notes)
            if (!small.Widths.contains(n.Text)) small.Widths.insert(n.Text, Shaped(small, n.Text).Width);
    for (const TAlmanacNotes::TPlaced& p : TAlmanacNotes::Place(c, number, *notes, *small.Metrics, &small.Widths))
        DrawText(canvas, small, p.Text, p.Rect.topLeft(), p.Color);
}

bool TPriCarendar::DrawCell(QPainter& canvas, const QString& text, int x, int y, int w, int h, int size,
                            TColor textColor, TSidePos side, TLongPos longPos, TColor back, bool transparent) {
    try {
        // Spreading has no meaning for one number: those settings centre it.
        if (side != TSidePos::psLeft && side != TSidePos::psRight) side = TSidePos::psCenter;
        if (longPos != TLongPos::tlTop && longPos != TLongPos::tlBottom) longPos = TLongPos::tlCenter;

        const QString t = PaddedNumber(text, side);

        TCellFont& cell = CellFont(PixelSize(size));
        if (!transparent) canvas.fillRect(QRect(x, y, w, h), ColorToQColor(back));
        if (t.isEmpty()) return true;
        const QRect box = NumberBox(*cell.Metrics, t, QRect(x, y, w, h), side, longPos);
        DrawText(canvas, cell, t, box.topLeft(), textColor);
        return true;
    } catch (const std::exception&) {
    } catch (...) {
    }
    if (ShowMessage)
        ShowMessage(kDrawFailed);
    else
        qWarning("%s", qPrintable(kDrawFailed));
    return false;
}

bool TPriCarendar::DrawCarendar(QPainter& canvas, int x, int y, int width, int height, const QRect& clip) {
    if (width <= 0 || height <= 0 || width > kMaxExtent || height > kMaxExtent) return true;
    if (std::abs(x) > kMaxExtent || std::abs(y) > kMaxExtent) return true;
    canvas.save();
    switch (FCarenType) {
    case TCarenType::caNormal: DrawNormal(canvas, x, y, width, height, clip); break;
    case TCarenType::caSide: DrawSide(canvas, x, y, width, height, clip); break;
    case TCarenType::caLong: DrawLong(canvas, x, y, width, height, clip); break;
    default: break;
    }
    canvas.restore();
    return true;
}

QPen TPriCarendar::GridPen() const {
    return QPen(Qt::black, FThinLine ? 1 : 4, Qt::SolidLine);
}

void TPriCarendar::DrawNormal(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip) {
    const int R = StepCount == TStepCount::sc5 ? 5 : 6;
    const int cw = W / 7, rh = H / R;
    const int size = DrawFontSize();
    // Five rows cannot hold a month that reaches a sixth: its last days share the cells above.
    const bool shares =
        StepCount == TStepCount::sc5 && ((FStartCell == 5 && FDayCount == 31) || (FStartCell == 6 && FDayCount >= 30));

    for (int r = 0; r < R; ++r) {
        const int y = PartStart(y0, H, R, r), h = PartSize(H, R, r);
        const bool set2 = r % 2 == 1;
        for (int c = 0; c < 7; ++c) {
            const int x = PartStart(x0, W, 7, c), w = PartSize(W, 7, c);
            const int i = 7 * r + c;
            const bool sunday = c == FSunPos, saturday = c == FSatPos;
            const int day = FDayTable[size_t(i)];
            if (day == 0) {
                if (!TransParent) {
                    const TCellClass k = ClassOfColumn(sunday, saturday);
                    DrawCell(canvas, QString(), x, y, w, h, size, k.Text, SidePos, LongPos, set2 ? k.Back2 : k.Back1,
                             false);
                }
            } else if (shares && r == 4 && c <= 1 && FDayTable[size_t(i + 7)] != 0) {
                const TCellClass column = ClassOfColumn(sunday, false);
                if (!TransParent)
                    DrawCell(canvas, QString(), x, y, w, h, size, column.Text, SidePos, LongPos, column.Back1, false);
                const int small = Trunc(size * 0.8);
                const int lower = FDayTable[size_t(i + 7)];
                DrawCell(canvas, QString::number(day), x, y, w / 2, h / 2, small, ClassOfDay(day, sunday, false).Text,
                         TSidePos::psCenter, TLongPos::tlCenter, column.Back1, true);
                DrawCell(canvas, QString::number(lower), x + cw / 2, y + rh / 2, w / 2, h / 2, small,
                         ClassOfDay(lower, sunday, false).Text, TSidePos::psCenter, TLongPos::tlCenter, column.Back1,
                         true);
            } else {
                const TCellClass k = ClassOfDay(day, sunday, saturday);
                DrawCell(canvas, QString::number(day), x, y, w, h, size, k.Text, SidePos, LongPos,
                         set2 ? k.Back2 : k.Back1, TransParent);
                DrawNotes(canvas, day, QRect(x, y, w, h), size);
            }
        }
    }

    if (!GridCheck) return;
    canvas.save();
    canvas.setClipRect(clip, Qt::IntersectClip);
    canvas.setPen(GridPen());
    canvas.setBrush(Qt::NoBrush);
    for (int c = 0; c <= 7; ++c) {
        const int x = PartStart(x0, W, 7, c);
        canvas.drawLine(x, y0, x, y0 + H);
    }
    for (int r = 0; r <= R; ++r) {
        const int y = PartStart(y0, H, R, r);
        canvas.drawLine(x0, y, x0 + W, y);
    }
    canvas.restore();
}

void TPriCarendar::DrawSide(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip) {
    // Offsets of the first Sunday and Saturday among the day indexes 0..30.
    const int sunPos = FStartCell == 0 ? 0 : 7 - FStartCell;
    const int satPos = sunPos == 0 ? 6 : sunPos - 1;
    const int size = DrawFontSize();
    for (int d = 1; d <= FDayCount; ++d) {
        const int x = PartStart(x0, W, 31, d - 1), w = PartSize(W, 31, d - 1);
        const int k7 = (d - 1) % 7;
        const TCellClass k = ClassOfDay(d, k7 == sunPos, k7 == satPos);
        DrawCell(canvas, QString::number(d), x, y0, w, H, size, k.Text, SidePos, LongPos, k.Back1, TransParent);
        DrawNotes(canvas, d, QRect(x, y0, w, H), size);
    }
    if (!GridCheck) return;
    canvas.save();
    canvas.setClipRect(clip, Qt::IntersectClip);
    canvas.setPen(GridPen());
    canvas.setBrush(Qt::NoBrush);
    canvas.drawLine(x0, y0, x0 + W, y0);
    canvas.drawLine(x0, y0 + H, x0 + W, y0 + H);
    for (int c = 0; c <= 31; ++c) {
        const int x = PartStart(x0, W, 31, c);
        canvas.drawLine(x, y0, x, y0 + H);
    }
    canvas.restore();
}

void TPriCarendar::DrawLong(QPainter& canvas, int x0, int y0, int W, int H, const QRect& clip) {
    const int sunPos = FStartCell == 0 ? 0 : 7 - FStartCell;
    const int satPos = sunPos == 0 ? 6 : sunPos - 1;
    const int size = DrawFontSize();
    for (int d = 1; d <= FDayCount; ++d) {
        const int y = PartStart(y0, H, 31, d - 1), h = PartSize(H, 31, d - 1);
        const int k7 = (d - 1) % 7;
        const TCellClass k = ClassOfDay(d, k7 == sunPos, k7 == satPos);
        DrawCell(canvas, QString::number(d), x0, y, W, h, size, k.Text, SidePos, LongPos, k.Back1, TransParent);
        DrawNotes(canvas, d, QRect(x0, y, W, h), size);
    }
    if (!GridCheck) return;
    canvas.save();
    canvas.setClipRect(clip, Qt::IntersectClip);
    canvas.setPen(GridPen());
    canvas.setBrush(Qt::NoBrush);
    canvas.drawLine(x0, y0, x0, y0 + H);
    canvas.drawLine(x0 + W, y0, x0 + W, y0 + H);
    for (int r = 0; r <= 31; ++r) {
        const int y = PartStart(y0, H, 31, r);
        canvas.drawLine(x0, y, x0 + W, y);
    }
    canvas.restore();
}

void TPriCarendar::DrawFocus(QPainter& canvas) {
    if (!ForcusCheck()) return;
    canvas.save();
    canvas.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(QRect(Left, Top, Width, Height));
    canvas.restore();
    TPriHandles::Draw(canvas, FHandles, LockCheck);
}

void TPriCarendar::AssignObject(const TPriBase* source, bool baseOnly) {
    TPriBase::AssignObject(source, false);
    if (baseOnly) return;
    const auto* c = dynamic_cast<const TPriCarendar*>(source);
    if (!c || c == this) return;
    FYear = c->FYear;
    FMonth = c->FMonth;
    DayColor = c->DayColor;
    SunColor = c->SunColor;
    SatColor = c->SatColor;
    HoliColor = c->HoliColor;
    FCarenType = c->FCarenType;
    CarenMonth = c->CarenMonth;
    FStartYoubi = c->FStartYoubi;
    StepCount = c->StepCount;
    SidePos = c->SidePos;
    LongPos = c->LongPos;
    FontName = c->FontName;
    BeDayBltCheck = c->BeDayBltCheck;
    SameFSize = c->SameFSize;
    GridCheck = c->GridCheck;
    TransParent = c->TransParent;
    DaybackColor1 = c->DaybackColor1;
    SunbackColor1 = c->SunbackColor1;
    SatbackColor1 = c->SatbackColor1;
    HolibackColor1 = c->HolibackColor1;
    DaybackColor2 = c->DaybackColor2;
    SunbackColor2 = c->SunbackColor2;
    SatbackColor2 = c->SatbackColor2;
    HolibackColor2 = c->HolibackColor2;
    // The copy draws at once in the settings dialog, so its table follows the copied date.
    MakeDayTable();
}

void TPriCarendar::ScaleToView(QSize view, QSize paperPixels, int screenInch) {
    TPriBase::ScaleToView(view, paperPixels, screenInch);
    FBaseSize = QPoint(paperPixels.width(), paperPixels.height());
}

void TPriCarendar::ScaleToStore(QSize view, QSize paperPixels, int screenInch) {
    TPriBase::ScaleToStore(view, paperPixels, screenInch);
    FBaseSize = QPoint(paperPixels.width(), paperPixels.height());
}

void TPriCarendar::DrawObject(TBltMode, QPainter& canvas) {
    FThinLine = true;
    fDeviceDpi = 0;
    QRect clip;
    if (BackImage)
        clip = QRect(QPoint(0, 0), PageSize());
    else if (canvas.device())
        clip = QRect(0, 0, canvas.device()->width(), canvas.device()->height());
    DrawCarendar(canvas, Left, Top, Width, Height, clip);
    DrawFocus(canvas);
}

// The device's resolution from the target rectangle: the pipeline made it from the stored size
// at that resolution (ten pixels larger without margins).
int TPriCarendar::DeviceDpiOf(const QRect& target, bool useMargins) const {
    const int extra = useMargins ? 0 : 10;
    const bool byWidth = FStoreRect.width() >= FStoreRect.height();
    const int stored = byWidth ? FStoreRect.width() : FStoreRect.height();
    const int pixels = (byWidth ? target.width() : target.height()) - extra;
    if (stored <= 0 || pixels <= 0) return 0;
    return int(std::lround(double(pixels) * 254.0 / stored));
}

void TPriCarendar::DrawOnDevice(QPainter& canvas, const QRect& area, const QRect& clip, int deviceDpi) {
    FThinLine = false;
    if (deviceDpi <= 0 && canvas.device()) deviceDpi = canvas.device()->logicalDpiY();
    fDeviceDpi = deviceDpi > 0 ? deviceDpi : 96;
    DrawCarendar(canvas, area.x(), area.y(), area.width(), area.height(), clip);
    fDeviceDpi = 0;
}

// Printed numbers take SameFSize on the device, whatever the screen zoom, as printed text does.
void TPriCarendar::PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint, const TRect&,
                             const QRect& pageClip) {
    DrawOnDevice(canvas, target, pageClip, DeviceDpiOf(target, useMargins));
}

void TPriCarendar::DrawToImage(QPainter& canvas, const QRect& page, QSize) {
    DrawOnDevice(canvas, page, page, DeviceDpiOf(page, true));
}

bool TPriCarendar::LoadFromStream(TStreamReader& stream, int version) {
    const QRect oldStore = FStoreRect;
    const bool oldPrint = PrintCheck, oldLock = LockCheck, oldTransparent = TransParent;
    auto fail = [&] {
        FStoreRect = oldStore;
        PrintCheck = oldPrint;
        LockCheck = oldLock;
        TransParent = oldTransparent;
        return false;
    };
    if (!TPriBase::LoadFromStream(stream, version)) return fail();

    int32_t year = 0, month = 0, size = 0;
    int32_t colors[4] = {}, backs[8] = {};
    QString fontName;
    bool dayBlt = false, grid = false;
    uint8_t type = 0, months = 0, youbi = 0, steps = 0, side = 0, longPos = 0;
    stream.ReadInt32(year);
    stream.ReadInt32(month);
    for (int32_t& c : colors)
        stream.ReadColor(c);
    stream.ReadString(fontName);
    stream.ReadInt32(size);
    stream.ReadBool(dayBlt);
    stream.ReadEnum(type);
    stream.ReadEnum(months);
    stream.ReadEnum(youbi);
    stream.ReadEnum(steps);
    stream.ReadEnum(side);
    stream.ReadEnum(longPos);
    stream.ReadBool(grid);
    for (int32_t& c : backs)
        stream.ReadColor(c);
    if (!stream.Ok()) return fail();
    if (fontName.size() > TDocumentLimits::kMaxNameBytes) {
        stream.Refuse(QStringLiteral("カレンダーのフォント名が長すぎます（%1 文字）").arg(fontName.size()));
        return fail();
    }
    if (size > TDocumentLimits::kMaxFontPoints || size < -TDocumentLimits::kMaxFontPoints) {
        stream.Refuse(QStringLiteral("カレンダーの文字の大きさ %1 ポイントは上限 %2 ポイントを超えています")
                          .arg(size)
                          .arg(TDocumentLimits::kMaxFontPoints));
        return fail();
    }

    FYear = year;
    // Only a corrupt record holds another month; keep the day tables within bounds.
    FMonth = ClampMonth(month);
    DayColor = colors[0];
    SunColor = colors[1];
    SatColor = colors[2];
    HoliColor = colors[3];
    FontName = fontName;
    SameFSize = size;
    BeDayBltCheck = dayBlt;
    FCarenType = TCarenType(type);
    CarenMonth = TCarenMonth(months);
    FStartYoubi = TStartYoubi(youbi);
    StepCount = TStepCount(steps);
    SidePos = TSidePos(side);
    LongPos = TLongPos(longPos);
    GridCheck = grid;
    DaybackColor1 = backs[0];
    SunbackColor1 = backs[1];
    SatbackColor1 = backs[2];
    HolibackColor1 = backs[3];
    DaybackColor2 = backs[4];
    SunbackColor2 = backs[5];
    SatbackColor2 = backs[6];
    HolibackColor2 = backs[7];
    MakeDayTable();
    return true;
}

bool TPriCarendar::SaveToStream(TStreamWriter& stream, int version) {
    TPriBase::SaveToStream(stream, version);
    stream.WriteInt32(FYear);
    stream.WriteInt32(FMonth);
    stream.WriteColor(DayColor);
    stream.WriteColor(SunColor);
    stream.WriteColor(SatColor);
    stream.WriteColor(HoliColor);
    stream.WriteString(FontName);
    stream.WriteInt32(SameFSize);
    stream.WriteBool(BeDayBltCheck);
    stream.WriteEnum(int(FCarenType));
    stream.WriteEnum(int(CarenMonth));
    stream.WriteEnum(int(FStartYoubi));
    stream.WriteEnum(int(StepCount));
    stream.WriteEnum(int(SidePos));
    stream.WriteEnum(int(LongPos));
    stream.WriteBool(GridCheck);
    stream.WriteColor(DaybackColor1);
    stream.WriteColor(SunbackColor1);
    stream.WriteColor(SatbackColor1);
    stream.WriteColor(HolibackColor1);
    stream.WriteColor(DaybackColor2);
    stream.WriteColor(SunbackColor2);
    stream.WriteColor(SatbackColor2);
    stream.WriteColor(HolibackColor2);
    return true;
}
