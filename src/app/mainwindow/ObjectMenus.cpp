#include "app/mainwindow/ObjectMenus.h"

#include "app/mainwindow/ToolIcons.h"
#include "document/PriPaint.h"
#include "merge/PriField.h"
#include "objects/PriImage.h"

#include <QColorDialog>
#include <QMenu>

TObjectMenus::TObjectMenus(TPriPaint& surface, QWidget* parent) : QObject(parent), fSurface(surface), fParent(parent) {}

TObjectMenus::~TObjectMenus() = default;

void TObjectMenus::Done() {
    if (Changed) Changed();
}

void TObjectMenus::AddHead(QMenu& menu) {
    const bool selected = fSurface.HasSelection();
    menu.addAction(ToolIcon(tiCut), QStringLiteral("切り取り"), this,
                   [this] {
                       fSurface.CutSelection();
                       Done();
                   })
        ->setEnabled(selected);
    menu.addAction(ToolIcon(tiCopy), QStringLiteral("コピー"), this,
                   [this] {
                       fSurface.CopySelection();
                       Done();
                   })
        ->setEnabled(selected);
    menu.addAction(ToolIcon(tiPaste), QStringLiteral("貼り付け"), this,
                   [this] {
                       fSurface.PasteClipboard();
                       Done();
                   })
        ->setEnabled(fSurface.CanPaste());
    menu.addSeparator();
    menu.addAction(ToolIcon(tiDelete), QStringLiteral("削除"), this,
                   [this] {
                       fSurface.DeleteSelection();
                       Done();
                   })
        ->setEnabled(selected);
    menu.addSeparator();
}

void TObjectMenus::AddArrangement(QMenu& menu, TPriBase* object) {
    menu.addSeparator();
    menu.addAction(QStringLiteral("最前面に移動"), this, [this] {
        fSurface.BringToFront();
        Done();
    });
    menu.addAction(QStringLiteral("前面に移動"), this, [this] {
        fSurface.BringForward();
        Done();
    });
    menu.addAction(QStringLiteral("最後面に移動"), this, [this] {
        fSurface.SendToBack();
        Done();
    });
    menu.addAction(QStringLiteral("後面に移動"), this, [this] {
        fSurface.SendBackward();
        Done();
    });
    menu.addSeparator();
    QAction* print = menu.addAction(QStringLiteral("印刷する"), this, [this] {
        fSurface.TogglePrint();
        Done();
    });
    print->setCheckable(true);
    print->setChecked(object->PrintCheck);
    menu.addSeparator();
    menu.addAction(QStringLiteral("ロック"), this, [this] {
        fSurface.SetLock(true);
        Done();
    });
}

void TObjectMenus::AddKindItems(QMenu& menu, TPriBase* object) {
    auto add = [&](const QString& text, std::function<void()> run, bool enabled = true) {
        QAction* a = menu.addAction(text, this, [this, run] {
            run();
            Done();
        });
        a->setEnabled(enabled);
        return a;
    };
    switch (object->ObjectNum) {
    case okLabel:
        add(QStringLiteral("文字列編集"), [this, object] { fSurface.EditText(object); });
        add(QStringLiteral("フォント編集"), [this, object] { fSurface.EditFont(object); });
        break;
    case okImage: {
        auto* image = dynamic_cast<TPriImage*>(object);
        add(QStringLiteral("変更"), [this] { fSurface.ChangeImage(); });
        const char* effects[] = {"画像切り取り", "RGB編集", "明度編集", "画像回転"};
        for (int mode = 0; mode < 4; ++mode)
            add(
                QString::fromUtf8(effects[mode]),
                [this, mode] {
                    if (EditImage) EditImage(mode);
                },
                bool(EditImage));
        add(QStringLiteral("透過色設定"), [this, image] {
            const QColor c = QColorDialog::getColor(ColorToQColor(image->Color), fParent);
            if (c.isValid()) fSurface.SetTransparentColor(RGBColor(c.red(), c.green(), c.blue()));
        });
        QAction* keep = add(QStringLiteral("縦横比を保つ"), [this] { fSurface.ToggleProportional(); });
        keep->setCheckable(true);
        keep->setChecked(image && image->Proportional);
        QAction* clear = add(QStringLiteral("透過する"), [this] { fSurface.ToggleTransparent(); });
        clear->setCheckable(true);
        clear->setChecked(image && image->TransParent);
        menu.addSeparator();
        break;
    }
    case okField: {
        auto* field = dynamic_cast<TPriField*>(object);
        const bool text = field && field->FieldState == fsText;
        add(QStringLiteral("カテゴリ編集"), [this, object] { fSurface.EditFieldCategory(object); });
        add(
            QStringLiteral("文字列編集"), [this, object] { fSurface.EditText(object); }, text);
        add(
            QStringLiteral("フォント編集"), [this, object] { fSurface.EditFont(object); }, text);
        break;
    }
    case okShape: add(QStringLiteral("描画スタイル変更"), [this, object] { fSurface.EditPenBrush(object, 0); }); break;
    case okLine: add(QStringLiteral("描画スタイル変更"), [this, object] { fSurface.EditPenBrush(object, 1); }); break;
    case okPortal:
        add(QStringLiteral("段数変更"), [this, object] { fSurface.EditPortal(object); });
        menu.addSeparator();
        add(QStringLiteral("描画スタイル変更"), [this, object] { fSurface.EditPenBrush(object, 0); });
        break;
    case okCarendar:
        add(QStringLiteral("カレンダー修正"), [this, object] { fSurface.EditCarendar(object); });
        menu.addSeparator();
        break;
    default: break;
    }
}

void TObjectMenus::AddPageItems(QMenu& menu) {
    const bool hasBack = !fSurface.BackObject.IsEmpty();
    menu.addAction(QStringLiteral("背景変更"), this, [this] {
        fSurface.ChangeBackground();
        Done();
    });
    // Without a picture there is nothing to turn.
    menu.addAction(QStringLiteral("背景回転編集"), this,
                   [this] {
                       if (RotateBackground) RotateBackground();
                       Done();
                   })
        ->setEnabled(hasBack && bool(RotateBackground));
    menu.addAction(QStringLiteral("背景消去"), this,
                   [this] {
                       fSurface.EraseBackground();
                       Done();
                   })
        ->setEnabled(hasBack);
    menu.addAction(fSurface.BackObject.FVisible ? QStringLiteral("背景非表示") : QStringLiteral("背景表示"), this,
                   [this] {
                       fSurface.ToggleBackground();
                       Done();
                   })
        ->setEnabled(hasBack);
    menu.addSeparator();
    menu.addAction(QStringLiteral("位置揃え"), this,
                   [this] {
                       fSurface.AlignObjects();
                       Done();
                   })
        ->setEnabled(fSurface.HasVisibleObjects());
}

std::unique_ptr<QMenu> TObjectMenus::MenuFor(TPriBase* object) {
    auto menu = std::make_unique<QMenu>(fParent);
    if (object && object->LockCheck) {
        menu->addAction(QStringLiteral("ロック解除"), this, [this] {
            fSurface.SetLock(false);
            Done();
        });
        return menu;
    }
    AddHead(*menu);
    if (!object) {
        AddPageItems(*menu);
        return menu;
    }
    AddKindItems(*menu, object);
    AddArrangement(*menu, object);
    return menu;
}

void TObjectMenus::Popup(TPriBase* object, QPoint globalPos) {
    std::unique_ptr<QMenu> menu = MenuFor(object);
    menu->exec(globalPos);
}
