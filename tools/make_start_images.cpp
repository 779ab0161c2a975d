// Draws the pictures of the start panel and writes them as settings/stImage.ims: a 32-bit
// count, then per picture a 64-bit byte length and the JPEG bytes.
//
//   make_start_images [OUT.ims] [--png FOLDER]     (default: data/settings/stImage.ims)
//
// Pictures: 0 close button at rest, 1 close button pressed, 2 scan button pressed, 3 print
// button pressed, 4 to 6 the panel on steps 1 to 3. The button pictures are cut from a panel
// drawn with that button in its state, so they sit seamlessly on the panel.

#include "imaging/JpegCodec.h"
#include "platform/FontMap.h"
#include "platform/StreamWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cstdio>
#include <functional>

namespace {

constexpr QSize kPanel(211, 610);
constexpr QRect kClosePlace(190, 1, 18, 18);
constexpr QRect kScanPlace(47, 230, 151, 26);
constexpr QRect kToolPlace(49, 361, 148, 26);
constexpr QRect kPrintPlace(47, 492, 151, 26);
constexpr int kQuality = 95;

// The three bands, as the panel reads the pointer.
constexpr int kBandTop[3] = {150, 281, 412};
constexpr int kBandBottom[3] = {270, 401, 531};

const QColor kInk(44, 58, 48);
const QColor kSoftInk(78, 96, 82);
const QColor kMuted(150, 162, 151);
const QColor kLeaf(76, 146, 92);
const QColor kLeafDeep(46, 112, 66);
const QColor kSun(238, 150, 58);
const QColor kSunDeep(214, 116, 34);

enum class TPress { None, Close, Scan, Print };

QFont Face(double pixels, bool bold = false) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(qRound(pixels));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void SoftSpot(QPainter& p, QPointF c, double r, QColor color, double alpha) {
    QRadialGradient g(c, r);
    color.setAlphaF(alpha);
    g.setColorAt(0, color);
    color.setAlphaF(0);
    g.setColorAt(1, color);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

// A leaf shape along its axis from base to tip.
void Leaf(QPainter& p, QPointF base, double length, double angle, QColor color) {
    p.save();
    p.translate(base);
    p.rotate(angle);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.32, length * 0.75, -length * 0.28, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.28, length * 0.3, length * 0.32, 0, 0);
    QLinearGradient g(QPointF(0, -length * 0.3), QPointF(0, length * 0.3));
    g.setColorAt(0, color.lighter(118));
    g.setColorAt(1, color);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(255, 255, 255, 90), 0.8));
    p.drawLine(QPointF(length * 0.08, 0), QPointF(length * 0.85, 0));
    p.restore();
}

void Background(QPainter& p) {
    QLinearGradient g(QPointF(0, 0), QPointF(0, kPanel.height()));
    g.setColorAt(0, QColor(250, 251, 242));
    g.setColorAt(0.5, QColor(239, 245, 232));
    g.setColorAt(1, QColor(224, 236, 220));
    p.fillRect(QRect(QPoint(0, 0), kPanel), g);
}

void CloseButton(QPainter& p, bool pressed) {
    const QRectF r = QRectF(kClosePlace).adjusted(1.5, 1.5, -1.5, -1.5);
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 230 : 170), 1));
    p.setBrush(pressed ? QColor(26, 74, 42, 150) : QColor(255, 255, 255, 60));
    p.drawEllipse(r);
    const QPointF c = r.center() + (pressed ? QPointF(0.5, 0.5) : QPointF());
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-3.3, -3.3), c + QPointF(3.3, 3.3));
    p.drawLine(c + QPointF(-3.3, 3.3), c + QPointF(3.3, -3.3));
}

