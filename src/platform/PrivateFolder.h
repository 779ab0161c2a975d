#pragma once

#include <QString>

// A folder only this user may enter, for sockets and the like: made with mode 0700, and taken
// only when it is a real folder (not a link) owned by this user with mode 0700, as Qt checks its
// own runtime folder. In a shared place such as /tmp another user could make the folder first,
// or put a link there, and receive what is meant for this user.
class TPrivateFolder {
public:
    // True when path is (now) such a folder; otherwise why says why and nothing was changed
    // outside a folder of this user's own.
    static bool Make(const QString& path, QString* why = nullptr);
    // The fallback runtime folder, $TMPDIR/komorebi-runtime-<uid>, or empty when it is not safe.
    static QString FallbackRuntimeFolder();
};
