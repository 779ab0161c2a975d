#include "app/mainwindow/MainFormFixture.h"
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PriRuler.h"
#include "app/mainwindow/PriScrollbox.h"
#include "document/OutMessage.h"
#include "objects/PriLabel.h"
#include "platform/IniFile.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

const QString kTitle = QStringLiteral("こもれびごよみ印刷");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// ---- start-up

TEST(PrintMainFormTest, StartUpChoicesThatEndTheProgram) {
    struct TCase {
        const char* Name;
        int Choice;
        TTemplateChoice::TResult Chooser;
        bool RemovePictures;
        bool BrokenTemplate;
        QString Expected; // the one message shown, or empty
    } cases[] = {
        {"start choice cancelled", 0, TTemplateChoice::tcChosen, false, false, QString()},
        {"chooser cancelled", 1, TTemplateChoice::tcCancelled, false, false, QString()},
        {"chooser cannot prepare", 1, TTemplateChoice::tcPrepareFailed, false, false,
         QStringLiteral("起動ファイル読み込みエラー")},
        {"template refused by the loader", 1, TTemplateChoice::tcChosen, false, true,
         QStringLiteral("起動ファイル読み込みエラー")},
        {"saved data dialog cancelled", 2, TTemplateChoice::tcChosen, false, false, QString()},
        {"start pictures missing", 1, TTemplateChoice::tcChosen, true, false, QStringLiteral("#14")},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMainFormFixture f;
        if (c.RemovePictures) QFile::remove(f.App + QStringLiteral("settings/stImage.ims"));
        QString file = f.Template("A4/年間カレンダー.tda");
        if (c.BrokenTemplate) {
            file = f.UserData(QStringLiteral("broken.tda"));
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write("not a template at all");
        }
        f.Library.StartChoice = c.Choice;
        f.Dialogs.Template = {c.Chooser, file, 2027, 1};
        TTestMainForm& form = f.Make();
        EXPECT_FALSE(form.FormCreate());
        EXPECT_EQ(form.Document(), nullptr);
        if (c.Expected.isEmpty()) {
            EXPECT_TRUE(f.Dialogs.Messages.isEmpty()) << f.Dialogs.Messages.join('|').toStdString();
        } else {
            ASSERT_FALSE(f.Dialogs.Messages.isEmpty());
            const QString expected = c.Expected == QLatin1String("#14") ? f.Message(14) : c.Expected;
            EXPECT_TRUE(f.Dialogs.Messages.first().startsWith(expected)) << f.Dialogs.Messages.first().toStdString();
        }
        // Nothing was opened, so nothing was written.
        EXPECT_FALSE(QFileInfo::exists(f.Settings()));
    }
}

TEST(PrintMainFormTest, StartUpOpensTheChosenDocument) {
    {
        SCOPED_TRACE("template from the chooser");
        TMainFormFixture f;
        TTestMainForm& form = f.StartedFromChooser("A4/年間カレンダー.tda", 2028, 4);
        ASSERT_NE(form.Document(), nullptr);
        EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 年間カレンダー"));
        EXPECT_FALSE(form.UserDataCheck());
        EXPECT_EQ(form.StartYear(), 2028);
        EXPECT_EQ(form.StartMonth(), 4);
        EXPECT_EQ(form.Document()->OutMess, &form.Messages());
        EXPECT_NE(form.Document()->FieldUnit, nullptr);
        EXPECT_NE(form.Document()->RecordUnit, nullptr);
        EXPECT_EQ(f.Library.StartCalls, 1);
    }
    {
        SCOPED_TRACE("a file given on the command line skips the start choice");
        TMainFormFixture f;
        const QString mine = f.UserData(QStringLiteral("mine.tda"));
        ASSERT_TRUE(QFile::copy(f.Template("A4/年間カレンダー.tda"), mine));
        TTestMainForm& form = f.Make();
        ASSERT_TRUE(form.FormCreate(mine));
        EXPECT_EQ(f.Library.StartCalls, 0);
        EXPECT_TRUE(form.UserDataCheck());
        EXPECT_EQ(form.StartYear(), -1);
        EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - mine"));
        EXPECT_EQ(form.Document()->TempLatePath, mine);
        // The font list waits until the window is on screen.
        EXPECT_EQ(form.FontNameBox()->count(), 0);
        form.FinishStartup();
        EXPECT_EQ(form.FontNameBox()->count(), 2);
    }
    {
        SCOPED_TRACE("saved data from the start choice");
        TMainFormFixture f;
        f.Library.StartChoice = 2;
        f.Dialogs.OpenAnswer = f.Template("Meishi/名刺カレンダー.tda");
        TTestMainForm& form = f.Make();
        ASSERT_TRUE(form.FormCreate());
        // A shipped template is never the user's data, whichever way it was opened.
        EXPECT_FALSE(form.UserDataCheck());
        EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 名刺カレンダー"));
    }
}

