#include "app/ExportCommand.h"
#include "platform/Cp932.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace {

const QString kApp = QStringLiteral(KOMOREBI_APP_DIR "/");
const QString kAddressSide = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/Template/Hagaki/宛名面.tda");
const QString kList = QStringLiteral(KOMOREBI_SOURCE_DIR "/data/recordfile/宛名.CSV");

QStringList ListLines() {
    QFile f(kList);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return TCp932::Decode(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

TExportOptions Parsed(const QStringList& args) {
    TExportOptions o;
    QString error;
    EXPECT_TRUE(TExportCommand::ParseArguments(args, o, &error, false)) << error.toStdString();
    return o;
}

// Letters and digits only: vertical forms of punctuation may come back as other characters.
QString Letters(const QString& s) {
    QString out;
    for (QChar c : s)
        if (c.isLetterOrNumber()) out += c;
    return out;
}

struct TWord {
    double X0, Y0, X1, Y1;
    QString Text;
};

// Each page's words as pdftotext -bbox gives them.
std::vector<std::vector<TWord>> PageWords(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<std::vector<TWord>> pages;
    static const QRegularExpression token(QStringLiteral(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            pages.emplace_back();
            continue;
        }
        if (pages.empty()) continue;
        pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                m.captured(4).toDouble(), m.captured(5)});
    }
    return pages;
}

// The words read as vertical writing: columns from the right (centres within half a column's
// width are one column), each from the top.
QString ReadColumns(std::vector<TWord> words) {
    std::sort(words.begin(), words.end(), [](const TWord& a, const TWord& b) { return a.X0 + a.X1 > b.X0 + b.X1; });
    std::vector<std::vector<TWord>> columns;
    for (const TWord& w : words) {
        const double centre = (w.X0 + w.X1) / 2, width = w.X1 - w.X0;
        if (columns.empty() ||
            std::abs((columns.back().front().X0 + columns.back().front().X1) / 2 - centre) > width / 2)
            columns.emplace_back();
        columns.back().push_back(w);
    }
    QString text;
    for (auto& column : columns) {
        std::sort(column.begin(), column.end(), [](const TWord& a, const TWord& b) { return a.Y0 < b.Y0; });
        for (const TWord& w : column)
            text += w.Text;
        text += u'|';
    }
    return text;
}

} // namespace

TEST(AddressSideTest, TheShippedListGivesACardPerHouseholdWithItsTextInColumns) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
    const QStringList lines = ListLines();
    ASSERT_EQ(lines.size(), 20);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("cards.pdf"));
    QStringList warnings;
    TExportOptions o = Parsed({kAddressSide, "--out", out, "--main", "宛名.CSV"});
    o.Warnings = &warnings;
    QString error;
    int pages = 0;
    ASSERT_TRUE(TExportCommand::Run(kApp, o, &error, &pages)) << error.toStdString();
    EXPECT_EQ(pages, 20);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    QFile pdf(out);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    // 100 x 148 mm in whole points, as Qt's PDF engine sizes pages.
    EXPECT_EQ(
        QString::fromLatin1(pdf.readAll()).count(QRegularExpression(R"(/MediaBox \[0 0 28[34]\.\d+ 41[89]\.\d+\])")),
        20);

    const auto words = PageWords(out);
    ASSERT_EQ(words.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        const QStringList v = lines[i].split(u',');
        const QString columns = Letters(ReadColumns(words[size_t(i)]));
        const QString honorific = v[8].isEmpty() ? QStringLiteral("様") : v[8];
        // The address's digits come back as kanji numerals.
        QString address = v[2];
        for (int d = 0; d < 10; ++d)
            address.replace(QChar(u'0' + d), QString(QStringLiteral("〇一二三四五六七八九")[d]));
        for (const QString& part : {Letters(address), v[4] + v[5] + honorific})
            EXPECT_TRUE(columns.contains(part)) << i << " " << part.toStdString() << " in " << columns.toStdString();
        for (const QString& joint : {v[6], v[7]})
            if (!joint.isEmpty()) EXPECT_TRUE(columns.contains(joint + honorific)) << i << " " << joint.toStdString();
    }
}

TEST(AddressSideTest, PostalDigitsFallInsideTheirBoxesAndABadCodeIsNamed) {
    QTemporaryDir dir;
    // The shipped list with the first code made malformed.
    QStringList lines = ListLines();
    ASSERT_FALSE(lines.isEmpty());
    QStringList first = lines[0].split(u',');
    first[1] = QStringLiteral("12-345");
    lines[0] = first.join(u',');
    QDir().mkpath(dir.filePath("records"));
    {
        QFile f(dir.filePath(QStringLiteral("records/宛名.CSV")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(TCp932::Encode(lines.join(QStringLiteral("\r\n"))));
    }
    QStringList warnings;
    TExportOptions o = Parsed({kAddressSide, "--out", dir.filePath("card.png"), "--dpi", "300", "--pages", "1-2",
                               "--records", dir.filePath("records"), "--main", "宛名.CSV"});
    o.Warnings = &warnings;
    QString error;
    ASSERT_TRUE(TExportCommand::Run(kApp, o, &error)) << error.toStdString();
    ASSERT_EQ(warnings.size(), 1) << warnings.join(u'\n').toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("A001")) && warnings[0].contains(QStringLiteral("12-345")));

    // The second card's seven digits: ink only inside the boxes, some in each.
    const QImage card(dir.filePath("card-002.png"));
    ASSERT_EQ(card.size(), QSize(1181, 1748));
    const auto px = [](double mm) { return int(std::lround(mm * 300 / 25.4)); };
    const double gaps[] = {0, 1.3, 1.3, 1.9, 1.1, 1.1, 1.1};
    std::vector<QRect> boxes;
    double left = 44.3;
    for (double gap : gaps) {
        left += gap;
        boxes.emplace_back(QPoint(px(left), px(12.0)), QPoint(px(left + 5.7) - 1, px(20.0) - 1));
        left += 5.7;
    }
    std::vector<int> inBox(7, 0);
    int outside = 0;
    for (int y = px(10); y < px(22); ++y)
        for (int x = px(42); x < px(94); ++x) {
            if (card.pixelColor(x, y).lightness() > 128) continue;
            const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const QRect& b) { return b.contains(x, y); });
            if (box == boxes.end())
                ++outside;
            else
                ++inBox[size_t(box - boxes.begin())];
        }
    EXPECT_EQ(outside, 0);
    for (int n : inBox)
        EXPECT_GT(n, 100);
}
