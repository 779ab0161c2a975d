#include "calendar/FamilyDays.h"

#include <atomic>

// Placeholder until the list file lands.
bool TFamilyDays::Load(const QString&, QStringList*) {
    return true;
}
void TFamilyDays::LoadFromBytes(const QByteArray&, QStringList*) {}
bool TFamilyDays::Save(const QString&, QString*) const {
    return false;
}
QStringList TFamilyDays::On(int, int, int, bool) const {
    return {};
}

namespace {
std::shared_ptr<const TFamilyDays>& CurrentSlot() {
    static std::shared_ptr<const TFamilyDays> current = std::make_shared<TFamilyDays>();
    return current;
}
} // namespace

std::shared_ptr<const TFamilyDays> TFamilyDays::Current() {
    return std::atomic_load(&CurrentSlot());
}
void TFamilyDays::SetCurrent(std::shared_ptr<const TFamilyDays> days) {
    std::atomic_store(&CurrentSlot(), days ? std::move(days) : std::make_shared<const TFamilyDays>());
}
