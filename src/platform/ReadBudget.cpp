#include "platform/ReadBudget.h"

bool TReadBudget::TakePixels(qint64 count) {
    if (count < 0 || count > fPixels) return false;
    fPixels -= count;
    return true;
}

void TReadBudget::Refuse(const QString& reason) {
    if (fRefusal.isEmpty()) fRefusal = reason;
}
