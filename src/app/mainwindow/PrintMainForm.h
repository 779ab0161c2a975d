#pragma once

#include "app/DisplaySettings.h"
#include "app/RecentFiles.h"
#include "app/StartPanel.h"
#include "app/mainwindow/MainActions.h"
#include "platform/AppPaths.h"
#include "document/PaintHost.h"
#include "document/PriPaint.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QScrollArea;
class QTimer;
class QToolBar;
class TAppDialogs;
class TDialogLibrary;
class TFieldUnit;
class TOutMessage;
class TPageView;
class TPrinterMetricsProvider;
class TPrintCommands;
class TRecordUnit;

// What the main window is built with; tests hand in fakes for the dialogs, the packs and the printer.
struct TMainFormOptions {
    TAppPaths Paths = TAppPaths::ForFolder(QStringLiteral("./"));
    TAppDialogs* Dialogs = nullptr;
    TDialogLibrary* Library = nullptr;
    // Each new surface asks it for its printer; empty means the system printer.
    std::function<std::unique_ptr<TPrinterMetricsProvider>()> PrinterFactory;
    int ScreenInch = 96;
};

// The main window: commands, tool bars, font boxes, the side bar with the start panel, and the
// page view around the document surface.
class TPrintMainForm : public QMainWindow, public TPaintHost {
    Q_OBJECT

public:
    static const QString& AppTitle();

    explicit TPrintMainForm(TMainFormOptions options, QWidget* parent = nullptr);
    ~TPrintMainForm() override;

    // The start-up steps before the window is shown. With a start file that file is opened as
    // saved data and the start choice is skipped. False: the program ends (the user has been told).
    bool FormCreate(const QString& startFile = QString());
    // What waits until the window is on screen: the font list.
    void FinishStartup();
    // Phases of the start-up, for the timing report.
    const std::vector<std::pair<QString, qint64>>& StartupPhases() const { return fPhases; }

    // File commands. Each answers whether it did its work.
    bool NewFile();
    bool OpenFile();
    bool OpenFileNamed(const QString& file);
    bool ReloadFile();
    bool SaveFile();
    bool SaveFileAs();
    // The one question before the document is replaced or the window closes. A save question
    // saves on Yes and answers false on キャンセル or when that save did not happen, so the caller
    // stops and the work stays; a discard question answers whether the user agreed.
    enum class TGuard { SaveQuestion, DiscardQuestion };
    bool CloseGuard(TGuard kind, const QString& question);
    // Files handed over by a second start. The window comes to the front at once; the newest file
    // goes through the Open flow once no dialog, menu or command is running, as the document must
    // not change under them.
    void OpenFromOtherInstance(const QStringList& files);

    bool OpenDocument(const QString& file, bool readSettings, QString* error = nullptr);
    QString SelectOpenFile();
    bool IsUserDataFile(const QString& file) const;
    // The start year and month a file opens with: a shipped template like the chooser's first
    // offer, the user's own files as they were saved (-1, -1).
    std::pair<int, int> StartDateFor(const QString& file) const;
    void FitToWorkArea();

    // View.
    void SetRulerCheck(bool shown);
    bool RulerCheck() const { return fSettings.RulerCheck; }
    void SetSideBarCheck(bool shown);
    bool SideBarCheck() const { return FSideBarCheck; }
    void SelectZoom(QAction* item);
    void ArrangePanels();
    void ApplySettings(const TDisplaySettings& settings);

    // Enabled states, derived from the surface in one place.
    void UpdateEditButtons();
    void RefreshMenus();
    void ShowObjectFont(TPriBase* object);
    // The font boxes for the first selected object.
    void ShowSelectionFont();
    void ResetToolButtons();
    void SelectTool(TObjectMode mode);

    // TPaintHost
    void ShowPositionText(const QString& text) override;
    void PointerMoved(QPoint viewPoint) override;
    void CreationFinished() override;
    void SelectedTextObject(TPriBase* object) override;
    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    void ShowContextMenu(TPriBase* object, QPoint globalPos) override;
    void AutoScroll(QPoint viewPoint) override;
    QString AskPictureFile(const QString& startFolder) override;
    // The scan command; true when the picture went onto the page.
    bool ScanPicture();

