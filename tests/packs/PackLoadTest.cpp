#include "platform/PackLibrary.h"

#include <QLibrary>
#include <gtest/gtest.h>
#include <map>

// Every built pack loads by file name from the application folder and offers all its entries.
// A missing engine symbol shows up here as a load failure, not as a silent no-op in the program.
TEST(PackLoadTest, EveryBuiltPackLoadsWithAllItsEntries) {
    const std::map<QString, QStringList> entries{
        {"formpack",
         {"StartCheckDlg", "RecordSettingDlg", "SaveTWAINImageDlg", "PositionEditDlg", "EditCategory",
          "EditFieldCategory"}},
        {"textpack", {"StringEditDlg", "FontEditDlg", "CarendarSetDlg"}},
        {"drawpack", {"PenBrushSetDlg", "PortalSettingDlg"}},
        {"paperpack", {"PaperNewSettingDlg", "PrintPaperSettingDlg", "PrintPreviewDlg"}},
        {"fontpack", {"GetTrueType"}},
    };
    const QStringList built = QString(KOMOREBI_BUILT_PACKS).split(',', Qt::SkipEmptyParts);
    EXPECT_TRUE(built.contains("formpack"));
    EXPECT_TRUE(built.contains("fontpack"));
    TPackLibrary packs(QStringLiteral(KOMOREBI_APP_DIR "/"));
    for (const QString& pack : built) {
        ASSERT_TRUE(entries.count(pack)) << pack.toStdString() << " is no known pack";
        QLibrary lib(packs.PackFile(pack.chopped(4).toLatin1().constData()));
        lib.setLoadHints(QLibrary::PreventUnloadHint);
        ASSERT_TRUE(lib.load()) << lib.errorString().toStdString();
        for (const QString& entry : entries.at(pack))
            EXPECT_NE(lib.resolve(entry.toLatin1().constData()), nullptr)
                << pack.toStdString() << " " << entry.toStdString();
        lib.unload();
    }
}
