#include "FormPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <dlfcn.h>

TAppPaths TFormPaths::Paths() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&TFormPaths::Paths), &info) != 0 && info.dli_fname != nullptr) {
        const QString folder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
        if (QFileInfo::exists(folder + QStringLiteral("/settings/outmessage.txt"))) {
            QString userRoot = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
            if (userRoot.isEmpty()) userRoot = QDir::homePath() + QStringLiteral("/.local/share/komorebi");
            return TAppPaths::DetectFor(folder, userRoot);
        }
        if (QFileInfo::exists(folder + QStringLiteral("/recordfile"))) return TAppPaths::ForFolder(folder);
    }
    return TAppPaths::Detect();
}
