// Writes the shipped holiday file: one YYYYMMDD line per holiday, CR LF, sorted.
//   make_holidays <output file> [first year] [last year]     (years default to 1955 and 2099)
#include "calendar/HolidayRules.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s <output file> [first year] [last year]\n", argv[0]);
        return 2;
    }
    const int first = argc > 2 ? std::atoi(argv[2]) : 1955;
    const int last = argc > 3 ? std::atoi(argv[3]) : 2099;
    if (first < THolidayRules::kFirstYear || last > THolidayRules::kLastYear || first > last) {
        std::fprintf(stderr, "years must lie within %d..%d\n", THolidayRules::kFirstYear, THolidayRules::kLastYear);
        return 2;
    }
    const std::string text = THolidayRules::MakeHolidayFile(first, last);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %zu holidays, %d-%d\n", argv[1], text.size() / 10, first, last);
    return 0;
}
