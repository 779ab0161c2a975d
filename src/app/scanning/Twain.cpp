#include "app/scanning/Twain.h"

#include "app/scanning/SaneSourceManager.h"
#include "imaging/PackedDib.h"

#include <QCoreApplication>
#include <QWidget>
#include <cfenv>
#include <cstring>

namespace {

// Every floating-point exception masked while the source manager runs, the caller's settings
// back afterwards, also when it throws.
class TFpuGuard {
public:
    TFpuGuard() { std::feholdexcept(&fSaved); }
    ~TFpuGuard() { std::fesetenv(&fSaved); }

private:
    std::fenv_t fSaved;
};

void SetText(TW_STR32& field, const char* text) {
    std::memset(field, 0, sizeof(field));
    std::strncpy(field, text, sizeof(field) - 2);
}

std::unique_ptr<TTwain> gShared;

void FreeShared() {
    gShared.reset();
}

} // namespace

TTwain::TTwain(TManagerLoader loader) : fLoader(std::move(loader)) {
    FAppIdentity.Id = 0;
    FAppIdentity.Version.MajorNum = 0;
    FAppIdentity.Version.MinorNum = 0;
    FAppIdentity.Version.Language = TW_UINT16(-1);
    FAppIdentity.Version.Country = 81;
    SetText(FAppIdentity.Version.Info, "VERSION INFO");
    FAppIdentity.ProtocolMajor = 1;
    FAppIdentity.ProtocolMinor = 8;
    FAppIdentity.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(FAppIdentity.Manufacturer, "MANUFACTURER");
    SetText(FAppIdentity.ProductFamily, "PRODUCT FAMILY");
    SetText(FAppIdentity.ProductName, "PRODUCT NAME");
}

TTwain::~TTwain() {
    // Whatever is still enabled or open is let go; a failure here only gets a warning.
    try {
        if (FSourceEnabled) DisableSource();
        if (FSourceOpen) CloseSource();
        if (FManagerOpen) CloseManager();
    } catch (const ETwainError& e) {
        qWarning("%s", e.what());
    }
}

TTwain& TTwain::GetTwain(const QString& settingsFile) {
    if (!gShared) {
        gShared = std::make_unique<TTwain>([settingsFile](QString* error) -> std::unique_ptr<TTwainSourceManager> {
            return TSaneSourceManager::Load(settingsFile, error);
        });
        // Freed while the application still exists: the source may own windows.
        qAddPostRoutine(FreeShared);
    }
    return *gShared;
}

QString TTwain::ConditionText(int code) {
    switch (code) {
    case 0: return QStringLiteral("It worked!");
    case 1: return QStringLiteral("Failure due to unknown causes");
    case 2: return QStringLiteral("Not enough memory to perform operation");
    case 3: return QStringLiteral("No Data Source");
    case 4: return QStringLiteral("DS is connected to max possible applications");
    case 5: return QStringLiteral("DS or DSM reported error, application shouldn't");
    case 6: return QStringLiteral("Unknown capability");
    case 9: return QStringLiteral("Unrecognized MSG DG DAT combination");
    case 10: return QStringLiteral("Data parameter out of range");
    case 11: return QStringLiteral("DG DAT MSG out of expected sequence");
    case 12: return QStringLiteral("Unknown destination Application/Source in DSM_Entry");
    case 13: return QStringLiteral("Capability not supported by source");
    case 14: return QStringLiteral("Operation not supported by capability");
    case 15: return QStringLiteral("Capability has dependancy on other capability");
    case 16: return QStringLiteral("File System operation is denied (file is protected)");
    case 17: return QStringLiteral("Operation failed because file already exists.");
    case 18: return QStringLiteral("File not found");
    case 19: return QStringLiteral("Operation failed because directory is not empty");
    case 20: return QStringLiteral("The feeder is jammed");
    case 21: return QStringLiteral("The feeder detected multiple pages");
    case 22: return QStringLiteral("Error writing the file (meant for things like disk full conditions)");
    case 23: return QStringLiteral("The device went offline prior to or during this operation");
    default: return QStringLiteral("Unknown condition code %1").arg(code);
    }
}

void TTwain::LoadSourceManager() {
    if (fManager) return;
    QString error;
    fManager = fLoader ? fLoader(&error) : nullptr;
    if (!fManager)
        throw ETwainError(error.isEmpty() ? QStringLiteral("スキャナ用のライブラリ (libsane) が見つかりません")
                                          : error);
}

