// The drawing pack as the program reaches it: built into the application folder, loaded by file
// name, each entry resolved and called, its dialog driven like a user would.
#include "ModalDriver.h"

#include "objects/PriBrush.h"
#include "objects/PriPen.h"
#include "platform/PackLibrary.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLibrary>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

const QString kAppDir = QStringLiteral(KOMOREBI_APP_DIR "/");

struct TPen6 {
    int32_t PenStyle, PenWidth, PenColor, BrushStyle, BrushColor, RoundNum;
    bool operator==(const TPen6&) const = default;
};

// Sets every control the dialog shows for its part, then confirms or cancels from the keyboard.
void EditPenBrush(QWidget* dialog, bool confirm) {
    auto* penStyle = dialog->findChild<QComboBox*>("penStyle");
    auto* penWidth = dialog->findChild<QSpinBox*>("penWidth");
    auto* brushStyle = dialog->findChild<QComboBox*>("brushStyle");
    auto* round = dialog->findChild<QSpinBox*>("roundNum");
    ASSERT_TRUE(penStyle && penWidth && brushStyle && round);
    penStyle->setCurrentIndex(psDashDot);
    CommitNumber(penWidth, QStringLiteral("７"));
    brushStyle->setCurrentIndex(bsCross);
    if (round->isEnabled()) CommitNumber(round, QStringLiteral("２５"));
    PressKey(dialog, confirm ? Qt::Key_Return : Qt::Key_Escape);
}

} // namespace

TEST(DrawPackTest, EveryEntryResolvesFromTheBuiltPacks) {
    for (const auto& [pack, entries] :
         {std::pair{"libdrawpack.so", QStringList{"PenBrushSetDlg", "PortalSettingDlg"}},
          std::pair{"libpaperpack.so", QStringList{"PaperNewSettingDlg", "PrintPaperSettingDlg", "PrintPreviewDlg"}}}) {
        QLibrary lib(kAppDir + QLatin1String(pack));
        lib.setLoadHints(QLibrary::PreventUnloadHint | QLibrary::ResolveAllSymbolsHint);
        ASSERT_TRUE(lib.load()) << qPrintable(lib.errorString());
        for (const QString& entry : entries)
            EXPECT_TRUE(lib.resolve(entry.toLatin1())) << qPrintable(entry);
        lib.unload();
    }
}

TEST(DrawPackTest, PenBrushPartDecidesWhatChanges) {
    TPackLibrary packs(kAppDir);
    const TPen6 start{psSolid, 2, RGBColor(1, 2, 3), bsSolid, RGBColor(4, 5, 6), 10};
    struct TCase {
        int32_t Part;
        bool Confirm;
        int32_t RoundIn;
        TPen6 Expected;
    };
    const TCase cases[] = {
        {0, true, 10, {psDashDot, 7, start.PenColor, bsCross, start.BrushColor, 25}},
        {1, true, 10, {psDashDot, 7, start.PenColor, bsSolid, start.BrushColor, 10}},
        {2, true, 10, {psSolid, 2, start.PenColor, bsCross, start.BrushColor, 25}},
        // A shape without corners keeps −1, whatever the part.
        {0, true, -1, {psDashDot, 7, start.PenColor, bsCross, start.BrushColor, -1}},
        {0, false, 10, start},
        {2, false, 10, start},
    };
    for (const TCase& c : cases) {
        TPen6 v = start;
        v.RoundNum = c.RoundIn;
        TPen6 expected = c.Expected;
        if (!c.Confirm) expected.RoundNum = c.RoundIn;
        bool penShown = false, brushShown = false;
        OnNextModal([&](QWidget* dialog) {
            penShown = dialog->findChild<QGroupBox*>("penGroup")->isVisible();
            brushShown = dialog->findChild<QGroupBox*>("brushGroup")->isVisible();
            EditPenBrush(dialog, c.Confirm);
        });
        const int before = TopLevelCount();
        const TDlgAnswer a =
            packs.PenBrushSetDlg(0, v.PenStyle, v.PenWidth, v.PenColor, v.BrushStyle, v.BrushColor, v.RoundNum, c.Part);
        EXPECT_TRUE(a.Called);
        EXPECT_EQ(bool(a), c.Confirm) << c.Part;
        EXPECT_EQ(v, expected) << "part " << c.Part << " confirm " << c.Confirm;
        EXPECT_EQ(penShown, c.Part != 2);
        EXPECT_EQ(brushShown, c.Part != 1);
        EXPECT_EQ(TopLevelCount(), before);
    }
}

