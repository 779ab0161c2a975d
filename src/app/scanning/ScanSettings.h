#pragma once

#include <QRectF>
#include <QString>

// The last scanner and how it scanned, kept in its own section of settings.ini and offered first
// the next time.
struct TScanSettings {
    QString Device;
    QString Mode;
    int Resolution = 0;
    // Millimetres; empty for the whole area.
    QRectF Area;

    // Nothing changes when the file or the section is missing.
    void Read(const QString& settingsFile);
    // Rewrites only this section; false when the file cannot be written.
    bool Write(const QString& settingsFile) const;
};
