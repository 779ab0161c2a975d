#include "PackDriver.h"

#include "platform/Cp932.h"
#include "platform/PackLibrary.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An application folder with the real form pack and record and field files of the test's own.
class TRecordFolder {
public:
    TRecordFolder() {
        EXPECT_TRUE(QFile::copy(QStringLiteral(KOMOREBI_APP_DIR "/libformpack.so"), fDir.filePath("libformpack.so")));
        QDir(fDir.path()).mkpath("recordfile");
        QDir(fDir.path()).mkpath("fieldfile");
    }
    void Write(const QString& relative, const QByteArray& bytes) {
        QFile f(fDir.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    TPackLibrary Packs() const { return TPackLibrary(fDir.path() + '/'); }

private:
    QTemporaryDir fDir;
};

// What one tab of the dialog shows.
struct TShown {
    QString Summary;
    bool TableVisible = false;
    QStringList Heads;
    QAbstractItemModel* Model = nullptr; // alive while the dialog is

    QString Cell(int row, int column) const { return Model->index(row, column).data().toString(); }
};

QTableView* Table(QDialog& d, int tab) {
    return d.findChild<QTabWidget*>("recordTabs")->widget(tab)->findChild<QTableView*>();
}

TShown Shown(QDialog& d, int tab) {
    TShown shown{Table(d, tab)->parentWidget()->findChild<QLabel*>("recordSummary")->text(),
                 Table(d, tab)->isVisibleTo(&d),
                 {},
                 Table(d, tab)->model()};
    for (int c = 0; c < shown.Model->columnCount(); ++c)
        shown.Heads << shown.Model->headerData(c, Qt::Horizontal).toString();
    return shown;
}

} // namespace

TEST(RecordTableTest, ChosenFileShowsUnderItsDefinition) {
    TRecordFolder folder;
    folder.Write("recordfile/顧客.CSV", TCp932::Encode("K1,山田　花子,東京都\nK2,髙橋①,大阪\\, 北区\n"));
    folder.Write("fieldfile/顧客.CSV", TCp932::Encode("コード\n氏名\n"));
    // UTF-8 with its signature; numbered definition lines, one of the same base name.
    folder.Write("recordfile/明細.TAB",
                 QByteArray("\xEF\xBB\xBF") + QStringLiteral("A\t品①\t2\nA\t～\t1\nB\t茶\t3\n").toUtf8());
    folder.Write("fieldfile/明細.csv", TCp932::Encode("0,伝票\n2,数量\n"));
    folder.Write("recordfile/空.CSV", "");
    struct TCase {
        QString File;
        QString Summary;
        QStringList Heads;
        QList<std::tuple<int, int, QString>> Cells;
    } cases[] = {
        {"顧客.CSV", "2 件", {"コード", "氏名", "2"}, {{0, 1, "山田　花子"}, {1, 1, "髙橋①"}, {1, 2, "大阪, 北区"}}},
        {"明細.TAB", "2 件（3 行）", {"伝票", "1", "数量"}, {{0, 1, "品①"}, {1, 1, "～"}, {2, 0, "B"}, {2, 2, "3"}}},
        {"空.CSV", "読み込めません：「空.CSV」にはレコードの行がありません", {}, {}},
        {"消えた.CSV", "「消えた.CSV」は recordfile フォルダにありません。", {}, {}},
        {"", "ファイルを選んでいません。", {}, {}},
    };
    TPackLibrary packs = folder.Packs();
    for (const TCase& c : cases) {
        QString mainFile = c.File, detail;
        int32_t mode = 2;
        TShown shown;
        QStringList cells;
        TPackDriver driver([&](QDialog& d) {
            shown = Shown(d, 0);
            for (const auto& [row, column, value] : c.Cells)
                cells << shown.Cell(row, column);
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        EXPECT_FALSE(bool(packs.RecordSettingDlg(mainFile, detail, mode)));
        EXPECT_EQ(shown.Summary, c.Summary) << c.File.toStdString();
        EXPECT_EQ(shown.TableVisible, !c.Heads.isEmpty()) << c.File.toStdString();
        EXPECT_EQ(shown.Heads, c.Heads) << c.File.toStdString();
        for (qsizetype i = 0; i < c.Cells.size(); ++i)
            EXPECT_EQ(cells.value(i), std::get<2>(c.Cells[i])) << c.File.toStdString() << " cell " << i;
    }
}

TEST(RecordTableTest, TablesFollowTheChoiceAndKeysStillConfirm) {
    TRecordFolder folder;
    folder.Write("recordfile/顧客.CSV", TCp932::Encode("K1,山田\nK2,佐藤\n"));
    QByteArray large;
    for (int i = 0; i < 100000; ++i)
        large += "R" + QByteArray::number(i) + "\t" + QByteArray::number(i * 2) + "\n";
    folder.Write("recordfile/大量.TAB", large);
    TPackLibrary packs = folder.Packs();

    QString mainFile = "顧客.CSV", detail;
    int32_t mode = 1;
    TShown before, afterMain, afterDetail;
    int tabAfterDetail = -1;
    TPackDriver driver([&](QDialog& d) {
        before = Shown(d, 0);
        QList<QComboBox*> boxes = d.findChildren<QComboBox*>();
        boxes[0]->setCurrentIndex(boxes[0]->findData("大量.TAB"));
        afterMain = Shown(d, 0);
        EXPECT_EQ(afterMain.Model->rowCount(), 100000);
        EXPECT_EQ(afterMain.Cell(99999, 1), "199998");
        boxes[1]->setCurrentIndex(boxes[1]->findData("顧客.CSV"));
        afterDetail = Shown(d, 1);
        tabAfterDetail = d.findChild<QTabWidget*>("recordTabs")->currentIndex();
        // Enter on the table confirms, as everywhere in the dialog.
        Table(d, 1)->setFocus();
        Table(d, 1)->setCurrentIndex(afterDetail.Model->index(1, 1));
        QTest::keyClick(Table(d, 1), Qt::Key_Return);
    });
    ASSERT_TRUE(bool(packs.RecordSettingDlg(mainFile, detail, mode)));
    EXPECT_EQ(before.Summary, "2 件");
    EXPECT_EQ(afterMain.Summary, "100000 件");
    EXPECT_EQ(afterMain.Heads, QStringList({"0", "1"}));
    EXPECT_EQ(afterDetail.Summary, "2 件");
    EXPECT_EQ(tabAfterDetail, 1);
    EXPECT_EQ(mainFile, "大量.TAB");
    EXPECT_EQ(detail, "顧客.CSV");

    // Escape on the table cancels and keeps everything.
    TPackDriver cancel([](QDialog& d) {
        d.findChildren<QComboBox*>().at(0)->setCurrentIndex(0);
        Table(d, 1)->setFocus();
        QTest::keyClick(Table(d, 1), Qt::Key_Escape);
    });
    EXPECT_FALSE(bool(packs.RecordSettingDlg(mainFile, detail, mode)));
    EXPECT_EQ(mainFile, "大量.TAB");
}
