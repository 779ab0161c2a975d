// A session with the real program on an X display: the save question's キャンセル, files handed
// over by a second start while a question is open, and the window's place kept in settings.ini.
#include "document/PriPaint.h"
#include "e2e/DesktopSession.h"
#include "objects/PriShape.h"
#include "platform/IniFile.h"
#include "support/FixedPrinter.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>
#include <list>

namespace {

constexpr QRgb kMagentaOnScreen = 0xFF00FF;

// An A4 page with one magenta rectangle, saved where the test says.
bool SaveWithRectangle(const QString& file, QRect stored) {
    TPriPaint doc(nullptr, QStringLiteral(KOMOREBI_APP_DIR "/"), 96, std::make_unique<TFixedPrinter>());
    doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    auto shape = std::make_unique<TPriShape>();
    shape->Shape = TBltShape::RectAngle;
    shape->Brush = TPriBrush{RGBColor(255, 0, 255), bsSolid};
    shape->SetStoreRect(stored);
    doc.AppendObject(std::move(shape));
    QString error;
    return doc.SaveToFile(file, 0, &error);
}

QRect StoredRectangle(const QString& file) {
    TPriPaint doc(nullptr, QStringLiteral(KOMOREBI_APP_DIR "/"), 96, std::make_unique<TFixedPrinter>());
    QString error;
    if (!doc.LoadFromFile(file, 0, &error) || doc.Objects().empty()) return QRect();
    return doc.Objects()[0]->StoreRect();
}

class SessionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = TDesktopSession::MissingTools();
        if (!missing.isEmpty()) GTEST_SKIP() << "no X tools: " << missing.toStdString();
        fSession = std::make_unique<TDesktopSession>();
        ASSERT_TRUE(fSession->IsReady()) << fSession->Error().toStdString();
    }
    void TearDown() override {
        if (HasFailure() && fSession)
            fSession->Screen().save(
                QStringLiteral(KOMOREBI_BINARY_DIR "/e2e-%1.png")
                    .arg(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())));
    }
    TDesktopSession::TProgram& Start(const QString& name, const QString& file) {
        fPrograms.push_back(fSession->Start(name, file));
        return fPrograms.back();
    }
    // Waits for the main window's title to hold.
    bool WaitForTitle(const TDesktopSession::TProgram& program, const std::function<bool(const QString&)>& holds) {
        QElapsedTimer clock;
        clock.start();
        do {
            if (holds(fSession->WindowName(program.Window))) return true;
            TDesktopSession::Pause(200);
        } while (clock.elapsed() < 10000);
        return false;
    }
    bool WaitForDialogs(const TDesktopSession::TProgram& program, int count) {
        QElapsedTimer clock;
        clock.start();
        do {
            if (fSession->Dialogs(program).size() == count) return true;
            TDesktopSession::Pause(200);
        } while (clock.elapsed() < 10000);
        return false;
    }

    std::unique_ptr<TDesktopSession> fSession;
    std::list<TDesktopSession::TProgram> fPrograms;
};

} // namespace

TEST_F(SessionEndToEnd, EscapeAtTheSaveQuestionKeepsTheWork) {
    const QString file = fSession->Folder() + QStringLiteral("keep.tda");
    const QRect stored(300, 300, 400, 200);
    ASSERT_TRUE(SaveWithRectangle(file, stored));
    TDesktopSession::TProgram& program = Start(QStringLiteral("keep"), file);
    ASSERT_TRUE(program.Process) << "no window appeared";
    ASSERT_TRUE(fSession->WaitForScreen([](const QImage& s) { return !FindColour(s, kMagentaOnScreen).isEmpty(); }));
    fSession->Focus(program);
    fSession->Keys(QStringLiteral("ctrl+a"));
    fSession->Keys(QStringLiteral("Right Right"));
    EXPECT_TRUE(WaitForTitle(program, [](const QString& t) { return t.endsWith(QStringLiteral(" - *keep")); }))
        << "the title does not mark the moves";

    // Ctrl+Q, then Escape at the question: the program stays with its moves.
    fSession->Keys(QStringLiteral("ctrl+q"));
    ASSERT_TRUE(WaitForDialogs(program, 1)) << "no save question";
    ASSERT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Escape")));
    ASSERT_TRUE(WaitForDialogs(program, 0));
    fSession->Focus(program);
    const QDateTime before = QFileInfo(file).lastModified();
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "the program is gone: Escape threw the work away";
    EXPECT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Return"))) << "no message after the save";
    EXPECT_TRUE(WaitForTitle(program, [](const QString& t) { return t.endsWith(QStringLiteral(" - keep")); }));
    EXPECT_TRUE(fSession->Quit(program));
    // Two steps of one screen pixel each: a few tenths of a millimetre to the right.
    const QRect now = StoredRectangle(file);
    EXPECT_GT(now.left(), stored.left());
    EXPECT_LT(now.left(), stored.left() + 20);
    EXPECT_EQ(now.top(), stored.top());
}

