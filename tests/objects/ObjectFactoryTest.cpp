#include "calendar/PriCarendar.h"
#include "document/ObjectKinds.h"
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "objects/ObjectFactory.h"
#include "objects/PriImage.h"
#include "objects/PriLabel.h"
#include "objects/PriLine.h"
#include "objects/PriShape.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

template <class T> bool Is(const TPriBase* obj) {
    return dynamic_cast<const T*>(obj) != nullptr;
}

} // namespace

// The test program's main runs the same start-up as the program; after it every stored kind
// must come back as its own class, or loading, undo copies and paste silently drop objects.
TEST(ObjectFactoryTest, EveryStoredKindIsCreatableAfterStartUp) {
    struct TCase {
        int Kind;
        bool (*Check)(const TPriBase*);
    };
    const TCase cases[] = {
        {okLabel, Is<TPriLabel>}, {okImage, Is<TPriImage>},   {okField, Is<TPriField>},       {okShape, Is<TPriShape>},
        {okLine, Is<TPriLine>},   {okPortal, Is<TPriPortal>}, {okCarendar, Is<TPriCarendar>},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Kind);
        EXPECT_TRUE(TObjectFactory::IsKnownKind(c.Kind));
        auto obj = TObjectFactory::Create(c.Kind);
        ASSERT_NE(obj, nullptr);
        EXPECT_TRUE(c.Check(obj.get()));
        EXPECT_EQ(obj->ObjectNum, c.Kind);
        // Each call gives a new object, never a shared one.
        auto again = TObjectFactory::Create(c.Kind);
        EXPECT_NE(again.get(), obj.get());
    }
    for (int kind : {-1, 7, 65491, -2147483647 - 1}) {
        EXPECT_FALSE(TObjectFactory::IsKnownKind(kind)) << kind;
        EXPECT_EQ(TObjectFactory::Create(kind), nullptr) << kind;
    }
}

TEST(ObjectFactoryTest, RegistrationRefusesStrayKindsAndRepeatsHarmlessly) {
    EXPECT_FALSE(TObjectFactory::Register(7, [] { return std::make_unique<TPriShape>(); }));
    EXPECT_FALSE(TObjectFactory::Register(-1, [] { return std::make_unique<TPriShape>(); }));
    EXPECT_FALSE(TObjectFactory::Register(okShape, nullptr));
    EXPECT_TRUE(TObjectFactory::IsKnownKind(okShape));
    TObjectKinds::RegisterAll();
    TObjectKinds::RegisterAll();
    auto cal = TObjectFactory::Create(okCarendar);
    ASSERT_NE(cal, nullptr);
    EXPECT_EQ(cal->ObjectNum, okCarendar);
}

// The objects layer sits below calendars, merge, documents and printing: none of its files may
// reach up to them.
TEST(ObjectFactoryTest, ObjectsFolderIncludesNothingFromTheLayersAbove) {
    const QRegularExpression upward(
        QStringLiteral(R"(^\s*#\s*include\s*[<"](calendar|merge|document|print|app|packs)/)"),
        QRegularExpression::MultilineOption);
    int files = 0;
    QDirIterator it(QStringLiteral(KOMOREBI_SOURCE_DIR "/src/objects"), {"*.h", "*.cpp"}, QDir::Files);
    while (it.hasNext()) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(f.fileName());
        ++files;
        const QString text = QString::fromUtf8(f.readAll());
        const auto match = upward.match(text);
        EXPECT_FALSE(match.hasMatch()) << qPrintable(f.fileName()) << ": " << qPrintable(match.captured(0));
    }
    EXPECT_GT(files, 10);
}
