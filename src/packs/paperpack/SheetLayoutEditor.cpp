#include "SheetLayoutEditor.h"

#include "packs/common/WideDigitBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

struct TPreset {
    const char* Name;
    int32_t Width, Height;
};
constexpr TPreset kPresets[] = {
    {"A4", 2100, 2970}, {"A5", 1480, 2100},   {"B5", 1820, 2570},     {"はがき", 1000, 1480},
    {"L判", 890, 1270}, {"2L判", 1270, 1780}, {"ユーザー定義", 0, 0},
};
constexpr int kCustom = int(std::size(kPresets)) - 1;

QDoubleSpinBox* NewMmBox(const char* name, double minimum) {
    auto* box = new TWideDigitBox<QDoubleSpinBox>;
    box->setObjectName(QLatin1String(name));
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setRange(minimum, TCardSheet::kMaxLength / 10.0);
    box->setSuffix(QStringLiteral(" mm"));
    box->setAccelerated(true);
    return box;
}

QSpinBox* NewCountBox(const char* name) {
    auto* box = new TWideDigitBox<QSpinBox>;
    box->setObjectName(QLatin1String(name));
    box->setRange(1, TCardSheet::kMaxGrid);
    return box;
}

int32_t Tenths(const QDoubleSpinBox* box) {
    return int32_t(qRound(box->value() * 10));
}

void SetTenths(QDoubleSpinBox* box, int32_t value) {
    box->setValue(value / 10.0);
}

} // namespace

