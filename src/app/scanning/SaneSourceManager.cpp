#include "app/scanning/SaneSourceManager.h"

#include "app/scanning/ScanDlg.h"
#include "app/scanning/ScanSourceDlg.h"
#include "imaging/PackedDib.h"

#include <QMessageBox>
#include <QWidget>
#include <cstring>

std::unique_ptr<TSaneSourceManager> TSaneSourceManager::Load(const QString& settingsFile, QString* error,
                                                             const QString& libraryFile) {
    std::shared_ptr<TSaneLibrary> library = TSaneLibrary::Open(error, libraryFile);
    if (!library) return nullptr;
    return std::unique_ptr<TSaneSourceManager>(new TSaneSourceManager(std::move(library), settingsFile));
}

TSaneSourceManager::TSaneSourceManager(std::shared_ptr<TSaneLibrary> library, const QString& settingsFile)
    : fLibrary(std::move(library)), fSettingsFile(settingsFile) {
    fSettings.Read(fSettingsFile);
    ChooseDevice = [this](QWidget* parent, const QString& preferred) {
        return TScanSourceDlg::Choose(fLibrary, preferred, parent);
    };
    ShowMessage = [](QWidget* parent, const QString& text) {
        QMessageBox::warning(parent, QStringLiteral("スキャン"), text);
    };
}

TSaneSourceManager::~TSaneSourceManager() {
    DisableSource();
    fDevice.reset();
}

TW_UINT16 TSaneSourceManager::Fail(TW_UINT16 condition) {
    fCondition = condition;
    return TWRC_FAILURE;
}

