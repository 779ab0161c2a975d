#include "PenBrushDialog.h"

#include "objects/PriBrush.h"
#include "packs/common/WideDigitBox.h"
#include "objects/PriPen.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// A picture for an icon, sharp on a high-density screen.
QPixmap IconPixmap(int width, int height) {
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pm(QSize(width, height) * ratio);
    pm.setDevicePixelRatio(ratio);
    return pm;
}

QIcon Swatch(TColor color) {
    QPixmap pm = IconPixmap(28, 14);
    pm.fill(ColorToQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(QRect(0, 0, 27, 13));
    return QIcon(pm);
}

QIcon PenIcon(int style) {
    QPixmap pm = IconPixmap(48, 14);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(TPriPen::MakeGeometric(clBlack, 2, uint8_t(style)));
    p.drawLine(3, 7, 45, 7);
    return QIcon(pm);
}

QIcon BrushIcon(int style) {
    QPixmap pm = IconPixmap(28, 14);
    pm.fill(Qt::white);
    QPainter p(&pm);
    TPriBrush brush;
    brush.Color = clBlack;
    brush.Style = uint8_t(style);
    p.setPen(Qt::black);
    p.setBrush(style == bsSolid ? QBrush(Qt::gray) : brush.ToQBrush());
    p.drawRect(QRect(0, 0, 27, 13));
    return QIcon(pm);
}

} // namespace

