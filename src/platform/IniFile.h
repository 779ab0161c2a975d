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
    // A line of a section: its entry's, or one the program does not own (a comment, a blank line,
    // a line without "=", a repeated key), written back as read.
    struct TLine {
        QString Raw;
        qsizetype Entry = -1;
    };
    struct TSection {
        QString Name;
        std::vector<TEntry> Entries;
        // Case-folded key to index in Entries: a file of many keys reads in linear time.
        QHash<QString, size_t> Index;
        std::vector<TLine> Lines;
        QString Header;
        bool Read = false;
    };

    const TSection* FindSection(const QString& section) const;
    TSection& SectionFor(const QString& section);
    const TEntry* FindEntry(const QString& section, const QString& key) const;
    // Adds the key or, with replace, overwrites its value; otherwise the first occurrence stays.
    static void Put(TSection& s, const QString& key, const QString& value, bool replace);

    QString fFileName;
    bool fExists = false;
    QString fLoadError;
    std::vector<TSection> fSections;
    // Lines before the first section.
    QStringList fPreamble;
    QHash<QString, size_t> fSectionIndex;
};
