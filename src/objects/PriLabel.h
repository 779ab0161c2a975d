#pragma once

#include "objects/PriBase.h"
#include "objects/TextCanvas.h"

#include <QList>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class TStreamReader;
class TStreamWriter;

enum TSidePos : uint8_t { psLeft, psCenter, psRight, psKintou, psRyoutan };
enum TLongPos : uint8_t { tlTop, tlCenter, tlBottom, tlKintou, tlRyoutan };
enum TFontAngle : uint8_t { faSide, faLong };
enum TLongSpace : uint8_t { lsNormal, lsSmallWide, lsWide };

// One character of the broken lines with its place at 100 % and at the current zoom.
struct TGlyphRec {
    char32_t Text = 0; // 0 for a character that was not placed
    int X = 0;
    int Y = 0;
    bool Small = false;
    int ViewX = 0;
    int ViewY = 0;
    bool operator==(const TGlyphRec&) const = default;
};

// A run of one line drawn at one size: the parenthesised runs of SmallCheck are small.
struct TTextSegment {
    std::u32string Text;
    bool Small = false;
    bool operator==(const TTextSegment&) const = default;
};

// The text object: a box holding Japanese text laid out horizontally or in vertical columns. Lines are
// broken once at the 100 % screen scale; every character's place is then computed at 100 % and at the
// current zoom, and screen, preview and print all draw the characters one by one at those places, so the
// line breaks never differ between screen and paper.
class TPriLabel : public TPriBase {
public:
    // Records written for template files with this version carry all 24 text fields; the container's
    // record length lets any reader skip what it does not know.
    static constexpr int kLongRecordVersion = 10;
    // Longer texts and face names are not taken over by AssignObject.
    static constexpr int kMaxTextBytes = 30720;
    static constexpr int kMaxFaceBytes = 1024;
    // Character extra beyond this many screen pixels is held there: no page is that wide.
    static constexpr int kMaxCharExtra = 4096;

    TPriLabel();
    ~TPriLabel() override;

    TColor FontColor = clBlack;
    int BltAngle = 0;
    int SameFSize = 10;
    int CharSpace = 0;
    TSidePos SidePos = psLeft;
    TLongPos LongPos = tlTop;
    bool SmallCheck = false;
    TLongSpace LongSpace = lsNormal;
    bool KinsokuCheck = false;
    bool LongKanaCheck = false;

    TFontAngle FontAngle() const { return fFontAngle; }
    // Keeps BltAngle in step, so that records without the later fields (the clipboard's) still carry the
    // writing direction.
    void SetFontAngle(TFontAngle value);
    const QString& DataString() const { return fDataString; }
    void SetDataString(const QString& value);
    const QStringList& BltStrings() const { return FBltStrings; }
    // True for lines that ended at a CR LF.
    const QList<bool>& HardBreaks() const { return FHardBreaks; }
    const std::vector<TGlyphRec>& Glyphs() const { return FGlyphs; }
    bool LayoutPending() const { return FLayoutPending; }
    int ScreenExtra() const { return FScreenExtra; }
    int DeviceExtra() const { return FDeviceExtra; }
    // The displayed size chosen by FitFontSize.
    int DisplayFontSize() const { return Font.pointSize(); }
    // The size the text is laid out and printed at: SameFSize, or less where the box made it shrink.
    int LayoutSize() const { return fFitSize > 0 ? fFitSize : SameFSize; }

    // Character tables of the line-break rules and of kanji numerals.
    static bool IsLineStartChar(char32_t c);
    static bool IsLineEndChar(char32_t c);
    static char32_t KanjiDigit(char32_t c);
    static constexpr char32_t kUprightChar = U'\xFF0D';
    // The largest size from 1 to top for which fits holds (sizes that fit form a prefix): top
    // itself at one call when it fits, else a binary search; 1 when none fits.
    static int LargestFittingSize(int top, const std::function<bool(int)>& fits);

    // How many of the text fields 21 to 24 a record read with this version holds after field 20. From
    // version 8 the version says; older records hold all four only in the long form of template files,
    // which the bytes tell: exactly those 16 valid bytes left, or, when tail is given (a subclass's own
    // fields follow), the form after which tail reads its fields to the record's last byte.
    static int LaterTextFieldCount(int version, const TStreamReader& afterField20,
                                   const std::function<bool(TStreamReader&)>& tail = nullptr);

    // TPriBase
    void DrawFocus(QPainter& canvas) override;
    using TPriBase::AssignObject;
    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    void ScaleToView(QSize view, QSize paperPixels, int screenInch) override;
    void ScaleToStore(QSize view, QSize paperPixels, int screenInch) override;
    void GetPrintRect(bool useMargins, QPoint deviceDpi, QRect& rect, double topMarginMm,
                      double leftMarginMm) const override;
    void GetOutputRect(QSize output, const TRect& margins, QRect& rect) const override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    void DrawObject(TBltMode mode, QPainter& canvas) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;
    void DrawToImage(QPainter& canvas, const QRect& page, QSize sizes) override;

