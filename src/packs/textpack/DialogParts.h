#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <initializer_list>
#include <utility>

class QComboBox;
class QDialog;
class QDialogButtonBox;
class QLayout;
class QWidget;

// Pieces the pack's dialogs build alike: choice lists, the OK/Cancel row, the settings column
// beside a preview, and the fitting of an object's box into the preview.
class TDialogParts {
public:
    // A drop-down list of the items with current chosen (clamped to the list).
    static QComboBox* Choices(QWidget* parent, std::initializer_list<const char16_t*> items, int current);
    // "OK" and "キャンセル", wired to accept and reject.
    static QDialogButtonBox* OkCancel(QDialog* dialog);
    // The settings on the left, the preview in a group on the right, OK/Cancel below (made after
    // the preview's group, so that Tab reaches them last).
    static QDialogButtonBox* ArrangeWithPreview(QDialog* dialog, QLayout* settings, QWidget* preview);
    // Object names for the keyboard tests and accessibility tools.
    static void Name(std::initializer_list<std::pair<QWidget*, const char*>> names);

    // The pane's picture filled with the backdrop colour before the page goes on it.
    static QImage Backdrop(const QWidget* pane, QSize area, qreal pixelRatio);
    // The zoom that fits a box of bw × bh pixels with the margin round it into the area.
    static double FitZoom(QSize area, double boxWidth, double boxHeight, int margin);
    // Puts the drawn page in the middle of the backdrop.
    static void Centre(QImage& backdrop, QSize area, const QImage& page, QSize view);
};
