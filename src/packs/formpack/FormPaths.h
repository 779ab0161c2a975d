#pragma once

#include "platform/AppPaths.h"

#include <QString>

// Where the form pack finds the program's data.
class TFormPaths {
public:
    // The program loads its packs by file name from the application folder, so a pack lying in a
    // folder with the shipped tree, or with record files of its own, decides from there;
    // otherwise the running program's paths apply.
    static TAppPaths Paths();
    static QString RecordFolder() { return Paths().RecordFolder(); }
    static QString FieldFolder() { return Paths().FieldFolder(); }
    static QString ScanFile() { return Paths().TempFolder() + QStringLiteral("a.bmp"); }
};
