#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <memory>

class QMenu;
class QWidget;
class TPriBase;
class TPriPaint;

// The context menus of the page, of a locked object and of each object kind, built afresh from the
// surface's state each time one opens: which items are enabled or checked follows the selection,
// the clipboard, the current object and the background.
class TObjectMenus : public QObject {
public:
    explicit TObjectMenus(TPriPaint& surface, QWidget* parent = nullptr);
    ~TObjectMenus() override;

    // The menu for an object (its kind, or the locked menu) or for the page without one; owned by
    // the caller.
    std::unique_ptr<QMenu> MenuFor(TPriBase* object);
    // Shows the menu at a screen position and runs the chosen command.
    void Popup(TPriBase* object, QPoint globalPos);

    // Commands whose dialogs live with the window; without a handler their items are disabled.
    // Effect modes 0 trim, 1 RGB, 2 brightness, 3 turn.
    std::function<void(int mode)> EditImage;
    std::function<void()> RotateBackground;
    // After any command: the window refreshes its edit commands and font boxes.
    std::function<void()> Changed;

private:
    void AddHead(QMenu& menu);
    void AddArrangement(QMenu& menu, TPriBase* object);
    void AddKindItems(QMenu& menu, TPriBase* object);
    void AddPageItems(QMenu& menu);
    void Done();

    TPriPaint& fSurface;
    QWidget* fParent;
};
