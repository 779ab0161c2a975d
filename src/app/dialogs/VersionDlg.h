#pragma once

#include <QDialog>

// The version box: the product name and its version.
class TVersionDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kVersionText = "Version 1.4.1";
    explicit TVersionDlg(QWidget* parent = nullptr);
};