// The heading, the same on every step so that the close button fits on each.
void Header(QPainter& p, bool closePressed) {
    QPainterPath card;
    card.addRoundedRect(QRectF(-12, -12, kPanel.width() + 24, 104), 16, 16);
    QLinearGradient g(QPointF(0, 0), QPointF(kPanel.width() * 0.35, 92));
    g.setColorAt(0, QColor(112, 172, 104));
    g.setColorAt(1, QColor(48, 116, 74));
    p.fillPath(card, g);
    p.save();
    p.setClipPath(card);
    // Light falling through leaves.
    QRandomGenerator rng(7);
    for (int i = 0; i < 26; ++i)
        SoftSpot(p, QPointF(rng.bounded(kPanel.width()), rng.bounded(92)), 6 + rng.bounded(16.0), QColor(255, 250, 205),
                 0.18 + rng.bounded(0.3));
    Leaf(p, QPointF(168, 98), 40, -58, QColor(58, 128, 70));
    Leaf(p, QPointF(186, 100), 34, -100, QColor(84, 150, 82));
    Leaf(p, QPointF(204, 94), 26, -140, QColor(66, 136, 78));
    p.restore();

    p.setPen(QColor(255, 255, 255, 215));
    p.setFont(Face(11));
    p.drawText(QPointF(16, 27), QStringLiteral("こもれびごよみ印刷"));
    p.setPen(QColor(30, 70, 42, 90));
    p.setFont(Face(20, true));
    p.drawText(QPointF(17, 60), QStringLiteral("かんたん3ステップ"));
    p.setPen(Qt::white);
    p.drawText(QPointF(16, 59), QStringLiteral("かんたん3ステップ"));
    p.setPen(QColor(255, 255, 255, 200));
    p.setFont(Face(10.5));
    p.drawText(QPointF(17, 79), QStringLiteral("写真入りのカレンダーを手軽に"));
    CloseButton(p, closePressed);

    p.setPen(kSoftInk);
    p.setFont(Face(11));
    p.drawText(QRectF(10, 100, kPanel.width() - 20, 44), Qt::AlignCenter,
               QStringLiteral("手順の上にマウスを重ねると\nその説明が前に出ます"));
}

void Badge(QPainter& p, QPointF center, int number, bool current) {
    if (current) SoftSpot(p, center + QPointF(0, 1.5), 15, QColor(30, 80, 40), 0.25);
    QLinearGradient g(center - QPointF(0, 12), center + QPointF(0, 12));
    g.setColorAt(0, current ? kLeaf.lighter(115) : QColor(196, 206, 196));
    g.setColorAt(1, current ? kLeafDeep : QColor(170, 182, 171));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(center, 12, 12);
    p.setPen(Qt::white);
    p.setFont(Face(15, true));
    p.drawText(QRectF(center.x() - 12, center.y() - 12, 24, 24), Qt::AlignCenter, QString::number(number));
}

void Band(QPainter& p, int index, bool current) {
    const QRectF r(8.5, kBandTop[index] + 0.5, kPanel.width() - 18, kBandBottom[index] - kBandTop[index]);
    if (current) {
        // A soft shadow under the lifted card.
        for (int i = 4; i >= 1; --i) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(40, 80, 50, 12));
            p.drawRoundedRect(r.adjusted(-i * 0.8, -i * 0.4, i * 0.8, i * 1.2), 12 + i, 12 + i);
        }
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 255, 252));
        g.setColorAt(1, QColor(255, 250, 232));
        p.setBrush(g);
        p.setPen(QPen(QColor(104, 168, 114), 1.6));
    } else {
        p.setBrush(QColor(255, 255, 255, 105));
        p.setPen(QPen(QColor(200, 214, 199), 1));
    }
    p.drawRoundedRect(r, 12, 12);
    if (current) {
        // A stripe of light along the left edge marks the step in front.
        QPainterPath stripe;
        stripe.addRoundedRect(QRectF(r.left() + 4, r.top() + 12, 4, r.height() - 24), 2, 2);
        p.fillPath(stripe, kLeaf);
    }
}

void StepText(QPainter& p, int index, const QString& title, const QString& lines, bool current) {
    const int top = kBandTop[index];
    Badge(p, QPointF(32, top + 22), index + 1, current);
    p.setPen(current ? kLeaf : kMuted);
    p.setFont(Face(9.5, true));
    p.drawText(QPointF(52, top + 15), QStringLiteral("STEP %1").arg(index + 1));
    p.setPen(current ? kInk : kMuted);
    p.setFont(Face(16, current));
    p.drawText(QPointF(52, top + 34), title);
    p.setPen(current ? kSoftInk : kMuted);
    p.setFont(Face(11));
    p.drawText(QRectF(52, top + 40, kPanel.width() - 60, 36), Qt::AlignLeft | Qt::AlignVCenter, lines);
}

