#pragma once

#include "platform/SaneLibrary.h"

#include <QByteArray>
#include <QRectF>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

// One frame as the scanner delivered it: rows of BytesPerLine bytes, samples of Depth bits,
// grey or red-green-blue interleaved, most significant bit first for 1-bit samples (1 is black).
struct TSaneFrame {
    bool Color = false;
    int Width = 0;
    int Height = 0;
    int Depth = 8;
    int BytesPerLine = 0;
    int Resolution = 0; // dots per inch, 0 when unknown
    QByteArray Data;

    bool IsEmpty() const { return Width <= 0 || Height <= 0 || Data.isEmpty(); }
};

// What a scanner offers, read from its options.
struct TSaneCapabilities {
    QStringList Modes;
    QString Mode;
    // Resolutions to offer (dpi); a range is offered at the usual steps inside it.
    QList<int> Resolutions;
    int Resolution = 0;
    // The largest scan area and the current one, in millimetres; empty when the scanner has none.
    QRectF MaxArea;
    QRectF Area;
};

// An opened scanner: its few options a user chooses (colour mode, resolution, scan area) and
// the scan itself, which blocks and so runs off the window thread.
class TSaneDevice {
public:
    // Scanned pictures larger than this are refused before any pixel is read (64 megapixels:
    // A4 at 600 dpi is 35).
    static constexpr qint64 kMaxPixels = qint64(64) * 1024 * 1024;

    explicit TSaneDevice(std::shared_ptr<TSaneLibrary> library);
    ~TSaneDevice();
    TSaneDevice(const TSaneDevice&) = delete;
    TSaneDevice& operator=(const TSaneDevice&) = delete;

    bool Open(const QString& name, QString* error);
    void Close();
    bool IsOpen() const { return fHandle != nullptr; }
    const QString& Name() const { return fName; }

    TSaneCapabilities Capabilities() const;
    // Each false when the scanner refuses the value (or lacks the option).
    bool SetMode(const QString& mode);
    bool SetResolution(int dpi);
    bool SetArea(const QRectF& millimetres);
    // Any option by name: a string, or a number for integer, fixed and Boolean options.
    bool SetOption(const QString& name, const QString& value);
    bool SetOption(const QString& name, double value);

    enum class TResult { Done, Cancelled, Failed };
    // Reads one picture. progress gets 0..100 (from the reading thread); cancel is polled
    // between reads. On failure error says why in words for the user.
    TResult Scan(TSaneFrame& frame, const std::function<void(int)>& progress, const std::atomic_bool& cancel,
                 QString* error);

private:
    int FindOption(const char* name) const;
    const SaneApi::OptionDescriptor* Descriptor(int index) const;
    bool ReadNumber(int index, double& value) const;
    QString ReadString(int index) const;

    std::shared_ptr<TSaneLibrary> fLibrary;
    SaneApi::Handle fHandle = nullptr;
    QString fName;
};
