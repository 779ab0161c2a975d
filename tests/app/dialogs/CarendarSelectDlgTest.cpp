#include "app/dialogs/CarendarSelectDlg.h"
#include "app/dialogs/Image_Ex.h"
#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/StreamWriter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kShipped = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/");

// An application folder of its own with empty template folders.
struct TAppFolder {
    QTemporaryDir dir;
    QString path;

    TAppFolder() : path(dir.path() + QLatin1Char('/')) {
        for (const char* kind : {"A4", "A5", "Hagaki", "L", "Meishi"})
            QDir().mkpath(path + QStringLiteral("Template/") + QLatin1String(kind));
    }

    QString Folder(const char* kind) const { return path + QStringLiteral("Template/") + QLatin1String(kind) + "/"; }

    void Write(const QString& file, const QByteArray& bytes) const {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // A file with only the 8 bytes the chooser reads, and some body.
    void Header(const char* kind, const QString& name, int32_t magic = TTemplateFile::kMagic, int32_t version = 6) {
        TStreamWriter w;
        w.WriteInt32(magic);
        w.WriteInt32(version);
        w.WriteInt32(0);
        Write(Folder(kind) + name, w.Bytes());
    }

    void Thumbnail(const char* kind, const QString& name, QColor color) {
        QImage image(240, 170, QImage::Format_RGB32);
        image.fill(color);
        Write(Folder(kind) + name, TJpegCodec::Encode(image));
    }

    void CopyShipped(const char* kind) {
        const QDir from(kShipped + QStringLiteral("Template/") + QLatin1String(kind));
        for (const QString& name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), Folder(kind) + name);
    }
};

struct TDialog {
    TCarendarSelectDlg dlg;
    QStringList messages;

    explicit TDialog(const QString& appPath) : dlg(appPath) {
        dlg.ShowMessage = [this](const QString& text) { messages << text; };
    }

    bool Prepare() {
        const bool ok = dlg.PrepareLists();
        if (ok && dlg.ThumbnailsPending()) {
            QSignalSpy loaded(&dlg, &TCarendarSelectDlg::ThumbnailsLoaded);
            EXPECT_TRUE(loaded.wait(10000));
        }
        return ok;
    }

    QString Name() const { return dlg.findChild<QLabel*>(QStringLiteral("LabelSX1"))->text(); }
};

} // namespace

TEST(CarendarSelectDlgTest, OnlyLHasTemplates) {
    TAppFolder app;
    app.CopyShipped("L");
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    EXPECT_EQ(d.dlg.windowTitle(), QStringLiteral("カレンダーウィザード"));
    EXPECT_EQ(d.dlg.CurrentKind(), 3);
    EXPECT_EQ(d.dlg.TabControl()->tabText(d.dlg.CurrentKind()), QStringLiteral("L判"));
    for (int kind = 0; kind < 5; ++kind)
        EXPECT_EQ(d.dlg.KindAvailable(kind), kind == 3) << kind;
    const auto& list = d.dlg.TemplateList(3);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(d.dlg.FilePath(), list[0].FTemplatePath);
    EXPECT_TRUE(d.dlg.TemplateButton(3, 0)->isChecked());
    EXPECT_EQ(d.Name(), TTDataUnit::DisplayName(list[0].FTemplatePath));
    EXPECT_FALSE(d.dlg.PreviewImage()->Picture().isNull());

    // Another tab, by mouse or by program, returns to "L判" and keeps the choice.
    d.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.dlg));
    QTabBar* tabs = d.dlg.TabControl();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(tabs->currentIndex(), 3);
    tabs->setCurrentIndex(4);
    EXPECT_EQ(tabs->currentIndex(), 3);
    EXPECT_EQ(d.dlg.FilePath(), list[0].FTemplatePath);
    EXPECT_TRUE(d.messages.isEmpty());
}

TEST(CarendarSelectDlgTest, NoTemplatesAnywhereFailsWithAMessage) {
    TAppFolder app;
    app.Header("A4", QStringLiteral("old.tda"), TTemplateFile::kMagic, 7);
    TDialog d(app.path);
    EXPECT_FALSE(d.Prepare());
    EXPECT_EQ(d.messages, QStringList{QStringLiteral("起動エラー\r\nインストールしなおして下さい")});
    // No folders at all.
    QTemporaryDir empty;
    TDialog none(empty.path() + QLatin1Char('/'));
    EXPECT_FALSE(none.Prepare());
    EXPECT_EQ(none.messages.size(), 1);
}

