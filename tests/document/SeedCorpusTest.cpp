#include "app/SingleInstance.h"
#include "app/StartImages.h"
#include "document/ClipboardBlock.h"
#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "imaging/PackedDib.h"
#include "merge/RecordFile.h"
#include "print/CardData.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The seeds the writers made; the fuzzer's own finds (found-*) are damaged on purpose.
QFileInfoList WrittenSeeds(const QDir& root, const QString& target) {
    QFileInfoList seeds;
    for (const QFileInfo& seed : QDir(root.filePath(target)).entryInfoList(QDir::Files))
        if (!seed.fileName().startsWith(QStringLiteral("found-"))) seeds.push_back(seed);
    return seeds;
}

} // namespace

// The seeds start the fuzzers from every form a reader knows: each must be read whole, or the
// fuzzer would begin from refusals.
TEST(SeedCorpusTest, EveryTemplateAndRecordFileSeedLoads) {
    const QDir root(QStringLiteral(KOMOREBI_SOURCE_DIR "/tests/fuzz/corpus"));
    const QFileInfoList seeds = WrittenSeeds(root, QStringLiteral("TemplateFuzz"));
    ASSERT_GE(seeds.size(), 20);
    for (const QFileInfo& seed : seeds) {
        TPriDocument doc{QString()};
        QString reason;
        EXPECT_EQ(TTemplateFile::Parse(doc, Read(seed.filePath()), 0, &reason), TTemplateFile::TResult::Ok)
            << seed.fileName().toStdString() << " " << reason.toStdString();
        EXPECT_FALSE(doc.SideObjects(0).empty() && doc.SideObjects(1).empty() && doc.BackObject.IsEmpty())
            << seed.fileName().toStdString();
    }
    const QFileInfoList records = WrittenSeeds(root, QStringLiteral("RecordFileFuzz"));
    ASSERT_GE(records.size(), 4);
    for (const QFileInfo& seed : records) {
        TRecordFile file;
        EXPECT_TRUE(file.LoadFromBytes(Read(seed.filePath()), seed.fileName())) << seed.fileName().toStdString();
        EXPECT_GE(file.Count(), 2) << seed.fileName().toStdString();
    }
}

TEST(SeedCorpusTest, TheShellAndClipboardReadersTakeTheirSeeds) {
    const QDir root(QStringLiteral(KOMOREBI_SOURCE_DIR "/tests/fuzz/corpus"));
    const auto each = [&](const char* target, const std::function<bool(const QByteArray&)>& reads) {
        const QFileInfoList seeds = WrittenSeeds(root, QString::fromLatin1(target));
        EXPECT_GE(seeds.size(), 1) << target;
        for (const QFileInfo& seed : seeds)
            EXPECT_TRUE(reads(Read(seed.filePath()))) << target << " " << seed.fileName().toStdString();
    };
    each("ClipboardBlockFuzz", [](const QByteArray& b) {
        std::vector<std::unique_ptr<TPriBase>> objects;
        return TClipboardBlock::Read(b, objects) == TClipboardBlock::TResult::Ok && !objects.empty();
    });
    each("CardDataFuzz", [](const QByteArray& b) {
        QList<TCardSheet> sheets;
        return TCardData::Read(b, sheets);
    });
    each("StartImagesFuzz", [](const QByteArray& b) {
        std::vector<QImage> images;
        return ParseStartImages(b, images, nullptr) == TStartImagesResult::Ok;
    });
    each("PackedDibFuzz", [](const QByteArray& b) { return !TPackedDib::Decode(b, nullptr).isNull(); });
    each("InstanceMessageFuzz", [](const QByteArray& b) {
        QStringList files;
        return TSingleInstance::DecodeMessage(b, &files);
    });
}
