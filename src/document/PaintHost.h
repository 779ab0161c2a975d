#pragma once

#include <QPoint>
#include <QString>

class TPriBase;

// What the surface asks of the window around it. The defaults do nothing: a surface has this
// host until the main window sets itself, so it works on its own (tests) and never asks whether
// it has one. Enabled states follow the document's signals, not the host.
class TPaintHost {
public:
    virtual ~TPaintHost() = default;

    virtual void ShowPositionText(const QString& text) {}
    virtual void PointerMoved(QPoint viewPoint) {}
    virtual void CreationFinished() {}
    virtual void SelectedTextObject(TPriBase* object) {}
    // A message box with one OK button.
    virtual void ShowMessage(const QString& text) {}
    // A Yes/No question; only Yes acts.
    virtual bool AskYesNo(const QString& text) { return false; }
    // The context menu of an object, or of the page without one, at a screen position.
    virtual void ShowContextMenu(TPriBase* object, QPoint globalPos) {}
    // A drag reached the edge of the visible part: scroll so that the view point comes into sight.
    virtual void AutoScroll(QPoint viewPoint) {}
    // A picture file chosen in the file dialog with the picture filter, starting in the folder;
    // empty when cancelled.
    virtual QString AskPictureFile(const QString& startFolder) { return QString(); }
};
