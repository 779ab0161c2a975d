#include "platform/PackLibrary.h"
#include "objects/PriLabel.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

TEST(PackLibraryTest, CallsEntriesOfPacksBesideTheProgram) {
    TPackLibrary packs(QStringLiteral(KOMOREBI_TEST_PACK_DIR));
    int32_t choice = 0;
    const TDlgAnswer a =
        packs.StartCheckDlg(choice, QStringLiteral("テンプレートを開く"), QStringLiteral("保存データを開く"));
    EXPECT_TRUE(a.Called);
    EXPECT_TRUE(bool(a));
    EXPECT_EQ(choice, 2);

    QString result;
    ASSERT_TRUE(bool(packs.StringEditDlg(QStringLiteral("表示"), result)));
    EXPECT_EQ(result, QStringLiteral("表示表示"));

    // A pack that fills the whole buffer without a terminator still gives a bounded text.
    ASSERT_TRUE(bool(packs.StringEditDlg(QString(20000, QChar('a')), result)));
    EXPECT_EQ(result.size(), 30719);

    // A zero answer is a cancel even though the entry ran.
    int32_t scan = 0;
    const TDlgAnswer cancelled = packs.SaveTWAINImageDlg(scan);
    EXPECT_TRUE(cancelled.Called);
    EXPECT_FALSE(bool(cancelled));
}

// A missing pack used to do nothing without a word: each failure names the pack and the reason.
TEST(PackLibraryTest, MissingPackOrEntryDoesNothingButSaysWhy) {
    TPackLibrary packs(QStringLiteral(KOMOREBI_TEST_PACK_DIR));
    QStringList said;
    packs.SetFailureHandler([&](const QString& message) { said << message; });
    int32_t rows = 3;
    QString name;
    const TDlgAnswer missingPack = packs.PortalSettingDlg(rows, QStringLiteral("a"), name, {});
    EXPECT_FALSE(missingPack.Called);
    EXPECT_EQ(rows, 3);

    QString mainFile = "m", detail = "d";
    int32_t mode = 4;
    const TDlgAnswer missingEntry = packs.RecordSettingDlg(mainFile, detail, mode);
    EXPECT_FALSE(missingEntry.Called);
    EXPECT_EQ(mainFile, "m");
    EXPECT_EQ(mode, 4);

    ASSERT_EQ(said.size(), 2);
    EXPECT_TRUE(said[0].contains(QStringLiteral("libdrawpack.so")));
    EXPECT_TRUE(said[1].contains(QStringLiteral("RecordSettingDlg")));

    // Not a library at all.
    QTemporaryDir dir;
    QFile fake(dir.filePath(QStringLiteral("libformpack.so")));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a library");
    fake.close();
    TPackLibrary broken(dir.path() + QLatin1Char('/'));
    int32_t choice = 7;
    EXPECT_FALSE(broken.StartCheckDlg(choice, "a", "b").Called);
    EXPECT_EQ(choice, 7);
    EXPECT_TRUE(broken.LastFailure().contains(QStringLiteral("libformpack.so")));
    EXPECT_GT(broken.LastFailure().indexOf(QLatin1Char('\n')), 0); // the loader's reason follows
}

TEST(PackLibraryTest, CancelledPenDialogLeavesTheValues) {
    // The stand-in pack serves as the drawing pack too, under that pack's name.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOMOREBI_TEST_PACK_DIR "libformpack.so"), dir.filePath("libdrawpack.so")));
    TPackLibrary packs(dir.path() + QLatin1Char('/'));
    struct TCase {
        int32_t Part;
        bool Confirmed;
        int32_t Expected;
    };
    for (const TCase& c : {TCase{0, false, 5}, TCase{2, false, 5}, TCase{1, true, 77}}) {
        std::array<int32_t, 6> v{5, 5, 5, 5, 5, 5};
        const TDlgAnswer a = packs.PenBrushSetDlg(0, v[0], v[1], v[2], v[3], v[4], v[5], c.Part);
        EXPECT_TRUE(a.Called);
        EXPECT_EQ(bool(a), c.Confirmed);
        for (int32_t value : v)
            EXPECT_EQ(value, c.Expected) << c.Part;
    }
}

TEST(PackLibraryTest, FaceBufferLongerThanItsRoomIsCutBetweenCharacters) {
    // 1022 bytes and a double-byte character do not fit the 1023 bytes of room: the character goes whole.
    TPackLibrary packs(QStringLiteral(KOMOREBI_TEST_PACK_DIR));
    TPriLabel* none = nullptr;
    QString face;
    int32_t size = 10, style = 0, color = 0;
    const QString longFace = QString(1022, QLatin1Char('a')) + QStringLiteral("あ");
    ASSERT_TRUE(bool(packs.FontEditDlg(1, none, longFace, face, size, style, color)));
    EXPECT_EQ(size, 11);
    EXPECT_EQ(face, QString(1022, QLatin1Char('a')));
}
