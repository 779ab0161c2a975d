// Writes HolidayList/koyomi.dat: the almanac's events of the holiday file's years, computed.
#include "calendar/Koyomi.h"
#include "calendar/KoyomiTable.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_koyomi OUT.dat\n");
        return 2;
    }
    std::vector<TKoyomiYear> years;
    for (int y = TKoyomi::kTableFirstYear; y <= TKoyomi::kTableLastYear; ++y)
        years.push_back(TKoyomiYear::Compute(y));
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(TKoyomiTable::Write(years)) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
