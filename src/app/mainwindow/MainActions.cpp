// The actions of the main window, its menus and tool bars, the enabled states and key routing.
#include "app/mainwindow/PrintMainForm.h"

#include "app/AppDialogs.h"
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

// Commands whose work comes later: portals.
const char* const kPendingCommands[] = {"Action_AddPortal"};

struct TZoomItem {
    const char* Name;
    const char* Caption;
    int Tag;
};
// Their Tags name the zoom: 0 bsNormal, 1 bsStretch, 2 bs200, 3 bs300.
const TZoomItem kZoomItems[] = {{"MenuItem_BltSame", "等倍表示", 0},
                                {"MenuItem_200", "200%", 2},
                                {"MenuItem_300", "300%", 3},
                                {"MenuItem_BltStretch", "画面サイズに合わせる", 1}};

TBltSize ZoomForTag(int tag) {
    switch (tag) {
    case 1: return bsStretch;
    case 2: return bs200;
    case 3: return bs300;
    default: return bsNormal;
    }
}

struct TToolItem {
    const char* Name;
    const char* Hint;
    TObjectMode Mode;
    TToolIcon Icon;
};
const TToolItem kToolItems[] = {{"Action_AddNone", "選択", omNone, tiArrow},
                                {"Action_AddText", "文字列追加", omLabel, tiText},
                                {"Action_AddImage", "画像追加", omImage, tiImage},
                                {"Action_AddField", "フィールド追加", omField, tiField},
                                {"Action_AddShape", "矩形追加", omSquare, tiRect},
                                {"Action_AddRoundShape", "角丸矩形追加", omRoundRect, tiRoundRect},
                                {"Action_AddEllipse", "楕円追加", omEllipse, tiEllipse},
                                {"Action_AddLine", "線追加", omLine, tiLine},
                                {"Action_AddPortal", "ポータル追加", omPortal, tiPortal},
                                {"Action_AddCarendar", "カレンダー追加", omCarendar, tiCalendar}};

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

QAction* TPrintMainForm::Action(const QString& name) const {
    return findChild<QAction*>(name);
}

void TPrintMainForm::CreateActions() {
    const auto make = [this](const char* name, const char* caption, const char* hint = nullptr,
                             QKeySequence key = QKeySequence(), TToolIcon icon = tiNone) {
        QAction* a = MakeAction(name, QString::fromUtf8(caption), hint ? QString::fromUtf8(hint) : QString());
        if (!key.isEmpty()) a->setShortcut(key);
        if (icon != tiNone) a->setIcon(ToolIcon(icon));
        return a;
    };
    make("Action_NewFile", "新規作成", nullptr, QKeySequence(Qt::CTRL | Qt::Key_N), tiNew);
    make("Action_Open", "開く", nullptr, QKeySequence(Qt::CTRL | Qt::Key_O), tiOpen);
    make("MenuItem_ReLoad", "開き直す");
    make("MenuItem_NameSave", "名前を付けて保存");
    make("Action_Save", "保存", nullptr, QKeySequence(Qt::CTRL | Qt::Key_S), tiSave);
    make("MenuItem_PrintRecordSet", "印刷レコード設定");
    make("MenuItem_PaperSetting", "用紙設定");
    make("Action_Twain", "TWAIN機器から読み込み", "スキャナ起動", QKeySequence(), tiScan);
    make("Action_Preview", "印刷プレビュー", nullptr, QKeySequence(), tiPreview);
    make("MenuItem_PrintSetting", "プリンタ設定");
    make("Action_Print", "印刷", nullptr, QKeySequence(Qt::CTRL | Qt::Key_P), tiPrint);
    make("Action_ExportPdf", "PDFに書き出す");
    make("Action_Exit", "終了", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Q));
    make("Action1_Undo", "元に戻す", nullptr, QKeySequence(Qt::CTRL | Qt::Key_Z), tiUndo);
    make("Action_Cut", "切り取り", nullptr, QKeySequence(Qt::CTRL | Qt::Key_X), tiCut);
    make("Action_Copy", "コピー", nullptr, QKeySequence(Qt::CTRL | Qt::Key_C), tiCopy);
    make("Action_Paste", "貼り付け", nullptr, QKeySequence(Qt::CTRL | Qt::Key_V), tiPaste);
    make("Action_Delete", "削除", nullptr, QKeySequence(Qt::Key_Delete), tiDelete);
    make("Action_AllSelect", "全て選択", "すべて選択", QKeySequence(Qt::CTRL | Qt::Key_A));
    make("Action_PrevForcus", "前にフォーカス移動", "前フォーカス移動");
    make("Action_NextForcus", "次にフォーカス移動", "次フォーカス移動");
    make("MenuItem_Glid", "グリッド表示")->setCheckable(true);
    make("MenuItem_Margin", "余白線表示")->setCheckable(true);
    make("MenuItem_rooler", "定規表示")->setCheckable(true);
    fZoomGroup = new QActionGroup(this);
    fZoomGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const TZoomItem& z : kZoomItems) {
        QAction* a = make(z.Name, z.Caption);
        a->setCheckable(true);
        a->setData(z.Tag);
        fZoomGroup->addAction(a);
        fZoomItems.push_back(a);
    }
    QAction* side = make("menuItem_ToolBar", "サイドバー表示", nullptr, QKeySequence(), tiSideBar);
    side->setCheckable(true);
    make("MenuItem_Setting", "環境設定");
    make("MenuItem_Version", "バージョン情報");
    fToolGroup = new QActionGroup(this);
    fToolGroup->setExclusive(true);
    for (const TToolItem& t : kToolItems) {
        QAction* a = make(t.Name, t.Hint, t.Hint, QKeySequence(), t.Icon);
        a->setCheckable(true);
        a->setData(int(t.Mode));
        fToolGroup->addAction(a);
    }
    Action(QStringLiteral("Action_AddPortal"))->setVisible(false);
    Action(QStringLiteral("Action_AddNone"))->setChecked(true);
    ConnectFileActions();
    ConnectPrintActions();
    ConnectEditAndViewActions();
    ConnectEditCommands();
}

