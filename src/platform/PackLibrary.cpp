#include "platform/PackLibrary.h"

#include "platform/Cp932.h"

#include <QDir>
#include <QLibrary>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kTextBuffer = 1024;
constexpr int kStringBuffer = 30720;
constexpr int kCategoryBuffer = 3072;

// A zero-terminated CP932 buffer of a fixed size, filled with an initial text.
class TTextBuffer {
public:
    // A text longer than the buffer is cut before a double-byte character, never inside it.
    TTextBuffer(int size, const QString& initial = QString()) : fBytes(size_t(size), '\0') {
        TCp932::ToBuffer(initial, fBytes.data(), qsizetype(fBytes.size()));
    }
    char* Data() { return fBytes.data(); }
    int32_t Size() const { return int32_t(fBytes.size()); }
    // The text up to the terminator; a pack that forgot it still cannot run past the end,
    // and a full buffer loses no more than a split last character.
    QString Text() const { return TCp932::FromBuffer(fBytes.data(), qsizetype(fBytes.size())); }

private:
    std::vector<char> fBytes;
};

} // namespace

QString TPackLibrary::PackFile(const char* pack) const {
    return fAppPath + QStringLiteral("lib") + QLatin1String(pack) + QStringLiteral("pack.so");
}

template <typename TEntry, typename... TArgs>
TDlgAnswer TPackLibrary::Call(const char* pack, const char* entry, TArgs... args) {
    QLibrary lib(PackFile(pack));
    // Libraries with Qt objects are never really unmapped by glibc, and one that is can
    // crash the host through a timer or deleteLater left behind.
    lib.setLoadHints(QLibrary::PreventUnloadHint);
    if (!lib.load()) {
        Failed(QStringLiteral("ダイアログ部品 %1 を読み込めません。\n%2")
                   .arg(QDir::toNativeSeparators(lib.fileName()), lib.errorString()));
        return {};
    }
    auto fn = reinterpret_cast<TEntry>(lib.resolve(entry));
    if (!fn) {
        Failed(QStringLiteral("ダイアログ部品 %1 に %2 がありません。")
                   .arg(QDir::toNativeSeparators(lib.fileName()), QString::fromLatin1(entry)));
        lib.unload();
        return {};
    }
    TDlgAnswer answer{true, fn(args...)};
    lib.unload();
    return answer;
}

void TPackLibrary::Failed(const QString& message) {
    fLastFailure = message;
    if (fOnFailure) fOnFailure(message);
}

TDlgAnswer TPackLibrary::StartCheckDlg(int32_t& choice, const QString& caption1, const QString& caption2) {
    const QByteArray c1 = TCp932::Encode(caption1), c2 = TCp932::Encode(caption2);
    return Call<TStartCheckDlg>("form", "StartCheckDlg", &choice, c1.constData(), c2.constData());
}

TDlgAnswer TPackLibrary::RecordSettingDlg(QString& mainFile, QString& detailFile, int32_t& printMode) {
    TTextBuffer mainBuf(kTextBuffer, mainFile), detailBuf(kTextBuffer, detailFile);
    int32_t mode = printMode;
    TDlgAnswer a = Call<TRecordSettingDlg>("form", "RecordSettingDlg", mainBuf.Data(), mainBuf.Size(), detailBuf.Data(),
                                           detailBuf.Size(), &mode);
    if (a) {
        mainFile = mainBuf.Text();
        detailFile = detailBuf.Text();
        printMode = mode;
    }
    return a;
}

TDlgAnswer TPackLibrary::SaveTWAINImageDlg(int32_t& choice) {
    return Call<TSaveTWAINImageDlg>("form", "SaveTWAINImageDlg", &choice);
}

TDlgAnswer TPackLibrary::PositionEditDlg(TPackObjectList& objects) {
    return Call<TPositionEditDlg>("form", "PositionEditDlg", &objects);
}

TDlgAnswer TPackLibrary::EditCategory(const QString& caption, int32_t kind, int32_t& category, QString& name) {
    const QByteArray cap = TCp932::Encode(caption);
    TTextBuffer buf(kCategoryBuffer, name);
    int32_t cat = category;
    TDlgAnswer a =
        Call<TEditCategory>("form", "EditCategory", cap.constData(), kind, &cat, buf.Data(), buf.Data(), buf.Size());
    if (a) {
        category = cat;
        name = buf.Text();
    }
    return a;
}

TDlgAnswer TPackLibrary::EditFieldCategory(const QString& caption, int32_t& category, QString& name,
                                           TObjectExtras& extras, int32_t* state) {
    const QByteArray cap = TCp932::Encode(caption);
    TTextBuffer buf(kCategoryBuffer, name);
    int32_t cat = category;
    TDlgAnswer a = Call<TEditFieldCategory>("form", "EditFieldCategory", cap.constData(), &cat, buf.Data(), buf.Size(),
                                            &extras, state);
    if (a) {
        category = cat;
        name = buf.Text();
    }
    return a;
}

