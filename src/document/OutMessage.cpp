#include "document/OutMessage.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>

QString TOutMessage::ErrorText() { return QStringLiteral("エラーが発生しました"); }

bool TOutMessage::LoadMessages(const QString& path) {
    // A folder or a pipe in the file's place counts as no file.
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    LoadFromBytes(file.readAll());
    return true;
}

void TOutMessage::LoadFromBytes(const QByteArray& bytes) {
    fMessages.clear();
    QList<QByteArray> lines = bytes.split('\n');
    // A final line break does not start another message.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QByteArray line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        // Only the single-byte colon separates; a full-width colon is part of the text. In CP932
        // 0x3A never occurs as a trail byte, so searching the bytes is safe.
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || colon == line.size() - 1)
            fMessages.append(ErrorText());
        else
            fMessages.append(TCp932::Decode(line.mid(colon + 1)));
    }
}

QString TOutMessage::GetMessage(int number) const {
    if (number < 0 || number >= fMessages.size()) return ErrorText();
    return fMessages[number];
}

bool TOutMessage::GetMessage(int number, QString& text) const {
    text = GetMessage(number);
    return number >= 0 && number < fMessages.size();
}
