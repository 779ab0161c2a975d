#include "app/mainwindow/PrintMainForm.h"

#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PriScrollbox.h"
#include "app/mainwindow/PrintCommands.h"

#include "app/AppDialogs.h"
#include "app/QtAppDialogs.h"
#include "app/SingleInstance.h"
#include "app/StartImages.h"
#include "calendar/FamilyDays.h"
#include "calendar/HolidayList.h"
#include "calendar/PriCarendar.h"
#include "document/OutMessage.h"
#include "merge/FieldUnit.h"
#include "merge/RecordUnit.h"
#include "objects/PriLabel.h"
#include "platform/FontMap.h"
#include "platform/IniFile.h"
#include "platform/PackLibrary.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <exception>
#include <tuple>
#include <utility>

namespace {
// Long enough to read a few line numbers.
constexpr int kFamilyDaysNoticeMs = 20000;
} // namespace

const QString& TPrintMainForm::AppTitle() {
    static const QString title = QStringLiteral("こもれびごよみ印刷");
    return title;
}

TPrintMainForm::TPrintMainForm(TMainFormOptions options, QWidget* parent)
    : QMainWindow(parent), fOptions(std::move(options)), fDialogs(fOptions.Dialogs), fLibrary(fOptions.Library),
      FMessages(std::make_unique<TOutMessage>()) {
    fClock.start();
    setObjectName(QStringLiteral("TPrintMainForm"));
    setWindowTitle(AppTitle());
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    if (!fDialogs) {
        fOwnDialogs = std::make_unique<TQtAppDialogs>(this);
        fDialogs = fOwnDialogs.get();
    }
    if (!fLibrary) {
        auto packs = std::make_unique<TPackLibrary>(fOptions.Paths.PackFolder());
        // A pack that is missing or broken is named with the loader's reason, not passed over.
        packs->SetFailureHandler([this](const QString& message) { fDialogs->ShowMessage(message); });
        fOwnLibrary = std::move(packs);
        fLibrary = fOwnLibrary.get();
    }
    fPrint = std::make_unique<TPrintCommands>(this, *fDialogs, *fLibrary, fOptions.Paths, fOptions.ScreenInch);
    // Rulers stay hidden until the settings say otherwise.
    fSettings.RulerCheck = false;
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateWorkArea();
    fStatusText = new QLabel(this);
    statusBar()->addWidget(fStatusText, 1);
    LoadFamilyDays();
    setAcceptDrops(true);
    resize(1028, 704);
    fHandOverTimer = new QTimer(this);
    fHandOverTimer->setSingleShot(true);
    fHandOverTimer->setInterval(150);
    connect(fHandOverTimer, &QTimer::timeout, this, &TPrintMainForm::RunPendingHandOver);
    qApp->installEventFilter(this);
    UpdateEditButtons();
}

TPrintMainForm::~TPrintMainForm() {
    qApp->removeEventFilter(this);
    if (!fDestroyed) FormDestroy();
}

void TPrintMainForm::CreateWorkArea() {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 10, 0);
    layout->setSpacing(0);

    ScrollBox_ToolBar = new QScrollArea(central);
    ScrollBox_ToolBar->setObjectName(QStringLiteral("ScrollBox_ToolBar"));
    ScrollBox_ToolBar->setFixedWidth(214);
    ScrollBox_ToolBar->setWidgetResizable(true);
    ScrollBox_ToolBar->setFrameShape(QFrame::NoFrame);
    ScrollBox_ToolBar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A window too low for the panel gets a scroll bar beside it, not over the panel's edge.
    connect(ScrollBox_ToolBar->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int, int max) {
        ScrollBox_ToolBar->setFixedWidth(214 +
                                         (max > 0 ? ScrollBox_ToolBar->verticalScrollBar()->sizeHint().width() : 0));
    });
    Panel_First_Wizard = new TStartPanel(ScrollBox_ToolBar);
    Panel_First_Wizard->setObjectName(QStringLiteral("Panel_First_Wizard"));
    ScrollBox_ToolBar->setWidget(Panel_First_Wizard);
    Panel_First_Wizard->SetToolActions(fActions.Action_AddNone, fActions.Action_AddText, fActions.Action_AddImage,
                                       fActions.Action_AddField, fActions.Action_AddCarendar);
    Panel_First_Wizard->OnScan = [this] {
        bool placed = false;
        Guarded("スキャナからの読み込み", [&] { placed = ScanPicture(); });
        return placed;
    };
    Panel_First_Wizard->OnPrint = [this] { Guarded("印刷", [this] { PrintFile(); }); };
    Panel_First_Wizard->OnClose = [this] {
        if (FSideBarCheck) SetSideBarCheck(false);
    };
    layout->addWidget(ScrollBox_ToolBar);

    fPageView = new TPageView(fOptions.ScreenInch, central);
    layout->addWidget(fPageView, 1);
    connect(fPageView, &TPageView::ZoomChanged, this, &TPrintMainForm::UpdateEditButtons);
    TPriScrollbox* box = fPageView->ScrollBox();
    connect(box, &TPriScrollbox::ZoomStep, this,
            [this](int notches, QPoint at) { Guarded("表示倍率", [&] { fPageView->StepZoom(notches, at); }); });
    connect(box, &TPriScrollbox::EmptyAreaClicked, this, [this] {
        if (!FDocument) return;
        FDocument->DeselectAll();
        FDocument->RedrawPage(nullptr, true, false);
    });
    setCentralWidget(central);
    ApplySettings(fSettings);
}