TSheetLayoutEditor::TSheetLayoutEditor(QWidget* parent) : QWidget(parent) {
    fPreset = new QComboBox;
    fPreset->setObjectName("sheetPreset");
    for (const TPreset& p : kPresets)
        fPreset->addItem(QString::fromUtf8(p.Name));
    fSheetWidth = NewMmBox("sheetWidth", 1);
    fSheetHeight = NewMmBox("sheetHeight", 1);
    fColumns = NewCountBox("columns");
    fRows = NewCountBox("rows");
    fSeatWidth = NewMmBox("seatWidth", 0.1);
    fSeatHeight = NewMmBox("seatHeight", 0.1);
    fFirstLeft = NewMmBox("firstLeft", 0);
    fFirstTop = NewMmBox("firstTop", 0);
    fGapX = NewMmBox("gapX", 0);
    fGapY = NewMmBox("gapY", 0);
    auto* fit = new QPushButton(QStringLiteral("面の大きさを用紙から計算(&F)"));
    fit->setObjectName("fitSeats");
    fit->setAutoDefault(false);
    fit->setToolTip(QStringLiteral("左右・上下の余白を同じとして、用紙に収まる面の大きさを計算します。"));
    fFit = fit;

    const auto row = [](QGridLayout* grid, int r, const QString& caption, QWidget* a, const QString& between,
                        QWidget* b) {
        auto* label = new QLabel(caption);
        label->setBuddy(a);
        grid->addWidget(label, r, 0);
        grid->addWidget(a, r, 1);
        grid->addWidget(new QLabel(between), r, 2);
        grid->addWidget(b, r, 3);
    };

    auto* sheetBox = new QGroupBox(QStringLiteral("用紙"));
    auto* sheetGrid = new QGridLayout(sheetBox);
    auto* presetLabel = new QLabel(QStringLiteral("サイズ(&P):"));
    presetLabel->setBuddy(fPreset);
    sheetGrid->addWidget(presetLabel, 0, 0);
    sheetGrid->addWidget(fPreset, 0, 1, 1, 3);
    row(sheetGrid, 1, QStringLiteral("幅 × 高さ(&W):"), fSheetWidth, QStringLiteral("×"), fSheetHeight);

    auto* seatBox = new QGroupBox(QStringLiteral("面付け"));
    auto* seatGrid = new QGridLayout(seatBox);
    row(seatGrid, 0, QStringLiteral("列 × 行(&G):"), fColumns, QStringLiteral("×"), fRows);
    row(seatGrid, 1, QStringLiteral("面の幅 × 高さ(&S):"), fSeatWidth, QStringLiteral("×"), fSeatHeight);
    row(seatGrid, 2, QStringLiteral("最初の面 左 , 上(&O):"), fFirstLeft, QStringLiteral(","), fFirstTop);
    row(seatGrid, 3, QStringLiteral("面の間隔 横 , 縦(&I):"), fGapX, QStringLiteral(","), fGapY);
    seatGrid->addWidget(fit, 4, 1, 1, 3);

    // One label width for both groups, so their fields line up.
    int labelWidth = 0;
    for (QGridLayout* grid : {sheetGrid, seatGrid})
        for (int r = 0; r < grid->rowCount(); ++r)
            if (QLayoutItem* item = grid->itemAtPosition(r, 0))
                labelWidth = std::max(labelWidth, item->widget()->sizeHint().width());
    for (QGridLayout* grid : {sheetGrid, seatGrid}) {
        grid->setColumnMinimumWidth(0, labelWidth);
        grid->setColumnStretch(1, 1);
        grid->setColumnStretch(3, 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sheetBox);
    layout->addWidget(seatBox);

    connect(fPreset, &QComboBox::activated, this, [this] { PresetChosen(); });
    for (QDoubleSpinBox* box :
         {fSheetWidth, fSheetHeight, fSeatWidth, fSeatHeight, fFirstLeft, fFirstTop, fGapX, fGapY})
        connect(box, &QDoubleSpinBox::valueChanged, this, [this] { Changed(); });
    for (QSpinBox* box : {fColumns, fRows})
        connect(box, &QSpinBox::valueChanged, this, [this] { Changed(); });
    connect(fit, &QPushButton::clicked, this, [this] { FitSeats(); });
}

QWidget* TSheetLayoutEditor::FirstField() const {
    return fPreset;
}

QWidget* TSheetLayoutEditor::LastField() const {
    return fFit;
}

void TSheetLayoutEditor::SetSheet(const TCardSheet& sheet) {
    fSheet = sheet;
    fUpdating = true;
    SetTenths(fSheetWidth, sheet.SheetWidth);
    SetTenths(fSheetHeight, sheet.SheetHeight);
    fColumns->setValue(sheet.Columns);
    fRows->setValue(sheet.Rows);
    SetTenths(fSeatWidth, sheet.SeatWidth);
    SetTenths(fSeatHeight, sheet.SeatHeight);
    SetTenths(fFirstLeft, sheet.FirstLeft);
    SetTenths(fFirstTop, sheet.FirstTop);
    SetTenths(fGapX, std::max(0, sheet.PitchX - sheet.SeatWidth));
    SetTenths(fGapY, std::max(0, sheet.PitchY - sheet.SeatHeight));
    fUpdating = false;
    Changed();
}

TCardSheet TSheetLayoutEditor::Sheet() const {
    TCardSheet s = fSheet;
    s.SheetWidth = Tenths(fSheetWidth);
    s.SheetHeight = Tenths(fSheetHeight);
    s.Columns = fColumns->value();
    s.Rows = fRows->value();
    s.SeatWidth = Tenths(fSeatWidth);
    s.SeatHeight = Tenths(fSeatHeight);
    s.FirstLeft = Tenths(fFirstLeft);
    s.FirstTop = Tenths(fFirstTop);
    s.PitchX = s.SeatWidth + Tenths(fGapX);
    s.PitchY = s.SeatHeight + Tenths(fGapY);
    return s;
}

void TSheetLayoutEditor::PresetChosen() {
    const int index = fPreset->currentIndex();
    if (index < 0 || index >= kCustom) return;
    const TCardSheet before = Sheet();
    // A plain page is its sheet: it follows the sheet it is printed on.
    const bool plain = before.IsSingleSeat() && before.FirstLeft == 0 && before.FirstTop == 0 &&
                       before.SeatWidth == before.SheetWidth && before.SeatHeight == before.SheetHeight;
    fUpdating = true;
    SetTenths(fSheetWidth, kPresets[index].Width);
    SetTenths(fSheetHeight, kPresets[index].Height);
    if (plain) {
        SetTenths(fSeatWidth, kPresets[index].Width);
        SetTenths(fSeatHeight, kPresets[index].Height);
    }
    fUpdating = false;
    Changed();
}

void TSheetLayoutEditor::FitSeats() {
    const TCardSheet s = Sheet();
    const int32_t width = (s.SheetWidth - 2 * s.FirstLeft - (s.Columns - 1) * (s.PitchX - s.SeatWidth)) / s.Columns;
    const int32_t height = (s.SheetHeight - 2 * s.FirstTop - (s.Rows - 1) * (s.PitchY - s.SeatHeight)) / s.Rows;
    fUpdating = true;
    if (width > 0) SetTenths(fSeatWidth, width);
    if (height > 0) SetTenths(fSeatHeight, height);
    fUpdating = false;
    Changed();
}

void TSheetLayoutEditor::Changed() {
    if (fUpdating) return;
    const TCardSheet s = Sheet();
    int preset = kCustom;
    for (int i = 0; i < kCustom; ++i)
        if (kPresets[i].Width == s.SheetWidth && kPresets[i].Height == s.SheetHeight) preset = i;
    fPreset->setCurrentIndex(preset);
    if (OnChanged) OnChanged();
}
