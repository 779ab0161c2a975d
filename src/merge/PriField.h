#pragma once

#include "merge/BarcodeValue.h"
#include "merge/FieldPlusStyle.h"
#include "merge/NameBlock.h"
#include "objects/PriLabel.h"

#include <QString>
#include <functional>

class TPriBarcode;
class TPriImage;

// How a field draws its value.
enum TFieldState : uint8_t { fsText = 0, fsImage = 1, fsBarcode = 2, fsTotal = 3, fsRengeTotal = 4 };
// fmJetPrint hides the edit frame.
enum TFieldMode : uint8_t { fmStandAlone = 0, fmSubMode = 1, fmJetPrint = 2 };

// A text object whose text is a record value at print time: drawn as text, as a picture named
// by the value, or as a barcode the value describes. While editing it shows its category name
// inside a thin frame.
class TPriField : public TPriLabel {
public:
    // Category names that print the page counters instead of a record value.
    static const QString kCurrentRecordName; // "現在レコード数"
    static const QString kTotalRecordName;   // "対象レコード数"
    // Categories that take their text from the chosen start year and month when a template opens:
    // the year; the month of the relative month in the name ("1" to "12"); that month's year; the
    // era year of that month ("令和9年"); its year's 干支 ("丁未"); the 干支 with its animal.
    static constexpr int kYearCategory = -63;
    static constexpr int kMonthTitleCategory = -62;
    static constexpr int kMonthTitleYearCategory = -61;
    static constexpr int kEraYearCategory = -60;
    static constexpr int kKanshiCategory = -59;
    static constexpr int kKanshiAnimalCategory = -58;
    static constexpr int kMaxNameBytes = 1024;

    TPriField();

    int32_t CategoryNum = 9999;
    QString FileName;
    TFieldState FieldState = fsText;
    TFieldMode FieldMode = fmSubMode;
    // The text kept in the record's text slot.
    QString DirectString;
    // The program folder with a trailing separator: picture values are looked up below it first.
    QString AppPath;

    const QString& CategoryName() const { return fCategoryName; }
    // Also shows the name as the text.
    void SetCategoryName(const QString& value);
    TFieldPlusStyle& FieldPStyle() { return fStyle; }
    const TFieldPlusStyle& FieldPStyle() const { return fStyle; }
    TBltMode Bltmode() const { return fBltmode; }
    void SetBltmode(TBltMode value) { fBltmode = value; }

    // The text for page current of total of a record: the counters, the formatted value, or the
    // value itself for pictures and barcodes. A sender field keeps the sender's text.
    virtual void SetRecordText(const QString& value, int current, int total);
    // The same for a record whose values the lookup gives by category: a name block also takes its
    // given, joint and honorific names from there.
    virtual void SetRecordValues(const std::function<QString(int category)>& value, int current, int total);
    // A text field with Extras.NameBlock: laid out as a name block, not as lines of text.
    bool NameBlockShown() const { return Extras.NameBlock && FieldState == fsText; }
    // Re-dates the year and month-title categories; other fields stay as they are.
    void ApplyStartMonth(int year, int startMonth);
    // The text of a month-title category for the month that many months from the start, "" for
    // other categories.
    static QString MonthTitleText(int category, int year, int month);
    // Shows the sender's text when this is a sender field; false for other fields.
    bool ApplySender(const QString& text);

    void AssignObject(const TPriBase* source, bool layoutOnly) override;
    using TPriLabel::AssignObject;
    void FillBack(QPainter& canvas, const TRect& rect, TBltMode mode) override;
    void DrawGlyphs(QPainter& canvas, const TRect& target, bool useMargins, QPoint origin, const TRect& margins,
                    TBltMode mode, int size, const TRect& clip) override;
    void PrintDraw(QPainter& canvas, const QRect& target, bool useMargins, QPoint pageOrigin, const TRect& pageMargins,
                   const QRect& pageClip) override;
    bool LoadFromStream(TStreamReader& stream, int version) override;
    bool SaveToStream(TStreamWriter& stream, int version) override;
    void MakeLines() override;
    void LayoutGlyphs(TTextCanvas& canvas, const TRect& rect, TBltMode mode, int size,
                      const QStringList& lines) override;

    // What a barcode field with these options draws for a record's value and address; false when
    // the value has no barcode's shape.
    static bool BarcodeFor(const TObjectExtras& extras, const QString& value, const QString& address,
                           TBarcodeValue& out);
    // The address a customer barcode takes from the record: its two address categories joined.
    static QString BarcodeAddress(const TObjectExtras& extras, const std::function<QString(int category)>& value);
    // While editing: why the field's box cannot hold its barcode at a printable size, "" when it can.
    QString BarcodeTip() const;

    // The picture a fsImage value names: below AppPath first, then the value as a path; "" if neither.
    QString ImageFileFor(const QString& value) const;

private:
    struct TBody;
    // Fields 25 to 41; with38 tells whether DropPoint and ZeroPad are there.
    static bool ReadBody(TStreamReader& stream, int version, bool with38, TBody& body);
    // True when the bytes left hold exactly a plausible body of that form.
    static bool BodyFitsExactly(const TStreamReader& stream, int version, bool with38);
    // Reads the record into this object; on failure part of it may have been taken.
    bool LoadRecord(TStreamReader& stream, int version);
    void DrawPicture(TPriImage& image, QPainter& canvas, const QRect& target, bool useMargins, QPoint origin,
                     const TRect& margins, const QRect& clip);
    void Relayout();
    void DrawBarcode(TPriBarcode& barcode, QPainter& canvas, const QRect& target, const QRect& clip);
    void DrawSymbol(const TBarcodeValue& value, QPainter& canvas, const QRect& target, const QRect& clip);
    // The record's name, or while editing a sample that names the parts.
    TNameParts NameParts() const;

    QString fCategoryName;
    TFieldPlusStyle fStyle;
    TBltMode fBltmode = bmLayout;
    // The other parts of a name block from the last record; the family name is the text.
    TNameParts fNameParts;
    bool fNameFromRecord = false;
    // What a sender field prints: the sender's text as last applied.
    QString fSenderText;
    // The customer barcode's address from the last record.
    QString fBarcodeAddress;
};