TEST(PrintMainFormTest, RulersFollowTheSettingsFile) {
    {
        SCOPED_TRACE("no settings file: rulers hidden, page at (10, 10)");
        TMainFormFixture f;
        TTestMainForm& form = f.Started();
        EXPECT_FALSE(form.RulerCheck());
        EXPECT_FALSE(form.PageView()->HorzRuler()->isVisibleTo(&form));
        EXPECT_EQ(form.PageView()->PageOrigin(), QPoint(10, 10));
    }
    {
        SCOPED_TRACE("a settings file without RulerCheck shows them");
        TMainFormFixture f;
        QDir().mkpath(f.App + QStringLiteral("settings"));
        QFile ini(f.Settings());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Screen]\r\nGridCheck=1\r\nGridColor=255\r\n");
        ini.close();
        TTestMainForm& form = f.Started();
        EXPECT_TRUE(form.RulerCheck());
        EXPECT_TRUE(form.PageView()->HorzRuler()->isVisibleTo(&form));
        EXPECT_EQ(form.PageView()->PageOrigin(), QPoint(35, 35));
        EXPECT_TRUE(form.Document()->BltGridCheck());
        EXPECT_EQ(form.Document()->GridColor, 255);
        // Hiding them is kept for the next start.
        form.Actions().MenuItem_rooler->trigger();
        EXPECT_EQ(form.PageView()->PageOrigin(), QPoint(10, 10));
        f.Dialogs.Answers = {false};
        EXPECT_TRUE(form.close());
        EXPECT_FALSE(TIniFile(f.Settings()).ReadBool(QStringLiteral("Screen"), QStringLiteral("RulerCheck"), true));
    }
}

// ---- file commands

TEST(PrintMainFormTest, SaveAfterATemplateAsksForANameAndWritesIntoUserData) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    // Rejected names keep the dialog open; the next typed name is taken.
    f.Dialogs.SaveNames = {QString(),
                           QStringLiteral("../escape"),
                           QStringLiteral("a/b"),
                           QStringLiteral("tab\there"),
                           QStringLiteral(".."),
                           QStringLiteral("予定表2027")};
    ASSERT_TRUE(form.SaveFile());
    EXPECT_EQ(f.Dialogs.SaveDialogs, 1);
    EXPECT_EQ(f.Dialogs.Messages.size(), 6); // five refusals, then message 6
    EXPECT_EQ(f.Dialogs.Messages.first(), QStringLiteral("ファイル名を入力して下さい"));
    EXPECT_EQ(f.Dialogs.Messages.last(), f.Message(6));
    const QString saved = f.UserData(QStringLiteral("予定表2027.tda"));
    EXPECT_TRUE(QFileInfo(saved).isFile());
    EXPECT_FALSE(QFileInfo::exists(f.App + QStringLiteral("escape.tda")));
    EXPECT_EQ(QDir(f.App + QStringLiteral("UserData")).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(form.UserDataCheck());
    EXPECT_EQ(form.Document()->TempLatePath, saved);
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 予定表2027"));

    // Now Save writes over it without a question.
    f.Dialogs.Messages.clear();
    ASSERT_TRUE(form.SaveFile());
    EXPECT_EQ(f.Dialogs.SaveDialogs, 1);
    EXPECT_EQ(f.Dialogs.Messages, QStringList{f.Message(6)});
    // And it is the first of the recent files.
    ASSERT_FALSE(form.RecentFiles().Items().isEmpty());
    EXPECT_EQ(form.RecentFiles().Items().first(), QFileInfo(saved).canonicalFilePath());
}

