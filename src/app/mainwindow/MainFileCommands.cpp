// New, Open, Reload, Save and Save As of the main window, the close guard and the recent files.
#include "app/mainwindow/PrintMainForm.h"

#include "app/AppDialogs.h"
#include "app/dialogs/CarendarSelectDlg.h"
#include "app/dialogs/SaveTempLateDlg.h"
#include "app/mainwindow/PageView.h"
#include "document/OutMessage.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <exception>

bool TPrintMainForm::CloseGuard(TGuard kind, const QString& question) {
    if (!FDocument) return true;
    if (kind == TGuard::DiscardQuestion) return fDialogs->AskYesNo(question);
    switch (fDialogs->AskYesNoCancel(question)) {
    case TYesNoCancel::Yes:
        // Without the save the caller must not throw the work away.
        return SaveFile();
    case TYesNoCancel::No: return true;
    case TYesNoCancel::Cancel: break;
    }
    return false;
}

bool TPrintMainForm::NewFile() {
    if (!CloseGuard(TGuard::SaveQuestion, FMessages->GetMessage(10))) return false;
    const TTemplateChoice c = fDialogs->ChooseTemplate(fOptions.Paths.AppPath());
    if (c.Result == TTemplateChoice::tcPrepareFailed) {
        fDialogs->ShowMessage(QStringLiteral("起動ファイル読み込みエラー"));
        return false;
    }
    if (c.Result != TTemplateChoice::tcChosen) return false;
    const int oldYear = FStartYear, oldMonth = FStartMonth;
    FStartYear = c.Year;
    FStartMonth = c.Month;
    QString reason;
    if (!OpenDocument(c.FilePath, false, &reason)) {
        // The document on screen stays as it was.
        FStartYear = oldYear;
        FStartMonth = oldMonth;
        fDialogs->ShowMessage(QStringLiteral("起動ファイル読み込みエラー\n") + CannotOpenText(c.FilePath, reason));
        return false;
    }
    FUserDataCheck = false;
    SetTitleFrom(c.FilePath);
    AfterLoadLayout();
    return true;
}

QString TPrintMainForm::SelectOpenFile() {
    const QString file =
        fDialogs->AskOpenFile(fOptions.Paths.UserDataFolder(), QStringLiteral("テンプレートファイル(*.tda)"));
    if (file.isEmpty() || !QFileInfo(file).isFile()) return QString();
    return file;
}

bool TPrintMainForm::OpenFile() {
    if (!CloseGuard(TGuard::SaveQuestion, FMessages->GetMessage(10))) return false;
    const QString file = SelectOpenFile();
    if (file.isEmpty()) return false;
    return LoadIntoDocument(file);
}

bool TPrintMainForm::OpenFileNamed(const QString& file) {
    if (!CloseGuard(TGuard::SaveQuestion, FMessages->GetMessage(10))) return false;
    if (!QFileInfo(file).isFile()) {
        fDialogs->ShowMessage(CannotOpenText(file, QStringLiteral("ファイルがありません")));
        fRecent.Remove(file);
        RebuildRecentMenu();
        return false;
    }
    return LoadIntoDocument(file);
}

bool TPrintMainForm::LoadIntoDocument(const QString& file) {
    const auto [year, month] = StartDateFor(file);
    if (!FDocument) {
        const int oldYear = FStartYear, oldMonth = FStartMonth;
        FStartYear = year;
        FStartMonth = month;
        QString reason;
        if (!OpenDocument(file, false, &reason)) {
            FStartYear = oldYear;
            FStartMonth = oldMonth;
            fDialogs->ShowMessage(CannotOpenText(file, reason));
            return false;
        }
    } else {
        if (!ReadIntoSurface(file)) return false;
        FStartYear = year;
        FStartMonth = month;
        FDocument->ApplyStartMonth(year, month);
        FDocument->ApplySender(fSettings.Sender);
    }
    FUserDataCheck = IsUserDataFile(file);
    SetTitleFrom(file);
    RememberFile(file);
    AfterLoadLayout();
    return true;
}

