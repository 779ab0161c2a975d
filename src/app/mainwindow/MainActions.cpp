// The actions of the main window, its menus and tool bars, the enabled states and key routing.
#include "app/mainwindow/PrintMainForm.h"

#include "app/AppDialogs.h"
#include "app/dialogs/FamilyDaysDlg.h"
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/ToolIcons.h"
#include "objects/PriLabel.h"
#include "platform/FontMap.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QAbstractSpinBox>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QToolBar>
#include <QTimer>
#include <QToolButton>

namespace {

// The surface's editing operations (undo, clipboard, deletion, selection and focus cycling) are
// the editor's; the switch stays so that a build without it keeps the commands disabled.
constexpr bool kEditorCommandsReady = true;

constexpr QKeyCombination kNoKey = QKeyCombination::fromCombined(0);

// The commands with their object names, captions, hints, keys and tool bar pictures.
struct TActionItem {
    QAction* TMainActions::*Member;
    const char* Name;
    const char* Caption;
    const char* Hint = nullptr;
    QKeyCombination Key = kNoKey;
    TToolIcon Icon = tiNone;
    bool Checkable = false;
};
const TActionItem kActionItems[] = {
    {&TMainActions::Action_NewFile, "Action_NewFile", "新規作成", nullptr, Qt::CTRL | Qt::Key_N, tiNew},
    {&TMainActions::Action_Open, "Action_Open", "開く", nullptr, Qt::CTRL | Qt::Key_O, tiOpen},
    {&TMainActions::MenuItem_ReLoad, "MenuItem_ReLoad", "開き直す"},
    {&TMainActions::MenuItem_NameSave, "MenuItem_NameSave", "名前を付けて保存"},
    {&TMainActions::Action_Save, "Action_Save", "保存", nullptr, Qt::CTRL | Qt::Key_S, tiSave},
    {&TMainActions::MenuItem_PrintRecordSet, "MenuItem_PrintRecordSet", "印刷レコード設定"},
    {&TMainActions::MenuItem_PaperSetting, "MenuItem_PaperSetting", "用紙設定"},
    {&TMainActions::Action_Twain, "Action_Twain", "TWAIN機器から読み込み", "スキャナ起動", kNoKey, tiScan},
    {&TMainActions::Action_Preview, "Action_Preview", "印刷プレビュー", nullptr, kNoKey, tiPreview},
    {&TMainActions::MenuItem_PrintSetting, "MenuItem_PrintSetting", "プリンタ設定"},
    {&TMainActions::Action_Print, "Action_Print", "印刷", nullptr, Qt::CTRL | Qt::Key_P, tiPrint},
    {&TMainActions::Action_ExportPdf, "Action_ExportPdf", "PDFに書き出す"},
    {&TMainActions::Action_Exit, "Action_Exit", "終了", nullptr, Qt::CTRL | Qt::Key_Q},
    {&TMainActions::Action1_Undo, "Action1_Undo", "元に戻す", nullptr, Qt::CTRL | Qt::Key_Z, tiUndo},
    {&TMainActions::Action1_Redo, "Action1_Redo", "やり直し", nullptr, Qt::CTRL | Qt::Key_Y, tiRedo},
    {&TMainActions::Action_Cut, "Action_Cut", "切り取り", nullptr, Qt::CTRL | Qt::Key_X, tiCut},
    {&TMainActions::Action_Copy, "Action_Copy", "コピー", nullptr, Qt::CTRL | Qt::Key_C, tiCopy},
    {&TMainActions::Action_Paste, "Action_Paste", "貼り付け", nullptr, Qt::CTRL | Qt::Key_V, tiPaste},
    {&TMainActions::Action_Delete, "Action_Delete", "削除", nullptr, Qt::Key_Delete, tiDelete},
    {&TMainActions::Action_AllSelect, "Action_AllSelect", "全て選択", "すべて選択", Qt::CTRL | Qt::Key_A},
    {&TMainActions::Action_PrevForcus, "Action_PrevForcus", "前にフォーカス移動", "前フォーカス移動"},
    {&TMainActions::Action_NextForcus, "Action_NextForcus", "次にフォーカス移動", "次フォーカス移動"},
    {&TMainActions::MenuItem_Glid, "MenuItem_Glid", "グリッド表示", nullptr, kNoKey, tiNone, true},
    {&TMainActions::MenuItem_Margin, "MenuItem_Margin", "余白線表示", nullptr, kNoKey, tiNone, true},
    {&TMainActions::MenuItem_rooler, "MenuItem_rooler", "定規表示", nullptr, kNoKey, tiNone, true},
    {&TMainActions::menuItem_ToolBar, "menuItem_ToolBar", "サイドバー表示", nullptr, kNoKey, tiSideBar, true},
    {&TMainActions::MenuItem_Setting, "MenuItem_Setting", "環境設定"},
    {&TMainActions::MenuItem_FamilyDays, "MenuItem_FamilyDays", "記念日..."},
    {&TMainActions::MenuItem_Version, "MenuItem_Version", "バージョン情報"}};

struct TZoomItem {
    QAction* TMainActions::*Member;
    const char* Name;
    const char* Caption;
    int Tag;
};
// Their Tags name the zoom: 0 bsNormal, 1 bsStretch, 2 bs200, 3 bs300.
const TZoomItem kZoomItems[] = {{&TMainActions::MenuItem_BltSame, "MenuItem_BltSame", "等倍表示", 0},
                                {&TMainActions::MenuItem_200, "MenuItem_200", "200%", 2},
                                {&TMainActions::MenuItem_300, "MenuItem_300", "300%", 3},
                                {&TMainActions::MenuItem_BltStretch, "MenuItem_BltStretch", "画面サイズに合わせる", 1}};

TBltSize ZoomForTag(int tag) {
    switch (tag) {
    case 1: return bsStretch;
    case 2: return bs200;
    case 3: return bs300;
    default: return bsNormal;
    }
}

struct TToolItem {
    QAction* TMainActions::*Member;
    const char* Name;
    const char* Hint;
    TObjectMode Mode;
    TToolIcon Icon;
};
const TToolItem kToolItems[] = {
    {&TMainActions::Action_AddNone, "Action_AddNone", "選択", omNone, tiArrow},
    {&TMainActions::Action_AddText, "Action_AddText", "文字列追加", omLabel, tiText},
    {&TMainActions::Action_AddImage, "Action_AddImage", "画像追加", omImage, tiImage},
    {&TMainActions::Action_AddField, "Action_AddField", "フィールド追加", omField, tiField},
    {&TMainActions::Action_AddShape, "Action_AddShape", "矩形追加", omSquare, tiRect},
    {&TMainActions::Action_AddRoundShape, "Action_AddRoundShape", "角丸矩形追加", omRoundRect, tiRoundRect},
    {&TMainActions::Action_AddEllipse, "Action_AddEllipse", "楕円追加", omEllipse, tiEllipse},
    {&TMainActions::Action_AddLine, "Action_AddLine", "線追加", omLine, tiLine},
    {&TMainActions::Action_AddPortal, "Action_AddPortal", "ポータル追加", omPortal, tiPortal},
    {&TMainActions::Action_AddCarendar, "Action_AddCarendar", "カレンダー追加", omCarendar, tiCalendar}};

// The largest size the size box takes, as the font dialog's.
constexpr int kMaxTypedPoints = 999;

} // namespace

