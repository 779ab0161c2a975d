// The entries of libtextpack.so: the string, font and calendar dialogs. Each shows a modal dialog
// that lives on the stack of the call, so nothing of it is left once the entry returns and the
// program lets the library go.
#include "CalendarSetDialog.h"
#include "FontEditDialog.h"
#include "StringEditDialog.h"
#include "platform/AppPaths.h"
#include "platform/Cp932.h"
#include "platform/FontMap.h"
#include "platform/PackEntries.h"

#include <QApplication>
#include <QFileInfo>
#include <cstring>
#include <dlfcn.h>
#include <type_traits>

namespace {

bool HaveApplication() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QWidget* ParentWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

QString FromCp932(const char* text) {
    return text ? TCp932::Decode(text, qsizetype(std::strlen(text))) : QString();
}

// The folder this library was loaded from.
QString PackFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&PackFolder), &info) == 0 || !info.dli_fname) return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath() + QLatin1Char('/');
}

// The shipped holiday list as the program finds it; failing that, beside this pack (portable) or in
// the shipped tree next to the pack's lib folder (installed). Empty when there is none.
QString HolidayFile() {
    QStringList candidates{TAppPaths::Detect().HolidayFile()};
    const QString packs = PackFolder();
    if (!packs.isEmpty())
        candidates << TAppPaths::ForFolder(packs).HolidayFile()
                   << TAppPaths::ForInstall(packs + QStringLiteral("../../share/komorebi"), packs).HolidayFile();
    for (const QString& file : candidates)
        if (QFileInfo(file).isFile()) return file;
    return QString();
}

} // namespace

extern "C" {

// current: the text so far; out: size bytes for the new text. The limit is what the buffer holds.
Q_DECL_EXPORT uint16_t StringEditDlg(const char* current, char* out, int32_t size) {
    if (!out || size <= 0 || !HaveApplication()) return 0;
    TFontMap::Install();
    TStringEditDialog dialog(FromCp932(current), size - 1, ParentWindow());
    if (dialog.exec() != QDialog::Accepted) return 0;
    // Cut between characters, never inside a double-byte one.
    TCp932::ToBuffer(dialog.Text(), out, size);
    return 1;
}

// mode is 1 from the program; every mode shows the whole dialog. On OK the object takes the layout
// settings and the font, and the out values the face, size, style bits and colour.
Q_DECL_EXPORT uint16_t FontEditDlg(int32_t mode, TPriLabel* object, const char* faceName, char* outFace,
                                   int32_t faceSize, int32_t* fontSize, int32_t* fontStyle, int32_t* fontColor) {
    (void)mode;
    if (!object || !outFace || faceSize <= 0 || !fontSize || !fontStyle || !fontColor || !HaveApplication()) return 0;
    TFontMap::Install();
    TFontEditDialog dialog(*object, FromCp932(faceName), *fontSize, *fontStyle, *fontColor, faceSize - 1,
                           ParentWindow());
    if (dialog.exec() != QDialog::Accepted) return 0;
    dialog.ApplyTo(*object);
    TCp932::ToBuffer(dialog.Face(), outFace, faceSize);
    *fontSize = dialog.Size();
    *fontStyle = dialog.Style();
    *fontColor = dialog.FontColor();
    return 1;
}

// On OK the calendar takes every setting, its day table made afresh; on cancel it is not touched.
Q_DECL_EXPORT uint16_t CarendarSetDlg(TPriCarendar* calendar) {
    if (!calendar || !HaveApplication()) return 0;
    TFontMap::Install();
    TCalendarSetDialog dialog(*calendar, HolidayFile(), ParentWindow());
    if (dialog.exec() != QDialog::Accepted) return 0;
    dialog.ApplyTo(*calendar);
    return 1;
}
}

// The program calls these through the pointer types it declares; they must agree exactly.
static_assert(std::is_same_v<decltype(&StringEditDlg), TStringEditDlg>);
static_assert(std::is_same_v<decltype(&FontEditDlg), TFontEditDlg>);
static_assert(std::is_same_v<decltype(&CarendarSetDlg), TCarendarSetDlg>);
