#pragma once

#include "merge/PriBarcode.h"
#include "merge/ZintSymbol.h"

#include <QString>

class QPainter;

// What a barcode field draws: data, kind and two flags. A record value "data kind check text"
// gives all four; a field with a kind of its own takes the value as the data.
class TBarcodeValue {
public:
    // 0 to 3 are drawn by our own code; 4 on by libzint.
    enum TKind : int {
        bkEan8 = 0,
        bkEan13 = 1,
        bkItf = 2,
        bkCodabar = 3,
        bkCode128 = 4,
        bkQr = 5,
        bkCustomer = 6,
        bkDataMatrix = 7,
    };
    static constexpr int kKinds = 8;
    // The narrowest module a 300 dpi printer puts down reliably, in mm.
    static constexpr double kMinModuleMm = 0.2;
    // Japan Post's customer barcode: bar width 0.6 mm at 10 point, allowed from 8 to 11.5 point.
    static constexpr double kCustomerModuleMm = 0.6;
    static constexpr double kCustomerMinModuleMm = 0.48;

    QString Data;
    int Kind = -1;
    // Check character for 0 to 3; ignored by the others, which always carry theirs.
    bool Check = false;
    // The digits under the bars of a linear code.
    bool ShowText = false;

    // The parts of a record value. The four old kinds take exactly four parts between single
    // spaces, as stored files have them; the others take everything before the last three parts
    // as the data, where a backslash before a space keeps it as text. False for anything else.
    static bool Parse(const QString& value, TBarcodeValue& out);

    bool ByLibzint() const { return Kind >= bkCode128 && Kind < kKinds; }
    // "" when the data suits the kind, otherwise the reason in words for the user.
    QString Refusal() const;
    // Our own renderer set up for one of the four old kinds.
    TPriBarcode Linear(int resolution) const;
    // The symbol of a libzint kind; empty with the reason in refusal when it cannot be made.
    TZintSymbol Symbol(QString* refusal = nullptr) const;
    // The data libzint gets for a customer barcode: postal code and address number, cut as Japan
    // Post cuts it; "" without a 7-digit postal code at the front.
    static QString CustomerData(const QString& data);

    static QString KindName(int kind);
    // A value of each kind for the field dialog's sample.
    static QString SampleData(int kind);
    // The smallest module, in mm, at which the kind may be printed.
    static double MinModuleMm(int kind) { return kind == bkCustomer ? kCustomerMinModuleMm : kMinModuleMm; }

private:
    // Symbol's work; without a symbol to fill only whether it can be made, which is faster.
    bool Make(QString* refusal, TZintSymbol* symbol) const;
};
