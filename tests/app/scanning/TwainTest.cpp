#include "app/dialogs/EffectPreview.h"
#include "app/scanning/SaneSourceManager.h"
#include "app/scanning/ScanDlg.h"
#include "app/scanning/ScanSettings.h"
#include "app/scanning/ScanSourceDlg.h"
#include "app/scanning/Twain.h"
#include "imaging/PackedDib.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

// Real frames come from the scanner library's "test" backend, named alone in a dll.conf of our own.
class TwainTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (fConfig) return;
        fConfig = new QTemporaryDir;
        QFile conf(fConfig->filePath(QStringLiteral("dll.conf")));
        if (conf.open(QIODevice::WriteOnly)) conf.write("test\n");
        conf.close();
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(fConfig->path()));
        // Started once for the whole run, as the program does: the test backend lists no devices
        // after being shut down and started again within one process.
        QString error;
        fKeep = new std::shared_ptr<TSaneLibrary>(TSaneLibrary::Open(&error));
    }

    // Skips unless the library loads and offers the test devices.
    void RequireTestBackend() {
        QString error;
        fLibrary = TSaneLibrary::Open(&error);
        if (!fLibrary) GTEST_SKIP() << "libsane cannot be loaded here: " << error.toStdString();
        std::vector<TSaneLibrary::TDevice> devices;
        fLibrary->Devices(devices, &error);
        const bool found = std::any_of(devices.begin(), devices.end(), [](auto& d) { return d.Name == "test:0"; });
        if (!found) GTEST_SKIP() << "the SANE test backend (test:0) is not installed";
    }

    QString SettingsFile() const { return fDir.filePath(QStringLiteral("settings/settings.ini")); }
    void Remember(const QString& device, const QString& mode, int resolution) {
        TScanSettings s;
        s.Device = device;
        s.Mode = mode;
        s.Resolution = resolution;
        ASSERT_TRUE(s.Write(SettingsFile()));
    }

    // A scanner reached through our source manager; setup runs on the manager when it is made.
    std::unique_ptr<TTwain> MakeTwain(std::function<void(TSaneSourceManager&)> setup = {},
                                      const QString& libraryFile = QString()) {
        const QString settings = SettingsFile();
        return std::make_unique<TTwain>([this, settings, setup, libraryFile](QString* error) {
            auto manager = TSaneSourceManager::Load(settings, error, libraryFile);
            if (manager) {
                fManager = manager.get();
                manager->ShowMessage = [this](QWidget*, const QString& text) { fMessages << text; };
                if (setup) setup(*manager);
                // The backend keeps its options from one opening to the next: each test starts
                // from the plain ones.
                manager->ConfigureDevice = [own = manager->ConfigureDevice](TSaneDevice& d) {
                    d.SetOption(QStringLiteral("depth"), 8.0);
                    d.SetOption(QStringLiteral("read-return-value"), QStringLiteral("Default"));
                    d.SetOption(QStringLiteral("read-delay"), 0.0);
                    if (own) own(d);
                };
            }
            return manager;
        });
    }

    static QTemporaryDir* fConfig;
    static std::shared_ptr<TSaneLibrary>* fKeep;
    QTemporaryDir fDir;
    std::shared_ptr<TSaneLibrary> fLibrary;
    TSaneSourceManager* fManager = nullptr;
    QStringList fMessages;
};

QTemporaryDir* TwainTest::fConfig = nullptr;
std::shared_ptr<TSaneLibrary>* TwainTest::fKeep = nullptr;

