#pragma once

#include <QString>
#include <QStringList>

// One field-definition file: its lines, offered by name in the portal settings.
class TFieldSon {
public:
    // False when the file cannot be read or holds no line.
    bool LoadFromFile(const QString& path);

    const QStringList& Lines() const { return FLines; }
    const QString& FileName() const { return FFileName; }

private:
    QStringList FLines;
    QString FFileName;
};
