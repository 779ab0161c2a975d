#include "app/scanning/ScanFlow.h"

#include "app/scanning/Twain.h"
#include "document/OutMessage.h"
#include "document/PriPaint.h"
#include "imaging/ImageCodec.h"
#include "platform/AppPaths.h"
#include "platform/DialogLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QWidget>

TScanFlow::TScanFlow(TPriPaint& surface, const TAppPaths& paths, TDialogLibrary& dialogs, QWidget* window)
    : fSurface(surface), fPaths(paths), fDialogs(dialogs), fWindow(window) {
    Acquire = [this](QImage& picture) { return AcquireFromScanner(picture); };
    ShowMessage = [this](const QString& text) {
        QMessageBox::warning(fWindow, QStringLiteral("こもれびごよみ印刷"), text);
    };
}

QString TScanFlow::ScanFile() const {
    return fPaths.TempFolder() + QStringLiteral("a.bmp");
}

void TScanFlow::HideWindow() {
    if (fWindow) fWindow->hide();
}

void TScanFlow::ShowWindow() {
    if (!fWindow) return;
    fWindow->show();
    fWindow->raise();
    fWindow->activateWindow();
}

bool TScanFlow::AcquireFromScanner(QImage& picture) {
    TTwain& twain = TTwain::GetTwain(fPaths.SettingsFile());
    bool acquired = false;
    try {
        if (twain.SelectSource(fWindow)) {
            HideWindow();
            acquired = twain.Acquire(picture, true, fWindow);
        }
    } catch (const ETwainError& e) {
        ShowWindow();
        ShowMessage(e.Text);
        return false;
    }
    ShowWindow();
    return acquired;
}

bool TScanFlow::SaveQuarter(const QImage& picture, const QString& file, QString* error) {
    auto fail = [&] {
        if (error)
            *error = QStringLiteral("スキャンした画像を保存できませんでした\n%1").arg(QDir::toNativeSeparators(file));
        return false;
    };
    if (TImageCodec::IsEmpty(picture)) return fail();
    const QImage quarter = picture.scaled(std::max(1, picture.width() / 4), std::max(1, picture.height() / 4),
                                          Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray bytes = TImageCodec::Encode(quarter, TImageFormat::Bmp);
    if (bytes.isEmpty()) return fail();
    if (!QDir().mkpath(QFileInfo(file).absolutePath())) return fail();
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) return fail();
    return true;
}

bool TScanFlow::Run() {
    QImage picture;
    if (!Acquire(picture)) return false;
    if (TImageCodec::IsEmpty(picture)) {
        ShowMessage(QStringLiteral("スキャナから読み込めませんでした"));
        return false;
    }
    // An old a.bmp must never stand in for this scan: the choice is offered only once the
    // new file is written whole.
    QString error;
    HideWindow();
    if (!SaveQuarter(picture, ScanFile(), &error)) {
        ShowWindow();
        ShowMessage(error);
        return false;
    }
    int32_t choice = 0;
    const TDlgAnswer answer = fDialogs.SaveTWAINImageDlg(choice);
    bool placed = false, unread = false;
    if (answer.Called && choice == 1) {
        // The surface keeps the background it had when the file cannot be read: only a new
        // picture there proves the load.
        const qint64 before = fSurface.BackObject.ActiveBack().cacheKey();
        fSurface.SetBackgroundFromFile(ScanFile());
        placed = !fSurface.BackObject.IsEmpty() && fSurface.BackObject.ActiveBack().cacheKey() != before;
        unread = !placed;
    } else if (answer.Called && choice == 2) {
        placed = fSurface.AddImageFromFile(ScanFile());
    }
    ShowWindow();
    if (unread) ShowMessage(fSurface.OutMess ? fSurface.OutMess->GetMessage(3) : TOutMessage::ErrorText());
    return placed;
}

bool ScanImage(TPriPaint& surface, const TAppPaths& paths, TDialogLibrary& dialogs, QWidget* window) {
    TScanFlow flow(surface, paths, dialogs, window);
    return flow.Run();
}