TEST(PrintMainFormTest, SaveAsOverAnExistingNameAskedNoWritesNothing) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    const QString existing = f.UserData(QStringLiteral("old.tda"));
    {
        QFile out(existing);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("keep me");
    }
    const QString title = form.windowTitle();
    f.Dialogs.SaveNames = {QStringLiteral("old")};
    f.Dialogs.Answers = {false};
    EXPECT_FALSE(form.SaveFileAs());
    EXPECT_EQ(f.Dialogs.Questions.size(), 1);
    EXPECT_EQ(ReadAll(existing), QByteArray("keep me"));
    EXPECT_EQ(form.windowTitle(), title);
    EXPECT_FALSE(form.UserDataCheck());

    // Yes writes over it.
    f.Dialogs.SaveNames = {QStringLiteral("old")};
    f.Dialogs.Answers = {true};
    EXPECT_TRUE(form.SaveFileAs());
    EXPECT_NE(ReadAll(existing), QByteArray("keep me"));
}

TEST(PrintMainFormTest, SaveAsMakesAMissingUserDataFolderAndSaves) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    ASSERT_TRUE(QDir(f.App + QStringLiteral("UserData")).removeRecursively());
    f.Dialogs.SaveNames = {QStringLiteral("new")};
    EXPECT_TRUE(form.SaveFileAs());
    EXPECT_TRUE(QFileInfo(f.UserData(QStringLiteral("new.tda"))).isFile());
}

TEST(PrintMainFormTest, OpenAsksFirstAndKeepsTemplatesFromBeingOverwritten) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    const QString meishi = f.Template("Meishi/名刺カレンダー.tda");
    const QByteArray before = ReadAll(meishi);
    f.Dialogs.OpenAnswer = meishi;
    ASSERT_TRUE(form.OpenFile());
    EXPECT_EQ(f.Dialogs.Questions, QStringList{f.Message(10)});
    EXPECT_FALSE(form.UserDataCheck());
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 名刺カレンダー"));
    // The start month is not applied to a file opened this way.
    EXPECT_EQ(form.Document()->TempLatePath, meishi);

    // Save asks for a name instead of writing over the shipped template.
    f.Dialogs.SaveNames = {QStringLiteral("名刺")};
    ASSERT_TRUE(form.SaveFile());
    EXPECT_EQ(f.Dialogs.SaveDialogs, 1);
    EXPECT_EQ(ReadAll(meishi), before);
    EXPECT_TRUE(QFileInfo(f.UserData(QStringLiteral("名刺.tda"))).isFile());

    // A file that is not there is named in the message, and the document stays.
    TPriPaint* doc = form.Document();
    f.Dialogs.Messages.clear();
    EXPECT_FALSE(form.OpenFileNamed(f.UserData(QStringLiteral("gone.tda"))));
    ASSERT_EQ(f.Dialogs.Messages.size(), 1);
    EXPECT_TRUE(f.Dialogs.Messages.first().contains(QStringLiteral("gone.tda")));
    EXPECT_EQ(form.Document(), doc);

    // A damaged file too, with the reason.
    const QString damaged = f.UserData(QStringLiteral("damaged.tda"));
    {
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(64, '\x07'));
    }
    f.Dialogs.Messages.clear();
    EXPECT_FALSE(form.OpenFileNamed(damaged));
    ASSERT_EQ(f.Dialogs.Messages.size(), 1);
    EXPECT_TRUE(f.Dialogs.Messages.first().contains(QStringLiteral("damaged.tda")));
    EXPECT_EQ(form.Document()->TempLatePath, f.UserData(QStringLiteral("名刺.tda")));
}

