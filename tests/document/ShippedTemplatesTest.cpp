#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "merge/PriField.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"
#include "print/PageBuilder.h"
#include "print/PageExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

const QString kDataDir = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/");
const QStringList kKinds = {"A4", "A5", "Hagaki", "L", "Meishi"};

QStringList TemplateFiles() {
    QStringList files;
    for (const QString& kind : kKinds) {
        QDir folder(kDataDir + "Template/" + kind);
        for (const QString& name : folder.entryList({"*.tda"}, QDir::Files, QDir::Name))
            files << folder.filePath(name);
    }
    return files;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::unique_ptr<TPriDocument> Load(const QString& path) {
    auto doc = std::make_unique<TPriDocument>(kDataDir);
    const TDocumentResult loaded = doc->Load(path, 0);
    EXPECT_TRUE(loaded) << qPrintable(loaded.Reason);
    return doc;
}

// The designed page (one seat) through the print drawing at a low resolution.
QImage RenderSeat(TPriDocument& doc, int dpi) {
    return TPageExport::RenderSeat(doc, dpi);
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Shown month of a calendar or title stored relative to the first month.
int ShownMonth(int relative, int startMonth) {
    return (relative + startMonth - 2) % 12 + 1;
}
int ShownYear(int relative, int year, int startMonth) {
    return year + (relative + startMonth - 2) / 12;
}

} // namespace

TEST(ShippedTemplateTest, EveryKindOffersThreeTemplatesWithThumbnails) {
    for (const QString& kind : kKinds) {
        SCOPED_TRACE(kind.toStdString());
        QDir folder(kDataDir + "Template/" + kind);
        const QStringList templates = folder.entryList({"*.tda"}, QDir::Files);
        EXPECT_GE(templates.size(), 3);
        for (const QString& name : templates) {
            SCOPED_TRACE(name.toStdString());
            const QByteArray head = ReadAll(folder.filePath(name)).left(8);
            ASSERT_EQ(head.size(), 8);
            // What the template chooser tests before it lists a file.
            EXPECT_EQ(qFromLittleEndian<int32_t>(head.constData()), TTemplateFile::kMagic);
            EXPECT_EQ(qFromLittleEndian<int32_t>(head.constData() + 4), TTemplateFile::kVersion);
            const QImage thumb =
                TJpegCodec::Decode(ReadAll(folder.filePath(QFileInfo(name).completeBaseName() + ".jpg")));
            ASSERT_FALSE(thumb.isNull());
            EXPECT_EQ(std::max(thumb.width(), thumb.height()), 240);
        }
    }
}

TEST(ShippedTemplateTest, SaveOfTheLoadedTemplateGivesTheSameBytes) {
    const QStringList files = TemplateFiles();
    ASSERT_GE(files.size(), 15);
    for (const QString& path : files) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        const QByteArray original = ReadAll(path);
        auto doc = Load(path);
        QByteArray again;
        ASSERT_EQ(TTemplateFile::Build(*doc, 0, again), TTemplateFile::TResult::Ok);
        EXPECT_EQ(again.size(), original.size());
        EXPECT_TRUE(again == original);
        // And once more after the page was laid out, as the editor does before saving.
        doc->ScaleToPaper();
        QByteArray laidOut;
        ASSERT_EQ(TTemplateFile::Build(*doc, 0, laidOut), TTemplateFile::TResult::Ok);
        EXPECT_TRUE(laidOut == original);
    }
}

TEST(ShippedTemplateTest, ObjectsAndSeatsLieOnTheirPaper) {
    for (const QString& path : TemplateFiles()) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        auto doc = Load(path);
        const TPriPaper& p = doc->PrintPaper;
        const QRect page(0, 0, p.PageWidth(), p.PageHeight());
        ASSERT_FALSE(page.isEmpty());
        for (const auto& obj : doc->Objects()) {
            const QRect r = obj->StoreRect();
            EXPECT_TRUE(r.left() >= 0 && r.top() >= 0 && r.left() + r.width() <= page.width() &&
                        r.top() + r.height() <= page.height())
                << "kind " << obj->ObjectNum << " at " << r.left() << "," << r.top() << " size " << r.width() << "x"
                << r.height();
        }
        if (!p.IsSingleSeat()) {
            EXPECT_LE(p.FFirstSeatLeft + p.FSeatColumns * p.FSeatWidth + (p.FSeatColumns - 1) * p.FSeatGapX,
                      p.FSheetWidth);
            EXPECT_LE(p.FFirstSeatTop + p.FSeatRows * p.FSeatHeight + (p.FSeatRows - 1) * p.FSeatGapY, p.FSheetHeight);
        }
    }
}

// Opening a template for a start month re-dates every calendar and month title in sequence, and
// every calendar draws something on paper.
TEST(ShippedTemplateTest, StartMonthRedatesCalendarsAndTitlesAndEveryCalendarPrints) {
    const int year = 2027, start = 4;
    for (const QString& path : TemplateFiles()) {
        SCOPED_TRACE(QFileInfo(path).fileName().toStdString());
        auto doc = Load(path);
        // The data-merge examples carry record fields instead of calendars; their own test covers them.
        if (doc->PrintMode != 0) continue;
        std::vector<std::pair<TPriBase*, int>> relative;
        int calendars = 0, titles = 0;
        for (const auto& obj : doc->Objects()) {
            if (auto* cal = dynamic_cast<TPriCarendar*>(obj.get())) {
                EXPECT_GE(cal->Month(), 1);
                EXPECT_LE(cal->Month(), 12);
                relative.emplace_back(cal, cal->Month());
                ++calendars;
            } else if (auto* field = dynamic_cast<TPriField*>(obj.get())) {
                if (field->CategoryNum == TPriField::kMonthTitleCategory ||
                    field->CategoryNum == TPriField::kMonthTitleYearCategory) {
                    relative.emplace_back(field, field->CategoryName().toInt());
                    ++titles;
                }
            }
        }
        EXPECT_GE(calendars, 1);
        EXPECT_GE(titles, 1);

        doc->ApplyStartMonth(year, start);
        for (const auto& [obj, rel] : relative) {
            if (auto* cal = dynamic_cast<TPriCarendar*>(obj)) {
                EXPECT_EQ(cal->Month(), ShownMonth(rel, start));
                EXPECT_EQ(cal->Year(), ShownYear(rel, year, start));
            } else {
                auto* field = static_cast<TPriField*>(obj);
                const int want = field->CategoryNum == TPriField::kMonthTitleCategory ? ShownMonth(rel, start)
                                                                                      : ShownYear(rel, year, start);
                EXPECT_EQ(field->DataString(), QString::number(want));
            }
        }
        for (const auto& obj : doc->Objects())
            if (auto* field = dynamic_cast<TPriField*>(obj.get());
                field && field->CategoryNum == TPriField::kYearCategory)
                EXPECT_EQ(field->DataString(), QString::number(year));

        doc->ScaleToPaper();
        const int dpi = 40;
        const QImage page = RenderSeat(*doc, dpi);
        QImage blank(page.size(), page.format());
        blank.fill(Qt::white);
        EXPECT_GT(DifferingPixels(page, blank), page.width() * page.height() / 50);
        for (const auto& obj : doc->Objects()) {
            if (obj->ObjectNum != okCarendar) continue;
            obj->PrintCheck = false;
            const QImage without = RenderSeat(*doc, dpi);
            obj->PrintCheck = true;
            EXPECT_GT(DifferingPixels(page, without), 20)
                << "a calendar at " << obj->StoreRect().left() << "," << obj->StoreRect().top() << " prints nothing";
        }
    }
}
