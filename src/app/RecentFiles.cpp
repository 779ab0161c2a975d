#include "app/RecentFiles.h"

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

void TRecentFiles::Read(const TIniFile& ini) {
    fFiles.clear();
    for (int i = 0; i < kMaxCount; ++i) {
        const QString f = ini.ReadString(Section(), KeyName(i), QString());
        if (!f.isEmpty() && QFileInfo(f).isFile() && !fFiles.contains(f)) fFiles << f;
    }
}

void TRecentFiles::Write(TIniFile& ini) const {
    for (int i = 0; i < kMaxCount; ++i)
        ini.WriteString(Section(), KeyName(i), i < fFiles.size() ? fFiles[i] : QString());
}
