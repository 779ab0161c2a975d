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

void TKeyUnit::FinishValue(QString& pending) {
    const QStringView value = ApplyQuoteRule(pending);
    for (QChar c : value) {
        if (c == QChar(kVerticalTab))
            FText.append(u"\r\n");
        else
            FText.append(c);
    }
    FValueEnds.push_back(FText.size());
    pending.clear();
}

void TKeyUnit::AddRow(QStringView line, QChar separator) {
    QString pending;
    QChar prev;
    const qsizetype n = line.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = line[i];
        if (ch == QChar(kBackslash)) {
            if (i + 1 >= n || line[i + 1] != separator) pending.append(ch);
            prev = ch;
        } else if (ch != separator) {
            pending.append(ch);
            prev = ch;
        } else if (prev != QChar(kBackslash)) {
            FinishValue(pending);
            prev = QChar();
        } else {
            pending.append(ch);
            prev = ch;
        }
    }
    FinishValue(pending);
    FRowEnds.push_back(qsizetype(FValueEnds.size()));
    FRowCount = int(FRowEnds.size());
}

int TKeyUnit::ValueCount(int row) const {
    if (row < 0 || row >= FRowCount) return 0;
    const qsizetype first = row == 0 ? 0 : FRowEnds[size_t(row - 1)];
    return int(FRowEnds[size_t(row)] - first);
}

QStringView TKeyUnit::ValueView(int row, int n) const {
    if (n < 0 || n >= ValueCount(row)) return {};
    const size_t index = size_t((row == 0 ? 0 : FRowEnds[size_t(row - 1)]) + n);
    const qsizetype begin = index == 0 ? 0 : FValueEnds[index - 1];
    return QStringView(FText).mid(begin, FValueEnds[index] - begin);
}

QString TKeyUnit::Value(int row, int n) const {
    return ValueView(row, n).toString();
}

QStringList TKeyUnit::Row(int row) const {
    QStringList out;
    const int count = ValueCount(row);
    out.reserve(count);
    for (int n = 0; n < count; ++n)
        out.append(Value(row, n));
    return out;
}
