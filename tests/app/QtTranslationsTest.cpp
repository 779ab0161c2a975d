#include "app/QtTranslations.h"

#include <QApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

// The texts users met in English in Qt's own dialogs.
TEST(QtTranslations, StandardDialogsSpeakJapanese) {
    QTranslator* translator = InstallQtTranslations(*qApp);
    ASSERT_NE(translator, nullptr) << "qt6-translations-l10n is not installed";
    const struct {
        const char* context;
        const char* text;
    } cases[] = {{"QFileDialog", "Look in:"},
                 {"QColorDialog", "Select Color"},
                 {"QPrintDialog", "Print"},
                 {"QPlatformTheme", "Cancel"}};
    for (const auto& c : cases) {
        const QString shown = QCoreApplication::translate(c.context, c.text);
        EXPECT_NE(shown, QString::fromLatin1(c.text)) << c.context << " " << c.text;
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

} // namespace
