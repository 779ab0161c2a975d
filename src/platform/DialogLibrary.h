#pragma once

#include "platform/PackEntries.h"

#include <QString>

// The answer of a dialog entry. A missing pack or entry is "not called": the command does nothing.
struct TDlgAnswer {
    bool Called = false;
    uint16_t Value = 0;
    // The user confirmed (the entry ran and answered non-zero).
    explicit operator bool() const { return Called && Value != 0; }
};

// Every dialog entry of the packs, with its argument list. Text arguments are Unicode here;
// the implementation turns them into the packs' CP932 buffers.
class TDialogLibrary {
public:
    virtual ~TDialogLibrary() = default;

    // formpack
    virtual TDlgAnswer StartCheckDlg(int32_t& choice, const QString& caption1, const QString& caption2) = 0;
    virtual TDlgAnswer RecordSettingDlg(QString& mainFile, QString& detailFile, int32_t& printMode) = 0;
    virtual TDlgAnswer SaveTWAINImageDlg(int32_t& choice) = 0;
    virtual TDlgAnswer PositionEditDlg(TPackObjectList& objects) = 0;
    virtual TDlgAnswer EditCategory(const QString& caption, int32_t kind, int32_t& category, QString& name) = 0;
    // The same with the field's options beyond its record and, when given, its state (text,
    // picture, barcode…); a library without them leaves those as they are.
    virtual TDlgAnswer EditFieldCategory(const QString& caption, int32_t& category, QString& name,
                                         TObjectExtras& extras, int32_t* state = nullptr) {
        (void)extras;
        (void)state;
        return EditCategory(caption, 8, category, name);
    }
    // textpack
    virtual TDlgAnswer StringEditDlg(const QString& current, QString& result) = 0;
    virtual TDlgAnswer FontEditDlg(int32_t mode, TPriLabel* object, const QString& faceName, QString& outFace,
                                   int32_t& fontSize, int32_t& fontStyle, int32_t& fontColor) = 0;
    virtual TDlgAnswer CarendarSetDlg(TPriCarendar* calendar) = 0;
    // drawpack
    virtual TDlgAnswer PenBrushSetDlg(int32_t mode, int32_t& penStyle, int32_t& penWidth, int32_t& penColor,
                                      int32_t& brushStyle, int32_t& brushColor, int32_t& roundNum, int32_t part) = 0;
    virtual TDlgAnswer PortalSettingDlg(int32_t& rows, const QString& dataName, QString& outName,
                                        const QStringList& fieldFiles) = 0;
    // paperpack
    virtual TDlgAnswer PaperNewSettingDlg(TPriPaper* paper, int32_t mode) = 0;
    virtual TDlgAnswer PrintPaperSettingDlg(const QString& paperDataPath, TPriPaper* paper, int32_t& valueA,
                                            int32_t& valueB, int32_t portrait) = 0;
    virtual TDlgAnswer PrintPreviewDlg(TPrintPreview* pages, int32_t marginLeft, int32_t marginTop, int32_t marginRight,
                                       int32_t marginBottom, int32_t sheetWidth, int32_t sheetHeight,
                                       QStringList& tempPageFiles, int32_t firstSeatTop, int32_t firstSeatLeft,
                                       bool singleSeat, int32_t marginColor) = 0;
    // fontpack
    virtual TDlgAnswer GetTrueType(QStringList& items, int32_t mode, bool flag) = 0;
};
