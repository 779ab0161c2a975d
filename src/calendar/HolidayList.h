#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <string>
#include <unordered_set>
#include <vector>

// The holiday file read into twelve month lists. A line marks a date only when it is exactly
// the eight-character key YYYYMMDD; anything else on the line makes it match nothing.
class THolidayList {
public:
    // Refuses files larger than this: a real list for a century is about 30 KB.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    // False when the file is missing, unreadable or too large; the list then stays unloaded and
    // error says why in Japanese.
    bool LoadFromFile(const QString& path, QString* error = nullptr);
    // Why the file at path gives no holidays, or empty when it loads.
    static QString FileProblem(const QString& path);
    // Lines end at CR LF, CR or LF. A line whose characters 5 and 6 are not a month number
    // 01..12 is skipped.
    void LoadFromBytes(const QByteArray& bytes);

    bool Loaded() const { return fLoaded; }
    bool IsHoliday(int year, int month, int day) const;
    // The lines filed under a month (1..12), in file order; empty for other months.
    const std::vector<std::string>& MonthLines(int month) const;

    // The key of a date: the year in decimal, then month and day as two digits each.
    static std::string MakeKey(int year, int month, int day);

private:
    std::array<std::vector<std::string>, 12> fMonths;
    // The same lines for lookup; a calendar asks once per drawn day.
    std::array<std::unordered_set<std::string>, 12> fLookup;
    bool fLoaded = false;
};
