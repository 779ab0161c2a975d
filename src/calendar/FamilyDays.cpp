#include "calendar/FamilyDays.h"

#include "platform/Cp932.h"
#include "platform/FileWriter.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <atomic>

namespace {
// Full-width digits and slash as typed with a Japanese input method count as ASCII.
QString Narrow(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c.unicode() == 0xFF0F)
            c = QLatin1Char('/');
    }
    return out;
}

bool IsSeparator(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c.unicode() == 0x3000;
}

// Digits only, at most maxDigits of them; -1 otherwise.
int Number(const QString& part, int maxDigits) {
    if (part.isEmpty() || part.size() > maxDigits) return -1;
    for (QChar c : part)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    return part.toInt();
}

QString Decode(QByteArray bytes) {
    static const QByteArray kBom("\xEF\xBB\xBF");
    if (bytes.startsWith(kBom)) return QString::fromUtf8(bytes.mid(kBom.size()));
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8(bytes);
    return utf8.hasError() ? TCp932::Decode(bytes) : text;
}
} // namespace

bool TFamilyDays::ParseDate(const QString& text, TEntry* entry, QString* reason) {
    const QString shown = text.trimmed();
    const QStringList parts = Narrow(shown).split(QLatin1Char('/'));
    auto fail = [&](const QString& why) {
        if (reason) *reason = why;
        return false;
    };
    if (parts.size() != 2 && parts.size() != 3)
        return fail(QStringLiteral("日付「%1」は MM/DD か YYYY/MM/DD で書いてください").arg(shown));
    const int year = parts.size() == 3 ? Number(parts[0], 4) : 0;
    const int month = Number(parts[parts.size() - 2], 2);
    const int day = Number(parts.back(), 2);
    // A yearless 02/29 is a real day: it shows on 28 Feb in common years.
    const bool exists = parts.size() == 3 ? year >= 1 && QDate(year, month, day).isValid()
                                          : month >= 1 && QDate(2000, month, day).isValid();
    if (year < 0 || month < 0 || day < 0 || !exists) return fail(QStringLiteral("日付「%1」はありません").arg(shown));
    if (entry) {
        entry->Year = year;
        entry->Month = month;
        entry->Day = day;
    }
    return true;
}

QString TFamilyDays::DateText(const TEntry& entry) {
    const QString md =
        QStringLiteral("%1/%2").arg(entry.Month, 2, 10, QLatin1Char('0')).arg(entry.Day, 2, 10, QLatin1Char('0'));
    return entry.Year > 0 ? QStringLiteral("%1/").arg(entry.Year, 4, 10, QLatin1Char('0')) + md : md;
}

bool TFamilyDays::Load(const QString& path, QStringList* problems) {
    fEntries.clear();
    fSkipped.clear();
    QFile f(path);
    if (!f.exists()) return true;
    if (f.size() > kMaxFileBytes) {
        if (problems) problems->append(QStringLiteral("ファイルが 1 MB を超えているため読みませんでした"));
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        if (problems) problems->append(QStringLiteral("ファイルを開けません（%1）").arg(f.errorString()));
        return false;
    }
    LoadFromBytes(f.read(kMaxFileBytes), problems);
    return true;
}

void TFamilyDays::LoadFromBytes(const QByteArray& bytes, QStringList* problems) {
    fEntries.clear();
    fSkipped.clear();
    const QStringList lines = Decode(bytes.left(kMaxFileBytes)).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        line.remove(QLatin1Char('\r'));
        qsizetype start = 0;
        while (start < line.size() && IsSeparator(line[start]))
            ++start;
        if (start == line.size() || line[start] == QLatin1Char('#') || line[start].unicode() == 0xFF03) continue;
        qsizetype end = start;
        while (end < line.size() && !IsSeparator(line[end]))
            ++end;
        TEntry e;
        QString reason;
        // trimmed() also drops the full-width space.
        e.Name = line.mid(end).trimmed();
        if (ParseDate(line.mid(start, end - start), &e, &reason)) {
            if (e.Name.isEmpty())
                reason = QStringLiteral("名前がありません");
            else if (e.Name.size() > kMaxNameChars)
                reason = QStringLiteral("名前が %1 文字を超えています").arg(kMaxNameChars);
            else {
                fEntries.push_back(e);
                continue;
            }
        }
        fSkipped.append(line.trimmed());
        if (problems) problems->append(QStringLiteral("%1行目: %2").arg(i + 1).arg(reason));
    }
}

bool TFamilyDays::Save(const QString& path, QString* error) const {
    QString text = QStringLiteral("# 記念日: 1行に「MM/DD 名前」か「YYYY/MM/DD 名前」\n");
    for (const TEntry& e : fEntries) {
        // A line break inside a name would split it into two damaged lines on the next load.
        QString name = e.Name;
        for (QChar& c : name)
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) c = QLatin1Char(' ');
        text += DateText(e) + QLatin1Char(' ') + name.trimmed() + QLatin1Char('\n');
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    return TFileWriter::WriteAll(path, text.toUtf8(), error);
}

QStringList TFamilyDays::On(int year, int month, int day, bool showYears) const {
    const bool leapDayMoved = month == 2 && day == 28 && !QDate::isLeapYear(year);
    QStringList names;
    for (const TEntry& e : fEntries) {
        if (e.Month != month || (e.Day != day && !(leapDayMoved && e.Day == 29))) continue;
        // A dated day is marked from its own year on, not before it happened.
        if (e.Year > 0 && year < e.Year) continue;
        const int years = year - e.Year;
        names.append(showYears && e.Year > 0 && years >= 1 ? QStringLiteral("%1（%2）").arg(e.Name).arg(years)
                                                           : e.Name);
    }
    return names;
}

namespace {
std::shared_ptr<const TFamilyDays>& CurrentSlot() {
    static std::shared_ptr<const TFamilyDays> current = std::make_shared<TFamilyDays>();
    return current;
}
} // namespace

std::shared_ptr<const TFamilyDays> TFamilyDays::Current() {
    return std::atomic_load(&CurrentSlot());
}
void TFamilyDays::SetCurrent(std::shared_ptr<const TFamilyDays> days) {
    std::atomic_store(&CurrentSlot(), days ? std::move(days) : std::make_shared<const TFamilyDays>());
}