TEST(PrintMainFormTest, NewAsksFirstKeepsTheOldDocumentOnFailureAndCarriesTheDisplaySettings) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    TPriPaint* first = form.Document();
    first->GridColor = RGBColor(1, 2, 3);
    first->SetBltGridCheck(true);
    first->DefaultFont.setPointSize(14);

    // A template the loader refuses: the document on screen stays.
    const QString broken = f.UserData(QStringLiteral("broken.tda"));
    {
        QFile out(broken);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("xx");
    }
    f.Dialogs.Template = {TTemplateChoice::tcChosen, broken, 2030, 1};
    EXPECT_FALSE(form.NewFile());
    EXPECT_EQ(f.Dialogs.Questions, QStringList{f.Message(10)});
    EXPECT_EQ(form.Document(), first);
    EXPECT_EQ(form.StartYear(), 2027);
    ASSERT_FALSE(f.Dialogs.Messages.isEmpty());
    EXPECT_TRUE(f.Dialogs.Messages.last().startsWith(QStringLiteral("起動ファイル読み込みエラー")));

    // A good one replaces it and takes the user's display settings along.
    f.Dialogs.Template = {TTemplateChoice::tcChosen, f.Template("Hagaki/年賀状.tda"), 2030, 1};
    ASSERT_TRUE(form.NewFile());
    ASSERT_NE(form.Document(), first);
    EXPECT_EQ(form.Document()->GridColor, RGBColor(1, 2, 3));
    EXPECT_TRUE(form.Document()->BltGridCheck());
    EXPECT_EQ(form.Document()->DefaultFont.pointSize(), 14);
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 年賀状"));
    EXPECT_EQ(form.StartYear(), 2030);
    EXPECT_FALSE(form.UserDataCheck());

    // They are what the settings file gets at the end.
    f.Dialogs.Answers = {false};
    EXPECT_TRUE(form.close());
    const TIniFile ini(f.Settings());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Screen"), QStringLiteral("GridColor"), 0), RGBColor(1, 2, 3));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Screen"), QStringLiteral("FontSize"), 0), 14);
}

TEST(PrintMainFormTest, ReloadAsksAndReadsTheFileAgain) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    f.Dialogs.SaveNames = {QStringLiteral("r")};
    ASSERT_TRUE(form.SaveFileAs());
    const size_t count = form.Document()->Objects().size();
    form.Document()->Objects().pop_back();
    f.Dialogs.Questions.clear();
    f.Dialogs.Answers = {false};
    EXPECT_FALSE(form.ReloadFile());
    EXPECT_EQ(form.Document()->Objects().size(), count - 1);
    f.Dialogs.Answers = {true};
    EXPECT_TRUE(form.ReloadFile());
    EXPECT_EQ(f.Dialogs.Questions, (QStringList{f.Message(9), f.Message(9)}));
    EXPECT_EQ(form.Document()->Objects().size(), count);
}

// ---- the close guard

TEST(PrintMainFormTest, CloseGuardKeepsTheWindowWhenAWantedSaveDidNotHappen) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    // Yes, then the name dialog cancelled: the window stays with its work.
    f.Dialogs.Answers = {true};
    EXPECT_FALSE(form.close());
    EXPECT_EQ(f.Dialogs.Questions, QStringList{QStringLiteral("現在の使用中のファイルを保存しますか？")});
    EXPECT_EQ(f.Dialogs.SaveDialogs, 1);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(QFileInfo::exists(f.Settings()));
    // The same guard stops Open and New.
    f.Dialogs.Answers = {true};
    EXPECT_FALSE(form.OpenFile());
    EXPECT_EQ(f.Dialogs.OpenCalls, 0);
    f.Dialogs.Answers = {true};
    EXPECT_FALSE(form.NewFile());
    EXPECT_EQ(f.Dialogs.TemplateCalls, 1); // only the one at start-up

    // Yes with a name saves and closes; the settings are written.
    f.Dialogs.Answers = {true};
    f.Dialogs.SaveNames = {QStringLiteral("last")};
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(QFileInfo(f.UserData(QStringLiteral("last.tda"))).isFile());
    EXPECT_TRUE(QFileInfo(f.Settings()).isFile());
}

// ---- view

