#include "document/OutMessage.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(OutMessageTest, LinePositionGivesTheNumberAndBadLinesFallBack) {
    TOutMessage table;
    table.LoadFromBytes(TCp932::Encode(QString::fromUtf16(u"0:ゼロ\r\n1:いち:に\r\nno colon\r\n3：全角\r\n"
                                                          u"4:\r\n5:ご\r\n5:ろく\r\n7:\r\n")));
    const QString err = TOutMessage::ErrorText();
    EXPECT_EQ(table.Count(), 8);
    EXPECT_EQ(table.GetMessage(0), QString::fromUtf16(u"ゼロ"));
    EXPECT_EQ(table.GetMessage(1), QString::fromUtf16(u"いち:に")); // only the first colon splits
    EXPECT_EQ(table.GetMessage(2), err);
    EXPECT_EQ(table.GetMessage(3), err); // a full-width colon does not count
    EXPECT_EQ(table.GetMessage(4), err);
    EXPECT_EQ(table.GetMessage(6), QString::fromUtf16(u"ろく")); // the key before the colon is ignored
    EXPECT_EQ(table.GetMessage(7), err);
    EXPECT_EQ(table.GetMessage(30), err);
    EXPECT_EQ(table.GetMessage(-1), err);
}

TEST(OutMessageTest, MissingFileLeavesTheTableEmpty) {
    TOutMessage table;
    EXPECT_FALSE(table.LoadMessages("/nonexistent/outmessage.txt"));
    EXPECT_EQ(table.GetMessage(3), TOutMessage::ErrorText());

    // A pipe in the file's place must not block start-up waiting for a writer.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pipe = dir.filePath(QStringLiteral("outmessage.txt"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(table.LoadMessages(pipe));
    EXPECT_FALSE(table.LoadMessages(dir.path()));
    EXPECT_EQ(table.Count(), 0);
}

TEST(OutMessageTest, ShippedTableHasEveryNumberTheProgramUses) {
    TOutMessage table;
    ASSERT_TRUE(table.LoadMessages(KOMOREBI_SOURCE_DIR "/data/settings/outmessage.txt"));
    EXPECT_EQ(table.Count(), 19);
    for (int n : {3, 4, 6, 7, 9, 10, 11, 12, 14, 15, 18}) {
        EXPECT_NE(table.GetMessage(n), TOutMessage::ErrorText()) << n;
        EXPECT_FALSE(table.GetMessage(n).contains(QChar(0xFFFD))) << n;
    }
}

TEST(OutMessageTest, EveryLineEndCountsOnce) {
    const struct {
        const char* bytes;
        QStringList messages;
    } rows[] = {
        {"0:a\r\n1:b\r\n", {"a", "b"}},
        {"0:a\n1:b", {"a", "b"}},
        {"0:a\r1:b\r", {"a", "b"}},                     // lone CR
        {"0:a\r\n1:b\n2:c\r3:d", {"a", "b", "c", "d"}}, // mixed in one file
        {"0:a\r\n\r\n2:c\r\n", {"a", TOutMessage::ErrorText(), "c"}},
        {"0:a\r\r\n2:c", {"a", TOutMessage::ErrorText(), "c"}}, // CR then CR LF: two line ends
        {"", {}},
        {"\r\n", {TOutMessage::ErrorText()}},
    };
    for (const auto& row : rows) {
        TOutMessage table;
        table.LoadFromBytes(row.bytes);
        ASSERT_EQ(table.Count(), row.messages.size()) << row.bytes;
        for (int n = 0; n < table.Count(); ++n)
            EXPECT_EQ(table.GetMessage(n), row.messages[n]) << row.bytes;
    }
}
