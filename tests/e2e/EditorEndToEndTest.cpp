// The editor driven as a user drives it: the real program on an X display, mouse and keys from
// xdotool, files checked with the engine afterwards.
#include "document/PriPaint.h"
#include "document/TemplateFile.h"
#include "e2e/DesktopSession.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"
#include "platform/StreamWriter.h"
#include "support/FixedPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <list>

namespace {

// The program lays pages out at 96 pixels per inch, whatever the screen reports; at 100 % one
// paper unit of 0.1 mm is this many screen pixels.
constexpr int kScreenInch = 96;
constexpr double kPixelsPerUnit = kScreenInch / 254.0;
constexpr double kUnitsPerPixel = 254.0 / kScreenInch;

// Colours nothing else on the screen has, so each object is found by its fill.
constexpr TColor kMagenta = RGBColor(255, 0, 255);
constexpr TColor kCyan = RGBColor(0, 255, 255);
constexpr QRgb kMagentaOnScreen = 0xFF00FF;
constexpr QRgb kCyanOnScreen = 0x00FFFF;

std::unique_ptr<TPriPaint> NewA4() {
    auto doc = std::make_unique<TPriPaint>(nullptr, QStringLiteral(KOMOREBI_APP_DIR "/"), kScreenInch,
                                           std::make_unique<TFixedPrinter>());
    doc->PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
    return doc;
}

void AddShape(TPriPaint& doc, TBltShape kind, QRect stored, TColor fill) {
    auto shape = std::make_unique<TPriShape>();
    shape->Shape = kind;
    shape->Brush = TPriBrush{fill, bsSolid};
    shape->Pen.Color = fill;
    shape->SetStoreRect(stored);
    doc.AppendObject(std::move(shape));
}

void AddLine(TPriPaint& doc, QRect stored) {
    auto line = std::make_unique<TPriLine>();
    line->SetStoreRect(stored);
    line->SamePSize = 3;
    doc.AppendObject(std::move(line));
}

bool Save(TPriPaint& doc, const QString& file) {
    QString error;
    return doc.SaveToFile(file, 0, &error);
}

std::unique_ptr<TPriPaint> Load(const QString& file) {
    auto doc = NewA4();
    QString error;
    if (!doc->LoadFromFile(file, 0, &error)) return nullptr;
    return doc;
}

QByteArray ReadAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The records of a document's objects as the template writes them, each shifted back by a
// distance; what they derive for the screen (a line's end points) is laid out alike at 100 %.
std::vector<QByteArray> Records(TPriPaint& doc, QPoint shift = QPoint()) {
    std::vector<QByteArray> records;
    doc.Document().UpdatePaperPixels();
    for (auto& obj : doc.Objects()) {
        obj->SetStorePos(obj->GetStorePos() - shift);
        obj->ScaleToView(doc.PaperPixels(), doc.PaperPixels(), kScreenInch);
        TStreamWriter w;
        obj->SaveToStream(w, TTemplateFile::RecordVersionFor(obj->ObjectNum));
        records.push_back(w.Bytes());
    }
    return records;
}

// An old modification time, so that a save is seen even when it writes the same bytes.
QDateTime Backdate(const QString& file) {
    const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
    QFile f(file);
    if (f.open(QIODevice::ReadWrite)) f.setFileTime(old, QFileDevice::FileModificationTime);
    return QFileInfo(file).lastModified();
}

class EditorEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const QString missing = TDesktopSession::MissingTools();
        if (!missing.isEmpty()) GTEST_SKIP() << "no X tools: " << missing.toStdString();
        fSession = std::make_unique<TDesktopSession>();
        ASSERT_TRUE(fSession->IsReady()) << fSession->Error().toStdString();
    }
    void TearDown() override {
        // What the screen showed when it went wrong, for whoever looks into it.
        if (HasFailure() && fSession)
            fSession->Screen().save(
                QStringLiteral(KOMOREBI_BINARY_DIR "/e2e-%1.png")
                    .arg(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name())));
    }

    // Starts the program; the fixture keeps it (and kills it if it still runs) until after TearDown,
    // so a failure's picture shows its windows.
    TDesktopSession::TProgram& Start(const QString& name, const QString& file) {
        fPrograms.push_back(fSession->Start(name, file));
        return fPrograms.back();
    }

    // 100 % from the view menu: グリッド表示, 余白線表示, 定規表示, then 等倍表示.
    void ZoomTo100(const TDesktopSession::TProgram& program) {
        fSession->Focus(program);
        fSession->Keys(QStringLiteral("alt+v"));
        fSession->Keys(QStringLiteral("Down Down Down Return"));
    }

    std::unique_ptr<TDesktopSession> fSession;
    std::list<TDesktopSession::TProgram> fPrograms;
};

} // namespace

