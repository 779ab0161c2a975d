#include "app/dialogs/PrintDlgSX.h"
#include "print/RyPrinter.h"

#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TTwoPrinters : public TRyPrinterSystem {
public:
    QList<TRyPrinterEntry> Printers() const override { return {{"laser", false}, {"cards", false}}; }
    QString CurrentName() const override { return fCurrent; }
    void SetCurrentName(const QString& name) override { fCurrent = name; }
    QString Port(const QString& name) const override { return "usb://" + name; }
    QStringList Ports() const override { return {"usb://laser", "usb://cards"}; }
    QList<QPageSize> PaperSizes(const QString&) const override { return {QPageSize(QPageSize::A4)}; }
    QPageSize CurrentPaper() const override { return QPageSize(QPageSize::A4); }
    int Capabilities(const QString&) const override { return TRyPrinter::dcPaperSize; }
    int ResolutionCount(const QString&) const override { return 1; }
    int MaxCopies(const QString&) const override { return 999; }

private:
    QString fCurrent = "cards";
};

} // namespace

TEST(PrintDlgSXTest, ShowsThePrinterAndHidesTheSeatsOutsideTheSeatModes) {
    TRyPrinter printer(std::make_unique<TTwoPrinters>());
    TPrintDlgSX dlg(&printer);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("印刷ダイアログ"));
    EXPECT_EQ(dlg.PrinterNameLabel()->text(), "cards");
    EXPECT_EQ(dlg.CopiesSpin()->maximum(), 999);
    dlg.SetSeatLimits(0, 0);
    EXPECT_TRUE(dlg.SeatGroup()->isHidden());
    dlg.SetSeatLimits(2, 5);
    EXPECT_FALSE(dlg.SeatGroup()->isHidden());
    EXPECT_EQ(dlg.SeatXSpin()->maximum(), 2);
    EXPECT_EQ(dlg.SeatYSpin()->maximum(), 5);
    // Beyond the grid cannot even be typed.
    dlg.SeatYSpin()->setValue(9);
    EXPECT_EQ(dlg.SeatYSpin()->value(), 5);
    // Letters never reach the page edits.
    dlg.PageSetButton()->setChecked(true);
    EXPECT_TRUE(dlg.PageFirstEdit()->isEnabled());
    dlg.PageFirstEdit()->clear();
    QTest::keyClicks(dlg.PageFirstEdit(), "a2b");
    EXPECT_EQ(dlg.PageFirstEdit()->text(), "2");
}

TEST(PrintDlgSXTest, OkKeepsTheDialogOpenUntilThePagesAreNumbers) {
    struct Case {
        const char* name;
        bool range;
        QString first, last;
        bool accepted;
    } cases[] = {
        {"a range", true, "3", "9", true},
        {"one page", true, "2", "2", true},
        {"pasted text", true, "abc", "9", false},
        {"pasted zero", true, "0", "9", false},
        {"empty last page", true, "3", "", false},
        {"last before first", true, "5", "2", false},
        {"all pages ignore the edits", false, "abc", "", true},
    };
    for (const Case& c : cases) {
        TPrintDlgSX dlg(nullptr);
        dlg.SetSeatLimits(3, 5);
        dlg.SeatXSpin()->setValue(3);
        dlg.SeatYSpin()->setValue(2);
        dlg.SetShift(4, -2);
        dlg.PageSetButton()->setChecked(c.range);
        dlg.PageFirstEdit()->setText(c.first);
        dlg.PageLastEdit()->setText(c.last);
        dlg.show();
        dlg.accept();
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted) << c.name;
        EXPECT_EQ(dlg.ErrorLabel()->isVisible(), !c.accepted) << c.name;
        if (!c.accepted) continue;
        const TPrintChoice choice = dlg.Choice();
        EXPECT_EQ(choice.AllPages, !c.range) << c.name;
        if (c.range) {
            EXPECT_EQ(choice.FirstPage, c.first.toInt()) << c.name;
            EXPECT_EQ(choice.LastPage, c.last.toInt()) << c.name;
        }
        EXPECT_EQ(QPoint(choice.ShiftRightMM, choice.ShiftDownMM), QPoint(4, -2)) << c.name;
        EXPECT_EQ(QPoint(dlg.StartSeatPosX(), dlg.StartSeatPosY()), QPoint(3, 2)) << c.name;
    }
}

