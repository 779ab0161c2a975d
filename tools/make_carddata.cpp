// Writes the shipped card sheets file.
//   make_carddata <output file>
#include "print/CardData.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    const QList<TCardSheet> sheets = TCardData::ShippedSheets();
    QString error;
    if (!TCardData::SaveToFile(QString::fromLocal8Bit(argv[1]), sheets, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s: %lld sheets\n", argv[1], static_cast<long long>(sheets.size()));
    return 0;
}
