#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class TFieldUnit;
class TRecordUnit;

// The record files a document prints from and how it prints them, with the chosen files shown
// under the column names of their definitions.
class TRecordSettingDialog : public QDialog {
public:
    TRecordSettingDialog(const TRecordUnit& records, const TFieldUnit& fields, const QString& mainFile,
                         const QString& detailFile, int printMode, QWidget* parent = nullptr);

    QString MainFile() const;
    QString DetailFile() const;
    int PrintMode() const;

    // What each print mode prints, as the dialog explains it.
    static QString ModeCaption(int mode);
    static QString ModeDescription(int mode);

private:
    QComboBox* fMain;
    QComboBox* fDetail;
    QButtonGroup* fModes;
};
