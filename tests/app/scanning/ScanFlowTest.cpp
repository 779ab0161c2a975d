#include "app/scanning/ScanFlow.h"
#include "document/OutMessage.h"
#include "document/PriPaint.h"
#include "platform/AppPaths.h"
#include "platform/DialogLibrary.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Only the scan choice answers; it records whether it was asked.
class TScanChoiceLibrary : public TDialogLibrary {
public:
    bool Present = true;
    int32_t Choice = 0;
    int Asked = 0;
    // Runs while the choice is asked, as anything else on the machine could.
    std::function<void()> WhileAsked;
    TDlgAnswer SaveTWAINImageDlg(int32_t& choice) override {
        if (!Present) return {};
        ++Asked;
        if (WhileAsked) WhileAsked();
        choice = Choice;
        return {true, 1};
    }
    TDlgAnswer StartCheckDlg(int32_t&, const QString&, const QString&) override { return {}; }
    TDlgAnswer RecordSettingDlg(QString&, QString&, int32_t&) override { return {}; }
    TDlgAnswer PositionEditDlg(TPackObjectList&) override { return {}; }
    TDlgAnswer EditCategory(const QString&, int32_t, int32_t&, QString&) override { return {}; }
    TDlgAnswer StringEditDlg(const QString&, QString&) override { return {}; }
    TDlgAnswer FontEditDlg(int32_t, TPriLabel*, const QString&, QString&, int32_t&, int32_t&, int32_t&) override {
        return {};
    }
    TDlgAnswer CarendarSetDlg(TPriCarendar*) override { return {}; }
    TDlgAnswer PenBrushSetDlg(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t) override {
        return {};
    }
    TDlgAnswer PortalSettingDlg(int32_t&, const QString&, QString&, const QStringList&) override { return {}; }
    TDlgAnswer PaperNewSettingDlg(TPriPaper*, int32_t) override { return {}; }
    TDlgAnswer PrintPaperSettingDlg(const QString&, TPriPaper*, int32_t&, int32_t&, int32_t) override { return {}; }
    TDlgAnswer PrintPreviewDlg(TPrintPreview*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, QStringList&,
                               int32_t, int32_t, bool, int32_t) override {
        return {};
    }
    TDlgAnswer GetTrueType(QStringList&, int32_t, bool) override { return {}; }
};

struct TFlowFixture {
    QTemporaryDir Dir;
    TAppPaths Paths = TAppPaths::ForFolder(Dir.path() + '/');
    TPriPaint Surface{nullptr, QString(), 96, std::make_unique<TFixedPrinter>()};
    TScanChoiceLibrary Dialogs;
    TScanFlow Flow{Surface, Paths, Dialogs, nullptr};
    QStringList Messages;
    QImage Scanned;
    bool Acquired = true;

    TFlowFixture() {
        Surface.PrintPaper.SetFields({0, 0, 1, 0, 2100, 2970, 0, 0, 0, 0, 0, 0, 1, 1, 2100, 2970});
        Surface.SetPageLayout({10, 10}, {600, 800});
        Flow.ShowMessage = [this](const QString& text) { Messages << text; };
        Flow.Acquire = [this](QImage& picture) {
            picture = Scanned;
            return Acquired;
        };
    }
};

QImage Photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    return image;
}

} // namespace

TEST(ScanFlowTest, TheChoicePlacesTheQuarterSizeScan) {
    struct Case {
        bool present;
        int32_t choice;
        bool placed, background, image;
    } cases[] = {
        {true, 1, true, true, false},   {true, 2, true, false, true},    {true, 0, false, false, false},
        {true, 7, false, false, false}, {false, 1, false, false, false}, // no dialog library: nothing happens
    };
    for (const Case& c : cases) {
        TFlowFixture f;
        f.Scanned = Photo(400, 203);
        f.Dialogs.Present = c.present;
        f.Dialogs.Choice = c.choice;
        EXPECT_EQ(f.Flow.Run(), c.placed) << c.choice;
        const QImage file(f.Flow.ScanFile());
        EXPECT_EQ(file.size(), QSize(100, 50)) << "a.bmp is written before the choice";
        EXPECT_EQ(f.Flow.ScanFile(), f.Paths.UserPath() + "temp/a.bmp");
        EXPECT_EQ(f.Surface.BackObject.ActiveBack().size(), c.background ? QSize(100, 50) : QSize(0, 0)) << c.choice;
        EXPECT_EQ(f.Surface.Objects().size(), c.image ? 1u : 0u) << c.choice;
        EXPECT_TRUE(f.Messages.isEmpty());
    }
}

TEST(ScanFlowTest, NoPictureNoFileNoChoice) {
    {
        TFlowFixture f;
        f.Acquired = false;
        EXPECT_FALSE(f.Flow.Run());
        EXPECT_TRUE(f.Messages.isEmpty());
        EXPECT_EQ(f.Dialogs.Asked, 0);
    }
    {
        TFlowFixture f;
        f.Scanned = QImage();
        EXPECT_FALSE(f.Flow.Run());
        EXPECT_EQ(f.Messages, QStringList{QStringLiteral("スキャナから読み込めませんでした")});
        EXPECT_FALSE(QFile::exists(f.Flow.ScanFile()));
        EXPECT_EQ(f.Dialogs.Asked, 0);
    }
    {
        // A tiny scan still gives a one-pixel file rather than an empty one.
        TFlowFixture f;
        f.Scanned = Photo(3, 2);
        f.Dialogs.Choice = 1;
        EXPECT_TRUE(f.Flow.Run());
        EXPECT_EQ(QImage(f.Flow.ScanFile()).size(), QSize(1, 1));
    }
}

TEST(ScanFlowTest, AFailedWriteStopsBeforeAnOldScanCanBePlaced) {
    TFlowFixture f;
    // The folder cannot be made: a file stands where it should be.
    QFile blocker(f.Paths.UserPath() + "temp");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.Scanned = Photo(400, 200);
    f.Dialogs.Choice = 1;
    EXPECT_FALSE(f.Flow.Run());
    ASSERT_EQ(f.Messages.size(), 1);
    EXPECT_TRUE(f.Messages[0].startsWith(QStringLiteral("スキャンした画像を保存できませんでした")));
    EXPECT_EQ(f.Dialogs.Asked, 0);
    EXPECT_TRUE(f.Surface.BackObject.IsEmpty());

    // With the folder there, a stale a.bmp is replaced by the new scan.
    TFlowFixture g;
    QDir().mkpath(g.Paths.TempFolder());
    Photo(8, 8).save(g.Flow.ScanFile(), "BMP");
    g.Scanned = Photo(40, 40);
    g.Dialogs.Choice = 1;
    EXPECT_TRUE(g.Flow.Run());
    EXPECT_EQ(QImage(g.Flow.ScanFile()).size(), QSize(10, 10));
}

TEST(ScanFlowTest, ABackgroundThatCannotBeReadIsReportedNotPlaced) {
    TOutMessage messages;
    ASSERT_TRUE(messages.LoadMessages(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/settings/outmessage.txt")));
    TFlowFixture f;
    f.Surface.OutMess = &messages;
    f.Scanned = Photo(400, 200);
    f.Dialogs.Choice = 1;
    f.Dialogs.WhileAsked = [&] {
        QFile file(f.Flow.ScanFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("BM not a bitmap");
    };
    EXPECT_FALSE(f.Flow.Run());
    EXPECT_EQ(f.Messages, QStringList{QStringLiteral("画像ファイルを読み込めませんでした。")});
    EXPECT_TRUE(f.Surface.BackObject.IsEmpty());
}