enum class TButtonLook { Active, Inactive, Pressed };

void PictureButton(QPainter& p, QRect place, const QString& text, QColor light, QColor deep, TButtonLook look,
                   const std::function<void(QPainter&, QPointF, QColor)>& glyph) {
    const QRectF r = QRectF(place).adjusted(1, 1, -1, -1.5);
    const bool pressed = look == TButtonLook::Pressed;
    if (look == TButtonLook::Inactive) {
        light = QColor(226, 230, 224);
        deep = QColor(206, 212, 205);
    }
    if (look == TButtonLook::Active) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 30, 40));
        p.drawRoundedRect(r.translated(0, 1.2), 11.5, 11.5);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, pressed ? deep.darker(112) : light);
    g.setColorAt(1, pressed ? deep : deep);
    p.setBrush(g);
    p.setPen(QPen(pressed ? deep.darker(135) : deep.darker(112), 1));
    p.drawRoundedRect(r, 11.5, 11.5);
    if (!pressed) {
        // Gloss on the upper half.
        QPainterPath gloss;
        gloss.addRoundedRect(r.adjusted(2, 1.5, -2, -r.height() / 2), 9, 9);
        p.fillPath(gloss, QColor(255, 255, 255, look == TButtonLook::Active ? 60 : 90));
    } else {
        QLinearGradient inner(r.topLeft(), r.topLeft() + QPointF(0, 6));
        inner.setColorAt(0, QColor(0, 0, 0, 70));
        inner.setColorAt(1, QColor(0, 0, 0, 0));
        QPainterPath shade;
        shade.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 11, 11);
        p.fillPath(shade, inner);
    }
    const QColor ink = look == TButtonLook::Inactive ? QColor(160, 168, 160) : QColor(Qt::white);
    const QPointF shift = pressed ? QPointF(0.6, 1) : QPointF();
    QFont font = Face(12.5, look != TButtonLook::Inactive);
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    const double start = r.center().x() - (textWidth + 22) / 2.0;
    glyph(p, QPointF(start + 8, r.center().y()) + shift, ink);
    p.setFont(font);
    if (look != TButtonLook::Inactive) {
        p.setPen(QColor(0, 0, 0, 60));
        p.drawText(QRectF(start + 22, r.top() + 1, textWidth + 2, r.height()).translated(shift),
                   Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    p.setPen(ink);
    p.drawText(QRectF(start + 22, r.top(), textWidth + 2, r.height()).translated(shift),
               Qt::AlignLeft | Qt::AlignVCenter, text);
}

void ScannerGlyph(QPainter& p, QPointF c, QColor ink) {
    p.setPen(QPen(ink, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - 7, c.y() - 2, 14, 7), 1.5, 1.5);
    p.drawLine(QPointF(c.x() - 5, c.y() - 2), QPointF(c.x() - 2, c.y() - 6));
    p.drawLine(QPointF(c.x() - 2, c.y() - 6), QPointF(c.x() + 6, c.y() - 6));
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - 4, c.y() + 1.5), QPointF(c.x() + 4, c.y() + 1.5));
}

void PrinterGlyph(QPainter& p, QPointF c, QColor ink) {
    p.setPen(QPen(ink, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c.x() - 4, c.y() - 7, 8, 4));
    p.drawRoundedRect(QRectF(c.x() - 7, c.y() - 3, 14, 7), 1.5, 1.5);
    p.setBrush(ink);
    p.drawRect(QRectF(c.x() - 4, c.y() + 2, 8, 5));
}

void ToolTray(QPainter& p, bool current) {
    const QRectF r = QRectF(kToolPlace).adjusted(-2.5, -1.5, 2.5, 1.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, current ? QColor(226, 236, 222) : QColor(238, 241, 236));
    g.setColorAt(1, current ? QColor(244, 248, 240) : QColor(246, 247, 244));
    p.setBrush(g);
    p.setPen(QPen(current ? QColor(150, 186, 150) : QColor(212, 220, 210), 1));
    p.drawRoundedRect(r, 7, 7);
}

