#include "app/DisplaySettings.h"
#include "document/PriPaint.h"
#include "platform/Cp932.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::unique_ptr<TPriPaint> MakeSurface() {
    return std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TFixedPrinter>());
}

void WriteFile(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(TCp932::Encode(text));
}

} // namespace

TEST(DisplaySettingsTest, MissingFileChangesNothing) {
    auto surface = MakeSurface();
    surface->GridColor = 123;
    TDisplaySettings settings;
    settings.RulerCheck = false; // the main window starts without rulers
    EXPECT_FALSE(LoadSettings("/nonexistent/settings.ini", *surface, settings));
    EXPECT_EQ(surface->GridColor, 123);
    EXPECT_FALSE(settings.RulerCheck);

    // A folder or a pipe standing where the file should be is no settings file either.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("folder.ini")), pipe = dir.filePath(QStringLiteral("pipe.ini"));
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString& path : {folder, pipe}) {
        EXPECT_FALSE(LoadSettings(path, *surface, settings));
        EXPECT_EQ(surface->GridColor, 123);
        EXPECT_FALSE(settings.RulerCheck);
    }
}

TEST(DisplaySettingsTest, MissingKeysTakeTheirDefaults) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    // A size no document may hold counts as missing: it made 7 m texts.
    WriteFile(path, QString::fromUtf16(u"[MainForm]\r\nWidth=900\r\n[Screen]\r\nGridCheck=257\r\nMarginCheck=256\r\n"
                                       u"FontSize=2000000000\r\n"));
    auto surface = MakeSurface();
    TDisplaySettings settings;
    settings.WindowBounds = QRect(5, 6, 700, 500);
    settings.RulerCheck = false;
    ASSERT_TRUE(LoadSettings(path, *surface, settings));
    EXPECT_EQ(settings.WindowBounds, QRect(5, 6, 900, 500));
    EXPECT_TRUE(settings.RulerCheck); // a file without RulerCheck shows the rulers
    EXPECT_TRUE(settings.ToolBar);
    EXPECT_TRUE(settings.RulerStrCheck);
    EXPECT_EQ(settings.RulerBackColor, 13160660);
    EXPECT_EQ(settings.MainColor, 13160660);
    EXPECT_TRUE(surface->BltGridCheck());    // low byte 1
    EXPECT_FALSE(surface->BltMarginCheck()); // low byte 0
    EXPECT_EQ(surface->GridColor, 8421504);
    EXPECT_EQ(surface->MarginColor, 16711680);
    EXPECT_EQ(surface->DefaultFont.family(), QString::fromUtf16(u"ＭＳ Ｐゴシック"));
    EXPECT_EQ(surface->DefaultFont.pointSize(), 10);
    EXPECT_EQ(surface->DefaultFontColor, 0);
}

TEST(DisplaySettingsTest, HiddenRulersStayHiddenAfterARestart) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    auto surface = MakeSurface();
    surface->SetBltGridCheck(true);
    surface->GridColor = RGBColor(1, 2, 3);
    surface->DefaultFont.setFamily(QString::fromUtf16(u"ＭＳ 明朝"));
    surface->DefaultFont.setPointSize(14);
    surface->DefaultFontColor = clRed;
    TDisplaySettings settings;
    settings.RulerCheck = false;
    settings.ToolBar = false;
    settings.WindowBounds = QRect(-4, 10, 1028, 704);
    ASSERT_TRUE(SaveSettings(path, *surface, settings));

    auto next = MakeSurface();
    TDisplaySettings loaded;
    ASSERT_TRUE(LoadSettings(path, *next, loaded));
    EXPECT_FALSE(loaded.RulerCheck);
    EXPECT_FALSE(loaded.ToolBar);
    EXPECT_EQ(loaded.WindowBounds, QRect(-4, 10, 1028, 704));
    EXPECT_TRUE(next->BltGridCheck());
    EXPECT_EQ(next->GridColor, RGBColor(1, 2, 3));
    EXPECT_EQ(next->DefaultFont.family(), QString::fromUtf16(u"ＭＳ 明朝"));
    EXPECT_EQ(next->DefaultFont.pointSize(), 14);
    EXPECT_EQ(next->DefaultFontColor, clRed);
}
