#pragma once

#include <QDialog>
#include <QPicture>
#include <QStringList>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TPrintPreview;
class TPreviewSheet;

// What the preview shows: the sheet and its unprintable edges in screen pixels, where the first
// seat starts, and the margin colour.
struct TPreviewGeometry {
    int MarginLeft = 0;
    int MarginTop = 0;
    int MarginRight = 0;
    int MarginBottom = 0;
    int SheetWidth = 0;
    int SheetHeight = 0;
    int FirstSeatTop = 0;
    int FirstSeatLeft = 0;
    bool SingleSeat = true;
    QColor MarginColor = Qt::red;
};

// "印刷プレビュー": the built sheets one at a time, turned with the arrows or Page Up/Down, zoomed
// with the list or +/-, and printed with 印刷 (the dialog then answers Accepted).
class TPreviewDialog : public QDialog {
    Q_OBJECT

public:
    // Sheets come from the page store, or from the page files when there are any.
    TPreviewDialog(const TPrintPreview* pages, const QStringList& pageFiles, const TPreviewGeometry& geometry,
                   QWidget* parent = nullptr);
    ~TPreviewDialog() override;

    int PageCount() const;
    int CurrentPage() const { return fPage; }
    void ShowPage(int index);
    // Zoom in percent; 0 fits the whole sheet into the window.
    void SetZoom(int percent);
    int Zoom() const { return fZoom; }

    QPushButton* PrintButton() const { return fPrint; }
    QPushButton* NextButton() const { return fNext; }
    QPushButton* PrevButton() const { return fPrev; }
    QLabel* PageLabel() const { return fPageLabel; }
    // The job's warnings, hidden when there are none.
    QLabel* WarningLabel() const { return fWarnings; }
    TPreviewSheet* Sheet() const { return fSheet; }
    // Page files are pictures of this many device pixels at dpi.
    void SetFileDevice(QSize pagePixels, int dpi) {
        fFilePagePixels = pagePixels;
        fFileDpi = dpi;
        ShowPage(fPage);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateControls();
    double Scale() const;

    const TPrintPreview* fPages;
    QStringList fFiles;
    // The page file on show, and the device of the page files.
    std::unique_ptr<QPicture> fLoaded;
    QSize fFilePagePixels;
    int fFileDpi = 96;
    TPreviewGeometry fGeometry;
    int fPage = 0;
    int fZoom = 0;
    QScrollArea* fScroll;
    TPreviewSheet* fSheet;
    QComboBox* fZoomBox;
    QLabel* fPageLabel;
    QLabel* fWarnings;
    QPushButton* fPrev;
    QPushButton* fNext;
    QPushButton* fPrint;
};

// The sheet drawn at a scale: paper, margins in the margin colour, the page picture.
class TPreviewSheet : public QWidget {
    Q_OBJECT

public:
    TPreviewSheet(const TPreviewGeometry& geometry, QWidget* parent);
    // The page to draw: a picture of pagePixels device pixels.
    void SetPage(const QPicture* picture, QSize pagePixels, int dpi);
    void SetScale(double scale);
    // The rectangle the page picture fills, in widget pixels.
    QRect PageRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TPreviewGeometry fGeometry;
    const QPicture* fPicture = nullptr;
    QSize fPagePixels;
    int fDpi = 96;
    double fScale = 1.0;
};
