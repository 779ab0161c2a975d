#include "calendar/HolidayList.h"

#include <QFile>
#include <QFileInfo>

bool THolidayList::LoadFromFile(const QString& path, QString* error) {
    const QFileInfo info(path);
    const auto fail = [&](const QString& why) {
        if (error)
            *error =
                QStringLiteral("祝日ファイル（%1）%2。カレンダーに祝日は表示されません。").arg(info.fileName(), why);
        return false;
    };
    if (!info.exists()) return fail(QStringLiteral("が見つかりません"));
    if (!info.isFile()) return fail(QStringLiteral("がファイルではありません"));
    if (info.size() > kMaxFileSize) return fail(QStringLiteral("が大きすぎます（上限 %1 MB）").arg(kMaxFileSize >> 20));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(QStringLiteral("を開けません"));
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxFileSize)
        return fail(QStringLiteral("を読み込めません"));
    LoadFromBytes(bytes);
    return true;
}

QString THolidayList::FileProblem(const QString& path) {
    THolidayList list;
    QString problem;
    list.LoadFromFile(path, &problem);
    return problem;
}

void THolidayList::LoadFromBytes(const QByteArray& bytes) {
    for (auto& list : fMonths)
        list.clear();
    for (auto& set : fLookup)
        set.clear();

    auto addLine = [this](const char* begin, const char* end) {
        if (end - begin < 6) return;
        const char a = begin[4], b = begin[5];
        if (a < '0' || a > '9' || b < '0' || b > '9') return;
        const int m = (a - '0') * 10 + (b - '0');
        if (m < 1 || m > 12) return;
        fMonths[size_t(m - 1)].emplace_back(begin, end);
        fLookup[size_t(m - 1)].emplace(begin, end);
    };

    const char* p = bytes.constData();
    const char* end = p + bytes.size();
    const char* lineStart = p;
    while (p < end) {
        if (*p == '\r' || *p == '\n') {
            addLine(lineStart, p);
            if (*p == '\r' && p + 1 < end && p[1] == '\n') ++p;
            lineStart = p + 1;
        }
        ++p;
    }
    if (lineStart < end) addLine(lineStart, end);
    fLoaded = true;
}

bool THolidayList::IsHoliday(int year, int month, int day) const {
    if (!fLoaded || month < 1 || month > 12) return false;
    return fLookup[size_t(month - 1)].count(MakeKey(year, month, day)) != 0;
}

const std::vector<std::string>& THolidayList::MonthLines(int month) const {
    static const std::vector<std::string> kNone;
    if (month < 1 || month > 12) return kNone;
    return fMonths[size_t(month - 1)];
}

std::string THolidayList::MakeKey(int year, int month, int day) {
    std::string key = std::to_string(year);
    key += char('0' + (month / 10) % 10);
    key += char('0' + month % 10);
    key += char('0' + (day / 10) % 10);
    key += char('0' + day % 10);
    return key;
}
