#include "calendar/PriCarendar.h"
#include "document/PriDocument.h"
#include "document/PriPaint.h"
#include "document/TemplateFile.h"
#include "objects/PriShape.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"
#include "support/FixedPrinter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class TRecordingHost : public TPaintHost {
public:
    QStringList Messages;
    void ShowMessage(const QString& text) override { Messages << text; }
};

std::unique_ptr<TPriDocument> NewDoc() {
    auto doc = std::make_unique<TPriDocument>(QString());
    doc->PrintPaper.SetFields({0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
    return doc;
}

// For what the editing surface adds to a load or save: the edit step and the host.
std::unique_ptr<TPriPaint> NewSurface() {
    auto surface = std::make_unique<TPriPaint>(nullptr, QString(), 96, std::make_unique<TFixedPrinter>());
    surface->PrintPaper.SetFields({0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
    return surface;
}

TPriShape* AddRect(TPriDocument& doc, QRect stored) {
    auto shape = std::make_unique<TPriShape>();
    shape->SetStoreRect(stored);
    return static_cast<TPriShape*>(doc.AppendObject(std::move(shape)));
}

QByteArray Header(int version, int kind = 0) {
    TStreamWriter w;
    w.WriteInt32(TTemplateFile::kMagic);
    w.WriteInt32(version);
    w.WriteInt32(kind);
    for (int32_t v : {1, 2, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480})
        w.WriteInt32(v);
    return w.Bytes();
}

// The part after the header and reserved flag: print mode, names, empty sides, markers.
QByteArray EmptyBody(int printMode = 3) {
    TStreamWriter w;
    w.WriteInt32(printMode);
    w.WriteString(QStringLiteral("main.CSV"));
    w.WriteString(QString());
    w.WriteInt32(0); // no background
    w.WriteInt32(0); // no objects
    w.WriteInt32(TTemplateFile::kSeparator);
    w.WriteInt32(0);
    w.WriteInt32(0);
    w.WriteInt32(TTemplateFile::kEndMarker);
    return w.Bytes();
}

// A fingerprint of everything a load may change.
QByteArray Snapshot(TPriDocument& doc) {
    QByteArray bytes;
    TTemplateFile::Build(doc, 0, bytes);
    return bytes;
}

} // namespace

TEST(TemplateFileTest, EmptyDocumentIs116Bytes) {
    auto doc = NewDoc();
    QByteArray bytes;
    ASSERT_EQ(TTemplateFile::Build(*doc, 0, bytes), TTemplateFile::TResult::Ok);
    EXPECT_EQ(bytes.size(), 116);
    EXPECT_EQ(bytes.left(4), QByteArray("\xD1\xFF\0\0", 4));
    EXPECT_EQ(bytes.right(4), QByteArray("\xD3\xFF\0\0", 4));
}

TEST(TemplateFileTest, HeaderVersionsAndKinds) {
    struct TCase {
        const char* Name;
        QByteArray Bytes;
        TTemplateFile::TResult Result;
    };
    TStreamWriter skip;
    skip.WriteInt32(1);
    skip.WriteBytes(QByteArray(8, 'x'));
    skip.WriteInt64(5);
    skip.WriteBytes("abcde", 5);
    TStreamWriter flag0, flag7;
    flag0.WriteInt32(0);
    flag7.WriteInt32(7);
    TStreamWriter hugeSkip;
    hugeSkip.WriteInt32(1);
    hugeSkip.WriteBytes(QByteArray(8, 'x'));
    hugeSkip.WriteInt64(int64_t(1) << 50);
    const TCase cases[] = {
        {"version 2 has no reserved flag", Header(2) + EmptyBody(), TTemplateFile::TResult::Ok},
        {"version 3 with flag 0", Header(3) + flag0.Bytes() + EmptyBody(), TTemplateFile::TResult::Ok},
        {"version 6 with flag 7 reads on", Header(6) + flag7.Bytes() + EmptyBody(), TTemplateFile::TResult::Ok},
        {"flag 1 skips 8 bytes and a block", Header(4) + skip.Bytes() + EmptyBody(), TTemplateFile::TResult::Ok},
        {"skip longer than the file", Header(4) + hugeSkip.Bytes() + EmptyBody(), TTemplateFile::TResult::Silent},
        {"version 7", Header(7) + flag0.Bytes() + EmptyBody(), TTemplateFile::TResult::BadVersion},
        {"version 0", Header(0) + EmptyBody(), TTemplateFile::TResult::BadVersion},
        {"kind 1", Header(6, 1) + flag0.Bytes() + EmptyBody(), TTemplateFile::TResult::BadKind},
        {"kind 256 reads its low byte", Header(6, 256) + flag0.Bytes() + EmptyBody(), TTemplateFile::TResult::Ok},
        {"bad magic", QByteArray("\0\0\0\0", 4) + Header(6).mid(4) + flag0.Bytes() + EmptyBody(),
         TTemplateFile::TResult::Silent},
        {"missing end marker", Header(6) + flag0.Bytes() + EmptyBody().chopped(4), TTemplateFile::TResult::Silent},
    };
    for (const TCase& c : cases) {
        auto doc = NewDoc();
        EXPECT_EQ(TTemplateFile::Parse(*doc, c.Bytes, 0), c.Result) << c.Name;
        if (c.Result == TTemplateFile::TResult::Ok) {
            EXPECT_EQ(doc->PrintMode, 3) << c.Name;
            EXPECT_EQ(doc->RecordMainFile, QStringLiteral("main.CSV")) << c.Name;
        } else {
            EXPECT_EQ(doc->PrintMode, 0) << c.Name;
        }
    }
}

// A refused load or save says why in the result, in Japanese; neither the document nor the
// surface shows a message (the caller does, once).
TEST(TemplateFileTest, RefusalsGiveTheirReasonAndShowNothing) {
    QTemporaryDir dir;
    struct TCase {
        QByteArray Bytes;
        QString Reason;
    } cases[] = {
        {Header(7) + EmptyBody(), QStringLiteral("バージョンが異なります")},
        {Header(6, 2) + EmptyBody(), QStringLiteral("保存形式が異なります")},
        {QByteArray("junk"), QStringLiteral("テンプレートファイルとして読み込めません")},
    };
    for (const TCase& c : cases) {
        const QString path = dir.filePath("t.tda");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.Bytes);
        f.close();
        const TDocumentResult loaded = NewDoc()->Load(path, 0);
        EXPECT_FALSE(loaded);
        EXPECT_EQ(loaded.Reason, c.Reason);
        auto surface = NewSurface();
        TRecordingHost host;
        surface->SetHost(&host);
        QString error;
        EXPECT_FALSE(surface->LoadFromFile(path, 0, &error));
        EXPECT_EQ(error, c.Reason);
        EXPECT_TRUE(host.Messages.isEmpty()) << host.Messages.join(' ').toStdString();
    }
    auto surface = NewSurface();
    TRecordingHost host;
    surface->SetHost(&host);
    QString error;
    EXPECT_FALSE(surface->SaveToFile(dir.filePath("missing/x.tda"), 0, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(host.Messages.isEmpty());
}

TEST(TemplateFileTest, DeletedObjectsAreNotWrittenAndUndoEndsWithTheSave) {
    QTemporaryDir dir;
    auto doc = NewSurface();
    AddRect(doc->Document(), {10, 20, 300, 400});
    TPriShape* gone = AddRect(doc->Document(), {50, 60, 70, 80});
    AddRect(doc->Document(), {90, 100, 110, 120});
    doc->SelectObject(gone);
    ASSERT_TRUE(doc->DeleteSelection());
    doc->SelectList().append(doc->Objects()[0].get());

    const QString path = dir.filePath("doc.tda");
    ASSERT_TRUE(doc->SaveToFile(path, 0));
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->HasSelection());
    EXPECT_EQ(doc->Objects().size(), 2u);

    auto back = NewDoc();
    ASSERT_TRUE(back->Load(path, 0));
    ASSERT_EQ(back->Objects().size(), 2u);
    EXPECT_EQ(back->Objects()[1]->StoreRect(), QRect(90, 100, 110, 120));
    EXPECT_EQ(back->Objects()[1]->ListNum, 1);
    EXPECT_EQ(Snapshot(*back), Snapshot(doc->Document()));
}

TEST(TemplateFileTest, UnknownKindsAndBadRecordsRefuseTheFile) {
    auto doc = NewDoc();
    AddRect(*doc, {1, 2, 3, 4});
    const QByteArray before = Snapshot(*doc);
    for (int32_t kind : {-1, 7, 99}) {
        TStreamWriter w;
        w.WriteBytes(Header(6));
        w.WriteInt32(0);
        w.WriteInt32(0);
        w.WriteInt32(0);
        w.WriteInt32(0);
        w.WriteInt32(0); // no background
        w.WriteInt32(1);
        w.WriteInt32(kind);
        w.WriteInt64(28);
        w.WriteBytes(QByteArray(28, '\0'));
        w.WriteInt32(TTemplateFile::kSeparator);
        w.WriteInt32(0);
        w.WriteInt32(0);
        w.WriteInt32(TTemplateFile::kEndMarker);
        EXPECT_EQ(TTemplateFile::Parse(*doc, w.Bytes(), 0), TTemplateFile::TResult::Silent) << kind;
        EXPECT_EQ(Snapshot(*doc), before) << kind;
    }
}

TEST(TemplateFileTest, SaveNeverLeavesAHalfWrittenFile) {
    QTemporaryDir dir;
    auto doc = NewDoc();
    AddRect(*doc, {1, 2, 3, 4});
    const QString path = dir.filePath("keep.tda");
    ASSERT_TRUE(doc->Save(path, 0));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray first = f.readAll();
    f.close();
    // A folder that does not exist: the save fails and reports it.
    EXPECT_FALSE(doc->Save(dir.filePath("missing/x.tda"), 0));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), first);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.tda"});
}

TEST(TemplateFileTest, BackgroundsKeepTheirShownFlag) {
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    struct TCase {
        bool HasPicture;
        bool Shown;
        bool ShownAfter;
    } cases[] = {{true, false, false}, {true, true, true}, {false, false, true}};
    for (const TCase& c : cases) {
        auto doc = NewDoc();
        if (c.HasPicture) doc->BackObject.FMainBack = picture;
        doc->BackObject.FVisible = c.Shown;
        QByteArray bytes;
        ASSERT_EQ(TTemplateFile::Build(*doc, 0, bytes), TTemplateFile::TResult::Ok);
        auto back = NewDoc();
        back->BackObject.FVisible = !c.ShownAfter;
        ASSERT_EQ(TTemplateFile::Parse(*back, bytes, 0), TTemplateFile::TResult::Ok);
        EXPECT_EQ(back->BackObject.FVisible, c.ShownAfter) << c.HasPicture << c.Shown;
        EXPECT_EQ(back->BackObject.IsEmpty(), !c.HasPicture);
        if (c.HasPicture) {
            EXPECT_EQ(back->BackObject.FMainBack.size(), QSize(40, 30));
        }
    }
}

TEST(TemplateFileTest, VersionOneBackgroundsAreBitmapFiles) {
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(QColor(200, 10, 30));
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    TStreamWriter w;
    w.WriteBytes(Header(1));
    w.WriteInt32(0); // print mode
    w.WriteString(QString());
    w.WriteString(QString());
    w.WriteInt32(1); // present
    w.WriteInt32(1); // shown
    w.WriteBlock64(bmp);
    w.WriteInt32(0);
    w.WriteInt32(TTemplateFile::kSeparator);
    w.WriteInt32(0);
    w.WriteInt32(0);
    w.WriteInt32(TTemplateFile::kEndMarker);
    auto doc = NewDoc();
    ASSERT_EQ(TTemplateFile::Parse(*doc, w.Bytes(), 0), TTemplateFile::TResult::Ok);
    EXPECT_EQ(doc->BackObject.FMainBack.pixelColor(3, 2), QColor(200, 10, 30));
    // The same bytes under version 2 are no JPEG: the file is refused and nothing changes.
    QByteArray v2 = w.Bytes();
    v2[4] = 2;
    auto other = NewDoc();
    EXPECT_EQ(TTemplateFile::Parse(*other, v2, 0), TTemplateFile::TResult::Silent);
    EXPECT_TRUE(other->BackObject.IsEmpty());
}

TEST(TemplateFileTest, CutAndDamagedFilesNeverChangeTheDocument) {
    QFile f(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/Meishi/縦書き名刺.tda"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    auto doc = NewDoc();
    AddRect(*doc, {1, 2, 3, 4});
    const QByteArray before = Snapshot(*doc);
    // Every prefix is refused.
    for (qsizetype n = 0; n < good.size(); ++n) {
        ASSERT_NE(TTemplateFile::Parse(*doc, good.left(n), 0), TTemplateFile::TResult::Ok) << n;
        ASSERT_EQ(Snapshot(*doc), before) << n;
    }
    // Random damage either reads as a whole or leaves the document as it was.
    QRandomGenerator random(20261207);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        const int flips = 1 + int(random.bounded(8));
        for (int i = 0; i < flips; ++i) {
            const qsizetype at = random.bounded(int(bad.size()));
            bad[at] = char(bad[at] ^ char(1 << random.bounded(8)));
        }
        auto target = NewDoc();
        AddRect(*target, {1, 2, 3, 4});
        if (TTemplateFile::Parse(*target, bad, 0) == TTemplateFile::TResult::Ok) {
            target->ScaleToPaper();
            QPainter page(&target->PageBitmap());
            for (auto& obj : target->Objects())
                obj->DrawObject(bmLayout, page);
        } else {
            ++refused;
            ASSERT_EQ(Snapshot(*target), before) << round;
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(TemplateFileTest, OnlyPlainFilesAreOpened) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A pipe without a writer would block the open for ever; a folder is no template either.
    const QString pipe = dir.filePath(QStringLiteral("pipe.tda"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.tda"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& name : {pipe, folder, dir.filePath(QStringLiteral("missing.tda"))}) {
        auto doc = NewDoc();
        AddRect(*doc, {1, 2, 3, 4});
        const QByteArray before = Snapshot(*doc);
        const TDocumentResult loaded = doc->Load(name, 0);
        EXPECT_FALSE(loaded) << name.toStdString();
        EXPECT_FALSE(loaded.Reason.isEmpty()) << name.toStdString();
        EXPECT_EQ(Snapshot(*doc), before) << name.toStdString();
    }
}

TEST(TemplateFileTest, CalendarsOfOneDocumentShareOneHolidayList) {
    TPriDocument doc(QStringLiteral(KOMOREBI_APP_DIR "/"));
    ASSERT_TRUE(doc.Load(QStringLiteral(KOMOREBI_APP_DIR "/Template/A4/年間カレンダー.tda"), 0));
    std::vector<const TPriCarendar*> calendars;
    for (auto& obj : doc.Objects())
        if (obj->ObjectNum == okCarendar) calendars.push_back(static_cast<const TPriCarendar*>(obj.get()));
    ASSERT_EQ(calendars.size(), 12u);
    // A year calendar reads the holiday file once, not twelve times.
    for (const TPriCarendar* c : calendars) {
        ASSERT_NE(c->HolidayList(), nullptr);
        EXPECT_EQ(c->HolidayList(), calendars[0]->HolidayList());
        EXPECT_TRUE(c->HolidayCheck());
    }
    EXPECT_TRUE(calendars[0]->IsHoliday(2027, 1, 1));
}
