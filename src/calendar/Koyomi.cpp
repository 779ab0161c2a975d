#include "calendar/Koyomi.h"

// Placeholder until the astronomy lands: nothing is Known.
struct TKoyomi::TData {};

TKoyomi::TKoyomi() : d(std::make_unique<TData>()) {}
TKoyomi::~TKoyomi() = default;

const TKoyomi& TKoyomi::Shared() {
    static TKoyomi k;
    return k;
}

bool TKoyomi::UseTable(const QString&, QString*) {
    return false;
}

TKoyomiDay TKoyomi::Day(int, int, int) const {
    return {};
}

QString TKoyomi::RokuyouName(int r) {
    static const char16_t* names[] = {u"大安", u"赤口", u"先勝", u"友引", u"先負", u"仏滅"};
    return r >= 0 && r < 6 ? QString::fromUtf16(names[r]) : QString();
}

QString TKoyomi::SolarTermName(int) {
    return {};
}
QString TKoyomi::MoonPhaseName(int) {
    return {};
}
QStringList TKoyomi::ZassetsuNames(uint32_t) {
    return {};
}
