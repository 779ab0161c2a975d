// Builds the card-sheet merge job the peer benchmark runs, as this program's template and record
// files: an A4 sheet of 2 × 5 cards of 85 × 54 mm (first card at 15 / 13.5 mm, 95 mm apart
// across), a name in IPAGothic 14 pt bold, a company in 9 pt and an EAN-13 from 12 digits with
// its check digit added. The records are the peer's: "山田 太郎 0001", "株式会社サンプル 第1営業部",
// 4901234 and the number in five digits. With --qr each card also carries a 20 × 20 mm QR Code at
// its right, of a URL of its own ("https://example.jp/card/000123") in a fourth column.
//
//   make_peer_card FOLDER RECORDS [--qr]
//
// writes FOLDER/card.tda, FOLDER/recordfile/card.CSV and FOLDER/fieldfile/card.CSV.

#include "design/TemplateDesign.h"
#include "merge/BarcodeValue.h"
#include "merge/PriField.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <QDir>
#include <QSaveFile>
#include <cstdio>

namespace {

using TTextStyle = TBasicTextStyle<TTextDefaults{.Size = 9, .Color = clBlack, .Long = tlTop}>;

class TCardDesign : public TTemplateDesign {
public:
    using TTemplateDesign::TTemplateDesign;

    // Not deduced, so that a design can pass its style as a braced list.
    TPriField& Field(QRect r, int column, const QString& name, const TTextStyle& st, TFieldState state = fsText) {
        return TTemplateDesign::Field(r, column, name, st, state);
    }
};

bool WriteCp932(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    const QStringList args = app.arguments().mid(1);
    bool ok = false;
    const bool qr = args.size() == 3 && args[2] == QStringLiteral("--qr");
    const int records = args.size() == 2 || qr ? args[1].toInt(&ok) : 0;
    if (!ok || records < 1 || records > 99999) {
        std::fprintf(stderr, "usage: make_peer_card FOLDER RECORDS [--qr] (1 to 99999 records)\n");
        return 2;
    }
    const QString root = QDir(args[0]).absolutePath() + QLatin1Char('/');
    for (const char* folder : {"recordfile", "fieldfile"})
        if (!QDir().mkpath(root + folder)) {
            std::fprintf(stderr, "make_peer_card: cannot create %s%s\n", qPrintable(root), folder);
            return 1;
        }

    // Measures in 0.1 mm; the peer's sheet, with its 10 mm between the columns.
    TPriPaper paper = TTemplateDesign::SeatSheet(850, 540, 2, 5, 150, 135);
    paper.FSeatGapX = 100;
    TCardDesign design(paper, root);
    TPriDocument& doc = design.Doc();
    doc.PrintMode = 3;
    doc.RecordMainFile = QStringLiteral("card.CSV");
    const TTextStyle text{.Face = QStringLiteral("IPAGothic")};
    design.Field(QRect(50, 50, 750, 120), 0, QStringLiteral("氏名"), {.Face = text.Face, .Size = 14, .Bold = true});
    design.Field(QRect(50, 170, 750, 80), 1, QStringLiteral("会社名"), text);
    // 40 × 20 mm as the peer's, wide enough for the symbol at its proportions.
    design.Field(QRect(50, 280, 400, 200), 2, QStringLiteral("EAN"), text.Sized(6), fsBarcode);
    if (qr) {
        // Right of the EAN, below the company: the field's own kind, so the value is the URL alone.
        TPriField& code = design.Field(QRect(600, 280, 200, 200), 3, QStringLiteral("URL"), text, fsBarcode);
        code.Extras.BarcodeKind = TBarcodeValue::bkQr;
    }
    doc.ScaleToPaper();
    QString error;
    if (const TDocumentResult saved = doc.Save(root + QStringLiteral("card.tda"), 0); !saved) {
        error = saved.Reason;
        std::fprintf(stderr, "make_peer_card: %s\n", qPrintable(error));
        return 1;
    }

    QByteArray lines;
    lines.reserve(qsizetype(records) * (qr ? 96 : 64));
    for (int i = 1; i <= records; ++i) {
        const QString name = QStringLiteral("山田 太郎 %1").arg(i, 4, 10, QLatin1Char('0'));
        const QString company = QStringLiteral("株式会社サンプル 第%1営業部").arg(i);
        // Twelve digits, the check digit added when drawn, the digits shown.
        const QString ean = QStringLiteral("4901234%1 1 1 1").arg(i, 5, 10, QLatin1Char('0'));
        QString line = name + u',' + company + u',' + ean;
        if (qr) line += QStringLiteral(",https://example.jp/card/%1").arg(i, 6, 10, QLatin1Char('0'));
        lines += TCp932::Encode(line + QStringLiteral("\r\n"));
    }
    if (!WriteCp932(root + QStringLiteral("recordfile/card.CSV"), lines) ||
        !WriteCp932(root + QStringLiteral("fieldfile/card.CSV"),
                    TCp932::Encode(QStringLiteral("0,氏名\r\n1,会社名\r\n2,EAN\r\n") +
                                   (qr ? QStringLiteral("3,URL\r\n") : QString())))) {
        std::fprintf(stderr, "make_peer_card: cannot write the record files in %s\n", qPrintable(root));
        return 1;
    }
    return 0;
}
