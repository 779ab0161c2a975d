#pragma once

// The one application object a fuzz target needs for widgets, fonts and painting: made on first
// use, offscreen, with the face-name mapping installed, and kept for the process.
#include "platform/FontMap.h"

#include <QApplication>
#include <cstdlib>

inline void EnsureFuzzApp(const char* name) {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* a = new QApplication(argc, argv);
        TFontMap::Install();
        return a;
    }();
    (void)app;
}
