#pragma once

#include "merge/SenderInfo.h"
#include "platform/Color.h"

#include <QRect>
#include <QString>

class TPriPaint;
class TIniFile;

// The display settings of settings/settings.ini. The surface's part is applied to the surface;
// the main window's part (placement, side bar, rulers, scroll box colour) is held here for it.
struct TDisplaySettings {
    QRect WindowBounds;
    bool ToolBar = true;
    bool GridCheck = false;
    bool MarginCheck = true;
    bool RulerCheck = true;
    TColor RulerBackColor = 13160660;
    TColor RulerTextColor = 0;
    bool RulerStrCheck = true;
    TColor MainColor = 13160660;
    TColor GridColor = 8421504;
    TColor MarginColor = 16711680;
    QString FontName = QStringLiteral("ＭＳ Ｐゴシック");
    TColor FontColor = 0;
    int FontSize = 10;
    // Kept in a file of its own (TAppPaths::SenderFile), not in the ini.
    TSenderInfo Sender;

    // Every key with its default; the window keys default to the bounds already held.
    void Read(const TIniFile& ini);
    void Write(TIniFile& ini) const;
    // Takes the surface's grid and margin flags, colours and default font.
    void TakeFromSurface(const TPriPaint& surface);
    void ApplyToSurface(TPriPaint& surface) const;
};

// False when the file does not exist: nothing is changed. Otherwise every key is read with its
// default and applied to the surface.
bool LoadSettings(const QString& iniPath, TPriPaint& surface, TDisplaySettings& settings);
// Writes every key; the old file is replaced only by a complete new one.
bool SaveSettings(const QString& iniPath, const TPriPaint& surface, TDisplaySettings settings);
