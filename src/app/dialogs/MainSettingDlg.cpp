#include "app/dialogs/MainSettingDlg.h"

#include "app/DisplaySettings.h"
#include "merge/PostalCode.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The faces the template files name: offered beside the installed faces that stand in for them.
const char16_t* const kWindowsFaces[] = {u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック", u"ＭＳ Ｐ明朝", u"ＭＳ 明朝",
                                         u"ＭＳ ＵＩ ゴシック"};

QFrame* MakeSwatch(QWidget* parent) {
    auto* swatch = new QFrame(parent);
    swatch->setFrameShape(QFrame::Box);
    swatch->setFixedSize(64, 22); // a colour sample, not a layout cell
    swatch->setAutoFillBackground(true);
    return swatch;
}

} // namespace

TMainSettingDlg::TMainSettingDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("設定ダイアログ"));
    ColorPicker = [this](TColor current) -> std::optional<TColor> {
        const QColor picked = QColorDialog::getColor(ColorToQColor(current), this);
        if (!picked.isValid()) return std::nullopt;
        return QColorToColor(picked);
    };

    fTabs = new QTabWidget(this);
    auto* display = new QWidget(fTabs);
    auto* colours = new QGroupBox(QStringLiteral("設定色の変更"), display);
    auto* colourGrid = new QGridLayout(colours);
    const QString colourTexts[] = {QStringLiteral("グリッドの色"),   QStringLiteral("プリンタ余白線の色"),
                                   QStringLiteral("メインの背景色"), QStringLiteral("定規の背景色"),
                                   QStringLiteral("定規の目盛色"),   QStringLiteral("フォント色")};
    for (int i = 0; i < swCount; ++i) {
        fSwatches[i] = MakeSwatch(this);
        fColorButtons[i] = new QPushButton(colourTexts[i], this);
        // Enter always means OK, whichever colour button has the focus.
        fColorButtons[i]->setAutoDefault(false);
        connect(fColorButtons[i], &QPushButton::clicked, this, [this, i] { ChooseColor(TSwatch(i)); });
        if (i == swFont) continue;
        colourGrid->addWidget(fSwatches[i], i, 0);
        colourGrid->addWidget(fColorButtons[i], i, 1);
    }
    fRulerText = new QCheckBox(QStringLiteral("定規の数字を表示する"), colours);
    fRulerText->setChecked(FRulerTextCheck);
    connect(fRulerText, &QCheckBox::toggled, this, [this](bool on) { FRulerTextCheck = on; });
    colourGrid->addWidget(fRulerText, swCount, 0, 1, 2);

    auto* fontGroup = new QGroupBox(QStringLiteral("デフォルトフォント設定"), display);
    auto* fontGrid = new QGridLayout(fontGroup);
    fFontName = new QComboBox(fontGroup);
    fFontName->addItems(FaceNames());
    fFontSize = new QComboBox(fontGroup);
    fFontSize->addItems(SizeItems());
    auto* nameLabel = new QLabel(QStringLiteral("フォント名"), fontGroup);
    auto* sizeLabel = new QLabel(QStringLiteral("フォントサイズ"), fontGroup);
    nameLabel->setBuddy(fFontName);
    sizeLabel->setBuddy(fFontSize);
    fontGrid->addWidget(nameLabel, 0, 0);
    fontGrid->addWidget(fFontName, 0, 1);
    fontGrid->addWidget(sizeLabel, 1, 0);
    fontGrid->addWidget(fFontSize, 1, 1);
    fontGrid->addWidget(fSwatches[swFont], 2, 0);
    fontGrid->addWidget(fColorButtons[swFont], 2, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &TMainSettingDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TMainSettingDlg::reject);

    auto* displayLayout = new QVBoxLayout(display);
    displayLayout->addWidget(colours);
    displayLayout->addWidget(fontGroup);
    fTabs->addTab(display, QStringLiteral("表示"));
    fTabs->addTab(MakeSenderTab(), QStringLiteral("差出人"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fTabs);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget* order[] = {fColorButtons[swGrid],
                        fColorButtons[swMargin],
                        fColorButtons[swMain],
                        fColorButtons[swRulerBack],
                        fColorButtons[swRulerText],
                        fRulerText,
                        fFontName,
                        fFontSize,
                        fColorButtons[swFont],
                        ok,
                        cancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    const TColor initial[swCount] = {FGridColor,      FMarginColor,    FMainColor,
                                     FRulerBackColor, FRulerTextColor, FFontColor};
    for (int i = 0; i < swCount; ++i)
        Paint(TSwatch(i), initial[i]);
}

QWidget* TMainSettingDlg::MakeSenderTab() {
    auto* tab = new QWidget(fTabs);
    auto* grid = new QGridLayout(tab);
    const QString labels[] = {QStringLiteral("郵便番号(&P)"), QStringLiteral("住所1(&1)"), QStringLiteral("住所2(&2)"),
                              QStringLiteral("氏名(&N)")};
    for (int i = 0; i < 4; ++i) {
        fSenderEdits[i] = new QLineEdit(tab);
        fSenderEdits[i]->setMaxLength(TSenderInfo::kMaxValueChars);
        auto* label = new QLabel(labels[i], tab);
        label->setBuddy(fSenderEdits[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(fSenderEdits[i], i, 1);
    }
    fSenderEdits[0]->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9０-９]{0,3}[-－]?[0-9０-９]{0,4}")), fSenderEdits[0]));
    fSenderEdits[0]->setPlaceholderText(QStringLiteral("123-4567"));
    fSenderEdits[3]->setPlaceholderText(QStringLiteral("連名は空白で区切って入力"));
    fSenderProblem = new QLabel(QStringLiteral("郵便番号は7桁の数字で入力してください。"), tab);
    fSenderProblem->setStyleSheet(QStringLiteral("color: #b00000;"));
    fSenderProblem->hide();
    grid->addWidget(fSenderProblem, 4, 0, 1, 2);
    auto* note = new QLabel(QStringLiteral("宛名面の差出人の項目に印刷されます。"), tab);
    note->setWordWrap(true);
    grid->addWidget(note, 5, 0, 1, 2);
    grid->setRowStretch(6, 1);
    grid->setColumnMinimumWidth(1, fSenderEdits[1]->fontMetrics().horizontalAdvance(QString(24, QChar(u'あ'))));
    return tab;
}

void TMainSettingDlg::SetSender(const TSenderInfo& value) {
    fSender = value;
    const QString texts[] = {value.PostalCode, value.Address1, value.Address2, value.Name};
    for (int i = 0; i < 4; ++i)
        fSenderEdits[i]->setText(texts[i]);
}

void TMainSettingDlg::Paint(TSwatch swatch, TColor color) {
    fSwatchColors[swatch] = color;
    QPalette pal = fSwatches[swatch]->palette();
    pal.setColor(QPalette::Window, ColorToQColor(color));
    fSwatches[swatch]->setPalette(pal);
}

void TMainSettingDlg::SetMainColor(TColor value) {
    FMainColor = value;
    Paint(swMain, value);
}

void TMainSettingDlg::SetRulerBackColor(TColor value) {
    FRulerBackColor = value;
    Paint(swRulerBack, value);
}

void TMainSettingDlg::SetRulerTextColor(TColor value) {
    FRulerTextColor = value;
    Paint(swRulerText, value);
}

void TMainSettingDlg::SetGridColor(TColor value) {
    FGridColor = value;
    Paint(swGrid, value);
}

void TMainSettingDlg::SetMarginColor(TColor value) {
    FMarginColor = value;
    Paint(swMargin, value);
}

void TMainSettingDlg::SetRulerTextCheck(bool value) {
    FRulerTextCheck = value;
    fRulerText->setChecked(value);
}

void TMainSettingDlg::ChooseColor(TSwatch swatch) {
    if (!ColorPicker) return;
    const std::optional<TColor> picked = ColorPicker(fSwatchColors[swatch]);
    if (!picked) return;
    switch (swatch) {
    case swGrid: SetGridColor(*picked); break;
    case swMargin: SetMarginColor(*picked); break;
    case swMain: SetMainColor(*picked); break;
    case swRulerBack: SetRulerBackColor(*picked); break;
    case swRulerText: SetRulerTextColor(*picked); break;
    // The font colour is taken from its swatch on OK.
    case swFont: Paint(swFont, *picked); break;
    case swCount: break;
    }
}

void TMainSettingDlg::Prepare() {
    fFontName->setCurrentIndex(fFontName->findText(FFont.family(), Qt::MatchFixedString));
    fFontSize->setCurrentIndex(fFontSize->findText(QString::number(FFont.pointSize()), Qt::MatchExactly));
    Paint(swFont, FFontColor);
}

void TMainSettingDlg::accept() {
    const QString postal = fSenderEdits[0]->text().trimmed();
    if (!TSenderInfo::ValidPostalCode(postal)) {
        fSenderProblem->show();
        fTabs->setCurrentIndex(1);
        fSenderEdits[0]->setFocus();
        return;
    }
    fSenderProblem->hide();
    fSender.PostalCode = postal.isEmpty() ? QString() : TPostalCode::Digits(postal);
    fSender.Address1 = fSenderEdits[1]->text().trimmed();
    fSender.Address2 = fSenderEdits[2]->text().trimmed();
    fSender.Name = fSenderEdits[3]->text().trimmed();
    // A face or size the lists could not show stays as it was rather than becoming empty or zero.
    const QString face = fFontName->currentText();
    if (fFontName->currentIndex() >= 0 && !face.isEmpty()) FFont.setFamily(face);
    bool ok = false;
    const int size = fFontSize->currentText().toInt(&ok);
    if (fFontSize->currentIndex() >= 0 && ok && size > 0) FFont.setPointSize(size);
    FFontColor = fSwatchColors[swFont];
    QDialog::accept();
}

void TMainSettingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* s = screen()) move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TMainSettingDlg::FromSettings(const TDisplaySettings& settings) {
    SetMainColor(settings.MainColor);
    SetRulerBackColor(settings.RulerBackColor);
    SetRulerTextColor(settings.RulerTextColor);
    SetGridColor(settings.GridColor);
    SetMarginColor(settings.MarginColor);
    SetRulerTextCheck(settings.RulerStrCheck);
    FFont.setFamily(settings.FontName);
    if (settings.FontSize > 0) FFont.setPointSize(settings.FontSize);
    FFontColor = settings.FontColor;
    SetSender(settings.Sender);
}

void TMainSettingDlg::ToSettings(TDisplaySettings& settings) const {
    settings.MainColor = FMainColor;
    settings.RulerBackColor = FRulerBackColor;
    settings.RulerTextColor = FRulerTextColor;
    settings.GridColor = FGridColor;
    settings.MarginColor = FMarginColor;
    settings.RulerStrCheck = FRulerTextCheck;
    settings.FontName = FFont.family();
    settings.FontSize = FFont.pointSize();
    settings.FontColor = FFontColor;
    settings.Sender = fSender;
}

bool TMainSettingDlg::Edit(QWidget* parent, TDisplaySettings& settings) {
    TMainSettingDlg dlg(parent);
    dlg.FromSettings(settings);
    dlg.Prepare();
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.ToSettings(settings);
    return true;
}

QStringList TMainSettingDlg::FaceNames() {
    QStringList faces;
    for (const QString& family : QFontDatabase::families())
        if (!family.startsWith(QLatin1Char('@')) && QFontDatabase::isScalable(family)) faces << family;
    for (const char16_t* face : kWindowsFaces)
        faces << QString::fromUtf16(face);
    faces.sort();
    faces.removeDuplicates();
    return faces;
}

const QStringList& TMainSettingDlg::SizeItems() {
    static const QStringList items = {"6",  "7",  "8",  "9",  "10", "12", "14", "16", "18",
                                      "20", "22", "24", "28", "30", "36", "48", "72"};
    return items;
}
