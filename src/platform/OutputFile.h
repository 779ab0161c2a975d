#pragma once

#include <QString>
#include <memory>

class QFile;
class QIODevice;
class QTemporaryFile;

// A file written by a stream (a PDF, a PNG): buffered in large chunks, yet every chunk's write is
// checked as it happens, since neither the PDF writer nor a file's close reports a write that
// failed. A plain file (or a new one) is written beside the target and renamed over its name only
// once everything was written, so a failure never leaves half a page where the last good one was,
// and a link at the name is replaced, never followed (in a shared folder another user's link could
// point anywhere); a device or a pipe (/dev/stdout) is written directly.
class TOutputFile {
public:
    explicit TOutputFile(const QString& path);
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    bool IsOpen() const { return fOpen; }
    QIODevice* Device() const;
    // Whether a write has failed so far.
    bool Failed() const;
    // The system's reason for the failure, as it gives it.
    QString ErrorString() const;
    // The same in Japanese, as the template saves say it.
    QString ErrorText() const;
    // True only when every byte reached the file and, for a plain file, it took the target's place.
    bool Finish();

    static constexpr qint64 kChunk = 64 * 1024;

private:
    class TCheckedDevice;

    QString fPath;
    QString fRenameError;
    QString fCreateError;
    int fCode = 0;
    std::unique_ptr<QTemporaryFile> fTemp;
    std::unique_ptr<QFile> fDirect;
    std::unique_ptr<TCheckedDevice> fChecked;
    bool fOpen = false;
};
