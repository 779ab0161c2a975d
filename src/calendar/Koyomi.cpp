#include "calendar/Koyomi.h"

#include "calendar/KoyomiTable.h"
#include "calendar/KoyomiYear.h"

#include <QDate>
#include <QFile>
#include <map>
#include <mutex>

// The years known so far, shared by every thread; a year is never replaced once stored, so a
// pointer handed out stays valid.
struct TKoyomi::TData {
    std::mutex Lock;
    std::map<int, std::shared_ptr<const TKoyomiYear>> Years;
    QString TablePath;
    bool TableRead = false;
};

TKoyomi::TKoyomi() : d(std::make_unique<TData>()) {}
TKoyomi::~TKoyomi() = default;

const TKoyomi& TKoyomi::Shared() {
    static TKoyomi k;
    return k;
}

bool TKoyomi::UseTable(const QString& path, QString* error) {
    TData& data = *Shared().d;
    {
        std::lock_guard<std::mutex> guard(data.Lock);
        if (data.TablePath == path && !path.isEmpty()) return data.TableRead;
    }
    QFile file(path);
    // The table is some 70 KB; a file far larger is not ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024) {
        if (error) *error = QStringLiteral("暦のデータ（%1）を開けません。").arg(path);
        std::lock_guard<std::mutex> guard(data.Lock);
        data.TablePath = path;
        data.TableRead = false;
        return false;
    }
    std::vector<TKoyomiYear> years;
    const bool ok = TKoyomiTable::Read(file.readAll(), &years, error);
    std::lock_guard<std::mutex> guard(data.Lock);
    data.TablePath = path;
    data.TableRead = ok;
    for (TKoyomiYear& y : years)
        data.Years.emplace(y.Year, std::make_shared<const TKoyomiYear>(std::move(y)));
    return ok;
}

TKoyomiDay TKoyomi::Day(int year, int month, int day) const {
    if (year < kFirstYear || year > kLastYear || !QDate::isValid(year, month, day)) return {};
    std::shared_ptr<const TKoyomiYear> y;
    {
        std::lock_guard<std::mutex> guard(d->Lock);
        auto it = d->Years.find(year);
        if (it != d->Years.end()) y = it->second;
    }
    if (!y) {
        // Computed outside the lock: another thread may compute the same year meanwhile, and
        // the first one stored wins; both are equal.
        auto computed = std::make_shared<const TKoyomiYear>(TKoyomiYear::Compute(year));
        std::lock_guard<std::mutex> guard(d->Lock);
        y = d->Years.emplace(year, std::move(computed)).first->second;
    }
    return y->Day(month, day);
}

QString TKoyomi::RokuyouName(int r) {
    static const char16_t* names[] = {u"大安", u"赤口", u"先勝", u"友引", u"先負", u"仏滅"};
    return r >= 0 && r < 6 ? QString::fromUtf16(names[r]) : QString();
}

QString TKoyomi::SolarTermName(int term) {
    static const char16_t* names[] = {u"春分", u"清明", u"穀雨", u"立夏", u"小満", u"芒種", u"夏至", u"小暑",
                                      u"大暑", u"立秋", u"処暑", u"白露", u"秋分", u"寒露", u"霜降", u"立冬",
                                      u"小雪", u"大雪", u"冬至", u"小寒", u"大寒", u"立春", u"雨水", u"啓蟄"};
    return term >= 0 && term < 24 ? QString::fromUtf16(names[term]) : QString();
}

QString TKoyomi::MoonPhaseName(int phase) {
    static const char16_t* names[] = {u"新月", u"上弦", u"満月", u"下弦"};
    return phase >= 0 && phase < 4 ? QString::fromUtf16(names[phase]) : QString();
}

QStringList TKoyomi::ZassetsuNames(uint32_t bits) {
    static const char16_t* names[] = {u"節分",   u"彼岸入り", u"彼岸明け", u"社日",     u"八十八夜",  u"入梅",
                                      u"半夏生", u"土用入り", u"土用の丑", u"二百十日", u"二百二十日"};
    QStringList out;
    for (int i = 0; i < 11; ++i)
        if (bits & (1u << i)) out << QString::fromUtf16(names[i]);
    return out;
}
