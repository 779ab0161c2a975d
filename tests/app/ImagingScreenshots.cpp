// Pictures of the effect dialog's four pages and of the scan window for looking at by eye. Run
// under a real X server only, with the folder for the pictures named:
//   KOMOREBI_SHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a build/tests/komorebi_tests \
//     --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_Shots*'
#include "app/dialogs/EffectPreview.h"
#include "app/dialogs/ImageEffectDlg.h"
#include "app/scanning/ScanDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString ShotDir() {
    return qEnvironmentVariable("KOMOREBI_SHOT_DIR");
}

void Shoot(QWidget& window, const QString& name) {
    window.show();
    window.raise();
    QTest::qWait(400);
    QProcess::execute(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                                 ShotDir() + '/' + name + QStringLiteral(".png")});
}

} // namespace

TEST(ImagingShots, DISABLED_ShotsOfTheEffectPages) {
    if (ShotDir().isEmpty()) GTEST_SKIP() << "KOMOREBI_SHOT_DIR is not set";
    const QImage photo(QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/A4/フォトカレンダー.jpg"));
    ASSERT_FALSE(photo.isNull());
    const char* names[] = {"effect-expan", "effect-rgb", "effect-meido", "effect-turn"};
    for (int mode = emExpan; mode <= emTurn; ++mode) {
        TImageEffectDlg dlg;
        dlg.move(20, 20);
        dlg.SetBaseBmp(photo);
        dlg.SetEffectMode(TEffectMode(mode));
        if (mode == emExpan) {
            dlg.show();
            QTest::qWait(200);
            dlg.ZoomUp();
            dlg.ZoomUp();
            const QRect box = dlg.Preview()->PaintBox();
            const QPoint a = box.topLeft() + QPoint(box.width() / 4, box.height() / 5);
            const QPoint b = box.topLeft() + QPoint(box.width() * 3 / 4, box.height() / 2);
            QTest::mousePress(dlg.Preview(), Qt::LeftButton, {}, a);
            QMouseEvent move(QEvent::MouseMove, QPointF(b), dlg.Preview()->mapToGlobal(QPointF(b)), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(dlg.Preview(), &move);
            QTest::mouseRelease(dlg.Preview(), Qt::LeftButton, {}, b);
        } else if (mode == emRGB) {
            dlg.SetOffset(0, 60);
            dlg.SetOffset(2, -40);
        } else if (mode == emMeido) {
            dlg.SetOffset(0, 45);
        } else {
            dlg.TurnBy(ImageEffects::TTurn::Right90);
        }
        Shoot(dlg, QLatin1String(names[mode]));
    }
}

TEST(ImagingShots, DISABLED_ShotsOfTheScanWindow) {
    if (ShotDir().isEmpty()) GTEST_SKIP() << "KOMOREBI_SHOT_DIR is not set";
    QTemporaryDir config;
    QFile conf(config.filePath(QStringLiteral("dll.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("test\n");
    conf.close();
    qputenv("SANE_CONFIG_DIR", QFile::encodeName(config.path()));
    QString error;
    auto library = TSaneLibrary::Open(&error);
    if (!library) GTEST_SKIP() << error.toStdString();
    TSaneDevice device(library);
    if (!device.Open(QStringLiteral("test:0"), &error)) GTEST_SKIP() << "no SANE test backend";
    device.SetOption(QStringLiteral("test-picture"), QStringLiteral("Color pattern"));
    device.SetMode(QStringLiteral("Color"));
    device.SetResolution(150);
    TScanDlg dlg(device, QStringLiteral("Noname frontend-tester virtual device (test:0)"));
    dlg.move(20, 20);
    dlg.show();
    QSignalSpy ready(&dlg, &TScanDlg::PreviewReady);
    dlg.Preview();
    ASSERT_TRUE(ready.wait(20000));
    // A scan area dragged over the preview.
    const QRect box = dlg.PreviewBox()->PaintBox();
    const QPoint a = box.topLeft() + QPoint(box.width() / 10, box.height() / 10);
    const QPoint b = box.topLeft() + QPoint(box.width() / 2, box.height() * 6 / 10);
    QTest::mousePress(dlg.PreviewBox(), Qt::LeftButton, {}, a);
    QMouseEvent move(QEvent::MouseMove, QPointF(b), dlg.PreviewBox()->mapToGlobal(QPointF(b)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.PreviewBox(), &move);
    QTest::mouseRelease(dlg.PreviewBox(), Qt::LeftButton, {}, b);
    Shoot(dlg, QStringLiteral("scan-window"));
}
