#include "merge/FieldSon.h"

#include "merge/RecordText.h"

#include <QFileInfo>

bool TFieldSon::LoadFromFile(const QString& path) {
    QByteArray bytes;
    QString error;
    if (!TRecordText::ReadFile(path, bytes, error)) return false;
    QStringList lines;
    TRecordText::ForEachLine(TRecordText::Decode(bytes), [&](QStringView line) { lines.append(line.toString()); });
    if (lines.isEmpty()) return false;
    FLines = std::move(lines);
    FFileName = QFileInfo(path).fileName();
    return true;
}
