// Paints the pictures of the program folder's "sozai" (monthly backgrounds, frames and small
// decorations) and writes them into the given folder. Every picture has a fixed seed, so a
// second run writes the same bytes.
//
//   make_sozai [SOZAI_FOLDER] [NAME_PART]     (default: data/sozai; NAME_PART paints only matching pictures)

#include "sozai/Sozai.h"
#include "sozai/SozaiPaint.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {

struct TEntry {
    const char* Name;
    int Width, Height;
    sozai::TPainter Paint;
};

constexpr int kPageW = 1130, kPageH = 1600; // A4's shape; postcards crop a little
constexpr int kFrameW = 1000, kFrameH = 1414;
constexpr int kDeco = 512;

const TEntry kCatalogue[] = {
    {"背景_01月_門松.jpg", kPageW, kPageH, sozai::January},
    {"背景_02月_梅.jpg", kPageW, kPageH, sozai::February},
    {"背景_03月_桃の節句.jpg", kPageW, kPageH, sozai::March},
    {"背景_04月_桜.jpg", kPageW, kPageH, sozai::April},
    {"背景_05月_鯉のぼり.jpg", kPageW, kPageH, sozai::May},
    {"背景_06月_紫陽花.jpg", kPageW, kPageH, sozai::June},
    {"背景_07月_七夕.jpg", kPageW, kPageH, sozai::July},
    {"背景_08月_向日葵.jpg", kPageW, kPageH, sozai::August},
    {"背景_09月_月見.jpg", kPageW, kPageH, sozai::September},
    {"背景_10月_紅葉.jpg", kPageW, kPageH, sozai::October},
    {"背景_11月_銀杏.jpg", kPageW, kPageH, sozai::November},
    {"背景_12月_雪の結晶.jpg", kPageW, kPageH, sozai::December},
    {"枠_金の飾り縁.png", kFrameW, kFrameH, sozai::GoldFrame},
    {"枠_桜.png", kFrameW, kFrameH, sozai::SakuraFrame},
    {"枠_レース.png", kFrameW, kFrameH, sozai::LaceFrame},
    {"枠_若葉のつる.png", kFrameW, kFrameH, sozai::IvyFrame},
    {"枠_青海波.png", kFrameW, kFrameH, sozai::WavesFrame},
    {"枠_インスタント写真.png", 1000, 1200, sozai::PhotoFrame},
    {"飾り_もみじ.png", kDeco, kDeco, sozai::MapleDeco},
    {"飾り_いちょう.png", kDeco, kDeco, sozai::GinkgoDeco},
    {"飾り_若葉.png", kDeco, kDeco, sozai::SprigDeco},
    {"飾り_桜.png", kDeco, kDeco, sozai::SakuraDeco},
    {"飾り_梅.png", kDeco, kDeco, sozai::UmeDeco},
    {"飾り_星.png", kDeco, kDeco, sozai::StarsDeco},
    {"飾り_リボン.png", kDeco, kDeco, sozai::RibbonDeco},
    {"飾り_コーナー.png", kDeco, kDeco, sozai::CornerDeco},
    {"飾り_雪の結晶.png", kDeco, kDeco, sozai::SnowDeco},
    {"飾り_見出しリボン.png", 900, 260, sozai::BannerDeco},
};

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("data/sozai")).absolutePath();
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "make_sozai: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    quint32 seed = 1301;
    for (const TEntry& e : kCatalogue) {
        const QString name = QString::fromUtf8(e.Name);
        ++seed; // one seed per catalogue place, whether or not this run paints it
        if (!only.isEmpty() && !name.contains(only)) continue;
        const bool transparent = name.endsWith(QLatin1String(".png"));
        QImage img = sozai::NewPicture(QSize(e.Width, e.Height), transparent);
        QRandomGenerator rng(seed);
        QPainter p;
        sozai::Begin(p, img);
        e.Paint(p, QSizeF(e.Width, e.Height), rng);
        p.end();
        const QString path = folder + QLatin1Char('/') + name;
        if (!sozai::SavePicture(img, path)) {
            std::fprintf(stderr, "make_sozai: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
