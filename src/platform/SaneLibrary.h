#pragma once

#include "platform/SaneApi.h"

#include <QLibrary>
#include <QString>
#include <memory>
#include <mutex>
#include <vector>

// The scanner access library loaded at run time and initialised once for all its users; it is
// shut down when the last user lets go. Without the library the program still runs: only
// scanning says that it is missing.
class TSaneLibrary {
public:
    // The message when the library cannot be loaded.
    static QString MissingText();
    // The shared library, loaded on first use; null with the reason when it cannot be loaded or
    // started. fileName replaces the usual library (for tests); such a library is not shared.
    static std::shared_ptr<TSaneLibrary> Open(QString* error, const QString& fileName = QString());

    ~TSaneLibrary();
    TSaneLibrary(const TSaneLibrary&) = delete;
    TSaneLibrary& operator=(const TSaneLibrary&) = delete;

    struct TDevice {
        QString Name;
        QString Vendor;
        QString Model;
        QString Type;
        // "Vendor Model (name)" for lists.
        QString Display() const;
    };
    // Asks every backend for its devices; may take seconds (network scanners), so callers keep it
    // off the window thread. False with the reason when the library fails.
    bool Devices(std::vector<TDevice>& devices, QString* error);

    const SaneApi::Functions& Api() const { return fApi; }
    // Held around calls that may meet another thread's (the device search and opening a device).
    std::mutex& CallMutex() { return fCallMutex; }

    // A short Japanese text for a status.
    static QString StatusText(int status);

private:
    TSaneLibrary() = default;
    bool Load(const QString& fileName, QString* error);

    QLibrary fLibrary;
    SaneApi::Functions fApi;
    bool fStarted = false;
    std::mutex fCallMutex;
};
