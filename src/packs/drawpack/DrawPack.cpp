// libdrawpack.so: the pen and brush dialog and the portal dialog. Each entry runs its dialog on
// the stack and destroys it before it answers, so nothing of the pack outlives the call.
#include "PenBrushDialog.h"
#include "PortalDialog.h"

#include "platform/Cp932.h"
#include "platform/PackEntries.h"

#include <cstring>

namespace {

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The text as a zero-terminated CP932 string in a buffer of size bytes, cut short at a
// character boundary so a double-byte character is never split.
bool CopyToBuffer(const QString& text, char* out, int32_t size) {
    if (!out || size <= 0) return false;
    const QByteArray bytes = TCp932::Encode(text);
    qsizetype fit = 0;
    while (fit < bytes.size()) {
        const qsizetype step = IsLeadByte(uchar(bytes[fit])) ? 2 : 1;
        if (fit + step > size - 1) break;
        fit += step;
    }
    memcpy(out, bytes.constData(), size_t(fit));
    out[fit] = '\0';
    return true;
}

} // namespace

extern "C" Q_DECL_EXPORT uint16_t PenBrushSetDlg(int32_t mode, int32_t* penStyle, int32_t* penWidth, int32_t* penColor,
                                                 int32_t* brushStyle, int32_t* brushColor, int32_t* roundNum,
                                                 int32_t part) {
    if (!penStyle || !penWidth || !penColor || !brushStyle || !brushColor || !roundNum) return 0;
    if (part < 0 || part > 2) part = 0;
    TPenBrushDialog::TValues values{*penStyle, *penWidth, *penColor, *brushStyle, *brushColor, *roundNum};
    TPenBrushDialog dialog(values, part);
    if (dialog.exec() != QDialog::Accepted) return 0;
    values = dialog.Values();
    *penStyle = values.PenStyle;
    *penWidth = values.PenWidth;
    *penColor = values.PenColor;
    *brushStyle = values.BrushStyle;
    *brushColor = values.BrushColor;
    *roundNum = values.RoundNum;
    return 1;
}

extern "C" Q_DECL_EXPORT uint16_t PortalSettingDlg(int32_t* rows, const char* dataName, char* outName, int32_t size,
                                                   const QStringList* fieldFiles) {
    if (!rows || !outName || size <= 0) return 0;
    const QString current = dataName ? TCp932::Decode(dataName, qsizetype(strlen(dataName))) : QString();
    TPortalDialog dialog(*rows, current, fieldFiles ? *fieldFiles : QStringList());
    if (dialog.exec() != QDialog::Accepted) return 0;
    if (!CopyToBuffer(dialog.DataName(), outName, size)) return 0;
    *rows = dialog.Rows();
    return 1;
}
