#pragma once

#include "app/AppDialogs.h"

#include <QPointer>
#include <QWidget>

// The dialogs of the desktop, parented to the main window.
class TQtAppDialogs : public TAppDialogs {
public:
    explicit TQtAppDialogs(QWidget* parent = nullptr) : fParent(parent) {}
    void SetParent(QWidget* parent) { fParent = parent; }

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text) override;
    TYesNoCancel AskYesNoCancel(const QString& text) override;
    QString AskOpenFile(const QString& folder, const QString& filter) override;
    bool AskSaveName(QString& name, const std::function<bool(const QString&)>& accept) override;
    QString AskSaveFile(const QString& folder, const QString& filter, const QString& suffix) override;
    QString AskSaveFileNamed(const QString& folder, const QString& name, const QString& filter,
                             const QString& suffix) override;
    TTemplateChoice ChooseTemplate(const QString& appPath) override;
    bool EditSettings(TDisplaySettings& settings) override;
    void ShowVersion() override;

private:
    QPointer<QWidget> fParent;
};
