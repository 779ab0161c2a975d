#pragma once

#include "app/dialogs/TDataUnit.h"

#include <QDialog>
#include <array>
#include <atomic>
#include <functional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QTabBar;
class QThread;
class TImage_Ex;

// The template chooser a new document starts from ("カレンダーウィザード"): a tab per paper
// kind, a grid of thumbnail buttons for the templates of that kind, a larger preview with the
// template's name, and the year and month the calendars start with. Only the 8-byte headers
// are read before the dialog shows; thumbnails are decoded on a worker thread and appear as
// they arrive.
class TCarendarSelectDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kKinds = 5;
    static constexpr int kButtonSide = 130;
    static constexpr int kPictureInset = 5;
    static constexpr int kPreviewSide = 345;

    // appPath: the application folder with a trailing '/'.
    explicit TCarendarSelectDlg(const QString& appPath, QWidget* parent = nullptr);
    ~TCarendarSelectDlg() override;

    // Reads the five template folders and builds the buttons. False when no kind has a
    // template ("起動エラー\r\nインストールしなおして下さい" has then been shown); the caller
    // shows "起動ファイル読み込みエラー".
    bool PrepareLists();

    // The start the dialog offers first: January of this year.
    static int DefaultYear();
    static constexpr int kDefaultMonth = 1;

    // The choice, valid after OK.
    QString FilePath() const { return fFilePath; }
    int Year() const { return fYear; }
    int Month() const { return fMonth; }

    // Shows a failure to the user; a message box unless replaced (tests catch the text).
    std::function<void(const QString&)> ShowMessage;

    // The tab shown, 0 "A4" … 4 "名刺".
    int CurrentKind() const;
    bool KindAvailable(int kind) const { return fKindAvailable[size_t(kind)]; }
    const std::vector<TTDataUnit>& TemplateList(int kind) const { return fTemplateLists[size_t(kind)]; }
    QAbstractButton* TemplateButton(int kind, int index) const;
    TImage_Ex* PreviewImage() const { return fImage1; }
    QTabBar* TabControl() const { return fTabControl1; }
    // True while thumbnails are still being decoded.
    bool ThumbnailsPending() const { return fPending > 0; }

    static QString KindFolder(int kind);
    static QString KindCaption(int kind);

signals:
    // Every thumbnail that could be decoded has arrived.
    void ThumbnailsLoaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The templates of one folder in name order; false when the folder does not exist.
    static bool ReadTemplateFolder(const QString& folder, std::vector<TTDataUnit>& list);
    bool FillTemplateBox(int kind);
    void TabChanged(int index);
    void ShowKind(int kind);
    void SelectTemplate(int kind, int index);
    void ShowPreview(const TTDataUnit* unit);
    void StartThumbnails(int firstKind);
    void StopThumbnails();
    void ThumbnailArrived(int kind, int index, const QImage& preview, const QImage& button);
    void SetButtonPicture(int kind, int index);

    QString fAppPath;
    std::array<std::vector<TTDataUnit>, kKinds> fTemplateLists;
    std::array<bool, kKinds> fKindAvailable{};
    std::array<QScrollArea*, kKinds> fScrollBoxes{};
    std::array<QButtonGroup*, kKinds> fGroups{};
    std::array<std::vector<TImage_Ex*>, kKinds> fButtonPictures;
    int FLastTab = 0;
    int fSelected = 0;
    QString fFilePath;
    int fYear = 0;
    int fMonth = 1;

    QTabBar* fTabControl1 = nullptr;
    QStackedWidget* fStack = nullptr;
    TImage_Ex* fImage1 = nullptr;
    QLabel* fLabelSX1 = nullptr;
    QSpinBox* fSpinEditYear = nullptr;
    QSpinBox* fSpinEditMonth = nullptr;

    QThread* fWorker = nullptr;
    std::atomic<bool> fStop{false};
    int fPending = 0;
    int fGeneration = 0;
};
