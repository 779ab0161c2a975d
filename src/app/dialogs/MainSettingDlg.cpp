#include "app/dialogs/MainSettingDlg.h"

#include "app/DisplaySettings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
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

    auto* colours = new QGroupBox(QStringLiteral("設定色の変更"), this);
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

    auto* fontGroup = new QGroupBox(QStringLiteral("デフォルトフォント設定"), this);
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(colours);
    layout->addWidget(fontGroup);
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
