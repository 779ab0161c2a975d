#pragma once

// Drives the modal dialog a pack entry opens: a timer of the test's own waits for the dialog,
// hands it to the test's steps and stops. The pack itself leaves nothing behind.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

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
            fSteps(*dialog);
        });
        fTimer.start();
    }
    ~TPackDriver() { fTimer.stop(); }
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
