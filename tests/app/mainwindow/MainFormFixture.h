#pragma once

#include "app/AppDialogs.h"
#include "app/DisplaySettings.h"
#include "app/mainwindow/PrintMainForm.h"
#include "document/OutMessage.h"
#include "platform/DialogLibrary.h"
#include "print/PrintPreview.h"
#include "support/FixedPrinter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <optional>
#include <tuple>
#include <gtest/gtest.h>

// Dialogs that answer from a script and remember what they were asked.
class TFakeDialogs : public TAppDialogs {
public:
    QStringList Messages;
    QStringList Questions;
    std::deque<bool> Answers; // Yes/No in order; No once they run out
    QString OpenAnswer;
    int OpenCalls = 0;
    std::deque<QString> SaveNames; // typed names, tried in order; cancel once they run out
    int SaveDialogs = 0;
    TTemplateChoice Template;
    int TemplateCalls = 0;

    void ShowMessage(const QString& text) override { Messages << text; }
    bool AskYesNo(const QString& text) override {
        Questions << text;
        if (Answers.empty()) return false;
        const bool yes = Answers.front();
        Answers.pop_front();
        return yes;
    }
    TYesNoCancel AskYesNoCancel(const QString& text) override {
        return AskYesNo(text) ? TYesNoCancel::Yes : TYesNoCancel::No;
    }
    QString AskOpenFile(const QString&, const QString&) override {
        ++OpenCalls;
        return OpenAnswer;
    }
    bool AskSaveName(QString& name, const std::function<bool(const QString&)>& accept) override {
        ++SaveDialogs;
        while (!SaveNames.empty()) {
            const QString typed = SaveNames.front();
            SaveNames.pop_front();
            if (accept(typed)) {
                name = typed;
                return true;
            }
        }
        return false;
    }
    QString SaveFileAnswer;
    int SaveFileCalls = 0;
    QString AskSaveFile(const QString&, const QString&, const QString&) override {
        ++SaveFileCalls;
        return SaveFileAnswer;
    }
    QString SaveFileProposed; // the folder and name the save dialog offered
    QString AskSaveFileNamed(const QString& folder, const QString& name, const QString& f, const QString& s) override {
        SaveFileProposed = QDir(folder).filePath(name);
        return AskSaveFile(folder, f, s);
    }
    TTemplateChoice ChooseTemplate(const QString&) override {
        ++TemplateCalls;
        return Template;
    }
    bool EditSettings(TDisplaySettings&) override { return false; }
    void ShowVersion() override {}
};

