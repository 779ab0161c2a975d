#include "app/RecentFiles.h"

#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QFileInfo>

namespace {

QString KeyName(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}

QString Normalized(const QString& file) {
    const QFileInfo info(file);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

const QString& TRecentFiles::Section() {
    static const QString name = QStringLiteral("RecentFiles");
    return name;
}

void TRecentFiles::Add(const QString& file) {
    if (file.isEmpty()) return;
    const QString path = Normalized(file);
    fFiles.removeAll(path);
    fFiles.prepend(path);
    while (fFiles.size() > kMaxCount)
        fFiles.removeLast();
}

void TRecentFiles::Remove(const QString& file) {
    fFiles.removeAll(file);
    fFiles.removeAll(Normalized(file));
}

QStringList TRecentFiles::Items() const {
    QStringList items;
    for (const QString& f : fFiles)
        if (QFileInfo(f).isFile()) items << f;
    return items;
}

namespace {

// settings.ini is CP932: a name with characters it lacks (Müller, 한글, emoji) is kept as
// percent-encoded UTF-8 behind a mark no CP932 path starts with.
const QString kUtf8Mark = QStringLiteral("utf8:");

QString Stored(const QString& file) {
    if (TCp932::CanEncode(file) && !file.startsWith(kUtf8Mark)) return file;
    return kUtf8Mark + QString::fromLatin1(file.toUtf8().toPercentEncoding("/"));
}

QString FromStored(const QString& value) {
    if (!value.startsWith(kUtf8Mark)) return value;
    return QString::fromUtf8(QByteArray::fromPercentEncoding(value.mid(kUtf8Mark.size()).toLatin1()));
}

} // namespace

void TRecentFiles::Read(const TIniFile& ini) {
    fFiles.clear();
    for (int i = 0; i < kMaxCount; ++i) {
        const QString f = FromStored(ini.ReadString(Section(), KeyName(i), QString()));
        if (!f.isEmpty() && QFileInfo(f).isFile() && !fFiles.contains(f)) fFiles << f;
    }
}

void TRecentFiles::Write(TIniFile& ini) const {
    for (int i = 0; i < kMaxCount; ++i)
        ini.WriteString(Section(), KeyName(i), i < fFiles.size() ? Stored(fFiles[i]) : QString());
}
