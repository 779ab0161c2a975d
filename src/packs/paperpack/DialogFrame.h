#pragma once

#include <QString>

class QDialog;
class QDialogButtonBox;
class QLayout;
class QWidget;

// The frame the paper dialogs share: the OK/Cancel row and the settings column beside the sheet preview.
class TDialogFrame {
public:
    // OK (with the given caption) and "キャンセル", wired to accept and reject; the layout adopts them.
    static QDialogButtonBox* OkCancel(QDialog* dialog, const QString& okText);
    // The settings on the left, the preview on the right, the buttons below.
    static void Arrange(QDialog* dialog, QLayout* settings, QWidget* preview, QDialogButtonBox* buttons);
};
