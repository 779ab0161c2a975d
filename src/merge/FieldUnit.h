#pragma once

#include "merge/FieldSon.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The field-definition files of the program's field folder; others only use their names.
class TFieldUnit {
public:
    // Loads every ".CSV" file of the folder; unreadable or empty ones are skipped.
    void LoadFolder(const QString& folder);

    const QStringList& Names() const { return FNames; }
    int Count() const { return int(FSons.size()); }
    const TFieldSon* Son(int index) const;

private:
    std::vector<std::unique_ptr<TFieldSon>> FSons;
    QStringList FNames;
};
