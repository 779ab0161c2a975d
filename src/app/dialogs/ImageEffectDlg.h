#pragma once

#include "imaging/ImageEffects.h"
#include "imaging/TrimWindow.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <functional>

class QLayout;
class QLineEdit;
class QPushButton;
class QSlider;
class QStackedWidget;
class QWidget;
class TEffectPreview;

enum TEffectMode { emExpan, emRGB, emMeido, emTurn };

// The picture editing dialog: trimming (emExpan), colour balance (emRGB), brightness (emMeido),
// and quarter turns and mirrors (emTurn). The caller sets the picture and the mode, runs it and
// after OK takes TTransBmp. The preview works on a scaled copy; the whole picture is adjusted
// when a value is settled, so dragging a track bar stays smooth on large photos.
class TImageEffectDlg : public QDialog {
    Q_OBJECT

public:
    explicit TImageEffectDlg(QWidget* parent = nullptr);

    // Runs the dialog on the picture; true after OK, with the picture replaced by the result. An
    // empty picture is refused (false, nothing shown).
    static bool Execute(QImage& picture, TEffectMode mode, QWidget* parent);

    // Copies the picture into the dialog's base picture and the result, and resets the trim window.
    void SetBaseBmp(const QImage& picture);
    const QImage& BaseBmp() const { return fBase; }
    void SetEffectMode(TEffectMode mode);
    TEffectMode EffectMode() const { return fMode; }
    // The result; complete after OK.
    const QImage& TTransBmp() const { return fResult; }

    // Asked before resetting; a Yes/No warning unless replaced.
    std::function<bool(const QString& question)> Confirm;
    // Shows a failure; a warning box unless replaced.
    std::function<void(const QString& text)> ShowError;

    // The operations behind the controls.
    void ZoomUp();
    void ZoomDown();
    enum TMove { mvUp, mvRight, mvLeft, mvDown };
    void Move(TMove direction);
    void TurnBy(ImageEffects::TTurn turn);
    // Channel 0 red, 1 green, 2 blue; in emMeido any channel sets the one brightness value.
    void SetOffset(int channel, int value);
    int Offset(int channel) const { return fOffsets[size_t(channel)]; }
    void ResetEffects();
    const TTrimWindow& Trim() const { return fTrim; }
    // The part dragged on the preview (picture pixels), or empty.
    void SelectPart(const QRect& dragged, QSize paintBox);
    const QImage& CutOut() const { return fCut; }

    // For tests and the keyboard: the controls.
    TEffectPreview* Preview() const { return fPreview; }
    TEffectPreview* CutPreview() const { return fCutPreview; }
    QLineEdit* OffsetEdit(int index) const { return fEdits[size_t(index)]; }
    QSlider* OffsetSlider(int index) const { return fSliders[size_t(index)]; }
    QPushButton* ResetButton() const { return fReset; }

public slots:
    void accept() override;

private:
    QWidget* BuildExpanPage();
    QWidget* BuildRgbPage();
    QWidget* BuildMeidoPage();
    QWidget* BuildTurnPage();
    QWidget* OffsetRow(int index, QWidget* page, QLayout* layout);
    void SliderMoved(int index, int value);
    void EditChanged(int index, const QString& text);
    void ApplyOffsetsToView();
    void ApplyOffsetsToResult();
    void ShowResult();
    void ShowTrimView();

    TEffectMode fMode = emExpan;
    QImage fBase;
    QImage fResult;
    // The base and the result scaled down for the preview.
    QImage fBaseView;
    QImage fResultView;
    QImage fCut;
    TTrimWindow fTrim;
    std::array<int, 3> fOffsets{0, 0, 0};

    TEffectPreview* fPreview = nullptr;
    TEffectPreview* fCutPreview = nullptr;
    QWidget* fCutPanel = nullptr;
    QStackedWidget* fPages = nullptr;
    QPushButton* fReset = nullptr;
    // Edit boxes and track bars: red, green, blue, brightness.
    std::array<QLineEdit*, 4> fEdits{};
    std::array<QSlider*, 4> fSliders{};
};
