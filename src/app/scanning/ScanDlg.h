#pragma once

#include "platform/SaneDevice.h"

#include <QDialog>
#include <QImage>
#include <atomic>
#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class TEffectPreview;

// The scanner's own window: colour mode, resolution, the scan area (typed or dragged on a
// preview scan), then the scan. Scanning runs on a thread of its own with progress and Cancel;
// the window stays usable and a failed or cancelled scan leaves it open for another try.
class TScanDlg : public QDialog {
    Q_OBJECT

public:
    // The device stays the caller's; it must outlive the dialog.
    TScanDlg(TSaneDevice& device, const QString& title, QWidget* parent = nullptr);
    ~TScanDlg() override;

    // Starts the scan at once (for a source enabled without its window).
    void ScanNow() { StartScan(false); }
    void Preview() { StartScan(true); }
    void CancelScan() { fCancel = true; }
    bool Scanning() const { return fThread != nullptr; }

    // The choices as they stand, for remembering.
    QString Mode() const;
    int Resolution() const;
    QRectF Area() const;

    // Shows a message; a warning box unless replaced.
    std::function<void(const QString&)> ShowMessage;

    // For tests and screenshots.
    QComboBox* ModeBox() const { return fMode; }
    QComboBox* ResolutionBox() const { return fResolution; }
    QProgressBar* Progress() const { return fProgress; }
    TEffectPreview* PreviewBox() const { return fPreview; }
    QPushButton* ScanButton() const { return fScan; }
    QPushButton* CancelButton() const { return fCancelButton; }

signals:
    // A picture was scanned; the dialog stays until the source is disabled.
    void Scanned(const TSaneFrame& frame);
    // A scan started by ScanNow ended without a picture.
    void ScanEnded(TSaneDevice::TResult result, const QString& error);
    // The user closed the window.
    void CloseRequested();
    void PreviewReady();

public slots:
    void reject() override;

private:
    void StartScan(bool preview);
    void ScanFinished(bool preview, TSaneDevice::TResult result);
    void SetBusy(bool busy);
    void AreaFromSelection(const QRect& dragged, QSize box);
    void ShowAreaOnPreview();
    bool ApplyChoices(bool preview);

    TSaneDevice& fDevice;
    TSaneCapabilities fCaps;
    QComboBox* fMode = nullptr;
    QComboBox* fResolution = nullptr;
    QDoubleSpinBox* fArea[4] = {};
    TEffectPreview* fPreview = nullptr;
    QProgressBar* fProgress = nullptr;
    QLabel* fStatus = nullptr;
    QPushButton* fPreviewButton = nullptr;
    QPushButton* fScan = nullptr;
    QPushButton* fCancelButton = nullptr;
    QPushButton* fClose = nullptr;
    QWidget* fSettings = nullptr;

    QThread* fThread = nullptr;
    std::atomic_bool fCancel{false};
    // Written by the scanning thread, read once it has finished.
    TSaneDevice::TResult fResult = TSaneDevice::TResult::Failed;
    TSaneFrame fFrame;
    QString fError;
    QImage fPreviewImage;
};
