#pragma once

#include <QImage>
#include <QString>
#include <functional>

class QWidget;
class TAppPaths;
class TDialogLibrary;
class TPriPaint;

// The scan command: one picture from a scanner, a quarter-size copy written to temp/a.bmp in the
// user's folder, then the user's choice of page background or picture. The main window and the
// start panel call ScanImage; the class is the same flow with its outside steps replaceable.
class TScanFlow {
public:
    TScanFlow(TPriPaint& surface, const TAppPaths& paths, TDialogLibrary& dialogs, QWidget* window);

    // True when the scanned picture went onto the page.
    bool Run();

    // The scanned picture, or false (with any message already shown). Through the shared
    // scanner unless replaced.
    std::function<bool(QImage& picture)> Acquire;
    // A message box unless replaced.
    std::function<void(const QString& text)> ShowMessage;

    QString ScanFile() const;
    // The picture reduced to a quarter of its width and height (at least one pixel) as a BMP
    // file; the folder is made when missing and the file replaced only when complete.
    static bool SaveQuarter(const QImage& picture, const QString& file, QString* error);

private:
    bool AcquireFromScanner(QImage& picture);
    void HideWindow();
    void ShowWindow();

    TPriPaint& fSurface;
    const TAppPaths& fPaths;
    TDialogLibrary& fDialogs;
    QWidget* fWindow;
};

// The scan command as the main window and the start panel run it.
bool ScanImage(TPriPaint& surface, const TAppPaths& paths, TDialogLibrary& dialogs, QWidget* window);
