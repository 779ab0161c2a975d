#pragma once

#include "merge/RecordStore.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

// One record of a record file: the consecutive lines that share a key. The rows live in a
// store, either the unit's own or the one its record file shares among all its records.
class TKeyUnit {
public:
    explicit TKeyUnit(QStringView key = {});
    // A record whose rows go into the file's store; its rows must be the last ones there.
    TKeyUnit(QStringView key, TRecordStore* shared);

    TKeyUnit(TKeyUnit&&) noexcept = default;
    TKeyUnit& operator=(TKeyUnit&&) noexcept = default;

    QString Key() const { return KeyView().toString(); }
    QStringView KeyView() const { return QStringView(FStore->Keys).mid(FKeyStart, FKeyLength); }
    int RowCount() const { return FRowCount; }

    // Appends one row parsed from line: separators split values unless a backslash escapes
    // them, a value opening with a double quote keeps what lies up to the next quote, and a
    // vertical tab becomes CR LF. False when another record has added rows to the store since.
    bool AddRow(QStringView line, QChar separator);

    // Number of values of row k; 0 when there is no such row.
    int ValueCount(int row) const;
    // Value n of row k; "" when either is out of range.
    QString Value(int row, int n) const { return ValueView(row, n).toString(); }
    QStringView ValueView(int row, int n) const;
    QStringList Row(int row) const;

private:
    void FinishValue(qsizetype start, bool hasVerticalTab);

    std::unique_ptr<TRecordStore> FOwnStore;
    TRecordStore* FStore = nullptr;
    qsizetype FKeyStart = 0;
    qsizetype FKeyLength = 0;
    qsizetype FFirstRow = 0;
    int FRowCount = 0;
};

// The key of a record line: everything up to the first unescaped separator, with escaped
// separators unescaped and the quote rule applied. A line without a separator is its own key.
QString SplitKey(QStringView line, QChar separator);

// SplitKey without an allocation in the common case: a view into line, or into scratch.
QStringView SplitKeyView(QStringView line, QChar separator, QString& scratch);

// The quote rule: a value opening with a double quote becomes the text up to the next one.
QStringView ApplyQuoteRule(QStringView value);