TW_UINT16 TTwain::CallSourceManager(bool toSource, TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message,
                                    TW_MEMREF data) {
    LoadSourceManager();
    TFpuGuard guard;
    return fManager->Entry(&FAppIdentity, toSource ? &FSourceIdentity : nullptr, group, dataType, message, data);
}

void TTwain::Check(TW_UINT16 result, bool toSource) {
    if (result != TWRC_SUCCESS) RaiseTwainError(toSource);
}

void TTwain::RaiseTwainError(bool toSource) {
    TW_STATUS status{};
    CallSourceManager(toSource, DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    throw ETwainError(QStringLiteral("TWAIN: ") + ConditionText(status.ConditionCode));
}

void TTwain::OpenManager(QWidget* window) {
    FParentWindow = window;
    TW_HANDLE parent = window;
    Check(CallSourceManager(false, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent), false);
    FManagerOpen = true;
}

void TTwain::CloseManager() {
    TW_HANDLE parent = FParentWindow;
    FManagerOpen = false;
    Check(CallSourceManager(false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent), false);
}

void TTwain::OpenSource() {
    Check(CallSourceManager(false, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &FSourceIdentity), false);
    FSourceOpen = true;
}

void TTwain::CloseSource() {
    FSourceOpen = false;
    Check(CallSourceManager(false, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &FSourceIdentity), false);
}

void TTwain::EnableSource(bool showUI, QWidget* window) {
    TW_USERINTERFACE ui{};
    ui.ShowUI = showUI;
    ui.ModalUI = showUI;
    ui.hParent = window;
    Check(CallSourceManager(true, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui), true);
    FSourceEnabled = true;
}

void TTwain::DisableSource() {
    TW_USERINTERFACE ui{};
    FSourceEnabled = false;
    Check(CallSourceManager(true, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui), true);
}

bool TTwain::SelectSource(QWidget* window) {
    if (FSourceEnabled) DisableSource();
    if (FSourceOpen) CloseSource();
    if (!FManagerOpen) OpenManager(window);
    const TW_UINT16 result = CallSourceManager(false, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &FSourceIdentity);
    if (result == TWRC_SUCCESS) return true;
    if (result == TWRC_CANCEL) return false;
    RaiseTwainError(false);
}

bool TTwain::Acquire(QImage& bitmap, bool showUI, QWidget* window) {
    if (!FManagerOpen) OpenManager(window);
    if (!FSourceOpen) OpenSource();
    if (!FSourceEnabled) EnableSource(showUI, window);
    bool transferred = false;
    try {
        for (;;) {
            // The source answers through the event test; the window messages in between keep its
            // dialog and the rest of the program alive.
            TW_EVENT event{nullptr, MSG_NULL};
            const TW_UINT16 result = CallSourceManager(true, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
            if (result == TWRC_DSEVENT) {
                if (event.TWMessage == MSG_XFERREADY) {
                    TransferImage(bitmap);
                    transferred = true;
                    break;
                }
                if (event.TWMessage == MSG_CLOSEDSREQ || event.TWMessage == MSG_CLOSEDSOK) break;
            }
            if (QCoreApplication::closingDown()) break;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    } catch (...) {
        try {
            DisableSource();
        } catch (const ETwainError&) {
        }
        throw;
    }
    DisableSource();
    return transferred;
}

void TTwain::TransferImage(QImage& bitmap) {
    TW_HANDLE handle = nullptr;
    const TW_UINT16 result = CallSourceManager(true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    // The memory is ours from here on, whatever happens.
    std::unique_ptr<void, void (*)(void*)> memory(handle, [](void* h) { TwainFree(h); });
    auto endTransfer = [this] {
        TW_PENDINGXFERS pending{};
        CallSourceManager(true, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
    };
    try {
        if (result == TWRC_FAILURE) throw ETwainError(QStringLiteral("転送中にエラー発生"));
        if (result == TWRC_CANCEL) throw ETwainError(QStringLiteral("キャンセルされました"));
        if (result == TWRC_XFERDONE) {
            const QByteArray* dib = TwainLock(handle);
            if (!dib) RaiseTwainError(true);
            QString error;
            QImage picture = TPackedDib::Decode(*dib, &error);
            if (picture.isNull()) throw ETwainError(error);
            bitmap = std::move(picture);
        }
    } catch (...) {
        endTransfer();
        throw;
    }
    endTransfer();
}