TEST(PrintMainFormTest, ZoomItemsAndTheWheel) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    QAction* same = form.Actions().MenuItem_BltSame;
    QAction* twice = form.Actions().MenuItem_200;
    EXPECT_EQ(same->data().toInt(), 0);
    EXPECT_EQ(twice->data().toInt(), 2);
    EXPECT_EQ(form.Actions().MenuItem_300->data().toInt(), 3);
    EXPECT_EQ(form.Actions().MenuItem_BltStretch->data().toInt(), 1);

    twice->trigger();
    EXPECT_EQ(form.Document()->BltSizeCheck, bs200);
    EXPECT_EQ(form.Document()->width(), 2 * form.Document()->PaperPixels().width());
    EXPECT_TRUE(twice->isChecked());
    QScrollBar* v = form.PageView()->ScrollBox()->verticalScrollBar();
    ASSERT_GT(v->maximum(), 100);

    // One wheel notch moves the view by 10 pixels, whatever the zoom.
    QWidget* view = form.PageView()->ScrollBox()->viewport();
    const QPoint at(view->width() / 2, view->height() / 2);
    QWheelEvent down(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &down);
    EXPECT_EQ(v->value(), 10);
    // The horizontal ruler stays at the top of the view and the visible part follows.
    EXPECT_EQ(form.Document()->VisibleRect().Top, form.PageView()->VisibleRect().top());

    // The item already ticked changes nothing: no new layout, the view stays where it is.
    const QRect geometry = form.Document()->geometry();
    twice->trigger();
    EXPECT_EQ(v->value(), 10);
    EXPECT_EQ(form.Document()->geometry(), geometry);

    // Ctrl+wheel steps through the zoom items and keeps the page point under the pointer there.
    const auto pagePointAt = [&](QPoint p) {
        const QPointF onPage = form.Document()->mapFrom(view, p);
        return QPointF(onPage.x() / form.Document()->width(), onPage.y() / form.Document()->height());
    };
    for (const auto& [pointer, notches, zoom] :
         {std::tuple{at + QPoint(90, 60), 120, bs300}, {QPoint(60, 80), -120, bs200}}) {
        const QPointF before = pagePointAt(pointer);
        QWheelEvent wheel(pointer, view->mapToGlobal(pointer), QPoint(), QPoint(0, notches), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        EXPECT_EQ(form.Document()->BltSizeCheck, zoom);
        const QPointF after = pagePointAt(pointer);
        EXPECT_NEAR(after.x() * form.Document()->width(), before.x() * form.Document()->width(), 1.5) << zoom;
        EXPECT_NEAR(after.y() * form.Document()->height(), before.y() * form.Document()->height(), 1.5) << zoom;
    }
    QWheelEvent zoomOut(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &zoomOut);
    EXPECT_EQ(form.Document()->BltSizeCheck, bsNormal);
    EXPECT_TRUE(same->isChecked());
    EXPECT_EQ(form.Document()->VisibleRect().Top, form.PageView()->VisibleRect().top());
}

TEST(PrintMainFormTest, MenuEnablingFollowsTheDocument) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.RefreshMenus();
    const TMainActions& a = form.Actions();
    const auto enabled = [](QAction* action) { return action->isEnabled(); };
    const auto visible = [](QAction* action) { return action->isVisible(); };
    // Work that comes later is hidden or disabled, never a silent no-op.
    EXPECT_TRUE(enabled(a.Action_Twain));
    EXPECT_FALSE(visible(a.Action_AddPortal));
    // Printing and its settings work on the open document.
    for (QAction* action : {a.Action_Preview, a.MenuItem_PrintSetting, a.Action_Print, a.MenuItem_PrintRecordSet,
                            a.MenuItem_PaperSetting})
        EXPECT_TRUE(enabled(action) && visible(action)) << qPrintable(action->objectName());
    EXPECT_TRUE(visible(a.MenuItem_ReLoad));
    // Nothing is selected: the selection commands wait.
    for (QAction* action : {a.Action1_Undo, a.Action_Cut, a.Action_Copy, a.Action_Delete, a.Action_PrevForcus})
        EXPECT_FALSE(enabled(action)) << qPrintable(action->objectName());
    EXPECT_EQ(form.Actions().Action1_Undo->text(), QStringLiteral("元に戻す"));
    EXPECT_TRUE(enabled(a.Action_AllSelect)); // the template has objects to select
    EXPECT_TRUE(enabled(a.MenuItem_ReLoad));  // the template file exists
    EXPECT_TRUE(enabled(a.MenuItem_Margin));
    EXPECT_TRUE(form.Actions().MenuItem_BltSame->isChecked());
    EXPECT_FALSE(form.Actions().MenuItem_200->isChecked());
    for (QComboBox* box : {form.FontNameBox(), form.FontSizeBox(), form.FontStyleBox()}) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->currentIndex(), -1);
    }

    // A card sheet has no margin lines to show.
    f.Dialogs.OpenAnswer = f.Template("Meishi/名刺カレンダー.tda");
    ASSERT_TRUE(form.OpenFile());
    form.RefreshMenus();
    EXPECT_EQ(enabled(a.MenuItem_Margin), form.Document()->IsSingleSeat());

    // Grid item ticks follow the surface.
    form.Actions().MenuItem_Glid->trigger();
    form.RefreshMenus();
    EXPECT_TRUE(form.Document()->BltGridCheck());
    EXPECT_TRUE(form.Actions().MenuItem_Glid->isChecked());

    // The side bar item hides the side bar and the page takes the room.
    const int before = form.PageView()->PageArea().width();
    form.show();
    form.Actions().menuItem_ToolBar->trigger();
    EXPECT_FALSE(form.SideBarCheck());
    EXPECT_GT(form.PageView()->PageArea().width(), before);

    // The recent files list the opened file.
    ASSERT_NE(form.RecentMenu(), nullptr);
    form.RefreshMenus();
    ASSERT_EQ(form.RecentMenu()->actions().size(), 1);
    EXPECT_TRUE(form.RecentMenu()->actions().first()->text().contains(QStringLiteral("名刺カレンダー")));
}