void TPrintMainForm::MarkPhase(const QString& name) {
    fPhases.emplace_back(name, fClock.nsecsElapsed());
}

bool TPrintMainForm::FormCreate(const QString& startFile) {
    fPageView->SetLayoutLock(true);
    FSideBarCheck = true;
    SetRulerCheck(false);
    MarkPhase(QStringLiteral("window built"));

    FMessages->LoadMessages(fOptions.Paths.MessageFile());
    if (!FMessages->LoadError().isEmpty()) fDialogs->ShowMessage(FMessages->LoadError());
    {
        const TIniFile ini(fOptions.Paths.SettingsFile());
        if (!ini.LoadError().isEmpty()) fDialogs->ShowMessage(ini.LoadError());
        if (ini.Exists()) fRecent.Read(ini);
        RebuildRecentMenu();
    }
    MarkPhase(QStringLiteral("settings and messages"));

    QString error;
    switch (LoadStartImages(fOptions.Paths.StartImageFile(), FStartImages, &error)) {
    case TStartImagesResult::Ok: break;
    case TStartImagesResult::Missing: fDialogs->ShowMessage(FMessages->GetMessage(14)); return false;
    case TStartImagesResult::Damaged: fDialogs->ShowMessage(FMessages->GetMessage(15)); break;
    }
    if (!Panel_First_Wizard->ApplyStartImages(FStartImages)) {
        fDialogs->ShowMessage(QStringLiteral("初期化エラー"));
        return false;
    }
    MarkPhase(QStringLiteral("start pictures"));

    bool opened = false;
    if (!startFile.isEmpty()) {
        LoadDataSets();
        std::tie(FStartYear, FStartMonth) = StartDateFor(startFile);
        QString reason;
        if (OpenDocument(startFile, true, &reason)) {
            FUserDataCheck = IsUserDataFile(startFile);
            SetTitleFrom(startFile);
            RememberFile(startFile);
            PlaceWindow();
            opened = true;
        } else {
            fDialogs->ShowMessage(CannotOpenText(startFile, reason));
        }
    }
    if (!opened && !ChooseStart()) return false;

    // The settings may have hidden the side bar.
    ScrollBox_ToolBar->setVisible(FSideBarCheck);
    ArrangePanels();
    ShowObjectFont(nullptr);
    UpdateEditButtons();
    ResetToolButtons();
    fPageView->SetLayoutLock(false);
    fPageView->Relayout();
    MarkPhase(QStringLiteral("laid out"));
    return true;
}

void TPrintMainForm::LoadDataSets() {
    if (fFieldUnit) return;
    fFieldUnit = std::make_unique<TFieldUnit>();
    fRecordUnit = std::make_unique<TRecordUnit>();
    fFieldUnit->LoadFolder(fOptions.Paths.FieldFolder());
    // Record files are read when printing or the record dialog needs them.
    fRecordUnit->SetFolder(fOptions.Paths.RecordFolder());
    MarkPhase(QStringLiteral("record and field sets"));
}

