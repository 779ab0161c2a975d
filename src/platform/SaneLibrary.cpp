#include "platform/SaneLibrary.h"

#include <mutex>

namespace {

std::mutex gSharedMutex;
std::weak_ptr<TSaneLibrary> gShared;

} // namespace

QString TSaneLibrary::MissingText() {
    return QStringLiteral("スキャナ用のライブラリ (libsane) が見つかりません");
}

std::shared_ptr<TSaneLibrary> TSaneLibrary::Open(QString* error, const QString& fileName) {
    const bool shared = fileName.isEmpty();
    std::unique_lock<std::mutex> lock(gSharedMutex, std::defer_lock);
    if (shared) {
        lock.lock();
        if (auto existing = gShared.lock()) return existing;
    }
    std::shared_ptr<TSaneLibrary> library(new TSaneLibrary);
    if (!library->Load(shared ? QStringLiteral("sane") : fileName, error)) return nullptr;
    if (shared) gShared = library;
    return library;
}

bool TSaneLibrary::Load(const QString& fileName, QString* error) {
    // Backends stay mapped for the life of the program: unmapping code that has run threads
    // or registered handlers is not worth the risk.
    fLibrary.setLoadHints(QLibrary::PreventUnloadHint);
    if (fileName == QLatin1String("sane"))
        fLibrary.setFileNameAndVersion(fileName, 1);
    else
        fLibrary.setFileName(fileName);
    if (!fLibrary.load()) {
        if (error) *error = MissingText();
        return false;
    }
    auto resolve = [this](auto& entry, const char* name) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(fLibrary.resolve(name));
        return entry != nullptr;
    };
    const bool all =
        resolve(fApi.init, "sane_init") && resolve(fApi.exit, "sane_exit") &&
        resolve(fApi.get_devices, "sane_get_devices") && resolve(fApi.open, "sane_open") &&
        resolve(fApi.close, "sane_close") && resolve(fApi.get_option_descriptor, "sane_get_option_descriptor") &&
        resolve(fApi.control_option, "sane_control_option") && resolve(fApi.get_parameters, "sane_get_parameters") &&
        resolve(fApi.start, "sane_start") && resolve(fApi.read, "sane_read") && resolve(fApi.cancel, "sane_cancel");
    if (!all) {
        if (error) *error = MissingText();
        return false;
    }
    SaneApi::Int version = 0;
    const SaneApi::Status status = fApi.init(&version, nullptr);
    if (status != SaneApi::StatusGood) {
        if (error) *error = StatusText(status);
        return false;
    }
    fStarted = true;
    return true;
}

TSaneLibrary::~TSaneLibrary() {
    if (fStarted) fApi.exit();
}

QString TSaneLibrary::TDevice::Display() const {
    QString text = (Vendor + QLatin1Char(' ') + Model).trimmed();
    if (text.isEmpty()) return Name;
    return text + QStringLiteral(" (") + Name + QLatin1Char(')');
}

bool TSaneLibrary::Devices(std::vector<TDevice>& devices, QString* error) {
    devices.clear();
    std::lock_guard<std::mutex> lock(fCallMutex);
    const SaneApi::Device** list = nullptr;
    const SaneApi::Status status = fApi.get_devices(&list, 0);
    if (status != SaneApi::StatusGood) {
        if (error) *error = StatusText(status);
        return false;
    }
    for (int i = 0; list && list[i]; ++i) {
        const SaneApi::Device* d = list[i];
        devices.push_back({QString::fromUtf8(d->name ? d->name : ""), QString::fromUtf8(d->vendor ? d->vendor : ""),
                           QString::fromUtf8(d->model ? d->model : ""), QString::fromUtf8(d->type ? d->type : "")});
    }
    return true;
}

QString TSaneLibrary::StatusText(int status) {
    switch (status) {
    case SaneApi::StatusGood: return QStringLiteral("正常に終了しました");
    case SaneApi::StatusUnsupported: return QStringLiteral("スキャナがこの操作に対応していません");
    case SaneApi::StatusCancelled: return QStringLiteral("キャンセルされました");
    case SaneApi::StatusDeviceBusy: return QStringLiteral("スキャナは使用中です");
    case SaneApi::StatusInval: return QStringLiteral("スキャナの設定が正しくありません");
    case SaneApi::StatusEof: return QStringLiteral("データの終わりです");
    case SaneApi::StatusJammed: return QStringLiteral("原稿が詰まりました");
    case SaneApi::StatusNoDocs: return QStringLiteral("原稿がありません");
    case SaneApi::StatusCoverOpen: return QStringLiteral("スキャナのカバーが開いています");
    case SaneApi::StatusIoError: return QStringLiteral("スキャナとの通信が途切れました");
    case SaneApi::StatusNoMem: return QStringLiteral("メモリが足りません");
    case SaneApi::StatusAccessDenied: return QStringLiteral("スキャナを使う権限がありません");
    default: return QStringLiteral("スキャナでエラーが発生しました");
    }
}
