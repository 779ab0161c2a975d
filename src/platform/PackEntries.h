#pragma once

// The entry points of the dialog packs (lib<name>pack.so beside the executable), as the packs
// export them with C linkage. Texts travel as zero-terminated CP932 buffers; objects are the
// program's own, changed in place by the dialog. Every entry answers a 16-bit truth value.

#include <QList>
#include <QStringList>
#include <cstdint>

class TObjectExtras;
class TPriBase;
class TPriLabel;
class TPriCarendar;
class TPriPaper;
class TPrintPreview;

using TPackObjectList = QList<TPriBase*>;

extern "C" {
// formpack
using TStartCheckDlg = uint16_t (*)(int32_t* choice, const char* caption1, const char* caption2);
using TRecordSettingDlg = uint16_t (*)(char* mainFile, int32_t mainSize, char* detailFile, int32_t detailSize,
                                       int32_t* printMode);
using TSaveTWAINImageDlg = uint16_t (*)(int32_t* choice);
using TPositionEditDlg = uint16_t (*)(TPackObjectList* objects);
using TEditCategory = uint16_t (*)(const char* caption, int32_t kind, int32_t* category, char* text, char* text2,
                                   int32_t size);
// EditCategory with the field's options beyond its record (postal layout, sender item, name block,
// barcode) and its state (text, picture, barcode…), which may be null.
using TEditFieldCategory = uint16_t (*)(const char* caption, int32_t* category, char* text, int32_t size,
                                        TObjectExtras* extras, int32_t* state);
// textpack
using TStringEditDlg = uint16_t (*)(const char* current, char* out, int32_t size);
using TFontEditDlg = uint16_t (*)(int32_t mode, TPriLabel* object, const char* faceName, char* outFace,
                                  int32_t faceSize, int32_t* fontSize, int32_t* fontStyle, int32_t* fontColor);
using TCarendarSetDlg = uint16_t (*)(TPriCarendar* calendar);
// drawpack
using TPenBrushSetDlg = uint16_t (*)(int32_t mode, int32_t* penStyle, int32_t* penWidth, int32_t* penColor,
                                     int32_t* brushStyle, int32_t* brushColor, int32_t* roundNum, int32_t part);
using TPortalSettingDlg = uint16_t (*)(int32_t* rows, const char* dataName, char* outName, int32_t size,
                                       const QStringList* fieldFiles);
// paperpack
using TPaperNewSettingDlg = uint16_t (*)(TPriPaper* paper, int32_t mode);
using TPrintPaperSettingDlg = uint16_t (*)(const char* paperDataPath, TPriPaper* paper, int32_t* valueA,
                                           int32_t* valueB, int32_t portrait);
using TPrintPreviewDlg = uint16_t (*)(TPrintPreview* pages, int32_t marginLeft, int32_t marginTop, int32_t marginRight,
                                      int32_t marginBottom, int32_t sheetWidth, int32_t sheetHeight,
                                      QStringList* tempPageFiles, int32_t firstSeatTop, int32_t firstSeatLeft,
                                      int32_t singleSeat, int32_t marginColor);
// fontpack
using TGetTrueType = uint16_t (*)(QStringList* items, int32_t mode, int32_t flag);
}

// Font style bits handed to and from FontEditDlg.
enum : int32_t { fsBoldBit = 1, fsItalicBit = 2, fsUnderlineBit = 4, fsStrikeOutBit = 8 };