    // The steps of laying out and drawing a text, virtual so a field can fill its background its own way.
    virtual void FillBack(QPainter& canvas, const TRect& rect, TBltMode mode);
    virtual void SetDrawFont(TTextCanvas& canvas, int size, bool upright, TBltMode mode);
    virtual void BreakLines(const QString& text, int limit, QStringList& lines, TTextCanvas& canvas);
    virtual int SideStart(const std::vector<TTextSegment>& segments, int count, TBltMode mode, TTextCanvas& canvas,
                          const TRect& rect, int& remainder, int& extra);
    virtual void PlaceLine(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int& index, TBltMode mode,
                           int y, int x);
    virtual void PlaceLineSpread(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int& index,
                                 TBltMode mode, int remainder, int extra, int offsetX, int offsetY, int y, int x);
    virtual void DrawGlyphs(QPainter& canvas, const TRect& target, bool useMargins, QPoint origin, const TRect& margins,
                            TBltMode mode, int size, const TRect& clip);
    virtual void ClipRect(const TRect& a, const TRect& b, TRect& out) const;
    virtual void LayoutGlyphs(TTextCanvas& canvas, const TRect& rect, TBltMode mode, int size,
                              const QStringList& lines);
    virtual void FitFontSize(QSize view, QSize paperPixels);
    virtual void MakeLines();
    virtual void SetCharExtra(int screenInch);
    virtual void FitBoundsToText();
    virtual void UpdateGlyphs(QSize view, QSize paperPixels, bool relayout, int screenInch);

    // Cuts a line at its parenthesised runs when SmallCheck is on.
    std::vector<TTextSegment> SplitSmall(const std::u32string& line) const;
    // The text as it is set: kanji numerals and the hyphen rule applied when they are in force.
    std::u32string PreparedText(const QString& text) const;
    bool Vertical() const { return fFontAngle == faLong; }

protected:
    // Fields 8 to 24 after the common header; a subclass with its own fields passes the reader of them.
    // With slotText the text of field 19 goes there and DataString is left to the subclass.
    bool ReadTextFields(TStreamReader& stream, int version, const std::function<bool(TStreamReader&)>& tail = nullptr,
                        QString* slotText = nullptr);
    void WriteTextFields(TStreamWriter& stream, int version) const { WriteTextFields(stream, version, fDataString); }
    // The same with another text in the text slot.
    void WriteTextFields(TStreamWriter& stream, int version, const QString& text) const;
    // The measuring canvas of the page bitmap: screen resolution, 100 % sizes.
    TTextCanvas& LayoutCanvas();
    int LayoutDpi() const;
    // The box at 100 % in pixels of s dots per inch, as the glyphs are laid out in it.
    TRect LayoutRect(int s) const;
    // The largest size up to SameFSize at which the text broken into lines fits the box; the lines
    // are left broken at that size.
    int ShrunkSize(TTextCanvas& canvas, int limit);
    // The shown size follows a layout size that changed from before, as a field's new text may do.
    void FollowLayoutSize(int before);

    QStringList FBltStrings;
    QList<bool> FHardBreaks;
    int FScreenExtra = 0;
    mutable int FDeviceExtra = 0;
    // Device resolution of the print or preview under way, from GetPrintRect.
    mutable int FDeviceDpi = 0;
    std::vector<TGlyphRec> FGlyphs;
    bool FLayoutPending = true;
    QSize FLastPaperPixels;
    // The size chosen to fit the box, 0 when the text takes SameFSize.
    int fFitSize = 0;

private:
    int LineGap(TTextCanvas& canvas) const;
    long long LineStartY(TTextCanvas& canvas, const TRect& r, int n, int gap, int firstHeight, int& extra,
                         int& remainder);
    long long ColumnStartX(TTextCanvas& canvas, const TRect& r, int n, int gap, int& extra, int& remainder);
    int LineLength(TTextCanvas& canvas, const std::vector<TTextSegment>& segments, int size);
    bool LinesFit(TTextCanvas& canvas, const QStringList& lines, int size, int along, int across);
    void PullLineStart(std::vector<std::u32string>& lines, size_t j) const;
    void PushLineEnd(std::vector<std::u32string>& lines, size_t j) const;
    void SetGlyph(int& index, char32_t c, int x, int y, bool small);
    int DeviceDpiFor(QPainter& canvas, TBltMode mode) const;

    QString fDataString;
    TFontAngle fFontAngle = faSide;
    std::unique_ptr<TTextCanvas> fLayoutCanvas;
    int fLayoutSize = 0; // the size LayoutGlyphs works at, for the small fraction
};
