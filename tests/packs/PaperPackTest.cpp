// The paper pack through the program's loader: the page paper, the sheet to print on with its
// card sheets file, sheets of the user's own, damaged files.
#include "ModalDriver.h"

#include "document/PriPaper.h"
#include "platform/PackLibrary.h"
#include "print/CardData.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString kAppDir = QStringLiteral(KOMOREBI_APP_DIR "/");
const QString kShipped = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/settings/carddata.cdd");

void SetMm(QWidget* dialog, const char* name, double mm) {
    auto* box = dialog->findChild<QDoubleSpinBox*>(name);
    ASSERT_TRUE(box) << name;
    box->setValue(mm);
}

void SetCount(QWidget* dialog, const char* name, int value) {
    auto* box = dialog->findChild<QSpinBox*>(name);
    ASSERT_TRUE(box) << name;
    box->setValue(value);
}

TPriPaper Paper(std::array<int32_t, TPriPaper::kFieldCount> fields) {
    TPriPaper p;
    p.SetFields(fields);
    return p;
}

// A copy of the shipped sheets in a folder of the test's own.
QString CopyShipped(const QTemporaryDir& dir) {
    const QString file = dir.filePath("carddata.cdd");
    QFile::copy(kShipped, file);
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    return file;
}

} // namespace

TEST(PaperPackTest, PaperSettingTakesTheSheetAndKeepsTheDialogValues) {
    TPackLibrary packs(kAppDir);
    const TPriPaper a4 = Paper({5, 6, 1, 1, 2100, 2970, 0, 0, 7, 8, 0, 0, 1, 1, 2100, 2970});
    struct TCase {
        const char* What;
        std::function<void(QWidget*)> Edit;
        bool Accepted;
        TPriPaper Expected;
    };
    const TCase cases[] = {
        {"a landscape postcard",
         [](QWidget* d) {
             SetMm(d, "sheetWidth", 100);
             SetMm(d, "sheetHeight", 148);
             SetMm(d, "seatWidth", 100);
             SetMm(d, "seatHeight", 148);
             static_cast<QRadioButton*>(d->findChild<QWidget*>("landscape"))->setChecked(true);
         },
         true, Paper({5, 6, 0, 1, 1000, 1480, 0, 0, 7, 8, 0, 0, 1, 1, 1000, 1480})},
        {"a label grid with gaps",
         [](QWidget* d) {
             SetCount(d, "columns", 2);
             SetCount(d, "rows", 6);
             CommitNumber(d->findChild<QDoubleSpinBox*>("seatWidth"), QStringLiteral("８６．４"));
             CommitNumber(d->findChild<QDoubleSpinBox*>("seatHeight"), QStringLiteral("42.3"));
             SetMm(d, "firstLeft", 15.6);
             SetMm(d, "firstTop", 20.1);
             SetMm(d, "gapX", 6);
             SetMm(d, "gapY", 0.5);
         },
         true, Paper({5, 6, 1, 1, 2100, 2970, 156, 201, 7, 8, 60, 5, 2, 6, 864, 423})},
        {"the sheet picked by its usual name",
         [](QWidget* d) {
             auto* preset = d->findChild<QComboBox*>("sheetPreset");
             preset->setCurrentIndex(1);
             emit preset->activated(1); // A5; a plain page follows its sheet
         },
         true, Paper({5, 6, 1, 1, 1480, 2100, 0, 0, 7, 8, 0, 0, 1, 1, 1480, 2100})},
        {"cancelled", [](QWidget* d) { SetCount(d, "columns", 2); }, false, a4},
    };
    for (const TCase& c : cases) {
        TPriPaper paper = a4;
        OnNextModal([&](QWidget* dialog) {
            c.Edit(dialog);
            PressKey(dialog, c.Accepted ? Qt::Key_Return : Qt::Key_Escape);
        });
        const int before = TopLevelCount();
        EXPECT_EQ(bool(packs.PaperNewSettingDlg(&paper, 1)), c.Accepted) << c.What;
        EXPECT_EQ(paper.Fields(), c.Expected.Fields()) << c.What;
        EXPECT_EQ(TopLevelCount(), before);
    }
}

