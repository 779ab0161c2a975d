#pragma once

#include <QString>

// What the Japan Post customer barcode carries besides the postal code: the address's display
// number (住所表示番号) taken from the written address by Japan Post's extraction rules, so a
// record's address field can feed the barcode as it is.
class TCustomerAddress {
public:
    // The display number of an address, the lines joined or not: "1-3-2-503" for
    // 「霞が関1丁目3番2号　郵便プラザ503室」. An address that already is one (only digits, A-Z and
    // hyphens) comes back tidied. Empty when the address has no number at all.
    static QString DisplayNumber(const QString& address);

    // The postal code's seven digits followed by the display number, cut to the twenty places the
    // barcode holds; empty when the postal code is not seven digits.
    static QString BarcodeData(const QString& postal, const QString& address);

    // Barcode places the postal code and display number fill together (a letter takes two).
    static constexpr int kPlaces = 20;
};