TEST(PrintDlgSXTest, FullWidthDigitsCountAndAPdfFileStandsForThePrinter) {
    TPrintDlgSX dlg(nullptr);
    dlg.SetSeatLimits(2, 5);
    dlg.PageSetButton()->setChecked(true);
    dlg.show();
    // A Japanese input method in full-width mode: typed keys and committed text alike.
    struct Case {
        QWidget* Field;
        QString Typed;
        bool Commit;
        QString Expected;
    } cases[] = {
        {dlg.PageFirstEdit(), QStringLiteral("１２"), false, QStringLiteral("12")},
        {dlg.PageLastEdit(), QStringLiteral("３４"), true, QStringLiteral("34")},
        {dlg.PageLastEdit(), QStringLiteral("５あ"), true, QString()},
        {dlg.CopiesSpin(), QStringLiteral("７"), false, QStringLiteral("7")},
        {dlg.SeatYSpin(), QStringLiteral("４"), true, QStringLiteral("4")},
    };
    for (const Case& c : cases) {
        auto* edit = qobject_cast<QLineEdit*>(c.Field);
        if (!edit) edit = c.Field->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->clear();
        if (c.Commit) {
            QInputMethodEvent event;
            event.setCommitString(c.Typed);
            QApplication::sendEvent(edit, &event);
        } else {
            // Keys whose text is full-width, as QTest cannot type them.
            for (QChar ch : c.Typed) {
                QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(edit, &key);
            }
        }
        EXPECT_EQ(edit->text(), c.Expected) << c.Typed.toStdString();
    }
    dlg.PageLastEdit()->setText(QStringLiteral("34"));
    dlg.FineButton()->setChecked(true);
    dlg.accept();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Choice().FirstPage, 12);
    EXPECT_EQ(dlg.Choice().LastPage, 34);
    EXPECT_EQ(dlg.Copies(), 7);
    EXPECT_EQ(dlg.StartSeatPosY(), 4);
    EXPECT_EQ(dlg.Choice().Quality, 0);

    // Without a printer: nothing to set up, and a PDF file shows as the port.
    EXPECT_FALSE(dlg.PrinterSettingButton()->isEnabled());
    dlg.ShowPdfFile(QStringLiteral("/tmp/名刺.pdf"), QStringLiteral("210 × 297 mm"));
    EXPECT_EQ(dlg.PrinterNameLabel()->text(), QStringLiteral("PDF"));
    EXPECT_EQ(dlg.PrinterPortLabel()->text(), QStringLiteral("/tmp/名刺.pdf"));
    EXPECT_EQ(dlg.PrinterPaperLabel()->text(), QStringLiteral("210 × 297 mm"));
    TRyPrinter printer(std::make_unique<TTwoPrinters>());
    EXPECT_TRUE(TPrintDlgSX(&printer).PrinterSettingButton()->isEnabled());
}

// Pictures of the dialog for a person to look at: run with --gtest_also_run_disabled_tests.
TEST(PrintDlgSXTest, DISABLED_DialogPictures) {
    TRyPrinter printer(std::make_unique<TTwoPrinters>());
    TPrintDlgSX dlg(&printer);
    dlg.SetSeatLimits(2, 5);
    dlg.SetStartSeat(2, 3);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.grab().save(QStringLiteral("/tmp/komorebi-printdlg.png"));
    TPrintDlgSX pdf(nullptr);
    pdf.ShowPdfFile(QStringLiteral("/home/user/名刺.pdf"), QStringLiteral("210 × 297 mm"));
    pdf.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pdf));
    pdf.grab().save(QStringLiteral("/tmp/komorebi-printdlg-pdf.png"));
}