void TPrintMainForm::ConnectFileActions() {
    const auto on = [this](const char* name, const char* what, std::function<void()> command) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, what, command] { Guarded(what, command); });
    };
    on("Action_NewFile", "新規作成", [this] { NewFile(); });
    on("Action_Open", "ファイルを開くこと", [this] { OpenFile(); });
    on("MenuItem_ReLoad", "開き直し", [this] { ReloadFile(); });
    on("MenuItem_NameSave", "保存", [this] { SaveFileAs(); });
    on("Action_Save", "保存", [this] { SaveFile(); });
    connect(Action(QStringLiteral("Action_Exit")), &QAction::triggered, this, &QWidget::close);
}

void TPrintMainForm::ConnectEditAndViewActions() {
    const auto on = [this](const char* name, std::function<void()> command) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this,
                [this, name, command] { Guarded(name, command); });
    };
    on("MenuItem_Glid", [this] {
        if (!FDocument) return;
        FDocument->BltGridCheck = !FDocument->BltGridCheck;
        FDocument->RedrawPage(nullptr, true, true);
    });
    on("MenuItem_Margin", [this] {
        if (!FDocument) return;
        FDocument->BltMarginCheck = !FDocument->BltMarginCheck;
        FDocument->RedrawPage(nullptr, true, true);
    });
    on("MenuItem_rooler", [this] { SetRulerCheck(!RulerCheck()); });
    for (QAction* item : fZoomItems)
        connect(item, &QAction::triggered, this, [this, item] { Guarded("表示倍率", [&] { SelectZoom(item); }); });
    on("menuItem_ToolBar", [this] { SetSideBarCheck(!FSideBarCheck); });
    on("MenuItem_Setting", [this] {
        TDisplaySettings s = fSettings;
        if (FDocument) s.TakeFromSurface(*FDocument);
        if (!fDialogs->EditSettings(s)) return;
        ApplySettings(s);
    });
    on("MenuItem_Version", [this] { fDialogs->ShowVersion(); });
    for (QAction* tool : fToolGroup->actions())
        connect(tool, &QAction::triggered, this, [this, tool] { SelectTool(TObjectMode(tool->data().toInt())); });
}

