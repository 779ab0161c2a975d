#include "document/OutMessage.h"

#include "platform/Cp932.h"

#include <QFile>
#include <QFileInfo>

QString TOutMessage::ErrorText() {
    return QStringLiteral("エラーが発生しました");
}

bool TOutMessage::LoadMessages(const QString& path) {
    // A folder or a pipe in the file's place counts as no file.
    const QFileInfo info(path);
    fLoadError.clear();
    if (!info.isFile()) return false;
    if (info.size() > kMaxFileBytes) {
        fLoadError = QStringLiteral("%1 は大きすぎるため読み込みませんでした（上限 %2 MB）")
                         .arg(info.fileName())
                         .arg(kMaxFileBytes >> 20);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    LoadFromBytes(file.read(kMaxFileBytes));
    return true;
}

void TOutMessage::LoadFromBytes(const QByteArray& bytes) {
    fMessages.clear();
    // Lines end in CR LF, LF or a lone CR (files saved by old Mac editors); a final line break does
    // not start another message.
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines.append(bytes.mid(start));
    for (const QByteArray& line : lines) {
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
