// Writes the shipped card sheets file: the label and card sheets sold in Japanese shops and the
// single sheets the templates are made for.
//   make_carddata <output file>
#include "print/CardData.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

// Millimetres as the file's 0.1 mm.
constexpr int32_t Mm(double mm) {
    return int32_t(mm * 10 + 0.5);
}

TCardSheet Grid(const char* name, double seatW, double seatH, int cols, int rows, double left, double top) {
    TCardSheet s;
    s.Name = QString::fromUtf8(name);
    s.SheetWidth = Mm(210);
    s.SheetHeight = Mm(297);
    s.Columns = cols;
    s.Rows = rows;
    s.SeatWidth = s.PitchX = Mm(seatW);
    s.SeatHeight = s.PitchY = Mm(seatH);
    s.FirstLeft = Mm(left);
    s.FirstTop = Mm(top);
    return s;
}

TCardSheet Single(const char* name, double width, double height) {
    TCardSheet s;
    s.Name = QString::fromUtf8(name);
    s.SheetWidth = s.SeatWidth = s.PitchX = Mm(width);
    s.SheetHeight = s.SeatHeight = s.PitchY = Mm(height);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    const QList<TCardSheet> sheets = {
        Grid("A4 名刺 10面（91×55mm）", 91, 55, 2, 5, 14, 11),
        Grid("A4 ラベル 12面（86.4×42.3mm）", 86.4, 42.3, 2, 6, 18.6, 21.6),
        Grid("A4 ラベル 24面（70×33.9mm）", 70, 33.9, 3, 8, 0, 12.9),
        Grid("A4 ラベル 44面（48.3×25.4mm）", 48.3, 25.4, 4, 11, 8.4, 8.8),
        Single("はがき（100×148mm）", 100, 148),
        Single("L判（89×127mm）", 89, 127),
        Single("2L判（127×178mm）", 127, 178),
        Single("A4（210×297mm）", 210, 297),
        Single("A5（148×210mm）", 148, 210),
    };
    QString error;
    if (!TCardData::SaveToFile(QString::fromLocal8Bit(argv[1]), sheets, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s: %lld sheets\n", argv[1], static_cast<long long>(sheets.size()));
    return 0;
}
