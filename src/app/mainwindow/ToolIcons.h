#pragma once

#include <QIcon>

enum TToolIcon {
    tiNone,
    tiNew,
    tiOpen,
    tiSave,
    tiScan,
    tiPreview,
    tiPrint,
    tiCopy,
    tiCut,
    tiPaste,
    tiDelete,
    tiUndo,
    tiRedo,
    tiArrow,
    tiText,
    tiImage,
    tiField,
    tiRect,
    tiRoundRect,
    tiEllipse,
    tiLine,
    tiPortal,
    tiCalendar,
    tiSideBar
};

// The tool bar pictures, drawn as vector shapes so they stay sharp at any screen density.
QIcon ToolIcon(TToolIcon kind);
