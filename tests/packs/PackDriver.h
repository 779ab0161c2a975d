#pragma once

// Drives the modal dialog a pack entry opens: a timer of the test's own waits for the dialog,
// hands it to the test's steps and stops. The pack itself leaves nothing behind.
#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

class TPackDriver {
public:
    explicit TPackDriver(std::function<void(QDialog&)> steps) : fSteps(std::move(steps)) {
        fTimer.setInterval(10);
        QObject::connect(&fTimer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible()) return;
            fTimer.stop();
            fSeen = true;
            fTitle = dialog->windowTitle();
            // KOMOREBI_PACK_SHOTS=<folder> keeps a picture of each dialog as the test met it.
            const QString shots = qEnvironmentVariable("KOMOREBI_PACK_SHOTS");
            if (!shots.isEmpty()) {
                static int shot = 0;
                dialog->grab().save(
                    QStringLiteral("%1/%2-%3.png").arg(shots).arg(++shot, 2, 10, QLatin1Char('0')).arg(fTitle));
            }
            fSteps(*dialog);
        });
        fTimer.start();
    }
    // By the time the driver goes, the pack's dialog must be gone too.
    ~TPackDriver() {
        fTimer.stop();
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a pack left a window behind";
    }
    bool Seen() const { return fSeen; }
    const QString& Title() const { return fTitle; }

private:
    std::function<void(QDialog&)> fSteps;
    QTimer fTimer;
    bool fSeen = false;
    QString fTitle;
};

// The application folder of this build, where the real packs lie.
inline QString BuiltAppPath() {
    return QStringLiteral(KOMOREBI_APP_DIR "/");
}