QAction* TPrintMainForm::MakeAction(const char* name, const QString& caption, const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    const QString tip = hint.isEmpty() ? caption : hint;
    action->setToolTip(tip);
    action->setStatusTip(tip);
    return action;
}

void TPrintMainForm::CreateActions() {
    const auto make = [this](QAction* TMainActions::*member, const char* name, const char* caption,
                             const char* hint = nullptr) {
        QAction* a = MakeAction(name, QString::fromUtf8(caption), hint ? QString::fromUtf8(hint) : QString());
        fActions.*member = a;
        return a;
    };
    for (const TActionItem& item : kActionItems) {
        QAction* a = make(item.Member, item.Name, item.Caption, item.Hint);
        if (item.Key != kNoKey) a->setShortcut(QKeySequence(item.Key));
        if (item.Icon != tiNone) a->setIcon(ToolIcon(item.Icon));
        if (item.Checkable) a->setCheckable(true);
    }
    // Redo answers both of the platforms' keys.
    fActions.Action1_Redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    fZoomGroup = new QActionGroup(this);
    fZoomGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const TZoomItem& z : kZoomItems) {
        QAction* a = make(z.Member, z.Name, z.Caption);
        a->setCheckable(true);
        a->setData(z.Tag);
        fZoomGroup->addAction(a);
        fZoomItems.push_back(a);
    }
    fToolGroup = new QActionGroup(this);
    fToolGroup->setExclusive(true);
    for (const TToolItem& t : kToolItems) {
        QAction* a = make(t.Member, t.Name, t.Hint, t.Hint);
        a->setIcon(ToolIcon(t.Icon));
        a->setCheckable(true);
        a->setData(int(t.Mode));
        fToolGroup->addAction(a);
    }
    fActions.Action_AddPortal->setVisible(false);
    fActions.Action_AddNone->setChecked(true);
    ConnectFileActions();
    ConnectPrintActions();
    ConnectEditAndViewActions();
    ConnectEditCommands();
}

