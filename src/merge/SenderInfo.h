#pragma once

#include "objects/ObjectExtras.h"

#include <QByteArray>
#include <QString>

// The sender printed on the address side, from the user's settings. It has a UTF-8 file of its
// own (settings.ini is CP932, which would lose names such as 𠮷): one "key=value" line a value.
class TSenderInfo {
public:
    static constexpr qint64 kMaxFileBytes = 64 * 1024;
    static constexpr int kMaxValueChars = 256;

    QString PostalCode;
    QString Address1;
    QString Address2;
    QString Name;

    bool operator==(const TSenderInfo&) const = default;

    // The value a sender field shows.
    QString Item(TObjectExtras::TSenderItem item) const;
    // Empty or seven digits (a hyphen allowed).
    static bool ValidPostalCode(const QString& value);

    QByteArray ToBytes() const;
    // Unknown keys are skipped; bytes that are not UTF-8 or too long give empty values.
    static TSenderInfo FromBytes(const QByteArray& bytes);
    // A missing, unreadable or damaged file gives empty values.
    static TSenderInfo Load(const QString& file);
    // Writes the whole file or leaves the old one; *error says why in Japanese.
    bool Save(const QString& file, QString* error = nullptr) const;
};