// ---- keys

TEST(PrintMainFormTest, KeysGoToTheEditorOnceAndFontBoxesKeepTheirs) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // Keys typed into a font box stay there.
    form.FontSizeBox()->setEnabled(true);
    form.FontSizeBox()->setFocus();
    QTest::keyClick(form.FontSizeBox(), Qt::Key_Down);
    QTest::keyClick(form.FontSizeBox(), Qt::Key_Tab);
    EXPECT_TRUE(form.Offered.isEmpty());

    // On the page every key is offered exactly once.
    form.PageView()->ScrollBox()->setFocus();
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Left);
    EXPECT_EQ(form.Offered, QList<int>{Qt::Key_Left});

    // A key the editor takes does not also run the command of the same key.
    form.Offered.clear();
    form.Claim = [](int key, bool ctrl) { return ctrl && key == Qt::Key_N; };
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form.Offered, QList<int>{Qt::Key_N});
    EXPECT_EQ(f.Dialogs.TemplateCalls, 1);

    // Ctrl+S saves, once, without being offered.
    form.Offered.clear();
    f.Dialogs.SaveNames = {QStringLiteral("keys")};
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(form.Offered.isEmpty());
    EXPECT_EQ(f.Dialogs.SaveDialogs, 1);
    EXPECT_TRUE(QFileInfo(f.UserData(QStringLiteral("keys.tda"))).isFile());

    // Tab and Delete stay the editor's with nothing selected; Shift+Tab moves the focus back.
    form.Offered.clear();
    form.Claim = nullptr;
    form.PageView()->ScrollBox()->setFocus();
    ASSERT_FALSE(form.Document()->HasSelection());
    ASSERT_TRUE(form.Document()->HasVisibleObjects());
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Delete);
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Tab);
    EXPECT_EQ(form.Offered, (QList<int>{Qt::Key_Delete, Qt::Key_Tab}));
    EXPECT_EQ(QApplication::focusWidget(), form.PageView()->ScrollBox());
    EXPECT_TRUE(form.Document()->HasSelection());
    EXPECT_FALSE(form.Document()->CanUndo());
    QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_NE(QApplication::focusWidget(), form.PageView()->ScrollBox());
    f.Dialogs.Answers = {false};
    form.close();
}

// ---- font boxes

