#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

class QAction;
class TImage_Ex;

// The start panel of the side bar: three stacked step pictures (scan, place, print) that come
// to the front as the pointer moves over their bands, picture buttons for scanning, printing
// and closing the side bar, and a small tool bar with the most used creation tools that works
// only on the second step. The pictures come from settings/stImage.ims and fix every position.
class TStartPanel : public QWidget {
    Q_OBJECT

public:
    // Indices into the start pictures.
    static constexpr int kCloseUp = 0;
    static constexpr int kCloseDown = 1;
    static constexpr int kScanDown = 2;
    static constexpr int kPrintDown = 3;
    static constexpr int kStep1 = 4;
    static constexpr int kStep2 = 5;
    static constexpr int kStep3 = 6;
    static constexpr int kPanelWidth = 210;
    static constexpr int kPanelHeight = 610;

    explicit TStartPanel(QWidget* parent = nullptr);

    // Puts the pictures on the panel; false when a picture the panel shows at rest (0, 4, 5, 6)
    // is missing: start-up then fails with "初期化エラー". The panel keeps its own copies.
    bool ApplyStartImages(const std::vector<QImage>& images);
    // The actions of the no-tool, text, image, field and calendar tools, shared with the main
    // window's tool bar; an action without an icon is given one of ours.
    void SetToolActions(QAction* none, QAction* text, QAction* image, QAction* field, QAction* calendar);

    // Runs the scan; true when the scanned picture went onto the page.
    std::function<bool()> OnScan;
    std::function<void()> OnPrint;
    // The close picture was clicked: the main window hides the side bar.
    std::function<void()> OnClose;

    // 4, 5 or 6: the start picture of the step in front.
    int CurrentStep() const { return fStep; }
    bool ToolBarEnabled() const;
    // True between a press on one of the picture buttons and its release.
    bool Pressed() const { return FPressed; }

    // Brings the picture of step n (1, 2 or 3) to the front.
    void ShowStep(int n);
    // The pointer moved to height y of the panel: the band there decides the step.
    void PointerAt(int y);

    TImage_Ex* StepImage(int n) const;
    TImage_Ex* ScanButton() const { return fImage1; }
    TImage_Ex* PrintButton() const { return fImage3; }
    TImage_Ex* CloseButton() const { return fImageClose; }
    QWidget* SideToolBar() const { return fToolBar3; }

    QSize sizeHint() const override { return QSize(kPanelWidth, kPanelHeight); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Watch(QWidget* child);
    void SetStep(int step);
    void KeepButtonsOnTop();
    QImage StartImage(int index) const;

    void Hold(TImage_Ex* button);
    void ScanDown();
    void ScanUp();
    void PrintDown();
    void PrintUp();
    void CloseDown();
    void CloseUp();

    std::vector<QImage> fImages;
    TImage_Ex* fImageBack1 = nullptr;
    TImage_Ex* fImageBack2 = nullptr;
    TImage_Ex* fImageBack3 = nullptr;
    TImage_Ex* fImage1 = nullptr;
    TImage_Ex* fImage3 = nullptr;
    TImage_Ex* fImageClose = nullptr;
    QWidget* fToolBar3 = nullptr;
    QColor fBottomColor;
    int fStep = kStep1;
    bool FPressed = false;
    TImage_Ex* fHeld = nullptr; // the picture button FPressed belongs to
};
