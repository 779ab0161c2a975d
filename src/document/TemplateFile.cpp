#include "document/TemplateFile.h"

#include "calendar/Koyomi.h"
#include "calendar/PriCarendar.h"
#include "document/ExtensionArea.h"
#include "document/ObjectKinds.h"
#include "document/PriDocument.h"
#include "merge/PriField.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "platform/FileWriter.h"
#include "platform/ReadBudget.h"
#include "platform/Rounding.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

using TResult = TTemplateFile::TResult;

bool WriteSide(TStreamWriter& out, TObjectOwnerList& objects) {
    int32_t count = 0;
    for (const auto& obj : objects)
        if (!obj->UndoCheck) ++count;
    out.WriteInt32(count);
    for (auto& obj : objects) {
        if (obj->UndoCheck) continue;
        // The record stores the picture as adjusted, not as first loaded.
        if (obj->ObjectNum == okImage) {
            auto& image = static_cast<TPriImage&>(*obj);
            image.BaseBmp = image.BltBmp;
        }
        TStreamWriter scratch;
        if (!obj->SaveToStream(scratch, TTemplateFile::RecordVersionFor(obj->ObjectNum))) return false;
        out.WriteInt32(obj->ObjectNum);
        out.WriteBlock64(scratch.Bytes());
    }
    return true;
}

// Reads one side's objects into a temporary list. Kinds this program does not know refuse the file.
// The calendars of a document: the holiday file is read by the first and shared by the others.
struct THolidays {
    bool Tried = false;
    std::shared_ptr<const THolidayList> List;
    int Calendars = 0;
};

bool ReadSide(TStreamReader& in, int version, TPriDocument& doc, QSize paperPixels, TObjectOwnerList& objects,
              THolidays& holidays) {
    int32_t count;
    if (!in.ReadInt32(count) || count < 0) return false;
    if (count > TDocumentLimits::kMaxObjectsPerSide)
        return in.Refuse(
            QStringLiteral("部品の数 %1 は上限 %2 を超えています").arg(count).arg(TDocumentLimits::kMaxObjectsPerSide));
    for (int32_t i = 0; i < count; ++i) {
        int32_t kind;
        QByteArray record;
        if (!in.ReadInt32(kind) || !in.ReadBlock64(record)) return false;
        std::unique_ptr<TPriBase> obj = TObjectFactory::Create(kind);
        if (!obj) return false;
        if (kind == okCarendar && ++holidays.Calendars > TDocumentLimits::kMaxCalendars)
            return in.Refuse(
                QStringLiteral("カレンダーの数が上限 %1 を超えています").arg(TDocumentLimits::kMaxCalendars));
        TStreamReader recordStream(record);
        recordStream.SetBudget(in.Budget());
        if (!obj->LoadFromStream(recordStream, version)) return false;
        obj->ListNum = int(objects.size());
        obj->BackImage = &doc.PageBitmap();
        if (kind == okField) static_cast<TPriField&>(*obj).AppPath = doc.AppPath();
        if (kind == okCarendar) {
            auto& cal = static_cast<TPriCarendar&>(*obj);
            cal.SetBaseSize(QPoint(paperPixels.width(), paperPixels.height()));
            cal.MakeDayTable();
            if (!holidays.Tried) {
                holidays.Tried = true;
                auto list = std::make_shared<THolidayList>();
                if (list->LoadFromFile(TPriCarendar::HolidayFile(doc.AppPath()))) holidays.List = std::move(list);
            }
            cal.SetHolidayList(holidays.List);
            cal.SetAlmanacTable(TKoyomi::TableFile(doc.AppPath()));
        }
        objects.push_back(std::move(obj));
    }
    return true;
}

// The objects of a side in the order WriteSide writes them, as the extension area counts them.
std::vector<TPriBase*> WrittenObjects(TObjectOwnerList& objects) {
    std::vector<TPriBase*> written;
    for (auto& obj : objects)
        if (!obj->UndoCheck) written.push_back(obj.get());
    return written;
}

std::vector<TPriBase*> Pointers(TObjectOwnerList& objects) {
    std::vector<TPriBase*> all;
    for (auto& obj : objects)
        all.push_back(obj.get());
    return all;
}

} // namespace

int TTemplateFile::RecordVersionFor(int kind) {
    // Text and field records carry their fullest form in templates; the record length lets any
    // reader skip what it does not know.
    if (kind == okLabel || kind == okField) return TPriLabel::kLongRecordVersion;
    return kVersion;
}

TResult TTemplateFile::Build(TPriDocument& doc, int formatKind, QByteArray& bytes) {
    TStreamWriter out;
    out.WriteInt32(kMagic);
    out.WriteInt32(kVersion);
    out.WriteInt32(formatKind);
    doc.PrintPaper.SaveToStream(out);
    out.WriteInt32(0); // reserved flag
    out.WriteInt32(doc.PrintMode);
    out.WriteString(doc.RecordMainFile);
    out.WriteString(doc.RecordMeisaiFile);
    if (!doc.BackObject.WriteBack(out, TPriBackImage::kMainBack)) return TResult::ObjectWrite;
    if (!WriteSide(out, doc.SideObjects(0))) return TResult::ObjectWrite;
    out.WriteInt32(kSeparator);
    if (!doc.BackObject.WriteBack(out, TPriBackImage::kSubBack)) return TResult::ObjectWrite;
    if (!WriteSide(out, doc.SideObjects(1))) return TResult::ObjectWrite;
    out.WriteInt32(kEndMarker);
    TExtensionArea::Write(out, {WrittenObjects(doc.SideObjects(0)), WrittenObjects(doc.SideObjects(1))});
    bytes = out.Bytes();
    return TResult::Ok;
}

