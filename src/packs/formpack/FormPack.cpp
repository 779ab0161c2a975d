// The C entries of libformpack.so. Each builds its dialog on the stack, runs it and destroys it
// before returning, so nothing of the pack outlives the call.
#include "StartCheckDialog.h"

#include "platform/Cp932.h"
#include "platform/PackEntries.h"

#include <QtGlobal>
#include <cstring>
#include <type_traits>

extern "C" {

Q_DECL_EXPORT uint16_t StartCheckDlg(int32_t* choice, const char* caption1, const char* caption2) {
    if (choice == nullptr) return 0;
    const QString c1 = caption1 ? TCp932::Decode(caption1, qsizetype(strlen(caption1))) : QString();
    const QString c2 = caption2 ? TCp932::Decode(caption2, qsizetype(strlen(caption2))) : QString();
    TStartCheckDialog dialog(c1, c2);
    const bool ok = dialog.exec() == QDialog::Accepted && dialog.Choice() != 0;
    *choice = ok ? dialog.Choice() : 0;
    return ok ? 1 : 0;
}
}

static_assert(std::is_same_v<decltype(&StartCheckDlg), TStartCheckDlg>);
