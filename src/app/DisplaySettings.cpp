#include "app/DisplaySettings.h"

#include "document/PriPaint.h"
#include "platform/DocumentLimits.h"
#include "platform/IniFile.h"

#include <QFileInfo>

void TDisplaySettings::Read(const TIniFile& ini) {
    const QString mf = QStringLiteral("MainForm"), sc = QStringLiteral("Screen");
    WindowBounds =
        QRect(ini.ReadInteger(mf, "Left", WindowBounds.x()), ini.ReadInteger(mf, "Top", WindowBounds.y()),
              ini.ReadInteger(mf, "Width", WindowBounds.width()), ini.ReadInteger(mf, "Height", WindowBounds.height()));
    ToolBar = ini.ReadBool(mf, "ToolBar", true);
    GridCheck = ini.ReadBool(sc, "GridCheck", false);
    MarginCheck = ini.ReadBool(sc, "MarginCheck", true);
    RulerCheck = ini.ReadBool(sc, "RulerCheck", true);
    RulerBackColor = ini.ReadInteger(sc, "RulerBackColor", 13160660);
    RulerTextColor = ini.ReadInteger(sc, "RulerTextColor", 0);
    RulerStrCheck = ini.ReadBool(sc, "RulerStrCheck", true);
    MainColor = ini.ReadInteger(sc, "MainColor", 13160660);
    GridColor = ini.ReadInteger(sc, "GridColor", 8421504);
    MarginColor = ini.ReadInteger(sc, "MarginColor", 16711680);
    FontName = ini.ReadString(sc, "FontName", QStringLiteral("ＭＳ Ｐゴシック"));
    FontColor = ini.ReadInteger(sc, "FontColor", 0);
    FontSize = ini.ReadInteger(sc, "FontSize", 10);
    // New texts take this size: beyond what a document may hold they would not open again.
    if (FontSize < 1 || FontSize > TDocumentLimits::kMaxFontPoints) FontSize = 10;
}

void TDisplaySettings::Write(TIniFile& ini) const {
    const QString mf = QStringLiteral("MainForm"), sc = QStringLiteral("Screen");
    ini.WriteInteger(mf, "Left", WindowBounds.x());
    ini.WriteInteger(mf, "Top", WindowBounds.y());
    ini.WriteInteger(mf, "Width", WindowBounds.width());
    ini.WriteInteger(mf, "Height", WindowBounds.height());
    ini.WriteBool(mf, "ToolBar", ToolBar);
    ini.WriteBool(sc, "GridCheck", GridCheck);
    ini.WriteBool(sc, "MarginCheck", MarginCheck);
    ini.WriteBool(sc, "RulerCheck", RulerCheck);
    ini.WriteInteger(sc, "RulerBackColor", RulerBackColor);
    ini.WriteInteger(sc, "RulerTextColor", RulerTextColor);
    ini.WriteBool(sc, "RulerStrCheck", RulerStrCheck);
    ini.WriteInteger(sc, "MainColor", MainColor);
    ini.WriteInteger(sc, "GridColor", GridColor);
    ini.WriteInteger(sc, "MarginColor", MarginColor);
    ini.WriteString(sc, "FontName", FontName);
    ini.WriteInteger(sc, "FontColor", FontColor);
    ini.WriteInteger(sc, "FontSize", FontSize);
}

void TDisplaySettings::TakeFromSurface(const TPriPaint& surface) {
    GridCheck = surface.BltGridCheck();
    MarginCheck = surface.BltMarginCheck();
    GridColor = surface.GridColor;
    MarginColor = surface.MarginColor;
    FontName = surface.DefaultFont.family();
    FontSize = surface.DefaultFont.pointSize();
    FontColor = surface.DefaultFontColor;
}

void TDisplaySettings::ApplyToSurface(TPriPaint& surface) const {
    surface.SetBltGridCheck(GridCheck);
    surface.SetBltMarginCheck(MarginCheck);
    surface.GridColor = GridColor;
    surface.MarginColor = MarginColor;
    surface.DefaultFont.setFamily(FontName);
    if (FontSize > 0) surface.DefaultFont.setPointSize(FontSize);
    surface.DefaultFontColor = FontColor;
}

bool LoadSettings(const QString& iniPath, TPriPaint& surface, TDisplaySettings& settings) {
    if (!QFileInfo(iniPath).isFile()) return false;
    const TIniFile ini(iniPath);
    settings.Read(ini);
    settings.ApplyToSurface(surface);
    return true;
}

bool SaveSettings(const QString& iniPath, const TPriPaint& surface, TDisplaySettings settings) {
    settings.TakeFromSurface(surface);
    TIniFile ini(iniPath);
    settings.Write(ini);
    return ini.UpdateFile();
}