TEST_F(EditorEndToEnd, DragBy10mmThenDeleteUndoSavesTheSameBytes) {
    const QString file = fSession->Folder() + QStringLiteral("drag.tda");
    const QRect stored(300, 300, 400, 200);
    {
        auto doc = NewA4();
        AddShape(*doc, TBltShape::RectAngle, stored, kMagenta);
        ASSERT_TRUE(Save(*doc, file));
    }

    TDesktopSession::TProgram& program = Start(QStringLiteral("drag"), file);
    ASSERT_TRUE(program.Process) << "no window appeared";
    ZoomTo100(program);
    QRect seen;
    ASSERT_TRUE(fSession->WaitForScreen([&](const QImage& s) {
        seen = FindColour(s, kMagentaOnScreen);
        // At 100 % the 40 mm wide object is 151 pixels wide.
        return std::abs(seen.width() - stored.width() * kPixelsPerUnit) <= 2;
    })) << "the object is not shown at 100 %: "
        << seen.width() << " pixels wide";

    // 10 mm to the right, in a few steps as a hand moves.
    const int dx = qRound(100 * kPixelsPerUnit);
    const QPoint from = seen.center();
    fSession->MouseMove(from);
    fSession->MouseDown();
    for (int step : {dx / 4, dx / 2, dx * 3 / 4, dx})
        fSession->MouseMove(from + QPoint(step, 0));
    fSession->MouseUp();
    QRect moved;
    ASSERT_TRUE(fSession->WaitForScreen([&](const QImage& s) {
        moved = FindColour(s, kMagentaOnScreen);
        return moved.left() != seen.left();
    })) << "the drag did not move the object";
    EXPECT_NEAR(moved.left() - seen.left(), dx, 1);

    QDateTime before = Backdate(file);
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "Ctrl+S wrote nothing";
    EXPECT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Return"))) << "no message after the save";
    ASSERT_TRUE(fSession->Quit(program)) << "the program did not end on Ctrl+Q";

    auto reread = Load(file);
    ASSERT_TRUE(reread);
    ASSERT_EQ(reread->Objects().size(), 1u);
    const QRect now = reread->Objects()[0]->StoreRect();
    EXPECT_NEAR(now.left() - stored.left(), 100, kUnitsPerPixel);
    EXPECT_EQ(now.top(), stored.top()); // a move across leaves the height on the page alone
    EXPECT_EQ(now.size(), stored.size());

    // Select all, delete, undo, save: the bytes the program wrote before, exactly.
    const QByteArray original = ReadAll(file);
    TDesktopSession::TProgram& again = Start(QStringLiteral("undo"), file);
    ASSERT_TRUE(again.Process) << "no window appeared";
    fSession->Focus(again);
    fSession->Keys(QStringLiteral("ctrl+a"));
    fSession->Keys(QStringLiteral("Delete"));
    ASSERT_TRUE(fSession->WaitForScreen([](const QImage& s) { return FindColour(s, kMagentaOnScreen).isEmpty(); }))
        << "Delete left the object on the page";
    fSession->Keys(QStringLiteral("ctrl+z"));
    ASSERT_TRUE(fSession->WaitForScreen([](const QImage& s) { return !FindColour(s, kMagentaOnScreen).isEmpty(); }))
        << "Undo did not bring the object back";
    before = Backdate(file);
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "Ctrl+S wrote nothing";
    EXPECT_TRUE(fSession->AnswerDialog(again, QStringLiteral("Return"))) << "no message after the save";
    EXPECT_TRUE(fSession->Quit(again));
    EXPECT_EQ(ReadAll(file), original);
}

