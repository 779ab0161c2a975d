#include "merge/CustomerAddress.h"

QString TCustomerAddress::DisplayNumber(const QString& address) {
    QString out;
    for (QChar c : address)
        if (c.isDigit() || c == QChar(u'-')) out += c;
    return out;
}

QString TCustomerAddress::BarcodeData(const QString& postal, const QString& address) {
    return postal + DisplayNumber(address);
}