void TPrintMainForm::ConnectFileActions() {
    const TMainActions& a = fActions;
    const auto on = [this](QAction* action, const char* what, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, what, command] { Guarded(what, command); });
    };
    on(a.Action_NewFile, "新規作成", [this] { NewFile(); });
    on(a.Action_Open, "ファイルを開くこと", [this] { OpenFile(); });
    on(a.MenuItem_ReLoad, "開き直し", [this] { ReloadFile(); });
    on(a.MenuItem_NameSave, "保存", [this] { SaveFileAs(); });
    on(a.Action_Save, "保存", [this] { SaveFile(); });
    connect(a.Action_Exit, &QAction::triggered, this, &QWidget::close);
}

void TPrintMainForm::ConnectEditAndViewActions() {
    const TMainActions& a = fActions;
    // A failure names the command by its action's name.
    const auto on = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this, [this, action, command] {
            const QByteArray name = action->objectName().toLatin1();
            Guarded(name.constData(), command);
        });
    };
    on(a.MenuItem_Glid, [this] {
        if (!FDocument) return;
        FDocument->SetBltGridCheck(!FDocument->BltGridCheck());
    });
    on(a.MenuItem_Margin, [this] {
        if (!FDocument) return;
        FDocument->SetBltMarginCheck(!FDocument->BltMarginCheck());
    });
    on(a.MenuItem_rooler, [this] { SetRulerCheck(!RulerCheck()); });
    for (QAction* item : fZoomItems)
        connect(item, &QAction::triggered, this, [this, item] { Guarded("表示倍率", [&] { SelectZoom(item); }); });
    on(a.menuItem_ToolBar, [this] { SetSideBarCheck(!FSideBarCheck); });
    on(a.MenuItem_Setting, [this] {
        TDisplaySettings s = fSettings;
        if (FDocument) s.TakeFromSurface(*FDocument);
        if (!fDialogs->EditSettings(s)) return;
        if (!(s.Sender == fSettings.Sender)) {
            QString error;
            if (!s.Sender.Save(fOptions.Paths.SenderFile(), &error))
                fDialogs->ShowMessage(QStringLiteral("差出人を保存できませんでした。\n%1").arg(error));
            fSettings.Sender = s.Sender;
            if (FDocument) FDocument->ApplySender(fSettings.Sender);
        }
        ApplySettings(s);
    });
    on(a.MenuItem_FamilyDays, [this] {
        TFamilyDaysDlg dialog(fOptions.Paths.FamilyDaysFile(), this);
        if (dialog.exec() != QDialog::Accepted || !FDocument) return;
        // The calendars on the page mark the new list.
        FDocument->RedrawPage(nullptr, true, true);
    });
    on(a.MenuItem_Version, [this] { fDialogs->ShowVersion(); });
    for (QAction* tool : fToolGroup->actions())
        connect(tool, &QAction::triggered, this, [this, tool] { SelectTool(TObjectMode(tool->data().toInt())); });
}

