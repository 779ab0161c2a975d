#include "calendar/PriCarendar.h"
#include "platform/DocumentLimits.h"
#include "document/PriDocument.h"
#include "document/PriPaint.h"
#include "document/TemplateFile.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriShape.h"
#include "platform/StreamWriter.h"
#include "support/FixedPrinter.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

using TResult = TTemplateFile::TResult;
using TFields = std::array<int32_t, TPriPaper::kFieldCount>;

constexpr TFields kPostcard{0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480};

std::unique_ptr<TPriDocument> NewDoc(const TFields& paper = kPostcard) {
    auto doc = std::make_unique<TPriDocument>(QString());
    doc->PrintPaper.SetFields(paper);
    return doc;
}

QByteArray Built(TPriDocument& doc) {
    QByteArray bytes;
    EXPECT_EQ(TTemplateFile::Build(doc, 0, bytes), TResult::Ok);
    return bytes;
}

// A template of the program's writer with extra object entries spliced into side 1: for records
// the writer would never make, such as a text beyond the text dialog's buffer.
QByteArray WithEntries(const std::vector<std::pair<int, QByteArray>>& entries) {
    auto doc = NewDoc();
    QByteArray bytes = Built(*doc);
    TStreamWriter separator;
    separator.WriteInt32(TTemplateFile::kSeparator);
    const qsizetype at = bytes.indexOf(separator.Bytes()) - 4; // the side's object count
    TStreamWriter side;
    side.WriteInt32(int32_t(entries.size()));
    for (const auto& [kind, record] : entries) {
        side.WriteInt32(kind);
        side.WriteBlock64(record);
    }
    return bytes.left(at) + side.Bytes() + bytes.mid(at + 4);
}

// A text record of the writer whose text is replaced by the given bytes.
QByteArray TextRecord(const QByteArray& text, int size = 12) {
    TPriLabel label;
    label.SetStoreRect({100, 100, 800, 400});
    label.SameFSize = size;
    label.SetDataString(QStringLiteral("x"));
    TStreamWriter w;
    label.SaveToStream(w, TPriLabel::kLongRecordVersion);
    QByteArray record = w.Bytes();
    const QByteArray marker("\x01\0\0\0x", 5);
    const qsizetype at = record.indexOf(marker);
    TStreamWriter length;
    length.WriteInt32(int32_t(text.size()));
    return record.left(at) + length.Bytes() + text + record.mid(at + marker.size());
}

// The record with the last string equal to marker replaced by the given bytes.
QByteArray Spliced(const QByteArray& record, const QByteArray& marker, const QByteArray& with) {
    TStreamWriter old, now;
    old.WriteRawString(marker);
    now.WriteRawString(with);
    const qsizetype at = record.lastIndexOf(old.Bytes());
    return record.left(at) + now.Bytes() + record.mid(at + old.Bytes().size());
}

QByteArray Saved(TPriBase& obj, int version) {
    TStreamWriter w;
    obj.SaveToStream(w, version);
    return w.Bytes();
}

TResult Parse(const QByteArray& bytes, QString* reason = nullptr, qint64 budget = TDocumentLimits::kMaxDocumentPixels,
              TPriDocument* into = nullptr) {
    auto doc = NewDoc();
    return TTemplateFile::Parse(into ? *into : *doc, bytes, 0, reason, budget);
}

TPriImage* AddPhoto(TPriDocument& doc, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 200));
    auto image = std::make_unique<TPriImage>();
    image->SetStoreRect({0, 0, 500, 500});
    image->ImageType = 1; // JPEG
    image->SetPicture(picture);
    return static_cast<TPriImage*>(doc.AppendObject(std::move(image)));
}

} // namespace

TEST(DocumentLimitsTest, PapersBeyondRealSheetsAreRefusedWithTheirCause) {
    struct TCase {
        const char* Name;
        TFields Paper;
        bool Ok;
    } cases[] = {
        {"postcard", kPostcard, true},
        {"B0 sheet", {0, 0, 1, 0, 10300, 14560, 0, 0, 0, 0, 0, 0, 1, 1, 10300, 14560}, true},
        {"65 labels on A4", {0, 0, 1, 0, 2100, 2970, 50, 100, 0, 0, 25, 0, 5, 13, 381, 212}, true},
        {"3 m seat", {0, 0, 1, 0, 30000, 30000, 0, 0, 0, 0, 0, 0, 1, 1, 30000, 30000}, false},
        {"100 m seat", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 1000000, 1000000}, false},
        {"largest int seat", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, INT32_MAX, INT32_MAX}, false},
        {"1000 x 1000 seats", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1000, 1000, 10, 10}, false},
        {"300 x 300 seats", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 300, 300, 10, 10}, false},
        {"1000 columns, 100 m step", {0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 1000000, 0, 1000, 1, 10, 10}, false},
        {"offset of 5 m", {0, 0, 1, 0, 2100, 2970, 50000, 0, 0, 0, 0, 0, 2, 2, 10, 10}, false},
    };
    for (const TCase& c : cases) {
        auto doc = NewDoc(c.Paper);
        QString reason;
        EXPECT_EQ(Parse(Built(*doc), &reason), c.Ok ? TResult::Ok : TResult::OutOfLimits) << c.Name;
        EXPECT_EQ(reason.contains(QStringLiteral("用紙")), !c.Ok) << c.Name << " " << reason.toStdString();
    }
}

