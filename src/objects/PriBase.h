#pragma once

#include "objects/ObjectExtras.h"
#include "platform/Color.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

class QPainter;
class TStreamReader;
class TStreamWriter;

// Drawing modes handed to every object's drawing.
enum TBltMode { bmLayout = 0, bmPreview = 1, bmPrint = 2, bmBrowse = 3, bmImageOut = 4, bmAngle = 5 };

// Kind codes stored before every object record.
enum TObjectKind : int {
    okLabel = 0,
    okImage = 1,
    okField = 2,
    okShape = 3,
    okLine = 4,
    okPortal = 5,
    okCarendar = 6,
};

// The common ancestor of every object on a layout page. Geometry lives twice: stored in
// 0.1 mm (FStoreRect, what files hold) and as view pixels on the page bitmap (the bounds).
// GetOutputRect and DrawToImage are not used by the program (printing and export draw through
// GetPrintRect and PrintDraw); they stay as part of the objects' designed interface.
class TPriBase {
public:
    TPriBase();
    virtual ~TPriBase();

    // Stored coordinates beyond this (0.1 mm, i.e. 100 m) make a record unreadable.
    static constexpr int32_t kMaxStoreCoord = 1000000;
    TPriBase(const TPriBase&) = delete;
    TPriBase& operator=(const TPriBase&) = delete;

    // Control bounds in view pixels, colour, font and tag.
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    TColor Color = clWhite;
    QFont Font;
    int Tag = 0;

    bool LockCheck = false;
    bool UndoCheck = false;
    bool PrintCheck = true;
    bool TransParent = true;
    int ListNum = 0;
    int ObjectNum = -1;
    // Options beyond the stored record (the extension area of files and clipboard blocks).
    TObjectExtras Extras;
    // The surface's page bitmap; never owned by the object.
    QImage* BackImage = nullptr;

    bool ForcusCheck() const { return fForcusCheck; }
    // Screen resolution passed to the last ScaleToView/ScaleToStore of any object (0 before).
    static int iScreenInch() { return sScreenInch; }

    TRect BoundsRect() const { return TRect::FromBounds(Left, Top, Width, Height); }
    void SetBounds(int left, int top, int width, int height);

    // Selecting places the handles, so a click on one finds it before the next redraw.
    virtual void SetForcusCheck(bool value);
    // The selection frame and its handles, drawn over the object on the page bitmap.
    virtual void DrawFocus(QPainter& canvas);
    // Handles 0 to 7 run left to right, top to bottom, skipping the centre.
    virtual int HandleTop(int index) const;
    virtual int HandleLeft(int index) const;
    // Takes the source's state; layoutOnly limits it to place, size and flags where the kind
    // has more to copy. The kinds without a layout-only copy always take everything.
    virtual void AssignObject(const TPriBase* source, bool layoutOnly);
    void AssignObject(const TPriBase* source) { AssignObject(source, false); }
    // Hit tests; a deleted object is never hit.
    virtual bool PtInObject(QPoint point) const;
    virtual bool ObjectInRect(const TRect& rect) const;
    virtual bool HandleAtPoint(QPoint point, int& index) const;
    // Stored 0.1 mm to view pixels and back; a zoom rescales from the stored rectangle, not pixels.
    virtual void ScaleToView(QSize view, QSize paperPixels, int screenInch);
    virtual void ScaleToStore(QSize view, QSize paperPixels, int screenInch);
    // The rectangle holds left, top, width, height in device pixels from the printable origin.
    virtual void GetPrintRect(bool useMargins, QPoint deviceDpi, QRect& rect, double topMarginMm,
                              double leftMarginMm) const;
    // The object's place on a picture of the page of the given size, the margins left out.
    virtual void GetOutputRect(QSize output, const TRect& margins, QRect& rect) const;
    // Draws on a device page; target is left, top, width, height in device pixels.
    virtual void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin,
                           const TRect& pageMargins, const QRect& pageClip);
    // Draws on the page bitmap in view pixels; the mode says what the drawing is for.
    virtual void DrawObject(TBltMode mode, QPainter& canvas);
    // Locked objects stay put; a move that would leave the page entirely is refused.
    virtual void MoveBy(QPoint delta);
    virtual void SizeBy(QPoint delta);
    // The common record header; subclasses read and write their body after it.
    virtual bool LoadFromStream(TStreamReader& stream, int version);
    virtual bool SaveToStream(TStreamWriter& stream, int version);
    // Rubber-band tracking of moves and resizes.
    virtual void BeginTrack();
    virtual void TrackMove(QPoint delta);
    virtual void TrackSize(int handle, QPoint delta);
    virtual void EndTrack(QPainter& canvas);
    virtual void MakeHandles();
    virtual void ApplyTrack();
    virtual void DrawTrack(QPainter& canvas);
    // Draws into a picture of the page whose size is given, scaling pens with it.
    virtual void DrawToImage(QPainter& canvas, const QRect& page, QSize sizes);

    QPoint GetStorePos() const { return {FStoreRect.x(), FStoreRect.y()}; }
    void SetStorePos(QPoint pos) { FStoreRect.moveTo(pos); }
    QSize GetStoreSize() const { return FStoreRect.size(); }
    QPoint GetTrackPos() const { return {FTrackRect.Left, FTrackRect.Top}; }
    QSize GetTrackSize() const { return {FTrackRect.Width(), FTrackRect.Height()}; }
    // False only when the bounds lie wholly outside the rectangle; touching edges intersect.
    bool IntersectsRect(const TRect& rect) const;

    const QRect& StoreRect() const { return FStoreRect; }
    void SetStoreRect(const QRect& rect) { FStoreRect = rect; }
    const TRect& TrackRect() const { return FTrackRect; }
    const TRect& LastTrackRect() const { return FLastTrackRect; }
    const TRect& Handle(int index) const { return FHandles[size_t(index)]; }

    // The page the object lives on: the page bitmap's size, or empty without one.
    // The page in view pixels, whatever device pixel ratio its bitmap has.
    QSize PageSize() const { return BackImage ? BackImage->deviceIndependentSize().toSize() : QSize(); }

    // XOR focus rectangle as the tracking frames use it: drawing it twice leaves no trace.
    static void DrawFocusRect(QPainter& canvas, const TRect& rect);

protected:
    // Stored left, top, width, height in 0.1 mm.
    QRect FStoreRect;
    TRect FTrackRect;
    TRect FLastTrackRect;
    std::array<TRect, 8> FHandles{};

    static void SetScreenInch(int value) { sScreenInch = value; }

private:
    bool fForcusCheck = false;
    static int sScreenInch;
};
