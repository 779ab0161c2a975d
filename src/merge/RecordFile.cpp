#include "merge/RecordFile.h"

#include "merge/RecordText.h"

#include <QFileInfo>

QChar TRecordFile::SeparatorFor(const QString& fileName) {
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("CSV") ? QChar(u',') : QChar(u'\t');
}

void TRecordFile::Clear() {
    FKeys.clear();
    FStore.reset();
    FFileName.clear();
    FCount = 0;
}

bool TRecordFile::LoadFromFile(const QString& path) {
    QByteArray bytes;
    QString error;
    if (!TRecordText::ReadFile(path, bytes, error)) {
        Clear();
        FError = error;
        return false;
    }
    return LoadFromBytes(bytes, QFileInfo(path).fileName());
}

bool TRecordFile::LoadFromBytes(const QByteArray& bytes, const QString& fileName) {
    Clear();
    FError.clear();
    const QChar separator = SeparatorFor(fileName);
    const QString text = TRecordText::Decode(bytes);
    if (text.isEmpty()) {
        FError = QStringLiteral("%1 has no line").arg(fileName);
        return false;
    }

    FStore = std::make_unique<TRecordStore>();
    // Values never hold more characters than the file, bar vertical tabs turned into CR LF.
    FStore->Text.reserve(text.size());
    TKeyUnit* current = nullptr;
    QString scratch;
    TRecordText::ForEachLine(text, [&](QStringView line) {
        if (line.isEmpty()) return;
        const QStringView key = SplitKeyView(line, separator, scratch);
        if (!current || key != current->KeyView()) {
            FKeys.emplace_back(key, FStore.get());
            current = &FKeys.back();
        }
        current->AddRow(line, separator);
    });
    FFileName = fileName;
    FCount = int(FKeys.size());
    return true;
}

const TKeyUnit* TRecordFile::Record(int index) const {
    if (index < 0 || index >= FCount) return nullptr;
    return &FKeys[size_t(index)];
}

QString TRecordFile::KeyAt(int index) const {
    const TKeyUnit* record = Record(index);
    return record ? record->Key() : QString();
}

int TRecordFile::IndexOfKey(const QString& key) const {
    for (int i = 0; i < FCount; ++i)
        if (FKeys[size_t(i)].KeyView() == key) return i;
    return -1;
}

int TRecordFile::RowCountOfKey(const QString& key) const {
    const int index = IndexOfKey(key);
    return index < 0 ? -1 : FKeys[size_t(index)].RowCount();
}

QString TRecordFile::ValueAt(int index, int row, int n) const {
    const TKeyUnit* record = Record(index);
    return record ? record->Value(row, n) : QString();
}
