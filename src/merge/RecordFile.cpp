#include "merge/RecordFile.h"

#include "merge/RecordText.h"

#include <QFileInfo>
#include <QHash>
#include <bit>

namespace {

// How much of the text is split before the rest is sized from it.
constexpr qsizetype kSampleChars = 1 << 16;

} // namespace

QChar TRecordFile::SeparatorFor(const QString& fileName) {
    return QFileInfo(fileName).suffix().toUpper() == QLatin1String("CSV") ? QChar(u',') : QChar(u'\t');
}

void TRecordFile::Clear() {
    FKeys.clear();
    FIndex.clear();
    FStore.reset();
    FFileName.clear();
    FCount = 0;
}

bool TRecordFile::LoadFromFile(const QString& path) {
    QString text;
    QString error;
    if (!TRecordText::ReadText(path, text, error)) {
        Clear();
        FError = error;
        return false;
    }
    return Build(std::move(text), QFileInfo(path).fileName());
}

bool TRecordFile::LoadFromBytes(const QByteArray& bytes, const QString& fileName) {
    return Build(TRecordText::Decode(bytes), fileName);
}

bool TRecordFile::Build(QString&& decoded, const QString& fileName) {
    Clear();
    FError.clear();
    if (decoded.isEmpty()) {
        FError = QStringLiteral("「%1」にはレコードの行がありません").arg(fileName);
        return false;
    }
    if (!TRecordStore::Fits(decoded.size())) {
        FError = QStringLiteral("差し込みファイル「%1」は大きすぎて読み込めません（%2 文字まで）")
                     .arg(fileName)
                     .arg(TRecordStore::kMaxTextChars);
        return false;
    }
    const QChar separator = SeparatorFor(fileName);
    FStore = std::make_unique<TRecordStore>();
    QString& text = FStore->Text;
    text = std::move(decoded);
    text.detach();

    TKeyUnit* current = nullptr;
    QString scratch;
    qsizetype write = 0;
    const QChar* base = text.constData();
    bool reserved = false;
    TRecordText::ForEachLine(QStringView(text), [&](QStringView line) {
        if (line.isEmpty()) return;
        const qsizetype at = line.data() - base;
        if (!reserved && at >= kSampleChars) {
            // Room for the rest as the start suggests: growing by doubling would hold two copies for a while.
            const double scale = double(text.size()) / double(at) * 1.2;
            FStore->ValueEnds.reserve(size_t(double(FStore->ValueEnds.size()) * scale));
            FStore->RowEnds.reserve(size_t(double(FStore->RowEnds.size()) * scale));
            FKeys.reserve(size_t(double(FKeys.size()) * scale));
            if (current) current = &FKeys.back();
            reserved = true;
        }
        const QStringView key = SplitKeyView(line, separator, scratch);
        if (!current || key != current->KeyView()) {
            // A line without an unescaped separator is its own key as it stands, quote and
            // backslashes included, though its value is not: such a key is kept apart.
            const bool apart = key.size() == line.size() && (key.startsWith(u'"') || key.contains(separator));
            FKeys.emplace_back(FStore.get(), apart ? key : QStringView());
            current = &FKeys.back();
        }
        current->ParseRowInPlace(at, line.size(), separator, write);
    });
    text.truncate(write);
    text.squeeze();
    FFileName = fileName;
    FCount = int(FKeys.size());
    BuildIndex();
    return true;
}

void TRecordFile::BuildIndex() {
    if (FKeys.empty()) return;
    FIndex.assign(std::bit_ceil(FKeys.size() * 2), 0);
    const size_t mask = FIndex.size() - 1;
    for (size_t i = 0; i < FKeys.size(); ++i) {
        const QStringView key = FKeys[i].KeyView();
        for (size_t slot = qHash(key) & mask;; slot = (slot + 1) & mask) {
            if (FIndex[slot] == 0) {
                FIndex[slot] = uint32_t(i + 1);
                break;
            }
            // A later record with the same key stays out: lookups want the first.
            if (FKeys[FIndex[slot] - 1].KeyView() == key) break;
        }
    }
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
    if (FIndex.empty()) return -1;
    const size_t mask = FIndex.size() - 1;
    for (size_t slot = qHash(QStringView(key)) & mask; FIndex[slot] != 0; slot = (slot + 1) & mask)
        if (FKeys[FIndex[slot] - 1].KeyView() == key) return int(FIndex[slot] - 1);
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
