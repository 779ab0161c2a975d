#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The single-instance channel's folder in a shared place: another user who makes it first, or
// puts a link there, used to receive every file the program opened (and have a folder of the
// victim's made 0700 through the link).
TEST(PrivateFolderTest, OnlyARealFolderOfThisUserWithMode0700IsTaken) {
    QTemporaryDir shared;
    const QString fresh = shared.filePath(QStringLiteral("fresh"));
    EXPECT_TRUE(TPrivateFolder::Make(fresh));
    EXPECT_EQ(ModeOf(fresh), mode_t(0700));

    const QString loose = shared.filePath(QStringLiteral("loose"));
    ASSERT_EQ(::mkdir(QFile::encodeName(loose).constData(), 0777), 0);
    ::chmod(QFile::encodeName(loose).constData(), 0777);
    EXPECT_TRUE(TPrivateFolder::Make(loose));
    EXPECT_EQ(ModeOf(loose), mode_t(0700));

    // A link to a folder of the victim's: refused, and the folder keeps its mode.
    const QString victims = shared.filePath(QStringLiteral("victims"));
    ASSERT_EQ(::mkdir(QFile::encodeName(victims).constData(), 0755), 0);
    ::chmod(QFile::encodeName(victims).constData(), 0755);
    const QString link = shared.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(victims, link));
    QString why;
    EXPECT_FALSE(TPrivateFolder::Make(link, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(ModeOf(victims), mode_t(0755));

    if (::getuid() != 0) GTEST_SKIP() << "another user's folder needs root to make";
    const QString others = shared.filePath(QStringLiteral("others"));
    ASSERT_EQ(::mkdir(QFile::encodeName(others).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(others).constData(), 65534, 65534), 0); // nobody
    EXPECT_FALSE(TPrivateFolder::Make(others, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("another user")));
}

} // namespace
