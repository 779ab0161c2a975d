#include "app/DisplayCheck.h"

bool HasDisplay(const QProcessEnvironment& environment) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!environment.value(QLatin1String(name)).trimmed().isEmpty()) return true;
    return false;
}

QString NoDisplayMessage(const QString& program) {
    return QStringLiteral("%1: no display (DISPLAY and WAYLAND_DISPLAY are not set); start it on a desktop, or "
                          "export without a window: %1 export TEMPLATE.tda --out FILE.pdf")
        .arg(program);
}
