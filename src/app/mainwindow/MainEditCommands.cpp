// The main window's edit commands, font boxes and the surface's requests for menus, scrolling and files.
#include "app/AppDialogs.h"
#include "app/dialogs/ImageEffectDlg.h"
#include "app/mainwindow/ObjectMenus.h"
#include "app/mainwindow/PageView.h"
#include "app/mainwindow/PrintMainForm.h"
#include "app/scanning/ScanFlow.h"
#include "objects/PriImage.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

namespace {

// The picture files the file dialog offers, all kinds first.
const char kPictureFilter[] = "すべてのファイル(*.jpg *.jpeg *.bmp *.gif *.png);;JPEG ファイル(*.jpg *.jpeg);;"
                              "BITMAPファイル(*.bmp);;GIFファイル(*.gif);;PNGファイル(*.png)";

} // namespace

void TPrintMainForm::ConnectEditCommands() {
    const TMainActions& a = fActions;
    // A failure names the command by its action's name.
    const auto on = [this](QAction* action, std::function<void(TPriPaint&)> command) {
        connect(action, &QAction::triggered, this, [this, action, command] {
            const QByteArray name = action->objectName().toLatin1();
            Guarded(name.constData(), [&] {
                if (!FDocument) return;
                command(*FDocument);
            });
        });
    };
    on(a.Action1_Undo, [](TPriPaint& d) { d.Undo(); });
    on(a.Action1_Redo, [](TPriPaint& d) { d.Redo(); });
    on(a.Action_Cut, [](TPriPaint& d) { d.CutSelection(); });
    on(a.Action_Copy, [](TPriPaint& d) { d.CopySelection(); });
    on(a.Action_Paste, [](TPriPaint& d) { d.PasteClipboard(); });
    on(a.Action_Delete, [](TPriPaint& d) { d.DeleteSelection(); });
    // The frames of the selection are drawn on the page, as Ctrl+A on the page draws them.
    on(a.Action_AllSelect, [](TPriPaint& d) {
        if (d.SelectAll()) d.RedrawPage(nullptr, true, true);
    });
    on(a.Action_PrevForcus, [](TPriPaint& d) { d.FocusPrev(); });
    on(a.Action_NextForcus, [](TPriPaint& d) { d.FocusNext(); });
    connect(a.Action_Twain, &QAction::triggered, this,
            [this] { Guarded("スキャナからの読み込み", [this] { ScanPicture(); }); });
    // Another program can fill the clipboard at any time; Paste follows it.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { UpdateEditButtons(); });
}

void TPrintMainForm::ConnectFontBoxes() {
    const auto apply = [this](std::function<void(TPriPaint&)> change) {
        Guarded("フォント", [&] {
            if (!FDocument) return;
            change(*FDocument);
            FDocument->RedrawPage(nullptr, true, false);
            // The boxes show what the object took (a size may be limited), not what was typed.
            ShowSelectionFont();
            // A choice is made: arrows, Delete and Tab act on the page again.
            if (!fFontBoxStepping) FDocument->setFocus(Qt::OtherFocusReason);
        });
    };
    connect(ComboBox_FontName, &QComboBox::activated, this,
            [this, apply] { apply([this](TPriPaint& d) { d.SetFontName(ComboBox_FontName->currentText()); }); });
    connect(ComboBox_FontStyle, &QComboBox::activated, this, [this, apply] {
        apply([this](TPriPaint& d) {
            if (ComboBox_FontStyle->currentIndex() >= 0) d.SetFontStyle(ComboBox_FontStyle->currentIndex());
        });
    });
    // A size chosen from the list or typed and confirmed with Enter; the same size twice changes nothing.
    const auto size = [this, apply] {
        apply([this](TPriPaint& d) {
            bool ok = false;
            const int points = ComboBox_FontSize->currentText().trimmed().toInt(&ok);
            if (ok && points > 0) d.SetFontSize(points);
        });
    };
    connect(ComboBox_FontSize, &QComboBox::activated, this, size);
    connect(ComboBox_FontSize->lineEdit(), &QLineEdit::returnPressed, this, size);
}

bool TPrintMainForm::CanPasteNow() const {
    return FDocument && FDocument->CanPaste();
}

// ---- the surface's requests

void TPrintMainForm::ShowContextMenu(TPriBase* object, QPoint globalPos) {
    if (!FDocument) return;
    TObjectMenus menus(*FDocument, this);
    menus.EditImage = [this](int mode) { Guarded("画像編集", [&] { EditImageEffect(mode); }); };
    menus.RotateBackground = [this] { Guarded("背景回転", [this] { RotateBackground(); }); };
    menus.Changed = [this] {
        if (FDocument) ShowObjectFont(FDocument->CurrentObject());
    };
    menus.Popup(object, globalPos);
}

void TPrintMainForm::EditImageEffect(int mode) {
    if (!FDocument || mode < emExpan || mode > emTurn) return;
    auto* image = dynamic_cast<TPriImage*>(FDocument->CurrentObject());
    if (!image || image->LockCheck) return;
    // The dialog works on a copy, so a cancel leaves the picture and the undo step alone.
    QImage picture = image->BltBmp;
    if (!TImageEffectDlg::Execute(picture, TEffectMode(mode), this)) return;
    FDocument->ReplacePicture(image, std::move(picture));
}

void TPrintMainForm::RotateBackground() {
    if (!FDocument || FDocument->BackObject.IsEmpty()) return;
    if (!TImageEffectDlg::Execute(FDocument->BackObject.ActiveBack(), emTurn, this)) return;
    FDocument->NoteChange();
    const QSize view = FDocument->ViewSize();
    FDocument->BackObject.MakeViewPart(FDocument->VisibleRect(), view.width(), view.height());
    FDocument->RedrawPage(nullptr, true, true);
}

void TPrintMainForm::AutoScroll(QPoint viewPoint) {
    fPageView->ScrollToShow(viewPoint);
}

QString TPrintMainForm::AskPictureFile(const QString& startFolder) {
    const QString folder = startFolder.isEmpty() ? fOptions.Paths.SozaiFolder() : startFolder;
    return fDialogs->AskOpenFile(folder, QString::fromUtf8(kPictureFilter));
}

// ---- scanning

bool TPrintMainForm::ScanPicture() {
    if (!FDocument || !fLibrary) return false;
    return ScanImage(*FDocument, fOptions.Paths, *fLibrary, this);
}
