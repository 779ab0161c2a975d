#pragma once

#include "calendar/PriCarendar.h"

#include <QDialog>
#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QGridLayout;
class TColorButton;
class TFaceComboBox;
class TNumberSpinBox;
class TPreviewPane;

// The settings of a month calendar: month, layout, number placement, face, the colours of the
// four day classes over both background sets, grid and transparency, with a preview drawn by
// the calendar object itself. Works on a copy; ApplyTo hands the result to the caller's calendar.
class TCalendarSetDialog : public QDialog {
    Q_OBJECT
public:
    // holidayFile serves the preview when the calendar came without its holidays.
    TCalendarSetDialog(const TPriCarendar& calendar, const QString& holidayFile, QWidget* parent = nullptr);
    ~TCalendarSetDialog() override;

    // Every setting the dialog shows, through the setters, so the day table is current afterwards.
    void ApplyTo(TPriCarendar& calendar) const;
    const TPriCarendar& Work() const { return fWork; }

    QImage RenderPreview(QSize area, qreal pixelRatio = 1);

private:
    void BuildDateGroup(QFormLayout* form);
    void BuildLookGroup(QFormLayout* form);
    QGridLayout* BuildColorGrid();
    QGridLayout* BuildAlmanacGrid();
    void Changed();

    // The calendar as the dialog would leave it; the preview draws it.
    TPriCarendar fWork;
    TNumberSpinBox* fYear;
    TNumberSpinBox* fMonth;
    QComboBox* fType;
    QComboBox* fStart;
    QComboBox* fRows;
    QComboBox* fSide;
    QComboBox* fLong;
    TFaceComboBox* fFace;
    TNumberSpinBox* fSize;
    QCheckBox* fGrid;
    QCheckBox* fTransparent;
    // Per class (weekday, Saturday, Sunday, holiday): number colour, background 1, background 2.
    std::array<std::array<TColorButton*, 3>, 4> fColors{};
    // The almanac notes: one check box per item, its colour (none for the family days' years),
    // and the size of the notes.
    std::vector<std::pair<uint32_t, QCheckBox*>> fNoteChecks;
    std::array<TColorButton*, TObjectExtras::kAlmanacColors> fNoteColors{};
    TNumberSpinBox* fNoteSize;
    bool fSideTouched = false;
    bool fLongTouched = false;
    TPriCarendar::TSidePos fOriginalSide;
    TPriCarendar::TLongPos fOriginalLong;
    TPreviewPane* fPreview;
    QDialogButtonBox* fButtons;
};