// Only the files passing the header test are offered; a bad one never costs its kind.
TEST(CarendarSelectDlgTest, HeaderTestSkipsBadFilesOnly) {
    TAppFolder app;
    app.Header("A5", QStringLiteral("a-good.tda"));
    app.Header("A5", QStringLiteral("b-version7.tda"), TTemplateFile::kMagic, 7);
    app.Header("A5", QStringLiteral("c-version0.tda"), TTemplateFile::kMagic, 0);
    app.Header("A5", QStringLiteral("d-magic.tda"), 65490, 6);
    app.Write(app.Folder("A5") + "e-short.tda", QByteArray("\xD1\xFF\x00\x00\x06", 5));
    app.Write(app.Folder("A5") + "f-empty.tda", QByteArray());
    app.Header("A5", QStringLiteral("g-version1.tda"), TTemplateFile::kMagic, 1);
    app.Header("A5", QStringLiteral("h-other.txt"));
    QDir().mkdir(app.Folder("A5") + "i-folder.tda");
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    EXPECT_EQ(d.dlg.CurrentKind(), 1);
    const auto& list = d.dlg.TemplateList(1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].FTemplatePath.endsWith(QStringLiteral("/a-good.tda")));
    EXPECT_TRUE(list[1].FTemplatePath.endsWith(QStringLiteral("/g-version1.tda")));
    EXPECT_EQ(d.dlg.TemplateButton(1, 2), nullptr);
}

TEST(CarendarSelectDlgTest, FiveTemplatesFillTwoColumns) {
    TAppFolder app;
    for (int i = 0; i < 5; ++i)
        app.Header("Hagaki", QStringLiteral("t%1.tda").arg(i));
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    const QPoint places[] = {{0, 0}, {130, 0}, {0, 130}, {130, 130}, {0, 260}};
    for (int k = 0; k < 5; ++k) {
        QAbstractButton* button = d.dlg.TemplateButton(2, k);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(places[k], QSize(130, 130))) << k;
        EXPECT_EQ(button->text(), QStringLiteral("サムネイルなし"));
        auto* picture = button->findChild<TImage_Ex*>();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->geometry(), QRect(5, 5, 120, 120));
    }
}

TEST(CarendarSelectDlgTest, OkUntouchedGivesFirstTemplateThisYearJanuary) {
    TAppFolder app;
    app.CopyShipped("A5");
    app.CopyShipped("Meishi");
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    d.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.dlg));
    QTest::mouseClick(d.dlg.findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);
    EXPECT_EQ(d.dlg.FilePath(), d.dlg.TemplateList(1)[0].FTemplatePath);
    EXPECT_EQ(d.dlg.Year(), QDate::currentDate().year());
    EXPECT_EQ(d.dlg.Month(), 1);
}

TEST(CarendarSelectDlgTest, ThumbnailsArriveAndDamagedOnesShowNone) {
    TAppFolder app;
    app.Header("L", QStringLiteral("a.tda"));
    app.Thumbnail("L", QStringLiteral("a.jpg"), Qt::red);
    app.Header("L", QStringLiteral("b.tda"));
    app.Write(app.Folder("L") + "b.jpg", QByteArray("broken jpeg"));
    app.Header("L", QStringLiteral("c.tda"));
    app.Header("L", QStringLiteral("d.tda"));
    app.Write(app.Folder("L") + "d.jpg", TJpegCodec::Encode(QImage(4000, 10, QImage::Format_RGB32)).left(200));
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    const auto& list = d.dlg.TemplateList(3);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_FALSE(list[0].FNoThumbnail);
    EXPECT_EQ(d.dlg.TemplateButton(3, 0)->text(), QString());
    // The button picture fits its 120 × 120 slot, the preview picture the 345 × 345 one.
    EXPECT_EQ(list[0].FButtonImage.size(), QSize(120, 85));
    EXPECT_EQ(list[0].FThumbnail.size(), QSize(240, 170));
    EXPECT_EQ(d.dlg.PreviewImage()->Picture().size(), QSize(240, 170));
    for (int k : {1, 2, 3}) {
        EXPECT_TRUE(list[size_t(k)].FNoThumbnail) << k;
        EXPECT_EQ(d.dlg.TemplateButton(3, k)->text(), QStringLiteral("サムネイルなし")) << k;
    }
    // Choosing a template without a thumbnail empties the preview and names the template.
    d.dlg.TemplateButton(3, 2)->click();
    EXPECT_TRUE(d.dlg.PreviewImage()->Picture().isNull());
    EXPECT_EQ(d.Name(), QStringLiteral("c"));
    EXPECT_TRUE(d.dlg.FilePath().endsWith(QStringLiteral("/c.tda")));
}

