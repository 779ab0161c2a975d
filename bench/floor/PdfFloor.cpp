// The least any program can spend on the card-sheet job of make_peer_card: the same A4 pages of
// 2 x 5 cards of 85 x 54 mm, name and company in IPAGothic and the EAN-13 bars, drawn straight
// with QPainter into a QPdfWriter at 300 dpi. OutputBench sets the card job against it.
//
//   PdfFloor RECORDS.CSV OUT.pdf        (the record file make_peer_card writes, in CP932)
#include "platform/Cp932.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstdio>

namespace {

constexpr double kDpi = 300;
double Px(double mm) {
    return mm / 25.4 * kDpi;
}

// The 95 modules of an EAN-13 from its 12 digits, the check digit added.
QString Ean13(QString digits) {
    static const char* left[] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                 "0110001", "0101111", "0111011", "0110111", "0001011"};
    static const char* parity[] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                   "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += digits[i].digitValue() * (i % 2 ? 3 : 1);
    digits += QString::number((10 - sum % 10) % 10);
    QString bars = QStringLiteral("101");
    for (int i = 1; i < 13; ++i) {
        QString code = QString::fromLatin1(left[digits[i].digitValue()]);
        if (i > 6 || parity[digits[0].digitValue()][i - 1] == 'G')
            for (QChar& c : code)
                c = c == u'0' ? u'1' : u'0';
        if (i <= 6 && parity[digits[0].digitValue()][i - 1] == 'G') std::reverse(code.begin(), code.end());
        bars += code + (i == 6 ? QStringLiteral("01010") : QString());
    }
    return bars + QStringLiteral("101");
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFile in(argc == 3 ? argv[1] : "");
    if (!in.open(QIODevice::ReadOnly)) return std::fprintf(stderr, "usage: PdfFloor RECORDS.CSV OUT.pdf\n"), 2;
    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setResolution(int(kDpi));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins({});
    QPainter p(&pdf);
    QFont name(QStringLiteral("IPAGothic")), company = name, digits = name;
    name.setPixelSize(qRound(14 * kDpi / 72));
    name.setBold(true);
    company.setPixelSize(qRound(9 * kDpi / 72));
    digits.setPixelSize(qRound(6 * kDpi / 72));
    int seat = 0;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QStringList cells = TCp932::Decode(line.trimmed()).split(u',');
        if (cells.size() < 3) continue;
        if (seat == 10) pdf.newPage(), seat = 0;
        const QPointF card(Px(15 + seat % 2 * 95 + 5), Px(13.5 + seat / 2 * 54 + 5));
        ++seat;
        p.setFont(name);
        p.drawText(QRectF(card, QSizeF(Px(75), Px(12))), Qt::AlignLeft | Qt::AlignTop, cells[0]);
        p.setFont(company);
        p.drawText(QRectF(card + QPointF(0, Px(12)), QSizeF(Px(75), Px(8))), Qt::AlignLeft | Qt::AlignTop, cells[1]);
        const QString bars = Ean13(cells[2].left(12));
        const double module = Px(40) / 113, top = card.y() + Px(23);
        for (int i = 0; i < bars.size(); ++i) {
            int run = 0;
            while (i + run < bars.size() && bars[i + run] == u'1')
                ++run;
            if (run) p.fillRect(QRectF(card.x() + (9 + i) * module, top, run * module, Px(16)), Qt::black);
            i += run;
        }
        p.setFont(digits);
        p.drawText(QRectF(card.x(), top + Px(16), Px(40), Px(4)), Qt::AlignHCenter | Qt::AlignTop, cells[2].left(12));
    }
    return p.end() ? 0 : 1;
}
