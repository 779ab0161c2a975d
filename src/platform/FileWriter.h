#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Writes a file whole or not at all. The bytes go to a file beside the target, which takes the
// target's place only once every write and the final flush succeeded; on any failure the old file
// stays as it was. QSaveFile alone is not enough: its commit() renames even when the flush of its
// buffer fails (a full disk then leaves an empty file where the old one was).
class TFileWriter {
public:
    explicit TFileWriter(const QString& fileName);
    ~TFileWriter();
    TFileWriter(const TFileWriter&) = delete;
    TFileWriter& operator=(const TFileWriter&) = delete;

    bool Open();
    // The buffered device to write to; every write is checked again at Commit().
    QIODevice* Device() { return &fFile; }
    bool Write(const QByteArray& bytes);
    // True only when the whole file reached the disk and replaced the target.
    bool Commit();
    // Why the last step failed, in Japanese, with the system's own reason after it.
    QString ErrorText() const { return fError; }

    // Writes bytes as the whole content of fileName; on failure *error gets ErrorText().
    static bool WriteAll(const QString& fileName, const QByteArray& bytes, QString* error = nullptr);
    // The Japanese cause for a failed file operation's errno value and system text.
    static QString Cause(int errnoValue, const QString& systemText);

private:
    bool Fail();

    QSaveFile fFile;
    QString fError;
    bool fFailed = false;
};
