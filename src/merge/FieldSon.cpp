#include "merge/FieldSon.h"

#include "merge/RecordText.h"

#include <QFile>
#include <QFileInfo>

bool TFieldSon::LoadFromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    QStringList lines;
    TRecordText::ForEachLine(TRecordText::Decode(bytes), [&](QStringView line) { lines.append(line.toString()); });
    if (lines.isEmpty()) return false;
    FLines = std::move(lines);
    FFileName = QFileInfo(path).fileName();
    return true;
}