void Chevron(QPainter& p, double y, bool lit) {
    const double x = kPanel.width() / 2.0;
    p.setPen(
        QPen(lit ? QColor(110, 160, 112) : QColor(182, 198, 180), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(x - 6, y - 2.5), QPointF(x, y + 2.5), QPointF(x + 6, y - 2.5)}));
}

void Footer(QPainter& p) {
    Leaf(p, QPointF(14, 596), 22, -28, QColor(120, 172, 112, 200));
    Leaf(p, QPointF(18, 600), 16, -70, QColor(96, 156, 98, 190));
    Leaf(p, QPointF(196, 600), 20, -150, QColor(120, 172, 112, 200));
    p.setPen(QColor(112, 128, 114));
    p.setFont(Face(10));
    p.drawText(QRectF(14, 542, kPanel.width() - 28, 48), Qt::AlignCenter,
               QStringLiteral("閉じたサイドバーは\n「表示」メニューの\n「サイドバー表示」で戻せます"));
}

// The whole panel with `step` (0, 1, 2) in front and the given button held down.
QImage Panel(int step, TPress press) {
    QImage img(kPanel, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Background(p);
    Header(p, press == TPress::Close);
    for (int i = 0; i < 3; ++i)
        Band(p, i, i == step);
    Chevron(p, (kBandBottom[0] + kBandTop[1]) / 2.0, step >= 1);
    Chevron(p, (kBandBottom[1] + kBandTop[2]) / 2.0, step >= 2);
    StepText(p, 0, QStringLiteral("スキャン"), QStringLiteral("写真や絵をスキャナで\n読み込みます"), step == 0);
    StepText(p, 1, QStringLiteral("配置"), QStringLiteral("文字・画像・フィールド・\nカレンダーを置きます"), step == 1);
    StepText(p, 2, QStringLiteral("印刷"), QStringLiteral("できあがったら\nプリンタで印刷します"), step == 2);
    auto look = [&](int forStep, TPress own) {
        return press == own ? TButtonLook::Pressed : step == forStep ? TButtonLook::Active : TButtonLook::Inactive;
    };
    PictureButton(p, kScanPlace, QStringLiteral("スキャナ起動"), QColor(122, 190, 128), kLeafDeep,
                  look(0, TPress::Scan), ScannerGlyph);
    ToolTray(p, step == 1);
    PictureButton(p, kPrintPlace, QStringLiteral("印刷する"), QColor(248, 186, 104), kSunDeep, look(2, TPress::Print),
                  PrinterGlyph);
    Footer(p);
    return img;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    QString out = QStringLiteral("data/settings/stImage.ims"), pngFolder;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--png") && i + 1 < args.size())
            pngFolder = args[++i];
        else
            out = args[i];
    }

    const std::vector<QImage> pictures = {
        Panel(0, TPress::None).copy(kClosePlace),
        Panel(0, TPress::Close).copy(kClosePlace),
        Panel(0, TPress::Scan).copy(kScanPlace),
        Panel(2, TPress::Print).copy(kPrintPlace),
        Panel(0, TPress::None),
        Panel(1, TPress::None),
        Panel(2, TPress::None),
    };
    TStreamWriter writer;
    writer.WriteInt32(int32_t(pictures.size()));
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QByteArray jpeg = TJpegCodec::Encode(pictures[i], kQuality);
        if (jpeg.isEmpty()) {
            std::fprintf(stderr, "make_start_images: picture %zu cannot be encoded\n", i);
            return 1;
        }
        writer.WriteBlock64(jpeg);
        if (!pngFolder.isEmpty()) pictures[i].save(QDir(pngFolder).filePath(QStringLiteral("start%1.png").arg(i)));
    }
    QDir().mkpath(QFileInfo(out).path());
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.Bytes()) != writer.Size() || !file.commit()) {
        std::fprintf(stderr, "make_start_images: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(QFileInfo(out).absoluteFilePath()));
    return 0;
}
