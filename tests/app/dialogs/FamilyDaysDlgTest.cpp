#include "app/dialogs/FamilyDaysDlg.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// A damaged line comes into the table; OK refuses it until it is fixed, then saves the rows.
TEST(FamilyDaysDlgTest, AddedRowIsSavedAndDamagedLinesWaitForRepair) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("familydays.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("05/03 Mother\n02/30 Bad\n");
    f.close();
    TFamilyDaysDlg dialog(file);
    QTableWidget* table = dialog.Table();
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(1, 0)->text(), "02/30");
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text().startsWith(QStringLiteral("追加"))) QTest::mouseClick(b, Qt::LeftButton);
    ASSERT_EQ(table->rowCount(), 3);
    table->item(2, 0)->setText(QStringLiteral("２０００／１／９"));
    table->item(2, 1)->setText(QStringLiteral("𠮷"));
    EXPECT_FALSE(dialog.Apply());
    EXPECT_EQ(table->currentRow(), 1);
    table->item(1, 0)->setText("02/28");
    ASSERT_TRUE(dialog.Apply());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().endsWith(QStringLiteral("05/03 Mother\n02/28 Bad\n2000/01/09 𠮷\n").toUtf8()));
    EXPECT_EQ(TFamilyDays::Current()->On(2027, 1, 9, true), QStringList{QStringLiteral("𠮷（27）")});
    TFamilyDays::SetCurrent(nullptr);
}