// Each text of a template, reached with Tab, shows its own face and size, items the lists lack
// included; a typed size or a choice from a list goes to the text, and the keys go back to the page.
TEST(PrintMainFormTest, FontBoxesShowEachTextsOwnFontAndGiveTheKeysBack) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.FinishStartup();
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TPriPaint& doc = *form.Document();
    std::vector<TPriLabel*> texts;
    for (const auto& obj : doc.Objects())
        if (obj->ObjectNum == okLabel || obj->ObjectNum == okField) texts.push_back(static_cast<TPriLabel*>(obj.get()));
    ASSERT_GE(texts.size(), 2u);
    texts.back()->SameFSize = 13;                              // a size the list lacks
    texts.back()->Font.setFamily(QStringLiteral("ＭＳ 明朝")); // a face the pack did not list

    form.PageView()->ScrollBox()->setFocus();
    int shown = 0;
    for (size_t i = 0; i < doc.Objects().size(); ++i) {
        QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Tab);
        ASSERT_TRUE(doc.HasSelection());
        const auto* text = dynamic_cast<const TPriLabel*>(doc.SelectList().first());
        EXPECT_EQ(form.FontNameBox()->isEnabled(), text != nullptr);
        if (!text) continue;
        ++shown;
        EXPECT_EQ(form.FontNameBox()->currentText(), text->Font.family().remove(QLatin1Char('@')));
        EXPECT_EQ(form.FontSizeBox()->currentText(), QString::number(text->SameFSize));
    }
    EXPECT_EQ(shown, int(texts.size()));

    // A typed size, confirmed with Enter.
    TPriLabel* text = texts.front();
    while (doc.SelectList().first() != text)
        QTest::keyClick(form.PageView()->ScrollBox(), Qt::Key_Tab);
    form.FontSizeBox()->setFocus();
    ASSERT_TRUE(form.FontSizeBox()->isEditable());
    form.FontSizeBox()->lineEdit()->selectAll();
    QTest::keyClicks(form.FontSizeBox(), QStringLiteral("17"));
    QTest::keyClick(form.FontSizeBox(), Qt::Key_Return);
    EXPECT_EQ(text->SameFSize, 17);
    EXPECT_EQ(QApplication::focusWidget(), form.Document());
    EXPECT_EQ(form.FontSizeBox()->currentText(), QStringLiteral("17"));

    // A choice from a list's popup.
    form.FontStyleBox()->setFocus();
    form.FontStyleBox()->showPopup();
    QTest::keyClick(form.FontStyleBox()->view(), Qt::Key_Down);
    QTest::keyClick(form.FontStyleBox()->view(), Qt::Key_Return);
    EXPECT_TRUE(text->Font.bold() || text->Font.italic());
    EXPECT_EQ(QApplication::focusWidget(), form.Document());
    // Stepping with the arrows keeps the keys in the box.
    form.FontSizeBox()->setFocus();
    QTest::keyClick(form.FontSizeBox(), Qt::Key_Down);
    EXPECT_NE(text->SameFSize, 17);
    EXPECT_NE(QApplication::focusWidget(), form.Document());
    f.Dialogs.Answers = {false};
    form.close();
}

TEST(PrintMainFormTest, SelectAllFromTheMenuDrawsTheSelection) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    const QImage before = form.Document()->PageBitmap().copy();
    form.Actions().Action_AllSelect->trigger();
    EXPECT_TRUE(form.Document()->HasSelection());
    EXPECT_NE(form.Document()->PageBitmap(), before);
}

TEST(PrintMainFormTest, AFileHandedOverBySecondStartGoesThroughOpen) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    const QString hagaki = f.Template("Hagaki/年賀状.tda");
    // The user keeps the current document: the question comes first, then the file opens.
    f.Dialogs.Answers = {false};
    form.OpenFromOtherInstance({hagaki});
    EXPECT_EQ(f.Dialogs.Questions, QStringList{f.Message(10)});
    EXPECT_EQ(form.Document()->TempLatePath, hagaki);
    EXPECT_EQ(form.windowTitle(), kTitle + QStringLiteral(" - 年賀状"));
    // Nothing handed over: the window only comes to the front.
    f.Dialogs.Questions.clear();
    form.OpenFromOtherInstance({});
    EXPECT_TRUE(f.Dialogs.Questions.isEmpty());
}

