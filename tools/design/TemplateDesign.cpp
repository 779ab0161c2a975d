#include "design/TemplateDesign.h"

#include "document/TemplateFile.h"
#include "imaging/JpegCodec.h"
#include "platform/Cp932.h"
#include "platform/PrinterMetrics.h"
#include "platform/Rounding.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr int kThumbnailSide = 240;
}

TTemplateDesign::TTemplateDesign(const TPriPaper& paper, const QString& appPath)
    : fDoc(std::make_unique<TPriDocument>(appPath)) {
    fDoc->PrintPaper = paper;
    fDoc->UpdatePaperPixels();
}

TPriPaper TTemplateDesign::SinglePaper(int width, int height, bool portrait) {
    TPriPaper p;
    p.SetFields({0, 0, portrait ? 1 : 0, 0, width, height, 0, 0, 0, 0, 0, 0, 1, 1, width, height});
    return p;
}

TPriPaper TTemplateDesign::SeatSheet(int seatWidth, int seatHeight, int columns, int rows, int left, int top) {
    TPriPaper p;
    p.SetFields({0, 0, 1, 0, 2100, 2970, left, top, 0, 0, 0, 0, columns, rows, seatWidth, seatHeight});
    return p;
}

TPriShape& TTemplateDesign::Box(QRect r, TBltShape kind, TColor fill, TColor pen, int penWidth, int round) {
    auto shape = std::make_unique<TPriShape>();
    shape->Shape = kind;
    shape->Brush.Color = fill == clNone ? clWhite : fill;
    shape->Brush.Style = fill == clNone ? bsClear : bsSolid;
    shape->Pen.Color = pen == clNone ? clBlack : pen;
    shape->Pen.Style = pen == clNone ? psClear : psSolid;
    shape->SamePSize = penWidth;
    shape->Pen.Width = penWidth;
    shape->RoundNum = round;
    return Append(std::move(shape), r);
}

TPriLine& TTemplateDesign::Line(QPoint from, QPoint to, TColor color, int width, uint8_t style) {
    auto line = std::make_unique<TPriLine>();
    line->Pen.Color = color;
    line->Pen.Style = style;
    line->Pen.Width = width;
    line->SamePSize = width;
    // The end points keep the direction; the surface places them in the box on layout.
    line->SetStartPoint(from);
    line->SetEndPoint(to);
    const QRect box = QRect(from, to).normalized();
    return Append(std::move(line), QRect(box.topLeft(), QSize(box.width() - 1, box.height() - 1)));
}

int TTemplateDesign::ThumbnailDpi(const TPriPaper& paper) {
    const int longSide = std::max(paper.PageWidth(), paper.PageHeight());
    return std::max(20, Nearest(kThumbnailSide * 4 * 254.0 / longSide));
}

bool TTemplateDesign::WriteThumbnail(const QImage& page, const QString& tda, QString& error) {
    const QImage thumb = page.scaled(kThumbnailSide, kThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QSaveFile out(QFileInfo(tda).path() + "/" + QFileInfo(tda).completeBaseName() + ".jpg");
    const QByteArray jpeg = TJpegCodec::Encode(thumb, 88);
    if (jpeg.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size() || !out.commit()) {
        error = "cannot write " + out.fileName();
        return false;
    }
    return true;
}

bool TTemplateDesign::RoundTrips(const QString& tda, const QString& appPath, QString& error) {
    QFile file(tda);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read " + tda;
        return false;
    }
    const QByteArray saved = file.readAll();
    TPriDocument doc(appPath);
    if (!Done(doc.Load(tda, 0), error)) return false;
    QByteArray again;
    if (TTemplateFile::Build(doc, 0, again) != TTemplateFile::TResult::Ok || again != saved) {
        error = "saving the loaded template gives other bytes";
        return false;
    }
    return true;
}

bool TTemplateDesign::WriteCp932(const QString& path, const QStringList& lines, QString& error) {
    const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    if (!TCp932::CanEncode(text)) {
        error = path + " holds characters CP932 lacks";
        return false;
    }
    QSaveFile out(path);
    const QByteArray bytes = TCp932::Encode(text);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}
