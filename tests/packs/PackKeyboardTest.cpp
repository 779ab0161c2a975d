// Every dialog of the drawing and paper packs can be worked from the keyboard alone: Tab visits
// each control in reading order.
#include "ModalDriver.h"

#include "document/PriPaper.h"
#include "platform/PackLibrary.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PackKeyboardTest, TabVisitsEveryControlInReadingOrder) {
    TPackLibrary packs(QStringLiteral(KOMOREBI_APP_DIR "/"));
    QTemporaryDir dir;
    const QString sheets = dir.filePath("carddata.cdd");
    QFile::copy(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/settings/carddata.cdd"), sheets);
    const QStringList layout{"sheetPreset", "sheetWidth", "sheetHeight", "columns", "rows", "seatWidth",
                             "seatHeight",  "firstLeft",  "firstTop",    "gapX",    "gapY", "fitSeats"};
    struct TCase {
        const char* Dialog;
        std::function<void()> Open;
        QStringList Expected;
    };
    const TCase cases[] = {
        {"pen and brush",
         [&] {
             int32_t v[6] = {0, 1, 0, 0, 0, 10};
             packs.PenBrushSetDlg(0, v[0], v[1], v[2], v[3], v[4], v[5], 0);
         },
         {"penStyle", "penWidth", "penColor", "brushStyle", "brushColor", "roundNum"}},
        {"portal",
         [&] {
             int32_t rows = 3;
             QString out;
             packs.PortalSettingDlg(rows, QString(), out, {QStringLiteral("a.fld")});
         },
         {"rows", "dataName"}},
        {"paper",
         [&] {
             TPriPaper paper;
             packs.PaperNewSettingDlg(&paper, 1);
         },
         layout + QStringList{"portrait"}},
        {"print paper",
         [&] {
             TPriPaper paper;
             int32_t a = 0, b = 0;
             packs.PrintPaperSettingDlg(sheets, &paper, a, b, 1);
         },
         {"sheets", "addSheet"}},
    };
    for (const TCase& c : cases) {
        QStringList walked;
        OnNextModal([&](QWidget* dialog) {
            walked = TabWalk(dialog);
            PressKey(dialog, Qt::Key_Escape);
        });
        c.Open();
        EXPECT_EQ(walked, c.Expected) << c.Dialog;
    }

    // The sheet editor opened from the print-paper dialog starts at the name.
    QStringList walked;
    OnNextModal([&](QWidget* dialog) {
        OnNextModal(
            [&](QWidget* editor) {
                walked = TabWalk(editor);
                PressKey(editor, Qt::Key_Escape);
            },
            dialog);
        auto* add = dialog->findChild<QPushButton*>("addSheet");
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Space);
        PressKey(dialog, Qt::Key_Escape);
    });
    TPriPaper paper;
    int32_t a = 0, b = 0;
    packs.PrintPaperSettingDlg(sheets, &paper, a, b, 1);
    EXPECT_EQ(walked, QStringList{"sheetName"} + layout);
}
