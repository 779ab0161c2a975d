// The text pack as the program reaches it: libtextpack.so from the application folder, loaded by
// file name for each call, its dialogs driven through the keyboard, the mouse and input-method text.
#include "calendar/PriCarendar.h"
#include "objects/PriLabel.h"
#include "platform/PackLibrary.h"
#include "platform/StreamWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <climits>
#include <memory>
#include <tuple>
#include <functional>
#include <gtest/gtest.h>

namespace {

TPackLibrary Packs() {
    return TPackLibrary(QStringLiteral(KOMOREBI_APP_DIR "/"));
}

// Runs a step on the modal dialog a call is about to show, from the dialog's own event loop.
// Steps can open a further modal dialog (a colour chooser) and drive it with another step.
void OnModal(std::function<void(QDialog*)> step) {
    auto* poll = new QTimer;
    auto tries = std::make_shared<int>(0);
    const QWidget* before = QApplication::activeModalWidget();
    QObject::connect(poll, &QTimer::timeout, [poll, tries, before, step] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if ((!dialog || dialog == before) && ++*tries < 500) return;
        poll->stop();
        poll->deleteLater();
        if (!dialog || dialog == before) {
            ADD_FAILURE() << "no dialog appeared";
            return;
        }
        QApplication::setActiveWindow(dialog);
        step(dialog);
        // A step that failed half way must not leave the call waiting for ever.
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        }
    });
    poll->start(5);
}

template <typename T> T* Child(QDialog* dialog, const char* name) {
    T* w = dialog->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Commits text the way an input method does when the user confirms a conversion.
void Commit(QWidget* field, const QString& text) {
    field->setFocus();
    QInputMethodEvent preedit(QStringLiteral("へんかんちゅう"), {});
    QApplication::sendEvent(field, &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(field, &commit);
}

// The line edit inside a spin box or an editable combo box.
QLineEdit* EditOf(QWidget* w) {
    return w->findChild<QLineEdit*>();
}

void Retype(QWidget* w, const QString& text) {
    QLineEdit* edit = EditOf(w);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    Commit(edit, text);
}

void PressOk(QDialog* d) {
    QTest::keyClick(d, Qt::Key_Return);
}

// Chooses a colour in the chooser a colour button opens.
void ChooseColor(QAbstractButton* button, QColor color) {
    OnModal([color](QDialog* chooser) {
        auto* c = qobject_cast<QColorDialog*>(chooser);
        ASSERT_NE(c, nullptr);
        c->setCurrentColor(color);
        c->accept();
    });
    QTest::keyClick(button, Qt::Key_Space);
}

QByteArray Record(TPriBase& object) {
    TStreamWriter w;
    object.SaveToStream(w, TPriLabel::kLongRecordVersion);
    return w.Bytes();
}

struct TInk {
    int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
    int Count = 0;
};

TInk InkOf(const QImage& image, const std::function<bool(QRgb)>& isInk) {
    TInk ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y))) {
                ++ink.Count;
                ink.Left = std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
                ink.Top = std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y);
            }
    return ink;
}

// Top-level windows besides the ones the test began with: a dialog left behind shows here.
int TopLevels() {
    return int(QApplication::topLevelWidgets().size());
}

} // namespace