// The packs: only the start choice and the font list answer.
class TFakeLibrary : public TDialogLibrary {
public:
    int StartChoice = 0;
    int StartCalls = 0;
    QStringList Faces{QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ Ｐゴシック")};

    TDlgAnswer StartCheckDlg(int32_t& choice, const QString&, const QString&) override {
        ++StartCalls;
        choice = StartChoice;
        return {true, uint16_t(StartChoice != 0)};
    }
    // Record settings: answers with these when set.
    std::optional<std::tuple<QString, QString, int>> RecordAnswer;
    TDlgAnswer RecordSettingDlg(QString& mainFile, QString& detailFile, int32_t& mode) override {
        if (!RecordAnswer) return {true, 0};
        std::tie(mainFile, detailFile, mode) = *RecordAnswer;
        return {true, 1};
    }
    TDlgAnswer SaveTWAINImageDlg(int32_t&) override { return {}; }
    TDlgAnswer PositionEditDlg(TPackObjectList&) override { return {}; }
    TDlgAnswer EditCategory(const QString&, int32_t, int32_t&, QString&) override { return {}; }
    TDlgAnswer StringEditDlg(const QString&, QString&) override { return {}; }
    TDlgAnswer FontEditDlg(int32_t, TPriLabel*, const QString&, QString&, int32_t&, int32_t&, int32_t&) override {
        return {};
    }
    TDlgAnswer CarendarSetDlg(TPriCarendar*) override { return {}; }
    TDlgAnswer PenBrushSetDlg(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t) override {
        return {};
    }
    TDlgAnswer PortalSettingDlg(int32_t&, const QString&, QString&, const QStringList&) override { return {}; }
    // Paper dialogs: the paper handed back when set, and what each call was given.
    std::optional<TPriPaper> PaperAnswer;
    TDlgAnswer PaperNewSettingDlg(TPriPaper* paper, int32_t) override {
        ++PaperNewCalls;
        if (!PaperAnswer) return {true, 0};
        *paper = *PaperAnswer;
        return {true, 1};
    }
    int PaperNewCalls = 0;
    struct TPrintPaperCall {
        QString Path;
        int A = 0;
        int B = 0;
    };
    QList<TPrintPaperCall> PrintPaperCalls;
    TDlgAnswer PrintPaperSettingDlg(const QString& path, TPriPaper* paper, int32_t& a, int32_t& b, int32_t) override {
        PrintPaperCalls.append({path, a, b});
        if (!PaperAnswer) return {true, 0};
        *paper = *PaperAnswer;
        a = PrintPaperCalls.size();
        b = 77;
        return {true, 1};
    }
    // The preview: what it was shown, and whether the user asks to print.
    bool PreviewPrints = false;
    int PreviewPages = -1;
    int PreviewFiles = -1;
    QSize PreviewSheet;
    bool PreviewSingleSeat = false;
    TDlgAnswer PrintPreviewDlg(TPrintPreview* pages, int32_t, int32_t, int32_t, int32_t, int32_t width, int32_t height,
                               QStringList& files, int32_t, int32_t, bool single, int32_t) override {
        PreviewPages = pages ? pages->PageCount() : -1;
        PreviewFiles = int(files.size());
        PreviewSheet = QSize(width, height);
        PreviewSingleSeat = single;
        return {true, uint16_t(PreviewPrints ? 1 : 0)};
    }
    TDlgAnswer GetTrueType(QStringList& items, int32_t, bool) override {
        items = Faces;
        return {true, 1};
    }
};

// A main window that counts the keys offered to the editor and may claim some.
class TTestMainForm : public TPrintMainForm {
public:
    using TPrintMainForm::TPrintMainForm;
    QList<int> Offered;
    std::function<bool(int key, bool ctrl)> Claim;

protected:
    bool OfferKey(int key, bool shift, bool ctrl) override {
        Offered << key;
        return Claim ? Claim(key, ctrl) : TPrintMainForm::OfferKey(key, shift, ctrl);
    }
};

// An application folder of its own: messages, start pictures and a few shipped templates.
struct TMainFormFixture {
    QTemporaryDir Dir;
    QString App;
    TFakeDialogs Dialogs;
    TFakeLibrary Library;
    std::unique_ptr<TTestMainForm> Form;

    TMainFormFixture() {
        App = Dir.path() + QLatin1Char('/');
        const QString shipped = QStringLiteral(KOMOREBI_APP_DIR) + QLatin1Char('/');
        for (const char* file :
             {"settings/outmessage.txt", "settings/stImage.ims", "HolidayList/holiday.dat",
              "Template/A4/年間カレンダー.tda", "Template/Meishi/名刺カレンダー.tda", "Template/Hagaki/年賀状.tda"}) {
            const QString rel = QString::fromUtf8(file);
            QDir().mkpath(QFileInfo(App + rel).absolutePath());
            QFile::copy(shipped + rel, App + rel);
        }
        QDir().mkpath(App + QStringLiteral("UserData"));
    }

    QString Template(const char* rel) const { return App + QStringLiteral("Template/") + QString::fromUtf8(rel); }
    QString UserData(const QString& name) const { return App + QStringLiteral("UserData/") + name; }
    QString Settings() const { return App + QStringLiteral("settings/settings.ini"); }

    TTestMainForm& Make() {
        TMainFormOptions options;
        options.Paths = TAppPaths::ForFolder(App);
        options.Dialogs = &Dialogs;
        options.Library = &Library;
        options.PrinterFactory = [] {
            auto printer = std::make_unique<TFixedPrinter>();
            printer->Metrics = TFixedPrinter::A4At600();
            return printer;
        };
        Form = std::make_unique<TTestMainForm>(options);
        Form->resize(1000, 700);
        return *Form;
    }

    // A window started with the A4 year calendar as its file.
    TTestMainForm& Started(const char* rel = "A4/年間カレンダー.tda") {
        TTestMainForm& form = Make();
        EXPECT_TRUE(form.FormCreate(Template(rel)));
        return form;
    }

    // A template through the start choice, as a user starting a new calendar.
    TTestMainForm& StartedFromChooser(const char* rel = "A4/年間カレンダー.tda", int year = 2027, int month = 4) {
        Library.StartChoice = 1;
        Dialogs.Template = {TTemplateChoice::tcChosen, Template(rel), year, month};
        TTestMainForm& form = Make();
        EXPECT_TRUE(form.FormCreate());
        return form;
    }

    QString Message(int n) const { return Form->Messages().GetMessage(n); }
};