TEST(PrintMainFormTest, EditCommandsReachTheSurface) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    TPriPaint& doc = *form.Document();
    // Deleted objects stay in the list, hidden, until the undo step is committed.
    const auto shown = [&] {
        int n = 0;
        for (const auto& obj : doc.Objects())
            n += obj->UndoCheck ? 0 : 1;
        return n;
    };
    const int before = shown();
    ASSERT_GT(before, 0);
    const TMainActions& a = form.Actions();
    const auto enabled = [&](QAction* action) {
        form.RefreshMenus();
        return action->isEnabled();
    };
    const auto run = [](QAction* action) { action->trigger(); };

    ASSERT_TRUE(enabled(a.Action_AllSelect));
    run(a.Action_AllSelect);
    EXPECT_TRUE(doc.HasSelection());
    for (QAction* action : {a.Action_Delete, a.Action_Copy, a.Action_Cut, a.Action_NextForcus})
        EXPECT_TRUE(enabled(action)) << qPrintable(action->objectName());

    ASSERT_TRUE(enabled(a.Action_Delete));
    run(a.Action_Delete);
    EXPECT_LT(shown(), before);
    EXPECT_FALSE(doc.HasSelection());
    ASSERT_TRUE(enabled(a.Action1_Undo));

    run(a.Action1_Undo);
    EXPECT_EQ(shown(), before);

    // A tool button arms the surface's creation mode and drops the selection.
    run(a.Action_AllSelect);
    run(a.Action_AddText);
    EXPECT_EQ(doc.ObjectMode(), omLabel);
    EXPECT_FALSE(doc.HasSelection());
}

// Edits that do not come through a window command (mouse, keys, dialogs of the packs) still
// reach the enabled states: the window follows the document's signals, with no refresh asked.
TEST(PrintMainFormTest, EnabledStatesFollowTheDocumentWithoutARefresh) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    TPriPaint& doc = *form.Document();
    QAction* TMainActions::*const members[] = {&TMainActions::Action_Delete,  &TMainActions::Action_Copy,
                                               &TMainActions::Action_Cut,     &TMainActions::Action_NextForcus,
                                               &TMainActions::Action1_Undo,   &TMainActions::Action_AllSelect,
                                               &TMainActions::MenuItem_Margin};
    const auto states = [&] {
        QString s;
        for (QAction* TMainActions::*member : members)
            s += (form.Actions().*member)->isEnabled() ? '1' : '0';
        return s + form.Actions().Action1_Undo->text();
    };
    // Expected: Delete, Copy, Cut, NextForcus, Undo, AllSelect, Margin, and Undo's caption.
    struct TStep {
        const char* What;
        std::function<void()> Edit;
        const char* Expected;
    } steps[] = {
        {"select all", [&] { doc.SelectAll(); }, "1111011元に戻す"},
        {"deselect", [&] { doc.DeselectAll(); }, "0000011元に戻す"},
        {"delete", [&] { doc.SelectAll(), doc.DeleteSelection(); }, "0000101元に戻す"},
        {"undo", [&] { doc.Undo(); }, nullptr},
        {"a card sheet",
         [&] {
             doc.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 2, 5, 900, 500});
             doc.Document().NotifyChanged();
         },
         nullptr},
        {"cleared", [&] { doc.ClearDocument(); }, "0000000元に戻す"},
    };
    for (const TStep& step : steps) {
        step.Edit();
        const QString followed = states();
        if (step.Expected) EXPECT_EQ(followed, QString::fromUtf8(step.Expected)) << step.What;
        // Whatever the step changed, a full refresh finds nothing left to change.
        form.RefreshMenus();
        EXPECT_EQ(states(), followed) << step.What;
    }
}

TEST(PrintMainFormTest, SurfaceRequestsScrollAndAskForPictures) {
    TMainFormFixture f;
    TTestMainForm& form = f.StartedFromChooser();
    form.show();
    form.Actions().MenuItem_300->trigger();
    ASSERT_EQ(form.Document()->BltSizeCheck, bs300);

    // A drag past the bottom right corner of the view brings that point into sight.
    const QRect before = form.PageView()->VisibleRect();
    const QPoint far = before.bottomRight() + QPoint(40, 60);
    form.AutoScroll(far);
    EXPECT_TRUE(form.PageView()->VisibleRect().contains(far));
    // A point already in sight scrolls nothing.
    const QRect after = form.PageView()->VisibleRect();
    form.AutoScroll(after.center());
    EXPECT_EQ(form.PageView()->VisibleRect(), after);

    // Picture files are asked for through the window's dialogs.
    f.Dialogs.OpenAnswer = QStringLiteral("/tmp/picture.png");
    const int calls = f.Dialogs.OpenCalls;
    EXPECT_EQ(form.AskPictureFile(QString()), f.Dialogs.OpenAnswer);
    EXPECT_EQ(f.Dialogs.OpenCalls, calls + 1);
}
