#include "document/ClipboardBlock.h"
#include "document/EditHistory.h"
#include "document/EditStep.h"
#include "document/ExtensionArea.h"
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "objects/PriShape.h"
#include "platform/StreamWriter.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TPriDocument> NewDoc() {
    auto doc = std::make_unique<TPriDocument>(QString());
    doc->PrintPaper.SetFields({0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
    return doc;
}

TPriBase* Add(TPriDocument& doc, int side, int x) {
    auto shape = std::make_unique<TPriShape>();
    shape->SetStoreRect(QRect(x, 10, 100, 100));
    doc.SideObjects(side).push_back(std::move(shape));
    return doc.SideObjects(side).back().get();
}

TObjectExtras Options(int n) {
    TObjectExtras e;
    e.HyphenRule = TObjectExtras::THyphenRule(n % 3);
    e.ShrinkToFit = true;
    e.PostalLayout = TObjectExtras::TPostalLayout::Boxes;
    e.PrintPostalBoxes = n % 2 == 0;
    e.SenderItem = TObjectExtras::TSenderItem::Address2;
    e.NameBlock = true;
    e.GivenCategory = 5 + n;
    e.HonorificCategory = 8;
    // A bit of a later program's item rides along unchanged.
    e.AlmanacItems = TObjectExtras::aiRokuyou | TObjectExtras::aiFamilyDays | (1u << 20);
    e.AlmanacSize = 5 + n;
    e.AlmanacColors[3] = 0x123456 + n;
    return e;
}

// A document whose first side has a deleted object before the one with options, so positions
// must count written objects only; the second side has options on its last object.
std::unique_ptr<TPriDocument> DocWithOptions(QByteArray& bytes) {
    auto doc = NewDoc();
    Add(*doc, 0, 0)->UndoCheck = true;
    Add(*doc, 0, 100)->Extras = Options(1);
    Add(*doc, 0, 200);
    Add(*doc, 1, 0);
    Add(*doc, 1, 100)->Extras = Options(2);
    EXPECT_EQ(TTemplateFile::Build(*doc, 0, bytes), TTemplateFile::TResult::Ok);
    return doc;
}

qsizetype AreaStart(const QByteArray& bytes) {
    QByteArray magic(4, '\0');
    const int32_t m = TExtensionArea::kMagic;
    memcpy(magic.data(), &m, 4);
    return bytes.lastIndexOf(magic);
}

QByteArray Int32(int32_t v) {
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

} // namespace

TEST(ExtensionAreaTest, OptionsSurviveSaveAndLoadAndABaseReaderSeesThePlainDocument) {
    QByteArray bytes;
    auto doc = DocWithOptions(bytes);
    auto loaded = NewDoc();
    QString reason;
    ASSERT_EQ(TTemplateFile::Parse(*loaded, bytes, 0, &reason), TTemplateFile::TResult::Ok);
    EXPECT_TRUE(reason.isEmpty());
    ASSERT_EQ(loaded->SideObjects(0).size(), 2u);
    EXPECT_EQ(loaded->SideObjects(0)[0]->Extras, Options(1));
    EXPECT_TRUE(loaded->SideObjects(0)[1]->Extras.IsDefault());
    EXPECT_EQ(loaded->SideObjects(1)[1]->Extras, Options(2));
    QByteArray again;
    TTemplateFile::Build(*loaded, 0, again);
    EXPECT_EQ(again, bytes);

    // Without options the file is exactly the base format, and that is where the area begins.
    for (int side : {0, 1})
        for (auto& obj : doc->SideObjects(side))
            obj->Extras = {};
    QByteArray plain;
    TTemplateFile::Build(*doc, 0, plain);
    EXPECT_EQ(AreaStart(bytes), plain.size());
    EXPECT_TRUE(bytes.startsWith(plain));
}

TEST(ExtensionAreaTest, DamagedOrUnknownPartsLeaveTheDocumentLoaded) {
    QByteArray bytes;
    DocWithOptions(bytes);
    const qsizetype area = AreaStart(bytes);
    const QByteArray base = bytes.left(area);
    const QByteArray entries = bytes.mid(area + 12);
    const auto withArea = [&](const QByteArray& e, int32_t magic = TExtensionArea::kMagic) {
        return base + Int32(magic) + Int32(1) + Int32(int32_t(e.size())) + e;
    };
    const QByteArray unknownEntry = Int32(77) + Int32(3) + QByteArray("xyz");
    const QByteArray unknownOption = Int32(1) + Int32(8 + 12) + Int32(0) + Int32(0) + Int32(999) + Int32(4) + Int32(1);
    const QByteArray badEnum = Int32(1) + Int32(8 + 12) + Int32(1) + Int32(0) + Int32(1) + Int32(4) + Int32(7);
    const QByteArray outOfRange = Int32(1) + Int32(8) + Int32(0) + Int32(5);
    struct TCase {
        const char* name;
        QByteArray file;
        bool damaged;
        bool firstKept;  // the first side's options still apply
        bool secondKept; // the second side's
    };
    const TCase cases[] = {
        {"unknown entry tag", withArea(unknownEntry + entries), false, true, true},
        {"unknown option tag", withArea(unknownOption + entries), false, true, true},
        {"option with an impossible value", withArea(badEnum + entries), true, true, true},
        {"entry naming no object", withArea(outOfRange + entries), true, true, true},
        {"entries cut short", withArea(entries.left(entries.size() - 3)), true, true, false},
        {"area longer than the file", bytes.left(bytes.size() - 5), true, false, false},
        {"wrong magic", withArea(entries, 0x12345678), true, false, false},
        {"a stray byte after the end marker", base + QByteArray(1, 'x'), true, false, false},
    };
    for (const TCase& c : cases) {
        auto doc = NewDoc();
        QString reason;
        ASSERT_EQ(TTemplateFile::Parse(*doc, c.file, 0, &reason), TTemplateFile::TResult::Ok) << c.name;
        EXPECT_EQ(reason == TTemplateFile::kDamagedExtension, c.damaged) << c.name;
        ASSERT_EQ(doc->SideObjects(0).size(), 2u) << c.name;
        EXPECT_EQ(doc->SideObjects(0)[0]->Extras == Options(1), c.firstKept) << c.name;
        EXPECT_EQ(doc->SideObjects(1)[1]->Extras == Options(2), c.secondKept) << c.name;
    }
}

TEST(ExtensionAreaTest, OptionsTravelThroughTheClipboardAndUndo) {
    TPriShape a, b;
    a.ObjectNum = b.ObjectNum = okShape;
    b.Extras = Options(0);
    const QByteArray block = TClipboardBlock::Write({&a, &b});
    std::vector<std::unique_ptr<TPriBase>> read;
    ASSERT_EQ(TClipboardBlock::Read(block, read), TClipboardBlock::TResult::Ok);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_TRUE(read[0]->Extras.IsDefault());
    EXPECT_EQ(read[1]->Extras, Options(0));
    // A damaged area still pastes the objects, without their options.
    ASSERT_EQ(TClipboardBlock::Read(block.left(block.size() - 2), read), TClipboardBlock::TResult::Ok);
    EXPECT_TRUE(read[1]->Extras.IsDefault());

    auto doc = NewDoc();
    TPriBase* obj = doc->AppendObject(std::make_unique<TPriShape>());
    {
        TEditStep step(*doc, ukProperty);
        step.Record(obj);
        obj->Extras = Options(2);
    }
    ASSERT_TRUE(doc->History().Undo());
    EXPECT_TRUE(obj->Extras.IsDefault());
    ASSERT_TRUE(doc->History().Redo());
    EXPECT_EQ(obj->Extras, Options(2));
}
