#pragma once

class QAction;

// The main window's commands, each made once by the window and reached by its member: the menus,
// the tool bars, the start panel and the enabled states all hold the same action. The names are
// the actions' object names.
struct TMainActions {
    // ファイル
    QAction* Action_NewFile = nullptr;
    QAction* Action_Open = nullptr;
    QAction* MenuItem_ReLoad = nullptr;
    QAction* MenuItem_NameSave = nullptr;
    QAction* Action_Save = nullptr;
    QAction* MenuItem_PrintRecordSet = nullptr;
    QAction* MenuItem_PaperSetting = nullptr;
    QAction* Action_Twain = nullptr;
    QAction* Action_Preview = nullptr;
    QAction* MenuItem_PrintSetting = nullptr;
    QAction* Action_Print = nullptr;
    QAction* Action_ExportPdf = nullptr;
    QAction* Action_Exit = nullptr;
    // 編集
    QAction* Action1_Undo = nullptr;
    QAction* Action1_Redo = nullptr;
    QAction* Action_Cut = nullptr;
    QAction* Action_Copy = nullptr;
    QAction* Action_Paste = nullptr;
    QAction* Action_Delete = nullptr;
    QAction* Action_AllSelect = nullptr;
    QAction* Action_PrevForcus = nullptr;
    QAction* Action_NextForcus = nullptr;
    // 表示
    QAction* MenuItem_Glid = nullptr;
    QAction* MenuItem_Margin = nullptr;
    QAction* MenuItem_rooler = nullptr;
    QAction* MenuItem_BltSame = nullptr;
    QAction* MenuItem_200 = nullptr;
    QAction* MenuItem_300 = nullptr;
    QAction* MenuItem_BltStretch = nullptr;
    QAction* menuItem_ToolBar = nullptr;
    // 設定, ヘルプ
    QAction* MenuItem_Setting = nullptr;
    QAction* MenuItem_FamilyDays = nullptr;
    QAction* MenuItem_Version = nullptr;
    // The tools: what a click on the page makes.
    QAction* Action_AddNone = nullptr;
    QAction* Action_AddText = nullptr;
    QAction* Action_AddImage = nullptr;
    QAction* Action_AddField = nullptr;
    QAction* Action_AddShape = nullptr;
    QAction* Action_AddRoundShape = nullptr;
    QAction* Action_AddEllipse = nullptr;
    QAction* Action_AddLine = nullptr;
    QAction* Action_AddPortal = nullptr;
    QAction* Action_AddCarendar = nullptr;
};
