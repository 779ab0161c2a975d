#include "platform/IniFile.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

TIniFile::TIniFile(QString fileName) : fFileName(std::move(fileName)) {
    // Only a plain file is read: opening a pipe would wait for a writer for ever.
    if (!QFileInfo(fFileName).isFile()) return;
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly)) return;
    fExists = true;
    ParseBytes(file.readAll());
}

void TIniFile::ParseBytes(const QByteArray& bytes) {
    fSections.clear();
    const QStringList lines = TCp932::Decode(bytes).split('\n');
    TSection* current = nullptr;
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';')) continue;
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            const QString name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
            current = const_cast<TSection*>(FindSection(name));
            if (!current) {
                fSections.push_back({name, {}});
                current = &fSections.back();
            }
            continue;
        }
        if (!current) continue;
        const qsizetype eq = trimmed.indexOf('=');
        if (eq <= 0) continue;
        const QString key = trimmed.left(eq).trimmed();
        QString value = trimmed.mid(eq + 1).trimmed();
        // Profile readers drop one pair of enclosing quotes.
        if (value.size() >= 2 && ((value.startsWith('"') && value.endsWith('"')) ||
                                  (value.startsWith('\'') && value.endsWith('\''))))
            value = value.mid(1, value.size() - 2);
        bool found = false;
        for (TEntry& e : current->Entries)
            if (e.Key.compare(key, Qt::CaseInsensitive) == 0) {
                found = true; // the first occurrence wins, as with profile files
                break;
            }
        if (!found) current->Entries.push_back({key, value});
    }
}

const TIniFile::TSection* TIniFile::FindSection(const QString& section) const {
    for (const TSection& s : fSections)
        if (s.Name.compare(section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

const TIniFile::TEntry* TIniFile::FindEntry(const QString& section, const QString& key) const {
    const TSection* s = FindSection(section);
    if (!s) return nullptr;
    for (const TEntry& e : s->Entries)
        if (e.Key.compare(key, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

bool TIniFile::SectionExists(const QString& section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return FindEntry(section, key) != nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const TEntry* e = FindEntry(section, key);
    return e ? e->Value : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const TEntry* e = FindEntry(section, key);
    if (!e) return def;
    bool ok = false;
    QString v = e->Value;
    int result;
    if (v.startsWith("0x", Qt::CaseInsensitive) || v.startsWith('$')) {
        // Colours may be written in hex by hand; keep the 32-bit pattern.
        const uint u = v.mid(v.startsWith('$') ? 1 : 2).toUInt(&ok, 16);
        result = static_cast<int>(u);
    } else {
        const qlonglong l = v.toLongLong(&ok);
        ok = ok && l >= INT32_MIN && l <= UINT32_MAX;
        result = static_cast<int>(static_cast<uint32_t>(l));
    }
    return ok ? result : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return (ReadInteger(section, key, def ? 1 : 0) & 0xFF) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    TSection* s = const_cast<TSection*>(FindSection(section));
    if (!s) {
        fSections.push_back({section, {}});
        s = &fSections.back();
    }
    for (TEntry& e : s->Entries)
        if (e.Key.compare(key, Qt::CaseInsensitive) == 0) {
            e.Value = value;
            return;
        }
    s->Entries.push_back({key, value});
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

QByteArray TIniFile::ToBytes() const {
    QString text;
    for (const TSection& s : fSections) {
        text += '[' + s.Name + "]\r\n";
        for (const TEntry& e : s.Entries) text += e.Key + '=' + e.Value + "\r\n";
        text += "\r\n";
    }
    return TCp932::Encode(text);
}

bool TIniFile::UpdateFile(QString* error) const {
    QSaveFile file(fFileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(ToBytes()) < 0 || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}
