#pragma once

#include <QString>

// Renders a sample A4 page through the surface's redraw into a PNG.
bool RenderSamplePage(const QString& appPath, const QString& outFile, QString* error);
