#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QSpinBox;

// Rows of a portal and the field-definition file whose detail rows it prints.
class TPortalDialog : public QDialog {
public:
    TPortalDialog(int32_t rows, const QString& dataName, const QStringList& fieldFiles, QWidget* parent = nullptr);

    int32_t Rows() const;
    QString DataName() const;

    static constexpr int kMaxRows = 999;

private:
    QSpinBox* fRows = nullptr;
    QComboBox* fDataName = nullptr;
};
