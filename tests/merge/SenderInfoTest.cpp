#include "merge/SenderInfo.h"

#include "merge/PriField.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SenderInfoTest, RoundTripKeepsNamesBeyondCp932) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("settings/sender.txt"));
    TSenderInfo sender;
    sender.PostalCode = QStringLiteral("1000001");
    sender.Address1 = QStringLiteral("東京都千代田区千代田1-1");
    sender.Address2 = QStringLiteral("髙島屋ビル 3F\n（改行は空白に）");
    sender.Name = QStringLiteral("𠮷田 太郎 花子");
    QString error;
    ASSERT_TRUE(sender.Save(file, &error)) << error.toStdString();
    const TSenderInfo back = TSenderInfo::Load(file);
    EXPECT_EQ(back.Name, sender.Name);
    EXPECT_EQ(back.Address2, QStringLiteral("髙島屋ビル 3F （改行は空白に）"));
    EXPECT_EQ(back.ToBytes(), sender.ToBytes());
    EXPECT_EQ(back.Item(TObjectExtras::TSenderItem::PostalCode), QStringLiteral("1000001"));
}

// A damaged or missing file gives empty values, and the reader never takes more than its bound.
TEST(SenderInfoTest, DamagedFilesGiveEmptyValues) {
    QTemporaryDir dir;
    const struct {
        const char* Name;
        QByteArray Bytes;
        QString ExpectName;
    } cases[] = {
        {"not UTF-8", QByteArray("name=\x93\x8c\x8b\x9e\n"), QString()},
        {"too long", QByteArray("name=a\n") + QByteArray(TSenderInfo::kMaxFileBytes, 'x'), QString()},
        {"no equals, unknown keys", QByteArray("name\n=x\nother=1\nname=山田\r\n"), QStringLiteral("山田")},
        {"NULs inside", QByteArray("name=a\0b\n", 9), QString::fromUtf8("a\0b", 3)},
        {"a value past its bound", "name=" + QByteArray(1000, 'n'), QString(TSenderInfo::kMaxValueChars, u'n')},
    };
    for (const auto& c : cases) {
        const QString file = dir.filePath(QString::fromLatin1(c.Name));
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.Bytes);
        f.close();
        EXPECT_EQ(TSenderInfo::Load(file).Name, c.ExpectName) << c.Name;
    }
    EXPECT_TRUE(TSenderInfo::Load(dir.filePath(QStringLiteral("missing.txt"))) == TSenderInfo());
    EXPECT_TRUE(TSenderInfo::Load(dir.path()) == TSenderInfo());
}

TEST(SenderInfoTest, SenderFieldsKeepTheSenderAgainstRecordValues) {
    TPriField sender;
    sender.Extras.SenderItem = TObjectExtras::TSenderItem::Name;
    EXPECT_TRUE(sender.ApplySender(QStringLiteral("𠮷田 太郎")));
    sender.SetRecordText(QStringLiteral("記録の値"), 1, 3);
    EXPECT_EQ(sender.DataString(), QStringLiteral("𠮷田 太郎"));

    TPriField column;
    column.SetCategoryName(QStringLiteral("姓"));
    EXPECT_FALSE(column.ApplySender(QStringLiteral("𠮷田 太郎")));
    column.SetRecordText(QStringLiteral("山田"), 1, 3);
    EXPECT_EQ(column.DataString(), QStringLiteral("山田"));
}
