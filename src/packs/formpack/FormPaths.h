#pragma once

#include <QString>

// Where the form pack finds the program's data: the application folder, with a trailing separator.
class TFormPaths {
public:
    static QString AppPath();
    static QString RecordFolder() { return AppPath() + QStringLiteral("recordfile"); }
    static QString FieldFolder() { return AppPath() + QStringLiteral("fieldfile"); }
};
