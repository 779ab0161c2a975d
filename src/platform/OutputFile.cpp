#include "platform/OutputFile.h"

#include "platform/FileWriter.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

// Gathers the writer's many small writes and hands them on a chunk at a time; the first failure
// is kept with the system's reason and every later write refused.
class TOutputFile::TCheckedDevice : public QIODevice {
public:
    explicit TCheckedDevice(QIODevice* inner) : fInner(inner) { QIODevice::open(QIODevice::WriteOnly); }
    const QString& Failure() const { return fFailure; }
    int Code() const { return fCode; }
    bool Flush() {
        if (!fFailure.isEmpty()) return false;
        if (fBuffer.isEmpty()) return true;
        errno = 0;
        const qint64 written = fInner->write(fBuffer);
        if (written == fBuffer.size()) {
            fBuffer.clear();
            return true;
        }
        fCode = errno;
        fFailure = fCode != 0 ? QString::fromLocal8Bit(std::strerror(fCode)) : fInner->errorString();
        if (fFailure.isEmpty()) fFailure = QStringLiteral("the write was refused");
        fBuffer.clear();
        return false;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (!fFailure.isEmpty()) return -1;
        fBuffer.append(data, size);
        if (fBuffer.size() >= kChunk && !Flush()) return -1;
        return size;
    }

private:
    QIODevice* fInner;
    QByteArray fBuffer;
    QString fFailure;
    int fCode = 0;
};

TOutputFile::TOutputFile(const QString& path) : fPath(path) {
    const QFileInfo info(path);
    QString writeTo = path;
    if (!info.exists() || info.isFile() || info.isSymLink()) {
        // A new name made exclusively beside the target; removed again unless it takes the target's place.
        fTemp = std::make_unique<QTemporaryFile>(path + QStringLiteral(".XXXXXX"));
        errno = 0;
        if (!fTemp->open()) {
            fCode = errno;
            fDirect = std::make_unique<QFile>(path);
            fCreateError = fTemp->errorString();
            fChecked = std::make_unique<TCheckedDevice>(fDirect.get());
            return;
        }
        fTemp->close();
        fTemp->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                              QFileDevice::ReadOther);
        writeTo = fTemp->fileName();
    }
    fDirect = std::make_unique<QFile>(writeTo);
    // Unbuffered below the chunks: a write that fails says so at once instead of at a close nobody checks.
    errno = 0;
    fOpen = fDirect->open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::Truncate);
    if (!fOpen) fCode = errno;
    fChecked = std::make_unique<TCheckedDevice>(fDirect.get());
}

TOutputFile::~TOutputFile() = default;

QIODevice* TOutputFile::Device() const {
    return fChecked.get();
}

bool TOutputFile::Failed() const {
    return !fChecked->Failure().isEmpty() || !fRenameError.isEmpty() || !fCreateError.isEmpty();
}

QString TOutputFile::ErrorString() const {
    if (!fRenameError.isEmpty()) return fRenameError;
    if (!fCreateError.isEmpty()) return fCreateError;
    return fChecked->Failure().isEmpty() ? fDirect->errorString() : fChecked->Failure();
}

QString TOutputFile::ErrorText() const {
    const QString text = ErrorString();
    return TFileWriter::Cause(fChecked->Code() ? fChecked->Code() : fCode,
                              text == QLatin1String("Unknown error") ? QString() : text);
}

bool TOutputFile::Finish() {
    if (!fOpen || !fChecked->Flush()) return false;
    // On disk before it takes the target's name, as the saves' files are: a crash after the rename
    // must not leave an empty file where the last good one was.
    if (fTemp && ::fsync(fDirect->handle()) != 0) {
        fCode = errno;
        fRenameError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    fDirect->close();
    if (fDirect->error() != QFileDevice::NoError) return false;
    if (!fTemp) return true;
    // rename(2) replaces the name itself, a link included.
    if (std::rename(QFile::encodeName(fTemp->fileName()).constData(), QFile::encodeName(fPath).constData()) != 0) {
        fCode = errno;
        fRenameError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    fTemp->setAutoRemove(false);
    return true;
}