TEST(CarendarSelectDlgTest, KeyboardChoosesAndConfirms) {
    TAppFolder app;
    for (int i = 0; i < 4; ++i)
        app.Header("A4", QStringLiteral("k%1.tda").arg(i));
    TDialog d(app.path);
    ASSERT_TRUE(d.Prepare());
    d.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d.dlg));
    QAbstractButton* first = d.dlg.TemplateButton(0, 0);
    EXPECT_TRUE(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Right);
    EXPECT_TRUE(d.dlg.FilePath().endsWith(QStringLiteral("/k1.tda")));
    QTest::keyClick(d.dlg.TemplateButton(0, 1), Qt::Key_Down);
    EXPECT_TRUE(d.dlg.FilePath().endsWith(QStringLiteral("/k3.tda")));
    auto* year = d.dlg.findChild<QSpinBox*>(QStringLiteral("SpinEdit_Year"));
    auto* month = d.dlg.findChild<QSpinBox*>(QStringLiteral("SpinEdit_Month"));
    year->setValue(1800);
    EXPECT_EQ(d.dlg.Year(), 1900);
    year->setValue(2031);
    month->setValue(13);
    EXPECT_EQ(d.dlg.Year(), 2031);
    EXPECT_EQ(d.dlg.Month(), 12);
    // Tab from the paper kinds reaches the chosen template, then the year.
    d.dlg.TabControl()->setFocus();
    QTest::keyClick(d.dlg.TabControl(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.dlg.TemplateButton(0, 3));
    QTest::keyClick(d.dlg.TemplateButton(0, 3), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), year);
    QTest::keyClick(year, Qt::Key_Return);
    EXPECT_EQ(d.dlg.result(), QDialog::Accepted);

    TDialog again(app.path);
    ASSERT_TRUE(again.Prepare());
    again.dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again.dlg));
    QTest::keyClick(&again.dlg, Qt::Key_Escape);
    EXPECT_EQ(again.dlg.result(), QDialog::Rejected);
}

TEST(CarendarSelectDlgTest, ShippedTemplatesFillEveryKind) {
    TDialog d(kShipped);
    ASSERT_TRUE(d.Prepare());
    EXPECT_EQ(d.dlg.CurrentKind(), 0);
    for (int kind = 0; kind < 5; ++kind) {
        EXPECT_TRUE(d.dlg.KindAvailable(kind)) << kind;
        // Three calendar designs each; A4, Hagaki (the address side) and Meishi also carry the
        // data-merge examples.
        EXPECT_EQ(d.dlg.TemplateList(kind).size(), kind == 0 ? 7u : kind == 2 || kind == 4 ? 4u : 3u) << kind;
        for (const TTDataUnit& unit : d.dlg.TemplateList(kind))
            EXPECT_FALSE(unit.FNoThumbnail) << qPrintable(unit.FTemplatePath);
    }
    d.dlg.TabControl()->setCurrentIndex(2);
    EXPECT_EQ(d.dlg.CurrentKind(), 2);
    EXPECT_EQ(d.dlg.FilePath(), d.dlg.TemplateList(2)[0].FTemplatePath);
    EXPECT_TRUE(d.dlg.TemplateButton(2, 0)->isChecked());
}

// Closing the dialog while thumbnails are still being decoded neither waits long nor crashes.
TEST(CarendarSelectDlgTest, DestroyedWhileLoading) {
    TAppFolder app;
    QImage big(1600, 1200, QImage::Format_RGB32);
    big.fill(Qt::darkGreen);
    const QByteArray jpeg = TJpegCodec::Encode(big);
    for (int i = 0; i < 40; ++i) {
        app.Header("A4", QStringLiteral("p%1.tda").arg(i, 2, 10, QLatin1Char('0')));
        app.Write(app.Folder("A4") + QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0')), jpeg);
    }
    for (int round = 0; round < 3; ++round) {
        auto d = std::make_unique<TDialog>(app.path);
        ASSERT_TRUE(d->dlg.PrepareLists());
        // Preparing again replaces the lists; pictures meant for the old ones are dropped.
        QCoreApplication::processEvents();
        ASSERT_TRUE(d->dlg.PrepareLists());
        EXPECT_EQ(d->dlg.TemplateList(0).size(), 40u);
        QCoreApplication::processEvents();
        d.reset();
        QCoreApplication::processEvents();
    }
}
