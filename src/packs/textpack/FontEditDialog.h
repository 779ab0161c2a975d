#pragma once

#include "objects/PriLabel.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QRadioButton;
class TColorButton;
class TFaceComboBox;
class TNumberSpinBox;
class TPreviewPane;

// Font and layout of a text object: face, size, style, colours, writing direction, both
// alignments, spacing, line gap, line-break rules, kanji numerals with their hyphen rule and
// shrinking to the box, with a preview drawn by
// the text object itself. Works on a copy; ApplyTo hands the result to the caller's object.
class TFontEditDialog : public QDialog {
    Q_OBJECT
public:
    TFontEditDialog(const TPriLabel& object, const QString& face, int size, int style, TColor fontColor, int faceLimit,
                    QWidget* parent = nullptr);
    ~TFontEditDialog() override;

    QString Face() const;
    int Size() const;
    // fsBoldBit | fsItalicBit | fsUnderlineBit | fsStrikeOutBit
    int Style() const;
    TColor FontColor() const;
    // The layout settings the program takes from the object, and the font the dialog chose.
    void ApplyTo(TPriLabel& object) const;

    // The preview picture for a pane of this size.
    QImage RenderPreview(QSize area, qreal pixelRatio = 1);

private:
    void BuildFontGroup(QFormLayout* form, const QString& face, int size, int style, TColor fontColor);
    void BuildLayoutGroup(QFormLayout* form);
    void Changed();

    // The object as the dialog would leave it; the preview draws it.
    TPriLabel fWork;
    int fFaceLimit;
    TFaceComboBox* fFace;
    TNumberSpinBox* fSize;
    QCheckBox* fBold;
    QCheckBox* fItalic;
    QCheckBox* fUnderline;
    QCheckBox* fStrikeOut;
    TColorButton* fFontColor;
    QCheckBox* fTransparent;
    TColorButton* fBackColor;
    QRadioButton* fHorizontal;
    QRadioButton* fVertical;
    QComboBox* fSide;
    QComboBox* fLong;
    TNumberSpinBox* fCharSpace;
    QComboBox* fLineGap;
    QCheckBox* fKinsoku;
    QCheckBox* fKanjiDigits;
    QComboBox* fHyphen;
    QCheckBox* fShrink;
    TPreviewPane* fPreview;
    QDialogButtonBox* fButtons;
};
