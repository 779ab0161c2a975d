#pragma once

#include <QStringList>

class TIniFile;

// The files opened or saved last, newest first, kept in a section of their own in the
// settings file. Files that have gone are dropped when read and when listed.
class TRecentFiles {
public:
    static constexpr int kMaxCount = 8;
    static const QString& Section();

    // Puts the file first (once), dropping the oldest beyond eight.
    void Add(const QString& file);
    void Remove(const QString& file);
    // The entries whose files still exist.
    QStringList Items() const;

    void Read(const TIniFile& ini);
    // Writes all eight keys, the unused ones empty.
    void Write(TIniFile& ini) const;

private:
    QStringList fFiles;
};