TResult TTemplateFile::Parse(TPriDocument& doc, const QByteArray& bytes, int formatKind, QString* reason,
                             qint64 pixelBudget) {
    TStreamReader in(bytes);
    return Parse(doc, in, formatKind, reason, pixelBudget);
}

TResult TTemplateFile::Parse(TPriDocument& doc, TStreamReader& in, int formatKind, QString* reason,
                             qint64 pixelBudget) {
    TObjectKinds::RegisterAll();
    TReadBudget budget(pixelBudget);
    in.SetBudget(&budget);
    // A refused value names its cause; any other failure stays the silent one.
    const auto failed = [&]() {
        if (budget.Refusal().isEmpty()) return TResult::Silent;
        if (reason) *reason = budget.Refusal();
        return TResult::OutOfLimits;
    };
    int32_t magic, version, kind;
    if (!in.ReadInt32(magic) || magic != kMagic) return TResult::Silent;
    if (!in.ReadInt32(version)) return TResult::Silent;
    if (version < 1 || version > kVersion) return TResult::BadVersion;
    if (!in.ReadInt32(kind)) return TResult::Silent;
    if ((kind & 0xFF) != formatKind) return TResult::BadKind;

    TPriPaper paper;
    if (paper.LoadFromStream(in) != 0) return TResult::Silent;
    if (const QString problem = TPriPaper::LimitProblem(paper.Fields()); !problem.isEmpty()) {
        if (reason) *reason = problem;
        return TResult::OutOfLimits;
    }
    if (version >= 3) {
        int32_t reserved;
        if (!in.ReadInt32(reserved)) return TResult::Silent;
        if (reserved == 1) {
            QByteArray skipped;
            if (!in.Skip(8) || !in.ReadBlock64(skipped)) return TResult::Silent;
        }
    }
    int32_t printMode;
    QString mainFile, detailFile;
    if (!in.ReadInt32(printMode) || !in.ReadString(mainFile) || !in.ReadString(detailFile)) return TResult::Silent;

    const int inch = doc.ScreenInch();
    const QSize paperPixels(Trunc(paper.PageWidth() / 254.0 * inch), Trunc(paper.PageHeight() / 254.0 * inch));

    TPriBackImage back;
    TObjectOwnerList side1, side2;
    THolidays holidays;
    if (!back.ReadBack(in, TPriBackImage::kMainBack, version)) return failed();
    if (!ReadSide(in, version, doc, paperPixels, side1, holidays)) return failed();
    int32_t separator;
    if (!in.ReadInt32(separator) || separator != kSeparator) return TResult::Silent;
    if (!back.ReadBack(in, TPriBackImage::kSubBack, version)) return failed();
    if (!ReadSide(in, version, doc, paperPixels, side2, holidays)) return failed();
    int32_t end;
    if (!in.ReadInt32(end) || end != kEndMarker) return TResult::Silent;
    // The base document stands on its own: a damaged extension costs only its options.
    if (TExtensionArea::Read(in, {Pointers(side1), Pointers(side2)}) == TExtensionArea::TResult::Damaged && reason)
        *reason = kDamagedExtension;
    const qint64 seats = qint64(std::max(1, paper.FSeatColumns)) * std::max(1, paper.FSeatRows);
    const qint64 objects = qint64(std::max(side1.size(), side2.size()));
    if (seats * objects > TDocumentLimits::kMaxSeatDraws) {
        if (reason)
            *reason = QStringLiteral("面付け数 %1 と部品の数 %2 の積が上限 %3 を超えています")
                          .arg(seats)
                          .arg(objects)
                          .arg(TDocumentLimits::kMaxSeatDraws);
        return TResult::OutOfLimits;
    }

    doc.ReplaceContent(std::move(side1), std::move(side2), paper, back);
    doc.PrintMode = printMode;
    doc.RecordMainFile = mainFile;
    doc.RecordMeisaiFile = detailFile;
    return TResult::Ok;
}

TResult TTemplateFile::Save(TPriDocument& doc, const QString& fileName, int formatKind, QString* error) {
    QByteArray bytes;
    const TResult built = Build(doc, formatKind, bytes);
    if (built != TResult::Ok) return built;
    // Written beside the target and renamed over it, so a failure never leaves half a template.
    return TFileWriter::WriteAll(fileName, bytes, error) ? TResult::Ok : TResult::FileError;
}

TResult TTemplateFile::Load(TPriDocument& doc, const QString& fileName, int formatKind, QString* error) {
    // Opening a pipe would wait for a writer forever, and a device or a huge file would be read
    // without end: only plain files of a size a template can have are read.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        if (error) *error = QStringLiteral("通常のファイルではありません");
        return TResult::FileError;
    }
    if (info.size() > kMaxFileBytes) {
        if (error) *error = QStringLiteral("テンプレートとしては大きすぎるファイルです");
        return TResult::FileError;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("ファイルを開けません: %1").arg(file.errorString());
        return TResult::FileError;
    }
    // Read as the format asks, never mapped: a file cut short while it is read fails the load
    // instead of faulting.
    TStreamReader in(&file, std::min(file.size(), kMaxFileBytes));
    const TResult result = Parse(doc, in, formatKind, error);
    if (result != TResult::Ok && file.error() != QFileDevice::NoError) {
        if (error) *error = QStringLiteral("ファイルを読み込めません: %1").arg(file.errorString());
        return TResult::FileError;
    }
    return result;
}