// Reads a file into the current surface; on failure one message names the file and the reason,
// and the document stays as it was.
bool TPrintMainForm::ReadIntoSurface(const QString& file) {
    QString reason;
    bool loaded = false;
    try {
        loaded = FDocument->LoadFromFile(file, 0, &reason);
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    if (!loaded) {
        fDialogs->ShowMessage(CannotOpenText(file, reason));
        return false;
    }
    if (!reason.isEmpty()) fDialogs->ShowMessage(reason);
    return true;
}

void TPrintMainForm::AfterLoadLayout() {
    if (!FDocument) return;
    FDocument->ApplyPaperToPrinter();
    fPageView->Relayout();
    ShowObjectFont(nullptr);
}

bool TPrintMainForm::ReloadFile() {
    if (!FDocument || !QFileInfo(FDocument->TempLatePath).isFile()) return false;
    if (!CloseGuard(TGuard::DiscardQuestion, FMessages->GetMessage(9))) return false;
    // The file is read whole before the document changes, so a failed reload keeps the work.
    const QString file = FDocument->TempLatePath;
    if (!ReadIntoSurface(file)) return false;
    // Read again, a template keeps the dates it was opened with.
    FDocument->ApplyStartMonth(FStartYear, FStartMonth);
    FDocument->ApplySender(fSettings.Sender);
    AfterLoadLayout();
    return true;
}

bool TPrintMainForm::SaveFile() {
    if (!FDocument) return false;
    if (!FUserDataCheck || !QFileInfo(FDocument->TempLatePath).isFile()) return SaveFileAs();
    if (!WriteDocument(FDocument->TempLatePath)) return false;
    fDialogs->ShowMessage(FMessages->GetMessage(6));
    RememberFile(FDocument->TempLatePath);
    return true;
}

bool TPrintMainForm::WriteDocument(const QString& file) {
    QString reason;
    bool saved = false;
    try {
        saved = FDocument->SaveToFile(file, 0, &reason);
    } catch (const std::exception& e) {
        reason = QString::fromLocal8Bit(e.what());
    }
    if (!saved) {
        QString text = QStringLiteral("保存に失敗しました\n%1").arg(QDir::toNativeSeparators(file));
        if (!reason.isEmpty()) text += QStringLiteral("\n（%1）").arg(reason);
        fDialogs->ShowMessage(text);
    }
    return saved;
}

bool TPrintMainForm::SaveFileAs() {
    if (!FDocument) return false;
    QString name = FUserDataCheck ? QFileInfo(FDocument->TempLatePath).completeBaseName() : QString();
    const auto accept = [this](const QString& typed) {
        const QString problem = TSaveTempLateDlg::NameProblem(typed);
        if (problem.isEmpty()) return true;
        fDialogs->ShowMessage(problem);
        return false;
    };
    if (!fDialogs->AskSaveName(name, accept)) return false;
    // The dialog checked the name; a fake or a future caller may not have.
    if (!TSaveTempLateDlg::NameProblem(name).isEmpty()) return false;
    const QString folder = fOptions.Paths.UserDataFolder();
    if (!QDir().mkpath(folder)) {
        fDialogs->ShowMessage(QStringLiteral("保存に失敗しました\n%1").arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    const QString target = folder + name + QStringLiteral(".tda");
    if (QFileInfo::exists(target) &&
        !fDialogs->AskYesNo(QStringLiteral("既にファイルが存在します。\n上書き保存しますか？")))
        return false;
    if (!WriteDocument(target)) return false;
    FUserDataCheck = true;
    SetTitleFrom(name, true);
    fDialogs->ShowMessage(FMessages->GetMessage(6));
    RememberFile(target);
    return true;
}

bool TPrintMainForm::IsUserDataFile(const QString& file) const {
    return QFileInfo(file).isFile() && !fOptions.Paths.IsUnderShippedTemplates(file);
}

std::pair<int, int> TPrintMainForm::StartDateFor(const QString& file) const {
    // Its calendars and year fields are stored relative to January: undated they would read 1, 2, 3.
    if (fOptions.Paths.IsUnderShippedTemplates(file))
        return {TCarendarSelectDlg::DefaultYear(), TCarendarSelectDlg::kDefaultMonth};
    return {-1, -1};
}

void TPrintMainForm::SetTitleFrom(const QString& nameOrFile, bool isPlainName) {
    fTitleName = isPlainName ? nameOrFile : QFileInfo(nameOrFile).completeBaseName();
    UpdateTitle();
}

void TPrintMainForm::UpdateTitle() {
    if (fTitleName.isEmpty()) {
        setWindowTitle(AppTitle());
        return;
    }
    const bool modified = FDocument && FDocument->IsModified();
    setWindowTitle(AppTitle() + QStringLiteral(" - ") + (modified ? QStringLiteral("*") : QString()) + fTitleName);
}

// ---- recent files

void TPrintMainForm::RememberFile(const QString& file) {
    fRecent.Add(file);
    RebuildRecentMenu();
    // Written at once when the settings file exists; otherwise with the settings at the end, so
    // that a first session does not make a settings file that shows the rulers.
    if (QFileInfo(fOptions.Paths.SettingsFile()).isFile()) SaveRecentFiles();
}

void TPrintMainForm::SaveRecentFiles() {
    TIniFile ini(fOptions.Paths.SettingsFile());
    fRecent.Write(ini);
    ini.UpdateFile();
}

void TPrintMainForm::RebuildRecentMenu() {
    if (!fRecentMenu) return;
    fRecentMenu->clear();
    const QStringList items = fRecent.Items();
    int n = 0;
    for (const QString& file : items) {
        ++n;
        QAction* a = fRecentMenu->addAction(
            QStringLiteral("&%1 %2").arg(n).arg(QFileInfo(file).completeBaseName().replace(QLatin1Char('&'), "&&")));
        a->setToolTip(QDir::toNativeSeparators(file));
        a->setStatusTip(QDir::toNativeSeparators(file));
        connect(a, &QAction::triggered, this,
                [this, file] { Guarded("ファイルを開くこと", [&] { OpenFileNamed(file); }); });
    }
    fRecentMenu->setEnabled(!items.isEmpty());
}
