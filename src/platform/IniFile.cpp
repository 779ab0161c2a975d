#include "platform/IniFile.h"

#include "platform/Cp932.h"
#include "platform/FileWriter.h"

#include <QFile>
#include <QFileInfo>

TIniFile::TIniFile(QString fileName) : fFileName(std::move(fileName)) {
    // Only a plain file is read: opening a pipe would wait for a writer for ever.
    const QFileInfo info(fFileName);
    if (!info.isFile()) return;
    if (info.size() > kMaxFileBytes) {
        fLoadError = QStringLiteral("%1 は大きすぎるため読み込みませんでした（上限 %2 MB）")
                         .arg(info.fileName())
                         .arg(kMaxFileBytes >> 20);
        return;
    }
    QFile file(fFileName);
    if (!file.open(QIODevice::ReadOnly)) return;
    fExists = true;
    ParseBytes(file.read(kMaxFileBytes));
}

void TIniFile::ParseBytes(const QByteArray& bytes) {
    fSections.clear();
    fSectionIndex.clear();
    fLines.clear();
    QStringList lines = TCp932::Decode(bytes).split('\n');
    // The break after the last line starts no line of its own.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    qsizetype current = -1;
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            // A repeated header's keys join the first section of the name.
            current = qsizetype(SectionIndexFor(trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed()));
            fLines.push_back({line, current, -1});
            continue;
        }
        const qsizetype eq = trimmed.indexOf('=');
        if (current < 0 || trimmed.startsWith(';') || eq <= 0) {
            fLines.push_back({line, current, -1});
            continue;
        }
        const QString key = trimmed.left(eq).trimmed();
        QString value = trimmed.mid(eq + 1).trimmed();
        // Profile readers drop one pair of enclosing quotes.
        if (value.size() >= 2 &&
            ((value.startsWith('"') && value.endsWith('"')) || (value.startsWith('\'') && value.endsWith('\''))))
            value = value.mid(1, value.size() - 2);
        TSection& section = fSections[size_t(current)];
        // The first occurrence wins, as with profile files; a repeated key stays a line of its own.
        if (section.Index.contains(key.toCaseFolded())) {
            fLines.push_back({line, current, -1});
            continue;
        }
        section.Index.insert(key.toCaseFolded(), section.Entries.size());
        section.Entries.push_back({key, value, line, false});
        fLines.push_back({QString(), current, qsizetype(section.Entries.size() - 1)});
    }
}

const TIniFile::TSection* TIniFile::FindSection(const QString& section) const {
    const auto it = fSectionIndex.constFind(section.toCaseFolded());
    return it == fSectionIndex.constEnd() ? nullptr : &fSections[*it];
}

size_t TIniFile::SectionIndexFor(const QString& section) {
    const QString folded = section.toCaseFolded();
    const auto it = fSectionIndex.constFind(folded);
    if (it != fSectionIndex.constEnd()) return *it;
    fSectionIndex.insert(folded, fSections.size());
    fSections.push_back({section, {}, {}});
    return fSections.size() - 1;
}

void TIniFile::Put(size_t section, const QString& key, const QString& value, bool replace) {
    TSection& s = fSections[section];
    const QString folded = key.toCaseFolded();
    const auto it = s.Index.constFind(folded);
    if (it != s.Index.constEnd()) {
        TEntry& entry = s.Entries[*it];
        if (replace && entry.Value != value) {
            entry.Value = value;
            entry.Changed = true;
        }
        return;
    }
    s.Index.insert(folded, s.Entries.size());
    s.Entries.push_back({key, value, QString(), true});
    const TLine line{QString(), qsizetype(section), qsizetype(s.Entries.size() - 1)};
    // After the section's last line that is not blank, so that the blank lines between sections
    // stay between them; a new section goes at the end, followed by a blank line.
    for (size_t i = fLines.size(); i-- > 0;) {
        const TLine& l = fLines[i];
        if (l.Section == qsizetype(section) && (l.Entry >= 0 || !l.Raw.trimmed().isEmpty())) {
            fLines.insert(fLines.begin() + qsizetype(i) + 1, line);
            return;
        }
    }
    fLines.push_back({'[' + s.Name + ']', qsizetype(section), -1});
    fLines.push_back(line);
    fLines.push_back({QString(), qsizetype(section), -1});
}

const TIniFile::TEntry* TIniFile::FindEntry(const QString& section, const QString& key) const {
    const TSection* s = FindSection(section);
    if (!s) return nullptr;
    const auto it = s->Index.constFind(key.toCaseFolded());
    return it == s->Index.constEnd() ? nullptr : &s->Entries[*it];
}

bool TIniFile::SectionExists(const QString& section) const {
    return FindSection(section) != nullptr;
}

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
    Put(SectionIndexFor(section), key, value, true);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

QByteArray TIniFile::ToBytes() const {
    QString text;
    for (const TLine& line : fLines) {
        if (line.Entry < 0) {
            text += line.Raw + "\r\n";
            continue;
        }
        const TEntry& e = fSections[size_t(line.Section)].Entries[size_t(line.Entry)];
        text += (e.Changed ? e.Key + '=' + e.Value : e.Raw) + "\r\n";
    }
    return TCp932::Encode(text);
}

bool TIniFile::UpdateFile(QString* error) const {
    if (!fLoadError.isEmpty()) {
        // Writing would replace everything the refused file held with the few keys set since.
        if (error) *error = fLoadError;
        return false;
    }
    return TFileWriter::WriteAll(fFileName, ToBytes(), error);
}