bool TPrintMainForm::ChooseStart() {
    LoadDataSets();
    int32_t choice = 0;
    if (!fLibrary->StartCheckDlg(choice, QStringLiteral("テンプレートを開く"), QStringLiteral("保存データを開く")))
        choice = 0;
    if (choice == 1) {
        const TTemplateChoice c = fDialogs->ChooseTemplate(fOptions.Paths.AppPath());
        if (c.Result == TTemplateChoice::tcPrepareFailed) {
            fDialogs->ShowMessage(QStringLiteral("起動ファイル読み込みエラー"));
            return false;
        }
        if (c.Result != TTemplateChoice::tcChosen) return false;
        FStartYear = c.Year;
        FStartMonth = c.Month;
        FUserDataCheck = false;
        QString reason;
        if (!OpenDocument(c.FilePath, true, &reason)) {
            fDialogs->ShowMessage(QStringLiteral("起動ファイル読み込みエラー\n") + CannotOpenText(c.FilePath, reason));
            return false;
        }
        SetTitleFrom(c.FilePath);
        PlaceWindow();
        return true;
    }
    if (choice == 2) {
        const QString file = SelectOpenFile();
        if (file.isEmpty()) return false;
        std::tie(FStartYear, FStartMonth) = StartDateFor(file);
        QString reason;
        if (!OpenDocument(file, true, &reason)) {
            fDialogs->ShowMessage(CannotOpenText(file, reason));
            return false;
        }
        FUserDataCheck = IsUserDataFile(file);
        SetTitleFrom(file);
        RememberFile(file);
        PlaceWindow();
        return true;
    }
    return false;
}

void TPrintMainForm::FinishStartup() {
    // The font list: the fontpack's faces, the same the dialogs offer; without the pack, those faces.
    QStringList faces;
    if (!fLibrary->GetTrueType(faces, 0, true).Called) faces = TFontMap::Faces();
    const QSignalBlocker block(ComboBox_FontName);
    ComboBox_FontName->clear();
    ComboBox_FontName->addItems(faces);
    ComboBox_FontName->setCurrentIndex(-1);
    MarkPhase(QStringLiteral("font list"));
    KeepOnScreen();
    // A move to a screen of another density draws the page anew at that density.
    if (QWindow* handle = windowHandle())
        connect(handle, &QWindow::screenChanged, this, [this] { fPageView->UpdateDeviceRatio(); });
}

namespace {

// The smallest window an earlier session's placement may give.
constexpr QSize kMinimumBounds(200, 150);

QScreen* ScreenFor(const QRect& bounds) {
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 most = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->availableGeometry().intersected(bounds);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > most) {
            most = area;
            best = screen;
        }
    }
    return best;
}

