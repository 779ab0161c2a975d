#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// A profile-format INI file ([section], key=value lines) held in memory, read and written
// as CP932. Section and key names compare without regard to letter case, as profile files do.
class TIniFile {
public:
    explicit TIniFile(QString fileName);

    const QString& FileName() const { return fFileName; }
    bool Exists() const { return fExists; }
    // Why the file was not read (too large), or empty. A refused file is never written over.
    const QString& LoadError() const { return fLoadError; }
    static constexpr qint64 kMaxFileBytes = 4 << 20;

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // A value that is not a decimal integer reads as the default.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value) {
        WriteInteger(section, key, value ? 1 : 0);
    }

    // Writes the whole file; the old file is replaced only once the new one is complete.
    bool UpdateFile(QString* error = nullptr) const;

    QByteArray ToBytes() const;
    void ParseBytes(const QByteArray& bytes);

private:
    struct TEntry {
        QString Key;
        QString Value;
        // The line as read; written back as it was unless the value was set since.
        QString Raw;
        bool Changed = true;
    };
    struct TSection {
        QString Name;
        std::vector<TEntry> Entries;
        // Case-folded key to index in Entries: a file of many keys reads in linear time.
        QHash<QString, size_t> Index;
    };
    // A line of the file in its place: an entry's, or one the program does not own (a section
    // header, a comment, a blank line, a line without "=", a repeated key), written back as read.
    struct TLine {
        QString Raw;
        qsizetype Section = -1; // the section it belongs to; -1 before the first
        qsizetype Entry = -1;
    };

    const TSection* FindSection(const QString& section) const;
    size_t SectionIndexFor(const QString& section);
    const TEntry* FindEntry(const QString& section, const QString& key) const;
    // Adds the key or, with replace, overwrites its value; otherwise the first occurrence stays.
    void Put(size_t section, const QString& key, const QString& value, bool replace);

    QString fFileName;
    bool fExists = false;
    QString fLoadError;
    std::vector<TSection> fSections;
    std::vector<TLine> fLines;
    QHash<QString, size_t> fSectionIndex;
};
