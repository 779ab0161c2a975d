// Templates opened as files: a shipped one from January of this year, the user's own as saved.
#include "app/mainwindow/MainFormFixture.h"
#include "calendar/PriCarendar.h"
#include "platform/IniFile.h"

#include <QDate>

namespace {

const TPriCarendar* FirstCalendar(const TPriPaint& doc) {
    for (const auto& obj : doc.Objects())
        if (auto* cal = dynamic_cast<const TPriCarendar*>(obj.get())) return cal;
    return nullptr;
}

} // namespace

TEST(PrintMainFormSessionTest, ShippedTemplatesOpenFromJanuaryOfThisYearUserFilesAsSaved) {
    const int thisYear = QDate::currentDate().year();
    for (const char* way : {"command line", "start choice", "open", "hand-over"}) {
        for (bool shipped : {true, false}) {
            SCOPED_TRACE(std::string(way) + (shipped ? ", shipped template" : ", user's file"));
            TMainFormFixture f;
            const QString file = shipped ? f.Template("A4/年間カレンダー.tda") : f.UserData(QStringLiteral("mine.tda"));
            QFile::copy(f.Template("A4/年間カレンダー.tda"), file);
            TPriPaint raw(nullptr, f.App);
            ASSERT_TRUE(raw.LoadFromFile(file, 0));
            ASSERT_NE(FirstCalendar(raw), nullptr);
            f.Dialogs.OpenAnswer = file;
            f.Dialogs.Answers = {false};
            TTestMainForm* form = nullptr;
            if (way == std::string("command line")) {
                ASSERT_TRUE((form = &f.Make())->FormCreate(file));
            } else if (way == std::string("start choice")) {
                f.Library.StartChoice = 2;
                ASSERT_TRUE((form = &f.Make())->FormCreate());
            } else {
                form = &f.StartedFromChooser("Hagaki/年賀状.tda", 2030, 4);
                if (way == std::string("open"))
                    EXPECT_TRUE(form->OpenFile());
                else
                    form->OpenFromOtherInstance({file});
            }
            ASSERT_EQ(form->Document()->TempLatePath, file);
            const TPriCarendar* shown = FirstCalendar(*form->Document());
            EXPECT_EQ(form->StartYear(), shipped ? thisYear : -1);
            EXPECT_EQ(form->StartMonth(), shipped ? 1 : -1);
            EXPECT_EQ(shown->Year(), shipped ? thisYear : FirstCalendar(raw)->Year());
            EXPECT_EQ(shown->Month(), FirstCalendar(raw)->Month());
        }
    }
}

// Calendars used to show no holiday without a word when holiday.dat was missing, and a settings
// file too large to read was passed over in silence: both are said, the holidays once a session.
TEST(PrintMainFormSessionTest, AMissingHolidayFileAndAnOversizedSettingsFileAreSaid) {
    TMainFormFixture f;
    QFile::remove(f.App + QStringLiteral("HolidayList/holiday.dat"));
    {
        QFile settings(f.Settings());
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        ASSERT_TRUE(settings.resize(TIniFile::kMaxFileBytes + 1));
    }
    TTestMainForm& form = f.Started();
    const auto said = [&](const char* what) { return int(f.Dialogs.Messages.filter(QString::fromUtf8(what)).size()); };
    EXPECT_EQ(said("holiday.dat"), 1);
    EXPECT_EQ(said("settings.ini"), 1);
    ASSERT_TRUE(form.OpenDocument(f.Template("Meishi/名刺カレンダー.tda"), false, nullptr));
    EXPECT_EQ(said("holiday.dat"), 1);
}