QMargins FrameMargins(const QWidget& window) {
    if (!window.isVisible()) return QMargins();
    const QRect frame = window.frameGeometry(), client = window.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// Window bounds (the client area) fitted into a screen's available area less the frame.
QRect FitIntoArea(const QRect& stored, const QRect& area, const QMargins& frame) {
    const QRect room = area.marginsRemoved(frame);
    if (room.isEmpty()) return stored;
    const QSize size = stored.size().expandedTo(kMinimumBounds).boundedTo(room.size());
    const int left = std::clamp(stored.left(), room.left(), room.right() + 1 - size.width());
    const int top = std::clamp(stored.top(), room.top(), room.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace

void TPrintMainForm::PlaceWindow() {
    // The client area of an earlier session, the same kind of bounds that FormDestroy stored.
    const QRect stored = fSettings.WindowBounds;
    if (!fSettingsRead || stored.width() < kMinimumBounds.width() || stored.height() < kMinimumBounds.height()) {
        FitToWorkArea();
        return;
    }
    QScreen* screen = ScreenFor(stored);
    if (!screen) return;
    setGeometry(FitIntoArea(stored, screen->availableGeometry(), FrameMargins(*this)));
}

void TPrintMainForm::KeepOnScreen() {
    if (!isVisible() || isMaximized() || isFullScreen()) return;
    QScreen* screen = ScreenFor(frameGeometry());
    if (!screen) return;
    const QRect fitted = FitIntoArea(geometry(), screen->availableGeometry(), FrameMargins(*this));
    if (fitted != geometry()) setGeometry(fitted);
}

void TPrintMainForm::FitToWorkArea() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    move(area.topLeft());
    // The frame lies around the client area.
    const QMargins frame =
        frameGeometry().isValid() && isVisible()
            ? QMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                       frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom())
            : QMargins();
    resize(area.size().shrunkBy(frame));
}

QString TPrintMainForm::CannotOpenText(const QString& file, const QString& reason) const {
    QString text = QStringLiteral("ファイルを開けませんでした：\n%1").arg(QDir::toNativeSeparators(file));
    if (!reason.isEmpty()) text += QStringLiteral("\n（%1）").arg(reason);
    return text;
}

std::unique_ptr<TPriPaint> TPrintMainForm::MakeSurface() {
    auto surface =
        std::make_unique<TPriPaint>(fPageView->Content(), fOptions.Paths.AppPath(), fOptions.ScreenInch,
                                    fOptions.PrinterFactory ? fOptions.PrinterFactory() : fPrint->SurfacePrinter());
    surface->hide();
    // Everything the surface may use while a file loads is in place before it loads.
    surface->OutMess = FMessages.get();
    surface->FieldUnit = fFieldUnit.get();
    surface->RecordUnit = fRecordUnit.get();
    surface->DialogLibrary = fLibrary;
    surface->SetDevicePixelRatio(devicePixelRatioF());
    surface->setFocusPolicy(Qt::ClickFocus);
    return surface;
}

void TPrintMainForm::InstallSurface(std::unique_ptr<TPriPaint> surface) {
    if (FDocument) {
        FDocument->disconnect(this);
        FDocument->Document().disconnect(this);
        FDocument->hide();
        FDocument->SetHost(nullptr);
        FDocument->deleteLater();
    }
    FDocument = surface.release();
    fPageView->SetDocument(FDocument);
    FDocument->SetHost(this);
    connect(FDocument, &TPriPaint::ModifiedChanged, this, &TPrintMainForm::UpdateTitle);
    // The enabled states follow the document; the font boxes follow the selection.
    connect(FDocument, &TPriPaint::ModifiedChanged, this, &TPrintMainForm::UpdateEditButtons);
    connect(&FDocument->Document(), &TPriDocument::Changed, this, &TPrintMainForm::UpdateEditButtons);
    connect(&FDocument->Document(), &TPriDocument::SelectionChanged, this, [this] {
        UpdateEditButtons();
        ShowSelectionFont();
    });
    // A new document has said nothing yet.
    UpdateEditButtons();
    FDocument->lower();
    FDocument->show();
}

bool TPrintMainForm::OpenDocument(const QString& file, bool readSettings, QString* error) {
    std::unique_ptr<TPriPaint> surface = MakeSurface();
    if (readSettings) {
        fSettings.Sender = TSenderInfo::Load(fOptions.Paths.SenderFile());
        if (LoadSettings(fOptions.Paths.SettingsFile(), *surface, fSettings)) {
            fSettingsRead = true;
            FSideBarCheck = fSettings.ToolBar;
            ApplySettings(fSettings);
            SetRulerCheck(fSettings.RulerCheck);
        }
    } else if (FDocument) {
        // The user's display settings go on with the new document.
        fSettings.TakeFromSurface(*FDocument);
        fSettings.ApplyToSurface(*surface);
    } else if (fSettingsRead) {
        fSettings.ApplyToSurface(*surface);
    }
    bool loaded = false;
    try {
        loaded = surface->LoadFromFile(file, 0, error);
    } catch (const std::exception& e) {
        if (error) *error = QString::fromLocal8Bit(e.what());
    }
    if (!loaded) return false;
    surface->ApplyStartMonth(FStartYear, FStartMonth);
    surface->ApplySender(fSettings.Sender);
    InstallSurface(std::move(surface));
    fPageView->PlacePage();
    FDocument->ApplyPaperToPrinter();
    WarnIfNoHolidays();
    // Opened, but options of a damaged extension were left out.
    if (error && !error->isEmpty()) fDialogs->ShowMessage(*error);
    return true;
}

void TPrintMainForm::WarnIfNoHolidays() {
    // The file is read again only to name the cause when a calendar went without it.
    if (fHolidaysWarned || !FDocument || !FDocument->Document().CalendarsLackHolidays()) return;
    const QString problem = THolidayList::FileProblem(TPriCarendar::HolidayFile(fOptions.Paths.AppPath()));
    if (problem.isEmpty()) return;
    // Once a session: every calendar lacks the same holidays.
    fHolidaysWarned = true;
    fDialogs->ShowMessage(problem);
}

void TPrintMainForm::LoadFamilyDays() {
    auto days = std::make_shared<TFamilyDays>();
    QStringList problems;
    days->Load(fOptions.Paths.FamilyDaysFile(), &problems);
    TFamilyDays::SetCurrent(std::move(days));
    // Not a box at start-up: the calendars work without those lines, and 記念日... shows them all.
    if (!problems.isEmpty())
        statusBar()->showMessage(
            QStringLiteral("記念日のファイルに読めない行があります（%1）").arg(problems.join(QStringLiteral("、"))),
            kFamilyDaysNoticeMs);
}

void TPrintMainForm::Guarded(const char* what, const std::function<void()>& command) {
    ++fCommandDepth;
    try {
        command();
    } catch (const std::exception& e) {
        fDialogs->ShowMessage(
            QStringLiteral("%1に失敗しました。\n%2").arg(QString::fromUtf8(what), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        fDialogs->ShowMessage(QStringLiteral("%1に失敗しました。").arg(QString::fromUtf8(what)));
    }
    --fCommandDepth;
}

void TPrintMainForm::closeEvent(QCloseEvent* event) {
    if (fDestroyed || !FDocument) {
        if (!fDestroyed) FormDestroy();
        event->accept();
        return;
    }
    bool go = false;
    Guarded("保存",
            [&] { go = CloseGuard(TGuard::SaveQuestion, QStringLiteral("現在の使用中のファイルを保存しますか？")); });
    if (!go) {
        event->ignore();
        return;
    }
    FormDestroy();
    event->accept();
}

void TPrintMainForm::FormDestroy() {
    fDestroyed = true;
    fPageView->SetLayoutLock(true);
    fPendingHandOver.clear();
    fHandOverTimer->stop();
    if (!FDocument) return;
    // The client area, as PlaceWindow applies it: a frame position stored here would creep.
    fSettings.WindowBounds = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    fSettings.ToolBar = FSideBarCheck;
    QDir().mkpath(QFileInfo(fOptions.Paths.SettingsFile()).absolutePath());
    SaveSettings(fOptions.Paths.SettingsFile(), *FDocument, fSettings);
    SaveRecentFiles();
}

// ---- what the surface asks of the window

void TPrintMainForm::ShowPositionText(const QString& text) {
    fStatusText->setText(text);
}

void TPrintMainForm::PointerMoved(QPoint viewPoint) {
    fPageView->ShowPointer(viewPoint);
}

void TPrintMainForm::CreationFinished() {
    ResetToolButtons();
}

void TPrintMainForm::SelectedTextObject(TPriBase* object) {
    ShowObjectFont(object);
}

void TPrintMainForm::ShowMessage(const QString& text) {
    fDialogs->ShowMessage(text);
}

bool TPrintMainForm::AskYesNo(const QString& text) {
    return fDialogs->AskYesNo(text);
}

// ---- dropping files

void TPrintMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls()) return;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".tda"), Qt::CaseInsensitive)) {
            event->acceptProposedAction();
            return;
        }
    }
}

