// The layers of src/ hold because this test reads every include, not because the build would
// refuse one: the engine's folders share one include root (docs/ARCHITECTURE.md).
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Levels from the bottom; folders on one level may include each other (except app and packs).
int Level(const QString& layer) {
    static const QHash<QString, int> levels = {
        {QStringLiteral("platform"), 0}, {QStringLiteral("imaging"), 1}, {QStringLiteral("objects"), 2},
        {QStringLiteral("calendar"), 3}, {QStringLiteral("merge"), 3},   {QStringLiteral("document"), 4},
        {QStringLiteral("print"), 5},    {QStringLiteral("app"), 6},     {QStringLiteral("packs"), 6}};
    return levels.value(layer, -1);
}

// Why the file `from` may not include `target` (both paths under src/), or an empty string.
QString Refusal(const QString& from, const QString& target) {
    const QStringList fromParts = from.split(u'/');
    const QStringList targetParts = target.split(u'/');
    const QString fromLayer = fromParts.front(), targetLayer = targetParts.front();
    if (Level(fromLayer) < 0) return QStringLiteral("%1/ is in no layer of the table").arg(fromLayer);
    if (target.startsWith(QStringLiteral("../")) || Level(targetLayer) < 0)
        return QStringLiteral("%1 is in no layer under src/").arg(target);
    if (Level(targetLayer) > Level(fromLayer))
        return QStringLiteral("%1 may not include %2, a higher layer").arg(fromLayer, targetLayer);
    // The shell and the packs meet only through the dialog-library interface in platform/.
    if ((fromLayer == QLatin1String("app") && targetLayer == QLatin1String("packs")) ||
        (fromLayer == QLatin1String("packs") && targetLayer == QLatin1String("app")))
        return QStringLiteral("%1 may not include %2: they meet through platform/DialogLibrary.h")
            .arg(fromLayer, targetLayer);
    // Each pack is a library of its own, loaded by file name: it shares only packs/common.
    if (fromLayer == QLatin1String("packs") && targetLayer == QLatin1String("packs") &&
        fromParts.value(1) != targetParts.value(1) && targetParts.value(1) != QLatin1String("common"))
        return QStringLiteral("packs/%1 may not include another pack").arg(fromParts.value(1));
    return {};
}

struct TIncludeLine {
    QString file; // under src/
    int line = 0;
    QString text;   // as written
    QString target; // resolved under src/, or the text when it resolves nowhere there
};

// Quoted includes resolve beside the including file first, then from src/ as the build's root;
// bracketed ones count only where they name a file of ours.
std::vector<TIncludeLine> IncludesUnder(const QDir& src, int& files) {
    static const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])"));
    std::vector<TIncludeLine> found;
    files = 0;
    QDirIterator it(src.path(), {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) continue;
        ++files;
        const QString relative = src.relativeFilePath(path);
        const QString folder = QFileInfo(relative).path();
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine());
            ++number;
            const QRegularExpressionMatch match = include.match(line);
            if (!match.hasMatch()) continue;
            const QString text = match.captured(2);
            const QString beside = QDir::cleanPath(folder + u'/' + text);
            QString target;
            if (match.captured(1) == QLatin1String("\"") && QFileInfo::exists(src.filePath(beside)))
                target = beside;
            else if (QFileInfo::exists(src.filePath(text)))
                target = QDir::cleanPath(text);
            else if (match.captured(1) == QLatin1String("<"))
                continue;
            else
                target = text;
            found.push_back({relative, number, text, target});
        }
    }
    return found;
}

} // namespace

TEST(LayeringTest, TheTableRefusesUpwardAndSidewaysIncludes) {
    struct TCase {
        const char* from;
        const char* target;
        bool allowed;
    };
    const TCase cases[] = {
        {"objects/PriLabel.cpp", "platform/Cp932.h", true},
        {"objects/PriLabel.cpp", "document/PriPaint.h", false},
        {"imaging/ImageCodec.cpp", "objects/PriBase.h", false},
        {"calendar/PriCarendar.cpp", "merge/FieldUnit.h", true},
        {"merge/PriField.cpp", "calendar/PriCarendar.h", true},
        {"print/PageBuilder.cpp", "app/PrintCommands.h", false},
        {"app/mainwindow/PageView.cpp", "print/PageExport.h", true},
        {"packs/textpack/TextPack.cpp", "app/PrintMainForm.h", false},
        {"app/PrintMainForm.cpp", "packs/textpack/FontEditDialog.h", false},
        {"packs/drawpack/PortalDialog.cpp", "packs/common/WideDigitBox.h", true},
        {"packs/drawpack/DrawPack.cpp", "platform/PackEntries.h", true},
        {"packs/drawpack/PortalDialog.cpp", "packs/textpack/ColorButton.h", false},
        {"document/PriPaint.cpp", "support/FixedPrinter.h", false},
        {"document/PriPaint.cpp", "../tests/support/FixedPrinter.h", false},
        {"scratch/Thing.cpp", "platform/Cp932.h", false},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Refusal(QString::fromLatin1(c.from), QString::fromLatin1(c.target)).isEmpty(), c.allowed)
            << c.from << " -> " << c.target;
}

TEST(LayeringTest, NoIncludeUnderSrcGoesUpTheLayerTable) {
    const QDir src(QStringLiteral(KOMOREBI_SOURCE_DIR "/src"));
    int files = 0;
    const std::vector<TIncludeLine> includes = IncludesUnder(src, files);
    ASSERT_GT(files, 200) << "the source tree was not found at " << src.path().toStdString();
    ASSERT_GT(includes.size(), 400u);
    for (const TIncludeLine& include : includes) {
        const QString why = Refusal(include.file, include.target);
        EXPECT_TRUE(why.isEmpty()) << "src/" << include.file.toStdString() << ":" << include.line << ": #include \""
                                   << include.text.toStdString() << "\": " << why.toStdString();
    }
}