    TPriPaint* Document() const { return FDocument; }
    const TOutMessage& Messages() const { return *FMessages; }
    const TDisplaySettings& Settings() const { return fSettings; }
    TRecentFiles& RecentFiles() { return fRecent; }
    bool UserDataCheck() const { return FUserDataCheck; }
    int StartYear() const { return FStartYear; }
    int StartMonth() const { return FStartMonth; }
    TPageView* PageView() const { return fPageView; }
    QComboBox* FontNameBox() const { return ComboBox_FontName; }
    QComboBox* FontSizeBox() const { return ComboBox_FontSize; }
    QComboBox* FontStyleBox() const { return ComboBox_FontStyle; }
    // The commands, made once with the window.
    const TMainActions& Actions() const { return fActions; }
    QMenu* RecentMenu() const { return fRecentMenu; }
    // Print, Preview, PDFに書き出す and the printer, record and paper settings.
    TPrintCommands& PrintCommands() { return *fPrint; }
    bool PrintFile();
    bool PreviewFile();
    bool ExportPdf();
    bool PrinterSetup();
    bool RecordSetting();
    bool PaperSetting();

signals:
    // The page was painted on screen for the first time.
    void FirstPainted();

protected:
    // The key the window offers the surface's editor; true when it acted on it.
    virtual bool OfferKey(int key, bool shift, bool ctrl);

    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction steps.
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateWorkArea();
    QAction* MakeAction(const char* name, const QString& caption, const QString& hint = QString());
    void ConnectFileActions();
    void ConnectEditAndViewActions();
    void ConnectPrintActions();
    void ConnectEditCommands();
    void ConnectFontBoxes();
    bool CanPasteNow() const;
    void EditImageEffect(int mode);
    void RotateBackground();

    // Start-up.
    bool ChooseStart();
    void LoadDataSets();
    void PlaceWindow();
    // Moves the frame back onto its screen once the frame is known.
    void KeepOnScreen();
    // A dialog, a menu or a command (a page build among them) is running, or no document is open yet.
    bool IsBusy() const;
    void RunPendingHandOver();
    void MarkPhase(const QString& name);
    QString CannotOpenText(const QString& file, const QString& reason) const;

    // Surface life.
    std::unique_ptr<TPriPaint> MakeSurface();
    void InstallSurface(std::unique_ptr<TPriPaint> surface);
    // Says once a session that calendars show no holidays when the holiday file cannot be read.
    void WarnIfNoHolidays();
    // Reads the user's family days for the calendars; damaged lines are named in the status bar.
    void LoadFamilyDays();
    bool LoadIntoDocument(const QString& file);
    bool ReadIntoSurface(const QString& file);
    void AfterLoadLayout();
    bool WriteDocument(const QString& file);
    void SetTitleFrom(const QString& nameOrFile, bool isPlainName = false);
    // The caption with the document's name, marked "*" while it has unsaved changes.
    void UpdateTitle();
    void RememberFile(const QString& file);
    void RebuildRecentMenu();
    void SaveRecentFiles();
    void FormDestroy();
    // Runs a command, turning an escaping exception into a message: work is never lost to a crash.
    void Guarded(const char* what, const std::function<void()>& command);
    bool KeyStaysInFocusWidget(QObject* target) const;
    void NoteFontBoxStep(QObject* watched, QEvent* event);

    TMainFormOptions fOptions;
    TAppDialogs* fDialogs;
    TDialogLibrary* fLibrary;
    std::unique_ptr<TAppDialogs> fOwnDialogs;
    std::unique_ptr<TDialogLibrary> fOwnLibrary;
    std::unique_ptr<TOutMessage> FMessages;
    std::unique_ptr<TFieldUnit> fFieldUnit;
    std::unique_ptr<TRecordUnit> fRecordUnit;
    std::vector<QImage> FStartImages;
    TPriPaint* FDocument = nullptr;
    TDisplaySettings fSettings;
    bool fSettingsRead = false;
    bool fHolidaysWarned = false;
    TRecentFiles fRecent;
    int FStartYear = -1;
    int FStartMonth = -1;
    bool FUserDataCheck = false;
    bool FSideBarCheck = true;
    QString fTitleName;
    // Commands running (nested ones count each) and the newest file handed over, waiting for them.
    int fCommandDepth = 0;
    QString fPendingHandOver;
    QTimer* fHandOverTimer = nullptr;
    bool fDestroyed = false;
    bool fFirstPaintSeen = false;
    // Whether the last input stepped through a font box's items (a key or the wheel there): such a
    // step is no choice that hands the keys back to the page.
    bool fFontBoxStepping = false;
    // Holds the print-paper dialog's two values between calls.
    std::unique_ptr<TPrintCommands> fPrint;
    std::vector<std::pair<QString, qint64>> fPhases;
    QElapsedTimer fClock;
    // The key press last offered to the editor, so one press is never offered twice.
    struct TOfferedKey {
        int Key = 0;
        ulong Time = 0;
        bool Handled = false;
        bool Valid = false;
    } fOffered;

    // Widgets.
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QComboBox* ComboBox_FontName = nullptr;
    QComboBox* ComboBox_FontSize = nullptr;
    QComboBox* ComboBox_FontStyle = nullptr;
    QScrollArea* ScrollBox_ToolBar = nullptr;
    TStartPanel* Panel_First_Wizard = nullptr;
    TPageView* fPageView = nullptr;
    QLabel* fStatusText = nullptr;
    QMenu* fFileMenu = nullptr;
    QMenu* fEditMenu = nullptr;
    QMenu* fViewMenu = nullptr;
    QMenu* fRecentMenu = nullptr;
    QActionGroup* fZoomGroup = nullptr;
    QActionGroup* fToolGroup = nullptr;
    TMainActions fActions;
    std::vector<QAction*> fZoomItems;
};
