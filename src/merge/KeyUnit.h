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
    // A record whose rows go into the file's store; its rows must be the last ones there. An
    // empty keyApart means the key is the first value of the first row.
    TKeyUnit(TRecordStore* shared, QStringView keyApart);

    TKeyUnit(TKeyUnit&&) noexcept = default;
    TKeyUnit& operator=(TKeyUnit&&) noexcept = default;

    QString Key() const { return KeyView().toString(); }
    QStringView KeyView() const {
        const bool apart = FKeyLength & kKeyApart;
        return QStringView(apart ? FStore->Keys : FStore->Text).mid(FKeyStart, FKeyLength & ~kKeyApart);
    }
    int RowCount() const { return int(FRowCount); }

    // Appends one row parsed from line: separators split values unless a backslash escapes
    // them, a value opening with a double quote keeps what lies up to the next quote, and a
    // vertical tab becomes CR LF. False when another record has added rows to the store since.
    bool AddRow(QStringView line, QChar separator);

    // The file's loader: parses the line lying in the store's own text at lineStart into the
    // text at writeStart (never after lineStart), which then moves past the row's values.
    // The first row of a record whose key is its first value takes the key from there.
    void ParseRowInPlace(qsizetype lineStart, qsizetype lineLength, QChar separator, qsizetype& writeStart);

    // Number of values of row k; 0 when there is no such row.
    int ValueCount(int row) const;
    // Value n of row k; "" when either is out of range.
    QString Value(int row, int n) const;
    QStringList Row(int row) const;

private:
    // The row's values are written to out + write, reading from p; out + write never passes p.
    void ParseRow(const QChar* p, qsizetype n, QChar* out, qsizetype& write, char16_t separator);
    QStringView RawValue(int row, int n) const;

    // Set in FKeyLength when the key lives in the store's Keys rather than its text.
    static constexpr uint32_t kKeyApart = 0x80000000u;

    std::unique_ptr<TRecordStore> FOwnStore;
    TRecordStore* FStore = nullptr;
    uint32_t FKeyStart = 0;
    uint32_t FKeyLength = kKeyApart;
    uint32_t FFirstRow = 0;
    uint32_t FRowCount = 0;
};

// The key of a record line: everything up to the first unescaped separator, with escaped
// separators unescaped and the quote rule applied. A line without a separator is its own key.
QString SplitKey(QStringView line, QChar separator);

// SplitKey without an allocation in the common case: a view into line, or into scratch.
QStringView SplitKeyView(QStringView line, QChar separator, QString& scratch);

// The quote rule: a value opening with a double quote becomes the text up to the next one.
QStringView ApplyQuoteRule(QStringView value);
