// The main window across a session: files handed over by a second start, the save question with
// キャンセル, the title's mark of unsaved changes, the window's place and the dates of templates.
#include "app/MainFormFixture.h"
#include "app/PrintCommands.h"
#include "calendar/PriCarendar.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

const QString kTitle = QStringLiteral("こもれびごよみ印刷");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the A4 year calendar among the user's files.
QString UserCopy(TMainFormFixture& f, const QString& name = QStringLiteral("mine.tda")) {
    const QString file = f.UserData(name);
    QFile::copy(f.Template("A4/年間カレンダー.tda"), file);
    return file;
}

// One object moved by the arrow keys' step: an edit of the document.
void Nudge(TPriPaint& doc) {
    doc.DeselectAll();
    doc.SelectObject(doc.Objects().front().get());
    doc.NudgeSelection(1, 0);
}

const TPriCarendar* FirstCalendar(const TPriPaint& doc) {
    for (const auto& obj : doc.Objects())
        if (auto* cal = dynamic_cast<const TPriCarendar*>(obj.get())) return cal;
    return nullptr;
}

} // namespace

// ---- files handed over by a second start

TEST(PrintMainFormSessionTest, HandOverWaitsUntilNothingRunsAndOpensOnlyTheNewest) {
    enum TWhile { ModalDialog, PageBuild, ItsOwnQuestion };
    const struct {
        const char* Name;
        TWhile While;
    } cases[] = {
        {"a dialog open", ModalDialog}, {"a page build shown", PageBuild}, {"the save question open", ItsOwnQuestion}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMainFormFixture f;
        TTestMainForm& form = f.StartedFromChooser();
        const QString first = form.Document()->TempLatePath;
        const QString older = f.Template("Meishi/名刺カレンダー.tda"), newest = f.Template("Hagaki/年賀状.tda");
        QString pathMeanwhile;
        int questionsMeanwhile = -1;
        const auto handOverTwice = [&] {
            form.OpenFromOtherInstance({older});
            form.OpenFromOtherInstance({newest});
            pathMeanwhile = form.Document()->TempLatePath;
            questionsMeanwhile = int(f.Dialogs.Questions.size());
        };
        switch (c.While) {
        case ModalDialog: {
            QDialog dialog(&form);
            QTimer::singleShot(0, &dialog, [&] {
                handOverTwice();
                dialog.reject();
            });
            dialog.exec();
            break;
        }
        case PageBuild:
            form.PrintCommands().PrinterDevice = [] { return static_cast<QPrinter*>(nullptr); };
            f.Library.DuringPreview = handOverTwice;
            form.Action(QStringLiteral("Action_Preview"))->trigger();
            break;
        case ItsOwnQuestion:
            // The first hand-over asks; the second comes while that question is open.
            f.Dialogs.WhileAsking = [&, once = true](const QString&) mutable {
                if (!std::exchange(once, false)) return;
                form.OpenFromOtherInstance({newest});
                pathMeanwhile = form.Document()->TempLatePath;
                questionsMeanwhile = int(f.Dialogs.Questions.size());
            };
            form.OpenFromOtherInstance({older});
            break;
        }
        EXPECT_EQ(pathMeanwhile, first) << "the document changed under a running dialog or command";
        EXPECT_EQ(questionsMeanwhile, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.HasPendingHandOver(); }));
        EXPECT_EQ(form.Document()->TempLatePath, newest);
        EXPECT_EQ(f.Dialogs.MostOpenQuestions, 1) << "questions were stacked";
        EXPECT_EQ(f.Dialogs.Questions.size(), c.While == ItsOwnQuestion ? 2 : 1);
        EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 年賀状"));
    }
}

// ---- the save question

