#pragma once

#include "platform/DialogLibrary.h"

#include <functional>

// Loads lib<name>pack.so from the application folder for each call and lets it go after it,
// so a pack can be replaced while the program runs. Nothing is cached.
class TPackLibrary : public TDialogLibrary {
public:
    explicit TPackLibrary(QString appPath) : fAppPath(std::move(appPath)) {}

    // Full file name of a pack ("text" -> AppPath/libtextpack.so).
    QString PackFile(const char* pack) const;
    // Called with a Japanese message naming the pack and the loader's reason whenever a pack
    // cannot be loaded or lacks the entry; the command then does nothing.
    void SetFailureHandler(std::function<void(const QString&)> handler) { fOnFailure = std::move(handler); }
    const QString& LastFailure() const { return fLastFailure; }

    TDlgAnswer StartCheckDlg(int32_t& choice, const QString& caption1, const QString& caption2) override;
    TDlgAnswer RecordSettingDlg(QString& mainFile, QString& detailFile, int32_t& printMode) override;
    TDlgAnswer SaveTWAINImageDlg(int32_t& choice) override;
    TDlgAnswer PositionEditDlg(TPackObjectList& objects) override;
    TDlgAnswer EditCategory(const QString& caption, int32_t kind, int32_t& category, QString& name) override;
    TDlgAnswer EditFieldCategory(const QString& caption, int32_t& category, QString& name, TObjectExtras& extras,
                                 int32_t* state = nullptr) override;
    TDlgAnswer StringEditDlg(const QString& current, QString& result) override;
    TDlgAnswer FontEditDlg(int32_t mode, TPriLabel* object, const QString& faceName, QString& outFace,
                           int32_t& fontSize, int32_t& fontStyle, int32_t& fontColor) override;
    TDlgAnswer CarendarSetDlg(TPriCarendar* calendar) override;
    TDlgAnswer PenBrushSetDlg(int32_t mode, int32_t& penStyle, int32_t& penWidth, int32_t& penColor,
                              int32_t& brushStyle, int32_t& brushColor, int32_t& roundNum, int32_t part) override;
    TDlgAnswer PortalSettingDlg(int32_t& rows, const QString& dataName, QString& outName,
                                const QStringList& fieldFiles) override;
    TDlgAnswer PaperNewSettingDlg(TPriPaper* paper, int32_t mode) override;
    TDlgAnswer PrintPaperSettingDlg(const QString& paperDataPath, TPriPaper* paper, int32_t& valueA, int32_t& valueB,
                                    int32_t portrait) override;
    TDlgAnswer PrintPreviewDlg(TPrintPreview* pages, int32_t marginLeft, int32_t marginTop, int32_t marginRight,
                               int32_t marginBottom, int32_t sheetWidth, int32_t sheetHeight,
                               QStringList& tempPageFiles, int32_t firstSeatTop, int32_t firstSeatLeft, bool singleSeat,
                               int32_t marginColor) override;
    TDlgAnswer GetTrueType(QStringList& items, int32_t mode, bool flag) override;

private:
    template <typename TEntry, typename... TArgs> TDlgAnswer Call(const char* pack, const char* entry, TArgs... args);

    void Failed(const QString& message);

    QString fAppPath;
    std::function<void(const QString&)> fOnFailure;
    QString fLastFailure;
};
