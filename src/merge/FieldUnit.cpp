#include "merge/FieldUnit.h"

#include <QDir>
#include <QFileInfo>

void TFieldUnit::LoadFolder(const QString& folder) {
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Unsorted);
    for (const QFileInfo& info : entries) {
        if (info.suffix().toUpper() != QLatin1String("CSV")) continue;
        auto son = std::make_unique<TFieldSon>();
        if (!son->LoadFromFile(info.filePath())) continue;
        FNames.append(son->FileName());
        FSons.push_back(std::move(son));
    }
}

const TFieldSon* TFieldUnit::Son(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return FSons[size_t(index)].get();
}
