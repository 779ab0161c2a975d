#pragma once

#include "print/CardSheet.h"

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;
class TSheetPreview;

// The sheet to print on, from the card sheets file, with sheets of the user's own added to the
// user's copy of that file. A and B remember the last choice between calls: A is its place in
// the list counted from 1, B a key of its name, so a list that changed meanwhile does not pick
// another sheet that happens to sit there.
class TPrintPaperDialog : public QDialog {
public:
    TPrintPaperDialog(const QString& dataFile, const QString& userCopy, int32_t valueA, int32_t valueB,
                      int32_t portrait, QWidget* parent = nullptr);

    // Index into Sheets() of the chosen sheet, −1 when none.
    int ChosenIndex() const;
    const QList<TCardSheet>& Sheets() const { return fSheets; }
    // The message shown above the list when the file could not be read; empty otherwise.
    const QString& LoadMessage() const { return fLoadMessage; }

    static int32_t NameKey(const QString& name);

private:
    void FillList(int select);
    void SelectionChanged();
    void AddSheet();
    void DeleteSheet();
    bool Save(const QList<TCardSheet>& sheets);

    QList<TCardSheet> fSheets;
    QString fUserCopy;
    QString fLoadMessage;
    bool fLoaded = false;
    int32_t fPortrait = 1;
    QLabel* fMessage = nullptr;
    QListWidget* fList = nullptr;
    TSheetPreview* fPreview = nullptr;
    QLabel* fDetails = nullptr;
    QPushButton* fAdd = nullptr;
    QPushButton* fDelete = nullptr;
    QPushButton* fOk = nullptr;
};
