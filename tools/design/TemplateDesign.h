// The design canvas both template generators build their documents on: papers, text looks and
// the objects every design uses (text, boxes, lines).
#pragma once

#include "document/PriDocument.h"
#include "merge/PriField.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"

#include <QImage>
#include <QString>
#include <memory>

// What a text look falls back to where a design leaves it out; each generator has its own.
struct TTextDefaults {
    int Size;
    TColor Color;
    TLongPos Long;
};

template <TTextDefaults D> struct TBasicTextStyle {
    QString Face = QStringLiteral("ＭＳ Ｐゴシック");
    int Size = D.Size;
    TColor Color = D.Color;
    bool Bold = false;
    TSidePos Side = psLeft;
    TLongPos Long = D.Long;
    bool Vertical = false;
    bool KanjiDigits = false;
    int CharSpace = 0;
    TLongSpace LineGap = lsNormal;

    TBasicTextStyle Sized(int size) const {
        TBasicTextStyle s = *this;
        s.Size = size;
        return s;
    }
    TBasicTextStyle Colored(TColor color) const {
        TBasicTextStyle s = *this;
        s.Color = color;
        return s;
    }
    TBasicTextStyle Aligned(TSidePos side, TLongPos longPos = tlCenter) const {
        TBasicTextStyle s = *this;
        s.Side = side;
        s.Long = longPos;
        return s;
    }
};

class TTemplateDesign {
public:
    TTemplateDesign(const TPriPaper& paper, const QString& appPath);

    // A page of one seat; a landscape page keeps the sheet's portrait measures (0.1 mm).
    static TPriPaper SinglePaper(int width, int height, bool portrait = true);
    // Seats of one size on an A4 sheet, the first one at (left, top).
    static TPriPaper SeatSheet(int seatWidth, int seatHeight, int columns, int rows, int left, int top);

    // The resolution a thumbnail is drawn at: four times its size, scaled down smoothly later.
    static int ThumbnailDpi(const TPriPaper& paper);
    // Writes the page scaled to the thumbnail size as a JPEG beside the template file.
    static bool WriteThumbnail(const QImage& page, const QString& tda, QString& error);
    // A load or save as the tools report it: false with the reason in error.
    static bool Done(const TDocumentResult& result, QString& error) {
        if (!result) error = result.Reason;
        return result.Ok;
    }
    // Writes lines as a CP932 text file with CR LF ends, as record and field files are shipped;
    // false with the reason when a character has no CP932 code or the file cannot be written.
    static bool WriteCp932(const QString& path, const QStringList& lines, QString& error);
    // A shipped template must come back byte for byte after loading and saving it again.
    static bool RoundTrips(const QString& tda, const QString& appPath, QString& error);

    TPriDocument& Doc() { return *fDoc; }
    int PageWidth() const { return fDoc->PrintPaper.PageWidth(); }
    int PageHeight() const { return fDoc->PrintPaper.PageHeight(); }

    template <TTextDefaults D> TPriLabel& Text(QRect r, const QString& text, const TBasicTextStyle<D>& st) {
        auto label = std::make_unique<TPriLabel>();
        Style(*label, st);
        label->SetDataString(text);
        return Append(std::move(label), r);
    }

    // A record column; the layout shows its name until a record is printed into it.
    template <TTextDefaults D>
    TPriField& Field(QRect r, int column, const QString& name, const TBasicTextStyle<D>& st,
                     TFieldState state = fsText) {
        auto field = std::make_unique<TPriField>();
        Style(*field, st);
        field->CategoryNum = column;
        field->FieldState = state;
        field->FieldMode = fmStandAlone;
        field->SetCategoryName(name);
        return Append(std::move(field), r);
    }

    TPriShape& Box(QRect r, TBltShape kind, TColor fill, TColor pen = clNone, int penWidth = 1, int round = 20);
    TPriLine& Line(QPoint from, QPoint to, TColor color, int width = 1, uint8_t style = psSolid);

protected:
    template <class T> T& Append(std::unique_ptr<T> object, QRect stored) {
        object->SetStoreRect(stored);
        return static_cast<T&>(*fDoc->AppendObject(std::move(object)));
    }

    template <TTextDefaults D> static void Style(TPriLabel& label, const TBasicTextStyle<D>& st) {
        label.Font.setFamily(st.Face);
        label.Font.setPointSize(st.Size);
        label.Font.setBold(st.Bold);
        label.SameFSize = st.Size;
        label.FontColor = st.Color;
        label.SidePos = st.Side;
        label.LongPos = st.Long;
        label.CharSpace = st.CharSpace;
        label.LongSpace = st.LineGap;
        label.KinsokuCheck = true;
        label.LongKanaCheck = st.KanjiDigits;
        label.SetFontAngle(st.Vertical ? faLong : faSide);
    }

    std::unique_ptr<TPriDocument> fDoc;
};
