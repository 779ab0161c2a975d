#include "FormPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <dlfcn.h>

QString TFormPaths::AppPath() {
    // The program loads its packs by file name from the application folder, so the folder this
    // pack came from is that folder; the executable's folder is the fallback.
    Dl_info info{};
    QString folder;
    if (dladdr(reinterpret_cast<void*>(&TFormPaths::AppPath), &info) != 0 && info.dli_fname != nullptr)
        folder = QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath();
    if (folder.isEmpty()) folder = QCoreApplication::applicationDirPath();
    return folder + QLatin1Char('/');
}