TEST(TextPackTest, StringDialogTakesTypedAndInputMethodTextWithCrLfLines) {
    const int windows = TopLevels();
    QString seen;
    OnModal([&seen](QDialog* d) {
        auto* edit = Child<QPlainTextEdit>(d, "text");
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, QStringLiteral("ab"));
        QTest::keyClick(edit, Qt::Key_Return);
        Commit(edit, QStringLiteral("漢字"));
        seen = Child<QLabel>(d, "count")->text();
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    });
    QString result = QStringLiteral("unchanged");
    const TDlgAnswer a = Packs().StringEditDlg(QStringLiteral("一行目\r\n"), result);
    ASSERT_TRUE(a.Called) << "libtextpack.so missing from " KOMOREBI_APP_DIR;
    EXPECT_TRUE(bool(a));
    EXPECT_EQ(result, QStringLiteral("一行目\r\nab\r\n漢字"));
    EXPECT_EQ(seen, QStringLiteral("16 / 30719 バイト")); // CR LF counts two bytes, 漢字 four
    EXPECT_EQ(TopLevels(), windows);

    // Escape cancels: the answer is false and the caller's text stays.
    QString warning;
    OnModal([&warning](QDialog* d) {
        QTest::keyClicks(Child<QPlainTextEdit>(d, "text"), QStringLiteral("xyz"));
        Commit(Child<QPlainTextEdit>(d, "text"), QStringLiteral("𠮷"));
        if (Child<QLabel>(d, "warning")->isVisibleTo(d)) warning = Child<QLabel>(d, "warning")->text();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    result = QStringLiteral("unchanged");
    const TDlgAnswer c = Packs().StringEditDlg(QStringLiteral("元"), result);
    EXPECT_TRUE(c.Called);
    EXPECT_FALSE(bool(c));
    EXPECT_EQ(result, QStringLiteral("unchanged"));
    // A character the text's code page lacks would come back as "?": the dialog says so.
    EXPECT_TRUE(warning.contains(QStringLiteral("𠮷"))) << warning.toStdString();
    EXPECT_EQ(TopLevels(), windows);
}

TEST(TextPackTest, StringDialogStopsAtTheByteLimitBetweenCharacters) {
    // 30717 bytes, then a two-character commit with two bytes of room: only the first character goes in,
    // and neither a further key nor a line break fits.
    QString count;
    bool okEnabled = false;
    OnModal([&](QDialog* d) {
        auto* edit = Child<QPlainTextEdit>(d, "text");
        ASSERT_NE(edit, nullptr);
        Commit(edit, QString(30717, QLatin1Char('a')));
        Commit(edit, QStringLiteral("あい"));
        QTest::keyClick(edit, Qt::Key_B);
        QTest::keyClick(edit, Qt::Key_Return);
        count = Child<QLabel>(d, "count")->text();
        okEnabled = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        EXPECT_TRUE(d->isVisible()); // the refused Return stayed in the text field
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    QString result;
    ASSERT_TRUE(bool(Packs().StringEditDlg(QString(), result)));
    EXPECT_EQ(count, QStringLiteral("30719 / 30719 バイト"));
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(result, QString(30717, QLatin1Char('a')) + QStringLiteral("あ"));

    // A text that arrives longer than the limit is not cut silently: OK waits until the user shortens it.
    std::vector<bool> enabled;
    OnModal([&enabled](QDialog* d) {
        QPushButton* ok = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        enabled.push_back(ok->isEnabled());
        auto* edit = Child<QPlainTextEdit>(d, "text");
        QTest::keyClick(edit, Qt::Key_Backspace);
        enabled.push_back(ok->isEnabled());
        QTest::keyClick(edit, Qt::Key_Backspace);
        enabled.push_back(ok->isEnabled());
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    });
    const QString tooLong = QString(30720, QLatin1Char('a')) + QStringLiteral("あ");
    ASSERT_TRUE(bool(Packs().StringEditDlg(tooLong, result)));
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, true}));
    EXPECT_EQ(result, QString(30719, QLatin1Char('a')));

    // Pasting is held to the limit the same way: of "bあいう" with four bytes of room, "bあ" goes in.
    OnModal([](QDialog* d) {
        auto* edit = Child<QPlainTextEdit>(d, "text");
        Commit(edit, QString(30715, QLatin1Char('a')));
        QApplication::clipboard()->setText(QStringLiteral("bあいう"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_C);
        QTest::keyClick(edit, Qt::Key_D);
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    });
    ASSERT_TRUE(bool(Packs().StringEditDlg(QString(), result)));
    EXPECT_EQ(result, QString(30715, QLatin1Char('a')) + QStringLiteral("bあc"));
}

namespace {

struct TLabelRig {
    TPriLabel Label;
    TLabelRig() {
        Label.SetStoreRect(QRect(100, 100, 400, 600));
        Label.SetDataString(QStringLiteral("縦書きの見本、2026年。\r\n二行目"));
        Label.Font.setFamily(QStringLiteral("ＭＳ ゴシック"));
        Label.SameFSize = 12;
        Label.TransParent = true;
        Label.Color = clWhite;
        Label.CharSpace = 1;
    }
};

} // namespace

TEST(TextPackTest, FontDialogHandsBackWhatTheUserChose) {
    const int windows = TopLevels();
    TLabelRig rig;
    QImage preview;
    OnModal([&preview](QDialog* d) {
        Retype(Child<QComboBox>(d, "face"), QStringLiteral("ＭＳ 明朝"));
        Retype(Child<QSpinBox>(d, "size"), QStringLiteral("１６")); // full-width digits from the input method
        QTest::keyClick(Child<QCheckBox>(d, "bold"), Qt::Key_Space);
        QTest::keyClick(Child<QCheckBox>(d, "underline"), Qt::Key_Space);
        ChooseColor(Child<QAbstractButton>(d, "fontColor"), QColor(0, 0, 255));
        QTest::keyClick(Child<QCheckBox>(d, "transparent"), Qt::Key_Space);
        ChooseColor(Child<QAbstractButton>(d, "backColor"), QColor(255, 255, 0));
        Child<QRadioButton>(d, "vertical")->click();
        Child<QComboBox>(d, "side")->setCurrentIndex(psKintou);
        Child<QComboBox>(d, "long")->setCurrentIndex(tlRyoutan);
        Retype(Child<QSpinBox>(d, "charSpace"), QStringLiteral("3"));
        Child<QComboBox>(d, "lineGap")->setCurrentIndex(lsWide);
        QTest::keyClick(Child<QCheckBox>(d, "kinsoku"), Qt::Key_Space);
        QTest::keyClick(Child<QCheckBox>(d, "kanjiDigits"), Qt::Key_Space);
        EXPECT_TRUE(Child<QComboBox>(d, "hyphen")->isEnabled()); // vertical with kanji digits only
        Child<QComboBox>(d, "hyphen")->setCurrentIndex(int(TObjectExtras::THyphenRule::No));
        QTest::keyClick(Child<QCheckBox>(d, "shrink"), Qt::Key_Space);
        preview = Child<QWidget>(d, "preview")->grab().toImage();
        // Enter in the face field confirms the dialog.
        EditOf(Child<QComboBox>(d, "face"))->setFocus();
        QTest::keyClick(EditOf(Child<QComboBox>(d, "face")), Qt::Key_Return);
    });
    QString face;
    int32_t size = 12, style = 0, color = clBlack;
    const TDlgAnswer a = Packs().FontEditDlg(1, &rig.Label, QStringLiteral("ＭＳ ゴシック"), face, size, style, color);
    ASSERT_TRUE(a.Called);
    ASSERT_TRUE(bool(a));
    EXPECT_EQ(face, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(size, 16);
    EXPECT_EQ(style, fsBoldBit | fsUnderlineBit);
    EXPECT_EQ(color, RGBColor(0, 0, 255));
    const TPriLabel& l = rig.Label;
    EXPECT_FALSE(l.TransParent);
    EXPECT_EQ(l.Color, RGBColor(255, 255, 0));
    EXPECT_EQ(l.FontAngle(), faLong);
    EXPECT_EQ(l.BltAngle, 2700); // kept in step so records without the later fields keep the direction
    EXPECT_EQ(l.SidePos, psKintou);
    EXPECT_EQ(l.LongPos, tlRyoutan);
    EXPECT_EQ(l.CharSpace, 3);
    EXPECT_EQ(l.LongSpace, lsWide);
    EXPECT_TRUE(l.KinsokuCheck);
    EXPECT_TRUE(l.LongKanaCheck);
    EXPECT_EQ(l.Extras.HyphenRule, TObjectExtras::THyphenRule::No);
    EXPECT_TRUE(l.Extras.ShrinkToFit);
    EXPECT_EQ(l.DataString(), QStringLiteral("縦書きの見本、2026年。\r\n二行目"));
    EXPECT_EQ(TopLevels(), windows);

    // The preview is the object itself drawing on the yellow background: the first column runs down the
    // right edge of the box, far longer than it is wide.
    const auto blue = [](QRgb c) { return qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100; };
    const TInk ink = InkOf(preview, blue);
    ASSERT_GT(ink.Count, 50);
    const TInk first = InkOf(preview.copy(ink.Right - 30, 0, 31, preview.height()), blue);
    EXPECT_GT(first.Bottom - first.Top, 5 * (first.Right - first.Left));
    EXPECT_GT(InkOf(preview, [](QRgb c) { return c == qRgb(255, 255, 0); }).Count, 1000);
}

TEST(TextPackTest, CancelledFontDialogChangesNothing) {
    TLabelRig rig;
    const QByteArray before = Record(rig.Label);
    OnModal([](QDialog* d) {
        Retype(Child<QComboBox>(d, "face"), QStringLiteral("ＭＳ 明朝"));
        Child<QRadioButton>(d, "vertical")->click();
        QTest::keyClick(Child<QCheckBox>(d, "kinsoku"), Qt::Key_Space);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    QString face = QStringLiteral("keep");
    int32_t size = 12, style = fsItalicBit, color = 77;
    const TDlgAnswer a = Packs().FontEditDlg(1, &rig.Label, QStringLiteral("ＭＳ ゴシック"), face, size, style, color);
    EXPECT_TRUE(a.Called);
    EXPECT_FALSE(bool(a));
    EXPECT_EQ(Record(rig.Label), before);
    EXPECT_EQ(face, QStringLiteral("keep"));
    EXPECT_EQ(std::tuple(size, style, color), std::tuple(12, int32_t(fsItalicBit), 77));

    // An empty face is no face: OK stays off until one is given.
    bool okWithoutFace = true;
    OnModal([&okWithoutFace](QDialog* d) {
        Retype(Child<QComboBox>(d, "face"), QString());
        EditOf(Child<QComboBox>(d, "face"))->clear();
        okWithoutFace = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    Packs().FontEditDlg(1, &rig.Label, QStringLiteral("ＭＳ ゴシック"), face, size, style, color);
    EXPECT_FALSE(okWithoutFace);
}

namespace {

struct TCalendarRig {
    TPriCarendar Calendar;
    QImage Page{800, 600, QImage::Format_RGB32};
    explicit TCalendarRig(bool holidays = true) {
        Calendar.SetStartYoubi(TStartYoubi::sySun);
        Calendar.SetYear(2026);
        Calendar.SetMonth(5);
        Calendar.BackImage = &Page;
        Calendar.SetBaseSize(QPoint(800, 600));
        Calendar.SetStoreRect(QRect(100, 100, 1000, 700));
        Calendar.SetBounds(38, 38, 378, 265);
        // Holidays stand out in green; Sundays stay black so only holidays are green.
        Calendar.HoliColor = RGBColor(0, 200, 0);
        Calendar.SunColor = clBlack;
        if (holidays) Calendar.LoadHoliday(TPriCarendar::HolidayFile(QStringLiteral(KOMOREBI_APP_DIR "/")));
    }
};

int GreenInk(const QImage& image) {
    return InkOf(image, [](QRgb c) { return qGreen(c) > 120 && qRed(c) < 80 && qBlue(c) < 80; }).Count;
}

} // namespace

TEST(TextPackTest, CalendarDialogSetsEveryPropertyAndAFreshDayTable) {
    const int windows = TopLevels();
    TCalendarRig rig;
    ASSERT_TRUE(rig.Calendar.HolidayCheck());
    int greenBefore = 0;
    OnModal([&greenBefore](QDialog* d) {
        greenBefore = GreenInk(Child<QWidget>(d, "preview")->grab().toImage());
        Retype(Child<QSpinBox>(d, "year"), QStringLiteral("２０２７"));
        QTest::keyClick(EditOf(Child<QSpinBox>(d, "month")), Qt::Key_Up); // May -> June
        Child<QComboBox>(d, "start")->setCurrentIndex(1);
        Child<QComboBox>(d, "rows")->setCurrentIndex(0);
        Child<QComboBox>(d, "side")->setCurrentIndex(2);
        Child<QComboBox>(d, "long")->setCurrentIndex(1);
        Retype(Child<QComboBox>(d, "face"), QStringLiteral("ＭＳ 明朝"));
        Retype(Child<QSpinBox>(d, "size"), QStringLiteral("１８"));
        QTest::keyClick(Child<QCheckBox>(d, "grid"), Qt::Key_Space);
        QTest::keyClick(Child<QCheckBox>(d, "transparent"), Qt::Key_Space);
        ChooseColor(Child<QAbstractButton>(d, "color10"), QColor(10, 20, 30)); // Saturday number
        ChooseColor(Child<QAbstractButton>(d, "color32"), QColor(40, 50, 60)); // holiday background 2
        PressOk(d);
    });
    const TDlgAnswer a = Packs().CarendarSetDlg(&rig.Calendar);
    ASSERT_TRUE(a.Called);
    ASSERT_TRUE(bool(a));
    const TPriCarendar& c = rig.Calendar;
    EXPECT_GT(greenBefore, 20); // the holidays of May 2026 in the preview
    EXPECT_EQ(c.Year(), 2027);
    EXPECT_EQ(c.Month(), 6);
    EXPECT_EQ(c.StartYoubi(), TStartYoubi::syMon);
    EXPECT_EQ(c.StepCount, TStepCount::sc5);
    EXPECT_EQ(c.SidePos, TPriCarendar::TSidePos::psRight);
    EXPECT_EQ(c.LongPos, TPriCarendar::TLongPos::tlCenter);
    EXPECT_EQ(c.FontName, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(c.SameFSize, 18);
    EXPECT_FALSE(c.GridCheck);
    EXPECT_FALSE(c.TransParent);
    EXPECT_EQ(c.SatColor, RGBColor(10, 20, 30));
    EXPECT_EQ(c.HolibackColor2, RGBColor(40, 50, 60));
    EXPECT_EQ(c.DaybackColor1, TColor(0x02FFFAE6)); // untouched colours keep their palette flag
    // 1 June 2027 is a Tuesday: the second cell of a Monday-first grid.
    EXPECT_EQ(c.StartCell(), 1);
    EXPECT_EQ(c.DayAt(1), 1);
    EXPECT_EQ(c.DayCount(), 30);
    EXPECT_EQ(c.BackImage, &rig.Page);
    EXPECT_EQ(TopLevels(), windows);

    // The type and rows go through too, and the one-line layouts use the Sunday-first table.
    OnModal([](QDialog* d) {
        Child<QComboBox>(d, "type")->setCurrentIndex(int(TCarenType::caSide));
        PressOk(d);
    });
    ASSERT_TRUE(bool(Packs().CarendarSetDlg(&rig.Calendar)));
    EXPECT_EQ(rig.Calendar.CarenType(), TCarenType::caSide);
    EXPECT_EQ(rig.Calendar.StartCell(), 2);
}

TEST(TextPackTest, CancelledCalendarDialogLeavesTheCalendarUntouched) {
    TCalendarRig rig;
    rig.Calendar.SidePos = TPriCarendar::TSidePos::psKintou; // a spreading value from a record
    const QByteArray before = Record(rig.Calendar);
    const int startCell = rig.Calendar.StartCell();
    OnModal([](QDialog* d) {
        Retype(Child<QSpinBox>(d, "year"), QStringLiteral("2030"));
        Child<QComboBox>(d, "type")->setCurrentIndex(2);
        QTest::keyClick(Child<QCheckBox>(d, "grid"), Qt::Key_Space);
        QTest::keyClick(d, Qt::Key_Escape);
    });
    const TDlgAnswer a = Packs().CarendarSetDlg(&rig.Calendar);
    EXPECT_TRUE(a.Called);
    EXPECT_FALSE(bool(a));
    EXPECT_EQ(Record(rig.Calendar), before);
    EXPECT_EQ(rig.Calendar.StartCell(), startCell);

    // Confirmed without touching the placement, the spreading value stays as the record had it.
    OnModal([](QDialog* d) { PressOk(d); });
    ASSERT_TRUE(bool(Packs().CarendarSetDlg(&rig.Calendar)));
    EXPECT_EQ(rig.Calendar.SidePos, TPriCarendar::TSidePos::psKintou);
}

TEST(TextPackTest, CalendarPreviewShowsHolidaysOfACalendarThatCameWithoutThem) {
    // An edited calendar arrives as a copy without its holiday lists; the preview still shows them.
    TCalendarRig rig(false);
    int green = 0;
    OnModal([&green](QDialog* d) {
        green = GreenInk(Child<QWidget>(d, "preview")->grab().toImage());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    Packs().CarendarSetDlg(&rig.Calendar);
    EXPECT_GT(green, 20);
    EXPECT_FALSE(rig.Calendar.HolidayCheck());
}

namespace {

// The named controls in the order Tab visits them, starting at the first one.
QStringList TabOrder(QDialog* d, const char* first) {
    QStringList names;
    QWidget* w = Child<QWidget>(d, first);
    for (int i = 0; w && i < 200; ++i, w = w->nextInFocusChain()) {
        QWidget* named = w;
        // The line edit of a spin or combo box stands for its box.
        if (!named->objectName().isEmpty() || !named->parentWidget()) {
        } else if (!named->parentWidget()->objectName().isEmpty()) {
            named = named->parentWidget();
        }
        if (named->focusPolicy() & Qt::TabFocus || w->focusPolicy() & Qt::TabFocus) {
            const QString name = named->objectName();
            if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && !names.contains(name)) names << name;
        }
    }
    return names;
}

} // namespace

TEST(TextPackTest, TabVisitsTheControlsInReadingOrder) {
    QStringList font, calendar;
    OnModal([&font](QDialog* d) {
        font = TabOrder(d, "face");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    TLabelRig rig;
    QString face;
    int32_t size = 12, style = 0, color = 0;
    Packs().FontEditDlg(1, &rig.Label, QStringLiteral("ＭＳ ゴシック"), face, size, style, color);
    EXPECT_EQ(font, QStringList({"face", "size", "bold", "italic", "underline", "strikeOut", "fontColor", "transparent",
                                 "backColor", "horizontal", "vertical", "side", "long", "charSpace", "lineGap",
                                 "kinsoku", "kanjiDigits", "hyphen", "shrink"}));

    OnModal([&calendar](QDialog* d) {
        calendar = TabOrder(d, "year");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    TCalendarRig calendarRig;
    Packs().CarendarSetDlg(&calendarRig.Calendar);
    QStringList expected{"year", "month", "type", "start", "rows", "side", "long", "face", "size"};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            expected << QStringLiteral("color%1%2").arg(r).arg(c);
    expected << "grid"
             << "transparent";
    for (int i = 0; i < 7; ++i)
        expected << QStringLiteral("note%1").arg(i) << QStringLiteral("noteColor%1").arg(i);
    expected << "noteYears"
             << "noteSize";
    EXPECT_EQ(calendar, expected);
}

TEST(TextPackTest, MissingObjectsOrBuffersAnswerCancelWithoutADialog) {
    // No dialog may appear: a call that showed one would wait here for ever, so a watchdog closes it.
    bool shown = false;
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&shown] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = true;
            d->reject();
        }
    });
    watchdog.start(20);
    QString face;
    int32_t size = 10, style = 0, color = 0;
    const TDlgAnswer font = Packs().FontEditDlg(1, nullptr, QStringLiteral("ＭＳ 明朝"), face, size, style, color);
    EXPECT_TRUE(font.Called);
    EXPECT_FALSE(bool(font));
    const TDlgAnswer calendar = Packs().CarendarSetDlg(nullptr);
    EXPECT_TRUE(calendar.Called);
    EXPECT_FALSE(bool(calendar));
    EXPECT_FALSE(shown);
}

// Pictures to look at: xvfb-run -a env QT_QPA_PLATFORM=xcb build/tests/komorebi_tests
// --gtest_also_run_disabled_tests --gtest_filter='*TextPackPictures*' writes /tmp/komorebi-textpack-*.png.
TEST(TextPackTest, DISABLED_TextPackPictures) {
    const auto shoot = [](const char* name) {
        OnModal([name](QDialog* d) {
            QTest::qWaitForWindowExposed(d);
            d->grab().save(QStringLiteral("/tmp/komorebi-textpack-%1.png").arg(QLatin1String(name)));
            d->reject();
        });
    };
    QString text;
    shoot("string");
    Packs().StringEditDlg(
        QStringLiteral("こもれびごよみへようこそ。\r\n年賀状の文面をここに書きます。\r\n令和八年 元旦"), text);

    TPriLabel label;
    label.SetStoreRect(QRect(100, 100, 500, 700));
    label.SetDataString(QStringLiteral("謹んで新春のお慶びを申し上げます。「本年も」よろしく、2026年1月1日（木）"));
    label.Font.setFamily(QStringLiteral("ＭＳ 明朝"));
    label.SameFSize = 16;
    label.SetFontAngle(faLong);
    label.KinsokuCheck = true;
    label.LongKanaCheck = true;
    label.TransParent = false;
    label.Color = RGBColor(255, 250, 230);
    label.FontColor = RGBColor(120, 0, 0);
    QString face;
    int32_t size = 16, style = 0, color = label.FontColor;
    shoot("font");
    Packs().FontEditDlg(1, &label, QStringLiteral("ＭＳ 明朝"), face, size, style, color);

    // An address with block numbers, set with "の" and shrunk to its box.
    label.SetDataString(QStringLiteral("東京都千代田区千代田1-2-3\r\nサンハイツ201号室 3LDK"));
    label.Extras.HyphenRule = TObjectExtras::THyphenRule::No;
    label.Extras.ShrinkToFit = true;
    label.SameFSize = 28;
    shoot("font-address");
    Packs().FontEditDlg(1, &label, QStringLiteral("ＭＳ 明朝"), face, size, style, color);

    TCalendarRig rig;
    rig.Calendar.HoliColor = clRed;
    rig.Calendar.SunColor = clRed;
    rig.Calendar.TransParent = false;
    rig.Calendar.Extras.AlmanacItems = TObjectExtras::aiRokuyou | TObjectExtras::aiSolarTerms |
                                       TObjectExtras::aiMoonPhases | TObjectExtras::aiFamilyDays;
    shoot("calendar");
    Packs().CarendarSetDlg(&rig.Calendar);
}