void TPrintMainForm::CreateMenus() {
    const TMainActions& a = fActions;
    // A null entry is a separator.
    const auto add = [](QMenu* menu, std::initializer_list<QAction*> items) {
        for (QAction* item : items) {
            if (item)
                menu->addAction(item);
            else
                menu->addSeparator();
        }
    };
    fFileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    add(fFileMenu, {a.Action_NewFile, a.Action_Open});
    fRecentMenu = fFileMenu->addMenu(QStringLiteral("最近使ったファイル"));
    fRecentMenu->setObjectName(QStringLiteral("MenuItem_Recent"));
    add(fFileMenu, {a.MenuItem_ReLoad, a.MenuItem_NameSave, a.Action_Save, nullptr, a.MenuItem_PrintRecordSet,
                    a.MenuItem_PaperSetting, a.Action_Twain, nullptr, a.Action_Preview, a.MenuItem_PrintSetting,
                    a.Action_Print, a.Action_ExportPdf, nullptr, a.Action_Exit});

    fEditMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    add(fEditMenu, {a.Action1_Undo, a.Action1_Redo, nullptr, a.Action_Cut, a.Action_Copy, a.Action_Paste,
                    a.Action_Delete, nullptr, a.Action_AllSelect, a.Action_PrevForcus, a.Action_NextForcus});

    fViewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    add(fViewMenu, {a.MenuItem_Glid, a.MenuItem_Margin, a.MenuItem_rooler, nullptr});
    for (QAction* item : fZoomItems)
        fViewMenu->addAction(item);
    add(fViewMenu, {nullptr, a.menuItem_ToolBar});

    add(menuBar()->addMenu(QStringLiteral("設定(&S)")), {a.MenuItem_Setting, a.MenuItem_FamilyDays});
    add(menuBar()->addMenu(QStringLiteral("ヘルプ(&H)")), {a.MenuItem_Version});

    for (QMenu* menu : {fFileMenu, fEditMenu, fViewMenu})
        connect(menu, &QMenu::aboutToShow, this, &TPrintMainForm::RefreshMenus);
    RebuildRecentMenu();
}

