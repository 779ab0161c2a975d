#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// One record of a record file: the consecutive lines that share a key. The values of all
// rows are kept back to back in one buffer, which keeps a 500,000-row file to a handful of
// allocations per record instead of one per value.
class TKeyUnit {
public:
    explicit TKeyUnit(QString key = QString()) : FKey(std::move(key)) {}

    const QString& Key() const { return FKey; }
    int RowCount() const { return FRowCount; }

    // Appends one row parsed from line: separators split values unless a backslash escapes
    // them, a value opening with a double quote keeps what lies up to the next quote, and a
    // vertical tab becomes CR LF.
    void AddRow(QStringView line, QChar separator);

    // Number of values of row k; 0 when there is no such row.
    int ValueCount(int row) const;
    // Value n of row k; "" when either is out of range.
    QString Value(int row, int n) const;
    QStringView ValueView(int row, int n) const;
    QStringList Row(int row) const;

private:
    void FinishValue(QString& pending);

    QString FKey;
    QString FText;                     // every value, back to back
    std::vector<qsizetype> FValueEnds; // end of each value in FText
    std::vector<qsizetype> FRowEnds;   // one past each row's last value in FValueEnds
    int FRowCount = 0;
};

// The key of a record line: everything up to the first unescaped separator, with escaped
// separators unescaped and the quote rule applied. A line without a separator is its own key.
QString SplitKey(QStringView line, QChar separator);

// The quote rule: a value opening with a double quote becomes the text up to the next one.
QStringView ApplyQuoteRule(QStringView value);