void TPrintMainForm::CreateMenus() {
    const auto add = [this](QMenu* menu, const char* name) { menu->addAction(Action(QString::fromLatin1(name))); };
    fFileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    add(fFileMenu, "Action_NewFile");
    add(fFileMenu, "Action_Open");
    fRecentMenu = fFileMenu->addMenu(QStringLiteral("最近使ったファイル"));
    fRecentMenu->setObjectName(QStringLiteral("MenuItem_Recent"));
    add(fFileMenu, "MenuItem_ReLoad");
    add(fFileMenu, "MenuItem_NameSave");
    add(fFileMenu, "Action_Save");
    fFileMenu->addSeparator();
    add(fFileMenu, "MenuItem_PrintRecordSet");
    add(fFileMenu, "MenuItem_PaperSetting");
    add(fFileMenu, "Action_Twain");
    fFileMenu->addSeparator();
    add(fFileMenu, "Action_Preview");
    add(fFileMenu, "MenuItem_PrintSetting");
    add(fFileMenu, "Action_Print");
    add(fFileMenu, "Action_ExportPdf");
    fFileMenu->addSeparator();
    add(fFileMenu, "Action_Exit");

    fEditMenu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    for (const char* name : {"Action1_Undo", "", "Action_Cut", "Action_Copy", "Action_Paste", "Action_Delete", "",
                             "Action_AllSelect", "Action_PrevForcus", "Action_NextForcus"}) {
        if (*name)
            add(fEditMenu, name);
        else
            fEditMenu->addSeparator();
    }

    fViewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    add(fViewMenu, "MenuItem_Glid");
    add(fViewMenu, "MenuItem_Margin");
    add(fViewMenu, "MenuItem_rooler");
    fViewMenu->addSeparator();
    for (QAction* item : fZoomItems)
        fViewMenu->addAction(item);
    fViewMenu->addSeparator();
    add(fViewMenu, "menuItem_ToolBar");

    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    add(settings, "MenuItem_Setting");
    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    add(help, "MenuItem_Version");

    for (QMenu* menu : {fFileMenu, fEditMenu, fViewMenu})
        connect(menu, &QMenu::aboutToShow, this, &TPrintMainForm::RefreshMenus);
    RebuildRecentMenu();
}

void TPrintMainForm::CreateToolBars() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    const auto add = [this](const char* name) { ToolBar1->addAction(Action(QString::fromLatin1(name))); };
    for (const char* name :
         {"Action_NewFile", "Action_Open", "Action_Save", "", "Action_Twain", "Action_Preview", "Action_Print", "",
          "Action_Copy", "Action_Cut", "Action_Paste", "", "Action_Delete", "Action1_Undo", ""}) {
        if (*name)
            add(name);
        else
            ToolBar1->addSeparator();
    }
    for (QAction* tool : fToolGroup->actions())
        ToolBar1->addAction(tool);
    ToolBar1->addSeparator();
    add("menuItem_ToolBar");
    if (auto* button =
            qobject_cast<QToolButton*>(ToolBar1->widgetForAction(Action(QStringLiteral("menuItem_ToolBar")))))
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
    const auto set = [this](const char* name, bool enabled) {
        if (QAction* a = Action(QString::fromLatin1(name))) a->setEnabled(enabled);
    };
    for (const char* name : kPendingCommands)
        set(name, false);

    QAction* undo = Action(QStringLiteral("Action1_Undo"));
    const QString undoText =
        doc && FDocument->UndoState == usEnter ? QStringLiteral("やり直し") : QStringLiteral("元に戻す");
    undo->setText(undoText);
    undo->setToolTip(undoText);
    undo->setStatusTip(undoText);
    const bool editing = kEditorCommandsReady && doc;
    set("Action1_Undo", editing && FDocument->CanUndo());
    set("Action_Paste", editing && CanPasteNow());
    const bool selection = editing && FDocument->HasSelection();
    for (const char* name : {"Action_Delete", "Action_Copy", "Action_Cut", "Action_PrevForcus", "Action_NextForcus"})
        set(name, selection);
    set("Action_AllSelect", editing && FDocument->HasVisibleObjects());

    set("MenuItem_ReLoad", doc && QFileInfo(FDocument->TempLatePath).isFile());
    set("MenuItem_NameSave", doc);
    set("Action_Twain", doc);
    set("Action_Save", doc);
    for (const char* name : {"Action_Print", "Action_Preview", "Action_ExportPdf", "MenuItem_PrintSetting",
                             "MenuItem_PrintRecordSet", "MenuItem_PaperSetting"})
        set(name, doc);
    set("Action_NewFile", true);
    set("Action_Open", true);

    QAction* grid = Action(QStringLiteral("MenuItem_Glid"));
    QAction* margin = Action(QStringLiteral("MenuItem_Margin"));
    grid->setEnabled(doc);
    grid->setChecked(doc && FDocument->BltGridCheck);
    margin->setEnabled(doc && FDocument->IsSingleSeat());
    margin->setChecked(doc && FDocument->BltMarginCheck);
    Action(QStringLiteral("MenuItem_rooler"))->setChecked(RulerCheck());
    Action(QStringLiteral("menuItem_ToolBar"))->setChecked(FSideBarCheck);
    for (QAction* item : fZoomItems) {
        item->setEnabled(doc);
        item->setChecked(doc && ZoomForTag(item->data().toInt()) == FDocument->BltSizeCheck);
    }
    for (QAction* tool : fToolGroup->actions()) {
        if (QString::fromLatin1("Action_AddPortal") != tool->objectName()) tool->setEnabled(doc);
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
    Action(QStringLiteral("Action_AddNone"))->setChecked(true);
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
    fPageView->SetZoom(ZoomForTag(item->data().toInt()));
    UpdateEditButtons();
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
