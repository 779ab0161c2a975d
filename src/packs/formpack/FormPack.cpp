// The C entries of libformpack.so. Each builds its dialog on the stack, runs it and destroys it
// before returning, so nothing of the pack outlives the call.
#include "CategoryDialog.h"
#include "FormPaths.h"
#include "PositionEditDialog.h"
#include "RecordSettingDialog.h"
#include "SaveTwainImageDialog.h"
#include "StartCheckDialog.h"

#include "merge/FieldUnit.h"
#include "merge/RecordUnit.h"
#include "platform/Cp932.h"
#include "platform/PackEntries.h"

#include <QApplication>
#include <QtGlobal>
#include <cstring>
#include <type_traits>

namespace {

QString FromText(const char* text) {
    return text ? TCp932::Decode(text, qsizetype(strlen(text))) : QString();
}

// The program's active window, so the dialog opens over it rather than anywhere on the screen.
QWidget* Host() {
    return QApplication::activeWindow();
}

} // namespace

extern "C" {

// choice: 1 open a template, 2 open saved data; 0 (and the answer 0) when the user quit.
Q_DECL_EXPORT uint16_t StartCheckDlg(int32_t* choice, const char* caption1, const char* caption2) {
    if (choice == nullptr) return 0;
    TStartCheckDialog dialog(FromText(caption1), FromText(caption2), Host());
    const bool ok = dialog.exec() == QDialog::Accepted && dialog.Choice() != 0;
    *choice = ok ? dialog.Choice() : 0;
    return ok ? 1 : 0;
}

// The record files are read from the record folder afresh on every call, so a file copied in
// while the program runs can be chosen. Buffers and mode change only on OK.
Q_DECL_EXPORT uint16_t RecordSettingDlg(char* mainFile, int32_t mainSize, char* detailFile, int32_t detailSize,
                                        int32_t* printMode) {
    if (mainFile == nullptr || detailFile == nullptr || printMode == nullptr || mainSize <= 0 || detailSize <= 0)
        return 0;
    TRecordUnit records;
    records.LoadFolder(TFormPaths::RecordFolder());
    TFieldUnit fields;
    fields.LoadFolder(TFormPaths::FieldFolder());
    TRecordSettingDialog dialog(records, fields, TCp932::FromBuffer(mainFile, mainSize),
                                TCp932::FromBuffer(detailFile, detailSize), *printMode, Host());
    if (dialog.exec() != QDialog::Accepted) return 0;
    TCp932::ToBuffer(dialog.MainFile(), mainFile, mainSize);
    TCp932::ToBuffer(dialog.DetailFile(), detailFile, detailSize);
    *printMode = dialog.PrintMode();
    return 1;
}

// choice: 1 page background, 2 image object, 0 discard (also on cancel). Answers 1 when the
// picture is to be used.
Q_DECL_EXPORT uint16_t SaveTWAINImageDlg(int32_t* choice) {
    if (choice == nullptr) return 0;
    *choice = 0;
    TSaveTwainImageDialog dialog(TFormPaths::ScanFile(), Host());
    if (dialog.exec() != QDialog::Accepted) return 0;
    *choice = dialog.Choice();
    return *choice != 0 ? 1 : 0;
}

// Lines up the listed objects' view bounds in place; the caller remakes handles and stored units.
Q_DECL_EXPORT uint16_t PositionEditDlg(TPackObjectList* objects) {
    if (objects == nullptr || objects->size() < 2 || objects->contains(nullptr)) return 0;
    TPositionEditDialog dialog(int(objects->size()), Host());
    if (dialog.exec() != QDialog::Accepted) return 0;
    return TPositionAlign::Apply(dialog.Kind(), *objects) ? 1 : 0;
}

// category and the name buffer change only on OK. kind is accepted for every value: the dialog
// always offers all categories. text is read; the name is written to text and, when it is
// another buffer, to text2 as well.
Q_DECL_EXPORT uint16_t EditCategory(const char* caption, int32_t kind, int32_t* category, char* text, char* text2,
                                    int32_t size) {
    if (category == nullptr || text == nullptr || size <= 0) return 0;
    TFieldUnit fields;
    fields.LoadFolder(TFormPaths::FieldFolder());
    // The host gives one caption for both uses; a field that has a category is being edited.
    const QString title = *category == -1 ? FromText(caption) : QStringLiteral("カテゴリ編集");
    TCategoryDialog dialog(title, fields, *category, TCp932::FromBuffer(text, size), Host());
    if (dialog.exec() != QDialog::Accepted) return 0;
    *category = dialog.Category();
    TCp932::ToBuffer(dialog.Name(), text, size);
    if (text2 != nullptr && text2 != text) TCp932::ToBuffer(dialog.Name(), text2, size);
    return 1;
}

// As EditCategory, with the field's options and state (text, picture, barcode…) in and out; they
// change only on OK. state may be null: the field's state is then left alone.
Q_DECL_EXPORT uint16_t EditFieldCategory(const char* caption, int32_t* category, char* text, int32_t size,
                                         TObjectExtras* extras, int32_t* state) {
    if (category == nullptr || text == nullptr || size <= 0 || extras == nullptr) return 0;
    TFieldUnit fields;
    fields.LoadFolder(TFormPaths::FieldFolder());
    const QString title = *category == -1 ? FromText(caption) : QStringLiteral("カテゴリ編集");
    TCategoryDialog dialog(title, fields, *category, TCp932::FromBuffer(text, size), Host());
    dialog.SetExtras(*extras);
    if (state) dialog.SetFieldState(*state);
    if (dialog.exec() != QDialog::Accepted) return 0;
    *category = dialog.Category();
    TCp932::ToBuffer(dialog.Name(), text, size);
    *extras = dialog.Extras();
    if (state) *state = dialog.FieldState();
    return 1;
}
}

static_assert(std::is_same_v<decltype(&StartCheckDlg), TStartCheckDlg>);
static_assert(std::is_same_v<decltype(&RecordSettingDlg), TRecordSettingDlg>);
static_assert(std::is_same_v<decltype(&SaveTWAINImageDlg), TSaveTWAINImageDlg>);
static_assert(std::is_same_v<decltype(&PositionEditDlg), TPositionEditDlg>);
static_assert(std::is_same_v<decltype(&EditCategory), TEditCategory>);
static_assert(std::is_same_v<decltype(&EditFieldCategory), TEditFieldCategory>);