TEST(DocumentLimitsTest, OneFlippedByteInAShippedTemplateIsRefused) {
    QFile file(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A5/シンプル月めくり.tda"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    EXPECT_EQ(Parse(bytes), TResult::Ok);
    bytes[75] = 0x2F; // the high byte of the seat height: 790 MB of page at 96 dpi
    QString reason;
    EXPECT_EQ(Parse(bytes, &reason), TResult::OutOfLimits);
    EXPECT_TRUE(reason.contains(QStringLiteral("mm"))) << reason.toStdString();
}

TEST(DocumentLimitsTest, RecordsBeyondWhatTheProgramMakesAreRefused) {
    const QByteArray dialogFull(TDocumentLimits::kMaxTextBytes, 'a');
    std::vector<std::pair<int, QByteArray>> calendars(TDocumentLimits::kMaxCalendars + 1);
    for (auto& [kind, record] : calendars) {
        TPriCarendar cal;
        cal.SetStoreRect({0, 0, 500, 400});
        TStreamWriter w;
        cal.SaveToStream(w, TTemplateFile::kVersion);
        kind = okCarendar;
        record = w.Bytes();
    }
    TPriField field;
    field.SetStoreRect({0, 0, 500, 100});
    field.SetCategoryName(QStringLiteral("@@"));
    TPriPortal portal;
    portal.SetStoreRect({0, 0, 500, 100});
    portal.Dataname = QStringLiteral("@@");
    TPriCarendar bigCalendar;
    bigCalendar.SetStoreRect({0, 0, 500, 400});
    bigCalendar.SameFSize = 9000;
    struct TCase {
        const char* Name;
        std::vector<std::pair<int, QByteArray>> Entries;
        const char16_t* Cause; // nullptr when the file loads
    } cases[] = {
        {"text of the dialog's buffer", {{okLabel, TextRecord(dialogFull)}}, nullptr},
        {"text of 8 MB", {{okLabel, TextRecord(QByteArray(8 << 20, '\n'))}}, u"文字列"},
        {"text one byte too long", {{okLabel, TextRecord(dialogFull + 'a')}}, u"文字列"},
        {"font of 12000 points", {{okLabel, TextRecord("abc", 12000)}}, u"ポイント"},
        {"twelve calendars", {calendars.begin(), calendars.begin() + 12}, nullptr},
        {"field name of 40000 bytes", {{okField, Spliced(Saved(field, 10), "@@", QByteArray(40000, 'n'))}}, u"名前"},
        {"portal file name of 2000 bytes",
         {{okPortal, Spliced(Saved(portal, 6), "@@", QByteArray(2000, 'p'))}},
         u"ファイル名"},
        {"calendar font of 9000 points", {{okCarendar, Saved(bigCalendar, 6)}}, u"ポイント"},
        {"too many calendars", calendars, u"カレンダー"},
    };
    for (const TCase& c : cases) {
        QString reason;
        const TResult result = Parse(WithEntries(c.Entries), &reason);
        EXPECT_EQ(result, c.Cause ? TResult::OutOfLimits : TResult::Ok) << c.Name;
        if (c.Cause) EXPECT_TRUE(reason.contains(QString::fromUtf16(c.Cause))) << c.Name << " " << reason.toStdString();
    }
}

TEST(DocumentLimitsTest, PicturesShareOneBudgetAndAreScaledDownBeforeRefused) {
    auto source = NewDoc();
    for (int i = 0; i < 3; ++i)
        AddPhoto(*source, QSize(1000, 1000));
    const QByteArray bytes = Built(*source);
    struct TCase {
        qint64 Budget;
        TResult Result;
        std::vector<int> Widths; // of the loaded pictures
    } cases[] = {
        {TDocumentLimits::kMaxDocumentPixels, TResult::Ok, {1000, 1000, 1000}},
        {3000000, TResult::Ok, {1000, 1000, 1000}},
        {2500000, TResult::Ok, {1000, 1000, 500}}, // half scale of the JPEG fits the rest
        {2100000, TResult::Ok, {1000, 1000, 250}},
        {2000000, TResult::OutOfLimits, {}},
    };
    for (const TCase& c : cases) {
        auto doc = NewDoc();
        QString reason;
        EXPECT_EQ(Parse(bytes, &reason, c.Budget, doc.get()), c.Result) << c.Budget;
        if (c.Result != TResult::Ok) {
            EXPECT_TRUE(reason.contains(QStringLiteral("画像"))) << reason.toStdString();
            continue;
        }
        std::vector<int> widths;
        for (const auto& obj : doc->Objects())
            widths.push_back(static_cast<TPriImage&>(*obj).BaseBmp.width());
        EXPECT_EQ(widths, c.Widths) << c.Budget;
    }
    // A picture scaled down for the budget still saves the bytes it came from.
    auto doc = NewDoc();
    ASSERT_EQ(Parse(bytes, nullptr, 2100000, doc.get()), TResult::Ok);
    EXPECT_EQ(Built(*doc), bytes);
}

TEST(DocumentLimitsTest, BytesAfterTheEndMarkerAreNeverRead) {
    QTemporaryDir dir;
    auto source = NewDoc();
    AddPhoto(*source, QSize(200, 100));
    const QByteArray bytes = Built(*source);
    const QString path = dir.filePath(QStringLiteral("padded.tda"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        // 900 MB of zeros that take no disk: a sparse tail.
        ASSERT_TRUE(file.resize(bytes.size() + (qint64(900) << 20)));
    }
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    auto doc = NewDoc();
    const TDocumentResult loaded = doc->Load(path, 0);
    ASSERT_TRUE(loaded) << loaded.Reason.toStdString();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    // The peak grew by far less than the tail (ru_maxrss is in kilobytes).
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 200 * 1024);
    EXPECT_EQ(Built(*doc), bytes);
}

TEST(DocumentLimitsTest, ThePageBitmapStaysWithinTheRasterLimit) {
    // B0 at 96 dpi is 3892 x 5502 pixels: 21 megapixels at 100 %, 343 at 400 %.
    struct TCase {
        TBltSize Zoom;
        bool HasPage;
    } cases[] = {{bsNormal, true}, {bs200, true}, {bs400, false}};
    for (const TCase& c : cases) {
        TPriPaint doc(nullptr, QString(), 96, std::make_unique<TFixedPrinter>());
        doc.PrintPaper.SetFields({0, 0, 1, 0, 10300, 14560, 0, 0, 0, 0, 0, 0, 1, 1, 10300, 14560});
        doc.BltSizeCheck = c.Zoom;
        doc.SetPageLayout(QPoint(0, 0), QSize(800, 600));
        EXPECT_EQ(!doc.PageBitmap().isNull(), c.HasPage) << int(c.Zoom);
        EXPECT_LE(qint64(doc.PageBitmap().width()) * doc.PageBitmap().height(), TDocumentLimits::kMaxRasterPixels);
    }
}

TEST(DocumentLimitsTest, SeatsTimesObjectsAreBounded) {
    // 40 x 25 seats of 5 mm: 100 objects on each is the limit of 100,000 drawings a sheet.
    struct TCase {
        int Objects;
        TResult Result;
    } cases[] = {{100, TResult::Ok}, {101, TResult::OutOfLimits}};
    for (const TCase& c : cases) {
        auto doc = NewDoc({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 40, 25, 50, 50});
        for (int i = 0; i < c.Objects; ++i) {
            auto shape = std::make_unique<TPriShape>();
            shape->SetStoreRect({0, 0, 40, 40});
            doc->AppendObject(std::move(shape));
        }
        QString reason;
        EXPECT_EQ(Parse(Built(*doc), &reason), c.Result) << c.Objects;
        EXPECT_EQ(reason.contains(QStringLiteral("面付け数")), c.Result != TResult::Ok) << reason.toStdString();
    }
}

TEST(DocumentLimitsTest, PicturesWiderThanAnyPhotoAreRefusedNotScaled) {
    // A version 1 background: a run-length bitmap of 8,388,612 x 2 pixels in 10 bytes of runs.
    // Scaling such a strip down to the picture budget took Qt minutes and then crashed.
    const auto strip = [](int32_t width) {
        TStreamWriter bmp;
        const QByteArray runs("\x04\x01\x00\x00\x02\x10\x02\x01\x00\x01", 10);
        bmp.WriteBytes("BM");
        bmp.WriteInt32(62 + int32_t(runs.size()));
        bmp.WriteInt32(0);
        bmp.WriteInt32(62);
        for (int32_t v : {40, width, 2})
            bmp.WriteInt32(v);
        bmp.WriteBytes(QByteArray("\x01\x00\x04\x00", 4));
        for (int32_t v : {2, int32_t(runs.size()), 2835, 2835, 2, 0})
            bmp.WriteInt32(v);
        bmp.WriteBytes(QByteArray("\xFF\xFF\xFF\x00\x20\x40\xC0\x00", 8));
        bmp.WriteBytes(runs);
        TStreamWriter w;
        w.WriteInt32(TTemplateFile::kMagic);
        w.WriteInt32(1);
        w.WriteInt32(0);
        for (int32_t v : kPostcard)
            w.WriteInt32(v);
        w.WriteInt32(0);
        w.WriteString(QString());
        w.WriteString(QString());
        w.WriteInt32(1);
        w.WriteBool(true);
        w.WriteBlock64(bmp.Bytes());
        for (int32_t v : {0, TTemplateFile::kSeparator, 0, 0, TTemplateFile::kEndMarker})
            w.WriteInt32(v);
        return w.Bytes();
    };
    EXPECT_EQ(Parse(strip(4)), TResult::Ok);
    EXPECT_EQ(Parse(strip(TDocumentLimits::kMaxPictureSide)), TResult::Ok);
    EXPECT_NE(Parse(strip(0x800004)), TResult::Ok);
    EXPECT_NE(Parse(strip(0x800004), nullptr, 16 << 20), TResult::Ok);
}