TEST(DrawPackTest, ColourComesFromTheColourDialogAndSystemColoursSurviveALook) {
    TPackLibrary packs(kAppDir);
    const int32_t systemColor = int32_t(0x80000005); // a system colour: must not turn into plain RGB
    TPen6 v{psSolid, 1, RGBColor(0, 0, 0), bsSolid, systemColor, -1};
    OnNextModal([](QWidget* dialog) {
        OnNextModal(
            [](QWidget* colours) {
                static_cast<QColorDialog*>(colours)->setCurrentColor(QColor(200, 10, 20));
                PressKey(colours, Qt::Key_Return);
            },
            dialog);
        QTest::mouseClick(dialog->findChild<QWidget*>("penColor"), Qt::LeftButton);
        // The brush colour's picker is opened and cancelled.
        OnNextModal([](QWidget* colours) { PressKey(colours, Qt::Key_Escape); }, dialog);
        QTest::mouseClick(dialog->findChild<QWidget*>("brushColor"), Qt::LeftButton);
        PressKey(dialog, Qt::Key_Return);
    });
    ASSERT_TRUE(
        bool(packs.PenBrushSetDlg(0, v.PenStyle, v.PenWidth, v.PenColor, v.BrushStyle, v.BrushColor, v.RoundNum, 0)));
    EXPECT_EQ(v.PenColor, RGBColor(200, 10, 20));
    EXPECT_EQ(v.BrushColor, systemColor);
}

TEST(DrawPackTest, PortalRowsAndDataName) {
    TPackLibrary packs(kAppDir);
    const QStringList files{QStringLiteral("明細.fld"), QStringLiteral("売上.fld")};
    struct TCase {
        QString Current;
        int32_t RowsIn;
        int Choose; // combo index to pick, −1 to leave
        bool Confirm;
        int32_t RowsOut;
        QString NameOut;
    };
    const TCase cases[] = {
        {QString(), 10, 2, true, 4, QStringLiteral("売上.fld")},
        {QStringLiteral("明細.fld"), 3, -1, true, 4, QStringLiteral("明細.fld")},
        // A definition file that has gone is kept, not silently swapped for another.
        {QStringLiteral("消えた.fld"), 5, -1, true, 4, QStringLiteral("消えた.fld")},
        {QStringLiteral("明細.fld"), 5, 0, true, 4, QString()},
        // A damaged row count is shown as 1 and cancel still changes nothing.
        {QStringLiteral("明細.fld"), 0, 2, false, 0, QStringLiteral("前の名前")},
    };
    for (const TCase& c : cases) {
        int32_t rows = c.RowsIn;
        QString out = QStringLiteral("前の名前");
        int shownRows = -1;
        OnNextModal([&](QWidget* dialog) {
            auto* spin = dialog->findChild<QSpinBox*>("rows");
            shownRows = spin->value();
            CommitNumber(spin, QStringLiteral("４"));
            if (c.Choose >= 0) dialog->findChild<QComboBox*>("dataName")->setCurrentIndex(c.Choose);
            PressKey(dialog, c.Confirm ? Qt::Key_Return : Qt::Key_Escape);
        });
        const int before = TopLevelCount();
        EXPECT_EQ(bool(packs.PortalSettingDlg(rows, c.Current, out, files)), c.Confirm);
        EXPECT_EQ(shownRows, std::max(1, c.RowsIn));
        EXPECT_EQ(rows, c.RowsOut) << qPrintable(c.Current);
        EXPECT_EQ(out, c.NameOut) << qPrintable(c.Current);
        EXPECT_EQ(TopLevelCount(), before);
    }
}

TEST(DrawPackTest, PortalNameIsCutAtACharacterBoundary) {
    QLibrary lib(kAppDir + QStringLiteral("libdrawpack.so"));
    lib.setLoadHints(QLibrary::PreventUnloadHint);
    ASSERT_TRUE(lib.load());
    auto entry = reinterpret_cast<TPortalSettingDlg>(lib.resolve("PortalSettingDlg"));
    ASSERT_TRUE(entry);
    const QStringList files{QStringLiteral("あいう.fld")};
    for (int size : {1, 2, 3, 4, 5, 6}) {
        char buffer[8];
        memset(buffer, 'x', sizeof buffer);
        int32_t rows = 2;
        OnNextModal([](QWidget* dialog) {
            dialog->findChild<QComboBox*>("dataName")->setCurrentIndex(1);
            PressKey(dialog, Qt::Key_Return);
        });
        ASSERT_EQ(entry(&rows, "", buffer, size, &files), 1);
        // Whole characters only (two bytes each), always terminated inside the buffer.
        const size_t expected = size_t((size - 1) / 2 * 2);
        EXPECT_EQ(strlen(buffer), expected) << size;
        EXPECT_EQ(buffer[size], 'x') << size;
    }
    lib.unload();
}