TEST(PrintMainFormSessionTest, SaveQuestionYesSavesNoDiscardsCancelLeavesEverything) {
    enum TCommand { Close, New, Open, HandOver };
    const char* commandNames[] = {"close", "new", "open", "hand-over"};
    for (TCommand command : {Close, New, Open, HandOver}) {
        for (TYesNoCancel answer : {TYesNoCancel::Yes, TYesNoCancel::No, TYesNoCancel::Cancel}) {
            SCOPED_TRACE(std::string(commandNames[command]) + " answered " + std::to_string(int(answer)));
            TMainFormFixture f;
            const QString mine = UserCopy(f);
            TTestMainForm& form = f.Make();
            ASSERT_TRUE(form.FormCreate(mine));
            const QByteArray saved = ReadAll(mine);
            Nudge(*form.Document());
            TPriPaint* doc = form.Document();
            f.Dialogs.Choices = {answer};
            f.Dialogs.Template = {TTemplateChoice::tcChosen, f.Template("Hagaki/年賀状.tda"), 2030, 1};
            f.Dialogs.OpenAnswer = f.Template("Hagaki/年賀状.tda");
            bool went = false;
            switch (command) {
            case Close:
                form.show();
                went = form.close();
                break;
            case New:
                went = form.NewFile();
                break;
            case Open:
                went = form.OpenFile();
                break;
            case HandOver:
                form.OpenFromOtherInstance({f.Template("Hagaki/年賀状.tda")});
                went = form.Document()->TempLatePath != mine;
                break;
            }
            ASSERT_EQ(f.Dialogs.Questions.size(), 1);
            EXPECT_EQ(went, answer != TYesNoCancel::Cancel);
            EXPECT_EQ(ReadAll(mine) != saved, answer == TYesNoCancel::Yes) << "saved only on Yes";
            if (answer == TYesNoCancel::Cancel) {
                EXPECT_EQ(form.Document(), doc);
                EXPECT_EQ(doc->TempLatePath, mine);
                EXPECT_TRUE(doc->IsModified());
                EXPECT_TRUE(doc->CanUndo());
                EXPECT_EQ(form.isVisible(), command == Close);
                EXPECT_FALSE(QFileInfo::exists(f.Settings()));
            }
        }
    }
}

TEST(PrintMainFormSessionTest, TitleMarksUnsavedChanges) {
    TMainFormFixture f;
    const QString mine = UserCopy(f);
    TTestMainForm& form = f.Make();
    ASSERT_TRUE(form.FormCreate(mine));
    TPriPaint& doc = *form.Document();
    const QString clean = kTitle + QStringLiteral(" - mine"), marked = kTitle + QStringLiteral(" - *mine");
    EXPECT_EQ(form.windowTitle(), clean);
    Nudge(doc);
    EXPECT_EQ(form.windowTitle(), marked);
    form.UpdateEditButtons();
    form.Action(QStringLiteral("Action1_Undo"))->trigger();
    EXPECT_EQ(form.windowTitle(), clean) << "undone, the document is as saved";
    form.Action(QStringLiteral("Action1_Undo"))->trigger();
    EXPECT_EQ(form.windowTitle(), marked);
    ASSERT_TRUE(form.SaveFile());
    EXPECT_EQ(form.windowTitle(), clean);
    Nudge(doc);
    f.Dialogs.SaveNames = {QStringLiteral("other")};
    ASSERT_TRUE(form.SaveFileAs());
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - other"));
    // A failed load keeps the document and its mark.
    Nudge(doc);
    EXPECT_FALSE(form.OpenFileNamed(f.UserData(QStringLiteral("gone.tda"))));
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - *other"));
    f.Dialogs.Answers = {false};
    ASSERT_TRUE(form.OpenFileNamed(mine));
    EXPECT_EQ(form.windowTitle(), clean);
}

// ---- the window's place

TEST(PrintMainFormSessionTest, WindowBoundsFromTheSettingsFitTheScreenAndComeBackUnchanged) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect area = screen->availableGeometry();
    const struct {
        const char* Name;
        QRect Stored;
        QRect Expected;
    } cases[] = {
        {"inside the screen", QRect(area.topLeft() + QPoint(20, 30), QSize(500, 400)),
         QRect(area.topLeft() + QPoint(20, 30), QSize(500, 400))},
        {"30000 pixels wide", QRect(area.topLeft() + QPoint(20, 30), QSize(30000, 30000)), area},
        {"left of and above the screen", QRect(area.topLeft() - QPoint(5000, 3000), QSize(500, 400)),
         QRect(area.topLeft(), QSize(500, 400))},
        {"past the bottom right", QRect(area.bottomRight() + QPoint(9000, 9000), QSize(500, 400)),
         QRect(area.bottomRight() - QPoint(499, 399), QSize(500, 400))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMainFormFixture f;
        QDir().mkpath(f.App + QStringLiteral("settings"));
        {
            TIniFile ini(f.Settings());
            ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Left"), c.Stored.x());
            ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Top"), c.Stored.y());
            ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Width"), c.Stored.width());
            ini.WriteInteger(QStringLiteral("MainForm"), QStringLiteral("Height"), c.Stored.height());
            ASSERT_TRUE(ini.UpdateFile());
        }
        TTestMainForm& form = f.Make();
        ASSERT_TRUE(form.FormCreate(UserCopy(f)));
        EXPECT_EQ(form.geometry(), c.Expected);
        f.Dialogs.Answers = {false};
        ASSERT_TRUE(form.close());
        // What the next start applies is what this one showed: nothing creeps.
        const TIniFile ini(f.Settings());
        const auto key = [&](const char* name) {
            return ini.ReadInteger(QStringLiteral("MainForm"), QString::fromLatin1(name), -1);
        };
        EXPECT_EQ(QRect(key("Left"), key("Top"), key("Width"), key("Height")), c.Expected);
    }
}

