#pragma once

#include <QString>

// Placeholder until the address-number extraction lands.
class TCustomerAddress {
public:
    static QString DisplayNumber(const QString& address);
    static QString BarcodeData(const QString& postal, const QString& address);
};