TPenBrushDialog::TPenBrushDialog(const TValues& values, int32_t part, QWidget* parent)
    : QDialog(parent), fValues(values), fEditPen(part != 2), fEditBrush(part != 1) {
    setWindowTitle(part == 1   ? QStringLiteral("線の設定")
                   : part == 2 ? QStringLiteral("塗りつぶしの設定")
                               : QStringLiteral("線と塗りつぶしの設定"));

    auto* penBox = new QGroupBox(QStringLiteral("線"));
    penBox->setObjectName("penGroup");
    auto* penForm = new QFormLayout(penBox);
    fPenStyle = new QComboBox;
    fPenStyle->setObjectName("penStyle");
    const char* const penNames[kPenStyles] = {"実線", "破線", "点線", "一点鎖線", "二点鎖線", "線なし"};
    for (int i = 0; i < kPenStyles; ++i)
        fPenStyle->addItem(PenIcon(i), QString::fromUtf8(penNames[i]));
    fPenStyle->setIconSize(QSize(48, 14));
    // A style without a geometric form (a damaged record) draws solid, so it shows as solid.
    fPenStyle->setCurrentIndex(values.PenStyle >= 0 && values.PenStyle < kPenStyles ? values.PenStyle : psSolid);
    fPenWidth = new TWideDigitBox<QSpinBox>;
    fPenWidth->setObjectName("penWidth");
    fPenWidth->setRange(1, kMaxPenWidth);
    fPenWidth->setSuffix(QStringLiteral(" ピクセル"));
    fPenWidth->setValue(std::clamp(values.PenWidth, 1, kMaxPenWidth));
    fPenColor = new QPushButton(QStringLiteral("色を選ぶ(&C)..."));
    fPenColor->setObjectName("penColor");
    fPenColor->setAutoDefault(false);
    penForm->addRow(QStringLiteral("種類(&S):"), fPenStyle);
    penForm->addRow(QStringLiteral("太さ(&W):"), fPenWidth);
    penForm->addRow(QStringLiteral("色:"), fPenColor);

    auto* brushBox = new QGroupBox(QStringLiteral("塗りつぶし"));
    brushBox->setObjectName("brushGroup");
    auto* brushForm = new QFormLayout(brushBox);
    fBrushStyle = new QComboBox;
    fBrushStyle->setObjectName("brushStyle");
    const char* const brushNames[kBrushStyles] = {"塗りつぶし",   "塗りなし",     "横線", "縦線",
                                                  "右下がり斜線", "右上がり斜線", "格子", "斜め格子"};
    for (int i = 0; i < kBrushStyles; ++i)
        fBrushStyle->addItem(BrushIcon(i), QString::fromUtf8(brushNames[i]));
    fBrushStyle->setCurrentIndex(values.BrushStyle >= 0 && values.BrushStyle < kBrushStyles ? values.BrushStyle
                                                                                            : bsSolid);
    fBrushColor = new QPushButton(QStringLiteral("色を選ぶ(&O)..."));
    fBrushColor->setObjectName("brushColor");
    fBrushColor->setAutoDefault(false);
    fRound = new TWideDigitBox<QSpinBox>;
    fRound->setObjectName("roundNum");
    fRound->setRange(0, kMaxRound);
    fRound->setSuffix(QStringLiteral(" ピクセル"));
    fRound->setValue(std::clamp(values.RoundNum, 0, kMaxRound));
    // Only a rounded rectangle has a corner; the others come with −1 and keep it.
    fRound->setEnabled(values.RoundNum >= 0);
    brushForm->addRow(QStringLiteral("種類(&T):"), fBrushStyle);
    brushForm->addRow(QStringLiteral("色:"), fBrushColor);
    brushForm->addRow(QStringLiteral("角の丸み(&R):"), fRound);

    // One label width for both groups, so their fields line up.
    int labelWidth = 0;
    for (QFormLayout* form : {penForm, brushForm})
        for (int r = 0; r < form->rowCount(); ++r)
            if (QLayoutItem* item = form->itemAt(r, QFormLayout::LabelRole))
                labelWidth = std::max(labelWidth, item->widget()->sizeHint().width());
    for (QFormLayout* form : {penForm, brushForm}) {
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        for (int r = 0; r < form->rowCount(); ++r)
            if (QLayoutItem* item = form->itemAt(r, QFormLayout::LabelRole))
                item->widget()->setMinimumWidth(labelWidth);
    }

    penBox->setVisible(fEditPen);
    brushBox->setVisible(fEditBrush);

    auto* sampleBox = new QGroupBox(QStringLiteral("見本"));
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    fSample = new TShapeSample;
    fSample->setObjectName("sample");
    sampleLayout->addWidget(fSample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* controls = new QVBoxLayout;
    controls->addWidget(penBox);
    controls->addWidget(brushBox);
    controls->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(controls);
    top->addWidget(sampleBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    setTabOrder(fPenStyle, fPenWidth);
    setTabOrder(fPenWidth, fPenColor);
    setTabOrder(fPenColor, fBrushStyle);
    setTabOrder(fBrushStyle, fBrushColor);
    setTabOrder(fBrushColor, fRound);

    connect(fPenStyle, &QComboBox::currentIndexChanged, this, [this] { UpdateLook(); });
    connect(fBrushStyle, &QComboBox::currentIndexChanged, this, [this] { UpdateLook(); });
    connect(fPenWidth, &QSpinBox::valueChanged, this, [this] { UpdateLook(); });
    connect(fRound, &QSpinBox::valueChanged, this, [this] { UpdateLook(); });
    connect(fPenColor, &QPushButton::clicked, this, [this] { PickColor(true); });
    connect(fBrushColor, &QPushButton::clicked, this, [this] { PickColor(false); });
    UpdateLook();
    (fEditPen ? static_cast<QWidget*>(fPenStyle) : fBrushStyle)->setFocus();
}

TPenBrushDialog::TValues TPenBrushDialog::Values() const {
    TValues v = fValues;
    if (fEditPen) {
        v.PenStyle = fPenStyle->currentIndex();
        v.PenWidth = fPenWidth->value();
    }
    if (fEditBrush) {
        v.BrushStyle = fBrushStyle->currentIndex();
        if (fRound->isEnabled()) v.RoundNum = fRound->value();
    }
    return v;
}

void TPenBrushDialog::PickColor(bool pen) {
    int32_t& color = pen ? fValues.PenColor : fValues.BrushColor;
    const QColor chosen = QColorDialog::getColor(ColorToQColor(color), this,
                                                 pen ? QStringLiteral("線の色") : QStringLiteral("塗りつぶしの色"),
                                                 QColorDialog::DontUseNativeDialog);
    // Only a real choice replaces the colour, so a system or palette colour survives a look.
    if (chosen.isValid()) color = QColorToColor(chosen);
    UpdateLook();
}

void TPenBrushDialog::UpdateLook() {
    fPenColor->setIcon(Swatch(fValues.PenColor));
    fBrushColor->setIcon(Swatch(fValues.BrushColor));
    const TValues v = Values();
    TShapeSample::TLook look;
    look.PenStyle = v.PenStyle;
    look.PenWidth = v.PenWidth;
    look.PenColor = v.PenColor;
    look.BrushStyle = v.BrushStyle;
    look.BrushColor = v.BrushColor;
    look.RoundNum = fRound->isEnabled() ? fRound->value() : -1;
    // A fill is seen inside the object's own outline, which stays as it came.
    look.ShowPen = true;
    look.ShowBrush = fEditBrush;
    fSample->SetLook(look);
}
