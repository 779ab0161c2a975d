#include "calendar/KoyomiTable.h"

#include <cstring>

namespace {

constexpr char kMagic[4] = {'K', 'Y', 'M', 'I'};
constexpr int kVersion = 1;
constexpr int kHeaderSize = 10;
constexpr int kYearFixed = 4 + 30 * 4;
// A year has 12 to 14 month starts and about 50 phases; more is a damaged count.
constexpr int kMaxMonths = 16;
constexpr int kMaxPhases = 64;

uint32_t Fnv1a(const char* p, qsizetype n) {
    uint32_t h = 2166136261u;
    for (qsizetype i = 0; i < n; ++i)
        h = (h ^ static_cast<uint8_t>(p[i])) * 16777619u;
    return h;
}

void Put(QByteArray& out, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

// Reads little-endian values, never past the end it was given.
class TCursor {
public:
    TCursor(const char* p, qsizetype n) : fP(p), fLeft(n) {}
    bool Has(qsizetype n) const { return n <= fLeft; }
    uint32_t Get(int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= uint32_t(static_cast<uint8_t>(fP[i])) << (8 * i);
        fP += bytes;
        fLeft -= bytes;
        return v;
    }
    qsizetype Left() const { return fLeft; }

private:
    const char* fP;
    qsizetype fLeft;
};

bool Fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

} // namespace

uint32_t TKoyomiTable::Checksum(const char* bytes, qsizetype size) {
    return Fnv1a(bytes, size);
}

QByteArray TKoyomiTable::Write(const std::vector<TKoyomiYear>& years) {
    QByteArray out(kMagic, 4);
    Put(out, kVersion, 1);
    Put(out, 0, 1);
    Put(out, years.empty() ? 0 : years.front().Year, 2);
    Put(out, years.empty() ? 0 : years.back().Year, 2);
    for (const TKoyomiYear& y : years) {
        Put(out, y.Year, 2);
        Put(out, static_cast<uint32_t>(y.Months.size()), 1);
        Put(out, static_cast<uint32_t>(y.Phases.size()), 1);
        for (int32_t m : y.Terms)
            Put(out, static_cast<uint32_t>(m), 4);
        for (int32_t m : y.Extras)
            Put(out, static_cast<uint32_t>(m), 4);
        for (const TKoyomiYear::TMonth& m : y.Months) {
            Put(out, static_cast<uint32_t>(m.Start), 4);
            Put(out, m.Number | (m.Leap ? 0x80 : 0), 1);
        }
        for (const TKoyomiYear::TPhase& p : y.Phases) {
            Put(out, static_cast<uint32_t>(p.Minute), 4);
            Put(out, p.Kind, 1);
        }
    }
    Put(out, Fnv1a(out.constData(), out.size()), 4);
    return out;
}

bool TKoyomiTable::Read(const QByteArray& bytes, std::vector<TKoyomiYear>* years, QString* error) {
    years->clear();
    if (bytes.size() < kHeaderSize + 4 || std::memcmp(bytes.constData(), kMagic, 4) != 0)
        return Fail(error, QStringLiteral("暦のデータではありません。"));
    const qsizetype body = bytes.size() - 4;
    TCursor sum(bytes.constData() + body, 4);
    if (sum.Get(4) != Fnv1a(bytes.constData(), body)) return Fail(error, QStringLiteral("暦のデータが壊れています。"));
    TCursor c(bytes.constData() + 4, body - 4);
    if (c.Get(1) != kVersion) return Fail(error, QStringLiteral("この版の暦データは読めません。"));
    c.Get(1);
    const int first = static_cast<int>(c.Get(2)), last = static_cast<int>(c.Get(2));
    if (first < TKoyomi::kFirstYear || last > TKoyomi::kLastYear || first > last)
        return Fail(error, QStringLiteral("暦データの年の範囲が正しくありません。"));
    std::vector<TKoyomiYear> out;
    out.reserve(last - first + 1);
    for (int year = first; year <= last; ++year) {
        if (!c.Has(kYearFixed)) return Fail(error, QStringLiteral("暦データが途中で切れています。"));
        TKoyomiYear y;
        y.Year = static_cast<int>(c.Get(2));
        const int months = static_cast<int>(c.Get(1)), phases = static_cast<int>(c.Get(1));
        if (y.Year != year || months < 1 || months > kMaxMonths || phases < 1 || phases > kMaxPhases ||
            !c.Has(120 + qsizetype(months + phases) * 5))
            return Fail(error, QStringLiteral("暦データの %1 年が壊れています。").arg(year));
        for (int32_t& m : y.Terms)
            m = static_cast<int32_t>(c.Get(4));
        for (int32_t& m : y.Extras)
            m = static_cast<int32_t>(c.Get(4));
        y.Months.resize(months);
        for (TKoyomiYear::TMonth& m : y.Months) {
            m.Start = static_cast<int32_t>(c.Get(4));
            const uint32_t code = c.Get(1);
            m.Number = code & 0x7f;
            m.Leap = code & 0x80;
        }
        y.Phases.resize(phases);
        for (TKoyomiYear::TPhase& p : y.Phases) {
            p.Minute = static_cast<int32_t>(c.Get(4));
            p.Kind = static_cast<int>(c.Get(1));
        }
        bool ordered = true;
        for (int i = 0; i < months; ++i)
            ordered = ordered && y.Months[i].Number >= 1 && y.Months[i].Number <= 12 &&
                      (i == 0 || y.Months[i].Start > y.Months[i - 1].Start);
        for (int i = 0; i < phases; ++i)
            ordered = ordered && y.Phases[i].Kind <= 3 && (i == 0 || y.Phases[i].Minute > y.Phases[i - 1].Minute);
        if (!ordered) return Fail(error, QStringLiteral("暦データの %1 年が壊れています。").arg(year));
        out.push_back(std::move(y));
    }
    if (c.Left() != 0) return Fail(error, QStringLiteral("暦データの後に余分なデータがあります。"));
    *years = std::move(out);
    return true;
}