TDlgAnswer TPackLibrary::StringEditDlg(const QString& current, QString& result) {
    const QByteArray cur = TCp932::Encode(current);
    TTextBuffer buf(kStringBuffer);
    TDlgAnswer a = Call<TStringEditDlg>("text", "StringEditDlg", cur.constData(), buf.Data(), buf.Size());
    if (a) result = buf.Text();
    return a;
}

TDlgAnswer TPackLibrary::FontEditDlg(int32_t mode, TPriLabel* object, const QString& faceName, QString& outFace,
                                     int32_t& fontSize, int32_t& fontStyle, int32_t& fontColor) {
    const QByteArray face = TCp932::Encode(faceName);
    TTextBuffer buf(kTextBuffer, faceName);
    int32_t size = fontSize, style = fontStyle, color = fontColor;
    TDlgAnswer a = Call<TFontEditDlg>("text", "FontEditDlg", mode, object, face.constData(), buf.Data(), buf.Size(),
                                      &size, &style, &color);
    if (a) {
        outFace = buf.Text();
        fontSize = size;
        fontStyle = style;
        fontColor = color;
    }
    return a;
}

TDlgAnswer TPackLibrary::CarendarSetDlg(TPriCarendar* calendar) {
    return Call<TCarendarSetDlg>("text", "CarendarSetDlg", calendar);
}

TDlgAnswer TPackLibrary::PenBrushSetDlg(int32_t mode, int32_t& penStyle, int32_t& penWidth, int32_t& penColor,
                                        int32_t& brushStyle, int32_t& brushColor, int32_t& roundNum, int32_t part) {
    // The pack works on copies: a cancelled dialog must leave the caller's values as they were.
    int32_t ps = penStyle, pw = penWidth, pc = penColor, bs = brushStyle, bc = brushColor, rn = roundNum;
    TDlgAnswer a = Call<TPenBrushSetDlg>("draw", "PenBrushSetDlg", mode, &ps, &pw, &pc, &bs, &bc, &rn, part);
    if (a) {
        penStyle = ps;
        penWidth = pw;
        penColor = pc;
        brushStyle = bs;
        brushColor = bc;
        roundNum = rn;
    }
    return a;
}

TDlgAnswer TPackLibrary::PortalSettingDlg(int32_t& rows, const QString& dataName, QString& outName,
                                          const QStringList& fieldFiles) {
    const QByteArray name = TCp932::Encode(dataName);
    TTextBuffer buf(kTextBuffer, dataName);
    int32_t r = rows;
    TDlgAnswer a =
        Call<TPortalSettingDlg>("draw", "PortalSettingDlg", &r, name.constData(), buf.Data(), buf.Size(), &fieldFiles);
    if (a) {
        rows = r;
        outName = buf.Text();
    }
    return a;
}

TDlgAnswer TPackLibrary::PaperNewSettingDlg(TPriPaper* paper, int32_t mode) {
    return Call<TPaperNewSettingDlg>("paper", "PaperNewSettingDlg", paper, mode);
}

TDlgAnswer TPackLibrary::PrintPaperSettingDlg(const QString& paperDataPath, TPriPaper* paper, int32_t& valueA,
                                              int32_t& valueB, int32_t portrait) {
    const QByteArray path = TCp932::Encode(paperDataPath);
    return Call<TPrintPaperSettingDlg>("paper", "PrintPaperSettingDlg", path.constData(), paper, &valueA, &valueB,
                                       portrait);
}

TDlgAnswer TPackLibrary::PrintPreviewDlg(TPrintPreview* pages, int32_t marginLeft, int32_t marginTop,
                                         int32_t marginRight, int32_t marginBottom, int32_t sheetWidth,
                                         int32_t sheetHeight, QStringList& tempPageFiles, int32_t firstSeatTop,
                                         int32_t firstSeatLeft, bool singleSeat, int32_t marginColor) {
    return Call<TPrintPreviewDlg>("paper", "PrintPreviewDlg", pages, marginLeft, marginTop, marginRight, marginBottom,
                                  sheetWidth, sheetHeight, &tempPageFiles, firstSeatTop, firstSeatLeft,
                                  int32_t(singleSeat ? 1 : 0), marginColor);
}

TDlgAnswer TPackLibrary::GetTrueType(QStringList& items, int32_t mode, bool flag) {
    return Call<TGetTrueType>("font", "GetTrueType", &items, mode, int32_t(flag ? 1 : 0));
}
