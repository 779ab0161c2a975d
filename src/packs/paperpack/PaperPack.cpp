// libpaperpack.so: the page's paper, the sheet to print on and (with printing) the preview. Each
// entry runs its dialog on the stack and destroys it before it answers, so nothing of the pack
// outlives the call.
#include "PaperDialog.h"
#include "PrintPaperDialog.h"
#include "PreviewDialog.h"

#include "print/PrintPreview.h"

#include "document/PriPaper.h"
#include "platform/Cp932.h"
#include "platform/PackEntries.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstring>

namespace {

// Where a sheet the user adds is saved. The program hands over the user's copy once there is
// one; before that it hands over the shipped file, which is also the user's copy when the
// application folder is writable (a portable folder). Otherwise the copy goes to the user's
// data folder, where the program looks for it.
QString UserCopyFor(const QString& dataFile) {
    const QFileInfo info(dataFile);
    const QFileInfo folder(info.absolutePath());
    if (folder.isDir() && folder.isWritable() && (!info.exists() || info.isWritable())) return dataFile;
    QString root = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (root.isEmpty()) root = QDir::homePath() + QStringLiteral("/.local/share/komorebi");
    return root + QStringLiteral("/settings/carddata.cdd");
}

} // namespace

// mode: the program passes 1; every mode edits the whole paper.
extern "C" Q_DECL_EXPORT uint16_t PaperNewSettingDlg(TPriPaper* paper, int32_t mode) {
    if (!paper) return 0;
    TPaperDialog dialog(*paper);
    if (dialog.exec() != QDialog::Accepted) return 0;
    *paper = dialog.Paper();
    return 1;
}

extern "C" Q_DECL_EXPORT uint16_t PrintPaperSettingDlg(const char* paperDataPath, TPriPaper* paper, int32_t* valueA,
                                                       int32_t* valueB, int32_t portrait) {
    if (!paperDataPath || !paper || !valueA || !valueB) return 0;
    const QString dataFile = TCp932::Decode(paperDataPath, qsizetype(strlen(paperDataPath)));
    TPrintPaperDialog dialog(dataFile, UserCopyFor(dataFile), *valueA, *valueB, portrait);
    if (dialog.exec() != QDialog::Accepted) return 0;
    const int index = dialog.ChosenIndex();
    if (index < 0) return 0;
    const TCardSheet& sheet = dialog.Sheets()[index];
    sheet.ToPaper(*paper, portrait);
    *valueA = index + 1;
    *valueB = TPrintPaperDialog::NameKey(sheet.Name);
    // The document keeps the choice with its paper.
    paper->FValueA = *valueA;
    paper->FValueB = *valueB;
    return 1;
}

// The built sheets shown one at a time; non-zero when the user asked to print them.
extern "C" Q_DECL_EXPORT uint16_t PrintPreviewDlg(TPrintPreview* pages, int32_t marginLeft, int32_t marginTop,
                                                  int32_t marginRight, int32_t marginBottom, int32_t sheetWidth,
                                                  int32_t sheetHeight, QStringList* tempPageFiles, int32_t firstSeatTop,
                                                  int32_t firstSeatLeft, int32_t singleSeat, int32_t marginColor) {
    if (!pages) return 0;
    TPreviewGeometry g;
    g.MarginLeft = marginLeft;
    g.MarginTop = marginTop;
    g.MarginRight = marginRight;
    g.MarginBottom = marginBottom;
    g.SheetWidth = sheetWidth;
    g.SheetHeight = sheetHeight;
    g.FirstSeatTop = firstSeatTop;
    g.FirstSeatLeft = firstSeatLeft;
    g.SingleSeat = singleSeat != 0;
    // The colour arrives as the document keeps it: red in the low byte.
    g.MarginColor = QColor(marginColor & 0xFF, (marginColor >> 8) & 0xFF, (marginColor >> 16) & 0xFF);
    TPreviewDialog dialog(pages, tempPageFiles ? *tempPageFiles : QStringList(), g);
    dialog.SetFileDevice(pages->PagePixels(), pages->DpiX());
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}