// Seats off the sheet, and more seats than a document may hold (a 99 x 99 sheet saved and then
// would not open again).
TEST(PaperPackTest, PaperSettingRefusesSeatsOffTheSheetOrBeyondTheDocumentLimit) {
    TPackLibrary packs(kAppDir);
    const struct {
        int Columns, Rows;
        double Seat;
        QString Says;
    } cases[] = {
        {3, 1, 210, QStringLiteral("面が用紙からはみ出します。")}, // three A4-wide seats cannot lie on A4
        {40, 40, 5, QStringLiteral("上限 1000 面")},
    };
    for (const auto& c : cases) {
        TPriPaper paper = Paper({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        const TPriPaper before = paper;
        QString warning;
        OnNextModal([&](QWidget* dialog) {
            SetMm(dialog, "seatWidth", c.Seat);
            SetMm(dialog, "seatHeight", c.Seat);
            SetCount(dialog, "columns", c.Columns);
            SetCount(dialog, "rows", c.Rows);
            OnNextModal(
                [&](QWidget* box) {
                    warning = box->findChild<QLabel*>("qt_msgbox_label")->text();
                    PressKey(box, Qt::Key_Return);
                },
                dialog);
            PressKey(dialog, Qt::Key_Return);
            // Still open after the refusal; the user gives up.
            EXPECT_TRUE(dialog->isVisible());
            PressKey(dialog, Qt::Key_Escape);
        });
        EXPECT_FALSE(bool(packs.PaperNewSettingDlg(&paper, 1)));
        EXPECT_EQ(paper, before);
        EXPECT_TRUE(warning.contains(c.Says)) << qPrintable(warning);
    }
}

TEST(PaperPackTest, PrintPaperFillsThePaperAndRemembersTheChoice) {
    QTemporaryDir dir;
    const QString file = CopyShipped(dir);
    TPackLibrary packs(kAppDir);
    int32_t a = 0, b = 0;
    struct TCase {
        int Row; // −1: take what the dialog offers
        int32_t Portrait;
        std::array<int32_t, TPriPaper::kFieldCount> Expected; // without A and B
    };
    const TCase cases[] = {
        {0, 0, {0, 0, 1, 0, 2100, 2970, 140, 110, 0, 0, 0, 0, 2, 5, 910, 550}},
        {3, 1, {0, 0, 1, 0, 2100, 2970, 84, 88, 0, 0, 0, 0, 4, 11, 483, 254}},
        {-1, 1, {0, 0, 1, 0, 2100, 2970, 84, 88, 0, 0, 0, 0, 4, 11, 483, 254}},
        // A single sheet keeps the page's orientation.
        {4, 0, {0, 0, 0, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480}},
    };
    for (const TCase& c : cases) {
        TPriPaper paper;
        int offered = -1, count = 0;
        OnNextModal([&](QWidget* dialog) {
            auto* list = dialog->findChild<QListWidget*>("sheets");
            offered = list->currentRow();
            count = list->count();
            if (c.Row >= 0) list->setCurrentRow(c.Row);
            PressKey(dialog, Qt::Key_Return);
        });
        const int previous = a - 1;
        ASSERT_TRUE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, c.Portrait)));
        EXPECT_EQ(count, 9);
        if (c.Row < 0) EXPECT_EQ(offered, previous);
        auto fields = paper.Fields();
        EXPECT_EQ(fields[0], a);
        EXPECT_EQ(fields[1], b);
        EXPECT_NE(b, 0);
        fields[0] = fields[1] = 0;
        EXPECT_EQ(fields, c.Expected) << c.Row;
    }

    // Cancel leaves the paper and both remembered values alone.
    TPriPaper paper = Paper({1, 2, 1, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14});
    const TPriPaper before = paper;
    const int32_t keptA = a, keptB = b;
    OnNextModal([](QWidget* dialog) { PressKey(dialog, Qt::Key_Escape); });
    EXPECT_FALSE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, 1)));
    EXPECT_EQ(paper, before);
    EXPECT_EQ(a, keptA);
    EXPECT_EQ(b, keptB);
}

TEST(PaperPackTest, DamagedOrMissingSheetsFileOffersTheShippedSheetsWithAMessage) {
    QTemporaryDir dir;
    QByteArray shipped;
    {
        QFile f(kShipped);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        shipped = f.readAll();
    }
    TPackLibrary packs(kAppDir);
    for (const QByteArray& bytes : {shipped.left(shipped.size() - 3), QByteArray("KCDD\x01\0\0\0\xff\xff\xff\x7f", 12),
                                    QByteArray("not a sheet file"), QByteArray()}) {
        const QString file = dir.filePath("carddata.cdd");
        QFile::remove(file);
        if (!bytes.isEmpty()) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        int count = -1;
        QString message;
        OnNextModal([&](QWidget* dialog) {
            count = dialog->findChild<QListWidget*>("sheets")->count();
            auto* label = dialog->findChild<QLabel*>("message");
            message = label->isVisible() ? label->text() : QString();
            PressKey(dialog, Qt::Key_Escape);
        });
        TPriPaper paper;
        int32_t a = 3, b = 4;
        EXPECT_FALSE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, 1)));
        EXPECT_EQ(count, TCardData::ShippedSheets().size());
        EXPECT_FALSE(message.isEmpty());
        EXPECT_EQ(paper, TPriPaper());
        EXPECT_EQ(a, 3);
        EXPECT_EQ(b, 4);
    }
}