void TPrintMainForm::CreateToolBars() {
    const TMainActions& a = fActions;
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    // A null entry is a separator.
    QAction* const items[] = {a.Action_NewFile, a.Action_Open,    a.Action_Save,  nullptr,
                              a.Action_Twain,   a.Action_Preview, a.Action_Print, nullptr,
                              a.Action_Copy,    a.Action_Cut,     a.Action_Paste, nullptr,
                              a.Action_Delete,  a.Action1_Undo,   a.Action1_Redo, nullptr};
    for (QAction* item : items) {
        if (item)
            ToolBar1->addAction(item);
        else
            ToolBar1->addSeparator();
    }
    for (QAction* tool : fToolGroup->actions())
        ToolBar1->addAction(tool);
    ToolBar1->addSeparator();
    ToolBar1->addAction(a.menuItem_ToolBar);
    if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(a.menuItem_ToolBar)))
        button->setObjectName(QStringLiteral("ToolButton20"));

    addToolBarBreak();
    ToolBar2 = addToolBar(QStringLiteral("ToolBar2"));
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ComboBox_FontName = new QComboBox(ToolBar2);
    ComboBox_FontName->setObjectName(QStringLiteral("ComboBox_FontName"));
    ComboBox_FontName->setMinimumContentsLength(18);
    ComboBox_FontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox_FontName->setToolTip(QStringLiteral("フォント名"));
    ComboBox_FontSize = new QComboBox(ToolBar2);
    ComboBox_FontSize->setObjectName(QStringLiteral("ComboBox_FontSize"));
    ComboBox_FontSize->addItems(
        {"6", "7", "8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "28", "30", "36", "48", "72"});
    ComboBox_FontSize->setToolTip(QStringLiteral("フォントサイズ"));
    // Any size can be typed, as in the font dialog.
    ComboBox_FontSize->setEditable(true);
    ComboBox_FontSize->setMinimumContentsLength(3);
    ComboBox_FontSize->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox_FontSize->setInsertPolicy(QComboBox::NoInsert);
    ComboBox_FontSize->setValidator(new QIntValidator(1, kMaxTypedPoints, ComboBox_FontSize));
    ComboBox_FontStyle = new QComboBox(ToolBar2);
    ComboBox_FontStyle->setObjectName(QStringLiteral("ComboBox_FontStyle"));
    ComboBox_FontStyle->addItems(
        {QStringLiteral("標準"), QStringLiteral("太字"), QStringLiteral("斜体"), QStringLiteral("太字・斜体")});
    ComboBox_FontStyle->setToolTip(QStringLiteral("フォントスタイル"));
    ToolBar2->addWidget(ComboBox_FontName);
    ToolBar2->addWidget(ComboBox_FontSize);
    ToolBar2->addWidget(ComboBox_FontStyle);
    // The boxes are enabled only while a text object is selected.
    ConnectFontBoxes();
}

// ---- enabled states: derived here from the surface, and nowhere else

void TPrintMainForm::UpdateEditButtons() {
    const bool doc = FDocument != nullptr;
    const TMainActions& a = fActions;
    const auto set = [](QAction* action, bool enabled) { action->setEnabled(enabled); };
    // Commands whose work comes later: portals.
    set(a.Action_AddPortal, false);

    const bool editing = kEditorCommandsReady && doc;
    set(a.Action1_Undo, editing && FDocument->CanUndo());
    set(a.Action1_Redo, editing && FDocument->CanRedo());
    set(a.Action_Paste, editing && CanPasteNow());
    const bool selection = editing && FDocument->HasSelection();
    for (QAction* action : {a.Action_Delete, a.Action_Copy, a.Action_Cut, a.Action_PrevForcus, a.Action_NextForcus})
        set(action, selection);
    set(a.Action_AllSelect, editing && FDocument->HasVisibleObjects());

    set(a.MenuItem_ReLoad, doc && QFileInfo(FDocument->TempLatePath).isFile());
    set(a.MenuItem_NameSave, doc);
    set(a.Action_Twain, doc);
    set(a.Action_Save, doc);
    for (QAction* action : {a.Action_Print, a.Action_Preview, a.Action_ExportPdf, a.MenuItem_PrintSetting,
                            a.MenuItem_PrintRecordSet, a.MenuItem_PaperSetting})
        set(action, doc);
    set(a.Action_NewFile, true);
    set(a.Action_Open, true);

    QAction* grid = a.MenuItem_Glid;
    QAction* margin = a.MenuItem_Margin;
    grid->setEnabled(doc);
    grid->setChecked(doc && FDocument->BltGridCheck());
    margin->setEnabled(doc && FDocument->IsSingleSeat());
    margin->setChecked(doc && FDocument->BltMarginCheck());
    a.MenuItem_rooler->setChecked(RulerCheck());
    a.menuItem_ToolBar->setChecked(FSideBarCheck);
    for (QAction* item : fZoomItems) {
        item->setEnabled(doc);
        item->setChecked(doc && ZoomForTag(item->data().toInt()) == FDocument->BltSizeCheck);
    }
    for (QAction* tool : fToolGroup->actions()) {
        if (tool != a.Action_AddPortal) tool->setEnabled(doc);
    }
}

void TPrintMainForm::RefreshMenus() {
    UpdateEditButtons();
    RebuildRecentMenu();
}

void TPrintMainForm::ShowObjectFont(TPriBase* object) {
    const bool text = object && (object->ObjectNum == okLabel || object->ObjectNum == okField);
    for (QComboBox* box : {ComboBox_FontName, ComboBox_FontSize, ComboBox_FontStyle}) {
        box->setEnabled(text);
        // Disabled boxes show nothing rather than a value no object has.
        if (!text) box->setCurrentIndex(-1);
    }
    if (!text) return;
    const auto* label = static_cast<const TPriLabel*>(object);
    // The object's own value is shown even when the list lacks it: the item is added.
    const auto show = [](QComboBox* box, const QString& item, int at) {
        int i = box->findText(item, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (i < 0) {
            box->insertItem(at, item);
            i = at;
        }
        box->setCurrentIndex(i);
    };
    const QString face = label->Font.family();
    show(ComboBox_FontName, TFontMap::IsVerticalFace(face) ? face.mid(1) : face, 0);
    // Sizes stay in ascending order.
    int at = 0;
    while (at < ComboBox_FontSize->count() && ComboBox_FontSize->itemText(at).toInt() < label->SameFSize)
        ++at;
    show(ComboBox_FontSize, QString::number(label->SameFSize), at);
    const bool bold = label->Font.bold(), italic = label->Font.italic();
    const int style = !bold && !italic ? 0 : bold && !italic ? 1 : !bold && italic ? 2 : 3;
    ComboBox_FontStyle->setCurrentIndex(style);
}

void TPrintMainForm::ShowSelectionFont() {
    TPriBase* first = FDocument && FDocument->HasSelection() ? FDocument->SelectList().first() : nullptr;
    ShowObjectFont(first);
}

void TPrintMainForm::ResetToolButtons() {
    fActions.Action_AddNone->setChecked(true);
}

void TPrintMainForm::SelectTool(TObjectMode mode) {
    for (QAction* tool : fToolGroup->actions())
        if (TObjectMode(tool->data().toInt()) == mode) tool->setChecked(true);
    if (!FDocument) return;
    FDocument->ChooseTool(mode);
}

// ---- zoom

void TPrintMainForm::SelectZoom(QAction* item) {
    if (!FDocument || !item) return;
    // The item of the zoom in force stays ticked when chosen again.
    if (!fPageView->SetZoom(ZoomForTag(item->data().toInt()))) item->setChecked(true);
}

// ---- keys

bool TPrintMainForm::OfferKey(int key, bool shift, bool ctrl) {
    return FDocument && FDocument->HandleKey(key, shift, ctrl);
}

bool TPrintMainForm::KeyStaysInFocusWidget(QObject* target) const {
    // Text fields and the font boxes keep their keys: arrows and Tab there move the caret or the
    // choice, never the objects.
    for (QObject* o = target; o; o = o->parent()) {
        if (qobject_cast<QLineEdit*>(o) || qobject_cast<QComboBox*>(o) || qobject_cast<QAbstractSpinBox*>(o) ||
            qobject_cast<QTextEdit*>(o) || qobject_cast<QPlainTextEdit*>(o))
            return true;
        if (o == this) break;
    }
    return false;
}

void TPrintMainForm::NoteFontBoxStep(QObject* watched, QEvent* event) {
    // The last key, wheel turn or click decides: a step when it was a key other than Enter or the
    // wheel over a font box. The open list is a window of its own, so a choice made there is no step.
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease) {
        fFontBoxStepping = false;
        return;
    }
    if (type != QEvent::KeyPress && type != QEvent::Wheel) return;
    bool step = false;
    if (auto* widget = qobject_cast<QWidget*>(watched)) {
        for (QComboBox* box : {ComboBox_FontName, ComboBox_FontSize, ComboBox_FontStyle})
            step = step || (box && (widget == box || box->isAncestorOf(widget)));
    }
    if (type == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        step = step && k != Qt::Key_Return && k != Qt::Key_Enter;
    }
    fFontBoxStepping = step;
}

bool TPrintMainForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    NoteFontBoxStep(watched, event);
    if (type == QEvent::Paint && !fFirstPaintSeen && FDocument && watched == FDocument) {
        fFirstPaintSeen = true;
        // Once this paint is done.
        QTimer::singleShot(0, this, [this] {
            MarkPhase(QStringLiteral("first paint"));
            emit FirstPainted();
        });
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QMainWindow::eventFilter(watched, event);
    // A key is offered once, when it reaches the widget that has the focus in this window.
    QWidget* focus = QApplication::focusWidget();
    if (focus ? widget != focus : widget != this) return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    const bool shift = key->modifiers() & Qt::ShiftModifier;
    const bool sameAsOffered = fOffered.Valid && fOffered.Key == key->key() && fOffered.Time == key->timestamp();
    if (type == QEvent::KeyPress && sameAsOffered) {
        fOffered.Valid = false;
        return fOffered.Handled;
    }
    fOffered.Valid = false;
    // Ctrl+S is the save command's own key; text fields keep theirs; a modifier alone is no key.
    const int k = key->key();
    const bool modifierOnly =
        k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt || k == Qt::Key_Meta || k == Qt::Key_AltGr;
    if ((ctrl && k == Qt::Key_S) || modifierOnly || KeyStaysInFocusWidget(widget) || !FDocument)
        return QMainWindow::eventFilter(watched, event);
    bool handled = false;
    Guarded("キー操作", [&] { handled = OfferKey(key->key(), shift, ctrl); });
    if (type == QEvent::ShortcutOverride) {
        fOffered = {key->key(), key->timestamp(), handled, true};
        if (handled) event->accept();
        return handled;
    }
    return handled;
}