namespace {

int DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

TEST_F(TwainTest, AMissingLibraryIsReportedAtFirstUseOnly) {
    QString error;
    EXPECT_EQ(TSaneLibrary::Open(&error, QStringLiteral("/nonexistent/libsane.so.1")), nullptr);
    EXPECT_EQ(error, QStringLiteral("スキャナ用のライブラリ (libsane) が見つかりません"));

    auto twain = MakeTwain({}, QStringLiteral("/nonexistent/libsane.so.1"));
    EXPECT_FALSE(twain->ManagerOpen());
    for (int i = 0; i < 2; ++i) {
        try {
            twain->SelectSource(nullptr);
            ADD_FAILURE() << "no error raised";
        } catch (const ETwainError& e) {
            EXPECT_EQ(e.Text, QStringLiteral("スキャナ用のライブラリ (libsane) が見つかりません"));
        }
    }
    QImage picture;
    EXPECT_THROW(twain->Acquire(picture, true, nullptr), ETwainError);
    EXPECT_FALSE(twain->ManagerOpen() || twain->SourceOpen() || twain->SourceEnabled());
    EXPECT_STREQ(twain->AppIdentity().ProductName, "PRODUCT NAME");
    EXPECT_EQ(twain->AppIdentity().Version.Country, 81);
}

TEST_F(TwainTest, CancellingTheSelectionOpensNoSourceAndTheLastScannerIsOfferedFirst) {
    RequireTestBackend();
    Remember(QStringLiteral("test:1"), QStringLiteral("Gray"), 75);
    QString offered;
    auto twain = MakeTwain([&](TSaneSourceManager& m) {
        m.ChooseDevice = [&](QWidget*, const QString& preferred) {
            offered = preferred;
            return QString();
        };
    });
    EXPECT_FALSE(twain->SelectSource(nullptr));
    EXPECT_EQ(offered, QStringLiteral("test:1"));
    EXPECT_TRUE(twain->ManagerOpen());
    EXPECT_FALSE(twain->SourceOpen());

    // The chooser window lists the devices, the remembered one selected.
    TScanSourceDlg chooser(fLibrary, QStringLiteral("test:1"));
    QSignalSpy found(&chooser, &TScanSourceDlg::SearchFinished);
    ASSERT_TRUE(found.wait(10000));
    EXPECT_GE(chooser.List()->count(), 2)
        << chooser.findChild<QLabel*>(QStringLiteral("StatusLabel"))->text().toStdString();
    EXPECT_EQ(chooser.SelectedDevice(), QStringLiteral("test:1"));
}

TEST_F(TwainTest, ScansRealFramesRemembersTheScannerAndReusesTheOpenSource) {
    RequireTestBackend();
    Remember(QStringLiteral("test:0"), QStringLiteral("Color"), 75);
    int chosen = 0;
    auto twain = MakeTwain([&](TSaneSourceManager& m) {
        m.ChooseDevice = [&](QWidget*, const QString& preferred) {
            ++chosen;
            return preferred;
        };
        m.ConfigureDevice = [](TSaneDevice& d) {
            d.SetOption(QStringLiteral("test-picture"), QStringLiteral("Color pattern"));
        };
    });
    ASSERT_TRUE(twain->SelectSource(nullptr));
    QImage picture;
    ASSERT_TRUE(twain->Acquire(picture, false, nullptr)) << fMessages.join('\n').toStdString();
    EXPECT_EQ(picture.size(), QSize(236, 295));
    EXPECT_GT(DistinctColours(picture), 4);
    EXPECT_TRUE(twain->SourceOpen());
    EXPECT_FALSE(twain->SourceEnabled());

    // Again without choosing: the open source scans once more.
    QImage second;
    ASSERT_TRUE(twain->Acquire(second, false, nullptr));
    EXPECT_EQ(second, picture);
    EXPECT_EQ(chosen, 1);

    const TIniFile ini(SettingsFile());
    EXPECT_EQ(ini.ReadString(QStringLiteral("Scanner"), QStringLiteral("Device"), QString()), QStringLiteral("test:0"));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Scanner"), QStringLiteral("Resolution"), 0), 75);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Scanner"), QStringLiteral("Mode"), QString()), QStringLiteral("Color"));
}

