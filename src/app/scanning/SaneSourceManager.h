#pragma once

#include "app/scanning/ScanSettings.h"
#include "app/scanning/TwainTypes.h"
#include "platform/SaneDevice.h"

#include <QPointer>
#include <functional>
#include <memory>

class QWidget;
class TScanDlg;

// The source manager over the scanner access library: selecting a source lists its scanners,
// opening one opens the device with the remembered settings, enabling shows the scan window (or
// scans at once without it), and the native transfer hands over the scanned frame as a packed
// bitmap.
class TSaneSourceManager : public TTwainSourceManager {
public:
    // Null with the reason when the library cannot be loaded. libraryFile replaces the usual
    // library (for tests).
    static std::unique_ptr<TSaneSourceManager> Load(const QString& settingsFile, QString* error,
                                                    const QString& libraryFile = QString());
    ~TSaneSourceManager() override;

    TW_UINT16 Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message,
                    TW_MEMREF data) override;

    // Asks the user for a scanner, the preferred one first; empty when cancelled. The chooser
    // window unless replaced.
    std::function<QString(QWidget* parent, const QString& preferred)> ChooseDevice;
    // Shows what went wrong in the scanner's own words; a warning box unless replaced.
    std::function<void(QWidget* parent, const QString& text)> ShowMessage;
    // Called on a freshly opened device after the remembered settings (tests set test options).
    std::function<void(TSaneDevice&)> ConfigureDevice;

    TSaneDevice* Device() const { return fDevice.get(); }
    TScanDlg* ScanWindow() const;
    const TScanSettings& Settings() const { return fSettings; }

private:
    TSaneSourceManager(std::shared_ptr<TSaneLibrary> library, const QString& settingsFile);
    TW_UINT16 Fail(TW_UINT16 condition);
    TW_UINT16 UserSelect(TW_IDENTITY* identity);
    TW_UINT16 OpenSource(TW_IDENTITY* identity);
    TW_UINT16 EnableSource(const TW_USERINTERFACE* ui);
    void DisableSource();
    TW_UINT16 NativeTransfer(TW_HANDLE* handle);
    void Scanned(const TSaneFrame& frame);

    std::shared_ptr<TSaneLibrary> fLibrary;
    QString fSettingsFile;
    TScanSettings fSettings;
    QWidget* fParent = nullptr;
    // The device the user chose; its name is longer than an identity's name field can hold.
    QString fChosen;
    std::unique_ptr<TSaneDevice> fDevice;
    QPointer<TScanDlg> fWindow;
    bool fShowUI = true;

    TW_UINT16 fPending = MSG_NULL;
    TW_UINT16 fTransferResult = TWRC_FAILURE;
    QByteArray fTransfer;
    TW_UINT16 fCondition = TWCC_SUCCESS;
};