void TPrintMainForm::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".tda"), Qt::CaseInsensitive)) {
            event->acceptProposedAction();
            const QString file = url.toLocalFile();
            // The drag source waits for the drop to end; the question comes after it.
            QTimer::singleShot(0, this, [this, file] { Guarded("ファイルを開くこと", [&] { OpenFileNamed(file); }); });
            return;
        }
    }
}

void TPrintMainForm::OpenFromOtherInstance(const QStringList& files) {
    // A window still being prepared, or hidden for a scan, stays as it is.
    if (isVisible()) TSingleInstance::BringToFront(this);
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
    for (const QString& file : files) {
        if (file.isEmpty()) continue;
        // Only the newest counts: the user wants the file double-clicked last.
        fPendingHandOver = file;
        break;
    }
    RunPendingHandOver();
}

bool TPrintMainForm::IsBusy() const {
    return !FDocument || fCommandDepth > 0 || QApplication::activeModalWidget() || QApplication::activePopupWidget();
}

void TPrintMainForm::RunPendingHandOver() {
    if (fPendingHandOver.isEmpty() || fDestroyed) return;
    // Loading would free objects a dialog or a build still holds; look again shortly.
    if (IsBusy()) {
        fHandOverTimer->start();
        return;
    }
    const QString file = std::exchange(fPendingHandOver, QString());
    Guarded("ファイルを開くこと", [&] { OpenFileNamed(file); });
}