TEST_F(TwainTest, LineArtScanGivesAOneBitBitmapWithTheSixtyTwoByteOffset) {
    RequireTestBackend();
    TSaneDevice device(fLibrary);
    QString error;
    ASSERT_TRUE(device.Open(QStringLiteral("test:0"), &error)) << error.toStdString();
    ASSERT_TRUE(device.SetMode(QStringLiteral("Gray")));
    ASSERT_TRUE(device.SetOption(QStringLiteral("depth"), 1.0));
    // The backend's own default resolution is a fraction of a dot per inch.
    ASSERT_TRUE(device.SetResolution(75));
    device.SetOption(QStringLiteral("test-picture"), QStringLiteral("Grid"));
    TSaneFrame frame;
    std::atomic_bool cancel{false};
    ASSERT_EQ(device.Scan(frame, {}, cancel, &error), TSaneDevice::TResult::Done) << error.toStdString();
    EXPECT_EQ(frame.Depth, 1);
    const QByteArray dib = TPackedDib::FromFrame(frame, &error);
    EXPECT_EQ(TPackedDib::PixelOffset(dib), 62);
    const QImage image = TPackedDib::Decode(dib, &error);
    ASSERT_EQ(image.size(), QSize(frame.Width, frame.Height));
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

TEST_F(TwainTest, AScanCancelledHalfwayLeavesThePictureAndTheSourceReady) {
    RequireTestBackend();
    Remember(QStringLiteral("test:0"), QStringLiteral("Color"), 75);
    auto twain = MakeTwain([](TSaneSourceManager& m) {
        m.ChooseDevice = [](QWidget*, const QString& preferred) { return preferred; };
        m.ConfigureDevice = [](TSaneDevice& d) {
            // A pause after each piece the backend sends: the picture takes most of a second.
            d.SetOption(QStringLiteral("read-delay"), 1.0);
            d.SetOption(QStringLiteral("read-delay-duration"), 200000.0);
        };
    });
    ASSERT_TRUE(twain->SelectSource(nullptr));
    int seenProgress = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        TScanDlg* window = fManager ? fManager->ScanWindow() : nullptr;
        if (!window || window->Progress()->value() <= 0) return;
        seenProgress = window->Progress()->value();
        window->CancelButton()->click();
        poll.stop();
    });
    poll.start(5);
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::red);
    try {
        twain->Acquire(picture, false, nullptr);
        ADD_FAILURE() << "no error raised";
    } catch (const ETwainError& e) {
        EXPECT_EQ(e.Text, QStringLiteral("キャンセルされました"));
    }
    EXPECT_GT(seenProgress, 0);
    EXPECT_LT(seenProgress, 100);
    EXPECT_EQ(picture.size(), QSize(1, 1));
    EXPECT_TRUE(twain->SourceOpen());
    EXPECT_FALSE(twain->SourceEnabled());
    EXPECT_EQ(fManager->ScanWindow(), nullptr);

    // The same source scans whole afterwards.
    fManager->Device()->SetOption(QStringLiteral("read-delay"), 0.0);
    ASSERT_TRUE(twain->Acquire(picture, false, nullptr));
    EXPECT_EQ(picture.size(), QSize(236, 295));
}

TEST_F(TwainTest, AScannerFailingMidScanEndsTheScanWithAMessage) {
    RequireTestBackend();
    Remember(QStringLiteral("test:0"), QStringLiteral("Color"), 75);
    auto twain = MakeTwain([](TSaneSourceManager& m) {
        m.ChooseDevice = [](QWidget*, const QString& preferred) { return preferred; };
        m.ConfigureDevice = [](TSaneDevice& d) {
            d.SetOption(QStringLiteral("read-return-value"), QStringLiteral("SANE_STATUS_IO_ERROR"));
        };
    });
    ASSERT_TRUE(twain->SelectSource(nullptr));
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    try {
        twain->Acquire(picture, false, nullptr);
        ADD_FAILURE() << "no error raised";
    } catch (const ETwainError& e) {
        EXPECT_EQ(e.Text, QStringLiteral("転送中にエラー発生"));
    }
    EXPECT_EQ(fMessages, QStringList{QStringLiteral("スキャナとの通信が途切れました")});
    EXPECT_EQ(picture.size(), QSize(2, 2));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(TwainTest, TheScanWindowPreviewsScansAndCloses) {
    RequireTestBackend();
    Remember(QStringLiteral("test:0"), QStringLiteral("Color"), 75);
    auto twain = MakeTwain(
        [](TSaneSourceManager& m) { m.ChooseDevice = [](QWidget*, const QString& preferred) { return preferred; }; });
    ASSERT_TRUE(twain->SelectSource(nullptr));
    bool previewed = false;
    QStringList modes;
    QTimer drive;
    drive.setSingleShot(true);
    QObject::connect(&drive, &QTimer::timeout, [&] {
        TScanDlg* window = fManager->ScanWindow();
        ASSERT_NE(window, nullptr);
        for (int i = 0; i < window->ModeBox()->count(); ++i)
            modes << window->ModeBox()->itemText(i);
        QObject::connect(window, &TScanDlg::PreviewReady, window, [&previewed, window] {
            previewed = !window->PreviewBox()->Picture().isNull();
            window->ScanButton()->click();
        });
        window->findChild<QPushButton*>(QStringLiteral("PreviewBtn"))->click();
    });
    drive.start(0);
    QImage picture;
    ASSERT_TRUE(twain->Acquire(picture, true, nullptr));
    EXPECT_TRUE(previewed);
    EXPECT_EQ(modes, (QStringList{QStringLiteral("グレー"), QStringLiteral("カラー")}));
    EXPECT_EQ(picture.size(), QSize(236, 295));

    // Closing the window ends the acquisition without a picture.
    QTimer::singleShot(0,
                       [&] { fManager->ScanWindow()->findChild<QPushButton*>(QStringLiteral("CloseBtn"))->click(); });
    QImage none;
    EXPECT_FALSE(twain->Acquire(none, true, nullptr));
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(twain->SourceEnabled());
}
