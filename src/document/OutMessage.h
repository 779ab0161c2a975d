#pragma once

#include <QString>
#include <QStringList>

// The numbered message table: line n of the message file is message n.
class TOutMessage {
public:
    static QString ErrorText();

    // False when the file does not exist (the table stays empty).
    bool LoadMessages(const QString& path);
    // Why the file was refused (too large), or empty.
    const QString& LoadError() const { return fLoadError; }
    static constexpr qint64 kMaxFileBytes = 4 << 20;
    void LoadFromBytes(const QByteArray& bytes);
    // Message n, or the general error text when the table has no such entry.
    QString GetMessage(int number) const;
    bool GetMessage(int number, QString& text) const;
    int Count() const { return int(fMessages.size()); }

private:
    QStringList fMessages;
    QString fLoadError;
};
