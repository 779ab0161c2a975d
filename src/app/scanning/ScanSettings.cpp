#include "app/scanning/ScanSettings.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {
const QString kSection = QStringLiteral("Scanner");
}

void TScanSettings::Read(const QString& settingsFile) {
    const TIniFile ini(settingsFile);
    if (!ini.SectionExists(kSection)) return;
    Device = ini.ReadString(kSection, QStringLiteral("Device"), Device);
    Mode = ini.ReadString(kSection, QStringLiteral("Mode"), Mode);
    Resolution = std::max(0, ini.ReadInteger(kSection, QStringLiteral("Resolution"), Resolution));
    // Stored in tenths of a millimetre.
    const int l = ini.ReadInteger(kSection, QStringLiteral("AreaLeft"), 0);
    const int t = ini.ReadInteger(kSection, QStringLiteral("AreaTop"), 0);
    const int w = ini.ReadInteger(kSection, QStringLiteral("AreaWidth"), 0);
    const int h = ini.ReadInteger(kSection, QStringLiteral("AreaHeight"), 0);
    Area = (l >= 0 && t >= 0 && w > 0 && h > 0) ? QRectF(l / 10.0, t / 10.0, w / 10.0, h / 10.0) : QRectF();
}

bool TScanSettings::Write(const QString& settingsFile) const {
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    TIniFile ini(settingsFile);
    ini.WriteString(kSection, QStringLiteral("Device"), Device);
    ini.WriteString(kSection, QStringLiteral("Mode"), Mode);
    ini.WriteInteger(kSection, QStringLiteral("Resolution"), Resolution);
    auto tenths = [](double mm) { return int(std::lround(mm * 10)); };
    ini.WriteInteger(kSection, QStringLiteral("AreaLeft"), Area.isEmpty() ? 0 : tenths(Area.left()));
    ini.WriteInteger(kSection, QStringLiteral("AreaTop"), Area.isEmpty() ? 0 : tenths(Area.top()));
    ini.WriteInteger(kSection, QStringLiteral("AreaWidth"), Area.isEmpty() ? 0 : tenths(Area.width()));
    ini.WriteInteger(kSection, QStringLiteral("AreaHeight"), Area.isEmpty() ? 0 : tenths(Area.height()));
    return ini.UpdateFile();
}
