// The save question's キャンセル, files handed over while a question is open, and the window's place
// in settings.ini, with the real program on an X display.
#include "e2e/DesktopSession.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <list>

namespace {

class SessionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = TDesktopSession::MissingTools();
        if (!missing.isEmpty()) GTEST_SKIP() << "no X tools: " << missing.toStdString();
        ASSERT_TRUE(fSession.IsReady()) << fSession.Error().toStdString();
    }
    // A copy of a shipped calendar among the user's files.
    QString File(const QString& name) {
        const QString file = fSession.Folder() + name + QStringLiteral(".tda");
        QFile::copy(fSession.AppFolder() + QStringLiteral("Template/A4/年間カレンダー.tda"), file);
        return file;
    }
    TDesktopSession::TProgram& Start(const QString& name) {
        fPrograms.push_back(fSession.Start(name, File(name)));
        return fPrograms.back();
    }
    bool TitleEnds(const TDesktopSession::TProgram& program, const QString& end) {
        return TDesktopSession::WaitUntil([&] { return fSession.WindowName(program.Window).endsWith(end); });
    }

    TDesktopSession fSession;
    std::list<TDesktopSession::TProgram> fPrograms;
};

} // namespace

TEST_F(SessionEndToEnd, EscapeAtTheSaveQuestionKeepsTheWork) {
    TDesktopSession::TProgram& program = Start(QStringLiteral("keep"));
    ASSERT_TRUE(program.Process) << "no window appeared";
    fSession.Focus(program);
    fSession.Keys(QStringLiteral("ctrl+a Right Right"));
    EXPECT_TRUE(TitleEnds(program, QStringLiteral(" - *keep"))) << "the title does not mark the moves";
    fSession.Keys(QStringLiteral("ctrl+q"));
    ASSERT_TRUE(fSession.AnswerDialog(program, QStringLiteral("Escape"))) << "no save question";
    // The program is still there with its moves: Ctrl+S writes them.
    const QString file = fSession.Folder() + QStringLiteral("keep.tda");
    const QDateTime before = QFileInfo(file).lastModified();
    fSession.Focus(program);
    fSession.Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "Escape threw the work away";
    EXPECT_TRUE(fSession.AnswerDialog(program, QStringLiteral("Return"))) << "no message after the save";
    EXPECT_TRUE(TitleEnds(program, QStringLiteral(" - keep")));
    EXPECT_TRUE(fSession.Quit(program));
}

TEST_F(SessionEndToEnd, FilesHandedOverWhileAQuestionIsOpenWaitAndOnlyTheNewestOpens) {
    TDesktopSession::TProgram& program = Start(QStringLiteral("hand"));
    ASSERT_TRUE(program.Process) << "no window appeared";
    fSession.Focus(program);
    fSession.Keys(QStringLiteral("ctrl+q"));
    ASSERT_TRUE(TDesktopSession::WaitUntil([&] { return fSession.Dialogs(program).size() == 1; }));
    // Two double clicks in the file manager while the question is open.
    EXPECT_EQ(fSession.HandOver(QStringLiteral("hand"), File(QStringLiteral("second"))), 0);
    EXPECT_EQ(fSession.HandOver(QStringLiteral("hand"), File(QStringLiteral("third"))), 0);
    TDesktopSession::Pause(1500); // time for a wrongly nested question to show
    EXPECT_EQ(fSession.Dialogs(program).size(), 1) << "a question opened inside the open one";
    EXPECT_TRUE(fSession.WindowName(program.Window).endsWith(QStringLiteral(" - hand")));
    // キャンセル ends the quit; then the newest file goes through Open with its own question.
    ASSERT_TRUE(fSession.AnswerDialog(program, QStringLiteral("Escape")));
    ASSERT_TRUE(fSession.AnswerDialog(program, QStringLiteral("alt+n"))) << "the handed-over file was not opened";
    EXPECT_TRUE(TitleEnds(program, QStringLiteral(" - third")));
    TDesktopSession::Pause(1000);
    EXPECT_TRUE(fSession.Dialogs(program).isEmpty()) << "the older hand-over was opened too";
    EXPECT_TRUE(fSession.Quit(program));
}

TEST_F(SessionEndToEnd, WindowPlaceFromSettingsStaysOnScreenAndComesBackTheSame) {
    const QString settings = fSession.AppFolder() + QStringLiteral("settings/settings.ini");
    TIniFile ini(settings);
    const char* keys[] = {"Left", "Top", "Width", "Height"};
    const int far[] = {-400, -300, 30000, 30000};
    for (int i = 0; i < 4; ++i)
        ini.WriteInteger("MainForm", keys[i], far[i]);
    ASSERT_TRUE(ini.UpdateFile());
    TDesktopSession::TProgram& first = Start(QStringLiteral("place"));
    ASSERT_TRUE(first.Process) << "no window appeared";
    const QRect shown = first.Geometry;
    EXPECT_TRUE(QRect(QPoint(0, 0), fSession.Screen().size()).contains(shown))
        << "off the screen: " << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    ASSERT_TRUE(fSession.Quit(first));
    const TIniFile saved(settings);
    int stored[4];
    for (int i = 0; i < 4; ++i)
        stored[i] = saved.ReadInteger("MainForm", keys[i], -1);
    EXPECT_EQ(QRect(stored[0], stored[1], stored[2], stored[3]), shown);
    TDesktopSession::TProgram& again = Start(QStringLiteral("place"));
    EXPECT_EQ(again.Geometry, shown) << "the window moved between two starts";
    EXPECT_TRUE(fSession.Quit(again));
}