TEST_F(SessionEndToEnd, FilesHandedOverWhileAQuestionIsOpenWaitAndOnlyTheNewestOpens) {
    const QString first = fSession->Folder() + QStringLiteral("first.tda");
    const QString second = fSession->Folder() + QStringLiteral("second.tda");
    const QString third = fSession->Folder() + QStringLiteral("third.tda");
    for (const QString& file : {first, second, third})
        ASSERT_TRUE(SaveWithRectangle(file, QRect(300, 300, 400, 200)));
    TDesktopSession::TProgram& program = Start(QStringLiteral("hand"), first);
    ASSERT_TRUE(program.Process) << "no window appeared";
    fSession->Focus(program);
    fSession->Keys(QStringLiteral("ctrl+q"));
    ASSERT_TRUE(WaitForDialogs(program, 1)) << "no save question";

    // Two double clicks in the file manager while the question is open.
    EXPECT_EQ(fSession->HandOver(QStringLiteral("hand"), second), 0);
    EXPECT_EQ(fSession->HandOver(QStringLiteral("hand"), third), 0);
    // Time for a wrongly nested question to show.
    TDesktopSession::Pause(1500);
    EXPECT_EQ(fSession->Dialogs(program).size(), 1) << "a question opened inside the open one";
    EXPECT_TRUE(fSession->WindowName(program.Window).endsWith(QStringLiteral(" - first")));

    // キャンセル ends the quit; then the newest file goes through Open with its own question.
    ASSERT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Escape")));
    ASSERT_TRUE(fSession->AnswerDialog(program, QStringLiteral("alt+n"))) << "the handed-over file was not opened";
    EXPECT_TRUE(WaitForTitle(program, [](const QString& t) { return t.endsWith(QStringLiteral(" - third")); }));
    TDesktopSession::Pause(1000);
    EXPECT_TRUE(fSession->Dialogs(program).isEmpty()) << "the older hand-over was opened too";
    EXPECT_TRUE(fSession->WindowName(program.Window).endsWith(QStringLiteral(" - third")));
    EXPECT_TRUE(fSession->Quit(program));
}

TEST_F(SessionEndToEnd, WindowPlaceFromSettingsStaysOnScreenAndComesBackTheSame) {
    const QString file = fSession->Folder() + QStringLiteral("place.tda");
    ASSERT_TRUE(SaveWithRectangle(file, QRect(300, 300, 400, 200)));
    const QString settings = fSession->AppFolder() + QStringLiteral("settings/settings.ini");
    {
        TIniFile ini(settings);
        ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Left"), -400);
        ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), -300);
        ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Width"), 30000);
        ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Height"), 30000);
        ASSERT_TRUE(ini.UpdateFile());
    }
    const QImage screen = fSession->Screen();
    ASSERT_FALSE(screen.isNull());
    const QRect desktop(QPoint(0, 0), screen.size());

    TDesktopSession::TProgram& program = Start(QStringLiteral("place"), file);
    ASSERT_TRUE(program.Process) << "no window appeared";
    EXPECT_TRUE(desktop.contains(program.Geometry))
        << "the window lies off the screen: " << program.Geometry.x() << "," << program.Geometry.y() << " "
        << program.Geometry.width() << "x" << program.Geometry.height();
    const QRect shown = program.Geometry;
    ASSERT_TRUE(fSession->Quit(program));
    const TIniFile ini(settings);
    const auto key = [&](const char* name) {
        return ini.ReadInteger(QStringLiteral("MainForm"), QString::fromLatin1(name), -1);
    };
    EXPECT_EQ(QRect(key("Left"), key("Top"), key("Width"), key("Height")), shown);

    TDesktopSession::TProgram& again = Start(QStringLiteral("place"), file);
    ASSERT_TRUE(again.Process) << "no window appeared";
    EXPECT_EQ(again.Geometry, shown) << "the window moved between two starts";
    EXPECT_TRUE(fSession->Quit(again));
}
