#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The family's own days (birthdays, anniversaries) that calendars mark. Kept in a small text file
// in the user's settings folder, CP932 or UTF-8, one "MM/DD name" or "YYYY/MM/DD name" per line.
class TFamilyDays {
public:
    struct TEntry {
        int Year = 0; // 0: every year
        int Month = 0;
        int Day = 0;
        QString Name;
        bool operator==(const TEntry&) const = default;
    };

    // Reads the file; a missing file is an empty list. A damaged line is skipped and named in
    // problems ("3行目: …"). False only when the file exists but cannot be read.
    bool Load(const QString& path, QStringList* problems = nullptr);
    // Parses the bytes (UTF-8 when they are valid UTF-8, else CP932).
    void LoadFromBytes(const QByteArray& bytes, QStringList* problems = nullptr);
    // Writes the list as UTF-8, replacing the file only when every byte was written.
    bool Save(const QString& path, QString* error = nullptr) const;

    const std::vector<TEntry>& Entries() const { return fEntries; }
    // The text of each line the last load skipped, so that an editor can offer it for repair
    // instead of dropping it on the next save.
    const QStringList& SkippedLines() const { return fSkipped; }
    void SetEntries(std::vector<TEntry> entries) { fEntries = std::move(entries); }

    // The texts to mark on a date; with showYears a dated entry carries its count of years
    // ("太郎（30）") from its first anniversary on.
    QStringList On(int year, int month, int day, bool showYears) const;

    // The date part of a line ("05/03", "2019/5/3", full-width digits too) into the entry's date;
    // false with a reason in Japanese for a date that does not exist or is not of either form.
    static bool ParseDate(const QString& text, TEntry* entry, QString* reason = nullptr);
    // "05/03" or "2019/05/03", as the file holds it.
    static QString DateText(const TEntry& entry);
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;
    static constexpr int kMaxNameChars = 100;

    // The list every calendar of the process marks; empty until the program sets one.
    static std::shared_ptr<const TFamilyDays> Current();
    static void SetCurrent(std::shared_ptr<const TFamilyDays> days);

private:
    std::vector<TEntry> fEntries;
    QStringList fSkipped;
};