TW_UINT16 TSaneSourceManager::Entry(TW_IDENTITY*, TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 dataType,
                                    TW_UINT16 message, TW_MEMREF data) {
    if (group == DG_CONTROL && dataType == DAT_STATUS && message == MSG_GET) {
        if (!data) return TWRC_FAILURE;
        static_cast<TW_STATUS*>(data)->ConditionCode = fCondition;
        fCondition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (group == DG_CONTROL && dataType == DAT_PARENT) {
        if (message == MSG_OPENDSM) {
            fParent = data ? static_cast<QWidget*>(*static_cast<TW_HANDLE*>(data)) : nullptr;
            return TWRC_SUCCESS;
        }
        if (message == MSG_CLOSEDSM) {
            DisableSource();
            fDevice.reset();
            return TWRC_SUCCESS;
        }
    }
    if (group == DG_CONTROL && dataType == DAT_IDENTITY && data) {
        auto* identity = static_cast<TW_IDENTITY*>(data);
        if (message == MSG_USERSELECT) return UserSelect(identity);
        if (message == MSG_OPENDS) return OpenSource(identity);
        if (message == MSG_CLOSEDS) {
            DisableSource();
            fDevice.reset();
            return TWRC_SUCCESS;
        }
    }
    if (!dest) return Fail(TWCC_BADPROTOCOL);
    if (group == DG_CONTROL && dataType == DAT_USERINTERFACE) {
        if (message == MSG_ENABLEDS && data) return EnableSource(static_cast<const TW_USERINTERFACE*>(data));
        if (message == MSG_DISABLEDS) {
            DisableSource();
            return TWRC_SUCCESS;
        }
    }
    if (group == DG_CONTROL && dataType == DAT_EVENT && message == MSG_PROCESSEVENT && data) {
        auto* event = static_cast<TW_EVENT*>(data);
        if (fPending == MSG_NULL) return TWRC_NOTDSEVENT;
        event->TWMessage = fPending;
        fPending = MSG_NULL;
        return TWRC_DSEVENT;
    }
    if (group == DG_IMAGE && dataType == DAT_IMAGENATIVEXFER && message == MSG_GET && data)
        return NativeTransfer(static_cast<TW_HANDLE*>(data));
    if (group == DG_CONTROL && dataType == DAT_PENDINGXFERS && message == MSG_ENDXFER) {
        if (data) static_cast<TW_PENDINGXFERS*>(data)->Count = 0;
        fTransfer.clear();
        return TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 TSaneSourceManager::UserSelect(TW_IDENTITY* identity) {
    const QString preferred = fChosen.isEmpty() ? fSettings.Device : fChosen;
    const QString name = ChooseDevice ? ChooseDevice(fParent, preferred) : QString();
    if (name.isEmpty()) return TWRC_CANCEL;
    fChosen = name;
    std::memset(identity, 0, sizeof(*identity));
    identity->Id = 1;
    std::strncpy(identity->ProductName, name.toUtf8().constData(), sizeof(identity->ProductName) - 2);
    return TWRC_SUCCESS;
}

TW_UINT16 TSaneSourceManager::OpenSource(TW_IDENTITY*) {
    // Without a choice in this session, the scanner of the last one.
    const QString name = fChosen.isEmpty() ? fSettings.Device : fChosen;
    if (name.isEmpty()) return Fail(TWCC_NODS);
    auto device = std::make_unique<TSaneDevice>(fLibrary);
    QString error;
    if (!device->Open(name, &error)) {
        if (ShowMessage) ShowMessage(fParent, error);
        return Fail(TWCC_CHECKDEVICEONLINE);
    }
    if (fSettings.Device == name) {
        if (!fSettings.Mode.isEmpty()) device->SetMode(fSettings.Mode);
        if (fSettings.Resolution > 0) device->SetResolution(fSettings.Resolution);
        if (!fSettings.Area.isEmpty()) device->SetArea(fSettings.Area);
    }
    if (ConfigureDevice) ConfigureDevice(*device);
    fDevice = std::move(device);
    fChosen = name;
    return TWRC_SUCCESS;
}

TW_UINT16 TSaneSourceManager::EnableSource(const TW_USERINTERFACE* ui) {
    if (!fDevice) return Fail(TWCC_SEQERROR);
    if (fWindow) return TWRC_SUCCESS;
    fPending = MSG_NULL;
    fTransfer.clear();
    fTransferResult = TWRC_FAILURE;
    fShowUI = ui->ShowUI != 0;
    auto* parent = static_cast<QWidget*>(ui->hParent);
    // The main window is hidden while scanning, so the scan window stands alone.
    auto* window = new TScanDlg(*fDevice, fChosen, parent && parent->isVisible() ? parent : nullptr);
    fWindow = window;
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setWindowModality(Qt::ApplicationModal);
    window->ShowMessage = [this, window](const QString& text) {
        if (ShowMessage) ShowMessage(window, text);
    };
    QObject::connect(window, &TScanDlg::Scanned, window, [this](const TSaneFrame& frame) { Scanned(frame); });
    QObject::connect(window, &TScanDlg::CloseRequested, window, [this] { fPending = MSG_CLOSEDSREQ; });
    QObject::connect(window, &TScanDlg::ScanEnded, window, [this](TSaneDevice::TResult result, const QString&) {
        // Without its window the source reports the end through the transfer.
        if (fShowUI) return;
        fTransferResult = result == TSaneDevice::TResult::Cancelled ? TWRC_CANCEL : TWRC_FAILURE;
        fPending = MSG_XFERREADY;
    });
    window->show();
    if (!fShowUI) window->ScanNow();
    return TWRC_SUCCESS;
}

void TSaneSourceManager::DisableSource() {
    if (!fWindow) return;
    TScanDlg* window = fWindow;
    fWindow = nullptr;
    window->hide();
    // Waits for a running scan to stop before the window goes.
    delete window;
    fPending = MSG_NULL;
}

void TSaneSourceManager::Scanned(const TSaneFrame& frame) {
    QString error;
    QByteArray dib = TPackedDib::FromFrame(frame, &error);
    if (dib.isEmpty()) {
        if (ShowMessage) ShowMessage(fWindow, error);
        if (fShowUI) return;
        fTransferResult = TWRC_FAILURE;
    } else {
        fTransfer = std::move(dib);
        fTransferResult = TWRC_XFERDONE;
        // Remembered for next time: the scanner and how it scanned.
        fSettings.Device = fChosen;
        if (fWindow) {
            fSettings.Mode = fWindow->Mode();
            fSettings.Resolution = fWindow->Resolution();
            fSettings.Area = fWindow->Area();
        }
        if (!fSettingsFile.isEmpty()) fSettings.Write(fSettingsFile);
    }
    fPending = MSG_XFERREADY;
}

TW_UINT16 TSaneSourceManager::NativeTransfer(TW_HANDLE* handle) {
    *handle = nullptr;
    if (fTransferResult != TWRC_XFERDONE) {
        const TW_UINT16 result = fTransferResult;
        fTransferResult = TWRC_FAILURE;
        if (result == TWRC_FAILURE) fCondition = TWCC_BUMMER;
        return result;
    }
    *handle = TwainAllocate(std::move(fTransfer));
    fTransfer.clear();
    fTransferResult = TWRC_FAILURE;
    return TWRC_XFERDONE;
}

TScanDlg* TSaneSourceManager::ScanWindow() const {
    return fWindow;
}
