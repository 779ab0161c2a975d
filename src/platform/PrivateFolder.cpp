#include "platform/PrivateFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool TPrivateFolder::Make(const QString& path, QString* why) {
    const auto fail = [&](const QString& text) {
        if (why) *why = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text);
        return false;
    };
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {};
    // lstat: a link is refused, never followed.
    if (::lstat(name.constData(), &st) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(st.st_mode)) return fail(QStringLiteral("not a folder (a link or a file is in its place)"));
    if (st.st_uid != ::getuid()) return fail(QStringLiteral("owned by another user"));
    if ((st.st_mode & 07777) != 0700) {
        // Our own folder made under another umask: it is ours to close.
        if (::chmod(name.constData(), 0700) != 0 || ::lstat(name.constData(), &st) != 0 || (st.st_mode & 07777) != 0700)
            return fail(QStringLiteral("its permissions cannot be set to 0700"));
    }
    return true;
}

QString TPrivateFolder::FallbackRuntimeFolder() {
    const QString folder = QDir::tempPath() + QStringLiteral("/komorebi-runtime-%1").arg(::getuid());
    return Make(folder) ? folder : QString();
}
