#include "app/QtAppDialogs.h"

#include "app/DisplaySettings.h"
#include "app/dialogs/MainSettingDlg.h"
#include "app/dialogs/CarendarSelectDlg.h"
#include "app/dialogs/SaveTempLateDlg.h"
#include "app/dialogs/VersionDlg.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString& Title() {
    static const QString title = QStringLiteral("こもれびごよみ印刷");
    return title;
}

} // namespace

void TQtAppDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::Information, Title(), text, QMessageBox::NoButton, fParent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool TQtAppDialogs::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::NoButton, fParent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

TYesNoCancel TQtAppDialogs::AskYesNoCancel(const QString& text) {
    QMessageBox box(QMessageBox::Question, Title(), text, QMessageBox::NoButton, fParent);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    // Escape and the close button leave everything as it was.
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return TYesNoCancel::Yes;
    return box.clickedButton() == no ? TYesNoCancel::No : TYesNoCancel::Cancel;
}

QString TQtAppDialogs::AskOpenFile(const QString& folder, const QString& filter) {
    QFileDialog dialog(fParent, QStringLiteral("開く"), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("tda"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

QString TQtAppDialogs::AskSaveFile(const QString& folder, const QString& filter, const QString& suffix) {
    return AskSaveFileNamed(folder, QString(), filter, suffix);
}

QString TQtAppDialogs::AskSaveFileNamed(const QString& folder, const QString& name, const QString& filter,
                                        const QString& suffix) {
    QFileDialog dialog(fParent, QStringLiteral("名前を付けて保存"), folder, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(suffix);
    if (!name.isEmpty()) dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

bool TQtAppDialogs::AskSaveName(QString& name, const std::function<bool(const QString&)>& accept) {
    TSaveTempLateDlg dialog(fParent);
    dialog.SetFileName(name);
    dialog.OnAccept = accept;
    if (dialog.exec() != QDialog::Accepted) return false;
    name = dialog.FileName();
    return true;
}

TTemplateChoice TQtAppDialogs::ChooseTemplate(const QString& appPath) {
    TTemplateChoice choice;
    TCarendarSelectDlg dialog(appPath, fParent);
    dialog.ShowMessage = [this](const QString& text) { ShowMessage(text); };
    if (!dialog.PrepareLists()) {
        choice.Result = TTemplateChoice::tcPrepareFailed;
        return choice;
    }
    if (dialog.exec() != QDialog::Accepted) return choice;
    choice.Result = TTemplateChoice::tcChosen;
    choice.FilePath = dialog.FilePath();
    choice.Year = dialog.Year();
    choice.Month = dialog.Month();
    return choice;
}

bool TQtAppDialogs::EditSettings(TDisplaySettings& settings) {
    return TMainSettingDlg::Edit(fParent, settings);
}

void TQtAppDialogs::ShowVersion() {
    TVersionDlg dialog(fParent);
    dialog.exec();
}
