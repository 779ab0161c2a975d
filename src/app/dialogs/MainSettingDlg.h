#pragma once

#include "merge/SenderInfo.h"
#include "platform/Color.h"

#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;
struct TDisplaySettings;

// The settings dialog: on 表示 the colours of the grid, margin lines, background and rulers, the
// ruler numbers and the default font of new text objects; on 差出人 the sender of address sides. The caller sets the
// properties, calls Prepare() and runs it; after OK the properties hold the choice.
class TMainSettingDlg : public QDialog {
    Q_OBJECT

public:
    explicit TMainSettingDlg(QWidget* parent = nullptr);

    TColor MainColor() const { return FMainColor; }
    void SetMainColor(TColor value);
    TColor RulerBackColor() const { return FRulerBackColor; }
    void SetRulerBackColor(TColor value);
    TColor RulerTextColor() const { return FRulerTextColor; }
    void SetRulerTextColor(TColor value);
    TColor GridColor() const { return FGridColor; }
    void SetGridColor(TColor value);
    TColor MarginColor() const { return FMarginColor; }
    void SetMarginColor(TColor value);
    bool RulerTextCheck() const { return FRulerTextCheck; }
    void SetRulerTextCheck(bool value);
    // The default font: face and point size, with its colour beside it.
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& value) { FFont = value; }
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value) { FFontColor = value; }
    const TSenderInfo& Sender() const { return fSender; }
    void SetSender(const TSenderInfo& value);

    // Selects the face and size items matching Font where they exist and colours the font swatch.
    void Prepare();

    // The dialog's properties from the main window's settings, and the choice back into them.
    void FromSettings(const TDisplaySettings& settings);
    void ToSettings(TDisplaySettings& settings) const;
    // Fills, prepares and runs the dialog; true (settings updated) after OK.
    static bool Edit(QWidget* parent, TDisplaySettings& settings);

    // The face list: installed scalable faces and the Windows faces files name, sorted, no "@" faces.
    static QStringList FaceNames();
    static const QStringList& SizeItems();

    // Asks the user for a colour starting from the current one; nothing when cancelled. The
    // system colour dialog unless replaced.
    std::function<std::optional<TColor>(TColor current)> ColorPicker;

    // For tests: the controls the user works.
    QComboBox* FontNameBox() const { return fFontName; }
    QComboBox* FontSizeBox() const { return fFontSize; }
    QCheckBox* RulerTextBox() const { return fRulerText; }
    // The five colour buttons in their order on screen, then the font colour button.
    QPushButton* ColorButton(int index) const { return fColorButtons[index]; }
    TColor SwatchColor(int index) const { return fSwatchColors[index]; }
    QTabWidget* Tabs() const { return fTabs; }
    // 郵便番号, 住所1, 住所2, 氏名 of the sender tab.
    QLineEdit* SenderEdit(int index) const { return fSenderEdits[index]; }
    // Says why OK was refused; hidden otherwise.
    QLabel* SenderProblem() const { return fSenderProblem; }

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    enum TSwatch { swGrid, swMargin, swMain, swRulerBack, swRulerText, swFont, swCount };
    void Paint(TSwatch swatch, TColor color);
    void ChooseColor(TSwatch swatch);
    QWidget* MakeSenderTab();

    TColor FMainColor = 13160660;
    TColor FRulerBackColor = 13160660;
    TColor FRulerTextColor = clBlack;
    TColor FGridColor = 8421504;
    TColor FMarginColor = 16711680;
    bool FRulerTextCheck = true;
    QFont FFont;
    TColor FFontColor = clBlack;

    TColor fSwatchColors[swCount] = {};
    QFrame* fSwatches[swCount] = {};
    QPushButton* fColorButtons[swCount] = {};
    QCheckBox* fRulerText = nullptr;
    QComboBox* fFontName = nullptr;
    QComboBox* fFontSize = nullptr;
    TSenderInfo fSender;
    QTabWidget* fTabs = nullptr;
    QLineEdit* fSenderEdits[4] = {};
    QLabel* fSenderProblem = nullptr;
};