TEST_F(EditorEndToEnd, CopyInOneProgramPasteInAnother) {
    const QString source = fSession->Folder() + QStringLiteral("source.tda");
    const QString target = fSession->Folder() + QStringLiteral("target.tda");
    {
        auto doc = NewA4();
        AddShape(*doc, TBltShape::RectAngle, QRect(300, 400, 300, 200), kMagenta);
        AddShape(*doc, TBltShape::Ellipse, QRect(900, 500, 250, 250), kCyan);
        AddLine(*doc, QRect(400, 1200, 600, 300));
        ASSERT_TRUE(Save(*doc, source));
        auto empty = NewA4();
        ASSERT_TRUE(Save(*empty, target));
    }
    // Nothing is clicked in the second program: the paste goes to the page origin, so each object
    // lands at its offset from the first one.
    auto copied = Load(source);
    ASSERT_TRUE(copied);
    const std::vector<QByteArray> expected = Records(*copied, copied->Objects()[0]->GetStorePos());

    TDesktopSession::TProgram& a = Start(QStringLiteral("copy"), source);
    ASSERT_TRUE(a.Process) << "no window appeared";
    ASSERT_TRUE(fSession->WaitForScreen([](const QImage& s) { return !FindColour(s, kCyanOnScreen).isEmpty(); }))
        << "the first program does not show its objects";
    fSession->Focus(a);
    fSession->Keys(QStringLiteral("ctrl+a"));
    fSession->Keys(QStringLiteral("ctrl+c"));

    // Its own runtime folder: the second program does not hand its file to the first.
    TDesktopSession::TProgram& b = Start(QStringLiteral("paste"), target);
    ASSERT_TRUE(b.Process) << "the second program showed no window";
    ASSERT_EQ(a.Process->state(), QProcess::Running);
    fSession->Focus(b);
    fSession->Keys(QStringLiteral("ctrl+v"));
    const QDateTime before = Backdate(target);
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(target, before)) << "Ctrl+S wrote nothing";
    EXPECT_TRUE(fSession->AnswerDialog(b, QStringLiteral("Return"))) << "no message after the save";
    EXPECT_TRUE(fSession->Quit(b));
    // The first program owned the clipboard until now.
    EXPECT_TRUE(fSession->Quit(a));

    auto pasted = Load(target);
    ASSERT_TRUE(pasted);
    const std::vector<QByteArray> records = Records(*pasted);
    ASSERT_EQ(records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(records[i].toHex(), expected[i].toHex()) << "object " << i;
}

TEST_F(EditorEndToEnd, ThreeDragsTakenBackWithThreeUndosSaveTheFirstBytes) {
    const QString file = fSession->Folder() + QStringLiteral("drags.tda");
    {
        auto doc = NewA4();
        AddShape(*doc, TBltShape::RectAngle, QRect(300, 300, 400, 200), kMagenta);
        ASSERT_TRUE(Save(*doc, file));
    }
    TDesktopSession::TProgram& program = Start(QStringLiteral("drags"), file);
    ASSERT_TRUE(program.Process) << "no window appeared";
    QRect seen;
    ASSERT_TRUE(fSession->WaitForScreen([&](const QImage& s) {
        return !(seen = FindColour(s, kMagentaOnScreen)).isEmpty();
    })) << "the object is not shown";
    const QRect start = seen;
    // The program's own bytes of the untouched document.
    fSession->Focus(program);
    QDateTime before = Backdate(file);
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "Ctrl+S wrote nothing";
    EXPECT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Return"))) << "no message after the save";
    const QByteArray original = ReadAll(file);

    for (const QPoint by : {QPoint(40, 0), QPoint(0, 30), QPoint(-25, 20)}) {
        const QPoint from = seen.center();
        fSession->MouseMove(from);
        fSession->MouseDown();
        for (int part = 1; part <= 4; ++part)
            fSession->MouseMove(from + by * part / 4);
        fSession->MouseUp();
        QRect moved;
        ASSERT_TRUE(fSession->WaitForScreen([&](const QImage& s) {
            moved = FindColour(s, kMagentaOnScreen);
            return moved.topLeft() != seen.topLeft() && !moved.isEmpty();
        })) << "the drag by "
            << by.x() << ", " << by.y() << " did not move the object";
        seen = moved;
    }
    fSession->Focus(program);
    for (int i = 0; i < 3; ++i)
        fSession->Keys(QStringLiteral("ctrl+z"));
    ASSERT_TRUE(fSession->WaitForScreen([&](const QImage& s) { return FindColour(s, kMagentaOnScreen) == start; }))
        << "three undos did not bring the object back where it started";
    before = Backdate(file);
    fSession->Keys(QStringLiteral("ctrl+s"));
    ASSERT_TRUE(TDesktopSession::WaitForWrite(file, before)) << "Ctrl+S wrote nothing";
    EXPECT_TRUE(fSession->AnswerDialog(program, QStringLiteral("Return"))) << "no message after the save";
    EXPECT_TRUE(fSession->Quit(program));
    EXPECT_EQ(ReadAll(file), original);
}
