#include "print/CardData.h"

#include "platform/Cp932.h"
#include "platform/FileWriter.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

constexpr int kFieldCount = 10;
// Name count, flags and the ten fields, without the name's bytes.
constexpr int32_t kMinRecord = 4 + 4 + 4 * kFieldCount;
// Larger than any sheet list anyone keeps; a bigger file is not ours.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

int32_t* Fields(TCardSheet& s, int i) {
    int32_t* const fields[kFieldCount] = {&s.SheetWidth, &s.SheetHeight, &s.Columns, &s.Rows,      &s.SeatWidth,
                                          &s.SeatHeight, &s.PitchX,      &s.PitchY,  &s.FirstLeft, &s.FirstTop};
    return fields[i];
}

bool Fail(QString* error, const QString& message) {
    if (error) *error = message;
    return false;
}

QString Damaged() {
    return QStringLiteral("用紙データ（carddata.cdd）が壊れています。");
}

// Millimetres as the file's 0.1 mm.
constexpr int32_t Mm(double mm) {
    return int32_t(mm * 10 + 0.5);
}

TCardSheet Grid(const char* name, double seatW, double seatH, int cols, int rows, double left, double top) {
    TCardSheet s;
    s.Name = QString::fromUtf8(name);
    s.SheetWidth = Mm(210);
    s.SheetHeight = Mm(297);
    s.Columns = cols;
    s.Rows = rows;
    s.SeatWidth = s.PitchX = Mm(seatW);
    s.SeatHeight = s.PitchY = Mm(seatH);
    s.FirstLeft = Mm(left);
    s.FirstTop = Mm(top);
    return s;
}

TCardSheet Single(const char* name, double width, double height) {
    TCardSheet s;
    s.Name = QString::fromUtf8(name);
    s.SheetWidth = s.SeatWidth = s.PitchX = Mm(width);
    s.SheetHeight = s.SeatHeight = s.PitchY = Mm(height);
    return s;
}

} // namespace

bool TCardData::Read(const QByteArray& bytes, QList<TCardSheet>& sheets, QString* error) {
    sheets.clear();
    TStreamReader in(bytes);
    char magic[4];
    if (!in.Peek(magic, 4) || memcmp(magic, kMagic, 4) != 0)
        return Fail(error, QStringLiteral("用紙データ（carddata.cdd）の形式が違います。"));
    in.Skip(4);
    int32_t version = 0, count = 0;
    if (!in.ReadInt32(version)) return Fail(error, Damaged());
    if (version != kVersion)
        return Fail(error, QStringLiteral("この版では読めない用紙データです（版 %1）。").arg(version));
    if (!in.ReadInt32(count) || count < 0 || count > kMaxSheets || qint64(count) * (4 + kMinRecord) > in.Remaining())
        return Fail(error, Damaged());

    QList<TCardSheet> read;
    read.reserve(count);
    for (int i = 0; i < count; ++i) {
        int32_t length = 0;
        if (!in.ReadInt32(length) || length < kMinRecord || length > in.Remaining()) return Fail(error, Damaged());
        TStreamReader record(bytes.mid(in.Position(), length));
        in.Skip(length);

        TCardSheet sheet;
        QByteArray name;
        int32_t flags = 0;
        if (!record.ReadRawString(name) || name.size() > TCardSheet::kMaxNameBytes || !record.ReadInt32(flags))
            return Fail(error, Damaged());
        for (int f = 0; f < kFieldCount; ++f)
            if (!record.ReadInt32(*Fields(sheet, f))) return Fail(error, Damaged());
        sheet.Name = TCp932::Decode(name);
        sheet.UserAdded = (flags & 1) != 0;
        const QString problem = sheet.Problem();
        if (!problem.isEmpty())
            return Fail(error, Damaged() + QStringLiteral("（%1 番目の用紙: %2）").arg(i + 1).arg(problem));
        read.append(sheet);
    }
    if (!in.AtEnd()) return Fail(error, Damaged());
    sheets = std::move(read);
    return true;
}

QByteArray TCardData::Write(const QList<TCardSheet>& sheets) {
    TStreamWriter out;
    out.WriteBytes(kMagic, 4);
    out.WriteInt32(kVersion);
    out.WriteInt32(int32_t(sheets.size()));
    for (TCardSheet sheet : sheets) {
        TStreamWriter record;
        record.WriteRawString(TCp932::Encode(sheet.Name));
        record.WriteInt32(sheet.UserAdded ? 1 : 0);
        for (int f = 0; f < kFieldCount; ++f)
            record.WriteInt32(*Fields(sheet, f));
        out.WriteInt32(int32_t(record.Size()));
        out.WriteBytes(record.Bytes());
    }
    return out.Bytes();
}

bool TCardData::LoadFromFile(const QString& fileName, QList<TCardSheet>& sheets, QString* error) {
    sheets.clear();
    const QFileInfo info(fileName);
    if (!info.isFile()) return Fail(error, QStringLiteral("用紙データ（carddata.cdd）が見つかりません。"));
    if (info.size() > kMaxFileSize) return Fail(error, Damaged());
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return Fail(error, QStringLiteral("用紙データ（carddata.cdd）を開けません。"));
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) return Fail(error, Damaged());
    return Read(bytes, sheets, error);
}

bool TCardData::SaveToFile(const QString& fileName, const QList<TCardSheet>& sheets, QString* error) {
    for (const TCardSheet& sheet : sheets)
        if (!sheet.Problem().isEmpty()) return Fail(error, sheet.Problem());
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(folder))
        return Fail(error, QStringLiteral("フォルダ %1 を作れません。").arg(QDir::toNativeSeparators(folder)));
    QString cause;
    if (!TFileWriter::WriteAll(fileName, Write(sheets), &cause))
        return Fail(error, QStringLiteral("用紙データ（carddata.cdd）を保存できません: %1").arg(cause));
    return true;
}

QList<TCardSheet> TCardData::ShippedSheets() {
    return {
        Grid("A4 名刺 10面（91×55mm）", 91, 55, 2, 5, 14, 11),
        Grid("A4 ラベル 12面（86.4×42.3mm）", 86.4, 42.3, 2, 6, 18.6, 21.6),
        Grid("A4 ラベル 24面（70×33.9mm）", 70, 33.9, 3, 8, 0, 12.9),
        Grid("A4 ラベル 44面（48.3×25.4mm）", 48.3, 25.4, 4, 11, 8.4, 8.8),
        Single("はがき（100×148mm）", 100, 148),
        Single("L判（89×127mm）", 89, 127),
        Single("2L判（127×178mm）", 127, 178),
        Single("A4（210×297mm）", 210, 297),
        Single("A5（148×210mm）", 148, 210),
    };
}
