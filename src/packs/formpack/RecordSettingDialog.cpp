#include "RecordSettingDialog.h"

#include "RecordPreview.h"

#include "merge/RecordUnit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

constexpr int kModeCount = 6;
// The file and mode choices keep the width their wrapped texts were written for.
constexpr int kChoicesWidth = 540;

// Every file of the set with its record count, "なし" first; a name the set no longer holds
// stays choosable so that confirming does not drop it unnoticed.
void FillFiles(QComboBox* box, const TRecordUnit& records, const QString& current) {
    box->addItem(QStringLiteral("（なし）"), QString());
    std::vector<const TRecordFile*> files;
    for (int i = 0; i < records.Count(); ++i)
        files.push_back(records.File(i));
    // Folder listings come in no useful order; names in code point order are at least stable.
    std::sort(files.begin(), files.end(),
              [](const TRecordFile* a, const TRecordFile* b) { return a->FileName() < b->FileName(); });
    for (const TRecordFile* file : files) {
        box->addItem(QStringLiteral("%1（%2 件）").arg(file->FileName()).arg(file->Count()), file->FileName());
    }
    for (auto it = records.Failures().cbegin(); it != records.Failures().cend(); ++it)
        box->addItem(QStringLiteral("%1（読み込めません）").arg(it.key()), it.key());
    int index = box->findData(current);
    if (index < 0) {
        box->addItem(QStringLiteral("%1（フォルダにありません）").arg(current), current);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

} // namespace

QString TRecordSettingDialog::ModeCaption(int mode) {
    static const char16_t* const captions[kModeCount] = {
        u"通常印刷",
        u"明細付き",
        u"1レコード1枚",
        u"1面1レコード",
        u"1面1レコード明細付き",
        u"1レコード1枚（先頭から）",
    };
    return mode >= 0 && mode < kModeCount ? QString::fromUtf16(captions[mode]) : QString();
}

QString TRecordSettingDialog::ModeDescription(int mode) {
    static const char16_t* const texts[kModeCount] = {
        u"レコードを使わず、レイアウトをそのまま用紙の全部の面に印刷します。",
        u"メインファイルの1レコードごとにページを作り、同じキーの明細を表（ポータル）の行に入れます。"
        u"明細が表に入りきらないときは次のページに続けます。",
        u"メインファイルの1レコードごとに用紙を1枚使い、全部の面に同じレコードを印刷します。"
        u"1枚目は指定した開始位置から印刷します。",
        u"メインファイルのレコードを、1面に1レコードずつ順に並べて印刷します。1枚目は指定した開始位置から印刷します。",
        u"メインファイルのレコードを1面に1レコードずつ並べ、各面の表（ポータル）にそのレコードの明細を入れます。",
        u"「1レコード1枚」と同じですが、開始位置を指定せず、どの用紙も先頭の面から印刷します。",
    };
    return mode >= 0 && mode < kModeCount ? QString::fromUtf16(texts[mode]) : QString();
}

TRecordSettingDialog::TRecordSettingDialog(const TRecordUnit& records, const TFieldUnit& fields,
                                           const QString& mainFile, const QString& detailFile, int printMode,
                                           QWidget* parent)
    : QDialog(parent), fMain(new QComboBox(this)), fDetail(new QComboBox(this)), fModes(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("印刷レコード設定"));
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout);

    auto* filesBox = new QGroupBox(QStringLiteral("レコードファイル"), this);
    auto* files = new QFormLayout(filesBox);
    FillFiles(fMain, records, mainFile);
    FillFiles(fDetail, records, detailFile);
    files->addRow(QStringLiteral("メインファイル(&M):"), fMain);
    files->addRow(QStringLiteral("明細ファイル(&D):"), fDetail);
    if (records.Count() == 0 && records.Failures().isEmpty()) {
        auto* none =
            new QLabel(QStringLiteral("recordfile フォルダにレコードファイル（.CSV / .TAB）がありません。"), filesBox);
        none->setWordWrap(true);
        files->addRow(none);
    }
    if (!records.Failures().isEmpty()) {
        QStringList lines;
        for (auto it = records.Failures().cbegin(); it != records.Failures().cend(); ++it)
            lines.append(QStringLiteral("%1：%2").arg(it.key(), it.value()));
        auto* damaged =
            new QLabel(QStringLiteral("読み込めないレコードファイルがあります。\n") + lines.join(u'\n'), filesBox);
        damaged->setWordWrap(true);
        damaged->setObjectName(QStringLiteral("damagedFiles"));
        files->addRow(damaged);
    }
    // The wrapped descriptions set the dialog's height; spare height goes to them, not to the files.
    filesBox->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    layout->addWidget(filesBox);

    auto* modesBox = new QGroupBox(QStringLiteral("印刷方法"), this);
    auto* modes = new QVBoxLayout(modesBox);
    const int current = printMode >= 0 && printMode < kModeCount ? printMode : 0;
    for (int mode = 0; mode < kModeCount; ++mode) {
        auto* button = new QRadioButton(QStringLiteral("&%1  %2").arg(mode).arg(ModeCaption(mode)), modesBox);
        fModes->addButton(button, mode);
        button->setChecked(mode == current);
        auto* text = new QLabel(ModeDescription(mode), modesBox);
        text->setWordWrap(true);
        text->setContentsMargins(24, 0, 0, 6);
        text->setBuddy(button);
        modes->addWidget(button);
        modes->addWidget(text);
    }
    layout->addWidget(modesBox, 1);

    // The chosen files beside the choices, so the user sees to whom the cards go.
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("recordTabs"));
    auto* mainView = new TRecordPreview(records, fields, tabs);
    auto* detailView = new TRecordPreview(records, fields, tabs);
    tabs->addTab(mainView, QStringLiteral("メインファイル"));
    tabs->addTab(detailView, QStringLiteral("明細ファイル"));
    mainView->ShowFile(MainFile());
    detailView->ShowFile(DetailFile());
    connect(fMain, &QComboBox::currentIndexChanged, this, [this, tabs, mainView] {
        mainView->ShowFile(MainFile());
        tabs->setCurrentWidget(mainView);
    });
    connect(fDetail, &QComboBox::currentIndexChanged, this, [this, tabs, detailView] {
        detailView->ShowFile(DetailFile());
        tabs->setCurrentWidget(detailView);
    });
    columns->addWidget(tabs, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    outer->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Choose a file, look at it, choose how to print it.
    setTabOrder(fMain, fDetail);
    setTabOrder(fDetail, tabs);
    setTabOrder(tabs, mainView->Table());
    setTabOrder(mainView->Table(), detailView->Table());
    setTabOrder(detailView->Table(), fModes->button(current));
    fMain->setFocus();
    // Wrapped texts report their height for a narrower width; size the dialog for the real one.
    filesBox->setFixedWidth(kChoicesWidth);
    modesBox->setFixedWidth(kChoicesWidth);
    setMinimumWidth(kChoicesWidth + 360);
    resize(kChoicesWidth + 480, std::max(heightForWidth(kChoicesWidth + 480), sizeHint().height() / 2));
}

QString TRecordSettingDialog::MainFile() const {
    return fMain->currentData().toString();
}
QString TRecordSettingDialog::DetailFile() const {
    return fDetail->currentData().toString();
}
int TRecordSettingDialog::PrintMode() const {
    return fModes->checkedId();
}
