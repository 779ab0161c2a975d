#include "platform/FileWriter.h"

#include <cerrno>
#include <cstring>

TFileWriter::TFileWriter(const QString& fileName) : fFile(fileName) {}

TFileWriter::~TFileWriter() {
    if (fFile.isOpen()) fFile.cancelWriting();
}

QString TFileWriter::Cause(int errnoValue, const QString& systemText) {
    QString cause;
    switch (errnoValue) {
    case ENOSPC:
    case EDQUOT: cause = QStringLiteral("ディスクの空き容量が足りません"); break;
    case EFBIG: cause = QStringLiteral("ファイルが大きすぎて書き込めません"); break;
    case EACCES:
    case EPERM: cause = QStringLiteral("書き込む権限がありません"); break;
    case EROFS: cause = QStringLiteral("読み取り専用の場所には書き込めません"); break;
    case EIO: cause = QStringLiteral("ディスクの読み書きに失敗しました"); break;
    default: cause = QStringLiteral("ファイルを書き込めませんでした"); break;
    }
    return systemText.isEmpty() ? cause : QStringLiteral("%1: %2").arg(cause, systemText);
}

bool TFileWriter::Fail() {
    const int saved = errno;
    if (!fFailed) {
        fFailed = true;
        // Qt keeps the system's text but not its number: recover the number from the text.
        QString text = fFile.errorString();
        int code = saved;
        for (int candidate : {ENOSPC, EDQUOT, EFBIG, EACCES, EPERM, EROFS, EIO})
            if (text.contains(QString::fromLocal8Bit(std::strerror(candidate)), Qt::CaseInsensitive)) code = candidate;
        if (text == QLatin1String("Unknown error")) text.clear();
        fError = Cause(code, text);
    }
    if (fFile.isOpen()) fFile.cancelWriting();
    return false;
}

bool TFileWriter::Open() {
    fFailed = false;
    fError.clear();
    errno = 0;
    if (!fFile.open(QIODevice::WriteOnly)) return Fail();
    return true;
}

bool TFileWriter::Write(const QByteArray& bytes) {
    if (fFailed || !fFile.isOpen()) return false;
    errno = 0;
    if (fFile.write(bytes) != bytes.size()) return Fail();
    return true;
}

bool TFileWriter::Commit() {
    if (fFailed || !fFile.isOpen()) return false;
    errno = 0;
    // The flush is where a full disk shows for a small file: it must succeed before the rename.
    if (fFile.error() != QFileDevice::NoError || !fFile.flush() || fFile.error() != QFileDevice::NoError) return Fail();
    if (!fFile.commit()) return Fail();
    return true;
}

bool TFileWriter::WriteAll(const QString& fileName, const QByteArray& bytes, QString* error) {
    TFileWriter writer(fileName);
    const bool ok = writer.Open() && writer.Write(bytes) && writer.Commit();
    if (!ok && error) *error = writer.ErrorText();
    return ok;
}
