#include "merge/KeyUnit.h"

namespace {

constexpr char16_t kBackslash = u'\\';
constexpr char16_t kQuote = u'"';
constexpr char16_t kVerticalTab = u'\v';

} // namespace

QStringView ApplyQuoteRule(QStringView value) {
    if (value.isEmpty() || value.front() != QChar(kQuote)) return value;
    const QStringView inner = value.mid(1);
    const qsizetype close = inner.indexOf(QChar(kQuote));
    return close < 0 ? inner : inner.left(close);
}

QStringView SplitKeyView(QStringView line, QChar separator, QString& scratch) {
    const qsizetype end = line.indexOf(separator);
    if (end < 0) return line;
    // Without a backslash before the first separator the key is a plain slice of the line.
    if (!line.left(end).contains(QChar(kBackslash))) return ApplyQuoteRule(line.left(end));
    scratch = SplitKey(line, separator);
    return scratch;
}

QString SplitKey(QStringView line, QChar separator) {
    QString key;
    QChar prev;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = line[i];
        if (ch == separator && prev != QChar(kBackslash)) return ApplyQuoteRule(key).toString();
        if (ch == QChar(kBackslash)) {
            // Dropped only when it escapes a separator.
            if (i + 1 >= n || line[i + 1] != separator) key.append(ch);
        } else {
            key.append(ch);
        }
        prev = ch;
    }
    return line.toString();
}

TKeyUnit::TKeyUnit(QStringView key) : FOwnStore(std::make_unique<TRecordStore>()), FStore(FOwnStore.get()) {
    FStore->Keys = key.toString();
    FKeyLength = uint32_t(key.size()) | kKeyApart;
}

TKeyUnit::TKeyUnit(TRecordStore* shared, QStringView keyApart) : FStore(shared) {
    FFirstRow = uint32_t(FStore->RowEnds.size());
    if (keyApart.isEmpty()) {
        FKeyLength = 0;
        return;
    }
    FKeyStart = uint32_t(FStore->Keys.size());
    FKeyLength = uint32_t(keyApart.size()) | kKeyApart;
    FStore->Keys.append(keyApart);
}

// A backslash right before a separator turns it into text and is dropped; every other
// character, backslashes included, is copied as it stands. Vertical tabs stay in the text
// and become line breaks when a value is read, so that no value grows while it is parsed.
void TKeyUnit::ParseRow(const QChar* p, qsizetype n, QChar* out, qsizetype& write, char16_t sep) {
    qsizetype valueStart = write;
    qsizetype segment = 0;
    bool afterBackslash = false;
    const auto copy = [&](qsizetype end) {
        // Moving down within one buffer: never past the bytes still to be read.
        if (out + write != p + segment) memmove(out + write, p + segment, size_t(end - segment) * sizeof(QChar));
        write += end - segment;
    };
    const auto finish = [&] {
        // The quote rule: what lies between the opening quote and the next one.
        if (write > valueStart && out[valueStart] == QChar(kQuote)) {
            qsizetype close = valueStart + 1;
            while (close < write && out[close] != QChar(kQuote))
                ++close;
            memmove(out + valueStart, out + valueStart + 1, size_t(close - valueStart - 1) * sizeof(QChar));
            write = close - 1;
        }
        FStore->ValueEnds.push_back(uint32_t(write));
        valueStart = write;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c == sep) {
            if (!afterBackslash) {
                copy(i);
                finish();
                segment = i + 1;
            }
            afterBackslash = false;
        } else if (c == kBackslash) {
            if (i + 1 < n && p[i + 1].unicode() == sep) {
                copy(i);
                segment = i + 1;
            }
            afterBackslash = true;
        } else {
            afterBackslash = false;
        }
    }
    copy(n);
    finish();
    FStore->RowEnds.push_back(uint32_t(FStore->ValueEnds.size()));
    ++FRowCount;
}

bool TKeyUnit::AddRow(QStringView line, QChar separator) {
    if (FFirstRow + FRowCount != FStore->RowEnds.size()) return false;
    QString& text = FStore->Text;
    qsizetype write = text.size();
    text.resize(write + line.size());
    ParseRow(line.data(), line.size(), text.data(), write, separator.unicode());
    text.truncate(write);
    return true;
}

void TKeyUnit::ParseRowInPlace(qsizetype lineStart, qsizetype lineLength, QChar separator, qsizetype& writeStart) {
    QChar* text = FStore->Text.data();
    const bool first = FRowCount == 0;
    ParseRow(text + lineStart, lineLength, text, writeStart, separator.unicode());
    if (first && !(FKeyLength & kKeyApart)) {
        const uint32_t value = FStore->RowBegin(FFirstRow);
        FKeyStart = FStore->ValueBegin(value);
        FKeyLength = FStore->ValueEnds[value] - FKeyStart;
    }
}

int TKeyUnit::ValueCount(int row) const {
    if (row < 0 || uint32_t(row) >= FRowCount) return 0;
    const uint32_t r = FFirstRow + uint32_t(row);
    return int(FStore->RowEnds[r] - FStore->RowBegin(r));
}

QStringView TKeyUnit::RawValue(int row, int n) const {
    if (n < 0 || n >= ValueCount(row)) return {};
    const uint32_t index = FStore->RowBegin(FFirstRow + uint32_t(row)) + uint32_t(n);
    const uint32_t begin = FStore->ValueBegin(index);
    return QStringView(FStore->Text).mid(begin, FStore->ValueEnds[index] - begin);
}

QString TKeyUnit::Value(int row, int n) const {
    QString value = RawValue(row, n).toString();
    if (value.contains(QChar(kVerticalTab))) value.replace(QChar(kVerticalTab), QStringLiteral("\r\n"));
    return value;
}

QStringList TKeyUnit::Row(int row) const {
    QStringList out;
    const int count = ValueCount(row);
    out.reserve(count);
    for (int n = 0; n < count; ++n)
        out.append(Value(row, n));
    return out;
}