TEST(PaperPackTest, UsersOwnSheetIsSavedAndOfferedFromThenOn) {
    QTemporaryDir dir;
    const QString file = CopyShipped(dir);
    TPackLibrary packs(kAppDir);
    const QString name = QStringLiteral("自作ラベル１８面");

    int32_t a = 0, b = 0;
    TPriPaper paper;
    OnNextModal([&](QWidget* dialog) {
        OnNextModal(
            [&](QWidget* editor) {
                CommitText(editor->findChild<QLineEdit*>("sheetName"), name);
                SetCount(editor, "columns", 3);
                SetCount(editor, "rows", 6);
                SetMm(editor, "seatWidth", 63.5);
                SetMm(editor, "seatHeight", 46.6);
                SetMm(editor, "firstLeft", 7.2);
                SetMm(editor, "firstTop", 8.8);
                SetMm(editor, "gapX", 2.5);
                SetMm(editor, "gapY", 0);
                PressKey(editor, Qt::Key_Return);
            },
            dialog);
        QTest::mouseClick(dialog->findChild<QPushButton*>("addSheet"), Qt::LeftButton);
        PressKey(dialog, Qt::Key_Return);
    });
    ASSERT_TRUE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, 1)));
    EXPECT_EQ(a, 10);
    EXPECT_EQ(paper.Fields(), Paper({a, b, 1, 0, 2100, 2970, 72, 88, 0, 0, 25, 0, 3, 6, 635, 466}).Fields());

    QList<TCardSheet> saved;
    ASSERT_TRUE(TCardData::LoadFromFile(file, saved));
    ASSERT_EQ(saved.size(), 10);
    EXPECT_EQ(saved.last().Name, name);
    EXPECT_TRUE(saved.last().UserAdded);
    EXPECT_EQ(saved.last().PitchX, 660);

    // The next call offers it, chosen again, and a shipped sheet cannot be deleted.
    QString offered;
    bool deletable = true;
    OnNextModal([&](QWidget* dialog) {
        auto* list = dialog->findChild<QListWidget*>("sheets");
        offered = list->currentItem()->text();
        list->setCurrentRow(0);
        deletable = dialog->findChild<QPushButton*>("deleteSheet")->isEnabled();
        PressKey(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, 1)));
    EXPECT_TRUE(offered.startsWith(name));
    EXPECT_FALSE(deletable);
}

// Adding a sheet to a damaged list keeps the damaged file aside (an earlier backup is never
// replaced) and saves the shipped sheets with the new one; a pipe in the file's place is refused
// instead of hanging the Add.
TEST(PaperPackTest, AddingToADamagedFileKeepsItAsideAndTheShippedSheets) {
    QTemporaryDir dir;
    const QString file = dir.filePath("carddata.cdd");
    TPackLibrary packs(kAppDir);
    const auto addSheet = [&](const QString& name, bool refused) {
        OnNextModal([&](QWidget* dialog) {
            OnNextModal(
                [&](QWidget* editor) {
                    CommitText(editor->findChild<QLineEdit*>("sheetName"), name);
                    PressKey(editor, Qt::Key_Return);
                    // The refusal, then the "this print only" note that follows it.
                    if (refused)
                        OnNextModal(
                            [dialog](QWidget* refusal) {
                                OnNextModal([](QWidget* note) { PressKey(note, Qt::Key_Return); }, dialog);
                                PressKey(refusal, Qt::Key_Return);
                            },
                            dialog);
                },
                dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("addSheet"), Qt::LeftButton);
            PressKey(dialog, Qt::Key_Escape);
        });
        TPriPaper paper;
        int32_t a = 0, b = 0;
        EXPECT_FALSE(bool(packs.PrintPaperSettingDlg(file, &paper, a, b, 1)));
    };
    const auto damage = [&](const QByteArray& bytes) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const auto contents = [](const QString& name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    damage("KCDD damaged");
    addSheet(QStringLiteral("ハガキ"), false);
    damage("KCDD damaged again");
    addSheet(QStringLiteral("ハガキ２"), false);
    EXPECT_EQ(contents(file + ".bak"), QByteArray("KCDD damaged"));
    EXPECT_EQ(contents(file + ".bak2"), QByteArray("KCDD damaged again"));
    QList<TCardSheet> saved;
    ASSERT_TRUE(TCardData::LoadFromFile(file, saved));
    const QList<TCardSheet> shipped = TCardData::ShippedSheets();
    ASSERT_EQ(saved.size(), shipped.size() + 1);
    EXPECT_EQ(saved.first().Name, shipped.first().Name);
    EXPECT_EQ(saved.last().Name, QStringLiteral("ハガキ２"));

    QFile::remove(file);
    ASSERT_EQ(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    addSheet(QStringLiteral("ハガキ３"), true);
    EXPECT_FALSE(QFileInfo(file).isFile());
}

TEST(PaperPackTest, PrintPreviewOfNoPagesAnswersNo) {
    TPackLibrary packs(kAppDir);
    QStringList files;
    const TDlgAnswer a = packs.PrintPreviewDlg(nullptr, 0, 0, 0, 0, 2100, 2970, files, 0, 0, true, 0);
    EXPECT_TRUE(a.Called);
    EXPECT_FALSE(bool(a));
}
