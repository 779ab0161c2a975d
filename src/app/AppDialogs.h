#pragma once

#include <QString>
#include <functional>

struct TDisplaySettings;

// What the template chooser answered.
struct TTemplateChoice {
    enum TResult { tcCancelled, tcChosen, tcPrepareFailed };
    TResult Result = tcCancelled;
    QString FilePath;
    int Year = -1;
    int Month = -1;
};

// What a question with キャンセル answered.
enum class TYesNoCancel { Yes, No, Cancel };

// Every message box, question and file dialog the main window shows. The program uses the Qt
// dialogs; tests hand in a fake that answers from a script.
class TAppDialogs {
public:
    virtual ~TAppDialogs() = default;

    // A message box with one OK button.
    virtual void ShowMessage(const QString& text) = 0;
    // A Yes/No question; true only for Yes.
    virtual bool AskYesNo(const QString& text) = 0;
    // はい, いいえ and キャンセル; Escape and closing the box answer キャンセル.
    virtual TYesNoCancel AskYesNoCancel(const QString& text) = 0;
    // The open dialog for one file; empty when cancelled.
    virtual QString AskOpenFile(const QString& folder, const QString& filter) = 0;
    // The save-name dialog. accept is asked on every OK and keeps the dialog open by answering
    // false (it has told the user why); false when the user cancelled.
    virtual bool AskSaveName(QString& name, const std::function<bool(const QString&)>& accept) = 0;
    // The save dialog for a file of the suffix; empty when cancelled.
    virtual QString AskSaveFile(const QString& folder, const QString& filter, const QString& suffix) {
        (void)folder, (void)filter, (void)suffix;
        return QString();
    }
    // The save dialog with a file name proposed in the folder; empty when cancelled. Without a
    // dialog of its own the plain save dialog stands in.
    virtual QString AskSaveFileNamed(const QString& folder, const QString& name, const QString& filter,
                                     const QString& suffix) {
        (void)name;
        return AskSaveFile(folder, filter, suffix);
    }
    // The calendar start dialog: a template, a year and a month.
    virtual TTemplateChoice ChooseTemplate(const QString& appPath) = 0;
    // The settings dialog; true on OK with the settings changed in place.
    virtual bool EditSettings(TDisplaySettings& settings) = 0;
    virtual void ShowVersion() = 0;
};
