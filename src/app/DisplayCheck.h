#pragma once

#include <QProcessEnvironment>
#include <QString>

// Whether the desktop program can open a window at all, asked before Qt would abort without a display.
// True when DISPLAY or WAYLAND_DISPLAY is set, or a Qt platform was chosen explicitly (offscreen, vnc…).
bool HasDisplay(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The one line printed instead of a window when there is no display.
QString NoDisplayMessage(const QString& program = QStringLiteral("komorebi"));
