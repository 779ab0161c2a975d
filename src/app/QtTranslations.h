#pragma once

class QCoreApplication;
class QTranslator;

// Qt's own dialogs (file, colour, printer) speak the program's language: Japanese.
// Returns the installed catalogue (owned by app), or nullptr when Qt's Japanese catalogue is
// not installed (qt6-translations-l10n).
QTranslator* InstallQtTranslations(QCoreApplication& app);
