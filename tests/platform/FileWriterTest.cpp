#include "document/PriDocument.h"
#include "document/TemplateFile.h"
#include "platform/FileWriter.h"
#include "platform/IniFile.h"
#include "print/CardData.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {

QByteArray ReadAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A folder where writing soon fails: a tiny tmpfs where the test may mount one (a real full
// disk), else a file-size limit on this process (the write fails with EFBIG instead).
class TFullDisk {
public:
    TFullDisk() {
        fFolder = fDir.path() + QStringLiteral("/full");
        QDir().mkpath(fFolder);
        if (::mount("tmpfs", QFile::encodeName(fFolder).constData(), "tmpfs", 0, "size=64k") == 0) {
            fMounted = true;
            // Fill it, leaving less than any file written below needs.
            QFile filler(fFolder + QStringLiteral("/filler"));
            filler.open(QIODevice::WriteOnly);
            while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
            }
            return;
        }
        getrlimit(RLIMIT_FSIZE, &fOldLimit);
        fOldSignal = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~TFullDisk() {
        if (fMounted)
            ::umount(QFile::encodeName(fFolder).constData());
        else {
            setrlimit(RLIMIT_FSIZE, &fOldLimit);
            std::signal(SIGXFSZ, fOldSignal);
        }
    }
    // Writes the old file while there is room, then takes the room away.
    QString OldFile(const QString& name, const QByteArray& bytes) {
        const QString file = fFolder + QLatin1Char('/') + name;
        if (fMounted) QFile::remove(fFolder + QStringLiteral("/filler"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        if (fMounted) {
            QFile filler(fFolder + QStringLiteral("/filler"));
            filler.open(QIODevice::WriteOnly);
            while (filler.write(QByteArray(1024, 'x')) == 1024 && filler.flush()) {
            }
        } else {
            rlimit small = fOldLimit;
            small.rlim_cur = 64;
            setrlimit(RLIMIT_FSIZE, &small);
        }
        return file;
    }
    const char* ExpectedCause() const { return fMounted ? "ディスクの空き容量が足りません" : "ファイルが大きすぎて"; }

private:
    QTemporaryDir fDir;
    QString fFolder;
    bool fMounted = false;
    rlimit fOldLimit{};
    void (*fOldSignal)(int) = SIG_DFL;
};

// Every file the program saves, written on a disk with no room left: each save must fail, say
// why in Japanese and leave the old file as it was (small files used to be replaced by empty ones).
TEST(FileWriterTest, AFullDiskFailsTheSaveAndKeepsTheOldFile) {
    const QByteArray old("old content");
    const struct {
        const char* name;
        std::function<bool(const QString&, QString*)> save;
    } cases[] = {
        {"plain.bin", [](const QString& f, QString* e) { return TFileWriter::WriteAll(f, QByteArray(3000, 'n'), e); }},
        {"settings.ini",
         [](const QString& f, QString* e) {
             TIniFile ini(f);
             ini.WriteString(QStringLiteral("MainForm"), QStringLiteral("Caption"), QString(800, QChar(u'字')));
             return ini.UpdateFile(e);
         }},
        {"carddata.cdd",
         [](const QString& f, QString* e) {
             TCardSheet sheet;
             sheet.Name = QStringLiteral("ハガキ");
             sheet.SheetWidth = sheet.SeatWidth = sheet.PitchX = 1000;
             sheet.SheetHeight = sheet.SeatHeight = sheet.PitchY = 1480;
             return TCardData::SaveToFile(f, {sheet, sheet, sheet}, e);
         }},
        {"small.tda",
         [](const QString& f, QString* e) {
             TPriDocument doc{QString()};
             doc.PrintPaper.SetFields({0, 0, 1, 0, 1000, 1480, 0, 0, 0, 0, 0, 0, 1, 1, 1000, 1480});
             return TTemplateFile::Save(doc, f, 0, e) == TTemplateFile::TResult::Ok;
         }},
    };
    for (const auto& c : cases) {
        TFullDisk disk;
        const QString file = disk.OldFile(QString::fromLatin1(c.name), old);
        QString error;
        const bool saved = c.save(file, &error);
        EXPECT_FALSE(saved) << c.name;
        EXPECT_TRUE(error.contains(QString::fromUtf8(disk.ExpectedCause()))) << c.name << ": " << qPrintable(error);
        EXPECT_EQ(ReadAll(file), old) << c.name;
        const QStringList leftovers = QDir(QFileInfo(file).absolutePath())
                                          .entryList({QString::fromLatin1(c.name) + QStringLiteral(".*")}, QDir::Files);
        EXPECT_TRUE(leftovers.isEmpty()) << c.name << ": " << qPrintable(leftovers.join(' '));
    }
}

TEST(FileWriterTest, CausesAreNamedInJapanese) {
    EXPECT_EQ(TFileWriter::Cause(ENOSPC, QString()), QStringLiteral("ディスクの空き容量が足りません"));
    EXPECT_EQ(TFileWriter::Cause(EACCES, QStringLiteral("Permission denied")),
              QStringLiteral("書き込む権限がありません: Permission denied"));
    QString error;
    EXPECT_FALSE(TFileWriter::WriteAll(QStringLiteral("/proc/no-such-folder/x"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
