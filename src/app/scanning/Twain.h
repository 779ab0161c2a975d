#pragma once

#include "app/scanning/TwainTypes.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

class QWidget;

// A failure of the acquisition, with the text for the user.
class ETwainError : public std::runtime_error {
public:
    explicit ETwainError(const QString& text) : std::runtime_error(text.toStdString()), Text(text) {}
    QString Text;
};

// Acquires one picture from a scanner through a source manager, keeping the protocol's states:
// manager open, source open, source enabled. The source stays open between acquisitions, so a
// second scan needs no new selection. Failures are raised as ETwainError.
class TTwain {
public:
    // Makes the source manager, or null with the reason (the library is missing).
    using TManagerLoader = std::function<std::unique_ptr<TTwainSourceManager>(QString* error)>;

    explicit TTwain(TManagerLoader loader);
    ~TTwain();
    TTwain(const TTwain&) = delete;
    TTwain& operator=(const TTwain&) = delete;

    // The shared instance over the scanner access library, remembering the scanner in the given
    // settings file; created on first use, freed when the application ends.
    static TTwain& GetTwain(const QString& settingsFile);

    // True when the user chose a source; false when cancelled.
    bool SelectSource(QWidget* window);
    // True when a picture was transferred into bitmap; false when the user closed the source.
    bool Acquire(QImage& bitmap, bool showUI, QWidget* window);

    bool ManagerOpen() const { return FManagerOpen; }
    bool SourceOpen() const { return FSourceOpen; }
    bool SourceEnabled() const { return FSourceEnabled; }
    const TW_IDENTITY& AppIdentity() const { return FAppIdentity; }
    const TW_IDENTITY& SourceIdentity() const { return FSourceIdentity; }

    // The text of a condition code.
    static QString ConditionText(int code);

private:
    void LoadSourceManager();
    TW_UINT16 CallSourceManager(bool toSource, TW_UINT32 group, TW_UINT16 dataType, TW_UINT16 message, TW_MEMREF data);
    void Check(TW_UINT16 result, bool toSource);
    [[noreturn]] void RaiseTwainError(bool toSource);
    void OpenManager(QWidget* window);
    void CloseManager();
    void OpenSource();
    void CloseSource();
    void EnableSource(bool showUI, QWidget* window);
    void DisableSource();
    void TransferImage(QImage& bitmap);

    TManagerLoader fLoader;
    std::unique_ptr<TTwainSourceManager> fManager;
    QWidget* FParentWindow = nullptr;
    TW_IDENTITY FAppIdentity{};
    TW_IDENTITY FSourceIdentity{};
    bool FManagerOpen = false;
    bool FSourceOpen = false;
    bool FSourceEnabled = false;
};