TEST(PrintMainFormSessionTest, FitIntoAreaKeepsTheFrameOnTheScreen) {
    const QRect area(0, 0, 1600, 1000);
    const QMargins frame(4, 30, 4, 4);
    const struct {
        QRect Stored;
        QRect Expected;
    } cases[] = {
        {QRect(100, 100, 800, 600), QRect(100, 100, 800, 600)},
        {QRect(0, 0, 800, 600), QRect(4, 30, 800, 600)},         // the title bar comes down onto the screen
        {QRect(0, 0, 30000, 600), QRect(4, 30, 1592, 600)},      // no wider than the screen less the frame
        {QRect(1500, 900, 800, 600), QRect(796, 396, 800, 600)}, // pulled back whole
        {QRect(50, 50, 10, 10), QRect(50, 50, 200, 150)},        // never smaller than a usable window
    };
    for (const auto& c : cases)
        EXPECT_EQ(TPrintMainForm::FitIntoArea(c.Stored, area, frame), c.Expected)
            << c.Stored.x() << "," << c.Stored.y();
}

// ---- dates of templates opened as files

TEST(PrintMainFormSessionTest, ShippedTemplatesOpenFromJanuaryOfThisYearUserFilesAsSaved) {
    enum TWay { CommandLine, StartChoice, Open, HandOver };
    const char* wayNames[] = {"command line", "start choice", "open", "hand-over"};
    const int thisYear = QDate::currentDate().year();
    for (TWay way : {CommandLine, StartChoice, Open, HandOver}) {
        for (bool shipped : {true, false}) {
            SCOPED_TRACE(std::string(wayNames[way]) + (shipped ? ", shipped template" : ", user's file"));
            TMainFormFixture f;
            const QString file = shipped ? f.Template("A4/年間カレンダー.tda") : UserCopy(f);
            TPriPaint raw(nullptr, f.App);
            ASSERT_TRUE(raw.LoadFromFile(file, 0));
            const TPriCarendar* stored = FirstCalendar(raw);
            ASSERT_NE(stored, nullptr);
            TTestMainForm* form = nullptr;
            switch (way) {
            case CommandLine:
                form = &f.Make();
                ASSERT_TRUE(form->FormCreate(file));
                break;
            case StartChoice:
                f.Library.StartChoice = 2;
                f.Dialogs.OpenAnswer = file;
                form = &f.Make();
                ASSERT_TRUE(form->FormCreate());
                break;
            case Open:
                form = &f.StartedFromChooser("Hagaki/年賀状.tda", 2030, 4);
                f.Dialogs.OpenAnswer = file;
                f.Dialogs.Answers = {false};
                ASSERT_TRUE(form->OpenFile());
                break;
            case HandOver:
                form = &f.StartedFromChooser("Hagaki/年賀状.tda", 2030, 4);
                f.Dialogs.Answers = {false};
                form->OpenFromOtherInstance({file});
                break;
            }
            ASSERT_EQ(form->Document()->TempLatePath, file);
            const TPriCarendar* shown = FirstCalendar(*form->Document());
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(form->StartYear(), shipped ? thisYear : -1);
            EXPECT_EQ(form->StartMonth(), shipped ? 1 : -1);
            EXPECT_EQ(shown->Year(), shipped ? thisYear : stored->Year());
            EXPECT_EQ(shown->Month(), stored->Month());
            EXPECT_FALSE(form->Document()->IsModified());
        }
    }
}
