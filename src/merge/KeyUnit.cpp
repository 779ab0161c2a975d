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
    FKeyLength = key.size();
}

TKeyUnit::TKeyUnit(QStringView key, TRecordStore* shared) : FStore(shared) {
    FKeyStart = FStore->Keys.size();
    FKeyLength = key.size();
    FStore->Keys.append(key);
    FFirstRow = qsizetype(FStore->RowEnds.size());
}

void TKeyUnit::FinishValue(qsizetype start, bool hasVerticalTab) {
    // The raw value sits at the end of the text; the quote rule and line breaks are applied in place.
    QString& text = FStore->Text;
    if (text.size() > start && text.at(start) == QChar(kQuote)) {
        const qsizetype close = text.indexOf(QChar(kQuote), start + 1);
        if (close >= 0) text.truncate(close);
        text.remove(start, 1);
    }
    if (hasVerticalTab) {
        QString tail = text.mid(start);
        tail.replace(QChar(kVerticalTab), QStringLiteral("\r\n"));
        text.truncate(start);
        text.append(tail);
    }
    FStore->ValueEnds.push_back(text.size());
}

// A backslash right before a separator turns it into text and is dropped; every other
// character, backslashes included, is copied as it stands.
bool TKeyUnit::AddRow(QStringView line, QChar separator) {
    if (FFirstRow + FRowCount != qsizetype(FStore->RowEnds.size())) return false;
    QString& text = FStore->Text;
    const QChar* p = line.data();
    const qsizetype n = line.size();
    const char16_t sep = separator.unicode();
    qsizetype valueStart = text.size();
    qsizetype segment = 0;
    bool afterBackslash = false;
    bool hasVerticalTab = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c == sep) {
            if (!afterBackslash) {
                text.append(p + segment, i - segment);
                FinishValue(valueStart, hasVerticalTab);
                valueStart = text.size();
                segment = i + 1;
                hasVerticalTab = false;
            }
            afterBackslash = false;
        } else if (c == kBackslash) {
            if (i + 1 < n && p[i + 1].unicode() == sep) {
                text.append(p + segment, i - segment);
                segment = i + 1;
            }
            afterBackslash = true;
        } else {
            if (c == kVerticalTab) hasVerticalTab = true;
            afterBackslash = false;
        }
    }
    text.append(p + segment, n - segment);
    FinishValue(valueStart, hasVerticalTab);
    FStore->RowEnds.push_back(qsizetype(FStore->ValueEnds.size()));
    ++FRowCount;
    return true;
}

int TKeyUnit::ValueCount(int row) const {
    if (row < 0 || row >= FRowCount) return 0;
    const qsizetype r = FFirstRow + row;
    return int(FStore->RowEnds[size_t(r)] - FStore->RowBegin(r));
}

QStringView TKeyUnit::ValueView(int row, int n) const {
    if (n < 0 || n >= ValueCount(row)) return {};
    const qsizetype index = FStore->RowBegin(FFirstRow + row) + n;
    const qsizetype begin = FStore->ValueBegin(index);
    return QStringView(FStore->Text).mid(begin, FStore->ValueEnds[size_t(index)] - begin);
}

QStringList TKeyUnit::Row(int row) const {
    QStringList out;
    const int count = ValueCount(row);
    out.reserve(count);
    for (int n = 0; n < count; ++n)
        out.append(Value(row, n));
    return out;
}
